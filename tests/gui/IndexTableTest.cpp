// The rank letters of the index table.
#include <gtest/gtest.h>

#include "views/IndexTableView.h"

namespace furlong {
namespace {

TEST(IndexTable, RankLettersForTheTopFour) {
  EXPECT_EQ(RankLetter(1), "A");
  EXPECT_EQ(RankLetter(4), "D");
  EXPECT_EQ(RankLetter(5), " ");
  EXPECT_EQ(RankLetter(0), " ");
}

}  // namespace
}  // namespace furlong
