// How dashboard items are named to a person, in undo texts and titles.
#include "dashboard/ItemWords.h"

#include <gtest/gtest.h>

#include "dashboard/DashboardModel.h"

namespace vekaton {
namespace {

TEST(ItemWords, ItemsAreNamedByKindAndNumberOrByTheirCaption) {
    DashboardModel model;
    const int gauge = *model.CreateGauge("USERANGULARGAUGE6", 0);
    EXPECT_EQ(ItemDisplayName(*model.Find(gauge)), "Analog Meter 6");
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 0);
    EXPECT_EQ(ItemDisplayName(*model.Find(display)), "Numerical Display 1");
    const int segments = *model.AddItem(ItemKind::SevenSegmentAnalog, 0);
    EXPECT_EQ(ItemDisplayName(*model.Find(segments)), "LED Display 1");

    const int label = *model.AddItem(ItemKind::Label, 0);
    EXPECT_EQ(ItemDisplayName(*model.Find(label)), "Label 1") << "its caption is its name";
    model.SetProperty(label, "Caption", PropertyValue::String("  Oil pressure"));
    EXPECT_EQ(ItemDisplayName(*model.Find(label)), "Label \"Oil pressure\"");
    model.SetProperty(label, "Caption",
                      PropertyValue::String("\u00c9" + std::string(40, 'x')));  // long, UTF-8
    const std::string cut = ItemDisplayName(*model.Find(label));
    EXPECT_EQ(cut.substr(cut.size() - 4), "...\"");
    EXPECT_LT(cut.size(), 50u);

    // The stored names are untouched.
    EXPECT_EQ(model.Find(gauge)->name, "USERANGULARGAUGE6");
    EXPECT_EQ(ClassLabel("TAngularGauge"), "Analog Meter");
    EXPECT_EQ(ClassLabel("TStripChart"), "");
}

}  // namespace
}  // namespace vekaton
