// Warnings in the window as the driver meets them: a value beyond its limit for the debounce
// time turns its instrument and its value-table row red and is counted in the status strip; an
// alarm sounds until a click on the strip or Space silences it; a value back inside by the
// hysteresis clears it; a flag bit that must be on sounds when it goes off.
#include <gtest/gtest.h>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "DashboardTestSupport.h"
#include "app/car/CarRooms.h"
#include "app/car/ToneSink.h"
#include "app/car/ViewCommands.h"
#include "app/car/WarningsRoom.h"
#include "app/dashboard/ItemActions.h"
#include "app/dashboard/ValueTable.h"
#include "app/dashboard/ValueTableModel.h"
#include "dashboard/ItemKinds.h"
#include "widgets/NightColours.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;

// Coolant (position 1) warns above 90 °C and is an alarm; the battery (8) only warns below
// 11 V; "Engine running" (18.3) is an alarm while it is off.
const QString kDetails =
    "[1]\r\nunit=C\r\nmin=-40\r\nmax=140\r\nwarn-high=90\r\nalarm=yes\r\n\r\n"
    "[8]\r\nwarn-low=11\r\n\r\n"
    "[18.3]\r\nactive-when-clear=yes\r\nalarm=yes\r\n";

std::uint8_t CoolantByte(double celsius) {
    return static_cast<std::uint8_t>((celsius + 40.0) / 0.75 + 0.5);
}

struct ToneLog {
    int starts = 0;
    int stops = 0;
    bool sounding = false;
};

class LoggedTone : public ToneSink {
  public:
    explicit LoggedTone(ToneLog& log) : log_(log) {}
    void Start(const std::vector<std::int16_t>&, int) override {
        ++log_.starts;
        log_.sounding = true;
    }
    void Stop() override {
        ++log_.stops;
        log_.sounding = false;
    }
    const char* Kind() const override { return "test"; }

  private:
    ToneLog& log_;
};

class WarningsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings_.path());
        Open();
    }
    void Open() {
        f_.reset();
        f_ = std::make_unique<DashboardFixture>(testing::QuietSettings(), testing::kTestParameters,
                                                kDetails);
        Room().SetClock([this] { return now_; });
        Room().SetToneSink(std::make_unique<LoggedTone>(tone_));
        f_->Window().show();
        f_->Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f_->Window()));
        ASSERT_TRUE(f_->Run());
    }

    WarningsRoom& Room() { return f_->Window().Rooms().car.Warnings(); }
    ValueTableModel& Table() { return f_->Dash().Values().Model(); }
    // A frame at a time on the room's clock; engine running (18.3) set unless asked otherwise.
    void Frame(double at, double coolant, double battery = 13.8, bool running = true) {
        now_ = at;
        std::vector<std::uint8_t> bytes(testing::kDataBytes, 0);
        bytes[0] = CoolantByte(coolant);
        bytes[7] = static_cast<std::uint8_t>(battery * 10 + 0.5);
        bytes[17] = running ? 0x08 : 0x00;
        f_->Frame(bytes);
    }

    QTemporaryDir userSettings_;
    std::unique_ptr<DashboardFixture> f_;
    double now_ = 0.0;
    ToneLog tone_;
};

TEST_F(WarningsWindowTest, ACoolantAlarmShowsEverywhereSoundsAndIsSilencedBySpace) {
    const int gauge = *f_->Dash().Actions().AddBoundItem(ItemKind::Thermometer, 0, 1, -1);
    const int display = *f_->Dash().Actions().AddBoundItem(ItemKind::AnalogDisplay, 0, 8, -1);
    const int coolantRow = Table().RowOf(1);
    ASSERT_GE(coolantRow, 0);
    QToolButton& strip = Room().StripIndicator();

    Frame(0.0, 80);
    Frame(1.0, 95);  // beyond, but not yet for the debounce time
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::None);
    EXPECT_FALSE(strip.isVisible());
    EXPECT_FALSE(tone_.sounding);

    Frame(1.6, 96.5);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::Sounding);
    EXPECT_EQ(f_->Widget(display)->Warning(), WarningLevel::None);  // the battery is fine
    EXPECT_EQ(Table().WarningOf(coolantRow), WarningLevel::Sounding);
    EXPECT_EQ(Table()
                  .data(Table().index(coolantRow, ValueTableModel::kValue), Qt::BackgroundRole)
                  .value<QBrush>()
                  .color()
                  .red(),
              200);
    EXPECT_FALSE(
        Table()
            .data(Table().index(Table().RowOf(8), ValueTableModel::kValue), Qt::BackgroundRole)
            .isValid());
    EXPECT_TRUE(strip.isVisible());
    EXPECT_EQ(strip.text(), "ALARM - 1 warning");
    EXPECT_TRUE(tone_.sounding);
    EXPECT_EQ(Room().WarningLines(), QStringList{"Coolant: 96.5 (high limit 90) - ALARM"});

    // Space silences it; the warning stays while the value is beyond.
    QTest::keyClick(&f_->Window(), Qt::Key_Space);
    EXPECT_FALSE(tone_.sounding);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::Warning);
    EXPECT_EQ(strip.text(), "1 warning");
    Frame(2.0, 99.5);
    EXPECT_FALSE(tone_.sounding) << "acknowledged until the value comes back";

    // The battery low as well: two warnings.
    Frame(2.5, 99.5, 10.5);
    Frame(3.1, 99.5, 10.5);
    EXPECT_EQ(strip.text(), "2 warnings");
    EXPECT_EQ(f_->Widget(display)->Warning(), WarningLevel::Warning);

    // Back below the limit but not by the hysteresis (2 % of 180 = 3.6): still on.
    Frame(4.0, 88, 13.8);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::Warning);
    EXPECT_EQ(f_->Widget(display)->Warning(), WarningLevel::None);
    Frame(4.5, 85);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::None);
    EXPECT_EQ(Table().WarningOf(coolantRow), WarningLevel::None);
    EXPECT_FALSE(strip.isVisible());

    // Beyond again: it sounds again.
    Frame(5.0, 97);
    Frame(5.6, 97);
    EXPECT_TRUE(tone_.sounding);
    EXPECT_EQ(tone_.starts, 2);
}

TEST_F(WarningsWindowTest, TheUserChoosesTheDebounceTimeAndTheHysteresis) {
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Vekaton", "Vekaton");
        settings.setValue("Warnings/DebounceSeconds", 2.0);
        settings.setValue("Warnings/HysteresisPercent", 10);
    }
    Open();
    const int gauge = *f_->Dash().Actions().AddBoundItem(ItemKind::Thermometer, 0, 1, -1);
    Frame(0.0, 95);
    Frame(1.0, 95);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::None) << "not yet two seconds";
    Frame(2.1, 95);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::Sounding);
    // 10 % of the range of 180: back below 72 before it clears.
    Frame(3.0, 80);
    EXPECT_NE(f_->Widget(gauge)->Warning(), WarningLevel::None);
    Frame(3.5, 71);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::None);
}

TEST_F(WarningsWindowTest, AClickOnTheStripAcknowledgesAndListsTheWarnings) {
    Frame(0.0, 99.5);
    Frame(1.0, 99.5);
    ASSERT_TRUE(tone_.sounding);
    QTest::mouseClick(&Room().StripIndicator(), Qt::LeftButton);
    EXPECT_FALSE(tone_.sounding);
    ASSERT_NE(Room().List(), nullptr);
    ASSERT_EQ(Room().List()->actions().size(), 1);
    EXPECT_EQ(Room().List()->actions().first()->text(),
              "Coolant: 99.5 (high limit 90) - alarm acknowledged");
    Room().List()->close();
}

TEST_F(WarningsWindowTest, AtNightTheStripsAlarmDoesNotGlare) {
    Frame(0.0, 99.5);
    Frame(1.0, 99.5);
    QToolButton& strip = Room().StripIndicator();
    ASSERT_TRUE(strip.isVisible());
    const auto whitePixels = [&strip] {
        const QImage image = strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int white = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                white += NearWhite(QColor(image.pixel(x, y))) ? 1 : 0;
            }
        }
        return white;
    };
    EXPECT_GT(whitePixels(), 0) << "white on red by day";
    f_->Window().Rooms().car.View().NightAction()->trigger();
    EXPECT_EQ(whitePixels(), 0);
    EXPECT_EQ(strip.text(), "ALARM - 1 warning");
}

TEST_F(WarningsWindowTest, SpaceWithoutAnAlarmIsLeftToOthers) {
    Frame(0.0, 80);
    bool reached = false;
    QAction other(&f_->Window());
    other.setShortcut(QKeySequence(Qt::Key_Space));
    QObject::connect(&other, &QAction::triggered, [&] { reached = true; });
    f_->Window().addAction(&other);
    QTest::keyClick(&f_->Window(), Qt::Key_Space);
    EXPECT_TRUE(reached) << "no alarm: Space does what it did before (pauses playback)";
    f_->Window().removeAction(&other);
}

TEST_F(WarningsWindowTest, AFlagThatMustBeOnSoundsWhenItGoesOff) {
    const int led = *f_->Dash().Actions().AddBoundItem(ItemKind::LedRound, 0, 18, 3);
    Frame(0.0, 80, 13.8, true);
    Frame(1.0, 80, 13.8, false);
    Frame(1.6, 80, 13.8, false);
    EXPECT_EQ(f_->Widget(led)->Warning(), WarningLevel::Sounding);
    EXPECT_EQ(Table().WarningOf(Table().RowOf(18, 3)), WarningLevel::Sounding);
    EXPECT_EQ(Room().WarningLines(), QStringList{"Engine running: off - ALARM"});
    EXPECT_TRUE(tone_.sounding);
    Frame(2.0, 80, 13.8, true);
    EXPECT_EQ(f_->Widget(led)->Warning(), WarningLevel::None);
    EXPECT_FALSE(tone_.sounding);
}

TEST_F(WarningsWindowTest, StoppingQuietensEverythingAndEditedLimitsAreWatched) {
    const int gauge = *f_->Dash().Actions().AddBoundItem(ItemKind::AngularGauge, 0, 1, -1);
    Frame(0.0, 100);
    Frame(1.0, 100);
    ASSERT_TRUE(tone_.sounding);
    f_->Window().PauseClick();
    EXPECT_FALSE(tone_.sounding);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::None);
    EXPECT_FALSE(Room().StripIndicator().isVisible());

    // A lower limit given while running is watched from then on.
    ASSERT_TRUE(f_->Run());
    f_->Window().Rooms().session.Details().At(1).warnHigh = 60;
    f_->Window().Rooms().session.Details().At(1).alarm = false;
    f_->Dash().DefinitionsChanged();
    Frame(2.0, 70);
    Frame(3.0, 70);
    EXPECT_EQ(f_->Widget(gauge)->Warning(), WarningLevel::Warning);
    EXPECT_FALSE(tone_.sounding) << "no longer an alarm";
}

}  // namespace
}  // namespace vekaton
