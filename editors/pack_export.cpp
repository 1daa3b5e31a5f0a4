#include "editors/pack_export.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "editors/check/export.h"
#include "model/text.h"
#include "program/editor_window.h"
#include "program/handlers.h"
#include "ui/names.h"

namespace pallo {

namespace {

namespace names = ui::names::nodeEditor;
using platform::MessageButtons;

constexpr const char* kCaption = "导出分享包";
constexpr int kListedFindings = 10;

// The pack folder's own name as the zip's.
std::string suggestedName(const std::string& folder) {
    const std::size_t cut = folder.find_last_of("/\\");
    const std::string name = cut == std::string::npos ? folder : folder.substr(cut + 1);
    return (name.empty() ? std::string("Pallo") : name) + ".zip";
}

bool hasWarnings(const std::vector<check::Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const check::Finding& f) { return f.severity == check::Severity::Warning; });
}

// Errors stop the export; warnings let the author choose. False when it
// stops here.
bool mayGoOn(Context& ctx, const std::vector<check::Finding>& findings) {
    if (check::stopsExport(findings)) {
        kNodeEditor.tell(ctx,
                         "内容有错误，没有导出：\r\n" +
                             check::listFindings(findings, check::Severity::Error, kListedFindings) +
                             "请改正后再导出（pallo-check 能列出全部问题）。",
                         kCaption);
        return false;
    }
    if (!hasWarnings(findings)) return true;
    const std::optional<platform::Answer> answer = kNodeEditor.tell(
        ctx,
        "内容有以下警告：\r\n" + check::listFindings(findings, check::Severity::Warning, kListedFindings) +
            "仍要导出吗？",
        kCaption, MessageButtons::YesNo);
    return answer == platform::Answer::Yes;
}

}  // namespace

void exportPackForPlayers(Context& ctx) {
    platform::Platform& p = ctx.platform;
    const std::string folder = p.runDirectory();
    const platform::FileKind zip{"Zip 压缩包 (*.zip)", "*.zip", "zip"};
    const std::optional<std::string> target =
        p.chooseSaveFile(kNodeEditor.window(ctx), kCaption, suggestedName(folder), zip);
    if (!target || !kNodeEditor.isOpen(ctx)) return;
    if (!mayGoOn(ctx, check::checkPack(folder, check::PictureCheck::Header))) return;
    const check::ExportResult result =
        check::exportPack(folder, *target, check::programFilesBeside(p.programFile()));
    if (!result.written) {
        kNodeEditor.tell(ctx, result.zh, "错误");
        return;
    }
    const std::string pictures = toText(result.pictures);
    kNodeEditor.tell(ctx, "已导出分享包：\r\n" + *target + "\r\n其中有 " + pictures + " 张图片。", kCaption);
}

void registerPackExportHandlers(HandlerRegistry& handlers) {
    handlers.add({{names::window, names::exportButton, ui::EventKind::Clicked, &pallo::exportPackForPlayers}});
}

}  // namespace pallo
