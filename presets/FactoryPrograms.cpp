#include "FactoryPrograms.h"

#include "BankFiles.h"

#include <stdexcept>

namespace mppi {

namespace {

constexpr const char* kFactoryBank = "static_presets";

} // namespace

BankManager load_factory_programs()
{
    BankManager programs;
    if (load_bank_resource(kFactoryBank, programs) != 0 || programs.count() == 0)
        throw std::runtime_error("the built-in programs cannot be read");
    return programs;
}

} // namespace mppi
