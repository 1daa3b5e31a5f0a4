#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/picture_dirs.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace pallo {
namespace {

class PictureDirs : public ::testing::Test {
protected:
    void makeDir(const std::string& name) { testing::makeDirs(imageRoot_ + name); }

    testing::TempDir dir_;
    std::string imageRoot_ = dir_.file("Img") + files::separator();
};

TEST_F(PictureDirs, MissingImgListsNothing) { EXPECT_TRUE(listPictureDirectories(imageRoot_).empty()); }

TEST_F(PictureDirs, ListsSubdirectoriesExceptMenuInAnyCaseInTheSystemsOrder) {
    for (const char* name : {"Item", "Menu", "Hero", "MENU", "装备", "menu", "mEnU", "menus"}) makeDir(name);
    testing::writeFile(imageRoot_ + "notes.txt", "not a directory");
    testing::writeFile(imageRoot_ + "Item" + files::separator() + "a.png", "x");

    std::vector<std::string> expected;
    for (const std::string& name : files::listSubdirectories(imageRoot_))
        if (name == "Item" || name == "Hero" || name == "装备" || name == "menus") expected.push_back(name);
    EXPECT_EQ(listPictureDirectories(imageRoot_), expected);
    EXPECT_EQ(expected.size(), 4u);
}

}  // namespace
}  // namespace pallo
