#include "WidgetTestSupport.h"
#include "widgets/AppearanceEditor.h"
#include "widgets/InstrumentFactory.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vekaton {
namespace {

using testing::DifferingShare;
using testing::RenderWidget;

TEST(AppearanceEditor, OffersAnInputForEveryPropertyOfEveryKind) {
    for (const std::string& kind : InstrumentClassNames()) {
        const auto widget = CreateInstrument(kind);
        AppearanceEditor editor(*widget);
        for (const PropertyDescriptor& d : widget->Descriptors()) {
            EXPECT_NE(editor.FieldOf(d.name), nullptr) << kind << " " << d.name;
        }
        EXPECT_EQ(editor.EditedProperties(), widget->ExportProperties()) << kind;
        EXPECT_EQ(editor.Preview().ExportProperties(), widget->ExportProperties()) << kind;
    }
}

// The label the editor shows beside a property's input.
QLabel* LabelFor(const AppearanceEditor& editor, const std::string& name) {
    for (QLabel* label : editor.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->buddy() == editor.FieldOf(name)) {
            return label;
        }
    }
    return nullptr;
}

TEST(AppearanceEditor, EveryPropertyAndChoiceReadsAsWordsWhileTheStoredNamesStay) {
    // Code-like text: a small letter followed by a capital ("NeedleColor"), a letter glued to a
    // digit ("Section1"), or an enumeration's prefix ("taRightJustify", "clBlack", "bvLowered").
    const QRegularExpression codeLike(
        "[a-z][A-Z]|[A-Za-z][0-9]|^(ta|bv|cl|fs|or)[A-Z]|\\bColor\\b");
    for (const std::string& kind : InstrumentClassNames()) {
        const auto widget = CreateInstrument(kind);
        AppearanceEditor editor(*widget);
        EXPECT_FALSE(editor.windowTitle().contains(codeLike)) << editor.windowTitle().toStdString();
        for (const PropertyDescriptor& d : widget->Descriptors()) {
            const QLabel* label = LabelFor(editor, d.name);
            ASSERT_NE(label, nullptr) << kind << " " << d.name;
            EXPECT_FALSE(label->text().contains(codeLike))
                << kind << " " << d.name << ": " << label->text().toStdString();
            EXPECT_EQ(label->toolTip().toStdString(), d.name) << "the stored name, for experts";
        }
        for (const QComboBox* box : editor.findChildren<QComboBox*>()) {
            if (qobject_cast<const QFontComboBox*>(box) != nullptr) {
                continue;
            }
            for (int i = 0; i < box->count(); ++i) {
                EXPECT_FALSE(box->itemText(i).contains(codeLike))
                    << kind << ": " << box->itemText(i).toStdString();
            }
        }
        for (const QToolButton* button : editor.findChildren<QToolButton*>()) {
            // A colour without a name shows as #RRGGBB beside its swatch, as pickers do.
            if (button->menu() != nullptr && !button->text().startsWith('#')) {
                EXPECT_FALSE(button->text().contains(codeLike))
                    << kind << ": " << button->text().toStdString();
            }
        }
    }
}

TEST(AppearanceEditor, TheWordsShownPickTheValuesTheLayoutStores) {
    TAnalogDisplay display;
    AppearanceEditor editor(display);
    EXPECT_EQ(LabelFor(editor, "Alignment")->text(), "Text alignment");
    EXPECT_EQ(LabelFor(editor, "BevelOuter")->text(), "Bevel");
    auto* alignment = qobject_cast<QComboBox*>(editor.FieldOf("Alignment"));
    ASSERT_NE(alignment, nullptr);
    alignment->setCurrentIndex(alignment->findText("Right"));
    EXPECT_EQ(*editor.EditedProperties().Find("Alignment"),
              PropertyValue::Identifier("taRightJustify"));
    auto* bevel = qobject_cast<QComboBox*>(editor.FieldOf("BevelOuter"));
    bevel->setCurrentIndex(bevel->findText("Lowered"));
    EXPECT_EQ(*editor.EditedProperties().Find("BevelOuter"),
              PropertyValue::Identifier("bvLowered"));
    // A value the item holds already shows as its words.
    TAnalogDisplay centred;
    centred.SetProperty("Alignment", PropertyValue::Identifier("taCenter"));
    AppearanceEditor centredEditor(centred);
    EXPECT_EQ(qobject_cast<QComboBox*>(centredEditor.FieldOf("Alignment"))->currentText(),
              "Centre");

    TAngularGauge gauge;
    gauge.SetColor(*ColourFromIdentifier("clBlack"));
    AppearanceEditor gaugeEditor(gauge);
    EXPECT_EQ(LabelFor(gaugeEditor, "Section1Start")->text(), "Section 1 start");
    EXPECT_EQ(LabelFor(gaugeEditor, "NeedleColor")->text(), "Needle colour");
    EXPECT_EQ(qobject_cast<QToolButton*>(gaugeEditor.FieldOf("Color"))->text(), "Black");
    EXPECT_FALSE(qobject_cast<QToolButton*>(gaugeEditor.FieldOf("Color"))->icon().isNull())
        << "a swatch beside the name";
    EXPECT_EQ(gaugeEditor.windowTitle(), "Analog Meter appearance");
}

TEST(AppearanceEditor, EditsShowInThePreviewOnly) {
    TAngularGauge gauge;
    gauge.SetCaption("Oil");
    AppearanceEditor editor(gauge);
    const QImage before = RenderWidget(editor.Preview());

    // Typed into the caption field.
    auto* caption = qobject_cast<QLineEdit*>(editor.FieldOf("Caption"));
    ASSERT_NE(caption, nullptr);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    QApplication::sendEvent(caption, &typed);
    EXPECT_EQ(editor.EditedProperties().Find("Caption")->AsText(), "Oils");
    EXPECT_EQ(editor.Preview().Property("Caption"), PropertyValue::String("Oils"));

    // A colour from the button's menu, a check box and a spin box.
    auto* face = qobject_cast<QToolButton*>(editor.FieldOf("Color"));
    ASSERT_NE(face, nullptr);
    for (QAction* action : face->menu()->actions()) {
        if (action->text() == "Yellow") {
            action->trigger();
        }
    }
    EXPECT_EQ(editor.EditedProperties().Find("Color")->AsColour(), 65535);
    qobject_cast<QCheckBox*>(editor.FieldOf("ShowValue"))->click();
    EXPECT_FALSE(editor.EditedProperties().Find("ShowValue")->AsBoolean());
    qobject_cast<QSpinBox*>(editor.FieldOf("MajorTicks"))->setValue(8);
    EXPECT_EQ(editor.Preview().Property("MajorTicks"), PropertyValue::Integer(8));

    EXPECT_GT(DifferingShare(before, RenderWidget(editor.Preview())), 0.05);
    EXPECT_EQ(gauge.Caption(), "Oil");
    EXPECT_EQ(gauge.Color(), RgbColour(255, 255, 255));
}

TEST(AppearanceEditor, ShowsAdjustmentsTheWidgetMakes) {
    TAngularGauge gauge;
    AppearanceEditor editor(gauge);
    EXPECT_TRUE(editor.SetEditedValue("Minimum", PropertyValue::Integer(500)));
    EXPECT_EQ(*editor.EditedProperties().Find("Maximum"), PropertyValue::Float(500));
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor.FieldOf("Maximum"))->text(), "500");
    EXPECT_TRUE(editor.SetEditedValue("MajorTicks", PropertyValue::Integer(999)));
    EXPECT_EQ(qobject_cast<QSpinBox*>(editor.FieldOf("MajorTicks"))->value(), 50);
    EXPECT_FALSE(editor.SetEditedValue("Nothing", PropertyValue::Integer(1)));
    EXPECT_FALSE(editor.SetEditedValue("Caption", PropertyValue::Float(1)));

    editor.RestoreDefaults();
    EXPECT_EQ(editor.EditedProperties(), DefaultProperties(gauge.Descriptors()));
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor.FieldOf("Maximum"))->text(), "100");
}

// Runs a step on the appearance editor once its dialog is open.
void WhenEditorOpens(std::function<void(AppearanceEditor&)> step) {
    QTimer::singleShot(0, [step] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* editor = qobject_cast<AppearanceEditor*>(top);
                editor && editor->isVisible()) {
                step(*editor);
                return;
            }
        }
        ADD_FAILURE() << "no editor open";
    });
}

TEST(AppearanceEditor, AcceptingAppliesAndCancellingKeeps) {
    TAngularGauge gauge;
    int edited = 0;
    QObject::connect(&gauge, &InstrumentWidget::AppearanceEdited, [&edited] { ++edited; });

    WhenEditorOpens([](AppearanceEditor& editor) {
        editor.SetEditedValue("Caption", PropertyValue::String("Boost"));
        editor.reject();
    });
    EXPECT_FALSE(gauge.EditAppearance());
    EXPECT_EQ(gauge.Caption(), "");

    WhenEditorOpens([](AppearanceEditor& editor) {
        editor.SetEditedValue("Caption", PropertyValue::String("Boost"));
        editor.SetEditedValue("Maximum", PropertyValue::Float(2.5));
        editor.accept();
    });
    EXPECT_TRUE(gauge.EditAppearance());
    EXPECT_EQ(gauge.Caption(), "Boost");
    EXPECT_EQ(gauge.Maximum(), 2.5);
    EXPECT_EQ(edited, 1);
}

}  // namespace
}  // namespace vekaton
