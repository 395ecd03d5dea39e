#include "PresetBank.h"

#include "BankFiles.h"

#include <algorithm>

namespace mppi {

PresetBank::PresetBank()
{
    bank_.resize(kPresets);
}

int PresetBank::seed(const ProgramSlot& current, const char* seedBank)
{
    for (int index = 0; index < kPresets; ++index)
        bank_.replace(index, current);
    if (!seedBank)
        return 0;
    BankManager seed;
    const int code = load_bank_resource(seedBank, seed);
    if (code != 0)
        return code;
    for (int index = 0; index < std::min(seed.count(), kPresets); ++index)
        bank_.replace(index, seed.program(index));
    return 0;
}

void PresetBank::storeAll(const BankManager& bank)
{
    for (int index = 0; index < std::min(bank.count(), kPresets); ++index)
        bank_.replace(index, bank.program(index));
}

int PresetBank::encode(std::vector<std::uint8_t>& body) const
{
    body.assign(bank_.get_serialized_size(), 0);
    if (bank_.serialize(body.data()) == 0)
        return 0;
    body.clear();
    return kBankSerializeFailed;
}

int PresetBank::decode(const std::uint8_t* body, std::size_t size)
{
    if (size > kLargestBody)
        return kBankBodyTooLarge;
    return decode_bank(body, size, bank_, true);
}

} // namespace mppi
