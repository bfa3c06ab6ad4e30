// Full screen as a car PC shows it: only the dashboard, scaled to fill the screen at any size,
// pages switched by keys, number keys, edge clicks and swipes, the page's name for a moment,
// the cursor hidden when still, the link in a corner; Esc or F11 back to the window as it was,
// and a saved layout that never learns of any of it.
#include <gtest/gtest.h>
#include <QDockWidget>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "DashboardTestSupport.h"
#include "app/GraphsPage.h"
#include "app/StatusPanel.h"
#include "app/car/CarRooms.h"
#include "app/car/FullScreenView.h"
#include "app/car/IdleCursor.h"
#include "app/car/LinkIndicator.h"
#include "app/car/PageIndicator.h"
#include "app/car/ViewCommands.h"
#include "app/car/ViewPreferences.h"
#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DesignMode.h"
#include "app/dashboard/ItemActions.h"
#include "app/dashboard/ValueTable.h"
#include "dashboard/ItemDefaults.h"
#include "widgets/NightColours.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;
using testing::WaitUntil;

class FullScreenWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings_.path());
    }

    static void Show(MainWindow& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    static FullScreenView& View(MainWindow& window) { return window.Rooms().car.FullScreen(); }
    // An item placed at a page rectangle, as a layout would place it.
    static int Place(DashboardFixture& f, int page, const QString& kind, QRect rect) {
        const int id = f.AddItem(page, QPoint(10, 10), kind);
        PropertyBag bag = f.Model().Find(id)->properties;
        PutGeometry(bag, ItemGeometry{rect.x(), rect.y(), rect.width(), rect.height()});
        f.Model().SetProperties(id, bag);
        return id;
    }
    // Lets the page lay itself out at its new size.
    static void Settle() {
        testing::WaitUntil([] { return false; }, 50);
    }

    QTemporaryDir userSettings_;
};

TEST_F(FullScreenWindowTest, F11ShowsOnlyTheDashboardAndEscBringsTheWindowBack) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    Place(f, 0, "Analog Meter", QRect(8, 8, 300, 200));
    Show(window);
    window.Rooms().pages.setCurrentWidget(&window.Rooms().graphs);
    QToolBar* toolBar = window.Rooms().car.View().ToolBar();
    ASSERT_TRUE(toolBar->isVisible());
    ASSERT_TRUE(f.Dash().ValueDock()->isVisible());

    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_TRUE(window.windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(View(window).FullScreen());
    EXPECT_EQ(window.Rooms().pages.currentIndex(), 0) << "the chart gives way to the dashboard";
    EXPECT_FALSE(window.menuBar()->isVisible());
    EXPECT_FALSE(window.Rooms().pages.tabBar()->isVisible());
    EXPECT_FALSE(window.Rooms().status.isVisible());
    EXPECT_FALSE(f.Dash().ValueDock()->isVisible());
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_TRUE(View(window).Corner().isVisible());
    EXPECT_TRUE(f.Dash().Page(0)->Scaled());
    EXPECT_EQ(f.Dash().Page(0)->size(), window.size()) << "the page is the whole window";

    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(window.menuBar()->isVisible());
    EXPECT_TRUE(window.Rooms().pages.tabBar()->isVisible());
    EXPECT_TRUE(window.Rooms().status.isVisible());
    EXPECT_TRUE(f.Dash().ValueDock()->isVisible());
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_FALSE(View(window).Corner().isVisible());
    EXPECT_FALSE(f.Dash().Page(0)->Scaled());

    // F11 leaves as well, and the View menu's item follows.
    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_TRUE(View(window).FullScreenAction()->isChecked());
    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_FALSE(View(window).FullScreen());
    EXPECT_FALSE(View(window).FullScreenAction()->isChecked());
}

TEST_F(FullScreenWindowTest, APageDesignedAt800By480FillsEveryScreenAndItsLayoutStaysAsSaved) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    const int gauge = Place(f, 0, "Analog Meter", QRect(8, 8, 300, 200));
    const int thermometer = Place(f, 0, "Thermometer", QRect(500, 100, 292, 372));
    Show(window);
    window.SaveClick();
    const QByteArray before = testing::ReadTextFile(f.Folder().File("Default.Dsf")).toUtf8();
    ASSERT_FALSE(before.isEmpty());

    View(window).SetFullScreen(true);
    Settle();
    // Saved while full screen: the same bytes, page geometry and the window's own place.
    window.SaveClick();
    EXPECT_EQ(testing::ReadTextFile(f.Folder().File("Default.Dsf")).toUtf8(), before);
    struct Case {
        QSize screen;
        QRect gauge;
        QRect thermometer;
    };
    // Items reach 8 pixels from each edge of the 800x480 page: the page keeps its proportions,
    // fills the height (1920x1080) or the width (1024x600), and the spare room is shared.
    // The offscreen screen is smaller than these: the window drops the full-screen state (all
    // but the page stays hidden) to take each screen's size.
    ASSERT_EQ(f.Dash().Page(0)->size(), window.size());
    window.setWindowState(Qt::WindowNoState);
    for (const Case& c : {Case{{1920, 1080}, {78, 18, 675, 450}, {1185, 225, 657, 837}},
                          Case{{1024, 600}, {22, 10, 375, 250}, {637, 125, 365, 465}}}) {
        window.setGeometry(QRect(QPoint(0, 0), c.screen));
        Settle();
        ASSERT_EQ(f.Dash().Page(0)->size(), c.screen);
        EXPECT_EQ(f.Widget(gauge)->geometry(), c.gauge);
        EXPECT_EQ(f.Widget(thermometer)->geometry(), c.thermometer);
        // The link's corner stays in the bottom right, its words as big as the screen allows.
        const QRect corner = View(window).Corner().geometry();
        EXPECT_EQ(corner.right(), c.screen.width() - 9);
        EXPECT_EQ(corner.bottom(), c.screen.height() - 9);
        EXPECT_EQ(View(window).Link().fontInfo().pixelSize(), c.screen.height() / 48);
        for (const QWidget* part : View(window).Corner().findChildren<QWidget*>()) {
            EXPECT_EQ(part->fontInfo().pixelSize(), c.screen.height() / 48);
        }
    }

    // Design mode works in page pixels: a drag of 50x25 screen pixels at 1.25 is 40x20, which
    // the grid of 10 takes to 50,30.
    DesignMode& design = f.Dash().Design();
    const QPoint start = f.Widget(gauge)->mapToGlobal(QPoint(20, 20));
    ASSERT_TRUE(design.BeginDrag(f.Widget(gauge), false, start));
    design.DragTo(start + QPoint(50, 25));
    design.EndDrag();
    const ItemGeometry moved = GeometryOf(f.Model().Find(gauge)->properties);
    EXPECT_EQ(moved.left, 50);
    EXPECT_EQ(moved.top, 30);
    EXPECT_EQ(moved.width, 300);
    Settle();
    EXPECT_EQ(f.Widget(gauge)->PageGeometry(), QRect(50, 30, 300, 200));

    View(window).SetFullScreen(false);
    EXPECT_EQ(f.Widget(thermometer)->geometry(), QRect(500, 100, 292, 372));
}

TEST_F(FullScreenWindowTest, PagesSwitchByKeysNumbersEdgeClicksAndSwipes) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    Place(f, 0, "Analog Meter", QRect(8, 8, 300, 200));
    Place(f, 1, "Thermometer", QRect(8, 8, 100, 300));
    Place(f, 2, "Numerical Display", QRect(8, 8, 200, 60));
    f.Model().SetPageCaption(1, "Fuel & Air");
    f.Dash().View().RefreshPageCaptions();
    Show(window);
    View(window).SetFullScreen(true);
    window.setGeometry(0, 0, 1280, 720);
    Settle();
    QTabWidget& pages = window.Rooms().pages;
    const auto page = [&] { return pages.currentIndex(); };
    PageIndicator& indicator = View(window).Indicator();

    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(indicator.isVisible());
    EXPECT_EQ(indicator.Text(), "Fuel & Air");
    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(page(), 0);
    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(page(), 2) << "round from the first to the last";
    QTest::keyClick(&window, Qt::Key_2);
    EXPECT_EQ(page(), 1);
    QTest::keyClick(&window, Qt::Key_9);
    EXPECT_EQ(page(), 1) << "no ninth page: nothing happens";

    DashboardPage* shown = f.Dash().Page(1);
    const int middle = shown->height() / 2;
    QTest::mouseClick(shown, Qt::LeftButton, Qt::NoModifier, QPoint(shown->width() - 5, middle));
    EXPECT_EQ(page(), 2) << "a click at the right edge";
    shown = f.Dash().Page(2);
    QTest::mouseClick(shown, Qt::LeftButton, Qt::NoModifier, QPoint(5, middle));
    EXPECT_EQ(page(), 1) << "a click at the left edge";
    shown = f.Dash().Page(1);
    QTest::mouseClick(shown, Qt::LeftButton, Qt::NoModifier, QPoint(640, middle));
    EXPECT_EQ(page(), 1) << "a click in the middle changes nothing";

    // A finger (or the mouse) drawn to the left brings the next page, to the right the previous.
    QTest::mousePress(shown, Qt::LeftButton, Qt::NoModifier, QPoint(900, middle));
    QTest::mouseRelease(shown, Qt::LeftButton, Qt::NoModifier, QPoint(400, middle + 30));
    EXPECT_EQ(page(), 2);
    shown = f.Dash().Page(2);
    QTest::mousePress(shown, Qt::LeftButton, Qt::NoModifier, QPoint(300, middle));
    QTest::mouseRelease(shown, Qt::LeftButton, Qt::NoModifier, QPoint(800, middle));
    EXPECT_EQ(page(), 1);
    // Mostly downwards is no swipe.
    shown = f.Dash().Page(1);
    QTest::mousePress(shown, Qt::LeftButton, Qt::NoModifier, QPoint(600, 100));
    QTest::mouseRelease(shown, Qt::LeftButton, Qt::NoModifier, QPoint(700, 600));
    EXPECT_EQ(page(), 1);

    // The name shows for two seconds, then fades away.
    EXPECT_TRUE(indicator.isVisible());
    EXPECT_TRUE(WaitUntil([&] { return !indicator.isVisible(); },
                          PageIndicator::kShownMs + PageIndicator::kFadeMs + 2000));
}

TEST_F(FullScreenWindowTest, InTheWindowTheValueTableKeepsItsOwnPageKeys) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    Place(f, 0, "Analog Meter", QRect(8, 8, 300, 200));
    Place(f, 1, "Thermometer", QRect(8, 8, 100, 300));
    Show(window);
    QTabWidget& pages = window.Rooms().pages;
    QTest::keyClick(&window, Qt::Key_PageDown);
    ASSERT_EQ(pages.currentIndex(), 1) << "the dashboard's pages step in the window too";

    QTableView& table = f.Dash().Values().View();
    table.setFocus();
    ASSERT_TRUE(WaitUntil([&] { return table.hasFocus(); }, 2000));
    table.setCurrentIndex(table.model()->index(0, 0));
    QTest::keyClick(&table, Qt::Key_PageDown);
    EXPECT_EQ(pages.currentIndex(), 1) << "Page Down moved in the table, not the pages";
    EXPECT_GT(table.currentIndex().row(), 0);
}

TEST_F(FullScreenWindowTest, TheCursorHidesWhenStillAndTheCornerTellsTheLink) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    Show(window);
    View(window).SetFullScreen(true);
    IdleCursor& cursor = View(window).Cursor();
    EXPECT_FALSE(cursor.Hidden());
    ASSERT_TRUE(WaitUntil([&] { return cursor.Hidden(); }, IdleCursor::kHideAfterMs + 2000));
    EXPECT_EQ(window.cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(f.Dash().Page(0), QPoint(100, 100));
    EXPECT_TRUE(WaitUntil([&] { return !cursor.Hidden(); }, 2000));
    EXPECT_NE(window.cursor().shape(), Qt::BlankCursor);

    LinkIndicator& link = View(window).Link();
    EXPECT_EQ(link.Text(), "Stopped");
    const QColor grey = link.DotColour();
    ASSERT_TRUE(f.Run());
    f.Frame({});
    ASSERT_TRUE(WaitUntil([&] { return link.Text() == "Running"; }, 2000));
    EXPECT_GT(link.DotColour().green(), link.DotColour().red() * 2) << "green while data flows";
    link.Show(LinkState::Running, 3);  // frames failing their checksum
    EXPECT_EQ(link.Text(), "Checksum errors");
    EXPECT_EQ(link.DotColour(), WarningInk(NightColours{}));
    link.Show(LinkState::NoData, 3);
    EXPECT_EQ(link.Text(), "No data");
    EXPECT_EQ(link.DotColour(), grey);

    View(window).SetFullScreen(false);
    EXPECT_FALSE(cursor.Hidden());
    EXPECT_FALSE(cursor.Active());
}

TEST_F(FullScreenWindowTest, StartsInFullScreenWhenAskedOnTheCommandLineOrByTheUser) {
    {
        DashboardFixture f;
        f.Window().SetFullScreen(true);  // what --fullscreen does before the window shows
        Show(f.Window());
        EXPECT_TRUE(f.Window().windowState() & Qt::WindowFullScreen);
        EXPECT_FALSE(f.Window().menuBar()->isVisible());
    }
    {
        DashboardFixture f;
        Show(f.Window());
        EXPECT_FALSE(View(f.Window()).FullScreen());
        f.Window().Rooms().car.View().StartFullScreenAction()->trigger();
    }
    DashboardFixture f;
    Show(f.Window());
    EXPECT_TRUE(View(f.Window()).FullScreen());
    EXPECT_TRUE(LoadViewPreferences().startFullScreen);
}

TEST_F(FullScreenWindowTest, FitPagesToWindowScalesTheNormalWindowsPagesToo) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    const int gauge = Place(f, 0, "Analog Meter", QRect(8, 8, 300, 200));
    Show(window);
    QAction* fit = window.Rooms().car.View().FitPagesAction();
    EXPECT_FALSE(fit->isChecked());
    fit->trigger();
    Settle();
    EXPECT_TRUE(f.Dash().Page(0)->Scaled());
    EXPECT_GT(f.Widget(gauge)->width(), 300);
    EXPECT_EQ(f.Widget(gauge)->PageGeometry(), QRect(8, 8, 300, 200));
    EXPECT_TRUE(LoadViewPreferences().fitPages);
    // Full screen and back keeps the choice.
    View(window).SetFullScreen(true);
    View(window).SetFullScreen(false);
    EXPECT_TRUE(f.Dash().Page(0)->Scaled());
    fit->trigger();
    EXPECT_FALSE(f.Dash().Page(0)->Scaled());
    EXPECT_EQ(f.Widget(gauge)->geometry(), QRect(8, 8, 300, 200));
}

}  // namespace
}  // namespace vekaton
