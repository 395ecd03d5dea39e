// Building the editor: a skin whose pictures are not all in the module fails at "Load
// resources", a layout the editor cannot build from fails at "Build GUI", and either way the
// entry point gives the host no effect.
#include "EditorFixture.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace editor_test;

namespace {

std::unique_ptr<pengui::PlatformWindowInterface> headless()
{
    return std::make_unique<pengui::HeadlessWindow>();
}

// Expects `init` to throw exactly `text`.
template <class Init>
void expectFailure(Init init, const std::string& text)
{
    try {
        init();
        ADD_FAILURE() << "no failure, expected " << text;
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), text);
    }
}

} // namespace

TEST(EditorBuildTest, APictureMissingFromTheModuleFailsToLoadResources)
{
    std::vector<skin_layout::PictureEntry> pictures(testSkin().pictures.begin(), testSkin().pictures.end());
    pictures.push_back({"NO_SUCH_PICTURE", {0, 0}, pictures.front().storage, {}});
    skin_layout::SkinLayout broken = testSkin();
    broken.pictures = pictures;

    mppi::QuenloGui gui(broken);
    expectFailure([&] { gui.init1(); }, "Load resources");

    FakeHost host;
    EXPECT_EQ(mppi::createEffect(FakeHost::callback, broken, headless), nullptr);
}

TEST(EditorBuildTest, ALayoutWithoutTheTempoBoxFailsToBuild)
{
    std::vector<skin_layout::ControlRow> controls;
    std::copy_if(testSkin().controls.begin(), testSkin().controls.end(), std::back_inserter(controls),
                 [](const skin_layout::ControlRow& row) { return row.listener != "TempoTextBoxListener"; });
    ASSERT_EQ(controls.size() + 1, testSkin().controls.size());
    skin_layout::SkinLayout broken = testSkin();
    broken.controls = controls;

    FakeHost host;
    EXPECT_EQ(mppi::createEffect(FakeHost::callback, broken, headless), nullptr);
    AEffect* built = mppi::createEffect(FakeHost::callback, testSkin(), headless);
    ASSERT_NE(built, nullptr) << "the skin itself builds";
    built->dispatcher(built, effClose, 0, 0, nullptr, 0.0f);
}
