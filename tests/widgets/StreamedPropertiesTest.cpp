// The one interface every dashboard item widget offers a layout file: class name, the streamed
// properties with their defaults, export of what differs and import that rebuilds the item.
#include "WidgetTestSupport.h"
#include "widgets/AppearanceEditor.h"
#include "widgets/ItemWidgetFactory.h"
#include "widgets/TButton.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace vekaton {
namespace {

using testing::DistinctColours;
using testing::RenderWidget;

class EveryItemKind : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryItemKind, StreamsGeometryAndAppearanceButNoLiveReadings) {
    const auto widget = CreateItemWidget(GetParam());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->ClassName(), GetParam());
    const auto descriptors = widget->StreamedDescriptors();
    ASSERT_GE(descriptors.size(), 4u);
    EXPECT_EQ(descriptors[0].name, "Left");
    EXPECT_EQ(descriptors[3].name, "Height");
    for (const PropertyDescriptor& d : descriptors) {
        EXPECT_FALSE(InstrumentWidget::IsLiveProperty(d.name)) << d.name;
    }
    EXPECT_EQ(StreamedDescriptorsOf(GetParam()).size(), descriptors.size());

    widget->setGeometry(12, 34, 150, 90);
    const PropertyBag changed = widget->ChangedStreamed();
    // A widget at its defaults writes its geometry and nothing else.
    EXPECT_EQ(changed.Find("Left")->AsInteger(), 12);
    EXPECT_EQ(changed.Find("Top")->AsInteger(), 34);
    if (GetParam() != "TLabel") {  // a label sizes itself to its caption
        EXPECT_EQ(changed.Find("Width")->AsInteger(), 150);
        EXPECT_EQ(changed.Find("Height")->AsInteger(), 90);
        EXPECT_EQ(changed.Size(), 4u);
    }
}

TEST_P(EveryItemKind, WhatDiffersRebuildsTheItemAndTheRestGoesBackToDefaults) {
    const auto source = CreateItemWidget(GetParam());
    source->setGeometry(5, 6, 120, 80);
    // Change every other appearance property.
    int n = 0;
    for (const PropertyDescriptor& d : source->StreamedDescriptors()) {
        if (d.name == "Left" || d.name == "Top" || d.name == "Width" || d.name == "Height" ||
            n++ % 2 != 0) {
            continue;
        }
        if (d.Type() == PropertyType::Boolean) {
            source->SetProperty(d.name, PropertyValue::Boolean(!d.defaultValue.AsBoolean()));
        } else if (d.Type() == PropertyType::Colour) {
            source->SetProperty(d.name, PropertyValue::Colour(0x123456));
        } else if (d.Type() == PropertyType::String) {
            source->SetProperty(d.name, PropertyValue::String("Oil pressure"));
        }
    }
    const PropertyBag written = source->ChangedStreamed();

    const auto target = CreateItemWidget(GetParam());
    target->SetProperty("Color", PropertyValue::Colour(0x00FF00));  // to be undone by the import
    target->setGeometry(300, 300, 10, 10);
    EXPECT_TRUE(target->ImportStreamed(written).empty());
    EXPECT_EQ(target->ExportStreamed(), source->ExportStreamed()) << GetParam();

    // An empty bag: defaults everywhere, the natural size at the origin.
    target->ImportStreamed(PropertyBag{});
    EXPECT_EQ(target->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(target->size(), target->sizeHint());
    PropertyBag defaults = target->ChangedStreamed();
    for (const char* geometry : {"Width", "Height"}) {
        defaults.Remove(geometry);
    }
    EXPECT_TRUE(defaults.Empty()) << GetParam();
}

TEST_P(EveryItemKind, ImportLeavesLiveReadingsAloneAndReportsWhatItCannotUse) {
    const auto widget = CreateItemWidget(GetParam());
    const auto live = widget->Property("Position") ? "Position"
                      : widget->Property("Value")  ? "Value"
                                                   : "Active";
    const std::optional<PropertyValue> before = widget->Property(live);
    if (before) {
        widget->SetProperty(live, before->Type() == PropertyType::Boolean
                                      ? PropertyValue::Boolean(true)
                                      : PropertyValue::Float(1.0));
    }
    const std::optional<PropertyValue> reading = widget->Property(live);
    PropertyBag bag;
    bag.Set("Position", PropertyValue::Float(99.0));
    bag.Set("Width", PropertyValue::String("wide"));
    bag.Set("OnClick", PropertyValue::Identifier("Button1Click"));
    const auto skipped = widget->ImportStreamed(bag);
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), "Width"), skipped.end());
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), "OnClick"), skipped.end());
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), "Position"), skipped.end());
    EXPECT_EQ(widget->Property(live), reading);
}

INSTANTIATE_TEST_SUITE_P(Widgets, EveryItemKind, ::testing::ValuesIn(ItemWidgetClassNames()));

TEST(ItemWidgets, LabelSizesItselfToItsCaptionUnlessTold) {
    TLabel label;
    label.SetCaption("Coolant");
    const QSize shortText = label.size();
    label.SetCaption("Coolant temperature");
    EXPECT_GT(label.width(), shortText.width());
    EXPECT_EQ(label.size(), label.sizeHint());
    label.SetFontHeight(-30);
    EXPECT_GE(label.height(), 30);

    PropertyBag bag;
    bag.Set("Caption", PropertyValue::String("Fixed"));
    bag.Set("AutoSize", PropertyValue::Boolean(false));
    bag.Set("Width", PropertyValue::Integer(200));
    bag.Set("Height", PropertyValue::Integer(40));
    label.ImportStreamed(bag);
    EXPECT_EQ(label.size(), QSize(200, 40));
    bag.Set("AutoSize", PropertyValue::Boolean(true));
    label.ImportStreamed(bag);
    EXPECT_EQ(label.size(), label.sizeHint());
    EXPECT_GT(DistinctColours(RenderWidget(label)), 1) << "the caption is drawn";
}

TEST(ItemWidgets, ButtonClicksOnReleaseOverItAndByKeyboard) {
    TButton button;
    button.SetCaption("Reset");
    button.resize(75, 25);
    int clicks = 0;
    QObject::connect(&button, &TButton::clicked, [&clicks] { ++clicks; });
    const QPointF inside(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, inside, button.mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &press);
    EXPECT_TRUE(button.Pressed());
    QMouseEvent release(QEvent::MouseButtonRelease, inside, button.mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &release);
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(clicks, 1);

    // Released elsewhere: no click.
    QApplication::sendEvent(&button, &press);
    const QPointF outside(200, 10);
    QMouseEvent away(QEvent::MouseButtonRelease, outside, button.mapToGlobal(outside),
                     Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &away);
    EXPECT_EQ(clicks, 1);

    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&button, &space);
    EXPECT_EQ(clicks, 2);
    EXPECT_GT(DistinctColours(RenderWidget(button)), 2);
}

TEST(ItemWidgets, PanelDrawsItsBevelAndCaptionAndEditsLikeAnInstrument) {
    TPanel panel;
    panel.resize(120, 30);
    const QImage raised = RenderWidget(panel);
    panel.SetBevelStyle(TPanel::kBevelNone);
    panel.SetCaption("     Digital0");
    EXPECT_NE(RenderWidget(panel), raised);
    AppearanceEditor editor(panel);
    ASSERT_NE(editor.FieldOf("Caption"), nullptr);
    ASSERT_NE(editor.FieldOf("BevelOuter"), nullptr);
    EXPECT_EQ(editor.Preview().ClassName(), std::string("TPanel"));
    EXPECT_TRUE(editor.SetEditedValue("Caption", PropertyValue::String("Fan")));
    EXPECT_EQ(editor.Preview().Property("Caption"), PropertyValue::String("Fan"));
}

TEST(ItemWidgets, DimmedWidgetsAreWashedOut) {
    const auto gauge = CreateItemWidget("TAngularGauge");
    gauge->resize(120, 120);
    const QImage normal = RenderWidget(*gauge);
    gauge->SetDimmed(true);
    EXPECT_TRUE(gauge->Dimmed());
    const QImage dimmed = RenderWidget(*gauge);
    EXPECT_GT(testing::DifferingShare(normal, dimmed), 0.3);
    gauge->SetDimmed(false);
    EXPECT_EQ(RenderWidget(*gauge), normal);
}

}  // namespace
}  // namespace vekaton
