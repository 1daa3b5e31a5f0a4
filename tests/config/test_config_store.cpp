// ConfigStore on real files: reads, writes, bad input, failures and the
// cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "config/config_store.h"
#include "support/temp_dir.h"
#include "utf16_file.h"

namespace pallo {
namespace {

using testing::listDir;
using testing::readFile;
using testing::TempDir;
using testing::utf16File;
using testing::writeFile;
namespace fs = std::filesystem;

// Read-only the way each system marks it (on Windows, clearing the write
// bits sets the read-only attribute).
void makeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class ConfigStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string cfg = dir.file("Cfg.ini");
    ConfigStore store;
};

TEST_F(ConfigStoreTest, MissingFileGivesFallbackAndFirstWriteCreatesIt) {
    EXPECT_EQ(store.read(cfg, "Config", "S", "150"), "150");
    ASSERT_TRUE(store.write(cfg, "Config", "X", "100"));
    EXPECT_EQ(readFile(cfg), "[Config]\r\nX=100\r\n");
    EXPECT_EQ(store.read(cfg, "Config", "X", "0"), "100");
    EXPECT_EQ(store.read(cfg, "Config", "Y", "0"), "0");
    EXPECT_EQ(store.read(cfg, "Other", "X", "d"), "d");
}

TEST_F(ConfigStoreTest, LeadingControlBytesOfArgumentsAreSkipped) {
    writeFile(cfg, "[Config]\r\nX=7\r\nk=\r\n");
    EXPECT_EQ(store.read(" \t\x01" + cfg, " \x1F" "Config", "\tX", "d"), "7");
    EXPECT_EQ(store.read(cfg, "Config", "k", "d"), "");
    // Nothing left after skipping: the empty text, not the fallback.
    EXPECT_EQ(store.read(" \r\n", "Config", "X", "d"), "");
    EXPECT_EQ(store.read(cfg, " \x02", "X", "d"), "");
    EXPECT_EQ(store.read(cfg, "Config", "", "d"), "");
    EXPECT_EQ(store.snapshot(cfg).read("", "X", "d"), "");
    EXPECT_EQ(store.snapshot("\x01").read("Config", "X", "d"), "");

    const std::string before = readFile(cfg);
    ASSERT_TRUE(store.write(" " + cfg, " Config", "\tY", "8"));
    EXPECT_EQ(readFile(cfg), "[Config]\r\nX=7\r\nk=\r\nY=8\r\n");
    for (auto [section, key] : {std::pair{"", "X"}, {" ", "X"}, {"Config", ""}, {"Config", "\x01 "},
                                {"Config", "a=b"}, {"Config", "X\r\nY"}}) {
        EXPECT_FALSE(store.write(cfg, section, key, "v")) << section << "/" << key;
    }
    EXPECT_FALSE(store.write(" ", "Config", "X", "v"));
    EXPECT_EQ(readFile(cfg), "[Config]\r\nX=7\r\nk=\r\nY=8\r\n");
    EXPECT_EQ(sorted(listDir(dir.path())), std::vector<std::string>{"Cfg.ini"});
}

TEST_F(ConfigStoreTest, WritesKeepTheFileStyle) {
    // LF-only file with a BOM, comments and blank lines.
    writeFile(cfg, "\xEF\xBB\xBF; settings\n[Config]\nX = 1\n\n[1]\nName=a\n");
    EXPECT_EQ(store.read(cfg, "config", "x", "d"), "1");
    ASSERT_TRUE(store.write(cfg, "Config", "X", "250"));
    ASSERT_TRUE(store.write(cfg, "Config", "T", "1"));
    ASSERT_TRUE(store.write(cfg, "Item", "1", "p|n|d|1,2"));
    EXPECT_EQ(readFile(cfg),
              "\xEF\xBB\xBF; settings\n[Config]\nX = 250\nT=1\n\n[1]\nName=a\n[Item]\n1=p|n|d|1,2\n");
    EXPECT_EQ(store.read(cfg, "Item", "1", ""), "p|n|d|1,2");
}

TEST_F(ConfigStoreTest, DuplicatesReadAndWriteTheFirst) {
    writeFile(cfg, "[S]\r\nK=1\r\nK=2\r\n[T]\r\n[s]\r\nK=3\r\nL=4\r\n");
    EXPECT_EQ(store.read(cfg, "S", "K", "d"), "1");
    EXPECT_EQ(store.read(cfg, "S", "L", "d"), "d");
    ASSERT_TRUE(store.write(cfg, "S", "L", "5"));
    EXPECT_EQ(readFile(cfg), "[S]\r\nK=1\r\nK=2\r\nL=5\r\n[T]\r\n[s]\r\nK=3\r\nL=4\r\n");
    EXPECT_EQ(store.read(cfg, "S", "L", "d"), "5");
}

TEST_F(ConfigStoreTest, LineBreaksInAValueBecomeHashes) {
    ASSERT_TRUE(store.write(cfg, "1", "1", "p|n|line1\r\nline2\nline3|"));
    EXPECT_EQ(readFile(cfg), "[1]\r\n1=p|n|line1#line2#line3|\r\n");
}

TEST_F(ConfigStoreTest, TextSurvivesWriteAndRead) {
    const std::string values[] = {
        "\xF0\x9F\x98\x80 \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 caf\xC3\xA9 na\xC3\xAFve \xC3\x85ngstr\xC3\xB6m",
        "\xFF\xFE\xC0\x80 broken \xE4\xB8",  // invalid UTF-8 passes through as bytes
        "\xE4\xB8\xAD\xE6\x96\x87|\xE5\x90\x8D|#|1,2,3",
    };
    for (const auto& v : values) {
        ASSERT_TRUE(store.write(cfg, "Item", "1", v));
        EXPECT_EQ(store.read(cfg, "Item", "1", ""), v);
        EXPECT_EQ(ConfigStore().read(cfg, "Item", "1", ""), v);  // from disk, no cache
    }
}

// A UTF-16LE file stays UTF-16LE: a write changes the units of its item
// and keeps every other byte, even an unpaired surrogate or an odd last
// byte, which no conversion could carry.
TEST_F(ConfigStoreTest, Utf16FileStaysUtf16) {
    const std::u16string head = u"; \u6CE8 \xD800" u" \r\n[Config]\r\nX = 1 \r\n";
    const std::u16string tail = u"[1]\r\nName=\u4E2D\U0001F600\r\nBare\r\n";
    const std::string odd = "\x5A";
    const struct {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
        const char* read;  // the value read back
        std::u16string after;
    } cases[] = {
        {"existing key", "Config", "X", "\xE4\xB8\xAD 250", "\xE4\xB8\xAD 250",
         u"; \u6CE8 \xD800" u" \r\n[Config]\r\nX = \u4E2D 250 \r\n" + tail},
        {"key without value", "1", "bare", "v", "v", head + u"[1]\r\nName=\u4E2D\U0001F600\r\nBare=v\r\n"},
        {"new key", "Config", "\xE5\x9B\xBE", "p.png", "p.png", head + u"\u56FE=p.png\r\n" + tail},
        {"new section", "New", "K", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", head + tail + u"[New]\r\nK=\U0001F600\r\n"},
        {"bytes that are not UTF-8", "Config", "X", "\xFF" "a\xED\xA0\x80", "\xEF\xBF\xBD" "a\xEF\xBF\xBD",
         u"; \u6CE8 \xD800" u" \r\n[Config]\r\nX = \xFFFD" u"a\xFFFD" u" \r\n" + tail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigStore store;
        writeFile(cfg, utf16File(head + tail, odd));
        EXPECT_EQ(store.read(cfg, "1", "Name", ""), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
        ASSERT_TRUE(store.write(cfg, c.section, c.key, c.value));
        EXPECT_EQ(readFile(cfg), utf16File(c.after, odd));
        EXPECT_EQ(ConfigStore().read(cfg, c.section, c.key, "d"), c.read);
        // Written again as read, the value is unchanged: nothing is written.
        store.setFaultHook([](files::WriteStep) { return true; });
        EXPECT_TRUE(store.write(cfg, c.section, c.key, c.read));
    }
    // A name that is not UTF-8 could never be read back from this file.
    EXPECT_FALSE(store.write(cfg, "Config", "\xFF", "v"));
    EXPECT_FALSE(store.write(cfg, "\xC0\x80", "K", "v"));

    writeFile(cfg, "\xFF\xFE");
    ASSERT_TRUE(store.write(cfg, "S", "K", "V"));
    EXPECT_EQ(readFile(cfg), utf16File(u"[S]\r\nK=V\r\n"));
}

TEST_F(ConfigStoreTest, LongValuesAreCutWithinACharacterBoundary) {
    std::string chinese = "a";
    for (int i = 0; i < 4000; ++i) chinese += "\xE4\xB8\xAD";
    const std::string cut = chinese.substr(0, 1 + 3 * 3412);  // 10237 bytes, whole characters
    ASSERT_TRUE(store.write(cfg, "S", "K", chinese));
    EXPECT_EQ(readFile(cfg), "[S]\r\nK=" + cut + "\r\n");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), cut);
    // Written again, the same value compares equal after the same cut.
    store.setFaultHook([](files::WriteStep) { return true; });
    EXPECT_TRUE(store.write(cfg, "S", "K", chinese));

    // A long value put there by someone else reads cut the same way.
    writeFile(cfg, "[S]\nK=" + chinese + "\nL=after\n");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), cut);
    EXPECT_EQ(store.read(cfg, "S", "L", ""), "after");
}

TEST_F(ConfigStoreTest, HostileFiles) {
    std::mt19937 random(7);
    std::string binary(64 * 1024, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    const std::string files[] = {"", std::string("\0\0\0", 3), binary, "[", "=", "[]\r\n=\r\n", "\xEF\xBB"};
    for (const auto& content : files) {
        writeFile(cfg, content);
        EXPECT_EQ(store.read(cfg, "Config", "X", "d"), "d");
        ASSERT_TRUE(store.write(cfg, "Config", "X", "1"));
        const std::string after = readFile(cfg);
        EXPECT_EQ(after.substr(0, content.size()), content) << "the old bytes stay in front";
        EXPECT_EQ(store.read(cfg, "Config", "X", "d"), "1");
    }
}

TEST_F(ConfigStoreTest, FiveMegabyteFile) {
    std::string big = "[Config]\r\nX=1\r\n[Big]\r\n";
    const std::string filler(90, 'z');
    for (int i = 0; big.size() < 5 * 1024 * 1024; ++i) big += "k" + std::to_string(i) + "=" + filler + "\r\n";
    big += "[Tail]\r\nLast=end\r\n";
    writeFile(cfg, big);
    EXPECT_EQ(store.read(cfg, "Config", "X", ""), "1");
    EXPECT_EQ(store.read(cfg, "Big", "k20000", ""), filler);
    EXPECT_EQ(store.read(cfg, "Tail", "Last", ""), "end");

    ASSERT_TRUE(store.write(cfg, "Big", "k20000", "short"));
    std::string expected = big;
    const std::string line = "k20000=" + filler;
    expected.replace(expected.find("\r\n" + line + "\r\n") + 2, line.size(), "k20000=short");
    EXPECT_EQ(readFile(cfg), expected);
}

TEST_F(ConfigStoreTest, ReadOnlyFileIsNeverReplaced) {
    const std::string content = "[Config]\r\nX=1\r\n";
    writeFile(cfg, content);
    makeReadOnly(cfg);
    ASSERT_TRUE(files::isReadOnly(cfg));
    EXPECT_FALSE(store.write(cfg, "Config", "X", "2"));
    EXPECT_FALSE(store.write(cfg, "Config", "Y", "2"));
    EXPECT_FALSE(store.writeGroup(cfg, {{"Config", "X", "1"}, {"Config", "Y", "2"}}));
    // An unchanged value is not a write, so it succeeds.
    EXPECT_TRUE(store.write(cfg, "Config", "X", "1"));
    EXPECT_TRUE(store.writeGroup(cfg, {{"Config", "X", "1"}, {" config", "x ", "1"}}));
    EXPECT_EQ(readFile(cfg), content);
    EXPECT_EQ(store.read(cfg, "Config", "X", ""), "1");
    EXPECT_EQ(sorted(listDir(dir.path())), std::vector<std::string>{"Cfg.ini"});
}

TEST_F(ConfigStoreTest, UnchangedValueDoesNotTouchTheFile) {
    writeFile(cfg, "[S]\r\nK = \"v\"\r\nE=\r\n");
    // Every step would fail, so success proves nothing was written.
    store.setFaultHook([](files::WriteStep) { return true; });
    EXPECT_TRUE(store.write(cfg, "s", "k", "v"));
    EXPECT_TRUE(store.write(cfg, "S", "E", ""));
    EXPECT_FALSE(store.write(cfg, "S", "Missing", ""));
    EXPECT_FALSE(store.write(cfg, "S", "K", "w"));
}

TEST_F(ConfigStoreTest, FailedWriteAtEveryStepLeavesTheFileAsItWas) {
    const std::string content = "\xEF\xBB\xBF[Config]\r\nX=1\r\n; keep\r\n";
    for (auto step : {files::WriteStep::CreateTemp, files::WriteStep::Write, files::WriteStep::Flush,
                      files::WriteStep::Close, files::WriteStep::Replace}) {
        SCOPED_TRACE(files::writeStepName(step));
        // A store of its own each round: rewriting the file below may keep
        // its size and, on a coarse clock, its time.
        ConfigStore store;
        writeFile(cfg, content);
        const auto before = sorted(listDir(dir.path()));
        std::vector<files::WriteStep> seen;
        store.setFaultHook([&](files::WriteStep s) {
            seen.push_back(s);
            return s == step;
        });
        EXPECT_FALSE(store.write(cfg, "Config", "X", "2"));
        EXPECT_EQ(seen.back(), step);
        EXPECT_EQ(readFile(cfg), content);
        EXPECT_EQ(sorted(listDir(dir.path())), before);
        EXPECT_EQ(store.read(cfg, "Config", "X", ""), "1");
        // A group fails whole at the same step.
        seen.clear();
        EXPECT_FALSE(store.writeGroup(cfg, {{"Config", "X", "3"}, {"Config", "Y", "4"}, {"New", "Z", "5"}}));
        EXPECT_EQ(seen.back(), step);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), files::WriteStep::CreateTemp), 1);
        EXPECT_EQ(readFile(cfg), content);
        EXPECT_EQ(sorted(listDir(dir.path())), before);
        EXPECT_EQ(store.read(cfg, "Config", "Y", "d"), "d");

        // No file yet: a failed first write creates nothing.
        const std::string fresh = dir.file("New.ini");
        EXPECT_FALSE(store.write(fresh, "Config", "X", "2"));
        EXPECT_EQ(sorted(listDir(dir.path())), before);
        EXPECT_EQ(store.read(fresh, "Config", "X", "d"), "d");

        store.setFaultHook({});
        EXPECT_TRUE(store.write(cfg, "Config", "X", "2"));
        EXPECT_EQ(store.read(cfg, "Config", "X", ""), "2");
    }
}

// A group is one replace whose bytes equal those of the same writes made
// one at a time; an unchanged group is no replace at all.
TEST_F(ConfigStoreTest, GroupIsOneReplaceWithTheBytesOfSingleWrites) {
    const std::string file = "; top\r\n[1]\r\nName=a\r\n1=one\r\n2=two\r\n3=three\r\n\r\n[Item]\r\n1=\"x\"\r\n";
    using Items = std::vector<ConfigStore::Item>;
    const struct {
        const char* name;
        std::optional<std::string> before;  // nothing: no file yet
        Items items;
    } cases[] = {
        {"children move up", file, {{"1", "1", "two"}, {"1", "2", "three"}, {"1", "3", ""}}},
        {"new keys and sections", file,
         {{"1", "4", "four"}, {"New", "K", "v"}, {"item", "2", "y"}, {"new", "L", "w"}, {"1", "5", "five"}}},
        {"line breaks in values", file, {{"1", "1", "a\r\nb"}, {"1", "Name", "c\rd\ne\r"}}},
        {"a key written twice", file, {{"1", "9", "first"}, {"Item", "1", "y"}, {"1", "9", "second"}, {"Item", "1", "x"}}},
        {"no file yet", std::nullopt, {{"Config", "X", "1"}, {"Config", "Y", "2"}, {"1", "Name", "n"}}},
        {"unchanged", file, {{"1", "Name", "a"}, {"Item", "1", "x"}, {" 1", "2 ", "two"}}},
    };
    const std::string oneByOne = dir.file("OneByOne.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigStore group;
        ConfigStore single;
        fs::remove(cfg);
        fs::remove(oneByOne);
        if (c.before) {
            writeFile(cfg, *c.before);
            writeFile(oneByOne, *c.before);
        }
        for (const auto& item : c.items) ASSERT_TRUE(single.write(oneByOne, item.section, item.key, item.value));
        int replaces = 0;
        group.setFaultHook([&](files::WriteStep s) {
            replaces += s == files::WriteStep::Replace;
            return false;
        });
        ASSERT_TRUE(group.writeGroup(cfg, c.items));
        EXPECT_EQ(readFile(cfg), readFile(oneByOne));
        EXPECT_EQ(replaces, c.before == readFile(cfg) ? 0 : 1);
        for (const auto& item : c.items) {
            EXPECT_EQ(group.read(cfg, item.section, item.key, "d"), single.read(oneByOne, item.section, item.key, "d"));
        }
    }
}

TEST_F(ConfigStoreTest, GroupWithABadItemWritesNothing) {
    const std::string content = "[Config]\r\nX=1\r\n";
    writeFile(cfg, content);
    EXPECT_FALSE(store.writeGroup(cfg, {{"Config", "X", "2"}, {"Config", "a=b", "v"}}));
    EXPECT_FALSE(store.writeGroup(cfg, {{"Config", "X", "2"}, {" ", "K", "v"}}));
    EXPECT_FALSE(store.writeGroup(" ", {{"Config", "X", "2"}}));
    EXPECT_TRUE(store.writeGroup(cfg, {}));
    EXPECT_EQ(readFile(cfg), content);
    EXPECT_FALSE(store.writeGroup(dir.file("New.ini"), {{"Config", "X", "2"}, {"Config", "\r", "v"}}));
    EXPECT_TRUE(store.writeGroup(dir.file("New.ini"), {}));
    EXPECT_EQ(sorted(listDir(dir.path())), std::vector<std::string>{"Cfg.ini"});
}

TEST_F(ConfigStoreTest, UnreadablePathsAreNotOverwritten) {
    testing::makeDirs(dir.file("Folder.ini"));
    EXPECT_EQ(store.read(dir.file("Folder.ini"), "S", "K", "d"), "d");
    EXPECT_FALSE(store.write(dir.file("Folder.ini"), "S", "K", "v"));
    EXPECT_FALSE(store.write(dir.file("no/such/folder/Cfg.ini"), "S", "K", "v"));
    EXPECT_TRUE(files::isDirectory(dir.file("Folder.ini")));
}

TEST_F(ConfigStoreTest, CacheParsesOnlyWhenTheFileChanges) {
    writeFile(cfg, "[S]\r\nK=1\r\n");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "1");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "1");
    const auto snap = store.snapshot(cfg);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(snap.read("S", "K", ""), "1");
    EXPECT_EQ(store.parseCount(), 1u);

    // Changed by someone else: seen on the next read, not by the snapshot.
    writeFile(cfg, "[S]\r\nK=22\r\n");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "22");
    EXPECT_EQ(store.parseCount(), 2u);
    EXPECT_EQ(snap.read("S", "K", ""), "1");
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "22");
    EXPECT_EQ(store.parseCount(), 2u);
}

TEST_F(ConfigStoreTest, OwnWriteIsSeenEvenWhenSizeAndTimeLookUnchanged) {
    writeFile(cfg, "[S]\r\nK=1\r\n");
    const auto old = fs::last_write_time(cfg);
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "1");
    ASSERT_TRUE(store.write(cfg, "S", "K", "2"));
    // A coarse clock: the new file gets the old file's time (same size too).
    fs::last_write_time(cfg, old);
    EXPECT_EQ(store.read(cfg, "S", "K", ""), "2");
}

// Checked writes go onto the file only when it is still what the store last
// read or wrote; otherwise they are refused until the program has read the
// file again (adopt), and then a second try writes onto it.
TEST_F(ConfigStoreTest, ACheckedWriteNeverRevertsAnOutsideChange) {
    using R = ConfigStore::Refusal;
    const auto checked = [&](ConfigStore& s, std::string_view value) {
        return s.writeGroup(cfg, {{"1", "Title", std::string(value)}}, ConfigStore::Missing::Create,
                            ConfigStore::Since::Read)
            .refusal;
    };
    writeFile(cfg, "[1]\r\nTitle=A\r\n1=x\r\n");
    (void)store.snapshot(cfg);

    writeFile(cfg, "[1]\r\nTitle=A\r\n1=hand\r\n");  // a text editor
    EXPECT_EQ(checked(store, "B"), R::Changed);
    EXPECT_EQ(checked(store, "B"), R::Changed) << "not read again yet";
    EXPECT_EQ(readFile(cfg), "[1]\r\nTitle=A\r\n1=hand\r\n");
    store.adopt(cfg);
    EXPECT_EQ(checked(store, "B"), R::None);
    EXPECT_EQ(readFile(cfg), "[1]\r\nTitle=B\r\n1=hand\r\n");

    // A second program on the same file, and a file replaced whole.
    ConfigStore second;
    (void)second.snapshot(cfg);
    ASSERT_TRUE(second.write(cfg, "1", "2", "theirs"));
    EXPECT_EQ(checked(store, "C"), R::Changed);
    EXPECT_EQ(checked(second, "D"), R::None);
    EXPECT_EQ(checked(store, "C"), R::Changed);
    writeFile(cfg, "[1]\r\nTitle=Other pack\r\n");
    EXPECT_EQ(checked(second, "E"), R::Changed);
    EXPECT_EQ(readFile(cfg), "[1]\r\nTitle=Other pack\r\n");

    // An unchecked write of the program's own (the exit save) onto a changed
    // file does not hide the change from the next checked write.
    writeFile(cfg, "[1]\r\nTitle=G\r\n");
    ASSERT_TRUE(store.write(cfg, "Config", "X", "5"));
    EXPECT_EQ(checked(store, "H"), R::Changed);
    EXPECT_EQ(readFile(cfg), "[1]\r\nTitle=G\r\n[Config]\r\nX=5\r\n");

    // Gone: refused, and refused again; never made from the old view.
    std::filesystem::remove(cfg);
    EXPECT_EQ(checked(store, "I"), R::Missing);
    EXPECT_EQ(checked(store, "I"), R::Missing);
    EXPECT_FALSE(files::exists(cfg));
}

TEST_F(ConfigStoreTest, AFileAbsentWhenFirstReadIsCreatedByACheckedWrite) {
    using R = ConfigStore::Refusal;
    const std::vector<ConfigStore::Item> item{{"1", "Title", "New"}};
    EXPECT_EQ(store.read(cfg, "1", "Title", "none"), "none");
    EXPECT_EQ(store.writeGroup(cfg, item, ConfigStore::Missing::Create, ConfigStore::Since::Read).refusal, R::None);
    EXPECT_EQ(readFile(cfg), "[1]\r\nTitle=New\r\n");

    // One that appeared meanwhile is another program's: read it first.
    ConfigStore other;
    const std::string cfg2 = dir.file("Two.ini");
    EXPECT_EQ(other.read(cfg2, "1", "Title", "none"), "none");
    writeFile(cfg2, "[1]\r\nTitle=Theirs\r\n");
    EXPECT_EQ(other.writeGroup(cfg2, item, ConfigStore::Missing::Create, ConfigStore::Since::Read).refusal, R::Changed);
    EXPECT_EQ(readFile(cfg2), "[1]\r\nTitle=Theirs\r\n");
    other.adopt(cfg2);
    EXPECT_EQ(other.writeGroup(cfg2, item, ConfigStore::Missing::Create, ConfigStore::Since::Read).refusal, R::None);
    EXPECT_EQ(readFile(cfg2), "[1]\r\nTitle=New\r\n");
}

TEST_F(ConfigStoreTest, AFailedReplaceSaysWhy) {
    writeFile(cfg, "[S]\r\nK=1\r\n");
    store.setFaultHook([](files::WriteStep s) {
        return s == files::WriteStep::Write ? files::WriteError::DiskFull : files::WriteError::None;
    });
    EXPECT_EQ(store.write(cfg, "S", "K", "2").refusal, ConfigStore::Refusal::DiskFull);
    EXPECT_EQ(readFile(cfg), "[S]\r\nK=1\r\n");
}

}  // namespace
}  // namespace pallo
