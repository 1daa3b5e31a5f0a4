#include "editors/check/export.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "config/config_store.h"
#include "config/ini.h"
#include "config/utf16.h"
#include "model/loaders.h"
#include "model/pack.h"
#include "model/text.h"
#include "platform/zip_writer.h"

namespace pallo::check {

namespace {

// Notepad reads UTF-8 without a mark as the local code page on older
// Windows: the mark keeps the Chinese readable everywhere.
constexpr std::string_view kReadme =
    "\xEF\xBB\xBF"
    "Pallo 分享包\r\n"
    "\r\n"
    "使用方法：把这个压缩包解压到任意文件夹，运行其中的 pallo.exe（包里没有时，请把 pallo.exe 放进这个文件夹）。\r\n"
    "Cfg.ini 和 Img 文件夹是内容。pallo-check.exe 检查内容：在命令行里进入这个文件夹，运行 pallo-check.exe。\r\n"
    "如何制作和修改内容，请看 Pallo 项目里的内容指南（docs/content.zh.md）。\r\n"
    "\r\n"
    "How to start it: unzip this archive into any folder and run pallo.exe there (if the archive has none, put "
    "pallo.exe into that folder).\r\n"
    "Cfg.ini and the Img folder are the content. pallo-check.exe checks it: open a command prompt in that folder "
    "and run pallo-check.exe.\r\n"
    "How to make and change content: see the content guide in the Pallo project (docs/content.md).\r\n";

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

ExportResult failure(std::string zh, std::string en) { return {false, 0, std::move(zh), std::move(en)}; }

ExportResult writeFailure(const std::string& target, files::WriteError error) {
    std::pair<const char*, const char*> why{"写入失败", "the write failed"};
    if (error == files::WriteError::DiskFull) why = {"磁盘空间不足", "the disk is full"};
    if (error == files::WriteError::AccessDenied) why = {"没有写入这个位置的权限", "there is no permission to write there"};
    if (error == files::WriteError::InUse) why = {"文件正被其他程序使用", "another program is using the file"};
    return failure("无法写入“" + repairUtf8(target) + "”：" + why.first + "。没有留下任何文件。",
                   "Cannot write \"" + repairUtf8(target) + "\": " + why.second + ". No file was left behind.");
}

// The used pictures as archive entries, one per name (a case-insensitive
// match is one file on Windows), or why a picture cannot go in. Their
// bytes are read only as the archive is written.
std::optional<ExportResult> addPictures(const std::string& folder, std::vector<zip::Entry>& entries) {
    const std::string cfgPath = folder + files::separator() + "Cfg.ini";
    ConfigStore store;
    NodeTable nodes;
    CatalogTable items, heroes;
    loadMainNodes(store, cfgPath, nodes);
    loadCatalog(store, cfgPath, "Item", items);
    loadCatalog(store, cfgPath, "Hero", heroes);
    std::set<std::string> seen;
    for (const std::string& path :
         usedPictures(PicturePlaces::ofPack(folder), store.snapshot(cfgPath), nodes, items, heroes)) {
        const std::string name = entryName(std::string_view(path).substr(folder.size() + 1), files::separator());
        if (name.empty())
            return failure("图片名“" + repairUtf8(path) + "”无法放进压缩包。",
                           "The picture name \"" + repairUtf8(path) + "\" cannot be stored in a zip.");
        if (!seen.insert(lowerAscii(name)).second) continue;
        entries.push_back({name, {}, path, false});
    }
    return std::nullopt;
}

}  // namespace

std::string withoutWindowPlace(std::string cfgBytes) {
    const ini::Document doc = ini::parse(std::move(cfgBytes));
    std::string text;
    std::size_t kept = 0;  // doc.bytes up to here are in text
    const std::string_view bytes = doc.bytes;
    for (const ini::Section& section : doc.sections) {
        const std::string_view name = bytes.substr(section.nameBegin, section.nameEnd - section.nameBegin);
        if (!ini::equalIgnoringAsciiCase(ini::trimBlanks(name), "Config")) continue;
        for (const ini::Entry& e : section.entries) {
            const std::string_view key = bytes.substr(e.keyBegin, e.keyEnd - e.keyBegin);
            if (!ini::equalIgnoringAsciiCase(key, "X") && !ini::equalIgnoringAsciiCase(key, "Y")) continue;
            text.append(doc.bytes, kept, e.lineBegin - kept);
            kept = e.next;
        }
    }
    text.append(doc.bytes, kept);
    if (doc.encoding == ini::Encoding::Utf16Le) return "\xFF\xFE" + ini::utf16LeFromUtf8(text) + doc.oddByte;
    return text;
}

std::string entryName(std::string_view relativePath, char separator) {
    std::string name(relativePath);
    std::replace(name.begin(), name.end(), separator, '/');
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || !ini::isValidUtf8(name) || name.find(':') != std::string::npos) return {};
    for (std::size_t begin = 0; begin <= name.size();) {
        const std::size_t end = std::min(name.find('/', begin), name.size());
        const std::string_view part = std::string_view(name).substr(begin, end - begin);
        if (part.empty() || part == "." || part == "..") return {};
        begin = end + 1;
    }
    return name;
}

std::vector<ProgramFile> programFilesBeside(const std::string& exe) {
    if (exe.empty()) return {};
    std::vector<ProgramFile> programs{{"pallo.exe", exe}};
    const std::size_t cut = exe.find_last_of(std::string("/") + files::separator());
    const std::string checker = (cut == std::string::npos ? "" : exe.substr(0, cut + 1)) + "pallo-check.exe";
    if (files::exists(checker) && !files::isDirectory(checker)) programs.push_back({"pallo-check.exe", checker});
    return programs;
}

bool stopsExport(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

std::string listFindings(const std::vector<Finding>& findings, Severity severity, int maxLines) {
    std::string out;
    int count = 0;
    for (const Finding& f : findings) {
        if (f.severity != severity) continue;
        if (++count > maxLines) continue;
        out += "Cfg.ini";
        if (f.line > 0) out += ":" + toText(f.line);
        if (!f.section.empty()) out += " [" + f.section + "]" + (f.key.empty() ? "" : " " + f.key);
        out += "：" + f.zh + "\r\n";
    }
    if (count > maxLines) out += "……还有 " + toText(count - maxLines) + " 条。\r\n";
    return out;
}

namespace {

// Why the archive was not written into out.
ExportResult zipFailure(const zip::Result& zipped, const files::Replacement& out, const std::string& target) {
    if (const zip::Entry* entry = zipped.unreadable) {
        const std::string& name = entry->name;
        if (name.starts_with("Img/"))
            return failure("无法读取图片“" + name + "”。", "Cannot read the picture \"" + name + "\".");
        const std::string path = repairUtf8(entry->path);
        return failure("无法读取“" + path + "”。", "Cannot read \"" + path + "\".");
    }
    if (out.error() != files::WriteError::None) return writeFailure(target, out.error());
    const std::string why = repairUtf8(zipped.error);
    return failure("无法生成压缩包：" + why + "。", "Cannot make the zip: " + why + ".");
}

}  // namespace

ExportResult exportPack(const std::string& folder, const std::string& target,
                        const std::vector<ProgramFile>& programs, const files::FaultHook& hook) {
    std::vector<zip::Entry> entries;
    const std::string cfgPath = folder + files::separator() + "Cfg.ini";
    std::optional<std::string> cfg = files::readAll(cfgPath);
    if (!cfg) return failure("无法读取 Cfg.ini。", "Cannot read Cfg.ini.");
    entries.push_back({"Cfg.ini", withoutWindowPlace(std::move(*cfg)), {}, true});
    entries.push_back({"README.txt", std::string(kReadme), {}, true});
    if (std::optional<ExportResult> refused = addPictures(folder, entries)) return *refused;
    const int pictures = static_cast<int>(entries.size()) - 2;
    for (const ProgramFile& program : programs) entries.push_back({program.name, {}, program.path, true});
    std::sort(entries.begin(), entries.end(), [](const zip::Entry& a, const zip::Entry& b) { return a.name < b.name; });
    // The zip never replaces a file it is made of: Cfg.ini, a picture or a
    // program named as the target would be lost.
    const bool overPackFile = files::sameFile(target, cfgPath) ||
                              std::any_of(entries.begin(), entries.end(), [&](const zip::Entry& e) {
                                  return !e.path.empty() && files::sameFile(target, e.path);
                              });
    if (overPackFile)
        return failure("不能导出到包里的文件上（" + target + "），请另选文件名。",
                       "The zip cannot replace a file of the pack (" + target + "); choose another name.");

    // Straight into a temporary file beside target, which replaces it only
    // once the whole archive is written.
    files::Replacement out(target, hook);
    const zip::Result zipped = zip::write(entries, out);
    if (!zipped.written) return zipFailure(zipped, out, target);
    if (const files::WriteResult written = out.commit(); !written) return writeFailure(target, written.error);
    return {true, pictures, {}, {}};
}

}  // namespace pallo::check
