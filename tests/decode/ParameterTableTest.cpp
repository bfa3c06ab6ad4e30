#include "decode/ParameterTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vekaton {
namespace {

TEST(ParameterTable, AccessIsCheckedAtBothEnds) {
    ParameterTable table;
    EXPECT_NO_THROW(table.At(1));
    EXPECT_NO_THROW(table.At(500));
    EXPECT_THROW(table.At(0), std::out_of_range);
    EXPECT_THROW(table.At(501), std::out_of_range);
    EXPECT_EQ(table.Find(-7), nullptr);
    EXPECT_EQ(table.Find(501), nullptr);
    EXPECT_NE(table.Find(500), nullptr);
    EXPECT_NE(&table.At(1), &table.At(2));
}

TEST(ParameterTable, ResetRestoresDefinitionsButKeepsBindingsAndBits) {
    ParameterTable table;
    ParameterRecord& record = table.At(42);
    record.Descriptions[0] = "RPM";
    record.Descriptions[7] = "Fan";
    record.RawByte = 9;
    record.SetFormula("A*25");
    record.ChartColour = 255;
    record.Value = 225.0;
    record.ByteCount = 2;
    record.IsDigital = true;
    record.BoundItems[0] = 12;
    record.Bits[3] = true;

    table.Reset();
    EXPECT_EQ(record.Descriptions[0], "");
    EXPECT_EQ(record.Descriptions[7], "");
    EXPECT_EQ(record.RawByte, 0);
    EXPECT_EQ(record.Formula(), "");
    EXPECT_EQ(record.ChartColour, 0);
    EXPECT_EQ(record.Value, 0.0);
    EXPECT_EQ(record.ByteCount, 1);
    EXPECT_FALSE(record.IsDigital);
    EXPECT_EQ(record.BoundItems[0], 12);
    EXPECT_TRUE(record.Bits[3]);

    table.ClearBindings();
    EXPECT_EQ(record.BoundItems[0], 0);
}

TEST(ParameterTable, EveryFormulaChangeRaisesTheRevision) {
    ParameterRecord record;
    const auto before = record.FormulaRevision();
    record.SetFormula("A");
    record.SetFormula("A");
    EXPECT_EQ(record.FormulaRevision(), before + 2);
    EXPECT_EQ(record.Formula(), "A");
}

}  // namespace
}  // namespace vekaton
