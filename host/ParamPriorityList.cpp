#include "ParamPriorityList.h"

namespace mppi {

ParamPriorityList::ParamPriorityList(int count)
    : count_(count > 0 ? count : 0), priorities_(std::make_unique<ParamPriority[]>(static_cast<std::size_t>(count_)))
{
}

ParamPriority* ParamPriorityList::at(int index)
{
    return index >= 0 && index < count_ ? &priorities_[static_cast<std::size_t>(index)] : nullptr;
}

} // namespace mppi
