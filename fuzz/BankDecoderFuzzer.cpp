// Fuzzes the bank decoder with arbitrary bank bodies: no crash, no read past the input, and on
// every failure the target bank unchanged.
#include "BankFiles.h"

#include <cstdlib>
#include <vector>

namespace {

mppi::BankManager targetBank()
{
    mppi::BankManager bank;
    bank.resize(8);
    for (int i = 0; i < bank.count(); ++i) {
        bank.program(i).setValueCount(121);
        bank.program(i).setValue(i, 0.5f);
        bank.program(i).setName("Preset");
    }
    return bank;
}

std::vector<std::uint8_t> bytesOf(const mppi::BankManager& bank)
{
    std::vector<std::uint8_t> bytes(bank.get_serialized_size());
    if (bank.serialize(bytes.data()) != 0)
        bytes.clear();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Exactly the bytes given, so that the sanitizer sees any read past them.
    const std::vector<std::uint8_t> body(data, data + size);
    static const std::vector<std::uint8_t> original = bytesOf(targetBank());
    for (bool check : {false, true}) {
        mppi::BankManager bank = targetBank();
        const int code = mppi::decode_bank(body.data(), body.size(), bank, check);
        if (code != 0 && bytesOf(bank) != original)
            std::abort();
        if (code == 0) {
            // A decoded bank writes and reads back as the same bank.
            const std::vector<std::uint8_t> written = bytesOf(bank);
            mppi::BankManager again;
            if (!written.empty() &&
                (mppi::decode_bank(written.data() + 0, written.size(), again, false) != 0 || bytesOf(again) != written))
                std::abort();
        }
    }
    return 0;
}
