// The checker's walk over a pack, and where things are in its Cfg.ini.
#include "editors/check/checker.h"

#include <algorithm>

#include "model/loaders.h"
#include "model/text.h"
#include "platform/files.h"

namespace pallo::check {

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int canonicalNumber(std::string_view text) {
    if (!allDigits(text) || text.size() > 9 || text.front() == '0') return 0;
    return toInt(text);
}

std::string q(std::string_view text, const char* open, const char* close) {
    return open + repairUtf8(text) + close;
}

std::string_view trimSpaces(std::string_view text) {
    for (;;) {
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace)) text.remove_prefix(kFullWidthSpace.size());
        else break;
    }
    for (;;) {
        if (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        else if (text.ends_with(kFullWidthSpace)) text.remove_suffix(kFullWidthSpace.size());
        else break;
    }
    return text;
}

Checker::Checker(const std::string& folder, PictureCheck pictures)
    : folder_(folder),
      pictureCheck_(pictures),
      places_(PicturePlaces::ofPack(folder)),
      shown_(PicturePlaces::relativeToPack()) {
    const char sep = files::separator();
    cfgPath_ = folder + sep + "Cfg.ini";
}

std::vector<Finding> Checker::run() {
    if (!files::exists(cfgPath_) || files::isDirectory(cfgPath_)) {
        add(0, "", "", Severity::Error, "cfg-missing", "找不到 Cfg.ini：程序会提示“配置文件不存在。”，什么内容都不显示。请把 Cfg.ini 放在这个文件夹里。",
            "Cfg.ini is missing: the program says the configuration file does not exist and shows no "
            "content. Put Cfg.ini in this folder.");
        return std::move(findings_);
    }
    std::optional<std::string> bytes = files::readAll(cfgPath_);
    if (!bytes) {
        add(0, "", "", Severity::Error, "cfg-unreadable", "Cfg.ini 无法读取：程序什么内容都不显示。请检查文件权限。",
            "Cfg.ini cannot be read: the program shows no content. Check the file's permissions.");
        return std::move(findings_);
    }
    doc_ = ini::parse(std::move(*bytes));
    indexLines();
    ini_ = store_.snapshot(cfgPath_);
    loadMainNodes(store_, cfgPath_, nodes_);
    loadCatalog(store_, cfgPath_, "Item", items_);
    loadCatalog(store_, cfgPath_, "Hero", heroes_);

    checkLinesOutsideSections();
    checkSectionsAndKeys();
    checkWindowSettings();
    for (int i = 1; i <= kMainNodeCount; ++i) checkTopic(i);
    checkTitleGap();
    checkCatalog("Item", items_);
    checkCatalog("Hero", heroes_);

    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(findings_);
}

void Checker::indexLines() {
    const std::string& b = doc_.bytes;
    lineStarts_.assign(1, 0);
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
        if (b[i] == '\r' || b[i] == '\n') lineStarts_.push_back(i + 1);
    }
}

int Checker::lineAt(std::size_t offset) const {
    return static_cast<int>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - lineStarts_.begin());
}

std::string_view Checker::bytesAt(std::size_t begin, std::size_t end) const {
    return std::string_view(doc_.bytes).substr(begin, end - begin);
}

const ini::Section* Checker::section(std::string_view name) const {
    const auto it = doc_.sectionIndex.find(lower(name));
    return it == doc_.sectionIndex.end() ? nullptr : &doc_.sections[it->second];
}

const ini::Entry* Checker::entry(std::string_view sectionName, std::string_view key) const {
    const ini::Section* s = section(sectionName);
    if (!s) return nullptr;
    const auto it = s->keyIndex.find(lower(key));
    return it == s->keyIndex.end() ? nullptr : &s->entries[it->second];
}

int Checker::lineOf(std::string_view sectionName, std::string_view key) const {
    if (const ini::Entry* e = entry(sectionName, key)) return lineAt(e->keyBegin);
    if (const ini::Section* s = section(sectionName)) return lineAt(s->nameBegin);
    return 0;
}

bool Checker::hasKeys(std::string_view sectionName) const {
    const ini::Section* s = section(sectionName);
    return s && !s->entries.empty();
}

void Checker::add(int line, std::string_view sectionName, std::string_view key, Severity severity, const char* code,
                  std::string zh, std::string en) {
    findings_.push_back(Finding{line, repairUtf8(sectionName), repairUtf8(key), severity, code,
                                std::move(zh), std::move(en)});
}

std::vector<Finding> checkPack(const std::string& folder, PictureCheck pictures) {
    return Checker(folder, pictures).run();
}

}  // namespace pallo::check
