#include "TableTanh.h"

#include <cmath>

const TableTanh& TableTanh::instance()
{
    static const TableTanh table;
    return table;
}

TableTanh::TableTanh()
{
    segments_.fit([](double shifted) { return std::tanh(shifted - kHalfRange); });
}
