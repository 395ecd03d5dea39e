#include "TableSine.h"

#include <cmath>
#include <numbers>

namespace mppi {

const TableSine& TableSine::instance()
{
    static const TableSine table;
    return table;
}

TableSine::TableSine()
{
    segments_.fit([](double u) { return std::sin(u * std::numbers::pi / 8.0); });
}

} // namespace mppi
