#include "analysis/Bets.h"

#include <string_view>
#include <utility>

#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"

namespace furlong {

const char* BetColourName(BetColour colour) {
  switch (colour) {
    case BetColour::kMagenta: return "magenta";
    case BetColour::kRed: return "red";
    case BetColour::kInfo: break;
  }
  return "info";
}

Rgb BetColourRgb(BetColour colour) {
  switch (colour) {
    case BetColour::kMagenta: return kBetMagenta;
    case BetColour::kRed: return kBetRed;
    case BetColour::kInfo: break;
  }
  return kInfoBackground;
}

std::string PairText(int a, int b) {
  if (a > b) std::swap(a, b);
  std::string text = FormatInt(a, 2);
  text += '-';
  text += FormatInt(b, 2);
  return text;
}

void MakeBetPairs(const RaceRunners& runners, int n, BetPairs& pairs) {
  if (n > kRunnerSlots) n = kRunnerSlots;
  // Horse numbers of ◎ ○ ▲ △4 △5 △6, 0 when the mark was not given.
  static const std::string* const kMarks[] = {&SJ("◎"), &SJ("○"), &SJ("▲"),
                                               &SJ("△4"), &SJ("△5"), &SJ("△6")};
  std::array<int, 6> horse{};
  for (int m = 0; m < 6; ++m)
    for (int r = 0; r < n; ++r)
      if (runners[r].Mark == *kMarks[m]) {
        horse[m] = r + 1;
        break;
      }
  static constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {1, 2}, {0, 3}, {0, 4}, {0, 5}};
  pairs.count = 0;
  for (const auto& pr : kPairs) {
    const int a = horse[pr[0]], b = horse[pr[1]];
    if (a != 0 && b != 0) pairs.texts[pairs.count++] = PairText(a, b);
  }
}

void SetBets(const BetPairs& pairs, const RacePayouts& payouts, int n, RaceAnalysisResult& out) {
  for (int i = 0; i < 6; ++i) {
    out.bets[i].clear();
    out.betPayouts[i].clear();
    out.betColours[i] = BetColour::kInfo;
  }
  if (out.dataSufficiency >= 68 && pairs.count >= 6)
    for (int i = 0; i < 6; ++i) out.bets[i] = pairs.texts[i];

  auto check = [&](int i, const PayoutEntry& entry, BetColour colour) {
    if (entry.Pair().substr(0, 5) != out.bets[i]) return;
    out.betColours[i] = colour;
    out.betPayouts[i] = FormatInt(entry.amount, 7);
  };
  for (int i = 0; i < 6; ++i) {
    if (IsBlank(out.bets[i])) continue;
    for (int e = 0; e < 5; ++e) check(i, payouts.wide[e], BetColour::kMagenta);
    for (const auto& entry : payouts.quinella) check(i, entry, BetColour::kRed);
    // Eight runners or fewer: every horse has its own frame, so a bracket
    // quinella pair, where the store holds one, is the horse pair too.
    if (n <= 8)
      for (const auto& entry : payouts.bracketQuinella) check(i, entry, BetColour::kRed);
  }
}

namespace {

// The result column of one payout: its horse or pair, popularity and amount,
// or three empty texts when JRA paid none.
void SetEntry(ResultEntry& e, bool paid, std::string result, const PayoutEntry& p) {
  if (paid) {
    e.result = std::move(result);
    e.popularity = FormatInt(p.popularity, 2);
    e.payout = FormatInt(p.amount, 8);
  } else {
    e.result.clear();
    e.popularity.clear();
    e.payout.clear();
  }
}

void HorseEntry(const PayoutEntry& p, ResultEntry& e) {
  SetEntry(e, p.horse != 0, p.horse != 0 ? FormatInt(p.horse, 2) : std::string(), p);
}

void PairEntry(const PayoutEntry& p, ResultEntry& e) {
  const std::string_view pair = p.Pair();
  const bool paid = !IsBlank(pair) && pair != " 0- 0";
  SetEntry(e, paid, std::string(paid ? pair : std::string_view()), p);
}

}  // namespace

void FillResultPanel(const RacePayouts& payouts, ResultPanel& panel) {
  for (std::size_t i = 0; i < panel.win.size(); ++i) HorseEntry(payouts.win[i], panel.win[i]);
  for (std::size_t i = 0; i < panel.place.size(); ++i) HorseEntry(payouts.place[i], panel.place[i]);
  for (std::size_t i = 0; i < panel.bracketQuinella.size(); ++i)
    PairEntry(payouts.bracketQuinella[i], panel.bracketQuinella[i]);
  for (std::size_t i = 0; i < panel.quinella.size(); ++i) PairEntry(payouts.quinella[i], panel.quinella[i]);
  for (std::size_t i = 0; i < panel.wide.size(); ++i) PairEntry(payouts.wide[i], panel.wide[i]);
}

}  // namespace furlong
