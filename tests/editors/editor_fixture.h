// The program started on the headless platform with the node editor open
// over a Cfg.ini of the test's own, and helpers to drive the editor as a
// user would and to read what it shows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "support/app_fixture.h"
#include "support/temp_dir.h"
#include "ui/names.h"

namespace pallo::testing {

namespace ne = ui::names::nodeEditor;

// The text with one whole line (CR LF ended) replaced; fails the test when
// the line is not there exactly once.
inline std::string replaceLine(const std::string& text, const std::string& line, const std::string& with) {
    const std::string whole = line + "\r\n";
    const std::size_t at = text.find(whole);
    EXPECT_NE(at, std::string::npos) << "no line " << line;
    if (at == std::string::npos) return text;
    EXPECT_EQ(text.find(whole, at + 1), std::string::npos) << "line " << line << " twice";
    return text.substr(0, at) + with + "\r\n" + text.substr(at + whole.size());
}

// n children "cK.png|childK|tipK|K" in section lines.
inline std::string numberedChildLines(int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) {
        const std::string t = std::to_string(k);
        s += t + "=c" + t + ".png|child" + t + "|tip" + t + "|" + t + "\r\n";
    }
    return s;
}

// One program with its own run folder. Plain members, so that a table test
// can run a fresh session per case.
class EditorSession {
public:
    // Node 1 (Link 1) has three children whose member lists need joining;
    // node 2 is a direct reference; node 3 has no children and no hook.
    static constexpr const char* kCfg =
        "[Config]\r\nX=100\r\nY=100\r\nW=70\r\nH=70\r\n"
        "; the content\r\n"
        "[1]\r\nName=Maps\r\nTitle=地图\r\nIn=Item\r\nLink=1\r\nShow=1\r\nPic=m1.png\r\n"
        "1=a.png|甲|说明一|3,,9\r\n2=b.png|乙|二#行|,0\r\n3=c.png|丙|三|5\r\n"
        "\r\n"
        "[2]\r\nName=Refs\r\nTitle=引用\r\nIn=Hero\r\nLink=2\r\nShow=0\r\nPic=m2.png\r\n"
        "1=0|0|d|4,6\r\n2=0|0|0|0\r\n"
        "[3]\r\nName=Maps\r\nTitle=空\r\nIn=\r\nLink=0\r\nShow=1\r\nPic=m1.png\r\n";

    TempDir run;
    platform::headless::HeadlessPlatform platform{run.path()};
    std::unique_ptr<App> app;

    ~EditorSession() { app.reset(); }

    std::string readCfg() const { return readFile(run.file("Cfg.ini")); }
    ProgramState& state() { return app->state(); }

    std::string img(const std::string& folder, const std::string& file = {}) const {
        const char sep = files::separator();
        return run.path() + sep + "Img" + sep + folder + sep + file;
    }

    // Starts the program on cfg with pictures in Img/Maps, Img/Menu and an
    // empty Img/Refs, and opens the node editor from the options panel.
    void startEditor(const std::string& cfg = kCfg) {
        for (const char* f : {"a.png", "b.png", "c.png", "new.png"}) writeFile(img("Maps", f), "not decoded");
        for (const char* f : {"m1.png", "m2.png"}) writeFile(img("Menu", f), "not decoded");
        makeDirs(img("Refs"));
        writeFile(run.file("Cfg.ini"), cfg);
        app = std::make_unique<App>(platform);
        app->start();
        platform.idleUntilDone();
        ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));
        ASSERT_TRUE(platform.exists(editor()));
        platform.clearMessageBoxes();
    }

    platform::WindowRef editor() { return state().nodeEditor; }
    platform::ControlRef c(const char* name) { return {editor(), name}; }

    void chooseNode(int index) { ASSERT_TRUE(platform.chooseItem(c(ne::nodeChooser), index)); }
    void selectRow(int row) { ASSERT_TRUE(platform.selectRow(c(ne::childList), row)); }
    void type(const char* edit, const std::string& text) { ASSERT_TRUE(platform.typeText(c(edit), text)); }
    // Chooses the item with that text.
    void chooseText(const char* combo, const std::string& text) {
        const platform::ControlRef box = c(combo);
        for (int i = 0; i < platform.itemCount(box); ++i)
            if (platform.itemText(box, i) == text) {
                ASSERT_TRUE(platform.chooseItem(box, i));
                return;
            }
        FAIL() << "no item " << text;
    }
    bool press(const char* button) { return platform.click(c(button)); }

    std::vector<std::string> row(int r) {
        std::vector<std::string> cells;
        for (int col = 0; col < 5; ++col) cells.push_back(platform.cell(c(ne::childList), r, col));
        return cells;
    }
    std::vector<std::vector<std::string>> rows() {
        std::vector<std::vector<std::string>> all;
        for (int r = 0; r < platform.rowCount(c(ne::childList)); ++r) all.push_back(row(r));
        return all;
    }

    // The only message box shown since the last clear, owned by the editor.
    void expectOneBox(const std::string& text, const std::string& caption,
                      platform::MessageButtons buttons = platform::MessageButtons::Ok) {
        expectOnlyBox(platform, editor(), text, caption, buttons);
    }
};

class EditorFixture : public ::testing::Test, public EditorSession {};

}  // namespace pallo::testing
