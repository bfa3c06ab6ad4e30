// Values on the dashboard: binding through the parameter editor, frames fed through the engine
// moving the right widgets, hold modes, LED bits, the Graphs page, reset buttons, the value
// table and the "no data" state.
#include <gtest/gtest.h>
#include <QTabWidget>

#include <QTableView>

#include "DashboardTestSupport.h"
#include "app/LinkHealthMonitor.h"
#include "app/StatusPanel.h"
#include "app/dashboard/ParameterEditor.h"
#include "app/dashboard/ResetListDialog.h"
#include "app/dashboard/ValueTable.h"
#include "app/dashboard/ValueTableModel.h"
#include "dashboard/BindingSlots.h"
#include "widgets/RangeInstrument.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TButton.h"
#include "widgets/TLedRound.h"
#include "widgets/TSevenSegmentAnalog.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;
using testing::WaitUntil;

class DashboardLiveTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::TestApp(); }

    // Binds an item through its menu's parameter editor, changing the definition on the way.
    static void BindThroughEditor(DashboardFixture& f, int id, int position,
                                  std::function<void(ParameterEditor&)> edit = {}) {
        f.Answer([position, edit](QDialog& dialog) {
            auto& editor = static_cast<ParameterEditor&>(dialog);
            editor.SelectPosition(position);
            if (edit) {
                edit(editor);
            }
            editor.accept();
            return editor.result();
        });
        ASSERT_TRUE(f.ItemMenu(id, "Parameters"));
    }

    static double PositionOf(DashboardFixture& f, int id) {
        return static_cast<RangeInstrument*>(f.Widget(id))->Position();
    }
};

TEST_F(DashboardLiveTest, TheEditorBindsMultiByteValuesAtTheirLastByteAndFramesMoveThem) {
    DashboardFixture f;
    const int rpm = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    const int coolant = f.AddItem(0, QPoint(200, 10), "Thermometer");
    const int battery = f.AddItem(0, QPoint(300, 10), "LED Display");
    const int idle = f.AddItem(0, QPoint(400, 10), "Analog Meter");  // never bound
    // Position 4 becomes a three-byte value first, then two: the gauge follows its last byte.
    BindThroughEditor(f, rpm, 4, [](ParameterEditor& editor) {
        editor.SetByteCount(3);
        EXPECT_TRUE(editor.Apply());
        editor.SetByteCount(2);
        editor.SetFormula("A*256+B");
        EXPECT_EQ(editor.ProblemText(), "");
    });
    BindThroughEditor(f, coolant, 1);
    BindThroughEditor(f, battery, 8);
    const ParameterTable& table = f.Window().Rooms().session.Table();
    EXPECT_EQ(table.At(4).ByteCount, 2);
    EXPECT_EQ(f.Model().Binding(rpm).position, 4);
    EXPECT_TRUE(IsBoundAt(table, rpm, 5));
    EXPECT_FALSE(IsBoundAt(table, rpm, 4));
    EXPECT_FALSE(IsBoundAt(table, rpm, 6));
    EXPECT_TRUE(IsBoundAt(table, coolant, 1));
    std::unique_ptr<QMenu> menu(f.Dash().BuildItemMenu(rpm));
    EXPECT_EQ(menu->actions().first()->text(), QString("ID: %1, 4").arg(rpm));

    static_cast<RangeInstrument*>(f.Widget(rpm))->SetMaximum(8000);
    ASSERT_TRUE(f.Run());
    f.Frame({160, 0, 0, 0x12, 0x34, 0, 0, 141});
    EXPECT_EQ(PositionOf(f, rpm), 4660.0);
    EXPECT_EQ(PositionOf(f, coolant), 80.0);
    EXPECT_NEAR(static_cast<TSevenSegmentAnalog*>(f.Widget(battery))->Value(), 14.1, 1e-9);
    EXPECT_EQ(PositionOf(f, idle), 0.0);
    f.Frame({120, 0, 0, 0x07, 0xD0, 0, 0, 120});
    EXPECT_EQ(PositionOf(f, rpm), 2000.0);
    EXPECT_EQ(PositionOf(f, coolant), 50.0);
    // The markers remember the range seen (from the cleared reading, 0).
    EXPECT_EQ(static_cast<RangeInstrument*>(f.Widget(rpm))->CurrentMaximum(), 4660.0);

    // The editor tries the formula on the bytes now held.
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        EXPECT_EQ(editor.Position(), 4);
        EXPECT_TRUE(editor.ResultText().contains("2000")) << editor.ResultText().toStdString();
        EXPECT_TRUE(editor.ResultText().contains("$07 $D0")) << editor.ResultText().toStdString();
        editor.SetFormula("(A*256+B");
        EXPECT_FALSE(editor.ProblemText().isEmpty());
        EXPECT_FALSE(editor.Apply());
        editor.SetFormula("(A*256+B)/4");
        EXPECT_TRUE(editor.ResultText().contains("500"));
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(f.ItemMenu(rpm, "Parameters"));
    EXPECT_EQ(table.At(4).Formula(), "A*256+B") << "a cancelled edit changes nothing";
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardLiveTest, WhatTheParameterFileCouldNotKeepAndFullPositionsAreSaidInTheEditor) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    BindThroughEditor(f, gauge, 3, [](ParameterEditor& editor) {
        editor.SetDescription("Throttle, %");
        EXPECT_TRUE(editor.ProblemText().contains("comma")) << editor.ProblemText().toStdString();
        EXPECT_FALSE(editor.Apply());
        editor.SetDescription("Throttle %");
        editor.SetByteCount(499);
        EXPECT_TRUE(editor.ProblemText().contains("500")) << editor.ProblemText().toStdString();
        editor.SetByteCount(1);
        // Bit descriptions may hold commas.
        editor.SetDigital(true);
        editor.SetBitDescription(2, "Fan on, high");
        EXPECT_EQ(editor.ProblemText(), "");
        editor.SetDigital(false);
    });
    EXPECT_EQ(f.Window().Rooms().session.Table().At(3).Descriptions[0], "Throttle %");
    EXPECT_FALSE(f.Window().Rooms().session.Table().At(3).IsDigital);

    // Fourteen displays fill position 8; a fifteenth cannot be bound there and is told so.
    for (int i = 0; i < 14; ++i) {
        const int display = f.AddItem(1, QPoint(10 * i, 10), "Numerical Display");
        BindThroughEditor(f, display, 8);
    }
    const int late = f.AddItem(1, QPoint(10, 300), "Numerical Display");
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        editor.SelectPosition(8);
        EXPECT_TRUE(editor.ProblemText().contains("14 items"))
            << editor.ProblemText().toStdString();
        EXPECT_FALSE(editor.Apply());
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(f.ItemMenu(late, "Parameters"));
    EXPECT_EQ(f.Model().Binding(late).position, 0);
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardLiveTest, HoldModesNeverMoveTheWrongWayAndAnLedShowsExactlyItsBit) {
    DashboardFixture f;
    const int high = f.AddItem(0, QPoint(10, 10), "Numerical Display");
    const int low = f.AddItem(0, QPoint(10, 100), "LED Display");
    const int led = f.AddItem(0, QPoint(10, 200), "Digital LED");
    ASSERT_TRUE(f.ItemMenu(high, "Max"));
    ASSERT_TRUE(f.ItemMenu(low, "Min"));
    EXPECT_EQ(f.Model().Binding(high).holdMode, kHoldMax);
    EXPECT_EQ(f.Model().Binding(low).holdMode, kHoldMin);
    BindThroughEditor(f, high, 3, [](ParameterEditor& e) { e.SetFormula(""); });
    BindThroughEditor(f, low, 3);
    BindThroughEditor(f, led, 18, [](ParameterEditor& editor) { editor.SetLedBit(3); });
    EXPECT_EQ(f.Model().Binding(led).bit, 3);
    std::unique_ptr<QMenu> menu(f.Dash().BuildItemMenu(led));
    EXPECT_EQ(menu->actions().first()->text(), QString("ID: %1, 18:3").arg(led));

    auto* highWidget = static_cast<TAnalogDisplay*>(f.Widget(high));
    auto* lowWidget = static_cast<TSevenSegmentAnalog*>(f.Widget(low));
    auto* ledWidget = static_cast<TLedRound*>(f.Widget(led));
    ASSERT_TRUE(f.Run());
    // The low hold starts from the cleared reading 0: reset it to the current value first.
    f.Frame({0, 0, 120});
    ASSERT_TRUE(f.ItemMenu(low, "ResetMinMax"));
    double shownHigh = highWidget->Value();
    double shownLow = lowWidget->Value();
    EXPECT_EQ(shownLow, 120.0);
    for (const int byte : {130, 90, 200, 10, 10, 150, 255, 0, 77}) {
        f.Frame({0, 0, static_cast<std::uint8_t>(byte)});
        ASSERT_GE(highWidget->Value(), shownHigh) << byte;
        ASSERT_LE(lowWidget->Value(), shownLow) << byte;
        shownHigh = highWidget->Value();
        shownLow = lowWidget->Value();
    }
    EXPECT_EQ(shownHigh, 255.0);
    EXPECT_EQ(shownLow, 0.0);
    // Unticking "Max" follows again.
    ASSERT_TRUE(f.ItemMenu(high, "Max"));
    f.Frame({0, 0, 42});
    EXPECT_EQ(highWidget->Value(), 42.0);

    for (int byte = 0; byte < 256; ++byte) {
        std::vector<std::uint8_t> frame(18, 0);
        frame[17] = static_cast<std::uint8_t>(byte);
        f.Frame(frame);
        ASSERT_EQ(ledWidget->Active(), (byte & 8) != 0) << byte;
    }
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardLiveTest, GraphsPageSkipsUpdatesAndTheRemovedStayStill) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    const int gone = f.AddItem(0, QPoint(200, 10), "Analog Meter");
    BindThroughEditor(f, gauge, 1);
    BindThroughEditor(f, gone, 1);
    ASSERT_TRUE(f.ItemMenu(gone, "Remove Gauge"));
    ASSERT_TRUE(f.Run());
    f.Frame({100});
    EXPECT_EQ(PositionOf(f, gauge), 35.0);
    f.Window().Rooms().pages.setCurrentWidget(
        reinterpret_cast<QWidget*>(&f.Window().Rooms().graphs));
    f.Frame({140});
    EXPECT_EQ(PositionOf(f, gauge), 35.0) << "no gauge moves while the chart shows";
    EXPECT_EQ(f.Window().Rooms().session.Table().At(1).Value, 65.0) << "the decoder still decodes";
    f.Window().Rooms().pages.setCurrentIndex(0);
    f.Frame({160});
    EXPECT_EQ(PositionOf(f, gauge), 80.0);
    EXPECT_EQ(PositionOf(f, gone), 0.0);
}

TEST_F(DashboardLiveTest, ResetButtonsResetTheItemsPickedForThem) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    const int display = f.AddItem(0, QPoint(200, 10), "Numerical Display");
    const int other = f.AddItem(0, QPoint(400, 10), "Analog Meter");
    const int button = f.AddItem(0, QPoint(10, 300), "Reset Min/Max Button");
    ASSERT_TRUE(f.ItemMenu(display, "Max"));
    for (const int id : {gauge, display, other}) {
        BindThroughEditor(f, id, 3, [](ParameterEditor& e) { e.SetFormula(""); });
    }
    f.Answer([&](QDialog& dialog) {
        auto& choose = static_cast<ResetListDialog&>(dialog);
        EXPECT_TRUE(choose.SetChecked(gauge, true));
        EXPECT_TRUE(choose.SetChecked(display, true));
        EXPECT_FALSE(choose.SetChecked(button, true)) << "a button resets nothing itself";
        choose.SetMinPreset(5);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.ItemMenu(button, "ChooseItems"));
    const ResetButtonEntry entry = f.Model().ResetButtonFor(button);
    EXPECT_EQ(entry.ids, (std::vector<int>{gauge, display}));
    EXPECT_EQ(entry.minPreset, 5);
    EXPECT_EQ(entry.maxPreset, kPresetCurrentValue);

    ASSERT_TRUE(f.Run());
    for (const int v : {30, 90, 60}) {
        f.Frame({0, 0, static_cast<std::uint8_t>(v)});
    }
    auto* gaugeWidget = static_cast<RangeInstrument*>(f.Widget(gauge));
    auto* otherWidget = static_cast<RangeInstrument*>(f.Widget(other));
    EXPECT_EQ(gaugeWidget->CurrentMaximum(), 90.0);
    EXPECT_EQ(static_cast<TAnalogDisplay*>(f.Widget(display))->Value(), 90.0);
    // A click on the button.
    emit static_cast<TButton*>(f.Widget(button))->clicked();
    EXPECT_EQ(gaugeWidget->CurrentMinimum(), 5.0);
    EXPECT_EQ(gaugeWidget->CurrentMaximum(), 60.0);
    EXPECT_EQ(static_cast<TAnalogDisplay*>(f.Widget(display))->Value(), 60.0);
    EXPECT_EQ(otherWidget->CurrentMaximum(), 90.0) << "not on the button's list";
    f.Dash().Undo().undo();
    EXPECT_TRUE(f.Model().ResetButtonFor(button).ids.empty());
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardLiveTest, TheValueTableShowsWhatTheDecoderHolds) {
    DashboardFixture f;
    ValueTable& values = f.Dash().Values();
    ValueTableModel& model = values.Model();
    // Every defined position, the digital one by bit, undefined frame bytes too.
    const int rpmRow = model.RowOf(4);
    ASSERT_GE(rpmRow, 0);
    EXPECT_EQ(model.RowOf(5), -1) << "the second byte of a two-byte value has no row";
    EXPECT_GE(model.RowOf(18, 3), 0);
    EXPECT_EQ(model.RowOf(18, 2), -1) << "an undescribed bit";
    EXPECT_GE(model.RowOf(24), 0) << "an undefined byte of the frame";
    EXPECT_EQ(model.RowOf(25), -1);

    ASSERT_TRUE(f.Run());
    f.Frame({160, 0, 51, 0x12, 0x34, 0, 0, 141, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8});
    f.Frame({120, 0, 102, 0x07, 0xD0, 0, 0, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    values.Refresh();
    const ParameterTable& table = f.Window().Rooms().session.Table();
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kRaw), "$07 $D0");
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kValue), FormatValue(table.At(5).Value));
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kValue), "2000");
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kMin), "2000");
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kMax), "4660");
    const int coolant = model.RowOf(1);
    EXPECT_EQ(model.CellText(coolant, ValueTableModel::kDescription), "Coolant");
    EXPECT_EQ(model.CellText(coolant, ValueTableModel::kValue), "50");
    EXPECT_EQ(model.CellText(coolant, ValueTableModel::kMax), "80");
    const int running = model.RowOf(18, 3);
    EXPECT_EQ(model.CellText(running, ValueTableModel::kValue), "Off");
    EXPECT_EQ(model.CellText(running, ValueTableModel::kMax), "On");
    EXPECT_EQ(model.CellText(model.RowOf(8), ValueTableModel::kValue), "12");
    // No-break spaces keep each counter whole when the line wraps.
    EXPECT_TRUE(
        values.SummaryText().startsWith(QStringLiteral("Frames\u00A02   Checksum\u00A0errors")))
        << values.SummaryText().toStdString();
    values.ResetMinMax();  // both start again from the reading shown
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kMax), "2000");
    EXPECT_EQ(model.CellText(rpmRow, ValueTableModel::kMin), "2000");

    // Its menu adds an instrument showing the row's position on the current page.
    f.Window().Rooms().pages.setCurrentIndex(2);
    std::unique_ptr<QMenu> menu(values.BuildMenu(rpmRow, nullptr));
    ASSERT_NE(testing::FindAction(menu.get(), "Analog Meter"), nullptr);
    testing::FindAction(menu.get(), "Analog Meter")->trigger();
    const int added = f.Model().LiveIds().back();
    EXPECT_EQ(f.Model().Find(added)->page, 2);
    EXPECT_EQ(f.Model().Binding(added).position, 4);
    EXPECT_TRUE(IsBoundAt(table, added, 5));
    EXPECT_EQ(f.Widget(added)->Property("Caption"), PropertyValue::String("Engine speed"));
    std::unique_ptr<QMenu> bitMenu(values.BuildMenu(running, nullptr));
    testing::FindAction(bitMenu.get(), "Digital LED")->trigger();
    const int led = f.Model().LiveIds().back();
    EXPECT_EQ(f.Model().Binding(led).bit, 3);
    f.Frame({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8});
    EXPECT_TRUE(static_cast<TLedRound*>(f.Widget(led))->Active());

    // A double-click opens the editor at the row's position; a new definition is a new row.
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        EXPECT_EQ(editor.Position(), 3);
        editor.SelectPosition(30);
        editor.SetDescription("Boost");
        editor.SetFormula("A/2");
        editor.accept();
        return editor.result();
    });
    QTableView& view = values.View();
    emit view.doubleClicked(model.index(model.RowOf(3), 0));
    EXPECT_GE(model.RowOf(30), 0);
    EXPECT_EQ(table.At(30).Formula(), "A/2");
    f.Dash().Undo().undo();
    EXPECT_EQ(model.RowOf(30), -1);

    // "Parameters…" lists all 500 positions.
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        editor.SelectPosition(500);
        EXPECT_EQ(editor.Position(), 500);
        return int(QDialog::Rejected);
    });
    testing::FindAction(f.Dash().EditMenu(), "ParametersList")->trigger();
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardLiveTest, SilenceWhileRunningIsNoDataAndGreysTheBoundInstruments) {
    DashboardFixture f(testing::QuietSettings(testing::kDataBytes, 100));
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    const int label = f.AddItem(0, QPoint(10, 300), "Label");
    BindThroughEditor(f, gauge, 1);
    StatusPanel& status = f.Window().Rooms().status;
    EXPECT_EQ(status.LinkStateText(), "Stopped");
    ASSERT_TRUE(f.Run());
    Engine& engine = f.Window().Rooms().session.GetEngine();
    ASSERT_TRUE(WaitUntil([&] { return engine.Counters().frames >= 3; }, 5000));
    f.Window().Rooms().linkHealth.Update();
    EXPECT_EQ(status.LinkStateText(), "Running");
    EXPECT_TRUE(status.FrameRateText().contains("frames/s"));
    EXPECT_FALSE(f.Widget(gauge)->Dimmed());

    // The module stops answering in full (the frame grew longer than it sends).
    LinkSettings longer = engine.Settings();
    longer.dataBytes = 400;
    engine.ApplySettings(longer);
    ASSERT_TRUE(WaitUntil([&] { return status.LinkStateText() == "No data"; }, 6000));
    EXPECT_TRUE(f.Widget(gauge)->Dimmed());
    EXPECT_FALSE(f.Widget(label)->Dimmed()) << "a label shows no data and stays as it is";

    LinkSettings back = longer;
    back.dataBytes = testing::kDataBytes;
    engine.ApplySettings(back);
    ASSERT_TRUE(WaitUntil([&] { return status.LinkStateText() == "Running"; }, 6000));
    EXPECT_FALSE(f.Widget(gauge)->Dimmed());
    f.Window().PauseClick();
    f.Window().Rooms().linkHealth.Update();
    EXPECT_EQ(status.LinkStateText(), "Stopped");
}

}  // namespace
}  // namespace vekaton
