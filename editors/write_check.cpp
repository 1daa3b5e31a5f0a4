#include "editors/write_check.h"

#include <algorithm>
#include <array>

#include "config/ini.h"
#include "model/loaders.h"
#include "model/text.h"
#include "platform/files.h"

namespace pallo {

namespace {

constexpr std::size_t kMaxStoredBytes = kValueLimit - 1;

const char* fieldLabel(WrittenField field) {
    switch (field) {
        case WrittenField::Picture: return "图片名称";
        case WrittenField::Name: return "显示名称";
        case WrittenField::Description: return "说明内容";
        case WrittenField::Members: return "关联内容";
        case WrittenField::Directory: return "图片目录";
        case WrittenField::Title: return "标题";
        case WrittenField::MainPicture: return "图片名";
        case WrittenField::Other: break;
    }
    return "内容";
}

Refusal refuse(WrittenField field, std::string_view reason) {
    return Refusal{field, fieldLabel(field) + std::string(reason)};
}

// Whole characters of text that fit in budget bytes.
std::size_t charactersWithin(std::string_view text, std::size_t budget) {
    const std::size_t bytes = ini::utf8CutLength(text, budget);
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
    return count;
}

bool holdsBlank(std::string_view text) { return removeBlanks(text) != text; }

bool quotedBothEnds(std::string_view value) {
    const std::string_view trimmed = ini::trimBlanks(value);
    return trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') &&
           trimmed.front() == trimmed.back();
}

// Why part (of the value written) does not read back, once "|" and the
// length are ruled out.
Refusal otherReason(std::string_view part, WrittenField field, bool quoted) {
    if (holdsBlank(part)) return refuse(field, "不能含有空格。");
    if (quoted) return refuse(field, "不能首尾都是引号。");
    return refuse(field, "含有无法保存的字符（如换行或控制字符）。");
}

// value is the whole value as written, before the store cuts it.
std::optional<Refusal> tooLong(std::string_view value, std::string_view part, WrittenField field) {
    if (value.size() <= kMaxStoredBytes) return std::nullopt;
    const std::size_t others = value.size() - part.size();
    const std::size_t budget = others >= kMaxStoredBytes ? 0 : kMaxStoredBytes - others;
    return refuse(field, "过长，配置文件最多可保存" + toText(static_cast<std::int64_t>(charactersWithin(part, budget))) +
                             "个字符。");
}

std::vector<std::string> nonBlank(const std::vector<std::string>& members) {
    std::vector<std::string> out;
    for (const std::string& m : members)
        if (!removeBlanks(m).empty()) out.push_back(m);
    return out;
}

bool sameMembers(std::string_view readBack, const std::vector<std::string>& list) {
    return nonBlank(split(readBack, ",")) == nonBlank(list);
}

}  // namespace

Encoded encodeEntry(const EntryParts& parts) {
    const std::array<std::pair<const std::string*, WrittenField>, 4> fields{{
        {&parts.picture, WrittenField::Picture},
        {&parts.name, WrittenField::Name},
        {&parts.description, WrittenField::Description},
        {&parts.members, WrittenField::Members},
    }};
    Encoded out;
    out.value = repairUtf8(parts.picture + "|" + parts.name + "|" + parts.description + "|" + parts.members);
    const std::vector<std::string> back = split(readBackValue(out.value), "|", fields.size());
    bool same = back.size() == fields.size();
    for (std::size_t i = 0; same && i < fields.size(); ++i) same = back[i] == *fields[i].first;
    const std::vector<std::string> list = parts.memberList.empty() ? split(parts.members, ",") : parts.memberList;
    if (same && sameMembers(back[3], list)) return out;

    for (const auto& [part, field] : fields) {
        if (part->find('|') != std::string::npos) {
            out.refusal = refuse(field, "不能含有\"|\"。");
            return out;
        }
    }
    // Too long: the longest part is the one to shorten.
    const auto* longest = &fields[0];
    for (const auto& f : fields)
        if (f.first->size() > longest->first->size()) longest = &f;
    if ((out.refusal = tooLong(out.value, *longest->first, longest->second))) return out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i < back.size() && back[i] == *fields[i].first) continue;
        // Outer quotes take the first part's first character.
        out.refusal = otherReason(*fields[i].first, fields[i].second, quotedBothEnds(out.value));
        return out;
    }
    out.refusal = refuse(WrittenField::Members, "中有无法按原样保存的项（如项内的逗号）。");
    return out;
}

Encoded encodeValue(std::string_view text, WrittenField field) {
    Encoded out;
    out.value = repairUtf8(text);
    if (readBackValue(out.value) == text) return out;
    if ((out.refusal = tooLong(out.value, text, field))) return out;
    out.refusal = otherReason(text, field, quotedBothEnds(out.value));
    return out;
}

void WriteGroup::add(std::string section, std::string key, Encoded encoded) {
    if (refusal_) return;
    if (encoded.refusal) {
        refusal_ = std::move(encoded.refusal);
        items_.clear();
        return;
    }
    items_.push_back({std::move(section), std::move(key), std::move(encoded.value)});
}

void WriteGroup::addEntry(std::string section, std::string key, const EntryParts& parts) {
    add(std::move(section), std::move(key), encodeEntry(parts));
}

void WriteGroup::addValue(std::string section, std::string key, std::string_view text, WrittenField field) {
    add(std::move(section), std::move(key), encodeValue(text, field));
}

void WriteGroup::addEmpty(std::string section, std::string key) {
    add(std::move(section), std::move(key), Encoded{});
}

void WriteGroup::addStored(std::string section, std::string key, std::string storedValue) {
    add(std::move(section), std::move(key), Encoded{std::move(storedValue), std::nullopt});
}

std::string missingFileMessage(const std::string& cfgPath) { return cfgPath + " 配置文件不存在，未保存任何更改。"; }

const char* const kFileChangedMessage =
    "Cfg.ini 已被其他程序修改，未保存任何更改。已重新读取该文件，输入框中的内容保留；再按一次即保存到新的内容上。";

namespace {

// Why a replace failed, in one line a player can act on.
const char* causeText(ConfigStore::Refusal refusal) {
    switch (refusal) {
        case ConfigStore::Refusal::DiskFull: return "磁盘空间不足，原文件保持不变。";
        case ConfigStore::Refusal::ReadOnly: return "文件是只读的，原文件保持不变。";
        case ConfigStore::Refusal::AccessDenied: return "没有写入权限，原文件保持不变。";
        case ConfigStore::Refusal::InUse: return "文件正被其他程序占用，原文件保持不变。";
        default: return "原文件保持不变。";
    }
}

// The writer's words, one line: a group of many keys names the first and
// how many there were, never a line per key.
std::string firstLine(const std::string& failure) {
    const std::size_t lines = static_cast<std::size_t>(std::count(failure.begin(), failure.end(), '\n')) + 1;
    const std::size_t end = failure.find_first_of("\r\n");
    if (end == std::string::npos) return failure;
    return failure.substr(0, end) + "（及其余" + toText(static_cast<std::int64_t>(lines - 1)) + "项）";
}

}  // namespace

std::optional<Refusal> writeOrRefuse(ConfigStore& store, const std::string& cfgPath, const WriteGroup& group,
                                     std::string failure) {
    if (group.refusal()) return group.refusal();
    const ConfigStore::Outcome outcome = store.writeGroup(cfgPath, group.items(), ConfigStore::Missing::Create,
                                                          ConfigStore::Since::Read);
    switch (outcome.refusal) {
        case ConfigStore::Refusal::None: return std::nullopt;
        case ConfigStore::Refusal::Missing: return Refusal{.text = missingFileMessage(cfgPath)};
        case ConfigStore::Refusal::Changed: return Refusal{.text = kFileChangedMessage, .fileChanged = true};
        default: break;
    }
    return Refusal{.text = firstLine(failure) + "\r\n" + causeText(outcome.refusal)};
}

}  // namespace pallo
