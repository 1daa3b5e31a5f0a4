#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "display/rows.h"
#include "overlay/startup.h"
#include "support/app_fixture.h"
#include "ui/design.h"
#include "ui/names.h"

namespace pallo::testing {
namespace {

using platform::WindowRef;

// --- the settings and their corrections ------------------------------------

struct SettingsCase {
    const char* config;  // lines of section Config
    WindowSettings expected;
};
void PrintTo(const SettingsCase& c, std::ostream* os) { *os << '"' << c.config << '"'; }

class SettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsTest, CorrectsEveryValue) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    writeFile(path, std::string("[Config]\r\n") + GetParam().config);
    ConfigStore store;
    const WindowSettings s = readWindowSettings(store.snapshot(path), {{0, 0, 1024, 768, true}});
    const WindowSettings& e = GetParam().expected;
    EXPECT_EQ(s.X, e.X);
    EXPECT_EQ(s.Y, e.Y);
    EXPECT_EQ(s.W, e.W);
    EXPECT_EQ(s.H, e.H);
    EXPECT_EQ(s.T, e.T);
    EXPECT_EQ(s.S, e.S);
}

INSTANTIATE_TEST_SUITE_P(
    Corrections, SettingsTest,
    ::testing::Values(
        SettingsCase{"", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"X=99\r\nY=99\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"X=954\r\nY=698\r\n", {954, 698, 70, 70, 0, 150}},    // the square at the edge stays
        SettingsCase{"X=955\r\nY=699\r\n", {100, 100, 70, 70, 0, 150}},    // hanging off is corrected
        SettingsCase{"X=-5\r\nY=abc\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"W=150\r\nH=90\r\n", {100, 100, 90, 90, 0, 150}},     // square: the smaller side
        SettingsCase{"W=90\r\nH=150\r\n", {100, 100, 90, 90, 0, 150}},
        SettingsCase{"W=201\r\nH=120\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"W=200\r\nH=200\r\n", {100, 100, 200, 200, 0, 150}},
        SettingsCase{"T=1\r\n", {100, 100, 70, 70, 1, 150}},
        SettingsCase{"T=2\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"T=yes\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"S=14\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"S=15\r\n", {100, 100, 70, 70, 0, 15}},
        SettingsCase{"S=255\r\n", {100, 100, 70, 70, 0, 255}},
        SettingsCase{"S=256\r\n", {100, 100, 70, 70, 0, 150}},
        SettingsCase{"S=\r\n", {100, 100, 70, 70, 0, 150}},                 // empty is 0, corrected
        SettingsCase{"X= 300 \r\nS=\"200\"\r\n", {300, 100, 70, 70, 0, 200}},
        SettingsCase{"X=99999999999999\r\n", {100, 100, 70, 70, 0, 150}}));

// A primary 1920 x 1080 monitor, one to its right and one above its left.
const std::vector<platform::Monitor> kThreeMonitors{
    {0, 0, 1920, 1080, true}, {1920, 0, 1920, 1080, false}, {-1280, -200, 1280, 1024, false}};

struct MonitorCase {
    int x, y;          // saved
    int wantX, wantY;  // read back
};

// Each saved X, Y reads back as the case wants on these monitors.
void expectPlaces(std::span<const MonitorCase> cases, const std::vector<platform::Monitor>& monitors) {
    TempDir dir;
    const std::string path = dir.file("Cfg.ini");
    for (const MonitorCase& c : cases) {
        writeFile(path, "[Config]\r\nX=" + std::to_string(c.x) + "\r\nY=" + std::to_string(c.y) + "\r\n");
        ConfigStore store;
        const WindowSettings s = readWindowSettings(store.snapshot(path), monitors);
        EXPECT_EQ(s.X, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(s.Y, c.wantY) << c.x << "," << c.y;
    }
}

TEST(MonitorSettings, AWholeSquareOnAnyMonitorKeepsItsPlace) {
    const MonitorCase cases[] = {
        {2000, 500, 2000, 500},     // on the right monitor
        {3770, 1010, 3770, 1010},   // its bottom-right corner
        {-1280, -200, -1280, -200}, // the top-left corner of the upper left one
        {3771, 500, 100, 500},      // hangs off the right monitor: X falls back
        {1900, 500, 100, 500},      // across two monitors
        {-1300, 0, 100, 100},       // on none
        {50, 50, 100, 100},         // the primary keeps 100 from its corner
        {1850, 1010, 1850, 1010},   // the primary's bottom-right corner
    };
    expectPlaces(cases, kThreeMonitors);
}

// On scaled monitors the square that must fit is the scaled overlay: 105
// pixels at 144 DPI, 140 at 192.
TEST(MonitorSettings, TheSquareThatMustFitIsTheScaledOverlay) {
    const std::vector<platform::Monitor> scaled{{0, 0, 1920, 1080, true, 144}, {1920, 0, 1920, 1080, false, 192}};
    const MonitorCase cases[] = {
        {1815, 975, 1815, 975},   // the primary's bottom-right corner at 150 %
        {1816, 976, 100, 100},    // one pixel further hangs off it
        {3700, 940, 3700, 940},   // the right monitor's corner at 200 %
        {3701, 500, 100, 500},    // hangs off the right monitor
    };
    expectPlaces(cases, scaled);
}

// --- start-up end to end ------------------------------------------------------

using StartUp = AppFixture;

TEST_F(StartUp, PlacesTheOverlayAsConfigured) {
    platform.setScreenSize(1024, 768);
    writeCfg("[Config]\r\nX=250\r\nY=300\r\nW=200\r\nH=200\r\nT=0\r\nS=200\r\n");
    // What a write killed half-way left behind: ours goes, another's stays.
    testing::writeFile(run.file(".Cfg.ini.tmp-42"), "half");
    testing::writeFile(run.file(".Cfg.ini.tmp-mine"), "not ours");
    start();
    EXPECT_FALSE(files::exists(run.file(".Cfg.ini.tmp-42")));
    EXPECT_TRUE(files::exists(run.file(".Cfg.ini.tmp-mine")));

    EXPECT_TRUE(platform.messageBoxes().empty());
    ASSERT_TRUE(platform.exists(overlay()));
    EXPECT_TRUE(platform.isVisible(overlay()));
    EXPECT_EQ(platform.left(overlay()), 250);
    EXPECT_EQ(platform.top(overlay()), 300);
    // Always the bare picture at start-up, whatever W and H say.
    EXPECT_EQ(platform.width(overlay()), 70);
    EXPECT_EQ(platform.height(overlay()), 70);
    EXPECT_TRUE(platform.isLayered(overlay()));
    EXPECT_EQ(platform.layeredAlpha(overlay()), 200);
    EXPECT_EQ(platform.scrollPos(overlayControl(ui::names::overlay::translucencyBar)), 200);
    EXPECT_FALSE(platform.isTopMost(overlay()));
    EXPECT_FALSE(platform.isChecked(overlayControl(ui::names::overlay::onTopBox)));
    EXPECT_FALSE(platform.isVisible(overlayControl(ui::names::overlay::collapseLabel)));
    EXPECT_EQ(platform.tooltip(overlayControl(ui::names::overlay::picture)), "左键拖动\r\n右键设置");

    const WindowSettings& settings = state().settings;
    EXPECT_EQ(settings.X, 250);
    EXPECT_EQ(settings.Y, 300);
    EXPECT_EQ(settings.W, 200);
    EXPECT_EQ(settings.H, 200);
    EXPECT_EQ(settings.S, 200);
    const char sep = files::separator();
    EXPECT_EQ(state().CfgPath, run.path() + sep + "Cfg.ini");
    EXPECT_EQ(state().ImageRoot, run.path() + sep + "Img" + sep);
}

TEST_F(StartUp, OnTopSettingReachesOverlayAndCheckBox) {
    writeCfg("[Config]\r\nX=250\r\nY=300\r\nT=1\r\n");
    start();
    EXPECT_TRUE(platform.isTopMost(overlay()));
    EXPECT_TRUE(platform.isChecked(overlayControl(ui::names::overlay::onTopBox)));
    for (const auto& row : state().rows)
        for (const auto& info : row) EXPECT_TRUE(platform.isTopMost(info.self));
}

TEST_F(StartUp, MissingConfigurationIsReportedAndTheProgramStillWorks) {
    start();
    ASSERT_EQ(platform.messageBoxes().size(), 1u);
    const auto& box = platform.messageBoxes()[0];
    EXPECT_EQ(box.text, cfgPath() + " 配置文件不存在。");
    EXPECT_EQ(box.caption, "错误");
    EXPECT_EQ(box.owner, overlay());
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);

    EXPECT_TRUE(platform.isVisible(overlay()));
    EXPECT_EQ(platform.left(overlay()), 100);
    EXPECT_EQ(platform.top(overlay()), 100);
    EXPECT_EQ(platform.width(overlay()), 70);
    EXPECT_EQ(platform.height(overlay()), 70);
    EXPECT_EQ(platform.layeredAlpha(overlay()), 150);
    EXPECT_EQ(platform.tooltip(overlayControl(ui::names::overlay::picture)), "左键拖动\r\n右键设置");
    EXPECT_EQ(state().settings.W, 70);
    EXPECT_FALSE(state().ImageRoot.empty());
    // Nothing was written: the file still does not exist.
    EXPECT_FALSE(files::exists(cfgPath()));
}

TEST_F(StartUp, DamagedConfigurationFilesStartWithDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919 + 13) % 256));
    std::string huge = "[Config]\r\nX=300\r\n[1]\r\nName=";
    huge.append(5 * 1024 * 1024, 'a');
    huge += "\r\n";
    const std::vector<std::string> files{"", binary, huge, "\xEF\xBB\xBF[Config]\nX=400\nY=\xFF\xFE\n",
                                         "[Config]\rX=500\rY=200\r"};
    const std::vector<int> expectedX{100, 100, 300, 400, 500};
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        writeCfg(files[i]);
        platform.clearMessageBoxes();
        pallo::platform::headless::HeadlessPlatform fresh(run.path());
        App program(fresh);
        program.start();
        EXPECT_TRUE(fresh.messageBoxes().empty());
        EXPECT_TRUE(fresh.isVisible(program.state().overlay));
        EXPECT_EQ(fresh.left(program.state().overlay), expectedX[i]);
        EXPECT_EQ(fresh.width(program.state().overlay), 70);
        EXPECT_EQ(readCfg(), files[i]) << "start-up must never write";
    }
}

// --- the rows follow the overlay -----------------------------------------------


TEST_F(StartUp, MovingTheOverlayMovesTheFirstFifteenOfEachRow) {
    writeCfg("[Config]\r\nX=200\r\nY=150\r\nW=100\r\nH=100\r\n");
    start();
    fillRows(platform, state(), 20);
    for (auto& row : state().rows)
        for (auto& info : row) platform.move(info.self, 5, 5);

    ASSERT_TRUE(platform.dragWindow(overlay(), 300, 250));
    EXPECT_EQ(state().settings.X, 300);
    EXPECT_EQ(state().settings.Y, 250);
    for (std::size_t r = 0; r < 3; ++r) {
        const auto& row = state().rows[r];
        for (int i = 1; i <= 20; ++i) {
            SCOPED_TRACE("row " + std::to_string(r + 1) + " window " + std::to_string(i));
            const WindowRef w = row[static_cast<std::size_t>(i - 1)].self;
            if (i > 15) {
                EXPECT_EQ(platform.left(w), 5);
                EXPECT_EQ(platform.top(w), 5);
                continue;
            }
            const int left = r == 0 ? 300 + 101 * i : 300 + 101 * (i - 1);
            const int top = 250 + 101 * static_cast<int>(r);
            EXPECT_EQ(platform.left(w), left);
            EXPECT_EQ(platform.top(w), top);
        }
    }
}

TEST_F(StartUp, TheOverlayStartsOnTheSecondMonitorWhereItWasSaved) {
    platform.setMonitors(kThreeMonitors);
    writeCfg("[Config]\r\nX=2500\r\nY=300\r\n");
    start();
    EXPECT_EQ(platform.left(overlay()), 2500);
    EXPECT_EQ(platform.top(overlay()), 300);
}

TEST_F(StartUp, ReloadingTheSettingsDestroysTheRowWindowsAndARebuildLeavesNoDouble) {
    writeCfg("[Config]\r\n");
    start();
    const auto before = platform.windows().size();  // the overlay and 38 node windows
    const WindowRef firstNode = state().rows[kFirstRow].front().self;
    ASSERT_EQ(loadWindowSettings(app->context()), std::nullopt);
    EXPECT_FALSE(platform.exists(firstNode));
    EXPECT_EQ(platform.windows().size(), 1u);
    buildFirstRow(app->context());
    buildSecondRow(app->context());
    buildThirdRow(app->context());
    EXPECT_EQ(platform.windows().size(), before);
}

TEST_F(StartUp, CleanUpFreesEveryWindowOnce) {
    writeCfg("[Config]\r\n");
    start();
    fillRows(platform, state(), 3);
    // The overlay, the 38 node windows start-up built, and the test's 9.
    EXPECT_EQ(platform.windows().size(), 1u + 38u + 9u);
    app->cleanUp();
    EXPECT_TRUE(platform.windows().empty());
    EXPECT_TRUE(app->cleanedUp());
    app->cleanUp();  // a second call is harmless
    app.reset();
}

}  // namespace
}  // namespace pallo::testing
