// The file layer: listing, reading, stamps, the read-only state and the
// atomic replace with its failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace pallo::files {
namespace {

using testing::listDir;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;
namespace fs = std::filesystem;

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

constexpr fs::perms kWriteBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

TEST(Files, QueriesOnFilesAndFolders) {
    TempDir dir;
    const std::string file = dir.file("a.bin");
    const std::string bytes("x\0y\r\n\xFF", 6);
    writeFile(file, bytes);
    testing::makeDirs(dir.file("Img/Menu"));
    // Built from UTF-8 explicitly: a plain string means the ANSI code page
    // to the Windows library.
    fs::create_directories(fs::path(dir.path()) / fs::path(u8"\u4E2D\u6587"));

#ifdef _WIN32
    EXPECT_EQ(separator(), '\\');
#else
    EXPECT_EQ(separator(), '/');
#endif
    EXPECT_TRUE(exists(file));
    EXPECT_FALSE(isDirectory(file));
    EXPECT_TRUE(isDirectory(dir.file("Img")));
    EXPECT_FALSE(exists(dir.file("missing")));
    EXPECT_FALSE(exists(""));
    EXPECT_EQ(readAll(file), bytes);
    EXPECT_EQ(readAll(dir.file("missing")), std::nullopt);
    EXPECT_EQ(readAll(dir.path()), std::nullopt);
    ASSERT_TRUE(stamp(file));
    EXPECT_EQ(stamp(file)->size, 6u);
    EXPECT_EQ(stamp(dir.file("missing")), std::nullopt);

    EXPECT_EQ(sorted(listSubdirectories(dir.path())), (std::vector<std::string>{"Img", "\xE4\xB8\xAD\xE6\x96\x87"}));
    EXPECT_EQ(listSubdirectories(dir.path() + separator()), listSubdirectories(dir.path()));
    EXPECT_TRUE(listSubdirectories(file).empty());
    EXPECT_TRUE(listSubdirectories(dir.file("missing")).empty());

    EXPECT_TRUE(sameFile(file, dir.file("Img/../a.bin")));
    EXPECT_FALSE(sameFile(file, dir.file("Img")));
    EXPECT_FALSE(sameFile(dir.file("missing"), dir.file("missing")));
#ifdef _WIN32
    EXPECT_TRUE(sameFile(file, dir.file("A.BIN")));
#endif
}

TEST(Files, ReadOnlyState) {
    TempDir dir;
    const std::string file = dir.file("Cfg.ini");
    writeFile(file, "x");
    EXPECT_FALSE(isReadOnly(file));
    fs::permissions(file, kWriteBits, fs::perm_options::remove);
    EXPECT_TRUE(isReadOnly(file));  // also when root, who could still write
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(isReadOnly(file));
    EXPECT_FALSE(isReadOnly(dir.file("missing")));
#ifndef _WIN32
    // Only the owner's bit counts.
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::replace);
    EXPECT_TRUE(isReadOnly(file));
#endif
}

TEST(Files, WriteReplaceCreatesAndReplacesKeepingPermissions) {
    TempDir dir;
    const std::string file = dir.file("Cfg.ini");
    ASSERT_TRUE(writeReplace(file, "first"));
    EXPECT_EQ(readFile(file), "first");
#ifndef _WIN32
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode, fs::perm_options::replace);
#endif
    const std::string big(3 * 1024 * 1024 + 17, '\x7F');
    ASSERT_TRUE(writeReplace(file, big));
    EXPECT_EQ(readFile(file), big);
#ifndef _WIN32
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::mask, mode);
#endif
    ASSERT_TRUE(writeReplace(file, ""));
    EXPECT_EQ(readFile(file), "");
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"});

    EXPECT_FALSE(writeReplace(dir.file("missing/Cfg.ini"), "x"));
    EXPECT_FALSE(writeReplace("", "x"));
    EXPECT_FALSE(writeReplace(dir.path() + separator(), "x"));
    testing::makeDirs(dir.file("sub"));
    EXPECT_FALSE(writeReplace(dir.file("sub"), "x"));
    EXPECT_TRUE(isDirectory(dir.file("sub")));
    EXPECT_EQ(sorted(listDir(dir.path())), (std::vector<std::string>{"Cfg.ini", "sub"}));
}

TEST(Files, FailureAtAnyStepChangesNothing) {
    const WriteStep steps[] = {WriteStep::CreateTemp, WriteStep::Write, WriteStep::Flush, WriteStep::Close,
                               WriteStep::Replace};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(writeStepName(steps[i]));
        TempDir dir;
        const std::string file = dir.file("Cfg.ini");
        writeFile(file, "old");
        std::vector<WriteStep> asked;
        EXPECT_FALSE(writeReplace(file, "new", [&](WriteStep s) {
            asked.push_back(s);
            return s == steps[i];
        }));
        // Every step up to the failing one was offered, in order.
        EXPECT_EQ(asked, std::vector<WriteStep>(steps, steps + i + 1));
        EXPECT_EQ(readFile(file), "old");
        EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"});

        EXPECT_FALSE(writeReplace(dir.file("New.ini"), "new", [&](WriteStep s) { return s == steps[i]; }));
        EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"});
    }
}

TEST(Files, AFailureSaysItsCause) {
    TempDir dir;
    const std::string file = dir.file("Cfg.ini");
    writeFile(file, "old");
    for (const WriteError cause : {WriteError::DiskFull, WriteError::AccessDenied, WriteError::InUse}) {
        const WriteResult result =
            writeReplace(file, "new", [&](WriteStep s) { return s == WriteStep::Write ? cause : WriteError::None; });
        EXPECT_EQ(result.error, cause);
    }
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"});
}

TEST(Files, OnlyOurOwnLeftoverTempsAreRemoved) {
    TempDir dir;
    const std::string file = dir.file("Cfg.ini");
    for (const char* name : {"Cfg.ini", ".Cfg.ini.tmp-123", ".Cfg.ini.tmp-4294967295", ".Cfg.ini.tmp-12a",
                             ".Cfg.ini.tmp-", ".Other.ini.tmp-5", "Cfg.ini.tmp-7"}) {
        writeFile(dir.file(name), "x");
    }
    EXPECT_EQ(removeLeftoverTemps(file), 2);
    EXPECT_EQ(sorted(listDir(dir.path())), (std::vector<std::string>{".Cfg.ini.tmp-", ".Cfg.ini.tmp-12a",
                                                                     ".Other.ini.tmp-5", "Cfg.ini", "Cfg.ini.tmp-7"}));
    EXPECT_EQ(removeLeftoverTemps(dir.file("missing/Cfg.ini")), 0);
}

TEST(Files, ASecondReplaceLockWaitsForTheFirst) {
    TempDir dir;
    const std::string file = dir.file("Cfg.ini");
    writeFile(file, "x");
    {
        const ReplaceLock first(file);
        EXPECT_TRUE(first.held());
        EXPECT_FALSE(ReplaceLock(file, std::chrono::milliseconds(0)).held());
        EXPECT_FALSE(ReplaceLock(file, std::chrono::milliseconds(30)).held());
    }
    EXPECT_TRUE(ReplaceLock(file, std::chrono::milliseconds(0)).held());
    // The lock leaves nothing in the folder.
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"});
}

#ifndef _WIN32
TEST(Files, ASymbolicLinkIsWrittenThrough) {
    TempDir dir;
    testing::makeDirs(dir.file("shared"));
    testing::makeDirs(dir.file("pack"));
    writeFile(dir.file("shared/Cfg.ini"), "old");
    fs::create_symlink("../shared/Cfg.ini", dir.file("pack/Cfg.ini"));
    fs::create_symlink("../shared/New.ini", dir.file("pack/New.ini"));  // its target not there yet

    EXPECT_EQ(finalPath(dir.file("pack/Cfg.ini")), fs::canonical(dir.file("shared/Cfg.ini")).string());
    ASSERT_TRUE(writeReplace(dir.file("pack/Cfg.ini"), "new"));
    ASSERT_TRUE(writeReplace(dir.file("pack/New.ini"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.file("pack/Cfg.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.file("pack/New.ini")));
    EXPECT_EQ(readFile(dir.file("shared/Cfg.ini")), "new");
    EXPECT_EQ(readFile(dir.file("shared/New.ini")), "made");
    EXPECT_EQ(sorted(listDir(dir.file("shared"))), (std::vector<std::string>{"Cfg.ini", "New.ini"}));
    EXPECT_EQ(finalPath(dir.file("shared/Cfg.ini")), dir.file("shared/Cfg.ini"));
}
#endif

}  // namespace
}  // namespace pallo::files
