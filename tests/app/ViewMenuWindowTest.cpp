// The View menu and the toolbar: night colours on every kind of instrument with nothing white
// left, the brightness and the choices remembered for the user, a menu bar that does not move
// when Run becomes Pause, the toolbar, the screen kept awake while acquiring, "No port".
#include <gtest/gtest.h>
#include <QDockWidget>
#include <QMenuBar>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "DashboardTestSupport.h"
#include "app/StatusPanel.h"
#include "app/car/CarRooms.h"
#include "app/car/ScreenSaverInhibit.h"
#include "app/car/ViewCommands.h"
#include "app/car/ViewPreferences.h"
#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/ItemActions.h"
#include "dashboard/ItemKinds.h"
#include "widgets/NightColours.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;
using testing::FindAction;

class ViewMenuWindowTest : public ::testing::Test {
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
    static ViewCommands& Commands(MainWindow& window) { return window.Rooms().car.View(); }

    QTemporaryDir userSettings_;
};

// The share of an image's pixels that are white or nearly so.
double WhiteShare(const QImage& image) {
    if (image.isNull()) {
        return 0.0;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    long white = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            white += NearWhite(QColor(rgb.pixel(x, y))) ? 1 : 0;
        }
    }
    return static_cast<double>(white) / (rgb.width() * rgb.height());
}

TEST_F(ViewMenuWindowTest, NightColoursLeaveNoInstrumentWithAWhiteFace) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    std::vector<int> ids;
    int x = 10;
    for (const char* kind : {"Label", "Analog Meter", "Thermometer", "LED Display",
                             "Numerical Display", "Digital LED", "Reset Min/Max Button"}) {
        ids.push_back(f.AddItem(0, QPoint(x, 20), kind));
        ASSERT_NE(ids.back(), 0) << kind;
        x += 140;
        if (x > 700) {
            x = 10;
        }
    }
    // The odometer has no menu entry; a layout can hold one.
    const std::optional<int> odometer = f.Model().Insert(ItemKind::Odometer, "ODOMETER1", 0);
    ASSERT_TRUE(odometer.has_value());
    f.Model().SetProperty(*odometer, "Top", PropertyValue::Integer(400));
    ids.push_back(*odometer);
    // A face white by day, which night must not keep.
    PropertyBag label = f.Model().Find(ids.front())->properties;
    label.Set("Color", PropertyValue::Colour(RgbColour(255, 255, 255)));
    f.Model().SetProperties(ids.front(), label);
    window.resize(1100, 800);
    Show(window);
    const auto shots = [&] {
        std::vector<QImage> images;
        for (const int id : ids) {
            InstrumentWidget* widget = f.Widget(id);
            images.push_back(widget->grab().toImage());
        }
        return images;
    };
    const std::vector<QImage> day = shots();
    EXPECT_GT(WhiteShare(day.front()), 0.5) << "the check sees a white face when there is one";

    QTest::keyClick(&window, Qt::Key_F10);
    ASSERT_TRUE(Commands(window).Night().on);
    const std::vector<QImage> night = shots();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(f.Widget(ids[i])->ClassName());
        EXPECT_TRUE(f.Widget(ids[i])->Night().on);
        EXPECT_EQ(WhiteShare(night[i]), 0.0);
    }
    // The page and the window around them are dark too.
    EXPECT_LT(f.Dash().Page(0)->palette().color(QPalette::Window).lightnessF(), 0.15);
    // An item added at night is dark from the start.
    const int added = f.AddItem(0, QPoint(600, 400), "Analog Meter");
    EXPECT_TRUE(f.Widget(added)->Night().on);

    QTest::keyClick(&window, Qt::Key_F10);
    EXPECT_FALSE(f.Widget(ids.front())->Night().on);
    EXPECT_GT(WhiteShare(f.Widget(ids.front())->grab().toImage()), 0.5);
}

TEST_F(ViewMenuWindowTest, NightColoursTintAndBrightnessAreRememberedForTheUser) {
    {
        DashboardFixture f;
        const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
        ViewCommands& commands = Commands(f.Window());
        commands.NightAction()->trigger();
        commands.BrightnessSlider()->setValue(30);
        EXPECT_DOUBLE_EQ(f.Widget(gauge)->Night().brightness, 0.3);
        commands.RedTintAction()->trigger();
        EXPECT_EQ(f.Widget(gauge)->Night().tint, NightTint::Red);
        // Dimmest is the floor: the dashboard never goes black.
        for (int i = 0; i < 5; ++i) {
            FindAction(commands.ViewMenu(), "Dimmer at Night")->trigger();
        }
        EXPECT_DOUBLE_EQ(f.Widget(gauge)->Night().brightness, NightColours::kDimmest);
        FindAction(commands.ViewMenu(), "Brighter at Night")->trigger();
        EXPECT_DOUBLE_EQ(f.Widget(gauge)->Night().brightness, 0.25);
    }
    DashboardFixture f;
    const ViewCommands& commands = Commands(f.Window());
    EXPECT_TRUE(commands.Night().on);
    EXPECT_EQ(commands.Night().tint, NightTint::Red);
    EXPECT_DOUBLE_EQ(commands.Night().brightness, 0.25);
    EXPECT_EQ(commands.BrightnessSlider()->value(), 25);
    EXPECT_TRUE(commands.NightAction()->isChecked());
}

TEST_F(ViewMenuWindowTest, TheMenuBarDoesNotShiftWhenRunBecomesPause) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    Show(window);
    QMenuBar* bar = window.menuBar();
    const auto xOf = [bar](const QString& text) {
        for (QAction* action : bar->actions()) {
            if (action->text() == text) {
                return bar->actionGeometry(action).x();
            }
        }
        ADD_FAILURE() << "no " << text.toStdString();
        return -1;
    };
    const std::vector<int> stopped{xOf("Setup"), xOf("&Tools"), xOf("&Help")};
    ASSERT_TRUE(f.Run());
    ASSERT_EQ(window.Rooms().pauseAction.text(), "Pause");
    QApplication::processEvents();
    EXPECT_EQ((std::vector<int>{xOf("Setup"), xOf("&Tools"), xOf("&Help")}), stopped);
    window.PauseClick();
    QApplication::processEvents();
    EXPECT_EQ((std::vector<int>{xOf("Setup"), xOf("&Tools"), xOf("&Help")}), stopped);
    // The View menu stands between Edit and Run.
    QStringList titles;
    for (QAction* action : bar->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles.mid(0, 4), (QStringList{"&File", "&Edit", "&View", "Run"}));
}

TEST_F(ViewMenuWindowTest, TheViewMenuHoldsItsCommandsEachWithItsOwnKey) {
    DashboardFixture f;
    MainWindow& window = f.Window();
    QMenu* view = Commands(window).ViewMenu();
    const std::vector<std::pair<QString, QKeySequence>> expected{
        {"Value Table", QKeySequence(Qt::Key_F9)},
        {"Toolbar", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
        {"Full Screen", QKeySequence(Qt::Key_F11)},
        {"Fit Pages to Window", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
        {"Night Colours", QKeySequence(Qt::Key_F10)},
        {"Previous Page", QKeySequence(Qt::Key_PageUp)},
        {"Next Page", QKeySequence(Qt::Key_PageDown)}};
    QList<QKeySequence> keys;
    for (const auto& [text, key] : expected) {
        QAction* action = FindAction(view, text);
        ASSERT_NE(action, nullptr) << text.toStdString();
        EXPECT_EQ(action->shortcut(), key) << text.toStdString();
    }
    for (QAction* action : view->actions()) {
        if (!action->shortcut().isEmpty()) {
            EXPECT_FALSE(keys.contains(action->shortcut())) << action->text().toStdString();
            keys << action->shortcut();
        }
    }
    EXPECT_EQ(FindAction(f.Dash().EditMenu(), "Value Table"), nullptr) << "moved to View";

    // F9 still shows and hides the table, and the choice is kept.
    Show(window);
    ASSERT_TRUE(f.Dash().ValueDock()->isVisible());
    QTest::keyClick(&window, Qt::Key_F9);
    EXPECT_FALSE(f.Dash().ValueDock()->isVisible());
    EXPECT_FALSE(LoadViewPreferences().valueTable);
}

TEST_F(ViewMenuWindowTest, TheToolbarHasBigButtonsThatStayPutAndCanBeHidden) {
    {
        DashboardFixture f;
        MainWindow& window = f.Window();
        Show(window);
        QToolBar* bar = Commands(window).ToolBar();
        ASSERT_TRUE(bar->isVisible()) << "shown by default";
        QStringList texts;
        for (QAction* action : bar->actions()) {
            texts << action->text();
        }
        EXPECT_EQ(texts, (QStringList{"Run", "Record", "Previous Page", "Next Page", "Full Screen",
                                      "Night Colours"}));
        QWidget* run = bar->widgetForAction(Commands(window).RunAction());
        QWidget* next = bar->widgetForAction(bar->actions().at(3));
        EXPECT_GE(run->height(), 48);
        const QRect runBefore = run->geometry();
        const int nextBefore = next->x();
        ASSERT_TRUE(f.Run());
        QApplication::processEvents();
        EXPECT_EQ(Commands(window).RunAction()->text(), "Pause");
        EXPECT_EQ(run->geometry(), runBefore);
        EXPECT_EQ(next->x(), nextBefore);
        Commands(window).RunAction()->trigger();
        EXPECT_FALSE(window.Rooms().session.GetEngine().Running()) << "the button is Run/Pause";

        // A small screen gets icons alone rather than captions cut short (the window here will
        // not go below its strip's width: the rule is asked for 800 pixels); a wide one both.
        EXPECT_FALSE(Commands(window).ToolBarCaptionsFit(800));
        window.resize(1366, 768);
        QApplication::processEvents();
        EXPECT_TRUE(Commands(window).ToolBarCaptionsShown());
        for (QAction* action : bar->actions()) {
            const auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            ASSERT_NE(button, nullptr);
            EXPECT_GE(button->width(), button->sizeHint().width()) << action->text().toStdString();
        }

        QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(bar->isVisible());
    }
    DashboardFixture f;
    Show(f.Window());
    EXPECT_FALSE(Commands(f.Window()).ToolBar()->isVisible()) << "remembered";
}

struct InhibitLog {
    QStringList calls;
};

class RecordingScreenSaver : public ScreenSaverInterface {
  public:
    explicit RecordingScreenSaver(InhibitLog& log) : log_(log) {}
    void Inhibit(const QString& application, const QString&) override {
        log_.calls << "inhibit " + application;
    }
    void UnInhibit() override { log_.calls << "release"; }

  private:
    InhibitLog& log_;
};

TEST_F(ViewMenuWindowTest, TheScreenIsKeptAwakeWhileAcquiringAndReleasedWhenStopped) {
    DashboardFixture f;
    InhibitLog log;
    f.Window().Rooms().car.SetScreenSaver(std::make_unique<RecordingScreenSaver>(log));
    EXPECT_TRUE(log.calls.isEmpty());
    ASSERT_TRUE(f.Run());
    EXPECT_EQ(log.calls, QStringList{"inhibit " + QApplication::applicationName()});
    f.Window().PauseClick();
    EXPECT_EQ(log.calls.size(), 2);
    EXPECT_EQ(log.calls.back(), "release");
    ASSERT_TRUE(f.Run());
    EXPECT_EQ(log.calls.size(), 3);
    f.Window().PauseClick();
    EXPECT_EQ(log.calls.back(), "release");
}

TEST_F(ViewMenuWindowTest, WithNoPortTheStatusStripSaysSo) {
    testing::CurrentFolder folder;
    MainWindow window;  // no settings: no port named, none opened
    EXPECT_EQ(window.Rooms().status.PortText(), "No port");
}

}  // namespace
}  // namespace vekaton
