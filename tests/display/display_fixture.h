// A program started on the headless platform with a Cfg.ini written by the
// test, and helpers to reach its node windows.
#pragma once

#include <string>
#include <vector>

#include "support/app_fixture.h"
#include "display/detail.h"
#include "display/rows.h"
#include "platform/files.h"
#include "png_writer.h"
#include "ui/names.h"

namespace pallo::testing {

// One main node section of Cfg.ini.
struct MainSection {
    int section = 1;
    std::string name{};  // picture folder under Img
    std::string title{};
    std::string in{};
    std::string link = "0";
    std::string pic{};
    std::vector<std::string> children{};  // "picture|name|description|ids"
};

inline std::string sectionText(const MainSection& n) {
    std::string s = "[" + std::to_string(n.section) + "]\r\nName=" + n.name + "\r\nTitle=" + n.title + "\r\nIn=" + n.in +
                    "\r\nLink=" + n.link + "\r\nShow=1\r\nPic=" + n.pic + "\r\n";
    for (std::size_t i = 0; i < n.children.size(); ++i) s += std::to_string(i + 1) + "=" + n.children[i] + "\r\n";
    return s;
}

inline std::string catalogText(const std::string& section, const std::vector<std::string>& entries) {
    std::string s = "[" + section + "]\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) s += std::to_string(i + 1) + "=" + entries[i] + "\r\n";
    return s;
}

// n children "cK.png|childK|tipK|" + ids.
inline std::vector<std::string> numberedChildren(int n, const std::string& ids = "0") {
    std::vector<std::string> out;
    for (int k = 1; k <= n; ++k) {
        const std::string s = std::to_string(k);
        out.push_back("c" + s + ".png|child" + s + "|tip" + s + "|" + ids);
    }
    return out;
}

// n catalog entries "eK.png|entryK|descK|0".
inline std::vector<std::string> numberedEntries(int n) {
    std::vector<std::string> out;
    for (int k = 1; k <= n; ++k) {
        const std::string s = std::to_string(k);
        out.push_back("e" + s + ".png|entry" + s + "|desc" + s + "|0");
    }
    return out;
}

class DisplayFixture : public AppFixture {
protected:
    std::string config = "[Config]\r\nX=100\r\nY=100\r\nW=70\r\nH=70\r\nT=0\r\nS=200\r\n";

    void startWith(const std::string& sections) {
        writeCfg(config + sections);
        start();
    }

    std::string imgPath(const std::string& folder, const std::string& file) const {
        const char sep = files::separator();
        return run.path() + sep + "Img" + sep + folder + sep + file;
    }
    void writePicture(const std::string& folder, const std::string& file) {
        writeFile(imgPath(folder, file), solidPng(4, 4, {200, 40, 40}));
    }

    const WindowInfo& win(RowIndex row, int position) {
        return state().rows[row].at(static_cast<std::size_t>(position - 1));
    }
    bool visible(RowIndex row, int position) { return platform.isVisible(win(row, position).self); }
    int visibleCount(RowIndex row) {
        int n = 0;
        for (const auto& info : state().rows[row]) n += platform.isVisible(info.self) ? 1 : 0;
        return n;
    }
    std::string caption(RowIndex row, int position) { return platform.text(win(row, position).caption); }
    std::string tip(RowIndex row, int position) { return platform.tooltip(win(row, position).picture); }
    // The page sign of a window: its text while shown, else empty.
    std::string sign(RowIndex row, int position) {
        const platform::ControlRef label{win(row, position).self, ui::names::node::pageSign};
        return visible(row, position) && platform.isVisible(label) ? platform.text(label) : std::string();
    }
    platform::PictureSource picture(RowIndex row, int position) {
        return platform.picture(win(row, position).picture);
    }

    // A user's left press on a menu window (on its caption, which lets it through).
    bool pressMenu(int position) { return platform.pressMouse(win(kFirstRow, position).caption, platform::MouseButton::Left); }
    // A full click on a second-row window, whichever of press and release it answers.
    bool clickChild(int position) { return platform.clickMouse(win(kSecondRow, position).picture); }

    std::size_t nodeWindowCount() const {
        std::size_t n = 0;
        for (const auto& w : platform.windows())
            if (platform.designName(w) != "OverlayWindow") ++n;
        return n;
    }
};

inline const platform::PictureSource kPlaceholder =
    platform::PictureSource::builtIn(assets::Picture::PlaceholderPicture);

}  // namespace pallo::testing
