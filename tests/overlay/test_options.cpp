#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "overlay/options.h"
#include "overlay/startup.h"
#include "support/app_fixture.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo::testing {
namespace {

using platform::Answer;
using platform::ControlRef;
using platform::MessageButtons;
using platform::MouseButton;
using platform::WindowRef;

constexpr const char* kAllFailures =
    "窗口X写入失败。\r\n窗口Y写入失败。\r\n窗口高度写入失败。\r\n窗口宽度写入失败。\r\n"
    "窗口透明度写入失败。\r\n窗口置顶写入失败。\r\n";

WindowSettingTexts allSix() { return {{"X", "1"}, {"Y", "2"}, {"H", "3"}, {"W", "4"}, {"T", "6"}, {"S", "5"}}; }

// --- saveWindowSettings on its own ----------------------------------------------

TEST(SaveWindowSettings, WritesTheGivenValuesWithTBehindS) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    ConfigStore store;
    EXPECT_EQ(saveWindowSettings(store, path, allSix()), std::nullopt);
    EXPECT_EQ(readFile(path), "[Config]\r\nX=1\r\nY=2\r\nH=3\r\nW=4\r\nS=5\r\nT=6\r\n");

    // Values not given are not touched, even where the file holds others.
    WindowSettingTexts sizeOnly;
    sizeOnly["H"] = "90";
    sizeOnly["W"] = "90";
    EXPECT_EQ(saveWindowSettings(store, path, sizeOnly), std::nullopt);
    EXPECT_EQ(readFile(path), "[Config]\r\nX=1\r\nY=2\r\nH=90\r\nW=90\r\nS=5\r\nT=6\r\n");
}

TEST(SaveWindowSettings, ReportsEachFailedWriteInWriteOrder) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    writeFile(path, "[Config]\r\n");
    ConfigStore store;
    store.setFaultHook([](files::WriteStep step) { return step == files::WriteStep::Replace; });
    EXPECT_EQ(saveWindowSettings(store, path, allSix()), std::string(kAllFailures));
    EXPECT_EQ(readFile(path), "[Config]\r\n");
}

TEST(SaveWindowSettings, OnlyTheWritesThatFailAreListed) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    writeFile(path, "[Config]\r\nY=2\r\n");
    ConfigStore store;
    // Y is unchanged and never reaches the file, so the writes that do are
    // X, H, W, S, T: failing the second and the fourth fails H and S.
    int replaces = 0;
    store.setFaultHook([&](files::WriteStep step) {
        if (step != files::WriteStep::CreateTemp) return false;
        ++replaces;
        return replaces == 2 || replaces == 4;
    });
    const std::vector<std::string> failures = writeWindowSettings(store, path, allSix());
    EXPECT_EQ(failures, (std::vector<std::string>{"窗口高度写入失败。", "窗口透明度写入失败。"}));
    EXPECT_EQ(readFile(path), "[Config]\r\nY=2\r\nX=1\r\nW=4\r\nT=6\r\n");
}

// The table of [Config] agrees with the panel that shows it and with the
// exit that saves it.
TEST(SettingsTable, AgreesWithThePanelAndTheExitSave) {
    const ConfigKey* s = findConfigKey("s");  // ASCII case is ignored, as reading does
    ASSERT_NE(s, nullptr);
    const auto& controls = ui::overlayWindow().controls;
    const auto bar = std::find_if(controls.begin(), controls.end(), [](const ui::ControlDesign& c) {
        return c.name == ui::names::overlay::translucencyBar;
    });
    ASSERT_NE(bar, controls.end());
    EXPECT_EQ(bar->scroll.min, s->low);
    EXPECT_EQ(bar->scroll.max, s->high);

    EXPECT_EQ(findConfigKey("Z"), nullptr);
    for (const ConfigKey& k : kConfigKeys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(findConfigKey(k.key), &k);
        // What the exit saves can say that its write failed.
        if (k.savedAtExit) {
            EXPECT_NE(k.writeFailure, nullptr);
        }
    }
    WindowSettings settings{.X = 1, .Y = 2, .W = 3, .H = 4, .T = 1, .S = 6};
    EXPECT_EQ(settingsSavedAtExit(settings), (WindowSettingTexts{{"X", "1"}, {"Y", "2"}, {"T", "1"}, {"S", "6"}}));
}

// --- the panel, driven as a user would -------------------------------------------


class Options : public AppFixture {
protected:
    static constexpr const char* kCfg =
        "; window settings\r\n[Config]\r\nX=200\r\nY=150\r\nW=90\r\nH=90\r\nT=0\r\nS=150\r\n\r\n[1]\r\nTitle=A\r\n";

    void startWith(const std::string& cfg) {
        writeCfg(cfg);
        start();
        platform.clearMessageBoxes();
    }
    bool leftClick(const char* control) { return platform.clickMouse(overlayControl(control), MouseButton::Left); }
    std::int32_t colour(const char* label) { return platform.textColour(overlayControl(label)); }
    WindowRef nodeEditor() { return state().nodeEditor; }
    int alphaOf(WindowRef w) { return platform.layeredAlpha(w); }
};

TEST_F(Options, PanelOpensOnlyWhenClosedAndCollapsesOnlyWhenOpen) {
    startWith(kCfg);
    const ControlRef picture = overlayControl(ui::names::overlay::picture);
    const ControlRef collapse = overlayControl(ui::names::overlay::collapseLabel);

    ASSERT_TRUE(platform.clickMouse(picture, MouseButton::Right));
    EXPECT_EQ(platform.width(overlay()), 70);
    EXPECT_EQ(platform.height(overlay()), 210);
    EXPECT_TRUE(platform.isVisible(collapse));
    EXPECT_EQ(platform.tooltip(picture), "") << "the tip would cover the panel";

    // A right-click on the open panel changes nothing, even after the
    // overlay was made taller by other means.
    platform.resize(overlay(), 70, 150);
    ASSERT_TRUE(platform.clickMouse(picture, MouseButton::Right));
    EXPECT_EQ(platform.height(overlay()), 150);
    platform.resize(overlay(), 70, 210);

    ASSERT_TRUE(leftClick(ui::names::overlay::collapseLabel));
    EXPECT_EQ(platform.height(overlay()), 70);
    EXPECT_FALSE(platform.isVisible(collapse));
    EXPECT_EQ(platform.tooltip(picture), kOverlayTip);

    // Collapsing a closed panel (the label is hidden, so only the program
    // can ask) changes nothing either.
    platform.resize(overlay(), 70, 100);
    collapseOptions(app->context());
    EXPECT_EQ(platform.height(overlay()), 100);
    EXPECT_FALSE(platform.isVisible(collapse));
}

// Opened near the monitor's bottom the overlay rises so the panel ends on the
// monitor, and collapsing brings it back; the settings follow the overlay.
TEST_F(Options, NearTheBottomThePanelRaisesTheOverlayUntilItCollapses) {
    startWith("[Config]\r\nX=200\r\nY=1000\r\n[1]\r\nTitle=A\r\n");
    const ControlRef picture = overlayControl(ui::names::overlay::picture);
    ASSERT_TRUE(platform.clickMouse(picture, MouseButton::Right));
    EXPECT_EQ(platform.top(overlay()), 1080 - 210);
    EXPECT_EQ(platform.height(overlay()), 210);
    EXPECT_EQ(state().settings.Y, 870);
    ASSERT_TRUE(leftClick(ui::names::overlay::collapseLabel));
    EXPECT_EQ(platform.top(overlay()), 1000);
    EXPECT_EQ(platform.height(overlay()), 70);
    EXPECT_EQ(state().settings.Y, 1000);

    // Dragged lower while open, it comes back down only to the bottom.
    ASSERT_TRUE(platform.clickMouse(picture, MouseButton::Right));
    ASSERT_TRUE(platform.dragWindow(overlay(), 200, 900));
    ASSERT_TRUE(leftClick(ui::names::overlay::collapseLabel));
    EXPECT_EQ(platform.top(overlay()), 1080 - 70);
}

TEST_F(Options, OpeningThePanelHidesTheChildRowsUntilTheNextMenuPress) {
    startWith(std::string(kCfg) + "Name=AB\r\nPic=menu.png\r\n1=a.png|a|t|0\r\n2=b.png|b|t|0\r\n");
    const auto visibleChildren = [&] {
        int n = 0;
        for (const RowIndex row : {kSecondRow, kThirdRow})
            for (const WindowInfo& info : state().rows[row]) n += platform.isVisible(info.self) ? 1 : 0;
        return n;
    };
    const ControlRef menu{state().rows[kFirstRow][0].self, ui::names::node::picture};
    ASSERT_TRUE(platform.pressMouse(menu, MouseButton::Left));
    ASSERT_EQ(visibleChildren(), 2);
    ASSERT_TRUE(platform.clickMouse(overlayControl(ui::names::overlay::picture), MouseButton::Right));
    EXPECT_EQ(visibleChildren(), 0);
    ASSERT_TRUE(platform.pressMouse(menu, MouseButton::Left));
    EXPECT_EQ(visibleChildren(), 2);
}

TEST_F(Options, TranslucencyReachesTheOverlayAndTheFirstFifteenOfEachRow) {
    startWith(kCfg);
    fillRows(platform, state(), 20);
    ASSERT_TRUE(platform.moveScroll(overlayControl(ui::names::overlay::translucencyBar), 40));

    EXPECT_EQ(state().settings.S, 40);
    EXPECT_EQ(alphaOf(overlay()), 40);
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t i = 0; i < 20; ++i) {
            SCOPED_TRACE("row " + std::to_string(r + 1) + " window " + std::to_string(i + 1));
            const WindowRef w = state().rows[r][i].self;
            EXPECT_EQ(platform.isLayered(w), i < 15);
            EXPECT_EQ(alphaOf(w), i < 15 ? 40 : 255);
        }
}

TEST_F(Options, OnTopReachesTheOverlayTheNodeEditorAndTheFirstFifteenOfEachRow) {
    startWith(kCfg);
    fillRows(platform, state(), 20);
    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));
    ASSERT_TRUE(platform.exists(nodeEditor()));
    const ControlRef box = overlayControl(ui::names::overlay::onTopBox);

    const auto before = platform.tickMs();
    ASSERT_TRUE(platform.click(box));
    EXPECT_TRUE(platform.isTopMost(overlay()));
    EXPECT_TRUE(platform.isTopMost(nodeEditor()));
    for (const auto& row : state().rows)
        for (std::size_t i = 0; i < row.size(); ++i) EXPECT_EQ(platform.isTopMost(row[i].self), i < 15) << i;
    EXPECT_TRUE(platform.isEnabled(box));
    EXPECT_EQ(platform.tickMs() - before, 333);
    EXPECT_EQ(state().settings.T, 1) << "the exit saves the settings the box keeps current";

    ASSERT_TRUE(platform.click(box));
    EXPECT_FALSE(platform.isTopMost(overlay()));
    EXPECT_FALSE(platform.isTopMost(nodeEditor()));
    for (const auto& row : state().rows)
        for (const auto& info : row) EXPECT_FALSE(platform.isTopMost(info.self));
}

TEST_F(Options, CheckBoxIsDisabledDuringTheWaitWhileOtherControlsWork) {
    startWith(kCfg);
    const ControlRef box = overlayControl(ui::names::overlay::onTopBox);
    bool ran = false;
    platform.queueDuringWait([&] {
        ran = true;
        EXPECT_FALSE(platform.isEnabled(box));
        EXPECT_FALSE(platform.click(box)) << "a disabled box takes no click";
        EXPECT_TRUE(platform.isChecked(box));
        EXPECT_TRUE(platform.clickMouse(overlayControl(ui::names::overlay::picture), MouseButton::Right));
    });
    ASSERT_TRUE(platform.click(box));
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform.height(overlay()), 210) << "the panel opened during the wait";
    EXPECT_TRUE(platform.isEnabled(box));
    EXPECT_TRUE(platform.isChecked(box));
    EXPECT_TRUE(platform.isTopMost(overlay()));
}

TEST_F(Options, EditConfigurationOpensAFilledNodeEditorBesideTheOverlay) {
    makeDirs(run.file("Img") + "/Heroes");
    makeDirs(run.file("Img") + "/menu");
    writeFile(run.file("Img") + "/notes.txt", "x");
    startWith("[Config]\r\nX=200\r\nY=150\r\nW=90\r\nH=90\r\n"
              "[1]\r\nTitle=地 图\r\n[2]\r\nTitle=\xE3\x80\x80英雄 \r\n[3]\r\nTitle=\r\n[4]\r\nTitle=Later\r\n");
    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));

    const WindowRef editor = nodeEditor();
    ASSERT_TRUE(platform.exists(editor));
    EXPECT_EQ(platform.designName(editor), "NodeEditorWindow");
    EXPECT_EQ(platform.owner(editor), overlay());
    EXPECT_TRUE(platform.isVisible(editor));
    EXPECT_EQ(platform.left(editor), 291);
    EXPECT_EQ(platform.top(editor), 241);
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelGreen);

    const ControlRef nodes{editor, "组合框1"};
    ASSERT_EQ(platform.itemCount(nodes), 3) << "the titles stop at the first empty one";
    EXPECT_EQ(platform.selection(nodes), 0);
    const std::vector<std::pair<std::string, std::int64_t>> expected{{"选择项目", 0}, {"地图", 1}, {"英雄", 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(platform.itemText(nodes, i), expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(platform.itemData(nodes, i), expected[static_cast<std::size_t>(i)].second);
    }
    const ControlRef dirs{editor, "组合框2"};
    ASSERT_EQ(platform.itemCount(dirs), 2);
    EXPECT_EQ(platform.itemText(dirs, 0), "子图片目录");
    EXPECT_EQ(platform.itemText(dirs, 1), "Heroes");
    EXPECT_EQ(platform.selection(dirs), 0);

    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));
    EXPECT_FALSE(platform.exists(editor));
    EXPECT_TRUE(platform.windowsOfDesign("NodeEditorWindow").empty());
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelBlack);
}

TEST_F(Options, EditConfigurationWithOnlyTheAssociationWindowOpenClosesItAndOpensNothing) {
    startWith(kCfg);
    state().associationWindow = platform.createWindow(ui::associationWindow(), overlay());
    platform.setTextColour(overlayControl(ui::names::overlay::editorsLabel), kLabelGreen);

    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));
    EXPECT_FALSE(platform.exists(state().associationWindow));
    EXPECT_TRUE(platform.windowsOfDesign("AssociationWindow").empty());
    EXPECT_TRUE(platform.windowsOfDesign("NodeEditorWindow").empty());
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelBlack);
}

TEST_F(Options, ClosingEditorsByTheirFrameTurnsTheLabelBlackOnceNoneIsOpen) {
    startWith(kCfg);
    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));
    const WindowRef editor = nodeEditor();
    const WindowRef association = platform.createWindow(ui::associationWindow(), overlay());
    state().associationWindow = association;
    platform.setVisible(association, true);

    ASSERT_TRUE(platform.closeByUser(editor));
    EXPECT_FALSE(platform.exists(editor));
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelGreen) << "the association window is still open";
    ASSERT_TRUE(platform.closeByUser(association));
    EXPECT_FALSE(platform.exists(association));
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelBlack);

    // The next click opens the node editor again rather than closing ghosts.
    ASSERT_TRUE(leftClick(ui::names::overlay::editorsLabel));
    EXPECT_TRUE(platform.exists(nodeEditor()));
    EXPECT_EQ(colour(ui::names::overlay::editorsLabel), kLabelGreen);
}

TEST_F(Options, NodeWindowsIgnoreTheirFramesCloseButton) {
    startWith(kCfg);
    const WindowRef node = platform.createWindow(ui::nodeWindow(ui::Row::First, 1), overlay());
    platform.setVisible(node, true);
    ASSERT_TRUE(platform.closeByUser(node));
    EXPECT_TRUE(platform.exists(node));
    EXPECT_TRUE(platform.messageBoxes().empty());
    EXPECT_FALSE(platform.exitRequested());
}

// --- the end of the program ----------------------------------------------------------

TEST_F(Options, ExitAnsweredNoLeavesEverythingAsItWas) {
    startWith(kCfg);
    // Every way the overlay is told apart from the file: moved, translucent, on top.
    ASSERT_TRUE(platform.dragWindow(overlay(), 400, 300));
    ASSERT_TRUE(platform.moveScroll(overlayControl(ui::names::overlay::translucencyBar), 60));
    ASSERT_TRUE(platform.click(overlayControl(ui::names::overlay::onTopBox)));

    for (const bool altF4 : {false, true}) {
        SCOPED_TRACE(altF4 ? "Alt+F4" : "退出程序");
        platform.clearMessageBoxes();
        platform.queueAnswer(Answer::No);
        ASSERT_TRUE(altF4 ? platform.closeByUser(overlay()) : leftClick(ui::names::overlay::exitLabel));
        ASSERT_EQ(platform.messageBoxes().size(), 1u);
        const auto& box = platform.messageBoxes()[0];
        EXPECT_EQ(box.text, "是否退出本程序？");
        EXPECT_EQ(box.caption, "退出");
        EXPECT_EQ(box.owner, overlay());
        EXPECT_EQ(box.buttons, MessageButtons::YesNo);
        EXPECT_EQ(readCfg(), kCfg);
        EXPECT_EQ(colour(ui::names::overlay::exitLabel), kLabelBlack);
        EXPECT_FALSE(platform.exitRequested());
        EXPECT_FALSE(app->cleanedUp());
        EXPECT_TRUE(platform.exists(overlay()));
    }
}

TEST_F(Options, ExitAnsweredYesSavesPositionOnTopAndTranslucencyButNeverTheSize) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
        bool onTop;
    };
    const Case cases[] = {
        {"keys in place", kCfg,
         "; window settings\r\n[Config]\r\nX=400\r\nY=300\r\nW=90\r\nH=90\r\nT=1\r\nS=60\r\n\r\n[1]\r\nTitle=A\r\n",
         true},
        {"keys missing", "[Config]\r\nW=120\r\nH=120\r\n",
         "[Config]\r\nW=120\r\nH=120\r\nX=400\r\nY=300\r\nS=60\r\nT=0\r\n", false},
        {"no file", nullptr, "[Config]\r\nX=400\r\nY=300\r\nS=60\r\nT=0\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.before) writeFile(dir.file("Cfg.ini"), c.before);
        pallo::platform::headless::HeadlessPlatform p(dir.path());
        App program(p);
        program.start();
        p.clearMessageBoxes();
        ASSERT_TRUE(p.dragWindow(program.state().overlay, 400, 300));
        ASSERT_TRUE(p.moveScroll({program.state().overlay, ui::names::overlay::translucencyBar}, 60));
        if (c.onTop) {
            ASSERT_TRUE(p.click({program.state().overlay, ui::names::overlay::onTopBox}));
        }

        p.queueAnswer(Answer::Yes);
        ASSERT_TRUE(p.clickMouse({program.state().overlay, ui::names::overlay::exitLabel}));
        EXPECT_EQ(readFile(dir.file("Cfg.ini")), c.after);
        ASSERT_EQ(p.messageBoxes().size(), 1u) << "a successful save shows nothing";
        EXPECT_TRUE(p.exitRequested());
        EXPECT_TRUE(program.cleanedUp());
        EXPECT_TRUE(p.windows().empty());
    }
}

TEST_F(Options, AFailedSaveAtExitIsShownBeforeTheProgramEnds) {
    // Only X and S differ from the file: the unchanged Y and T are no writes.
    const std::string expected = "窗口X写入失败。\r\n窗口透明度写入失败。\r\n";
    struct Case {
        std::string name;
        std::function<void(ProgramState&, const std::string&)> breakIt;
    };
    std::vector<Case> cases{{"read-only", [](ProgramState&, const std::string& path) {
                                 namespace fs = std::filesystem;
                                 fs::permissions(path, fs::perms::owner_read | fs::perms::group_read |
                                                           fs::perms::others_read);
                             }}};
    for (const files::WriteStep step : {files::WriteStep::CreateTemp, files::WriteStep::Write,
                                        files::WriteStep::Flush, files::WriteStep::Close,
                                        files::WriteStep::Replace}) {
        cases.push_back({files::writeStepName(step), [step](ProgramState& st, const std::string&) {
                             st.store.setFaultHook([step](files::WriteStep s) { return s == step; });
                         }});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("Cfg.ini");
        writeFile(path, kCfg);
        pallo::platform::headless::HeadlessPlatform p(dir.path());
        App program(p);
        program.start();
        const WindowRef o = program.state().overlay;
        ASSERT_TRUE(p.dragWindow(o, 400, 150));
        ASSERT_TRUE(p.moveScroll({o, ui::names::overlay::translucencyBar}, 60));
        c.breakIt(program.state(), path);

        p.queueAnswer(Answer::Yes);
        ASSERT_TRUE(p.clickMouse({o, ui::names::overlay::exitLabel}));
        ASSERT_EQ(p.messageBoxes().size(), 2u);
        const auto& box = p.messageBoxes()[1];
        EXPECT_EQ(box.text, expected);
        EXPECT_EQ(box.caption, "错误");
        EXPECT_EQ(box.owner, o);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(readFile(path), kCfg);
        EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"Cfg.ini"}) << "no temporary file is left";
        EXPECT_TRUE(p.exitRequested());
        EXPECT_TRUE(program.cleanedUp());
    }
}

TEST_F(Options, ExitDuringTheOnTopWaitEndsCleanlyAfterTheOutermostHandler) {
    startWith(kCfg);
    fillRows(platform, state(), 3);
    bool cleanedUpInside = true;
    platform.queueDuringWait([&] {
        platform.queueAnswer(Answer::Yes);
        ASSERT_TRUE(leftClick(ui::names::overlay::exitLabel));
        EXPECT_TRUE(platform.exitRequested());
        // The on-top handler is still running under this one.
        cleanedUpInside = app->cleanedUp();
        EXPECT_TRUE(platform.exists(overlay()));
    });
    // Would run if the wait carried on after the program ended.
    bool lateActionRan = false;
    platform.queueDuringWait([&] { lateActionRan = true; });

    ASSERT_TRUE(platform.click(overlayControl(ui::names::overlay::onTopBox)));
    EXPECT_FALSE(cleanedUpInside);
    EXPECT_FALSE(lateActionRan);
    EXPECT_TRUE(app->cleanedUp());
    EXPECT_TRUE(platform.windows().empty());
    EXPECT_EQ(readCfg(),
              "; window settings\r\n[Config]\r\nX=200\r\nY=150\r\nW=90\r\nH=90\r\nT=1\r\nS=150\r\n\r\n[1]\r\nTitle=A\r\n");
    app.reset();
}

}  // namespace
}  // namespace pallo::testing
