// Tables keep the model's 1-based, first-index-fastest layout, so that one
// block read through another shape sees the same numbers.
#include "model/State.h"

#include <gtest/gtest.h>

using vx::model::TChars;
using vx::model::TTable;

TEST(Table, FirstIndexRunsFastestFromOne) {
    TTable<int, 3, 2, 2> table;
    for (std::size_t k = 1; k <= table.size(); ++k) table.Flat(k) = int(k);
    EXPECT_EQ(table(1, 1, 1), 1);
    EXPECT_EQ(table(2, 1, 1), 2);
    EXPECT_EQ(table(1, 2, 1), 4);
    EXPECT_EQ(table(1, 1, 2), 7);
    EXPECT_EQ(table(3, 2, 2), 12);
}

TEST(Table, MonthTablesAliasAsTheReferenceReadsThem) {
    vx::model::TMonthTables two;
    two.p(5, 7, 7) = 1.5f; // the aurora map, third dimension 7
    two.abp(2, 8) = 2.5f;  // the absorption map, columns 7..9
    const float *p = two.p.data();
    EXPECT_EQ(p[(7 - 1) * 29 * 16 + (7 - 1) * 29 + (5 - 1)], 1.5f);
    EXPECT_EQ(two.abp.data()[(8 - 1) * 2 + 1], 2.5f);
}

TEST(Table, CharsAreCutAndPaddedWithBlanks) {
    TChars<4> text;
    EXPECT_EQ(text.View(), "    ");
    text = "F2F2F2";
    EXPECT_EQ(text.View(), "F2F2");
    text = "E";
    EXPECT_EQ(text.View(), "E   ");
}
