// Invariants of the window designs: what a backend relies on when it builds
// a window from a design, and what the handlers rely on when they address
// controls by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ui/designs.h"
#include "ui/names.h"

namespace pallo::ui {
namespace {

struct Rect {
    int left, top, width, height;
};

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

Rect rectOf(const ControlDesign& c) { return {c.left, c.top, c.width, c.height}; }

bool isNodeWindow(const WindowDesign& w) {
    return w.name.starts_with("FirstRow") || w.name.starts_with("SecondRow") ||
           w.name.starts_with("ThirdRow");
}

const std::set<std::string> kEditorNames{"NodeEditorWindow", "CatalogEditorWindow",
                                         "AssociationWindow"};

TEST(Designs, FortyThreeWindowsWithUniqueNamesFoundByName) {
    const auto designs = allDesigns();
    ASSERT_EQ(designs.size(), 43u);
    std::set<std::string> names;
    for (const WindowDesign* d : designs) {
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(names.insert(d->name).second) << "duplicate design " << d->name;
        EXPECT_EQ(findDesign(d->name), d) << d->name;
    }
    EXPECT_EQ(findDesign("NoSuchWindow"), nullptr);
    EXPECT_EQ(findDesign(""), nullptr);
    EXPECT_EQ(findDesign("FirstRow11"), nullptr);
    EXPECT_EQ(findDesign("ThirdRow0"), nullptr);
}

TEST(Designs, DesignsAreBuiltOnce) {
    // Callers keep references; a second call must hand out the same object.
    EXPECT_EQ(&overlayWindow(), &overlayWindow());
    EXPECT_EQ(&nodeWindow(Row::Second, 6), &nodeWindow(Row::Second, 6));
    EXPECT_EQ(allDesigns(), allDesigns());
}

TEST(Designs, ControlNamesAreUniqueAndFindable) {
    for (const WindowDesign* d : allDesigns()) {
        std::set<std::string> names;
        for (const ControlDesign& c : d->controls) {
            EXPECT_FALSE(c.name.empty()) << d->name;
            EXPECT_TRUE(names.insert(c.name).second) << d->name << ": duplicate " << c.name;
            EXPECT_EQ(d->find(c.name), &c) << d->name << "/" << c.name;
        }
        EXPECT_EQ(d->find("不存在"), nullptr);
        EXPECT_EQ(d->find(""), nullptr);
    }
}

// The edit boxes of the entry strip are numbered where the designs are
// built; the names the editors use must land on them.
TEST(Designs, EditorNamesAddressEditBoxesOfTheirWindow) {
    namespace n = names::nodeEditor;
    namespace c = names::catalogEditor;
    const std::pair<const WindowDesign*, std::vector<const char*>> cases[] = {
        {&nodeEditorWindow(), {n::mainPictureEdit, n::idEdit, n::pictureEdit, n::nameEdit, n::membersEdit,
                               n::descriptionEdit}},
        {&catalogEditorWindow(), {c::idEdit, c::pictureEdit, c::nameEdit, c::membersEdit, c::descriptionEdit}},
        {&associationWindow(), {names::association::idEdit}},
    };
    for (const auto& [design, edits] : cases) {
        for (const char* name : edits) {
            const ControlDesign* control = design->find(name);
            ASSERT_NE(control, nullptr) << design->name << "/" << name;
            EXPECT_EQ(control->kind, ControlKind::Edit) << design->name << "/" << name;
        }
    }
    EXPECT_TRUE(nodeEditorWindow().find(n::descriptionEdit)->multiLine);
    EXPECT_TRUE(catalogEditorWindow().find(c::descriptionEdit)->multiLine);
    EXPECT_TRUE(nodeEditorWindow().find(n::idEdit)->integerInput);
}

TEST(Designs, ContainersExistAndCanHoldControls) {
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            if (c.container.empty()) continue;
            const ControlDesign* parent = d->find(c.container);
            ASSERT_NE(parent, nullptr) << d->name << "/" << c.name << " in " << c.container;
            EXPECT_NE(parent, &c) << d->name << "/" << c.name << " contains itself";
            EXPECT_TRUE(parent->kind == ControlKind::PictureBox ||
                        parent->kind == ControlKind::GroupBox)
                << d->name << "/" << c.container;
            // One level only: a backend creates containers before their
            // children in a single pass.
            EXPECT_TRUE(parent->container.empty()) << d->name << "/" << c.container;
        }
    }
}

TEST(Designs, EveryControlIsAtLeastPartlyInsideItsParent) {
    for (const WindowDesign* d : allDesigns()) {
        EXPECT_GT(d->width, 0) << d->name;
        EXPECT_GT(d->height, 0) << d->name;
        for (const ControlDesign& c : d->controls) {
            EXPECT_GT(c.width, 0) << d->name << "/" << c.name;
            EXPECT_GT(c.height, 0) << d->name << "/" << c.name;
            // A few controls sit a pixel or so outside the edge on purpose
            // (hiding a border); nothing is placed further out.
            EXPECT_GE(c.left, -4) << d->name << "/" << c.name;
            EXPECT_GE(c.top, -4) << d->name << "/" << c.name;
            Rect parent{0, 0, d->width, d->height};
            if (!c.container.empty()) {
                const ControlDesign* p = d->find(c.container);
                ASSERT_NE(p, nullptr);
                parent = {0, 0, p->width, p->height};
            }
            EXPECT_TRUE(overlaps(rectOf(c), parent)) << d->name << "/" << c.name;
        }
    }
}

TEST(Designs, FieldsAreSetOnlyOnKindsThatUseThem) {
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            const std::string where = d->name + "/" + c.name;
            if (c.kind != ControlKind::Combo) {
                EXPECT_TRUE(c.items.empty()) << where;
                EXPECT_FALSE(c.editable) << where;
            }
            if (c.kind != ControlKind::ListView) {
                EXPECT_TRUE(c.columns.empty()) << where;
                EXPECT_FALSE(c.multiSelect) << where;
            }
            if (c.kind != ControlKind::Edit) {
                EXPECT_FALSE(c.readOnly || c.multiLine || c.integerInput) << where;
            }
            if (c.kind != ControlKind::PictureBox) {
                EXPECT_EQ(c.picture, assets::Picture::None) << where;
            }
            if (c.kind == ControlKind::ListView) {
                EXPECT_FALSE(c.columns.empty()) << where;
            }
        }
    }
}

TEST(Designs, OnlyTheEditorsAndDonationWindowAreFramed) {
    for (const WindowDesign* d : allDesigns()) {
        const bool framed = kEditorNames.contains(d->name) || d->name == "DonationWindow";
        EXPECT_EQ(d->framed, framed) << d->name;
        if (!framed) {
            // The borderless windows show their lavender behind the picture.
            EXPECT_EQ(d->background, kLavender) << d->name;
        }
    }
    EXPECT_EQ(overlayWindow().icon, assets::Picture::ProgramIcon);
}

TEST(Designs, ListColumnsAgreeAndOnlyTheAssociationWindowHidesPictures) {
    // Handlers address list columns by index (0 = ID, 4 = association), so
    // every list must have the same columns in the same order.
    const std::vector<std::string> captions{"ID", "图片", "名称", "说明", "关联"};
    int lists = 0;
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            if (c.kind != ControlKind::ListView) continue;
            ++lists;
            ASSERT_EQ(c.columns.size(), captions.size()) << d->name << "/" << c.name;
            for (std::size_t i = 0; i < captions.size(); ++i) {
                EXPECT_EQ(c.columns[i].caption, captions[i]) << d->name << "/" << c.name;
                if (i != 1) {
                    EXPECT_GT(c.columns[i].width, 0) << d->name << "/" << c.name;
                }
            }
            const int pictureWidth = d->name == "AssociationWindow" ? 0 : 64;
            EXPECT_EQ(c.columns[1].width, pictureWidth) << d->name << "/" << c.name;
        }
    }
    EXPECT_EQ(lists, 4);
    // Picking several targets needs Ctrl+click; the child list picks one.
    EXPECT_FALSE(associationWindow().find("超级列表框1")->multiSelect);
    EXPECT_TRUE(associationWindow().find("超级列表框2")->multiSelect);
}

TEST(Designs, FontsAndColours) {
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            const std::string where = d->name + "/" + c.name;
            if (c.font.face.empty()) {
                // The default GUI font has its own size; a size alone would
                // be ignored by the backend.
                EXPECT_EQ(c.font.pixelSize, 0) << where;
                EXPECT_FALSE(c.font.bold) << where;
            } else {
                EXPECT_EQ(c.font.face, "微软雅黑") << where;
                EXPECT_GT(c.font.pixelSize, 0) << where;
            }
            // Transparent labels on the editors' default background would
            // otherwise take the system text colour.
            if (c.kind == ControlKind::Label && kEditorNames.contains(d->name)) {
                EXPECT_TRUE(c.textColour == kBlack || c.textColour == kRed) << where;
            }
        }
    }
}

TEST(Designs, ScrollRangesHoldTheirPosition) {
    int bars = 0;
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            if (c.kind != ControlKind::HScrollBar) continue;
            ++bars;
            const ScrollRange& r = c.scroll;
            EXPECT_LE(r.min, r.pos) << c.name;
            EXPECT_LE(r.pos, r.max) << c.name;
            EXPECT_GT(r.page, 0) << c.name;
            EXPECT_GT(r.step, 0) << c.name;
            EXPECT_EQ((r.pos - r.min) % r.step, 0) << "position off the step grid";
            EXPECT_EQ((r.max - r.min) % r.step, 0) << "maximum unreachable in steps";
        }
    }
    EXPECT_EQ(bars, 1);
}

TEST(Designs, ComboItemDataIsDistinctExceptTheNoAssociationChoice) {
    for (const WindowDesign* d : allDesigns()) {
        for (const ControlDesign& c : d->controls) {
            if (c.kind != ControlKind::Combo) continue;
            const std::string where = d->name + "/" + c.name;
            EXPECT_FALSE(c.editable) << where << ": editors' choosers are drop-down lists";
            if (kEditorNames.contains(d->name) && !c.items.empty()) {
                // Index 0 is "no choice" and reads as item data 0.
                EXPECT_EQ(c.items.front().data, 0) << where;
            }
            std::set<std::int64_t> seen;
            std::set<std::string> texts;
            for (const ComboItem& item : c.items) {
                EXPECT_FALSE(item.text.empty()) << where;
                EXPECT_TRUE(texts.insert(item.text).second) << where << ": " << item.text;
                const bool documentedRepeat = item.text == "不作关联" && item.data == 0;
                if (!seen.insert(item.data).second) {
                    EXPECT_TRUE(documentedRepeat) << where << ": " << item.text << " repeats data";
                }
            }
        }
    }
    // The repeat is the Link value 0 written by "不作关联": exactly one item.
    const ControlDesign* way = nodeEditorWindow().find("组合框4");
    ASSERT_NE(way, nullptr);
    EXPECT_EQ(std::count_if(way->items.begin(), way->items.end(),
                            [](const ComboItem& i) { return i.data == 0; }),
              2);
}

TEST(Designs, NodeWindowsFollowOneTemplate) {
    const WindowDesign& model = nodeWindow(Row::Third, 1);
    ASSERT_EQ(model.controls.size(), 3u);
    const ControlDesign* picture = model.find("图片框");
    const ControlDesign* caption = model.find("透明标签");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(picture->kind, ControlKind::PictureBox);
    EXPECT_EQ(picture->picture, assets::Picture::NodePlaceholder);
    EXPECT_EQ(caption->kind, ControlKind::Label);
    EXPECT_EQ(caption->container, "图片框");
    // The page sign: hidden until a page has more, in a corner clear of the caption.
    const ControlDesign* sign = model.find(names::node::pageSign);
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->container, "图片框");
    EXPECT_FALSE(sign->visible);
    EXPECT_FALSE(overlaps(rectOf(*sign), rectOf(*caption)));
    EXPECT_LE(sign->left + sign->width, picture->width);

    struct RowCase {
        Row row;
        const char* prefix;
        int length;
    };
    int count = 0;
    for (const RowCase& rc : {RowCase{Row::First, "FirstRow", 10},
                              RowCase{Row::Second, "SecondRow", 14},
                              RowCase{Row::Third, "ThirdRow", 14}}) {
        ASSERT_EQ(rowLength(rc.row), rc.length);
        for (int p = 1; p <= rc.length; ++p, ++count) {
            const WindowDesign& w = nodeWindow(rc.row, p);
            SCOPED_TRACE(w.name);
            EXPECT_EQ(w.name, rc.prefix + std::to_string(p));
            EXPECT_TRUE(isNodeWindow(w));
            EXPECT_EQ(std::tie(w.left, w.top, w.width, w.height, w.framed),
                      std::tie(model.left, model.top, model.width, model.height, model.framed));
            EXPECT_EQ(w.background, model.background);
            ASSERT_EQ(w.controls.size(), model.controls.size());
            for (std::size_t i = 0; i < w.controls.size(); ++i) {
                const ControlDesign& a = w.controls[i];
                const ControlDesign& b = model.controls[i];
                EXPECT_EQ(a.name, b.name);
                EXPECT_EQ(a.kind, b.kind);
                EXPECT_EQ(std::tie(a.left, a.top, a.width, a.height, a.container, a.visible),
                          std::tie(b.left, b.top, b.width, b.height, b.container, b.visible));
                EXPECT_EQ(a.font, b.font);
                EXPECT_EQ(a.textColour, b.textColour);
                EXPECT_EQ(a.background, b.background);
                EXPECT_EQ(a.picture, b.picture);
            }
            const bool collapse = rc.row == Row::First && p >= 2;
            EXPECT_EQ(w.find("透明标签")->text, collapse ? "收起详情" : "地图");
        }
    }
    EXPECT_EQ(count, 38);
}

TEST(Designs, PreviewPictureLiesOverTheDirectReferenceNote) {
    // Backends create controls in design order, later ones on top: the
    // preview must come after the note it covers.
    const auto& controls = nodeEditorWindow().controls;
    const auto index = [&](const std::string& name) {
        return std::find_if(controls.begin(), controls.end(),
                            [&](const ControlDesign& c) { return c.name == name; }) -
               controls.begin();
    };
    const auto note = index("标签引用");
    const auto preview = index("图片框1");
    ASSERT_LT(note, static_cast<std::ptrdiff_t>(controls.size()));
    ASSERT_LT(preview, static_cast<std::ptrdiff_t>(controls.size()));
    EXPECT_LT(note, preview);
    EXPECT_TRUE(overlaps(rectOf(controls[static_cast<std::size_t>(note)]),
                         rectOf(controls[static_cast<std::size_t>(preview)])));
}

}  // namespace
}  // namespace pallo::ui
