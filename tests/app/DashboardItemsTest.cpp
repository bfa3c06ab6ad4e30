// Items on the dashboard pages through the window's menus: adding every kind, the item menus,
// removal, copy and paste, captions, appearance, design mode and undo.
#include <gtest/gtest.h>
#include <QTabWidget>

#include <QApplication>
#include <QInputDialog>
#include <QMouseEvent>
#include <QUndoStack>

#include "DashboardTestSupport.h"
#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DesignMode.h"
#include "app/dashboard/ItemActions.h"
#include "app/dashboard/ParameterEditor.h"
#include "dashboard/BindingSlots.h"
#include "dashboard/ItemDefaults.h"
#include "widgets/AppearanceEditor.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

namespace vekaton {
namespace {

using testing::DashboardFixture;
using testing::FindAction;

class DashboardItemsTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::TestApp(); }
};

TEST_F(DashboardItemsTest, EveryKindIsAddedWhereTheMenuOpenedWithNameIdAndFreshBinding) {
    DashboardFixture f;
    const struct {
        const char* entry;
        const char* name;
        const char* className;
    } kinds[] = {
        {"Label", "USERLABEL1", "TLabel"},
        {"Analog Meter", "USERANGULARGAUGE1", "TAngularGauge"},
        {"Thermometer", "USERTHERMOMETER1", "TThermometer"},
        {"LED Display", "USERSEVENSEGMENTANALOG1", "TSevenSegmentAnalog"},
        {"Numerical Display", "USERANALOGDISPLAY1", "TAnalogDisplay"},
        {"Digital LED", "USERLEDROUND1", "TLedRound"},
        {"Reset Min/Max Button", "USERRESETBUTTON1", "TButton"},
    };
    int expectedId = 1;
    for (const auto& kind : kinds) {
        const int id = f.AddItem(1, QPoint(137, 84), kind.entry);
        ASSERT_NE(id, 0) << kind.entry;
        if (std::string(kind.className) == "TLedRound") {
            ++expectedId;  // its panel came first
        }
        EXPECT_EQ(id, expectedId++) << kind.entry;
        const DashboardItem* item = f.Model().Find(id);
        EXPECT_EQ(item->name, kind.name);
        EXPECT_EQ(item->page, 1);
        const BindingEntry binding = f.Model().Binding(id);
        EXPECT_EQ(binding.position, 0);
        EXPECT_EQ(binding.bit, 0);
        EXPECT_EQ(binding.holdMode, 0);

        InstrumentWidget* widget = f.Widget(id);
        ASSERT_NE(widget, nullptr) << kind.entry;
        EXPECT_EQ(std::string(widget->ClassName()), kind.className);
        EXPECT_EQ(widget->objectName().toStdString(), kind.name);
        EXPECT_TRUE(widget->isVisibleTo(f.Dash().Page(1)));
        // Placed at the menu's point, rounded down to the grid of 10.
        const QWidget* placed = f.Widget(f.Dash().View().MovableItem(id));
        EXPECT_EQ(placed->parentWidget(), f.Dash().Page(1));
        EXPECT_EQ(placed->pos(), QPoint(130, 80)) << kind.entry;
    }
    // The panel of the digital LED, and the LED in it.
    const int led = *f.Model().FindByName("USERLEDROUND1");
    const int panel = f.Model().Find(led)->parentId;
    auto* panelWidget = qobject_cast<TPanel*>(f.Widget(panel));
    ASSERT_NE(panelWidget, nullptr);
    EXPECT_EQ(panelWidget->objectName(), "USERPANEL1");
    EXPECT_EQ(panelWidget->size(), QSize(60, 17));
    EXPECT_EQ(panelWidget->Caption(), "     Digital0");
    EXPECT_EQ(panelWidget->BevelStyle(), TPanel::kBevelNone);
    EXPECT_EQ(f.Widget(led)->parentWidget(), panelWidget);
    EXPECT_EQ(f.Widget(led)->pos(), QPoint(1, 1));
    EXPECT_EQ(f.Widget(led)->Property("ActiveColor"), PropertyValue::Colour(255));
    EXPECT_EQ(f.Widget(led)->Property("InactiveColor"), PropertyValue::Colour(0));
    EXPECT_EQ(f.Widget(led)->Property("AutoInactiveColor"), PropertyValue::Boolean(false));
    // A new angular gauge is yellow; a label says its name; the button "Reset".
    const int gauge = *f.Model().FindByName("USERANGULARGAUGE1");
    EXPECT_EQ(f.Widget(gauge)->Color(), 65535);
    EXPECT_EQ(f.Widget(*f.Model().FindByName("USERLABEL1"))->Property("Caption"),
              PropertyValue::String("USERLABEL1"));
    EXPECT_EQ(f.Widget(*f.Model().FindByName("USERRESETBUTTON1"))->Property("Caption"),
              PropertyValue::String("Reset"));

    // Counters per kind; the meter menu names the ID first.
    const int second = f.AddItem(0, QPoint(5, 5), "Analog Meter");
    EXPECT_EQ(f.Model().Find(second)->name, "USERANGULARGAUGE2");
    std::unique_ptr<QMenu> menu(f.Dash().BuildItemMenu(second));
    EXPECT_EQ(menu->objectName(), "MeterPopUp");
    EXPECT_EQ(menu->actions().first()->text(), QString("ID: %1, 0").arg(second));
    EXPECT_FALSE(menu->actions().first()->isEnabled());
    std::unique_ptr<QMenu> labelMenu(f.Dash().BuildItemMenu(1));
    EXPECT_EQ(labelMenu->objectName(), "LabelPopup");
    std::unique_ptr<QMenu> panelMenu(f.Dash().BuildItemMenu(panel));
    EXPECT_EQ(panelMenu->objectName(), "DummyPopUp");
    std::unique_ptr<QMenu> buttonMenu(
        f.Dash().BuildItemMenu(*f.Model().FindByName("USERRESETBUTTON1")));
    EXPECT_EQ(buttonMenu->objectName(), "ResetButtonPopUp");
    std::unique_ptr<QMenu> pageMenu(f.Dash().BuildPageMenu(0, QPoint(1, 1)));
    EXPECT_EQ(pageMenu->objectName(), "AddStuff");
    EXPECT_FALSE(FindAction(pageMenu.get(), "Paste")->isEnabled()) << "nothing copied yet";
}

TEST_F(DashboardItemsTest, RemovalHidesDetachesAndUndoBringsItBack) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(20, 20), "Analog Meter");
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        editor.SelectPosition(3);
        editor.accept();
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.ItemMenu(gauge, "Parameters"));
    ASSERT_TRUE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 3));

    ASSERT_TRUE(f.ItemMenu(gauge, "Remove Gauge"));
    InstrumentWidget* widget = f.Widget(gauge);
    ASSERT_NE(widget, nullptr) << "removed widgets are kept, not destroyed";
    EXPECT_TRUE(widget->isHidden());
    EXPECT_FALSE(widget->isEnabled());
    EXPECT_EQ(f.Model().Find(gauge), nullptr);
    EXPECT_EQ(f.Model().Items()[static_cast<std::size_t>(gauge - 1)].id, -1);
    EXPECT_FALSE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 3));
    EXPECT_TRUE(f.Model().NumberForSave().Ids().empty()) << "left out of a save";

    QAction* undo = FindAction(f.Dash().EditMenu(), "Undo");
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(FindAction(f.Dash().EditMenu(), "Redo")->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    undo->trigger();
    EXPECT_FALSE(widget->isHidden());
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(f.Model().Find(gauge)->name, "USERANGULARGAUGE1");
    EXPECT_TRUE(IsBoundAt(f.Window().Rooms().session.Table(), gauge, 3));
    FindAction(f.Dash().EditMenu(), "Redo")->trigger();
    EXPECT_TRUE(widget->isHidden());

    // A removed digital LED takes its panel along; undoing the add removes a new item.
    const int led = f.AddItem(0, QPoint(300, 300), "Digital LED");
    const int panel = f.Model().Find(led)->parentId;
    ASSERT_TRUE(f.ItemMenu(panel, "Remove Gauge"));
    EXPECT_EQ(f.Model().Find(led), nullptr);
    EXPECT_EQ(f.Model().Find(panel), nullptr);
    EXPECT_TRUE(f.Widget(panel)->isHidden());
    f.Dash().Undo().undo();
    EXPECT_NE(f.Model().Find(led), nullptr);
    f.Dash().Undo().undo();  // the add itself
    EXPECT_EQ(f.Model().Find(led), nullptr);
    EXPECT_TRUE(f.Widget(panel)->isHidden());
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardItemsTest, CopyPasteAndCaptionsAreOneUndoStepEach) {
    DashboardFixture f;
    const int display = f.AddItem(0, QPoint(10, 10), "Numerical Display");
    ASSERT_TRUE(f.ItemMenu(display, "Max"));
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<ParameterEditor&>(dialog);
        editor.SelectPosition(8);
        editor.accept();
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.ItemMenu(display, "Parameters"));
    f.Model().SetProperty(display, "Suffix", PropertyValue::String(" V"));
    ASSERT_TRUE(f.ItemMenu(display, "Copy"));

    const int copy = f.AddItem(2, QPoint(205, 117), "Paste");
    ASSERT_NE(copy, 0);
    EXPECT_EQ(f.Model().Find(copy)->name, "USERANALOGDISPLAY2");
    EXPECT_EQ(f.Model().Find(copy)->page, 2);
    EXPECT_EQ(f.Widget(copy)->pos(), QPoint(200, 110));
    EXPECT_EQ(f.Widget(copy)->Property("Suffix"), PropertyValue::String(" V"));
    EXPECT_EQ(f.Model().Binding(copy).position, 8);
    EXPECT_EQ(f.Model().Binding(copy).holdMode, kHoldMax);
    EXPECT_TRUE(IsBoundAt(f.Window().Rooms().session.Table(), copy, 8));
    f.Dash().Undo().undo();
    EXPECT_EQ(f.Model().Find(copy), nullptr);
    EXPECT_FALSE(IsBoundAt(f.Window().Rooms().session.Table(), copy, 8));

    // Captions of a label, a button and a LED's panel.
    const int label = f.AddItem(0, QPoint(10, 200), "Label");
    const int led = f.AddItem(0, QPoint(10, 240), "Digital LED");
    for (const auto& [id, text] : {std::pair{label, "Oil pressure"}, std::pair{led, "     Fan"}}) {
        f.Answer([text = QString(text)](QDialog& dialog) {
            static_cast<QInputDialog&>(dialog).setTextValue(text);
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(f.ItemMenu(id, "EditCaption"));
    }
    auto* labelWidget = qobject_cast<TLabel*>(f.Widget(label));
    EXPECT_EQ(labelWidget->Caption(), "Oil pressure");
    EXPECT_EQ(labelWidget->size(), labelWidget->sizeHint()) << "a label fits its new caption";
    const int panel = f.Model().Find(led)->parentId;
    EXPECT_EQ(qobject_cast<TPanel*>(f.Widget(panel))->Caption(), "     Fan");
    f.Dash().Undo().undo();
    EXPECT_EQ(qobject_cast<TPanel*>(f.Widget(panel))->Caption(), "     Digital0");
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardItemsTest, AppearanceIsEditedInTheWidgetsOwnEditorAndUndone) {
    DashboardFixture f;
    const int gauge = f.AddItem(0, QPoint(10, 10), "Analog Meter");
    f.Answer([](QDialog& dialog) {
        auto& editor = static_cast<AppearanceEditor&>(dialog);
        EXPECT_TRUE(editor.SetEditedValue("Caption", PropertyValue::String("Boost")));
        EXPECT_TRUE(editor.SetEditedValue("Maximum", PropertyValue::Float(250)));
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.ItemMenu(gauge, "Appearance"));
    EXPECT_EQ(f.Widget(gauge)->Property("Caption"), PropertyValue::String("Boost"));
    EXPECT_EQ(f.Widget(gauge)->Property("Maximum"), PropertyValue::Float(250));
    // The model holds it, as a layout file will.
    EXPECT_EQ(f.Model().Find(gauge)->properties.Find("Caption")->AsText(), "Boost");
    EXPECT_EQ(f.Model().Find(gauge)->properties, f.Widget(gauge)->ChangedStreamed());
    f.Dash().Undo().undo();
    EXPECT_EQ(f.Widget(gauge)->Property("Caption"), PropertyValue::String(""));
    EXPECT_EQ(f.Widget(gauge)->Color(), 65535) << "undo goes back to the new gauge's look";

    // A cancelled editor changes nothing and leaves no undo step.
    const int steps = f.Dash().Undo().count();
    f.Answer([](QDialog& dialog) {
        static_cast<AppearanceEditor&>(dialog).SetEditedValue("Caption",
                                                              PropertyValue::String("x"));
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(f.ItemMenu(gauge, "Appearance"));
    EXPECT_EQ(f.Dash().Undo().count(), steps);
    EXPECT_TRUE(f.AllAnswered());
}

TEST_F(DashboardItemsTest, ShiftDragMovesCtrlDragResizesOnTheGridAndUndoTakesItBack) {
    DashboardFixture f;
    f.Window().show();
    const int gauge = f.AddItem(0, QPoint(40, 40), "Analog Meter");
    InstrumentWidget* widget = f.Widget(gauge);
    ASSERT_EQ(widget->geometry(), QRect(40, 40, 180, 180));

    // Points are given in the widget's place when the drag starts, as the mouse sees them.
    QPoint origin;
    const auto send = [&](QEvent::Type type, QPoint local, Qt::KeyboardModifiers modifiers) {
        if (type == QEvent::MouseButtonPress) {
            origin = widget->mapToGlobal(QPoint(0, 0));
        }
        const QPointF point(local);
        QMouseEvent event(type, point, QPointF(origin + local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          modifiers);
        QApplication::sendEvent(widget, &event);
    };
    // Shift+drag by (33, 58): lands on the grid of 10.
    send(QEvent::MouseButtonPress, QPoint(50, 50), Qt::ShiftModifier);
    EXPECT_TRUE(f.Dash().Design().Dragging());
    send(QEvent::MouseMove, QPoint(83, 108), Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, QPoint(83, 108), Qt::ShiftModifier);
    EXPECT_FALSE(f.Dash().Design().Dragging());
    EXPECT_EQ(widget->pos(), QPoint(70, 100));
    EXPECT_EQ(GeometryOf(f.Model().Find(gauge)->properties), (ItemGeometry{70, 100, 180, 180}));

    // Ctrl+drag from inside: the bottom-right edge follows, on the grid.
    send(QEvent::MouseButtonPress, QPoint(170, 170), Qt::ControlModifier);
    send(QEvent::MouseMove, QPoint(214, 120), Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, QPoint(214, 120), Qt::ControlModifier);
    EXPECT_EQ(widget->geometry(), QRect(70, 100, 220, 130));

    // A finer grid, and aligning the page to it.
    f.Dash().Design().SetGridStep(25);
    EXPECT_TRUE(f.PageMenu(0, QPoint(), "AlignToGrid"));
    EXPECT_EQ(widget->pos(), QPoint(75, 100));

    QUndoStack& undo = f.Dash().Undo();
    undo.undo();
    EXPECT_EQ(widget->pos(), QPoint(70, 100));
    undo.undo();
    EXPECT_EQ(widget->size(), QSize(180, 180));
    undo.undo();
    EXPECT_EQ(widget->pos(), QPoint(40, 40));
    undo.redo();
    EXPECT_EQ(widget->pos(), QPoint(70, 100));

    // A plain click is no drag; the grid step stays within 1 to 100.
    send(QEvent::MouseButtonPress, QPoint(50, 50), Qt::NoModifier);
    EXPECT_FALSE(f.Dash().Design().Dragging());
    f.Dash().Design().SetGridStep(0);
    EXPECT_EQ(f.Dash().Design().GridStep(), 1);
    f.Dash().Design().SetGridStep(500);
    EXPECT_EQ(f.Dash().Design().GridStep(), 100);
}

TEST_F(DashboardItemsTest, PagesAreRenamedUndoablyAndThe500thItemIsTheLast) {
    DashboardFixture f;
    f.Answer([](QDialog& dialog) {
        static_cast<QInputDialog&>(dialog).setTextValue("Boost & fuel");
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(f.PageMenu(1, QPoint(), "RenamePage"));
    EXPECT_EQ(f.Window().Rooms().pages.tabText(1), "Boost && fuel");
    EXPECT_EQ(f.Model().PageCaption(1), "Boost & fuel");
    f.Dash().Undo().undo();
    EXPECT_EQ(f.Window().Rooms().pages.tabText(1), "Page 2");

    for (int i = 0; i < DashboardModel::kLastId; ++i) {
        ASSERT_TRUE(f.Model().AddItem(ItemKind::Label, 2));
    }
    EXPECT_EQ(f.AddItem(0, QPoint(), "Label"), 0);
    ASSERT_FALSE(f.Messages().isEmpty());
    EXPECT_TRUE(f.Messages().last().contains("500 items")) << f.Messages().last().toStdString();
}

}  // namespace
}  // namespace vekaton
