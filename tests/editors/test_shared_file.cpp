// Cfg.ini is shared with other programs: a text editor, a second Pallo, a
// pack copied over it. The editors never write back what they did not read,
// and a pack can be built from no file at all.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "editors/write_check.h"
#include "model/loaders.h"
#include "model/text.h"

namespace pallo::testing {
namespace {

using platform::Answer;

constexpr const char* kHead = "[1]\r\nName=Maps\r\nTitle=T\r\nIn=\r\nLink=0\r\nShow=1\r\nPic=m1.png\r\n";

// The stored lines of topic 1's children, as a fresh program reads them.
std::vector<std::string> childLines(const std::string& cfgPath) {
    ConfigStore store;
    std::vector<std::string> lines;
    for (int k = 1; k <= kMaxEntries; ++k) {
        const std::string value = store.read(cfgPath, "1", std::to_string(k), "");
        if (value.empty()) break;
        lines.push_back(value);
    }
    return lines;
}

std::string fileOf(const std::vector<std::string>& lines) {
    std::string cfg = kHead;
    for (std::size_t k = 0; k < lines.size(); ++k) cfg += std::to_string(k + 1) + "=" + lines[k] + "\r\n";
    return cfg;
}

std::string nameOf(const std::string& line) { return split(line, "|", 4).at(1); }

// Random editor actions (save, add, delete) interleaved with changes made
// by another program (a line edited, a line added, the file replaced). The
// first action after a change is refused with one message and writes
// nothing; pressed again, it goes onto the new content. No line the other
// program wrote is ever reverted by an action aimed elsewhere, and the file
// always loads.
TEST(SharedFile, OutsideChangesAreNeverRevertedByTheEditors) {
    EditorSession t;
    std::vector<std::string> model{"a.png|c1|d1|0", "b.png|c2|d2|0", "c.png|c3|d3|0"};
    t.startEditor(fileOf(model));
    t.chooseNode(1);
    std::mt19937 rng(20261209);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    bool changedOutside = false;
    int refusals = 0;
    for (int step = 0; step < 80; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const std::string tag = std::to_string(step);
        const int n = static_cast<int>(model.size());
        if (pick(0, 9) < 4) {
            const int kind = pick(0, 2);
            if (kind == 0 && n > 0) {
                model[static_cast<std::size_t>(pick(0, n - 1))] = "b.png|o" + tag + "|hand|0";
            } else if (kind == 1 && n < 12) {
                model.push_back("c.png|o" + tag + "|hand|0");
            } else {
                model.assign(static_cast<std::size_t>(pick(1, 4)), "a.png|r" + tag + "|other|0");
            }
            writeFile(t.run.file("Cfg.ini"), fileOf(model));
            changedOutside = true;
            continue;
        }
        // The user's action on a row the editor shows; after a change
        // outside it is refused once.
        const int shown = t.platform.rowCount(t.c(ne::childList));
        const int action = shown == 0 ? 1 : pick(0, 2);
        const int k = shown == 0 ? 0 : pick(1, shown);
        const std::string name = "u" + tag;
        if (action == 0) {
            t.selectRow(k - 1);
            t.type(ne::nameEdit, name);
        } else if (action == 1) {
            t.type(ne::pictureEdit, "a.png");
            t.type(ne::nameEdit, name);
        } else {
            t.selectRow(k - 1);  // the row's ID is the one deleted
        }
        const char* button = action == 0 ? ne::saveButton : action == 1 ? ne::addButton : ne::deleteButton;
        for (int press = 0; press < (changedOutside ? 2 : 1); ++press) {
            t.platform.clearMessageBoxes();
            if (action == 2) t.platform.queueAnswer(Answer::Yes);
            ASSERT_TRUE(t.press(button));
            if (press == 0 && changedOutside) {
                ++refusals;
                ASSERT_FALSE(t.platform.messageBoxes().empty());
                EXPECT_EQ(t.platform.messageBoxes().back().text, kFileChangedMessage);
                EXPECT_EQ(t.platform.messageBoxes().back().caption, "提示");
                EXPECT_EQ(childLines(t.run.file("Cfg.ini")), model) << "nothing written";
                // The rows show the file again; the typed name stays.
                EXPECT_EQ(t.platform.rowCount(t.c(ne::childList)), static_cast<int>(model.size()));
                if (action != 2) {
                    EXPECT_EQ(t.platform.text(t.c(ne::nameEdit)), name);
                }
            }
        }
        changedOutside = false;
        const std::vector<std::string> now = childLines(t.run.file("Cfg.ini"));
        if (action == 0 && k <= static_cast<int>(model.size())) {
            ASSERT_EQ(now.size(), model.size());
            EXPECT_EQ(nameOf(now[static_cast<std::size_t>(k - 1)]), name);
            model[static_cast<std::size_t>(k - 1)] = now[static_cast<std::size_t>(k - 1)];
        } else if (action == 1) {
            ASSERT_EQ(now.size(), model.size() + 1);
            EXPECT_EQ(nameOf(now.back()), name);
            model.push_back(now.back());
        } else if (action == 2 && k <= static_cast<int>(model.size())) {
            model.erase(model.begin() + (k - 1));
        }
        EXPECT_EQ(now, model);
        NodeTable loaded;
        ConfigStore fresh;
        (void)loadMainNodes(fresh, t.run.file("Cfg.ini"), loaded);
        EXPECT_EQ(loaded[0].children.size(), model.size()) << "the file loads";
    }
    EXPECT_GT(refusals, 10);
}

// A folder with no Cfg.ini: the first editor save creates it, and topic
// after topic is added in one session, each a new one.
TEST(SharedFile, APackBeginsFromNothingAndTakesTopicAfterTopic) {
    EditorSession t;
    t.startEditor("");
    std::filesystem::remove(t.run.file("Cfg.ini"));
    // Started again on the folder as it now is: no Cfg.ini at all.
    t.app.reset();
    t.app = std::make_unique<App>(t.platform);
    t.app->start();
    ASSERT_TRUE(t.platform.clickMouse({t.state().overlay, ui::names::overlay::editorsLabel}));
    t.platform.clearMessageBoxes();

    const std::vector<std::string> titles{"Quests", "Bosses", "Maps"};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        t.chooseNode(0);  // "选择项目": no topic chosen
        ASSERT_TRUE(t.press(ne::renameButton));
        ASSERT_TRUE(t.platform.typeText(t.c(ne::nodeChooser), titles[i]));
        t.platform.clearMessageBoxes();
        ASSERT_TRUE(t.press(ne::renameButton));
        t.expectOneBox("改名成功，重启程序后显示新名称。", "提示");
        EXPECT_EQ(t.platform.selection(t.c(ne::nodeChooser)), static_cast<int>(i + 1));
    }
    EXPECT_EQ(t.readCfg(), "[1]\r\nTitle=Quests\r\n[2]\r\nTitle=Bosses\r\n[3]\r\nTitle=Maps\r\n");

    // The third topic set up and saved, then everything read after a restart.
    t.chooseText(ne::directoryChooser, "Maps");
    t.type(ne::mainPictureEdit, "m1.png");
    t.platform.clearMessageBoxes();
    ASSERT_TRUE(t.press(ne::saveButton));
    t.expectOneBox("主节点设置已保存，重启程序后生效。", "Maps");
    EditorSession again;
    again.startEditor(t.readCfg());
    const platform::ControlRef box = again.c(ne::nodeChooser);
    ASSERT_EQ(again.platform.itemCount(box), 4);
    for (std::size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(again.platform.itemText(box, static_cast<int>(i + 1)), titles[i]);
    again.chooseNode(3);
    EXPECT_EQ(again.platform.text(again.c(ne::mainPictureEdit)), "m1.png");
}

// Two programs on one folder: what the first wrote is never taken back by
// the second, whose next write is refused once and then goes onto it.
TEST(SharedFile, ASecondProgramOnTheSameFolder) {
    EditorSession a;
    a.startEditor();
    platform::headless::HeadlessPlatform otherPlatform{a.run.path()};
    App other(otherPlatform);
    other.start();
    ASSERT_TRUE(otherPlatform.clickMouse({other.state().overlay, ui::names::overlay::editorsLabel}));
    const platform::ControlRef otherBox{other.state().nodeEditor, ne::nodeChooser};
    const auto otherControl = [&](const char* name) { return platform::ControlRef{other.state().nodeEditor, name}; };

    // A adds a child to topic 1.
    a.chooseNode(1);
    a.type(ne::pictureEdit, "a.png");
    a.type(ne::nameEdit, "FromA");
    ASSERT_TRUE(a.press(ne::addButton));
    const std::string afterA = a.readCfg();
    ASSERT_NE(afterA.find("4=a.png|FromA|"), std::string::npos);

    // B, started before, adds one too: refused once, then added after A's.
    ASSERT_TRUE(otherPlatform.chooseItem(otherBox, 1));
    ASSERT_TRUE(otherPlatform.typeText(otherControl(ne::pictureEdit), "b.png"));
    ASSERT_TRUE(otherPlatform.typeText(otherControl(ne::nameEdit), "FromB"));
    otherPlatform.clearMessageBoxes();
    ASSERT_TRUE(otherPlatform.click(otherControl(ne::addButton)));
    ASSERT_EQ(otherPlatform.messageBoxes().size(), 1u);
    EXPECT_EQ(otherPlatform.messageBoxes()[0].caption, "提示");
    EXPECT_EQ(a.readCfg(), afterA);
    ASSERT_TRUE(otherPlatform.click(otherControl(ne::addButton)));
    EXPECT_NE(a.readCfg().find("4=a.png|FromA|"), std::string::npos);
    EXPECT_NE(a.readCfg().find("5=b.png|FromB|"), std::string::npos);
}

// A failed replace says why in one line a player can act on, after the
// writer's first line; the file stays as it was.
TEST(SharedFile, AFailedSaveSaysWhy) {
    const struct {
        files::WriteError error;
        const char* cause;
    } cases[] = {
        {files::WriteError::DiskFull, "磁盘空间不足，原文件保持不变。"},
        {files::WriteError::AccessDenied, "没有写入权限，原文件保持不变。"},
        {files::WriteError::InUse, "文件正被其他程序占用，原文件保持不变。"},
        {files::WriteError::Other, "原文件保持不变。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        EditorSession t;
        t.startEditor();
        t.chooseNode(1);
        t.type(ne::pictureEdit, "a.png");
        t.type(ne::nameEdit, "n");
        const files::WriteError error = c.error;
        t.state().store.setFaultHook(
            [error](files::WriteStep s) { return s == files::WriteStep::Write ? error : files::WriteError::None; });
        t.platform.clearMessageBoxes();
        ASSERT_TRUE(t.press(ne::addButton));
        t.expectOneBox(std::string("[1]下\"4\"写入失败。\r\n") + c.cause, "错误");
        EXPECT_EQ(t.readCfg(), EditorSession::kCfg);
    }
}

}  // namespace
}  // namespace pallo::testing
