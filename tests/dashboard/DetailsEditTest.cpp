// What the parameter editor makes of a position's details, and how an edit of them is undone.
#include "dashboard/DetailsEdit.h"

#include <gtest/gtest.h>

#include "dashboard/BindingSlots.h"
#include "dashboard/ParameterEdit.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

TEST(DetailsEdit, AnAnalogEditLeavesTheBitsAndADigitalOneThePositionAlone) {
    DetailsTable table;
    table.At(7).unit = "V";
    table.AtBit(7, 2).alarm = true;

    DetailsEdit edit = DetailsEditOf(table, 7);
    EXPECT_EQ(edit.position.unit, "V");
    EXPECT_TRUE(edit.bits[2].alarm);
    edit.position.unit = "kPa";
    edit.bits[2].alarm = false;
    ApplyDetailsEdit(table, 7, false, edit);
    EXPECT_EQ(table.Find(7)->unit, "kPa");
    ASSERT_NE(table.FindBit(7, 2), nullptr) << "the bits wait for the position to turn digital";

    ApplyDetailsEdit(table, 7, true, edit);
    EXPECT_EQ(table.FindBit(7, 2), nullptr) << "a bit back at its defaults has no section";
    EXPECT_EQ(table.Find(7)->unit, "kPa");

    edit.position = PositionDetails{};
    ApplyDetailsEdit(table, 7, false, edit);
    EXPECT_EQ(table.Find(7), nullptr);

    // Keys the program does not know ride along with the edit.
    table.At(9).unknownKeys = {{"colour", "blue"}};
    DetailsEdit kept = DetailsEditOf(table, 9);
    kept.position.unit = "%";
    ApplyDetailsEdit(table, 9, false, kept);
    EXPECT_EQ(table.Find(9)->unknownKeys.size(), 1u);
}

TEST(DetailsEdit, ChangesCountOnlyForTheHalfThatApplies) {
    DetailsEdit before;
    DetailsEdit after = before;
    after.bits[5].activeWhenClear = true;
    EXPECT_FALSE(DetailsEditChanges(before, after, false));
    EXPECT_TRUE(DetailsEditChanges(before, after, true));
    after = before;
    after.position.warnHigh = 110;
    EXPECT_TRUE(DetailsEditChanges(before, after, false));
    EXPECT_FALSE(DetailsEditChanges(before, after, true));
}

TEST(DetailsEdit, ChecksRangeLimitsAndDecimals) {
    PositionDetails d;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::None);
    d.displayMin = 0;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::RangeHalf);
    d.displayMax = 0;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::RangeEmpty);
    d.displayMax = 8000;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::None);
    d.warnLow = 600;
    d.warnHigh = 600;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::WarningsCrossed);
    d.warnHigh = 6000;
    d.decimals = 16;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::DecimalsOutside);
    d.decimals = 15;
    EXPECT_EQ(CheckDetails(d), DetailsProblem::None);
}

TEST(DetailsEdit, NumbersReadAsTypedAndWriteBackTheSame) {
    std::optional<double> value = 3.0;
    EXPECT_TRUE(ParseOptionalNumber("  ", &value));
    EXPECT_FALSE(value.has_value()) << "an empty field is no number";
    EXPECT_TRUE(ParseOptionalNumber(" -40 ", &value));
    EXPECT_EQ(value, -40.0);
    EXPECT_TRUE(ParseOptionalNumber("+0.75", &value));
    EXPECT_EQ(value, 0.75);
    for (const char* bad : {"1,5", "12 V", "inf", "nan", "--1", "0x10", "1e999"}) {
        std::optional<double> untouched = 7.0;
        EXPECT_FALSE(ParseOptionalNumber(bad, &untouched)) << bad;
        EXPECT_EQ(untouched, 7.0) << bad;
    }
    for (const double number : {0.1, -40.0, 5200.5, 1e-7, 65535.0}) {
        std::optional<double> back;
        ASSERT_TRUE(ParseOptionalNumber(DetailNumberText(number), &back));
        EXPECT_EQ(back, number);
    }
    EXPECT_EQ(DetailNumberText(110.0), "110");
}

TEST(DetailsEdit, ValueNamesReadLineByLineAndNameTheLineThatCannot) {
    const ValueNamesRead read = ParseValueNames("0 = Park\r\n\n 1=Reverse \n-1 = no signal\n");
    EXPECT_EQ(read.badLine, 0);
    ASSERT_EQ(read.names.size(), 3u);
    EXPECT_EQ(read.names[1], (ValueName{1, "Reverse"}));
    EXPECT_EQ(read.names[2], (ValueName{-1, "no signal"}));
    EXPECT_EQ(ValueNamesText(read.names), "0 = Park\n1 = Reverse\n-1 = no signal");
    EXPECT_EQ(ParseValueNames(ValueNamesText(read.names)).names, read.names);

    EXPECT_EQ(ParseValueNames("0 = Park\n1.5 = Half").badLine, 2);
    EXPECT_EQ(ParseValueNames("0 = Park\n\n2 =").badLine, 3);
    EXPECT_EQ(ParseValueNames("Park").badLine, 1);
    const ValueNamesRead twice = ParseValueNames("2 = Drive\n2 = Low");
    EXPECT_EQ(twice.badLine, 2);
    EXPECT_TRUE(twice.names.empty());
    EXPECT_EQ(ParseValueNames("").names.size(), 0u);
}

TEST(DetailsEdit, AParameterEditCarriesItsDetailsAndASnapshotPutsThemBack) {
    ParameterTable table;
    FormulaFrontEnd formulas;
    DashboardModel model;
    Decoder decoder{table, formulas};
    decoder.SetItems(&model);
    DetailsTable details;
    details.At(4).unit = "rpm";
    details.AtBit(4, 1).alarm = true;

    ParameterEdit edit;
    edit.position = 4;
    edit.definition.descriptions[0] = "Coolant";
    edit.definition.byteCount = 1;
    edit.definition.formula = "A*0.75-40";
    DetailsEdit changed = DetailsEditOf(details, 4);
    changed.position.unit = "\u00b0C";
    changed.position.warnHigh = 110;
    edit.details = changed;

    const BindingSnapshot before = BindingSnapshot::Take(table, model, {4}, &details);
    ApplyParameterEdit(table, decoder, model, edit, &details);
    const BindingSnapshot after = BindingSnapshot::Take(table, model, {4}, &details);
    EXPECT_EQ(details.Find(4)->unit, "\u00b0C");
    EXPECT_EQ(details.Find(4)->warnHigh, 110.0);

    // An edit without details leaves them as they are.
    edit.details.reset();
    edit.definition.formula = "A-40";
    ApplyParameterEdit(table, decoder, model, edit, &details);
    EXPECT_EQ(details.Find(4)->unit, "\u00b0C");

    details.Erase(4);
    details.EraseBit(4, 1);
    before.Restore(table, model, &details);
    EXPECT_EQ(details.Find(4)->unit, "rpm");
    EXPECT_FALSE(details.Find(4)->warnHigh.has_value());
    ASSERT_NE(details.FindBit(4, 1), nullptr);
    EXPECT_TRUE(details.FindBit(4, 1)->alarm);
    after.Restore(table, model, &details);
    EXPECT_EQ(details.Find(4)->warnHigh, 110.0);
    EXPECT_EQ(table.At(4).Formula(), "A*0.75-40");

    // A position that had no details has none again after undo.
    const BindingSnapshot empty = BindingSnapshot::Take(table, model, {12}, &details);
    details.At(12).unit = "V";
    empty.Restore(table, model, &details);
    EXPECT_EQ(details.Find(12), nullptr);
}

}  // namespace
}  // namespace vekaton
