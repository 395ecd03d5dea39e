#pragma once

#include "BankFiles.h"
#include "BankManager.h"

#include <stdexcept>

// The built-in programs, loaded once from the embedded bank (the test links the resources).
inline const mppi::BankManager& staticBank()
{
    static const mppi::BankManager bank = [] {
        mppi::BankManager loaded;
        if (mppi::load_bank_resource("static_presets", loaded) != 0)
            throw std::runtime_error("no static bank");
        return loaded;
    }();
    return bank;
}
