#include "tools/check/command.h"

#include <optional>

#include "editors/check/export.h"
#include "model/text.h"
#include "platform/files.h"

namespace pallo::check {

namespace {

constexpr const char* kUsage =
    "用法 usage: pallo-check [--json] [FOLDER]\n"
    "            pallo-check --export OUT.zip [FOLDER] [--with-exe PATH]\n"
    "  检查 FOLDER（默认为当前文件夹）里的 Cfg.ini 和 Img。\n"
    "  Checks Cfg.ini and Img in FOLDER (the current folder by default).\n"
    "  退出码 exit status: 0 无问题 clean, 1 只有警告 warnings only, 2 有错误 errors, 3 命令行错误 bad command line.\n"
    "  --export：先检查，没有错误时把内容打包成给玩家的 OUT.zip（Cfg.ini 去掉 X、Y，只含用到的图片，\n"
    "  附 README.txt；--with-exe 指定的 pallo.exe 及其旁边的 pallo-check.exe 一并放入）。\n"
    "  --export checks first and, without errors, writes OUT.zip for players (Cfg.ini without X and Y, the\n"
    "  pictures the pack uses, a README.txt; with --with-exe, that pallo.exe and the pallo-check.exe beside it).\n"
    "  退出码 exit status: 0 已写入 written, 2 有错误 errors, 3 命令行错误 bad command line, 4 无法写入 not written.\n";

struct Command {
    bool json = false;
    std::string folder = ".";
    std::string exportTo;  // empty: check only
    std::string exe;       // --with-exe
};

// The command line, or nothing when it is wrong.
std::optional<Command> parse(const std::vector<std::string>& args, bool& help) {
    Command c;
    bool haveFolder = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--export" || a == "--with-exe";
        if (takesValue && (i + 1 == args.size() || args[i + 1].empty())) return std::nullopt;
        if (a == "--json") c.json = true;
        else if (a == "--export") c.exportTo = args[++i];
        else if (a == "--with-exe") c.exe = args[++i];
        else if (a == "--help" || a == "-h" || a == "/?") help = true;
        else if (a.starts_with("-") || haveFolder) return std::nullopt;
        else c.folder = a, haveFolder = true;
    }
    if ((c.json && !c.exportTo.empty()) || (!c.exe.empty() && c.exportTo.empty())) return std::nullopt;
    while (c.folder.size() > 1 && (c.folder.back() == '/' || c.folder.back() == files::separator()))
        c.folder.pop_back();
    return c;
}

int exportCommand(const Command& c, const std::vector<Finding>& findings, std::string& out, std::string& err) {
    for (const Finding& f : findings) out += formatText(f) + "\n";
    out += formatSummary(findings) + "\n";
    if (stopsExport(findings)) {
        err += "pallo-check: 有错误，没有导出。— There are errors; nothing was exported.\n";
        return 2;
    }
    const ExportResult result = exportPack(c.folder, c.exportTo, programFilesBeside(c.exe));
    if (!result.written) {
        err += "pallo-check: " + result.zh + " — " + result.en + "\n";
        return 4;
    }
    out += "pallo-check: 已导出 " + c.exportTo + "（" + toText(result.pictures) + " 张图片）— exported " + c.exportTo +
           " (" + toText(result.pictures) + " pictures).\n";
    return 0;
}

}  // namespace

int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    bool help = false;
    const std::optional<Command> c = parse(args, help);
    if (help && c) {
        out += kUsage;
        return 0;
    }
    if (!c) {
        err += kUsage;
        return 3;
    }
    // An export needs to know the pack is whole; decoding every picture
    // (and timing it) is for the full check.
    const std::vector<Finding> findings =
        checkPack(c->folder, c->exportTo.empty() ? PictureCheck::Decode : PictureCheck::Header);
    if (!c->exportTo.empty()) return exportCommand(*c, findings, out, err);
    if (c->json) {
        out += formatJson(findings);
    } else {
        for (const Finding& f : findings) out += formatText(f) + "\n";
        out += formatSummary(findings) + "\n";
    }
    return exitStatus(findings);
}

}  // namespace pallo::check
