// Editing a position's definition together with the items that show it.
#include <gtest/gtest.h>

#include "dashboard/BindingSlots.h"
#include "dashboard/ParameterEdit.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

class ParameterEditTest : public ::testing::Test {
  protected:
    ParameterEditTest() { decoder_.SetItems(&model_); }

    ParameterEdit Analog(int position, const std::string& description, int bytes,
                         const std::string& formula = "A*1") {
        ParameterEdit edit;
        edit.position = position;
        edit.definition.descriptions[0] = description;
        edit.definition.byteCount = bytes;
        edit.definition.formula = formula;
        return edit;
    }

    ParameterTable table_;
    FormulaFrontEnd formulas_;
    DashboardModel model_;
    Decoder decoder_{table_, formulas_};
};

TEST_F(ParameterEditTest, AnItemIsBoundAtTheLastByteOfItsValue) {
    const int gauge = *model_.AddItem(ItemKind::AngularGauge, 0);
    ParameterEdit edit = Analog(4, "Engine speed", 2, "A*256+B");
    edit.itemId = gauge;
    ASSERT_EQ(CheckParameterEdit(table_, model_, edit).problem, EditProblem::None);
    EXPECT_EQ(CheckParameterEdit(table_, model_, edit).lastPosition, 5);
    ApplyParameterEdit(table_, decoder_, model_, edit);
    EXPECT_EQ(model_.Binding(gauge).position, 4);
    EXPECT_TRUE(IsBoundAt(table_, gauge, 5));
    EXPECT_FALSE(IsBoundAt(table_, gauge, 4));
    EXPECT_EQ(table_.At(4).Formula(), "A*256+B");
    EXPECT_EQ(table_.At(4).ByteCount, 2);

    // Bytes through the decoder reach the gauge at the value's last byte.
    decoder_.StartFrame();
    decoder_.DecodeByte(4, 0x12);
    decoder_.DecodeByte(5, 0x34);
    EXPECT_EQ(model_.Find(gauge)->position, 4660.0);

    // Moved to another position: gone from the old last byte.
    ParameterEdit move = Analog(9, "Spark", 1, "A/2-10");
    move.itemId = gauge;
    ApplyParameterEdit(table_, decoder_, model_, move);
    EXPECT_FALSE(IsBoundAt(table_, gauge, 5));
    EXPECT_TRUE(IsBoundAt(table_, gauge, 9));
    EXPECT_EQ(model_.Binding(gauge).position, 9);
}

TEST_F(ParameterEditTest, ChangingTheByteCountMovesEveryItemOfThePosition) {
    const int a = *model_.AddItem(ItemKind::AngularGauge, 0);
    const int b = *model_.AddItem(ItemKind::AnalogDisplay, 0);
    const int other = *model_.AddItem(ItemKind::Thermometer, 0);
    decoder_.BindItem(a, 12);
    decoder_.BindItem(b, 12);
    decoder_.BindItem(other, 14);
    ApplyParameterEdit(table_, decoder_, model_, Analog(12, "Injector", 2, "(A*256+B)/1000"));
    EXPECT_EQ(ItemsBoundAt(table_, 13), (std::vector<int>{a, b}));
    EXPECT_TRUE(ItemsBoundAt(table_, 12).empty());
    ApplyParameterEdit(table_, decoder_, model_, Analog(12, "Injector", 3, "(A*256+B)/1000"));
    EXPECT_EQ(ItemsBoundAt(table_, 14), (std::vector<int>{other, a, b}));
    EXPECT_TRUE(ItemsBoundAt(table_, 13).empty());
    ApplyParameterEdit(table_, decoder_, model_, Analog(12, "Injector", 1));
    EXPECT_EQ(ItemsBoundAt(table_, 12), (std::vector<int>{a, b}));
    EXPECT_EQ(model_.Binding(a).position, 12);
}

TEST_F(ParameterEditTest, WhatTheFileCouldNotHoldIsRefused) {
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(3, "Throttle, %", 1)).problem,
              EditProblem::CommaInDescription);
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(3, "", 1)).problem,
              EditProblem::DescriptionMissing);
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(3, "", 1, "")).problem, EditProblem::None)
        << "clearing a definition is fine";
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(499, "Wide", 3)).problem,
              EditProblem::ByteCountOutside);
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(499, "Wide", 0)).problem,
              EditProblem::ByteCountOutside);
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(0, "Nowhere", 1)).problem,
              EditProblem::PositionOutside);

    // Bit descriptions may hold commas; a digital position is one byte whatever was typed.
    ParameterEdit flags;
    flags.position = 500;
    flags.definition.isDigital = true;
    flags.definition.byteCount = 7;
    flags.definition.descriptions[3] = "Fan on, high speed";
    EXPECT_EQ(CheckParameterEdit(table_, model_, flags).problem, EditProblem::None);
    const int led = *model_.AddItem(ItemKind::LedRound, 0);
    flags.itemId = led;
    flags.bit = 8;
    EXPECT_EQ(CheckParameterEdit(table_, model_, flags).problem, EditProblem::BitOutside);
    flags.bit = 3;
    ApplyParameterEdit(table_, decoder_, model_, flags);
    EXPECT_EQ(table_.At(500).ByteCount, 1);
    EXPECT_TRUE(IsBoundAt(table_, led, 500));
    EXPECT_EQ(model_.Binding(led).bit, 3);
    decoder_.DecodeByte(500, 0x08);
    EXPECT_TRUE(model_.Find(led)->active);
    decoder_.DecodeByte(500, 0xF7);
    EXPECT_FALSE(model_.Find(led)->active);
}

TEST_F(ParameterEditTest, AFullPositionIsReportedInsteadOfLeavingTheItemUnbound) {
    for (int i = 0; i < 14; ++i) {
        decoder_.BindItem(*model_.AddItem(ItemKind::AnalogDisplay, 0), 7);
    }
    const int late = *model_.AddItem(ItemKind::AngularGauge, 0);
    ParameterEdit edit = Analog(7, "Oxygen", 1);
    edit.itemId = late;
    const EditCheck check = CheckParameterEdit(table_, model_, edit);
    EXPECT_EQ(check.problem, EditProblem::SlotsFull);
    EXPECT_EQ(check.lastPosition, 7);
    // An item already listed there may stay; the others' definition can still change.
    edit.itemId = ItemsBoundAt(table_, 7).front();
    EXPECT_EQ(CheckParameterEdit(table_, model_, edit).problem, EditProblem::None);
    // Widening position 6 onto the full 7 would strand its item.
    decoder_.BindItem(late, 6);
    EXPECT_EQ(CheckParameterEdit(table_, model_, Analog(6, "Map", 2)).problem,
              EditProblem::SlotsFull);
}

TEST_F(ParameterEditTest, ASnapshotPutsDefinitionsAndBindingsBack) {
    const int gauge = *model_.AddItem(ItemKind::AngularGauge, 0);
    decoder_.BindItem(gauge, 4);
    table_.At(4).Descriptions[0] = "Speed";
    table_.At(4).SetFormula("A*1");
    const BindingSnapshot before = BindingSnapshot::Take(table_, model_, {4});

    ParameterEdit edit = Analog(4, "Engine speed", 2, "A*256+B");
    edit.itemId = gauge;
    ApplyParameterEdit(table_, decoder_, model_, edit);
    const BindingSnapshot after = BindingSnapshot::Take(table_, model_, {4});

    before.Restore(table_, model_);
    EXPECT_EQ(table_.At(4).Descriptions[0], "Speed");
    EXPECT_EQ(table_.At(4).Formula(), "A*1");
    EXPECT_EQ(table_.At(4).ByteCount, 1);
    EXPECT_TRUE(IsBoundAt(table_, gauge, 4));
    EXPECT_FALSE(IsBoundAt(table_, gauge, 5));
    after.Restore(table_, model_);
    EXPECT_EQ(table_.At(4).ByteCount, 2);
    EXPECT_TRUE(IsBoundAt(table_, gauge, 5));
    EXPECT_EQ(model_.Binding(gauge).position, 4);
}

}  // namespace
}  // namespace vekaton
