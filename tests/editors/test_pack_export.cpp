// The node editor's "导出分享包…" on the demo pack: the save-as dialog, the
// checker's verdict (errors stop it, warnings ask) and the zip.
#include <filesystem>
#include <optional>
#include <string>

#include "editor_fixture.h"

namespace pallo::testing {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::MessageButtons;

class PackExport : public EditorFixture {
protected:
    // The demo pack in the run folder with S=s (300 is out of range: a warning).
    void startOnDemo(const std::string& s = "230") {
        fs::copy(fs::path(PALLO_DEMO_DIR) / "Img", fs::path(run.path()) / "Img", fs::copy_options::recursive);
        startEditor(replaceLine(readFile(std::string(PALLO_DEMO_DIR) + "/Cfg.ini"), "S=230", "S=" + s));
    }
    // Presses the button, answering the dialog with path and then the boxes.
    void exportTo(const std::optional<std::string>& path, std::optional<Answer> answer = std::nullopt) {
        platform.queueSaveFile(path);
        if (answer) platform.queueAnswer(*answer);
        ASSERT_TRUE(press(ne::exportButton));
    }
};

TEST_F(PackExport, WarningsAskFirstThenTheZipIsWrittenAndNamed) {
    startOnDemo("300");
    const std::string target = run.file("share.zip");
    exportTo(std::nullopt);  // cancelled: nothing more happens
    ASSERT_EQ(platform.saveDialogs().size(), 1u);
    const auto& dialog = platform.saveDialogs().front();
    EXPECT_EQ(dialog.owner, editor());
    EXPECT_EQ(dialog.title, "导出分享包");
    EXPECT_EQ(dialog.suggestedName, fs::path(run.path()).filename().string() + ".zip");
    EXPECT_EQ(dialog.kind.extension, "zip");
    EXPECT_TRUE(platform.messageBoxes().empty());

    exportTo(target, Answer::No);
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    const auto& question = platform.messageBoxes().front();
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(question.text.starts_with("内容有以下警告：\r\nCfg.ini:8 [Config] S：")) << question.text;
    EXPECT_TRUE(question.text.ends_with("仍要导出吗？"));
    EXPECT_FALSE(files::exists(target));

    platform.clearMessageBoxes();
    exportTo(target, Answer::Yes);
    ASSERT_EQ(platform.messageBoxes().size(), 2u);
    EXPECT_EQ(platform.messageBoxes().back().text, "已导出分享包：\r\n" + target + "\r\n其中有 67 张图片。");
    EXPECT_EQ(platform.messageBoxes().back().caption, "导出分享包");
    EXPECT_TRUE(files::exists(target));
}

TEST_F(PackExport, ErrorsStopItAndNameWhereTheyAre) {
    startOnDemo();
    fs::remove(fs::path(run.path()) / "Img" / "Menu" / "maps.png");
    const std::string target = run.file("share.zip");
    exportTo(target);
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    const std::string& text = platform.messageBoxes().front().text;
    EXPECT_TRUE(text.starts_with("内容有错误，没有导出：\r\nCfg.ini:16 [1] Pic：")) << text;
    EXPECT_NE(text.find("maps.png"), std::string::npos);
    EXPECT_FALSE(files::exists(target));
}

}  // namespace
}  // namespace pallo::testing
