// The reports: one line per finding or a JSON array, the summary, the exit
// status, and the command line.
#include <string_view>

#include "model/text.h"
#include "platform/files.h"
#include "tools/check/check.h"

namespace pallo::check {

namespace {

const char* severityName(Severity s) {
    switch (s) {
        case Severity::Note: return "note";
        case Severity::Warning: return "warning";
        case Severity::Error: return "error";
    }
    return "error";
}

void appendJsonString(std::string& out, std::string_view text) {
    static const char* hex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

constexpr const char* kUsage =
    "用法 usage: pallo-check [--json] [FOLDER]\n"
    "  检查 FOLDER（默认为当前文件夹）里的 Cfg.ini 和 Img。\n"
    "  Checks Cfg.ini and Img in FOLDER (the current folder by default).\n"
    "  退出码 exit status: 0 无问题 clean, 1 只有警告 warnings only, 2 有错误 errors, 3 命令行错误 bad command line.\n";

}  // namespace

std::string formatText(const Finding& f) {
    std::string out = "Cfg.ini:";
    if (f.line > 0) out += toText(f.line) + ":";
    if (!f.section.empty()) out += " [" + f.section + "]" + (f.key.empty() ? "" : " " + f.key) + ":";
    out += std::string(" ") + severityName(f.severity) + " [" + f.code + "]: " + f.zh + " — " + f.en;
    return out;
}

std::string formatSummary(const std::vector<Finding>& findings) {
    int counts[3] = {0, 0, 0};
    for (const Finding& f : findings) ++counts[static_cast<int>(f.severity)];
    const std::string e = toText(counts[2]), w = toText(counts[1]), n = toText(counts[0]);
    return "pallo-check: " + e + " 个错误，" + w + " 个警告，" + n + " 个提示 — " + e + " errors, " + w + " warnings, " + n +
           " notes.";
}

std::string formatJson(const std::vector<Finding>& findings) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i == 0 ? "\n  {" : ",\n  {";
        out += "\"line\": " + (f.line > 0 ? toText(f.line) : std::string("null"));
        out += ", \"section\": ";
        appendJsonString(out, f.section);
        out += ", \"key\": ";
        appendJsonString(out, f.key);
        out += ", \"severity\": ";
        appendJsonString(out, severityName(f.severity));
        out += ", \"code\": ";
        appendJsonString(out, f.code);
        out += ", \"message_zh\": ";
        appendJsonString(out, f.zh);
        out += ", \"message_en\": ";
        appendJsonString(out, f.en);
        out += "}";
    }
    out += findings.empty() ? "]\n" : "\n]\n";
    return out;
}

int exitStatus(const std::vector<Finding>& findings) {
    int status = 0;
    for (const Finding& f : findings) {
        if (f.severity == Severity::Error) return 2;
        if (f.severity == Severity::Warning) status = 1;
    }
    return status;
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    bool json = false;
    std::string folder;
    bool haveFolder = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (a == "--help" || a == "-h" || a == "/?") {
            out += kUsage;
            return 0;
        } else if (a.starts_with("-") || haveFolder) {
            err += kUsage;
            return 3;
        } else {
            folder = a;
            haveFolder = true;
        }
    }
    if (!haveFolder) folder = ".";
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == files::separator())) folder.pop_back();

    const std::vector<Finding> findings = checkPack(folder);
    if (json) {
        out += formatJson(findings);
    } else {
        for (const Finding& f : findings) out += formatText(f) + "\n";
        out += formatSummary(findings) + "\n";
    }
    return exitStatus(findings);
}

}  // namespace pallo::check
