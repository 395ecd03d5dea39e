#include "BankFiles.h"
#include "BigEndian.h"
#include "Sys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace mppi;

namespace {

using Bytes = std::vector<std::uint8_t>;

class BankFormatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zorvane-banks-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream file(path(name), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    Bytes read(const std::string& name) const
    {
        std::ifstream file(path(name), std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }

    static Bytes resource(const char* name)
    {
        std::size_t size = 0;
        const std::uint8_t* bytes = sys::get_ressource("BVPB", name, &size);
        return bytes ? Bytes(bytes, bytes + size) : Bytes();
    }

    // A bank of `count` programs with `values` values each.
    static BankManager bankOf(int count, int values)
    {
        BankManager bank;
        bank.resize(count);
        for (int i = 0; i < count; ++i) {
            bank.program(i).setValueCount(values);
            for (int v = 0; v < values; ++v)
                bank.program(i).setValue(v, static_cast<float>(v) / static_cast<float>(values));
            bank.program(i).setName("Program " + std::to_string(i + 1));
        }
        return bank;
    }

    static Bytes fileBytes(const Bytes& body)
    {
        Bytes file = {'B', 'V', 'P', 'B', 0, 0, 0, 0};
        big_endian::write32(file.data() + 4, static_cast<std::uint32_t>(body.size()));
        file.insert(file.end(), body.begin(), body.end());
        return file;
    }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(BankFormatTest, EmbeddedBanksHaveTheirSizesHeadersAndRecordLayout)
{
    struct Expected {
        const char* name;
        std::size_t size;
        std::uint32_t programs;
    };
    for (Expected expected : {Expected{"default_preset_bank", 4496, 8}, Expected{"static_presets", 19056, 34}}) {
        const Bytes bytes = resource(expected.name);
        ASSERT_EQ(bytes.size(), expected.size) << expected.name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "BVPB");
        EXPECT_EQ(big_endian::read32(&bytes[4]), expected.size - 8);
        EXPECT_EQ(big_endian::read32(&bytes[8]), expected.programs);
        EXPECT_EQ(big_endian::read32(&bytes[12]), 560u);
        for (std::uint32_t i = 0; i < expected.programs; ++i) {
            const std::uint8_t* record = &bytes[16 + 560 * i];
            EXPECT_EQ(big_endian::read32(record), 0u) << "reserved word of " << i;
            EXPECT_EQ(big_endian::read16(record + 4), 64);
            EXPECT_EQ(big_endian::read16(record + 6), 121);
            EXPECT_EQ(big_endian::read32(record + 8), 0u);
            // The name is NUL-terminated inside its field.
            EXPECT_EQ(record[12 + 63], 0);
        }
    }
}

TEST_F(BankFormatTest, EmbeddedBanksHoldTheNamedProgramsAtTheirTempo)
{
    const std::vector<std::string> staticNames = {
        "Simple delay - 3/4 beat", "Simple delay - Damped", "Simple delay - Light and air", "Simple delay - Disto",
        "Simple delay - LPF LFO", "Orvel", "Ping-pong delay - 3/4 beat", "Ping-pong delay - 1/4 beat",
        "Predelays 1/4", "Predelays 1/2 + Delay 3/4", "Vibrato", "Human touch", "Reverse - 2 beats",
        "Reverse - 1 beat", "Reverse - 1/2 beat", "Reverse - Mad cat", "Chorus - Light", "Chorus - Medium",
        "Chorus - Heavy", "Chorus - Fast", "Flanger - Slow", "Flanger - Fast", "Random phaser 1", "Random phaser 2",
        "Tone fascination 1", "Tone fascination 2 - Vibrato", "Tone fascination 3 - Major third",
        "Tone fascination 4 - Minor third", "Tone fascination 5 - Min/maj", "Dirty hamster", "Captain Justice",
        "Oscibratonance", "Oscibratonance 2", "Yellow engine"};
    const std::vector<std::string> defaultNames = {
        "Simple delay - LPF LFO", "Predelays 1/4", "Chorus - Medium", "Sick Tobrin", "Tone fascination 5 - Min/Maj",
        "zplend!d nn", "Drunk Pavek", "Yellow engine"};
    for (const auto& [resourceName, names] :
         {std::pair{"static_presets", staticNames}, std::pair{"default_preset_bank", defaultNames}}) {
        BankManager bank;
        ASSERT_EQ(load_bank_resource(resourceName, bank), 0);
        ASSERT_EQ(bank.count(), static_cast<int>(names.size()));
        for (int i = 0; i < bank.count(); ++i) {
            const ProgramSlot& program = bank.program(i);
            EXPECT_EQ(program.name(), names[static_cast<std::size_t>(i)]);
            ASSERT_EQ(program.valueCount(), 121);
            EXPECT_EQ(program.dataSize(), 0);
            if (program.name() == "Simple delay - Damped")
                EXPECT_NEAR(program.value(1), 0.2372f, 1e-4f);
            else
                EXPECT_FLOAT_EQ(program.value(1), 1.0f / 3.0f) << program.name();
            for (int v = 0; v < 121; ++v) {
                EXPECT_GE(program.value(v), 0.0f);
                EXPECT_LE(program.value(v), 1.0f);
            }
        }
    }
}

TEST_F(BankFormatTest, WritingWhatWasReadGivesTheSameBytes)
{
    for (const char* name : {"static_presets", "default_preset_bank"}) {
        const Bytes original = resource(name);
        write("original.pbk", original);
        BankManager bank;
        ASSERT_EQ(load_bank_file(path("original.pbk"), bank, false), 0);
        ASSERT_EQ(save_bank_file(path("copy.pbk"), bank), 0);
        EXPECT_EQ(read("copy.pbk"), original) << name;
    }
}

TEST_F(BankFormatTest, FieldsAreBigEndianAndNamesAreCutTo63Bytes)
{
    BankManager bank = bankOf(2, 3);
    bank.program(0).setName(std::string(70, 'n'));
    bank.program(1).setValue(2, 0.5f);
    ASSERT_EQ(save_bank_file(path("small.pbk"), bank), 0);
    const Bytes bytes = read("small.pbk");
    // 8 file header + 8 body header + 2 records of 76 + 12 bytes.
    ASSERT_EQ(bytes.size(), 8u + 8u + 2u * 88u);
    const Bytes header = {'B', 'V', 'P', 'B', 0, 0, 0, 184, 0, 0, 0, 2, 0, 0, 0, 88};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16), header);
    const std::uint8_t* first = &bytes[16];
    EXPECT_EQ(Bytes(first, first + 12), (Bytes{0, 0, 0, 0, 0, 64, 0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first + 12)), std::string(63, 'n'));
    const std::uint8_t* second = &bytes[16 + 88];
    // 0.5f is 0x3F000000.
    EXPECT_EQ(Bytes(second + 76 + 8, second + 76 + 12), (Bytes{0x3F, 0, 0, 0}));

    BankManager back;
    ASSERT_EQ(load_bank_file(path("small.pbk"), back, false), 0);
    EXPECT_EQ(back.program(0).name(), std::string(63, 'n'));
    EXPECT_FLOAT_EQ(back.program(1).value(2), 0.5f);
}

TEST_F(BankFormatTest, EmptyBankIsEightZeroBytes)
{
    BankManager empty;
    ASSERT_EQ(save_bank_file(path("empty.pbk"), empty), 0);
    EXPECT_EQ(read("empty.pbk"), (Bytes{'B', 'V', 'P', 'B', 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
    BankManager back = bankOf(3, 2);
    ASSERT_EQ(load_bank_file(path("empty.pbk"), back, false), 0);
    EXPECT_EQ(back.count(), 0);
}

TEST_F(BankFormatTest, ANameFieldOtherThan64IsReadWhereItSays)
{
    // One record with a 20-byte name field, two values and 3 data bytes; stride 12 + 20 + 8 + 3.
    Bytes body(8 + 43, 0);
    big_endian::write32(&body[0], 1);
    big_endian::write32(&body[4], 43);
    std::uint8_t* record = &body[8];
    big_endian::write16(record + 4, 20);
    big_endian::write16(record + 6, 2);
    big_endian::write32(record + 8, 3);
    std::memcpy(record + 12, "Short field", 11);
    big_endian::writeFloat(record + 32, 0.25f);
    big_endian::writeFloat(record + 36, 0.75f);
    record[40] = 7;
    BankManager bank;
    ASSERT_EQ(decode_bank(body.data(), body.size(), bank, false), 0);
    ASSERT_EQ(bank.count(), 1);
    EXPECT_EQ(bank.program(0).name(), "Short field");
    EXPECT_EQ(bank.program(0).value(0), 0.25f);
    EXPECT_EQ(bank.program(0).value(1), 0.75f);
    ASSERT_EQ(bank.program(0).dataSize(), 3);
    EXPECT_EQ(bank.program(0).data()[0], 7);

    // A name that fills its field without a NUL ends with the field.
    std::memset(record + 12, 'x', 20);
    ASSERT_EQ(decode_bank(body.data(), body.size(), bank, false), 0);
    EXPECT_EQ(bank.program(0).name(), std::string(20, 'x'));
}

TEST_F(BankFormatTest, EachFaultyFileGivesItsCodeAndLeavesTheBankAlone)
{
    const BankManager original = bankOf(8, 121);
    auto expectCode = [&](const std::string& file, int code, bool check) {
        BankManager bank = original;
        EXPECT_EQ(load_bank_file(path(file), bank, check), code) << file;
        ASSERT_EQ(bank.count(), 8) << file;
        EXPECT_EQ(bank.program(3).name(), "Program 4") << file;
        EXPECT_EQ(bank.program(3).valueCount(), 121) << file;
    };

    write("zero.pbk", {});
    expectCode("zero.pbk", kBankHeaderShort, false);
    write("seven.pbk", {'B', 'V', 'P', 'B', 0, 0, 0});
    expectCode("seven.pbk", kBankHeaderShort, false);
    expectCode("missing.pbk", kBankCannotOpen, false);

    const Bytes staticFile = resource("static_presets");
    Bytes wrongMagic = staticFile;
    wrongMagic[3] = 'X';
    write("magic.pbk", wrongMagic);
    expectCode("magic.pbk", kBankBodyShort, false);

    write("short.pbk", Bytes(staticFile.begin(), staticFile.end() - 1));
    expectCode("short.pbk", kBankBodyShort, false);
    Bytes hugeLength = staticFile;
    big_endian::write32(&hugeLength[4], 0xFFFFFFF0u);
    write("huge.pbk", hugeLength);
    expectCode("huge.pbk", kBankBodyShort, false);

    // The 34 programs of the host's list do not fit the editor's eight.
    write("static.pbk", staticFile);
    expectCode("static.pbk", kBankCountMismatch, true);

    const BankManager fewerValues = bankOf(8, 120);
    ASSERT_EQ(save_bank_file(path("fewer.pbk"), fewerValues), 0);
    expectCode("fewer.pbk", kBankParamCountMismatch, true);

    // A body that claims more programs than it holds, and a stride smaller than its records.
    Bytes tooMany = staticFile;
    big_endian::write32(&tooMany[8], 35);
    write("many.pbk", tooMany);
    expectCode("many.pbk", kBankDecodeFailed, false);
    Bytes narrow = staticFile;
    big_endian::write32(&narrow[12], 100);
    write("narrow.pbk", narrow);
    expectCode("narrow.pbk", kBankDecodeFailed, false);
    Bytes negativeCount = fileBytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    write("negative.pbk", negativeCount);
    BankManager emptied = original;
    EXPECT_EQ(load_bank_file(path("negative.pbk"), emptied, false), 0);
    EXPECT_EQ(emptied.count(), 0);
}

TEST_F(BankFormatTest, SaveFailuresKeepTheExistingFile)
{
    EXPECT_EQ(save_bank_file(path("no/such/folder/bank.pbk"), bankOf(2, 3)), kBankCannotOpen);

    ASSERT_EQ(save_bank_file(path("kept.pbk"), bankOf(2, 3)), 0);
    const Bytes before = read("kept.pbk");
    BankManager mixed = bankOf(2, 3);
    mixed.program(1).setValueCount(4);
    EXPECT_EQ(save_bank_file(path("kept.pbk"), mixed), kBankSerializeFailed);
    EXPECT_EQ(read("kept.pbk"), before);
    EXPECT_FALSE(std::filesystem::exists(path("kept.pbk.saving")));
}

TEST_F(BankFormatTest, MissingOrForeignResourcesAreRefused)
{
    BankManager bank = bankOf(2, 2);
    EXPECT_EQ(load_bank_resource("no_such_bank", bank), kBankResourceMissing);
    EXPECT_EQ(bank.count(), 2);
}

TEST(BankManagerTest, ProgramsCopyInAndOutAndGrowAsDefaults)
{
    BankManager bank;
    bank.resize(2);
    EXPECT_EQ(bank.program(1).name(), "Default");
    ProgramSlot program;
    program.setName("Mine");
    program.setValueCount(2);
    bank.replace(1, program);
    bank.replace(5, program);
    ProgramSlot out;
    bank.copyOut(1, out);
    EXPECT_EQ(out.name(), "Mine");
    bank.copyOut(-1, out);
    EXPECT_EQ(out.name(), "Mine");
    bank.resize(-3);
    EXPECT_EQ(bank.count(), 0);
}
