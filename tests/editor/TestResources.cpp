// The skin's resource table with two more banks for seeding the presets: three programs and
// twelve, each program's "D1 fdbk" at (number + 1) / 16.
#include "TestResources.h"

#include "BankFiles.h"
#include "BankManager.h"
#include "EmbeddedResources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace sys {
const EmbeddedResource* SKIN_TABLE(std::size_t& count);
} // namespace sys

namespace editor_test {

float seededFeedback(int program)
{
    return static_cast<float>(program + 1) / 16.0f;
}

namespace {

std::vector<unsigned char> bankBytes(int programs)
{
    mppi::BankManager bank;
    bank.resize(programs);
    for (int index = 0; index < programs; ++index) {
        mppi::ProgramSlot slot;
        slot.setValueCount(kSeedValues);
        for (int value = 0; value < kSeedValues; ++value)
            slot.setValue(value, 0.5f);
        slot.setValue(kSeedFeedbackIndex, seededFeedback(index));
        slot.setName("Seed " + std::to_string(index));
        bank.replace(index, slot);
    }
    // A name of this process's own: test binaries running side by side write their banks too.
    const auto path = std::filesystem::temp_directory_path() /
                      ("zorvane_seed_" + std::to_string(programs) + "_" + std::to_string(std::random_device{}()) + ".pbk");
    if (mppi::save_bank_file(path.string(), bank) != 0)
        return {};
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return bytes;
}

} // namespace

} // namespace editor_test

const sys::EmbeddedResource* sys::embedded_resources(std::size_t& count)
{
    static const std::vector<unsigned char> three = editor_test::bankBytes(3);
    static const std::vector<unsigned char> twelve = editor_test::bankBytes(12);
    static const std::vector<EmbeddedResource> table = [] {
        std::size_t skinCount = 0;
        const EmbeddedResource* skin = SKIN_TABLE(skinCount);
        std::vector<EmbeddedResource> all(skin, skin + skinCount);
        all.push_back({"BVPB", "THREE_PRESETS", three.data(), three.size()});
        all.push_back({"BVPB", "TWELVE_PRESETS", twelve.data(), twelve.size()});
        return all;
    }();
    count = table.size();
    return table.data();
}
