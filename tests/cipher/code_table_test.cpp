#include "code_table.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(CodeTable, StartsZeroAndChecksEveryIndex) {
  CodeTable table;
  EXPECT_EQ(table.At(0), 0);
  EXPECT_EQ(table.At(150), 0);
  EXPECT_EQ(table.At(300), 0);
  table.Set(300, 0xAB);
  EXPECT_EQ(table.At(300), 0xAB);
  EXPECT_EQ(table.At(299), 0);
  EXPECT_FALSE(table.At(301));
  EXPECT_FALSE(table.At(-1));
  EXPECT_FALSE(table.Set(301, 1));
  EXPECT_FALSE(table.Set(-300, 1));
  EXPECT_FALSE(table.Set(1L << 30, 1));
  EXPECT_EQ(table.At(300), 0xAB);
}

}  // namespace
}  // namespace quorvel
