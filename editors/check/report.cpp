// The reports: one line per finding or a JSON array, the summary and the
// exit status.
#include <string_view>

#include "editors/check/check.h"
#include "model/text.h"

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

}  // namespace pallo::check
