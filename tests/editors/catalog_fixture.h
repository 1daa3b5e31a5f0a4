// The program started on the headless platform over a Cfg.ini of the
// test's own, with helpers that open the catalog editor and the
// association window as a user does and read what they show.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "support/app_fixture.h"
#include "support/temp_dir.h"
#include "ui/names.h"

namespace pallo::testing {

namespace ce = ui::names::catalogEditor;
namespace aw = ui::names::association;

// Hero entries 1..n, "hK.png|heroK|0|0&0".
inline std::string heroLines(int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) {
        const std::string t = std::to_string(k);
        s += t + "=h" + t + ".png|hero" + t + "|0|0&0\r\n";
    }
    return s;
}

class CatalogFixture : public ::testing::Test {
protected:
    // Node 1 hooks into Hero; its child 3 is malformed (three parts) and
    // stays a blank child with no members. Node 2 hooks into Item, node 3
    // into a section that does not exist.
    static std::string defaultCfg() {
        return "[Config]\r\nX=100\r\nY=100\r\nW=70\r\nH=70\r\n"
               "[1]\r\nName=Roster\r\nTitle=英雄\r\nIn=Hero\r\nLink=1\r\nShow=1\r\nPic=m.png\r\n"
               "1=a.png|Alpha|one#two|3,5\r\n2=b.png|Beta|0|9,3,12\r\n3=c.png|Gamma|0|\r\n4=d.png|Delta|0|7\r\n"
               "[2]\r\nName=Gear\r\nTitle=物品\r\nIn=Item\r\nLink=1\r\nShow=1\r\nPic=m.png\r\n"
               "1=x.png|X|0|2,1\r\n"
               "[3]\r\nName=Gear\r\nTitle=其他\r\nIn=Other\r\nLink=1\r\nShow=1\r\nPic=m.png\r\n"
               "1=y.png|Y|0|1,2\r\n"
               "[Item]\r\nName=Item\r\n"
               "1=i1.png|Sword|a sharp#blade|1&4,7,2&9\r\n2=i2.png|Shield|0|1&4,7\r\n"
               "3=i3.png|Bow|0|4,7,\r\n4=i4.png|Axe|0|0&0\r\n"
               "[Hero]\r\nName=Hero\r\n" +
               heroLines(12);
    }

    TempDir run;
    platform::headless::HeadlessPlatform platform{run.path()};
    std::unique_ptr<App> app;

    ~CatalogFixture() override { app.reset(); }

    std::string cfgPath() const { return run.file("Cfg.ini"); }
    std::string readCfg() const { return readFile(cfgPath()); }
    ProgramState& state() { return app->state(); }

    std::string img(const std::string& folder, const std::string& file = {}) const {
        const char sep = files::separator();
        return run.path() + sep + "Img" + sep + folder + sep + file;
    }

    // Starts the program on cfg with the pictures of Item and Hero in place.
    void startWith(const std::string& cfg) {
        for (const char* f : {"i1.png", "new.png"}) writeFile(img("Item", f), "not decoded");
        writeFile(img("Hero", "h1.png"), "not decoded");
        makeDirs(img("Menu"));
        writeFile(cfgPath(), cfg);
        app = std::make_unique<App>(platform);
        app->start();
        platform.idleUntilDone();
    }

    // The node editor from the options panel, then "高级".
    void openCatalogEditor(const std::string& cfg = defaultCfg()) {
        startWith(cfg);
        ASSERT_TRUE(platform.clickMouse({state().overlay, ui::names::overlay::editorsLabel}));
        ASSERT_TRUE(platform.click({state().nodeEditor, ui::names::nodeEditor::catalogButton}));
        ASSERT_TRUE(platform.exists(catalog()));
        platform.clearMessageBoxes();
    }

    // ... and "详细关联设置".
    void openAssociation(const std::string& cfg = defaultCfg()) {
        openCatalogEditor(cfg);
        ASSERT_TRUE(platform.click(cat(ce::associationButton)));
        ASSERT_TRUE(platform.exists(association()));
        platform.clearMessageBoxes();
    }

    platform::WindowRef catalog() { return state().catalogEditor; }
    platform::WindowRef association() { return state().associationWindow; }
    platform::ControlRef cat(const char* name) { return {catalog(), name}; }
    platform::ControlRef asc(const char* name) { return {association(), name}; }

    void choose(const platform::ControlRef& combo, int index) { ASSERT_TRUE(platform.chooseItem(combo, index)); }
    void type(const platform::ControlRef& edit, const std::string& text) {
        ASSERT_TRUE(platform.typeText(edit, text));
    }

    std::vector<std::string> column(const platform::ControlRef& list, int col) {
        std::vector<std::string> cells;
        for (int r = 0; r < platform.rowCount(list); ++r) cells.push_back(platform.cell(list, r, col));
        return cells;
    }
    std::vector<std::string> items(const platform::ControlRef& combo) {
        std::vector<std::string> texts;
        for (int i = 0; i < platform.itemCount(combo); ++i) texts.push_back(platform.itemText(combo, i));
        return texts;
    }

    // The only message box shown since the last clear.
    void expectOneBox(platform::WindowRef owner, const std::string& text, const std::string& caption,
                      platform::MessageButtons buttons = platform::MessageButtons::Ok) {
        expectOnlyBox(platform, owner, text, caption, buttons);
    }
};

}  // namespace pallo::testing
