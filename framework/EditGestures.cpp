#include "EditGestures.h"

namespace mppi {

bool EditGestures::begin(int index)
{
    return ++counts_[index] == 1;
}

bool EditGestures::end(int index)
{
    const auto count = counts_.find(index);
    if (count == counts_.end())
        return false;
    if (--count->second > 0)
        return false;
    counts_.erase(count);
    return true;
}

std::vector<int> EditGestures::endAll()
{
    std::vector<int> indices;
    for (const auto& [index, count] : counts_)
        indices.push_back(index);
    counts_.clear();
    return indices;
}

} // namespace mppi
