#pragma once

#include "BankManager.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reading and writing banks: bank files (extension "pbk") and the banks embedded in the
// module. A file is the magic "BVPB", a big-endian u32 body length and the body. Every
// function answers 0 or one of the codes below; on every failure of a load the target bank
// keeps its programs.
namespace mppi {

enum BankError {
    kBankResourceMissing = -1,
    kBankCannotOpen = -1002,
    kBankHeaderNotWritten = -1004,
    kBankHeaderShort = -1005,
    kBankSerializeFailed = -1006,
    kBankDecodeFailed = -1007,
    kBankBodyNotWritten = -1008,
    kBankBodyShort = -1009,
    kBankResourceNotABank = -1010,
    kBankCountMismatch = -1011,
    kBankParamCountMismatch = -1012,
    kBankBodyTooLarge = -1013,
};

// The file extension of bank files and the four bytes every bank starts with.
inline constexpr const char* kBankExtension = "pbk";
inline constexpr const char* kBankMagic = "BVPB";

// Decodes a bank body into `bank`. With `check`, the body must hold as many programs as the
// bank, each with as many values as the bank's program at its place.
int decode_bank(const std::uint8_t* body, std::size_t size, BankManager& bank, bool check);
int load_bank_file(const std::string& path, BankManager& bank, bool check);
// Reads a bank embedded in the module (resource type "BVPB"), without check.
int load_bank_resource(const std::string& name, BankManager& bank);
// Writes a bank file. The bank goes to a temporary file beside `path` that replaces `path`
// only once it is complete, so a failed save never destroys an existing file.
int save_bank_file(const std::string& path, const BankManager& bank);

} // namespace mppi
