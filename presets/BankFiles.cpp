#include "BankFiles.h"

#include "BigEndian.h"
#include "Sys.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace mppi {

namespace {

constexpr std::size_t kFileHeaderSize = 8;

bool hasMagic(const std::uint8_t* bytes)
{
    return std::memcmp(bytes, kBankMagic, 4) == 0;
}

} // namespace

int decode_bank(const std::uint8_t* body, std::size_t size, BankManager& bank, bool check)
{
    BankManager decoded;
    if (decoded.deserialize(body, size) != 0)
        return kBankDecodeFailed;
    if (check) {
        if (decoded.count() != bank.count())
            return kBankCountMismatch;
        for (int i = 0; i < decoded.count(); ++i) {
            if (decoded.program(i).valueCount() != bank.program(i).valueCount())
                return kBankParamCountMismatch;
        }
    }
    bank = decoded;
    return 0;
}

int load_bank_file(const std::string& path, BankManager& bank, bool check)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return kBankCannotOpen;
    std::uint8_t header[kFileHeaderSize];
    file.read(reinterpret_cast<char*>(header), kFileHeaderSize);
    if (file.gcount() != static_cast<std::streamsize>(kFileHeaderSize))
        return kBankHeaderShort;
    if (!hasMagic(header))
        return kBankBodyShort;
    const std::uint32_t length = big_endian::read32(header + 4);
    // Read in steps, so that a length word far beyond the file allocates nothing large.
    std::vector<std::uint8_t> body;
    constexpr std::size_t kStep = 1 << 16;
    while (body.size() < length) {
        const std::size_t chunk = std::min<std::size_t>(kStep, length - body.size());
        const std::size_t at = body.size();
        body.resize(at + chunk);
        file.read(reinterpret_cast<char*>(body.data() + at), static_cast<std::streamsize>(chunk));
        if (file.gcount() != static_cast<std::streamsize>(chunk))
            return kBankBodyShort;
    }
    return decode_bank(body.data(), body.size(), bank, check);
}

int load_bank_resource(const std::string& name, BankManager& bank)
{
    std::size_t size = 0;
    const std::uint8_t* bytes = sys::get_ressource(kBankMagic, name.c_str(), &size);
    if (!bytes)
        return kBankResourceMissing;
    if (size < kFileHeaderSize || !hasMagic(bytes))
        return kBankResourceNotABank;
    return decode_bank(bytes + kFileHeaderSize, size - kFileHeaderSize, bank, false);
}

int save_bank_file(const std::string& path, const BankManager& bank)
{
    const std::size_t size = bank.get_serialized_size();
    std::vector<std::uint8_t> body(size, 0);
    const std::string temporary = path + ".saving";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file)
        return kBankCannotOpen;
    auto fail = [&](int code) {
        file.close();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return code;
    };
    std::uint8_t header[kFileHeaderSize];
    std::memcpy(header, kBankMagic, 4);
    big_endian::write32(header + 4, static_cast<std::uint32_t>(size));
    if (!file.write(reinterpret_cast<const char*>(header), kFileHeaderSize))
        return fail(kBankHeaderNotWritten);
    if (bank.serialize(body.data()) != 0)
        return fail(kBankSerializeFailed);
    if (!file.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(size)) || !file.flush())
        return fail(kBankBodyNotWritten);
    file.close();
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed)
        return fail(kBankCannotOpen);
    return 0;
}

} // namespace mppi
