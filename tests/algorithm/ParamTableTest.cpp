#include "AlgoHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Expected {
    std::string name;
    std::string label;
    std::string defaultText;
};

void addGroup(std::vector<Expected>& table, const std::string& name, const std::string& label,
              const std::string& defaultText)
{
    table.push_back({name, label, defaultText});
    table.push_back({name + " LFO period", "beat", "1"});
    table.push_back({name + " LFO depth", "%", "0.00"});
    table.push_back({name + " LFO WF", "", "Sine"});
}

// The host parameter table, written out independently of the code that builds it.
std::vector<Expected> expectedTable()
{
    std::vector<Expected> table = {
        {"Flags", "", "BT 1"}, {"Tempo", "BPM", "120.000"}, {"Predly lvl", "dB", "0.0"}};
    addGroup(table, "Fdbk sep.", "%", "0.00");
    for (int tap = 1; tap <= 4; ++tap) {
        std::string prefix = "Tap ";
        prefix += std::to_string(tap);
        addGroup(table, prefix + " time", "beat", "0");
        addGroup(table, prefix + " level", "dB", tap == 1 ? "0.0" : "-oo");
        addGroup(table, prefix + " pan", "%", "Mid");
    }
    for (int line = 1; line <= 2; ++line) {
        std::string prefix = "D";
        prefix += std::to_string(line);
        table.push_back({prefix + " level", "dB", "0.0"});
        addGroup(table, prefix + " pan", "%", "Mid");
        addGroup(table, prefix + " time", "beat", "3/4");
        addGroup(table, prefix + " fdbk", "%", "50.0");
        table.push_back({prefix + " filt type", "", "Resonator"});
        addGroup(table, prefix + " filt cutoff", "Hz", "1000");
        addGroup(table, prefix + " filt reso", "dB", "0.0");
        addGroup(table, prefix + " filt Q", "", "1.00");
        table.push_back({prefix + " disto type", "", "Overdrive"});
        addGroup(table, prefix + " disto lvl", "%", "0.0");
        table.push_back({prefix + " HS cutoff", "Hz", "4000"});
        table.push_back({prefix + " HS level", "dB", "0.0"});
    }
    return table;
}

} // namespace

TEST(ParamTableTest, EveryIndexHasItsNameLabelDefaultAndLevel)
{
    harness::Harness h;
    const std::vector<Expected> table = expectedTable();
    ASSERT_EQ(h.algo().paramCount(), 121);
    ASSERT_EQ(table.size(), 121u);
    for (int i = 0; i < 121; ++i) {
        const mppi::NormalizedParamInterface& param = *h.algo().param(i);
        const Expected& expected = table[static_cast<std::size_t>(i)];
        EXPECT_EQ(param.name(), expected.name) << "index " << i;
        EXPECT_EQ(param.unitLabel(), expected.label) << expected.name;
        EXPECT_EQ(param.text(), expected.defaultText) << expected.name;
        EXPECT_GE(param.automationLevel(), 1) << expected.name;
        EXPECT_LE(param.automationLevel(), 4) << expected.name;
    }
    EXPECT_EQ(h.algo().param(121), nullptr);
    EXPECT_EQ(h.algo().param(-1), nullptr);
}

TEST(ParamTableTest, AutomationLevelsFollowTheTable)
{
    harness::Harness h;
    const std::map<std::string, int> levels = {
        {"Flags", 1}, {"Tempo", 1}, {"Predly lvl", 1}, {"Fdbk sep.", 3}, {"Fdbk sep. LFO WF", 3},
        {"Tap 3 time", 4}, {"Tap 3 time LFO depth", 4}, {"Tap 3 level", 1}, {"Tap 3 pan", 3},
        {"D2 level", 1}, {"D2 pan", 3}, {"D2 time", 4}, {"D2 fdbk", 1}, {"D2 filt type", 2},
        {"D2 filt cutoff", 2}, {"D2 filt Q LFO period", 2}, {"D2 disto lvl", 2}, {"D2 HS cutoff", 3},
        {"D2 HS level", 3},
    };
    for (const auto& [name, level] : levels)
        EXPECT_EQ(h.param(name).automationLevel(), level) << name;
}

TEST(ParamTableTest, DefaultsSitAtTheirDocumentedNormalizedValues)
{
    harness::Harness h;
    EXPECT_FLOAT_EQ(h.param("Flags").normalized(), 0.25f);
    EXPECT_FLOAT_EQ(h.param("Tempo").normalized(), 1.0f / 3.0f);
    EXPECT_NEAR(h.param("Predly lvl").normalized(), 0.7521, 1e-4);
    EXPECT_FLOAT_EQ(h.param("D1 time").normalized(), static_cast<float>((std::log2(0.75) + 7.0) / 9.0));
    EXPECT_FLOAT_EQ(h.param("D1 filt type").normalized(), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(h.param("D1 filt reso").normalized(), 0.5f);
    EXPECT_FLOAT_EQ(h.param("Tap 2 level").normalized(), 0.0f);
}

TEST(ParamTableTest, TextsRoundTripThroughTheirParsers)
{
    harness::Harness h;
    const std::vector<std::string> unparsed = {"Flags", "LFO WF", "filt type", "disto type"};
    for (int i = 0; i < h.algo().paramCount(); ++i) {
        mppi::NormalizedParamInterface& param = *h.algo().param(i);
        const bool parses = std::none_of(unparsed.begin(), unparsed.end(), [&](const std::string& part) {
            return param.name().find(part) != std::string::npos;
        });
        for (float normalized : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
            const std::string text = param.valueText(param.toReal(normalized));
            bool understood = false;
            const double real = param.parse(text, understood);
            EXPECT_EQ(understood, parses) << param.name() << " '" << text << "'";
            if (!parses || !understood)
                continue;
            const std::string again = param.valueText(real);
            if (again == text)
                continue;
            // A beat fraction is the closest short one, so the exact value of "27/32" may show
            // as "17/20". It then stays put, and stays close to where it was.
            EXPECT_NE(text.find('/'), std::string::npos) << param.name() << " '" << text << "' -> '" << again << "'";
            bool reread = false;
            EXPECT_EQ(param.valueText(param.parse(again, reread)), again) << param.name();
            EXPECT_NEAR(real, param.toReal(normalized), 0.05 * real) << param.name();
        }
    }
}

TEST(ParamTableTest, ValueTextsOfTheGlobalAndLineClasses)
{
    harness::Harness h;
    mppi::NormalizedParamInterface& flags = h.param("Flags");
    EXPECT_EQ(flags.valueText(0), "MS 1");
    EXPECT_EQ(flags.valueText(127), "BT 2 SL M1 M2 F1 F2");
    EXPECT_DOUBLE_EQ(flags.toReal(1.0f), 0.0);
    EXPECT_DOUBLE_EQ(flags.toReal(0.5f), 128.0);
    bool understood = false;
    flags.parse("64", understood);
    EXPECT_FALSE(understood);

    mppi::NormalizedParamInterface& tempo = h.param("Tempo");
    EXPECT_EQ(tempo.valueText(133.33333), "133.333");
    EXPECT_DOUBLE_EQ(tempo.parse("300", understood), 240.0);
    EXPECT_DOUBLE_EQ(tempo.parse("10", understood), 60.0);

    mppi::NormalizedParamInterface& pan = h.param("D1 pan");
    EXPECT_EQ(pan.valueText(0.004), "Mid");
    EXPECT_EQ(pan.valueText(-0.5), "L 50");
    EXPECT_EQ(pan.valueText(0.005 + 1e-9), "R 1");
    EXPECT_DOUBLE_EQ(pan.parse("r 25", understood), 0.25);
    EXPECT_DOUBLE_EQ(pan.parse("l 10", understood), -0.1);
    EXPECT_DOUBLE_EQ(pan.parse("m", understood), 0.0);
    EXPECT_DOUBLE_EQ(pan.parse("R 300", understood), 1.0);
    bool refused = false;
    pan.parse("left 10", refused);
    pan.parse("10", refused);
    pan.parse("R nan", refused);
    EXPECT_FALSE(refused);

    EXPECT_EQ(h.param("D1 filt cutoff").valueText(440.0), "440.0");
    EXPECT_EQ(h.param("D1 filt cutoff").valueText(40.0), "40.00");
    EXPECT_EQ(h.param("D1 filt cutoff").valueText(2500.0), "2500");
    EXPECT_EQ(h.param("D1 filt reso").valueText(16.0), "24.1");
    EXPECT_EQ(h.param("D1 filt Q").valueText(0.1), "0.10");
    EXPECT_EQ(h.param("Tap 2 level").text(), "-oo");
    EXPECT_DOUBLE_EQ(h.param("D1 level").parse("-OO", understood), 0.0);
    EXPECT_DOUBLE_EQ(h.param("D1 HS level").parse("+6", understood), 1.0);
}

TEST(ParamTableTest, TimeTextsFollowTheTimeUnitFlag)
{
    harness::Harness h;
    mppi::NormalizedParamInterface& time = h.param("D1 time");
    EXPECT_EQ(time.unitLabel(), "beat");
    EXPECT_EQ(time.text(), "3/4");
    h.setReal("Flags", 0);
    EXPECT_EQ(time.unitLabel(), "s");
    EXPECT_EQ(time.text(), "0.375");
    bool understood = false;
    // Typed times are turned into beats at the current tempo.
    EXPECT_DOUBLE_EQ(time.parse("250 ms", understood), 0.5);
    EXPECT_DOUBLE_EQ(time.parse("10 s", understood), 4.0);
    EXPECT_DOUBLE_EQ(h.param("Tap 1 time").parse("0 ms", understood), 0.0);
    EXPECT_DOUBLE_EQ(time.parse("0 ms", understood), 1.0 / 128.0);
}

TEST(ParamTableTest, OutOfRangeNormalizedValuesStayInsideEachRange)
{
    harness::Harness h;
    for (int i = 0; i < h.algo().paramCount(); ++i) {
        mppi::NormalizedParamInterface& param = *h.algo().param(i);
        const double low = param.toReal(0.0f);
        const double high = param.toReal(1.0f);
        for (float wild : {-10.0f, 10.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f}) {
            const double real = param.toReal(wild);
            ASSERT_TRUE(std::isfinite(real)) << param.name() << " at " << wild;
            if (param.name() != "Flags") {
                EXPECT_GE(real, std::min(low, high)) << param.name() << " at " << wild;
                EXPECT_LE(real, std::max(low, high)) << param.name() << " at " << wild;
            } else {
                EXPECT_GE(real, 0.0);
                EXPECT_LT(real, 256.0);
            }
        }
    }
}
