#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/RecordLayout.h"

namespace furlong {
namespace {

// Every named field lies inside the record before its CR LF, and no two
// fields of one record share a byte.
template <std::size_t N>
void ExpectLayout(const char* type, std::size_t length, const std::array<NamedField, N>& fields,
                  bool withHead = true) {
  std::vector<NamedField> all(fields.begin(), fields.end());
  if (withHead) all.insert(all.end(), head::kFields.begin(), head::kFields.end());
  std::sort(all.begin(), all.end(), [](const NamedField& a, const NamedField& b) { return a.span.from < b.span.from; });
  for (std::size_t i = 0; i < all.size(); ++i) {
    SCOPED_TRACE(std::string(type) + " " + std::string(all[i].name));
    EXPECT_GE(all[i].span.from, 1u);
    EXPECT_LE(all[i].span.from, all[i].span.to);
    EXPECT_LE(all[i].span.to, length - 2);
    if (i + 1 < all.size()) EXPECT_LT(all[i].span.to, all[i + 1].span.from) << "overlaps " << all[i + 1].name;
  }
}

TEST(RecordLayoutTest, EveryFieldLiesInsideItsRecordWithoutOverlap) {
  ExpectLayout("RA", kRaLength, ra::kFields);
  ExpectLayout("SE", kSeLength, se::kFields);
  ExpectLayout("HR", kHrLength, hr::kFields);
  ExpectLayout("UM", kUmLength, um::kFields, false);
  ExpectLayout("odds", kOddsLength, odds::kFields, false);
  ExpectLayout("UMA", kLegacyUmLength, uma::kFields, false);
  ExpectLayout("JRDB", jrdb::kLineLength + 2, jrdb::kFields, false);
  ExpectLayout("KOL", kol::kLineLength + 2, kol::kFields, false);
  // The entry tables fill their spans exactly.
  EXPECT_EQ(hr::kWide.All().to, 405u);
  EXPECT_EQ(hr::kPlace.All().from, hr::kWin.All().to + 1);
  EXPECT_EQ(odds::QuinellaSpan(153).to, 1459u);
  EXPECT_EQ(um::kAncestor.Nth(um::kAncestors - 1, 46).to, um::kPedigree.to);
  EXPECT_EQ(uma::kAncestor.Nth(uma::kAncestors - 1, 44).to, uma::kPedigree.to);
  EXPECT_EQ(jrdb::QuinellaSpan(153).to, jrdb::kLineLength);
  EXPECT_EQ(kol::QuinellaSpan(153).to, kol::kLineLength);
  EXPECT_EQ(kol::BracketQuinellaSpan(36).to + 1, kol::kQuinella.from);
  // A legacy master converts field by field into wider or equal UM spans
  // that follow each other in the same order.
  const FieldSpan from[] = {uma::kHead, uma::kAfterPedigree, uma::kBreederCode, uma::kBreederName, uma::kAfterBreeder};
  const FieldSpan to[] = {um::kHead, um::kAfterPedigree, um::kBreederCode, um::kBreederName, um::kAfterBreeder};
  for (std::size_t i = 0; i < std::size(from); ++i) EXPECT_LE(from[i].size(), to[i].size()) << i;
  EXPECT_EQ(um::kAfterBreeder.to, kUmLength - 2);
  EXPECT_EQ(uma::kAfterBreeder.to, kLegacyUmLength - 2);
}

TEST(RecordLayoutTest, EntriesAndRepeatedFieldsReadTheirOwnBytes) {
  std::string hr(kHrLength, ' ');
  hr.replace(293, 16, "0105000001230012");  // wide entry 0 at column 294
  hr.replace(309, 16, "0206000000450003");  // wide entry 1
  EXPECT_EQ(hr::Wide(hr, 1).pair, "0206");
  EXPECT_EQ(hr::Wide(hr, 0).amount, "000001230");
  EXPECT_EQ(hr::Wide(hr, 0).popularity, "012");
  std::string se(kSeLength, ' ');
  se.replace(351, 8, "01020304");
  EXPECT_EQ(se::Corner(se, 0), "01");
  EXPECT_EQ(se::Corner(se, 3), "04");
  std::string odds(kOddsLength, ' ');
  odds.replace(19 + 6 * 17, 6, "  12.3");
  EXPECT_EQ(odds::Win(odds, 18), "  12.3");
  EXPECT_EQ(odds::Place(odds, 1), "      ");
}

}  // namespace
}  // namespace furlong
