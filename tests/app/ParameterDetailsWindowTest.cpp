// A position's details in the window: edited in the parameter editor (and undone), asked about
// when the editor closes over edits not applied, taken by instruments bound to the position, and
// shown as units in the value table.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "DashboardTestSupport.h"
#include "app/dashboard/ParameterDetailsPanel.h"
#include "app/dashboard/ParameterEditor.h"
#include "app/dashboard/ValueTable.h"
#include "app/dashboard/ValueTableModel.h"
#include "dashboard/BindingSlots.h"
#include "session/Session.h"
#include "widgets/RangeInstrument.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;

class ParameterDetailsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::TestApp(); }

    static DetailsTable& Details(DashboardFixture& f) {
        return f.Window().Rooms().session.Details();
    }
    // Opens the editor from an item's menu and hands it to `use`, which returns its result.
    static void Edit(DashboardFixture& f, int id, std::function<int(ParameterEditor&)> use) {
        f.Answer([use](QDialog& dialog) { return use(static_cast<ParameterEditor&>(dialog)); });
        ASSERT_TRUE(f.ItemMenu(id, "Parameters"));
    }
    // The next question is answered with `button`, after a look at what it asks.
    static void AnswerQuestion(DashboardFixture& f, QMessageBox::StandardButton button,
                               QString* text) {
        f.Answer([button, text](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), "ApplyChangesQuestion");
            *text = static_cast<QMessageBox&>(dialog).text();
            EXPECT_EQ(dialog.windowTitle(), "Apply changes?");
            return int(button);
        });
    }
};

TEST_F(ParameterDetailsWindowTest, TheEditorShowsAndEditsTheDetailsAndUndoPutsThemBack) {
    DashboardFixture f;
    Details(f).At(1).unit = "\u00b0C";
    Details(f).At(1).warnHigh = 110;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.SelectPosition(1);
        ParameterDetailsPanel& panel = editor.Details();
        const DetailsEdit shown = panel.Pending({});
        EXPECT_EQ(shown.position.unit, "\u00b0C");
        EXPECT_EQ(shown.position.warnHigh, 110.0);
        // No range typed: the editor offers what the formula gives over its byte.
        if (!panel.Proposal()) {
            ADD_FAILURE() << "no range proposed";
            return int(QDialog::Rejected);
        }
        EXPECT_LE(panel.Proposal()->range.minimum, -40.0);
        EXPECT_GE(panel.Proposal()->range.maximum, 151.25);

        panel.SetRange("-40", "x");
        EXPECT_TRUE(editor.ProblemText().contains("\"x\" is not a number"))
            << editor.ProblemText().toStdString();
        EXPECT_FALSE(editor.Apply());
        panel.SetRange("150", "-40");
        EXPECT_EQ(editor.ProblemText(), "The end of the display range must be above its start.");
        panel.SetRange("", "");
        EXPECT_TRUE(panel.UseProposal());
        panel.SetWarnings("", "105");
        panel.SetDecimals(1);
        panel.SetAlarm(true);
        panel.SetValueNames("0 = cold\nwarm");
        EXPECT_TRUE(editor.ProblemText().startsWith("Value names, line 2"));
        panel.SetValueNames("");
        EXPECT_EQ(editor.ProblemText(), "");
        EXPECT_TRUE(editor.Dirty());
        editor.accept();
        return editor.result();
    });
    const PositionDetails* coolant = Details(f).Find(1);
    ASSERT_NE(coolant, nullptr);
    EXPECT_EQ(coolant->unit, "\u00b0C");
    ASSERT_TRUE(coolant->displayMin && coolant->displayMax);
    EXPECT_LE(*coolant->displayMin, -40.0);
    EXPECT_EQ(coolant->warnHigh, 105.0);
    EXPECT_EQ(coolant->decimals, 1);
    EXPECT_TRUE(coolant->alarm);

    // The gauge took the range typed into the details, and one undo takes back both.
    auto* widget = static_cast<RangeInstrument*>(f.Widget(gauge));
    EXPECT_EQ(widget->Minimum(), *coolant->displayMin);
    EXPECT_EQ(widget->Maximum(), *coolant->displayMax);
    f.Dash().Undo().undo();
    EXPECT_FALSE(Details(f).Find(1)->displayMin.has_value());
    EXPECT_EQ(Details(f).Find(1)->warnHigh, 110.0);
    EXPECT_FALSE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 1));
    EXPECT_EQ(widget->Maximum(), 100.0);
    f.Dash().Undo().redo();
    EXPECT_EQ(Details(f).Find(1)->warnHigh, 105.0);
    EXPECT_TRUE(f.AllAnswered());

    // The flags of a digital position's bits.
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.SelectPosition(18);
        editor.Details().SetBitActiveWhenClear(3, true);
        editor.Details().SetBitAlarm(0, true);
        EXPECT_TRUE(editor.Apply());
        return int(QDialog::Rejected);
    });
    ASSERT_NE(Details(f).FindBit(18, 3), nullptr);
    EXPECT_TRUE(Details(f).FindBit(18, 3)->activeWhenClear);
    EXPECT_TRUE(Details(f).FindBit(18, 0)->alarm);
    EXPECT_EQ(Details(f).FindBit(18, 1), nullptr);
}

TEST_F(ParameterDetailsWindowTest, ClosingOverEditsNotAppliedAsksToApplyThem) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    QString asked;

    // Nothing typed: the editor closes without a question.
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.reject();
        EXPECT_EQ(editor.result(), int(QDialog::Rejected));
        return editor.result();
    });
    EXPECT_TRUE(f.AllAnswered());

    // Cancel keeps the editor open with the edit; Discard closes it and drops the edit.
    Edit(f, gauge, [&](ParameterEditor& editor) {
        editor.SelectPosition(8);
        editor.Details().SetUnit("V");
        AnswerQuestion(f, QMessageBox::Cancel, &asked);
        editor.setResult(-1);
        editor.reject();
        EXPECT_EQ(editor.result(), -1) << "still open";
        EXPECT_EQ(asked.toStdString(),
                  "Position 8 has changes that are not applied yet. Apply them before closing?");
        AnswerQuestion(f, QMessageBox::Discard, &asked);
        editor.reject();
        EXPECT_EQ(editor.result(), int(QDialog::Rejected));
        return editor.result();
    });
    EXPECT_EQ(Details(f).Find(8), nullptr);
    EXPECT_FALSE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 8));

    // Apply makes the edit, binding the item as OK would.
    Edit(f, gauge, [&](ParameterEditor& editor) {
        editor.SelectPosition(8);
        editor.Details().SetUnit("V");
        editor.SetFormula("A/10");
        AnswerQuestion(f, QMessageBox::Apply, &asked);
        editor.reject();
        return editor.result();
    });
    ASSERT_NE(Details(f).Find(8), nullptr);
    EXPECT_EQ(Details(f).Find(8)->unit, "V");
    EXPECT_TRUE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 8));

    // An edit that cannot be made keeps the editor open, saying why.
    Edit(f, gauge, [&](ParameterEditor& editor) {
        editor.SetFormula("(A");
        AnswerQuestion(f, QMessageBox::Apply, &asked);
        editor.setResult(-1);
        editor.reject();
        EXPECT_EQ(editor.result(), -1);
        EXPECT_FALSE(editor.ProblemText().isEmpty());
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(f.Window().Rooms().session.Table().At(8).Formula(), "A/10");
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(ParameterDetailsWindowTest, AnInstrumentBoundToAPositionWithDetailsTakesItsScale) {
    DashboardFixture f;
    PositionDetails& rpm = Details(f).At(4);
    rpm.unit = "rpm";
    rpm.displayMin = 0;
    rpm.displayMax = 8000;
    rpm.decimals = 0;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.SelectPosition(4);
        editor.accept();
        return editor.result();
    });
    auto* widget = static_cast<RangeInstrument*>(f.Widget(gauge));
    EXPECT_EQ(widget->Minimum(), 0.0);
    EXPECT_EQ(widget->Maximum(), 8000.0);
    EXPECT_EQ(widget->Property("Units"), PropertyValue::String("rpm"));

    // Set by hand, the scale stays when the gauge moves to another position.
    f.Model().SetProperty(gauge, "Maximum", PropertyValue::Float(7000));
    widget->SetMaximum(7000);
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.SelectPosition(1);
        editor.accept();
        return editor.result();
    });
    EXPECT_EQ(f.Model().Binding(gauge).position, 1);
    EXPECT_EQ(widget->Maximum(), 7000.0);

    // A display added on a position from the value table's menu takes the unit as its suffix.
    const int display = f.AddItem(0, QPoint(300, 10), "Numerical Display");
    Edit(f, display, [](ParameterEditor& editor) {
        editor.SelectPosition(4);
        editor.accept();
        return editor.result();
    });
    EXPECT_EQ(f.Widget(display)->Property("Suffix"), PropertyValue::String(" rpm"));

    // So does a gauge the value table's menu adds for the position.
    ValueTable& values = f.Dash().Values();
    values.Model().Rebuild(testing::kDataBytes);
    std::unique_ptr<QMenu> menu(values.BuildMenu(values.Model().RowOf(4), nullptr));
    QAction* meter = testing::FindAction(menu.get(), "Analog Meter");
    ASSERT_NE(meter, nullptr);
    meter->trigger();
    const int added = f.Model().LiveIds().back();
    ASSERT_NE(added, gauge);
    auto* shown = static_cast<RangeInstrument*>(f.Widget(added));
    EXPECT_EQ(shown->Maximum(), 8000.0);
    EXPECT_EQ(shown->Property("Units"), PropertyValue::String("rpm"));
    f.Dash().Undo().undo();
    EXPECT_EQ(f.Model().Find(added), nullptr);
}

TEST_F(ParameterDetailsWindowTest, TheValueTableShowsUnits) {
    DashboardFixture f;
    Details(f).At(4).unit = "rpm";
    Details(f).AtBit(18, 0).alarm = true;
    ValueTableModel& model = f.Dash().Values().Model();
    model.Rebuild(testing::kDataBytes);
    EXPECT_EQ(model.headerData(ValueTableModel::kUnit, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Unit");
    EXPECT_EQ(model.CellText(model.RowOf(4), ValueTableModel::kUnit), "rpm");
    EXPECT_EQ(model.CellText(model.RowOf(1), ValueTableModel::kUnit), "");
    EXPECT_EQ(model.CellText(model.RowOf(18, 0), ValueTableModel::kUnit), "");

    // A unit typed in the editor shows at once.
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    Edit(f, gauge, [](ParameterEditor& editor) {
        editor.SelectPosition(1);
        editor.Details().SetUnit("\u00b0C");
        editor.accept();
        return editor.result();
    });
    EXPECT_EQ(model.CellText(model.RowOf(1), ValueTableModel::kUnit), "\u00b0C");
}

}  // namespace
}  // namespace vekaton
