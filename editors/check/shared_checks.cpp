// The checks topics and catalogs share: tips, blanks and pictures.
#include "config/utf16.h"
#include "display/detail.h"
#include "editors/check/checker.h"
#include "model/text.h"
#include "platform/platform.h"

namespace pallo::check {

// A description is the hover tip, which shows only its first part.
void Checker::checkTipLength(int line, const std::string& sec, const std::string& key,
                             const std::string& description) {
    const std::size_t units = ini::utf16LeFromUtf8(tipText(description)).size() / 2;
    if (units <= static_cast<std::size_t>(platform::kTipShownUnits)) return;
    const std::string shown = toText(static_cast<std::int64_t>(platform::kTipShownUnits) - 1);
    add(line, sec, key, Severity::Warning, "tip-cut",
        "说明是悬停提示，提示最多显示 " + shown + " 个字符，后面加“…”；这段说明有 " +
            toText(static_cast<std::int64_t>(units)) + " 个（表情符号算 2 个，# 算 2 个）。请缩短它。",
        "The description is the hover tip, which shows at most " + shown +
            " characters and then \"…\"; this one has " + toText(static_cast<std::int64_t>(units)) +
            " (an emoji counts 2, a # counts 2). Shorten it.");
}

// Every blank of a value is removed when the program reads it.
void Checker::checkBlanks(const std::string& sec, const std::string& key, const std::string& value, bool whole) {
    const std::vector<std::string> parts = whole ? std::vector<std::string>{value} : split(value, "|", 4);
    for (const std::string& part : parts) {
        const std::string_view written = trimSpaces(part);
        const std::string read = removeBlanks(written);
        if (read == written) continue;
        add(lineOf(sec, key), sec, key, Severity::Warning, "blanks-removed",
            "程序读取时会删除所有空格：" + q(written) + " 会变成 " + q(read) +
                "。在编辑器里输入的空格会保存为不换行空格（U+00A0），读取后原样保留并显示为空格；"
                "手工编辑时需要保留的空格也请写成 U+00A0。图片和文件夹名里不能有空格，编辑器会拒绝。",
            "The program removes every blank when it reads a value: " + q(written) + " becomes " + q(read) +
                ". The editors store a typed space as a no-break space (U+00A0), which is kept and shows as a "
                "space; when editing by hand, write U+00A0 where a blank must stay. Picture and folder names "
                "cannot have blanks: the editors refuse them.");
    }
}

const PictureFacts& Checker::examine(const std::string& path) {
    auto it = pictures_.find(path);
    if (it == pictures_.end()) it = pictures_.emplace(path, examinePicture(path, pictureCheck_)).first;
    return it->second;
}

// A picture of the second or third row: a missing one shows the placeholder.
void Checker::checkPicture(int line, const std::string& sec, const std::string& key, const PictureRef& picture) {
    const std::string shown = shown_.path(picture);
    if (picture.file.empty()) {
        add(line, sec, key, Severity::Warning, "picture-none",
            "这一项没有写图片名：显示占位图。", "This entry names no picture: the placeholder shows.");
        return;
    }
    const PictureFacts& facts = examine(places_.path(picture));
    if (facts.verdict == PictureFacts::Verdict::Missing) {
        add(line, sec, key, Severity::Error, "picture-missing",
            "图片不存在：" + shown + "。程序显示占位图。请添加这个文件或改正文件名。",
            "Picture missing: " + shown + ". The placeholder shows instead; add the file or fix the name.");
        return;
    }
    reportPicture(facts, line, sec, key, shown);
}

void Checker::reportPicture(const PictureFacts& facts, int line, const std::string& sec, const std::string& key,
                            const std::string& shown) {
    if (facts.verdict == PictureFacts::Verdict::Unreadable) {
        add(line, sec, key, Severity::Error, "picture-unreadable",
            "程序无法显示图片 " + shown + "：" + facts.whyZh + "。这一格显示为空白。" + facts.fixZh + "。",
            "The program cannot show " + shown + ": " + facts.whyEn + ". The box stays empty. " + facts.fixEn +
                ".");
    } else if (facts.verdict == PictureFacts::Verdict::Slow) {
        const std::string size = toText(facts.width) + " × " + toText(facts.height);
        const std::string ms = toText(static_cast<std::int64_t>(facts.milliseconds + 0.5));
        add(line, sec, key, Severity::Warning, "picture-slow",
            "图片 " + shown + " 有 " + size + " 像素，这里解码用了约 " + ms +
                " 毫秒：第一次点击显示它时会变慢。格子只有 70 × 70，请把图片缩小。",
            "Picture " + shown + " is " + size + " pixels and took about " + ms +
                " ms to decode here: the first press that shows it is slow. The box is 70 × 70; scale it "
                "down.");
    }
}

}  // namespace pallo::check
