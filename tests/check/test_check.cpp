// pallo-check on a pack with one case of every finding (packs/broken, written
// by make_broken_pack.py), on the demo pack, and its command line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "editors/check/export.h"
#include "editors/check/pictures.h"
#include "support/temp_dir.h"
#include "tools/check/command.h"

namespace pallo::testing {
namespace {

using check::Finding;
using check::Severity;

struct Expected {
    int line;
    const char* section;
    const char* key;
    Severity severity;
    const char* code;
};

auto tied(const Expected& e) { return std::make_tuple(e.line, std::string(e.section), std::string(e.key), e.code); }
auto tied(const Finding& f) { return std::make_tuple(f.line, f.section, f.key, f.code); }

TEST(Check, EveryKindOfFindingInTheBrokenPack) {
    const Expected expected[] = {
        {2, "", "", Severity::Warning, "outside-section"},  // a key above the first section
        {4, "Config", "X", Severity::Warning, "config-range"},       // X=50: 100 is used
        {5, "Config", "W", Severity::Warning, "config-range"},       // W=300: 70 is used
        {7, "Config", "Colour", Severity::Warning, "unknown-key"},
        {8, "Config", "S", Severity::Error, "duplicate-key"},        // the first S wins
        {9, "Config", "Hotkey", Severity::Error, "hotkey-invalid"},  // a modifier without a key
        {16, "1", "1", Severity::Warning, "blanks-removed"},         // "Long bow" reads "Longbow"
        {17, "1", "2", Severity::Error, "picture-missing"},
        {18, "1", "3", Severity::Error, "picture-unreadable"},       // a GIF named .png
        {19, "1", "4", Severity::Error, "picture-unreadable"},       // 9000 pixels wide
        {20, "1", "5", Severity::Warning, "picture-slow"},           // 2100 pixels wide
        {21, "1", "6", Severity::Warning, "picture-none"},
        {22, "1", "7", Severity::Error, "member-missing"},           // ID 77 under Link 1
        {23, "1", "8", Severity::Warning, "single-id"},              // shows in the second place
        {24, "1", "9", Severity::Note, "ids-pages"},                 // 15 IDs: two pages of 14
        {25, "1", "11", Severity::Error, "after-gap"},               // key 10 missing
        {26, "1", "100", Severity::Error, "past-99"},
        {32, "2", "Link", Severity::Error, "link-invalid"},          // Link 3 blanks every entry
        {39, "3", "In", Severity::Error, "in-invalid"},              // "item" is not "Item"
        {48, "4", "Link", Severity::Note, "ids-over-entries"},       // 29 entries under Link 1
        {78, "4", "29", Severity::Note, "topic-pages"},              // 29 entries: two pages
        {87, "5", "2", Severity::Error, "member-missing"},           // Link 2: no Hero 9
        {88, "5", "3", Severity::Error, "child-parts"},              // three parts and a trailing |
        {91, "6", "Name", Severity::Error, "not-in-menu"},           // a one-letter Name
        {95, "7", "Title", Severity::Warning, "title-gap"},          // hides [7] and [8] from the editor
        {103, "8", "Title", Severity::Error, "value-cut"},           // 10300 bytes
        {106, "8", "Show", Severity::Warning, "no-equals"},
        {107, "8", "1", Severity::Error, "not-utf8"},
        {109, "1", "", Severity::Error, "duplicate-section"},
        {112, "11", "", Severity::Error, "section-past-10"},
        {115, "Extras", "", Severity::Warning, "unknown-section"},
        {120, "Item", "2", Severity::Warning, "back-reference-stale"},  // 9&9 links nothing
        {121, "Item", "3", Severity::Note, "entry-unlinked"},
        {122, "Item", "4", Severity::Error, "entry-parts"},          // the catalog ends here
        {127, "Hero", "3", Severity::Error, "after-gap"},
    };
    const std::vector<Finding> found = check::checkPack(PALLO_BROKEN_PACK);
    std::size_t i = 0;
    for (const Expected& e : expected) {
        const Finding* f = i < found.size() ? &found[i] : nullptr;
        ASSERT_TRUE(f) << "missing: line " << e.line << " " << e.code;
        EXPECT_EQ(tied(*f), tied(e)) << check::formatText(*f);
        EXPECT_EQ(f->severity, e.severity) << check::formatText(*f);
        EXPECT_FALSE(f->zh.empty() || f->en.empty()) << e.code;
        ++i;
    }
    for (; i < found.size(); ++i) ADD_FAILURE() << "unexpected: " << check::formatText(found[i]);

    // The lighter look at pictures before an export finds the same.
    const std::vector<Finding> light = check::checkPack(PALLO_BROKEN_PACK, check::PictureCheck::Header);
    ASSERT_EQ(light.size(), found.size());
    for (std::size_t k = 0; k < found.size(); ++k) EXPECT_EQ(tied(light[k]), tied(found[k])) << found[k].code;
}

// A PNG with its one IDAT chunk split in two, as larger files have them.
std::string withIdatSplit(const std::string& png) {
    const auto crc = [](std::string_view bytes) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (const unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return c ^ 0xFFFFFFFFu;
    };
    const auto be32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    };
    const auto chunk = [&](std::string_view data) {
        const std::string body = "IDAT" + std::string(data);
        return be32(static_cast<std::uint32_t>(data.size())) + body + be32(crc(body));
    };
    const std::size_t at = png.find("IDAT") - 4;
    const auto length = static_cast<std::size_t>(static_cast<unsigned char>(png[at]) << 24 |
                                                 static_cast<unsigned char>(png[at + 1]) << 16 |
                                                 static_cast<unsigned char>(png[at + 2]) << 8 |
                                                 static_cast<unsigned char>(png[at + 3]));
    const std::string_view data = std::string_view(png).substr(at + 8, length);
    return png.substr(0, at) + chunk(data.substr(0, length / 2)) + chunk(data.substr(length / 2)) +
           png.substr(at + 12 + length);
}

// Whatever the cut, the header look before an export gives the decoder's
// verdict: a picture whose data is not all there is decoded after all.
TEST(Check, TheHeaderLookAgreesWithTheDecoderOnEveryCutOfAPicture) {
    const std::string data = PALLO_TEST_DATA;
    std::vector<std::pair<std::string, std::string>> pictures;  // extension, bytes
    for (const char* name : {"baseline.jpg", "progressive.jpg", "cmyk.jpg", "gray.jpg", "huge_header.jpg",
                             "gray2.png", "interlaced.png", "rgb16.png", "huge_header.png", "icon256.png"})
        pictures.emplace_back(std::string(name).substr(std::string(name).rfind('.')), readFile(data + "/" + name));
    pictures.emplace_back(".png", withIdatSplit(readFile(data + "/icon256.png")));
    for (const char* name : {"Gear/fake.png", "Gear/wide.png"})
        pictures.emplace_back(".png", readFile(std::string(PALLO_BROKEN_PACK) + "/Img/" + name));
    TempDir dir;
    for (const auto& [extension, bytes] : pictures) {
        const std::string path = dir.file("p" + extension);
        const std::size_t step = std::max<std::size_t>(1, bytes.size() / 400);
        for (std::size_t cut = bytes.size();; cut = cut > step ? cut - step : 0) {
            writeFile(path, bytes.substr(0, cut));
            const check::PictureFacts full = check::examinePicture(path);
            const check::PictureFacts light = check::examinePicture(path, check::PictureCheck::Header);
            ASSERT_EQ(light.verdict, full.verdict) << bytes.size() << " bytes cut to " << cut;
            EXPECT_EQ(std::pair(light.width, light.height), std::pair(full.width, full.height));
            if (cut == 0) break;
        }
    }
}

// The file is read by the store's own rules, and lines are counted in it.
TEST(Check, FindingsFollowTheStoreReadingRules) {
    const auto utf16 = [](std::string_view ascii) {
        std::string out = "\xFF\xFE";
        for (const char c : ascii) out += {c, '\0'};
        return out;
    };
    const struct {
        std::string cfg;
        Expected finding;
    } cases[] = {
        // UTF-16LE: read as text, its lines counted as lines.
        {utf16("[Config]\r\nX=1\r\n\r\n[Hero]\r\n1=a.png|A|d|0\r\n3=c.png|C|d|0\r\n"),
         {6, "Hero", "3", Severity::Error, "after-gap"}},
        // A section name ends at the last ']' of its line.
        {"[Config]\r\nS=150\r\n[1]]\r\nName=AB\r\n", {3, "1]", "", Severity::Warning, "unknown-section"}},
        // A line without '=' hides the later line of its key.
        {"[Config]\nS\nS=300\n", {3, "Config", "S", Severity::Error, "duplicate-key"}},
        // VT, FF and Ctrl-Z around a name are blanks.
        {"[Config]\nS\x1a\x0b=300\n", {2, "Config", "S", Severity::Warning, "config-range"}},
        // A description longer than the hover tip shows: each # is a line
        // break of two characters, so 512 of them are 1024.
        {"[Hero]\r\n1=a.png|A|" + std::string(512, '#') + "|0\r\n", {2, "Hero", "1", Severity::Warning, "tip-cut"}},
        // "0&0" says no child links the entry: a linked one says wrong.
        {"[1]\r\nName=AB\r\nIn=Hero\r\nLink=1\r\n1=a.png|A|d|1\r\n[Hero]\r\n1=h.png|H|d|0&0\r\n",
         {7, "Hero", "1", Severity::Warning, "back-reference-stale"}},
    };
    for (const auto& c : cases) {
        TempDir pack;
        writeFile(pack.file("Cfg.ini"), c.cfg);
        const std::vector<Finding> found = check::checkPack(pack.path());
        bool seen = false;
        for (const Finding& f : found) seen = seen || (tied(f) == tied(c.finding) && f.severity == c.finding.severity);
        EXPECT_TRUE(seen) << "no " << c.finding.code << " on line " << c.finding.line << " in:\n" << [&] {
            std::string all;
            for (const Finding& f : found) all += check::formatText(f) + "\n";
            return all;
        }();
    }
}

// Blanks are told once per field that has them, and only in values that
// show: under Link 2 a child with its catalog entry shows the entry.
TEST(Check, BlanksAreFoundPerFieldAndOnlyWhereTheyShow) {
    TempDir pack;
    writeFile(pack.file("Cfg.ini"), "[1]\r\nName=AB\r\nIn=Hero\r\nLink=2\r\n"
                                    "1=a.png|A B|c d|1\r\n"   // Hero 1 stands in: nothing of it shows
                                    "2=b.png|E F|g h|9\r\n"   // no Hero 9: it shows itself
                                    "[Hero]\r\n1=h.png|H|d|0\r\n");
    std::map<int, int> blanksOnLine;
    for (const Finding& f : check::checkPack(pack.path()))
        if (std::string(f.code) == "blanks-removed") ++blanksOnLine[f.line];
    EXPECT_EQ(blanksOnLine, (std::map<int, int>{{6, 2}}));
}

// Each limit is found only once it is passed: just below it, at it, just past it.
TEST(Check, ALimitIsFoundOnlyOncePassed) {
    const auto topic = [](int children) {
        std::string s = "[1]\r\nName=AB\r\nTitle=A\r\nIn=\r\nLink=0\r\nShow=1\r\nPic=m.png\r\n";
        for (int k = 1; k <= children; ++k) s += std::to_string(k) + "=a.png|n|d|0\r\n";
        return s;
    };
    const auto catalog = [](int entries) {
        std::string s = "[Hero]\r\n";
        for (int k = 1; k <= entries; ++k) s += std::to_string(k) + "=a.png|n|d|0\r\n";
        return s;
    };
    const auto linked = [&](int ids) {
        std::string s = "[1]\r\nName=AB\r\nTitle=A\r\nIn=Hero\r\nLink=1\r\nShow=1\r\nPic=m.png\r\n1=a.png|n|d|";
        for (int k = 1; k <= ids; ++k) s += (k > 1 ? "," : "") + std::to_string(k);
        return s + "\r\n" + catalog(ids);
    };
    const auto tip = [](const std::string& description) { return "[Hero]\r\n1=a.png|A|" + description + "|0\r\n"; };
    const std::string emoji = "\xF0\x9F\x94\xA5";  // two units
    const struct {
        std::string cfg;
        const char* code;
        bool found;
    } cases[] = {
        // 28 entries show at once (two rows of 14), 14 linked IDs.
        {topic(27), "topic-pages", false},
        {topic(28), "topic-pages", false},
        {topic(29), "topic-pages", true},
        {linked(14), "ids-pages", false},
        {linked(15), "ids-pages", true},
        // Keys 1 to 99 are read.
        {catalog(98), "past-99", false},
        {catalog(99), "past-99", false},
        {catalog(100), "past-99", true},
        // A tip shows 1023 units whole.
        {tip(std::string(1022, 'x')), "tip-cut", false},
        {tip(std::string(1023, 'x')), "tip-cut", false},
        {tip(std::string(1024, 'x')), "tip-cut", true},
        {tip(std::string(1021, 'x') + emoji), "tip-cut", false},
        {tip(std::string(1022, 'x') + emoji), "tip-cut", true},
    };
    for (const auto& c : cases) {
        TempDir pack;
        writeFile(pack.file("Cfg.ini"), c.cfg);
        std::size_t found = 0;
        // A key the program reads is not called unknown either.
        for (const Finding& f : check::checkPack(pack.path())) found += f.code == c.code || f.code == "unknown-key";
        EXPECT_EQ(found, c.found ? 1u : 0u) << c.code << " in " << c.cfg.size() << " bytes of:\n" << c.cfg.substr(0, 80);
    }
}

// Exit statuses and output forms of the command itself.
TEST(Check, ExitStatusSaysTheWorstFinding) {
    TempDir warnings;
    writeFile(warnings.file("Cfg.ini"), "[Config]\nS=300\n");
    TempDir empty;
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* saysCode;  // in the output
    };
    const Case cases[] = {
        {{PALLO_DEMO_DIR}, 0, nullptr},
        {{warnings.path()}, 1, "[config-range]"},
        {{PALLO_BROKEN_PACK}, 2, "[picture-missing]"},
        {{empty.path()}, 2, "[cfg-missing]"},
        {{"--frobnicate"}, 3, nullptr},
        {{"a", "b"}, 3, nullptr},
        {{"--export"}, 3, nullptr},
        {{"--with-exe", "pallo.exe", PALLO_DEMO_DIR}, 3, nullptr},  // only with --export
        {{"--json", "--export", "out.zip", PALLO_DEMO_DIR}, 3, nullptr},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(check::run(c.args, out, err), c.status) << c.args.front() << "\n" << out << err;
        if (c.saysCode) {
            EXPECT_NE(out.find(c.saysCode), std::string::npos) << out;
        }
    }
    std::string out, err;
    check::run({PALLO_DEMO_DIR}, out, err);
    EXPECT_EQ(out, "pallo-check: 0 个错误，0 个警告，0 个提示 — 0 errors, 0 warnings, 0 notes.\n");
}

// A reader for what --json prints: an array of flat objects whose values
// are strings, integers or null. Fails (nullopt) on anything else.
class JsonReader {
public:
    using Object = std::map<std::string, std::optional<std::string>>;
    explicit JsonReader(std::string_view text) : t_(text) {}

    std::optional<std::vector<Object>> array() {
        std::vector<Object> out;
        if (!eat('[')) return std::nullopt;
        if (eat(']')) return end(out);
        do {
            Object o;
            if (!eat('{')) return std::nullopt;
            do {
                auto key = string();
                if (!key || !eat(':')) return std::nullopt;
                auto value = scalar();
                if (!value) return std::nullopt;
                o[*key] = *value;
            } while (eat(','));
            if (!eat('}')) return std::nullopt;
            out.push_back(std::move(o));
        } while (eat(','));
        if (!eat(']')) return std::nullopt;
        return end(out);
    }

private:
    void blanks() {
        while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\n' || t_[p_] == '\r' || t_[p_] == '\t')) ++p_;
    }
    bool eat(char c) {
        blanks();
        if (p_ < t_.size() && t_[p_] == c) return ++p_, true;
        return false;
    }
    std::optional<std::vector<Object>> end(std::vector<Object>& out) {
        blanks();
        if (p_ != t_.size()) return std::nullopt;
        return std::move(out);
    }
    std::optional<std::string> string() {
        if (!eat('"')) return std::nullopt;
        std::string s;
        while (p_ < t_.size() && t_[p_] != '"') {
            const char c = t_[p_++];
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                s += c;
                continue;
            }
            if (p_ >= t_.size()) return std::nullopt;
            const char e = t_[p_++];
            if (e == 'u') {
                if (p_ + 4 > t_.size()) return std::nullopt;
                s += static_cast<char>(std::stoi(std::string(t_.substr(p_, 4)), nullptr, 16));
                p_ += 4;
            } else if (e == '"' || e == '\\' || e == '/') {
                s += e;
            } else {
                return std::nullopt;
            }
        }
        if (p_ >= t_.size()) return std::nullopt;
        ++p_;
        return s;
    }
    // A string, an integer (as its text) or null (nullopt inside).
    std::optional<std::optional<std::string>> scalar() {
        blanks();
        if (t_.substr(p_, 4) == "null") return p_ += 4, std::optional<std::string>();
        if (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') {
            std::string digits;
            while (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') digits += t_[p_++];
            return std::optional<std::string>(digits);
        }
        auto s = string();
        if (!s) return std::nullopt;
        return std::optional<std::string>(*s);
    }
    std::string_view t_;
    std::size_t p_ = 0;
};

TEST(Check, JsonReadsBackAsTheFindings) {
    std::string out, err;
    EXPECT_EQ(check::run({"--json", PALLO_BROKEN_PACK}, out, err), 2);
    const auto objects = JsonReader(out).array();
    ASSERT_TRUE(objects) << out;
    const std::vector<Finding> found = check::checkPack(PALLO_BROKEN_PACK);
    ASSERT_EQ(objects->size(), found.size());
    const char* severity[] = {"note", "warning", "error"};
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Finding& f = found[i];
        auto o = (*objects)[i];
        EXPECT_EQ(o["line"], f.line > 0 ? std::optional(std::to_string(f.line)) : std::nullopt);
        EXPECT_EQ(o["section"], f.section);
        EXPECT_EQ(o["key"], f.key);
        EXPECT_EQ(o["severity"], severity[static_cast<int>(f.severity)]);
        EXPECT_EQ(o["code"], f.code);
        // A slow picture's message carries the decode time of each run.
        if (f.code == "picture-slow") continue;
        EXPECT_EQ(o["message_zh"], f.zh);
        EXPECT_EQ(o["message_en"], f.en);
    }
    // Nothing found is an empty array, and a missing Cfg.ini has no line.
    out.clear();
    check::run({"--json", PALLO_DEMO_DIR}, out, err);
    EXPECT_EQ(JsonReader(out).array()->size(), 0u) << out;
    TempDir empty;
    out.clear();
    check::run({"--json", empty.path()}, out, err);
    const auto missing = JsonReader(out).array();
    ASSERT_TRUE(missing && missing->size() == 1) << out;
    EXPECT_EQ(missing->front().at("line"), std::nullopt);
}

// The exported Cfg.ini loses the X and Y lines of [Config] (however their
// names are written, every [Config] of the file) and keeps every other byte.
TEST(Export, CfgIniLosesOnlyTheWindowPlace) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"[Config]\r\nX=1\r\nY=2\r\nW=70\r\n", "[Config]\r\nW=70\r\n"},
        {"\xEF\xBB\xBF; c\n[ config ]\nx = 1\nS=1\ny\n[1]\nX=5\n", "\xEF\xBB\xBF; c\n[ config ]\nS=1\n[1]\nX=5\n"},
        {"[Config]\nX=1\n[CONFIG]\nY=2\nT=1", "[Config]\n[CONFIG]\nT=1"},
        {"[Config]\rW=1\rY=3", "[Config]\rW=1\r"},
        {"X=0\n[Config]\nXX=1\n;X=2\n", "X=0\n[Config]\nXX=1\n;X=2\n"},
        {"\xFF\xFE[\0C\0o\0n\0f\0i\0g\0]\0\n\0X\0=\0001\0\n\0"s, "\xFF\xFE[\0C\0o\0n\0f\0i\0g\0]\0\n\0"s},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(check::withoutWindowPlace(in), out) << in;
}

TEST(Export, PicturePathsBecomeRelativeZipNamesOrNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"Img\\节点\\a.png", "Img/节点/a.png"},
        {"Img\\Menu\\sub/b.png", "Img/Menu/sub/b.png"},
        {"Img\\Menu\\..\\..\\x.png", ""},
        {"Img\\Menu\\\\x.png", ""},
        {"Img\\Menu\\C:x.png", ""},
        {"Img\\Menu\\\xFF.png", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(check::entryName(path, '\\'), name) << path;
}

// A write that fails at any step, early or deep into the pictures, says why
// and leaves the folder as it was: the old zip untouched, no temporary file.
TEST(Export, AFailedWriteLeavesTheOldZipAsItWas) {
    using files::WriteError;
    using files::WriteStep;
    const struct {
        WriteStep step;
        int nth;  // which time the step is asked
        WriteError error;
        const char* why;
    } cases[] = {
        {WriteStep::CreateTemp, 1, WriteError::AccessDenied, "没有写入这个位置的权限"},
        {WriteStep::Write, 1, WriteError::DiskFull, "磁盘空间不足"},
        {WriteStep::Write, 60, WriteError::DiskFull, "磁盘空间不足"},
        {WriteStep::Flush, 1, WriteError::Other, "写入失败"},
        {WriteStep::Replace, 1, WriteError::InUse, "文件正被其他程序使用"},
    };
    for (const auto& c : cases) {
        TempDir out;
        const std::string target = out.file("pack.zip");
        writeFile(target, "old");
        int asked = 0;
        const check::ExportResult r = check::exportPack(PALLO_DEMO_DIR, target, {}, [&](WriteStep step) {
            return step == c.step && ++asked == c.nth ? c.error : WriteError::None;
        });
        EXPECT_FALSE(r.written) << c.why;
        EXPECT_NE(r.zh.find(c.why), std::string::npos) << r.zh;
        EXPECT_EQ(listDir(out.path()), std::vector<std::string>{"pack.zip"}) << c.why;
        EXPECT_EQ(readFile(target), "old");
    }
    // A picture gone between the check and the write stops it the same way.
    TempDir pack;
    std::filesystem::copy(PALLO_DEMO_DIR, pack.path(), std::filesystem::copy_options::recursive);
    std::filesystem::remove(pack.file("Img/Menu/maps.png"));
    const std::string target = pack.file("pack.zip");
    const check::ExportResult r = check::exportPack(pack.path(), target, {});
    EXPECT_EQ(r.zh, "无法读取图片“Img/Menu/maps.png”。");
    EXPECT_FALSE(files::exists(target));

    // A target that is a file of the pack, however written, is refused
    // before anything is written: Cfg.ini and the pictures stay whole.
    std::filesystem::copy_file(std::string(PALLO_DEMO_DIR) + "/Img/Menu/maps.png", pack.file("Img/Menu/maps.png"));
    const std::string cfg = readFile(pack.file("Cfg.ini"));
    const std::string picture = readFile(pack.file("Img/Menu/gear.png"));
    for (const std::string& over : {pack.file("Cfg.ini"), pack.file("Img/../Cfg.ini"), pack.file("Img/Menu/gear.png")}) {
        const check::ExportResult refused = check::exportPack(pack.path(), over, {});
        EXPECT_FALSE(refused.written) << over;
        EXPECT_NE(refused.zh.find("不能导出到包里的文件上"), std::string::npos) << refused.zh;
    }
    EXPECT_EQ(readFile(pack.file("Cfg.ini")), cfg);
    EXPECT_EQ(readFile(pack.file("Img/Menu/gear.png")), picture);
}

}  // namespace
}  // namespace pallo::testing
