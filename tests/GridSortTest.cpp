#include "analysis/GridSort.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "store/Encoding.h"
#include "store/TextFormat.h"

namespace furlong {
namespace {

using VerificationRows = std::array<VerificationRow, kRunnerSlots>;
using PredictionRows = std::array<PredictionRow, kRunnerSlots>;

// Rows with horse number i + 1 and the given texts in one column.
std::unique_ptr<VerificationRows> Rows(int column, const std::vector<std::string>& texts) {
  auto rows = std::make_unique<VerificationRows>();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    (*rows)[i][kVerHorse] = FormatInt(static_cast<int>(i) + 1, 2);
    (*rows)[i][kVerName] = "name" + std::to_string(i + 1);
    (*rows)[i][column] = texts[i];
  }
  return rows;
}

std::vector<int> HorseOrder(const VerificationRows& rows, int count) {
  std::vector<int> order;
  for (int i = 0; i < count; ++i) order.push_back(std::stoi(rows[i][kVerHorse]));
  return order;
}

TEST(GridSort, DevelopmentAscendingPutsDashesLastAndTiesInHorseOrder) {
  const std::string dash = SJ("―");
  auto rows = Rows(kVerDevelopment, {dash, " 12.5", "  3.0", dash, " 12.5", "  9.9"});
  // Scramble so that the horse-number tie rule has work to do.
  std::swap((*rows)[1], (*rows)[4]);
  SortGridRows(*rows, 6, VerificationSortKey(VerificationSort::kDevelopment));
  EXPECT_EQ(HorseOrder(*rows, 6), (std::vector<int>{3, 6, 2, 5, 1, 4}));
  // Rows move whole.
  EXPECT_EQ((*rows)[0][kVerName], "name3");
}

TEST(GridSort, TotalDescendingOrdersByValueWithBlanksLast) {
  auto rows = Rows(kVerTotal, {" 70.0", "     ", " -5.0", " 80.0", "  3.0", " 70.0"});
  SortGridRows(*rows, 6, VerificationSortKey(VerificationSort::kTotal));
  EXPECT_EQ(HorseOrder(*rows, 6), (std::vector<int>{4, 1, 6, 5, 3, 2}));
}

TEST(GridSort, FinishAscendingListsRunnersWithoutAResultFirst) {
  const std::string dash = SJ("―");
  auto rows = Rows(kVerFinish, {" 2", "  ", dash, " 1", "10", "  ", " 3"});
  SortGridRows(*rows, 7, VerificationSortKey(VerificationSort::kFinish));
  EXPECT_EQ(HorseOrder(*rows, 7), (std::vector<int>{2, 6, 4, 1, 7, 5, 3}));
}

TEST(GridSort, OddsAscendingPutsEmptyCellsFirst) {
  auto rows = Rows(kVerOdds, {"  12.3", "", "   2.1", "", " 100.5"});
  SortGridRows(*rows, 5, VerificationSortKey(VerificationSort::kOdds));
  EXPECT_EQ(HorseOrder(*rows, 5), (std::vector<int>{2, 4, 3, 1, 5}));
}

TEST(GridSort, NoButtonDownSortsByFrameThenHorseNumber) {
  auto rows = Rows(kVerFrame, {"2", "1", "2", "1", "3"});
  std::swap((*rows)[0], (*rows)[4]);
  SortGridRows(*rows, 5, VerificationSortKey(VerificationSort::kNone));
  EXPECT_EQ(HorseOrder(*rows, 5), (std::vector<int>{2, 4, 1, 3, 5}));
}

TEST(GridSort, PredictionAxisDescendingKeepsTheLowerHorseFirstAmongEqualTexts) {
  auto rows = std::make_unique<PredictionRows>();
  const char* axis[] = {" 110.0", "", " 115.0", " 115.0", " 101.0"};
  for (int i = 0; i < 5; ++i) {
    (*rows)[i][kPreHorse] = FormatInt(i + 1, 2);
    (*rows)[i][kPreAxis] = axis[i];
  }
  SortGridRows(*rows, 5, PredictionSortKey(PredictionSort::kAxisIndex));
  const char* expect[] = {" 3", " 4", " 1", " 5", " 2"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ((*rows)[i][kPreHorse], expect[i]) << i;
}

TEST(GridSort, ButtonsOfAGroupExcludeOneAnother) {
  EXPECT_EQ(PressSortButton(VerificationSort::kHorseNumber, VerificationSort::kTotal), VerificationSort::kTotal);
  EXPECT_EQ(PressSortButton(VerificationSort::kTotal, VerificationSort::kTotal), VerificationSort::kNone);
  EXPECT_EQ(PressSortButton(PredictionSort::kNone, PredictionSort::kComboIndex), PredictionSort::kComboIndex);
  EXPECT_EQ(PressSortButton(PredictionSort::kHorseNumber, PredictionSort::kHorseNumber), PredictionSort::kNone);
  EXPECT_EQ(PredictionSortKey(PredictionSort::kComboIndex).column, kPreCombo);
  EXPECT_TRUE(PredictionSortKey(PredictionSort::kComboIndex).descending);
  EXPECT_EQ(VerificationSortKey(VerificationSort::kLegPower).column, kVerLegPower);
  EXPECT_TRUE(VerificationSortKey(VerificationSort::kDIndex).descending);
  EXPECT_FALSE(VerificationSortKey(VerificationSort::kFinish).descending);
}

TEST(GridSort, CellTextComparison) {
  EXPECT_LT(CompareCellTexts("", "  "), 0);
  EXPECT_LT(CompareCellTexts("  ", " 1"), 0);
  EXPECT_LT(CompareCellTexts(" -12", "   5"), 0);
  EXPECT_EQ(CompareCellTexts(" 5.0", "5.0"), 0);
  EXPECT_LT(CompareCellTexts("999.9", SJ("―")), 0);
}

}  // namespace
}  // namespace furlong
