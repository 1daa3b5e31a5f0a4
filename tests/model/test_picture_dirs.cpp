#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/picture_dirs.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"

namespace pallo {
namespace {

using platform::ControlRef;

ui::WindowDesign chooserWindow() {
    ui::WindowDesign design;
    design.name = "ChooserTestWindow";
    design.width = 200;
    design.height = 100;
    ui::ControlDesign combo;
    combo.kind = ui::ControlKind::Combo;
    combo.name = "组合框1";
    combo.width = 150;
    combo.height = 20;
    design.controls.push_back(combo);
    return design;
}

class PictureDirs : public ::testing::Test {
protected:
    PictureDirs() : platform_(dir_.path()) {
        combo_ = ControlRef{platform_.createWindow(chooserWindow(), {}), "组合框1"};
    }

    void makeDir(const std::string& name) { testing::makeDirs(imageRoot_ + name); }

    std::vector<std::string> itemTexts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < platform_.itemCount(combo_); ++i) texts.push_back(platform_.itemText(combo_, i));
        return texts;
    }

    testing::TempDir dir_;
    std::string imageRoot_ = dir_.file("Img") + files::separator();
    pallo::platform::headless::HeadlessPlatform platform_;
    ControlRef combo_;
};

TEST_F(PictureDirs, MissingImgGivesOnlyThePlaceholder) {
    EXPECT_TRUE(listPictureDirectories(platform_, combo_, imageRoot_, "子图片目录"));
    EXPECT_EQ(itemTexts(), std::vector<std::string>{"子图片目录"});
    EXPECT_EQ(platform_.itemData(combo_, 0), 0);
    EXPECT_EQ(platform_.selection(combo_), 0);
}

TEST_F(PictureDirs, ListsSubdirectoriesExceptMenuWithRunningData) {
    for (const char* name : {"Item", "Menu", "Hero", "MENU", "装备", "menu", "mEnU", "menus"}) makeDir(name);
    testing::writeFile(imageRoot_ + "notes.txt", "not a directory");
    testing::writeFile(imageRoot_ + "Item" + files::separator() + "a.png", "x");

    EXPECT_TRUE(listPictureDirectories(platform_, combo_, imageRoot_, "图片目录"));
    std::vector<std::string> texts = itemTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "图片目录");
    EXPECT_EQ(platform_.selection(combo_), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(platform_.itemData(combo_, i), i) << texts[static_cast<std::size_t>(i)];

    std::vector<std::string> names(texts.begin() + 1, texts.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Hero", "Item", "menus", "装备"}));
}

TEST_F(PictureDirs, ListsInTheSystemsOrder) {
    for (const char* name : {"b", "a", "c", "Menu"}) makeDir(name);
    listPictureDirectories(platform_, combo_, imageRoot_, "子图片目录");
    std::vector<std::string> expected{"子图片目录"};
    for (const std::string& name : files::listSubdirectories(imageRoot_)) {
        if (name != "Menu") expected.push_back(name);
    }
    EXPECT_EQ(itemTexts(), expected);
}

TEST_F(PictureDirs, RefillingReplacesTheOldItems) {
    makeDir("Item");
    listPictureDirectories(platform_, combo_, imageRoot_, "子图片目录");
    platform_.setSelection(combo_, 1);
    makeDir("Hero");
    listPictureDirectories(platform_, combo_, imageRoot_, "子图片目录");
    EXPECT_EQ(platform_.itemCount(combo_), 3);
    EXPECT_EQ(platform_.selection(combo_), 0);
}

TEST_F(PictureDirs, DoesNothingWhenTheWindowIsClosed) {
    makeDir("Item");
    platform_.destroy(combo_.window);
    EXPECT_TRUE(listPictureDirectories(platform_, combo_, imageRoot_, "子图片目录"));
    EXPECT_FALSE(platform_.exists(combo_.window));
    EXPECT_TRUE(listPictureDirectories(platform_, ControlRef{}, imageRoot_, "子图片目录"));
}

}  // namespace
}  // namespace pallo
