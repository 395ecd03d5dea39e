#pragma once

#include "BankManager.h"

namespace mppi {

// The built-in programs every host lists: the embedded bank "static_presets", in its order.
// A fresh plug-in holds the first one. Throws std::runtime_error when the bank cannot be read.
BankManager load_factory_programs();

} // namespace mppi
