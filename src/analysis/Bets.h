#pragma once
// The six suggested pairs (買い目) from the prediction marks, the hit check
// against the race's payouts and the result panel (the "結果" tab).
#include <array>
#include <string>

#include "analysis/RaceAnalysisResult.h"
#include "analysis/RanksAndMarks.h"
#include "store/DayTables.h"

namespace furlong {

// "%2d-" of the lower horse number followed by "%2d" of the higher.
std::string PairText(int a, int b);

// The suggested pairs in order: (◎,○), (◎,▲), (○,▲), (◎,△4), (◎,△5), (◎,△6),
// each only when both marks were given. At most six texts.
struct BetPairs {
  std::array<std::string, 6> texts;
  int count = 0;
};
void MakeBetPairs(const RaceRunners& runners, int n, BetPairs& pairs);

// Sets kaiLabel1-6 (shown only with a data sufficiency of 68 or more and all
// six pairs), their colours after the hit check and haiLabel1-6. A pair is
// checked against the first five wide entries (magenta), then the quinella
// entries (red) and, with 8 runners or fewer, the bracket quinella entries
// (red); the last entry that matches sets the colour and the payout. Small
// fields are no exception: JRA sells no bracket quinella there, so checking
// the brackets alone would never show the hit the hit report counts. Reads
// out.dataSufficiency.
void SetBets(const BetPairs& pairs, const RacePayouts& payouts, int n, RaceAnalysisResult& out);

// The result panel texts of the race's payouts; entries without a payout are empty.
void FillResultPanel(const RacePayouts& payouts, ResultPanel& panel);

}  // namespace furlong
