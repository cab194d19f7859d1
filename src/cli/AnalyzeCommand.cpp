// furlong-cli analyze: what the race analysis computes for the races of one
// meeting, as a readable table or as one JSON document (UTF-8).
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Command.h"
#include "analysis/DetailedRaceCardTexts.h"
#include "analysis/GraphData.h"
#include "analysis/IndexTableTexts.h"
#include "analysis/MeetingFlow.h"
#include "analysis/RaceAnalysisResult.h"
#include "analysis/RaceCardTexts.h"
#include "analysis/RunnerSignals.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/SjisChars.h"
#include "store/Store.h"
#include "store/TextFormat.h"

namespace furlong::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string U(std::string_view sjis) { return SjisToUtf8(sjis); }

Json Texts(const PastTexts& texts) {
  Json a = Json::array();
  for (const auto& t : texts) a.push_back(U(t));
  return a;
}

Json RunnerJson(const RunnerAnalysis& a, int slot) {
  Json j;
  j["horse_number"] = slot + 1;
  j["PastWeightValue"] = Texts(a.PastWeightValue);
  j["TurfWeightValue"] = U(a.TurfWeightValue);
  j["DirtWeightValue"] = U(a.DirtWeightValue);
  j["BestWeightValue"] = U(a.BestWeightValue);
  j["PastFront3F"] = Texts(a.PastFront3F);
  j["PastAbility"] = Texts(a.PastAbility);
  j["AbilityAvg"] = U(a.AbilityAvg);
  j["AbilityBest"] = U(a.AbilityBest);
  j["AbilityAvgRank"] = a.AbilityAvgRank;
  j["AbilityBestRank"] = a.AbilityBestRank;
  j["AbilityLastRank"] = a.AbilityLastRank;
  j["TurfShort"] = U(a.TurfShort);
  j["TurfMiddle"] = U(a.TurfMiddle);
  j["TurfLong"] = U(a.TurfLong);
  j["DirtShort"] = U(a.DirtShort);
  j["DirtMiddle"] = U(a.DirtMiddle);
  j["DirtLong"] = U(a.DirtLong);
  j["PastInterval"] = Texts(a.PastInterval);
  j["DaysSinceLastRun"] = U(a.DaysSinceLastRun);
  j["PastStyleValue"] = Texts(a.PastStyleValue);
  j["StyleValue"] = U(a.StyleValue);
  j["StyleValueRecent"] = U(a.StyleValueRecent);
  Json dev = Json::array();
  for (const auto& run : a.PastDevelopment) {
    Json corners = Json::array();
    for (double v : run) corners.push_back(v);
    dev.push_back(std::move(corners));
  }
  j["PastDevelopment"] = std::move(dev);
  j["PastDIndex"] = Texts(a.PastDIndex);
  j["DIndexBest"] = U(a.DIndexBest);
  j["DIndexAvg"] = U(a.DIndexAvg);
  j["DIndexAvgRank"] = a.DIndexAvgRank;
  j["DIndexBestRank"] = a.DIndexBestRank;
  j["DIndexLastRank"] = a.DIndexLastRank;
  j["PastClosing"] = Texts(a.PastClosing);
  j["LegPowerBest"] = U(a.LegPowerBest);
  j["LegPowerAvg"] = U(a.LegPowerAvg);
  j["LegPowerAvgRank"] = a.LegPowerAvgRank;
  j["LegPowerBestRank"] = a.LegPowerBestRank;
  j["LegPowerLastRank"] = a.LegPowerLastRank;
  j["PastLegPower"] = Texts(a.PastLegPower);
  j["PastTotal"] = Texts(a.PastTotal);
  j["TotalLastRank"] = a.TotalLastRank;
  j["AvgDistanceText5"] = U(a.AvgDistanceText5);
  j["AvgDistanceText2"] = U(a.AvgDistanceText2);
  j["ResultFinishText"] = U(a.ResultFinishText);
  j["ResultPopularityText"] = U(a.ResultPopularityText);
  j["ResultOddsText"] = U(a.ResultOddsText);
  j["ResultTimeText"] = U(a.ResultTimeText);
  j["Eliminated"] = static_cast<int>(a.Eliminated);
  j["Mark"] = U(a.Mark);
  j["WeightCarriedChange"] = U(a.WeightCarriedChange);
  j["LongshotIndex"] = a.LongshotIndex;
  return j;
}

std::string HexColour(Rgb c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
  return buf;
}

template <std::size_t N>
Json Entries(const std::array<ResultEntry, N>& entries) {
  Json a = Json::array();
  for (const auto& e : entries)
    a.push_back(Json{{"result", U(e.result)}, {"popularity", U(e.popularity)}, {"payout", U(e.payout)}});
  return a;
}

Json Bars(const std::vector<RangeBar>& bars) {
  Json a = Json::array();
  for (const RangeBar& b : bars) a.push_back(Json{{"horse", b.horse}, {"low", b.low}, {"high", b.high}});
  return a;
}

// ---- the race card (出馬表) as the window paints it with 全表示 / 無指定.

Json CardJson(const CardText& t) { return Json{{"text", U(t.text)}, {"colour", CardColourName(t.colour)}}; }

template <std::size_t N>
Json CardJson(const std::array<CardText, N>& texts) {
  Json a = Json::array();
  for (const CardText& t : texts) a.push_back(CardJson(t));
  return a;
}

Json NameJson(const HorseNameTexts& n) {
  return Json{{"sire", U(n.sire)},   {"sex_age_coat", U(n.sexAgeCoat)}, {"symbol", U(n.symbol)},
              {"name", U(n.name)},   {"dam", U(n.dam)},                 {"main_prize", U(n.mainPrize)},
              {"total_prize", U(n.totalPrize)}};
}

Json WinRateJson(const WinRateTexts& t) { return Json::array({U(t.win), U(t.top2), U(t.top3)}); }

Json PastRunJson(const RaceCardPastRun& p) {
  if (!p.present) return nullptr;
  Json j;
  j["date_name"] = CardJson(p.dateName);
  j["class"] = CardJson(p.raceClass);
  j["weight_rule"] = CardJson(p.weightRule);
  j["jockey"] = CardJson(p.jockey);
  j["racecourse"] = CardJson(p.racecourse);
  j["going"] = CardJson(p.going);
  j["course"] = CardJson(p.course);
  j["distance"] = CardJson(p.distance);
  j["weight_carried"] = CardJson(p.weightCarried);
  j["runners"] = CardJson(p.runners);
  j["popularity"] = CardJson(p.popularity);
  j["corners"] = CardJson(p.corners);
  j["finish"] = CardJson(p.finish);
  j["front_3f"] = CardJson(p.front3F);
  j["last_3f"] = CardJson(p.last3F);
  j["ability"] = CardJson(p.ability);
  j["time_difference"] = CardJson(p.timeDifference);
  j["other_horse"] = CardJson(p.otherHorse);
  return j;
}

Json RaceCardJson(const RaceCardRow& row) {
  Json j;
  j["frame"] = U(row.frame);
  j["horse"] = U(row.horse);
  j["win_odds"] = U(row.winOdds);
  j["place_odds"] = U(row.placeOdds);
  j["mark"] = U(row.mark);
  j["name"] = NameJson(row.name);
  j["weight_carried"] = U(row.weightCarried);
  j["weight_change"] = U(row.weightChange);
  j["turf_weight"] = CardJson(row.turfWeight);
  j["dirt_weight"] = CardJson(row.dirtWeight);
  j["style"] = U(row.style);
  j["style_letter"] = U(row.styleLetter);
  j["style_recent"] = U(row.styleRecent);
  j["style_recent_letter"] = U(row.styleRecentLetter);
  j["distance_band"] = row.distanceBand;
  j["turf"] = CardJson(row.turf);
  j["dirt"] = CardJson(row.dirt);
  j["win_rate"] = WinRateJson(row.winRate);
  j["jockey"] = U(row.jockey);
  Json past = Json::array();
  for (const RaceCardPastRun& p : row.past) past.push_back(PastRunJson(p));
  j["past_runs"] = std::move(past);
  return j;
}

// ---- the detailed race card (出馬表(詳細)): every line of every cell, blank runs
// included, as the window paints it.

Json DetailedRaceCardJson(const DetailedRaceCardRow& row) {
  Json j;
  j["frame"] = U(row.frame);
  j["horse"] = U(row.horse);
  j["name"] = NameJson(row.name);
  j["weight_carried"] = U(row.weightCarried);
  j["interval"] = CardJson(row.interval);
  j["win_rate"] = WinRateJson(row.winRate);
  j["jockey"] = U(row.jockey);
  j["trainer"] = U(row.trainer);
  j["owner"] = U(row.owner);
  Json past = Json::array();
  for (const DetailedPastRunLine& line : row.past) {
    Json p;
    for (const DetailedPastRunColumn& column : kDetailedPastRunColumns)
      p[column.key] = column.text ? CardJson(line.*column.text) : CardJson(line.corners);
    past.push_back(std::move(p));
  }
  j["past_runs"] = std::move(past);
  j["placings"] = CardJson(row.records.placings);
  j["distance_placings"] = CardJson(row.records.distancePlacings);
  j["place_rates"] = CardJson(row.records.placeRates);
  return j;
}

Json IndexTableJson(const IndexTableRow& row) {
  auto three = [](const std::array<std::string, 3>& v) { return Json::array({U(v[0]), U(v[1]), U(v[2])}); };
  Json j;
  j["frame"] = U(row.frame);
  j["horse"] = U(row.horse);
  j["name"] = U(row.name);
  j["mean_rank"] = three(row.meanRank);
  j["best_rank"] = three(row.bestRank);
  j["mean"] = three(row.mean);
  j["best"] = three(row.best);
  Json past = Json::array();
  for (const IndexTablePastRun& p : row.past)
    past.push_back(Json{{"surface", U(p.surface)},
                        {"box", SurfaceBoxName(p.box)},
                        {"distance", U(p.distance)},
                        {"values", Json::array({U(p.ability), U(p.dIndex), U(p.legPower)})}});
  j["past_runs"] = std::move(past);
  return j;
}

RaceCardRow CardRow(const DayTables& day, const RunnerAnalysisTable& runners, int slot, int r) {
  return MakeRaceCardRow(day, runners[slot][r], slot, r, SurfaceFilter::kAll, DistanceFilter::kAny);
}

Json RaceJson(const RaceListItem& item, const RaceAnalysisResult& res, const DayTables& day,
              const RunnerAnalysisTable& runners) {
  Json j;
  j["slot"] = item.slot;
  j["label"] = U(item.label);
  j["analysed"] = res.analysed;
  j["message"] = res.analysed ? std::string() : U(res.message);
  if (!res.analysed) return j;
  Json labels = Json::array();
  for (const auto& l : res.headerLabels) labels.push_back(U(l));
  j["labels"] = std::move(labels);
  j["panel_colour"] = HexColour(res.panelColour);
  Json rs = Json::array();
  for (int r = 0; r < res.runnerCount; ++r) rs.push_back(RunnerJson(runners[item.slot][r], r));
  j["runners"] = std::move(rs);
  auto grid = [&](const auto& rows) {
    Json g = Json::array();
    for (int r = 0; r < res.runnerCount; ++r) {
      Json row = Json::array();
      for (const auto& cell : rows[r]) row.push_back(U(cell));
      g.push_back(std::move(row));
    }
    return g;
  };
  j["verification_grid"] = grid(res.verificationRows);
  j["prediction_grid"] = grid(res.predictionRows);
  j["data_sufficiency"] = U(res.dataSufficiencyText);
  Json bets = Json::array(), payouts = Json::array(), colours = Json::array();
  for (int i = 0; i < 6; ++i) {
    bets.push_back(U(res.bets[i]));
    payouts.push_back(U(res.betPayouts[i]));
    colours.push_back(BetColourName(res.betColours[i]));
  }
  j["bets"] = std::move(bets);
  j["bet_payouts"] = std::move(payouts);
  j["bet_colours"] = std::move(colours);
  Json diagram = Json::array();
  for (const auto& corner : res.diagram) {
    Json numbers = Json::array();
    for (int i = 0; i < corner.count; ++i) {
      const DiagramNumber& d = corner.numbers[i];
      numbers.push_back(Json{{"horse", d.horse}, {"x", d.x}, {"y", d.y}});
    }
    diagram.push_back(std::move(numbers));
  }
  j["diagram"] = std::move(diagram);
  Json panel;
  panel["単勝"] = Entries(res.resultPanel.win);
  panel["複勝"] = Entries(res.resultPanel.place);
  panel["枠連"] = Entries(res.resultPanel.bracketQuinella);
  panel["馬連"] = Entries(res.resultPanel.quinella);
  panel["ﾜｲﾄﾞ"] = Entries(res.resultPanel.wide);
  j["result_panel"] = std::move(panel);
  // The signal table's twelve signals per runner slot, and the bars of the
  // index and development graphs with every filter at 全表示.
  Json signals = Json::array();
  for (int r = 0; r < res.runnerCount; ++r) {
    const RunnerSignals flags =
        ComputeSignals(day.RunnerRecords[item.slot][r].view(), day.PastRunRecords[item.slot][r], runners[item.slot][r]);
    signals.push_back(Json(flags));
  }
  j["signals"] = std::move(signals);
  Json graphs;
  graphs["ability"] = Bars(IndexGraphBars(day, runners, item.slot, IndexGraphKind::kAbility, SurfaceFilter::kAll));
  graphs["d_index"] = Bars(IndexGraphBars(day, runners, item.slot, IndexGraphKind::kDIndex, SurfaceFilter::kAll));
  graphs["leg_power"] = Bars(IndexGraphBars(day, runners, item.slot, IndexGraphKind::kLegPower, SurfaceFilter::kAll));
  graphs["development_last_run"] =
      Bars(DevelopmentGraphBars(day, runners, item.slot, DevelopmentGraphKind::kLastRun, CourseFilter::kAll));
  graphs["development_last_five_runs"] =
      Bars(DevelopmentGraphBars(day, runners, item.slot, DevelopmentGraphKind::kLastFiveRuns, CourseFilter::kAll));
  j["graphs"] = std::move(graphs);
  Json card = Json::array();
  for (int r = 0; r < res.runnerCount; ++r) card.push_back(RaceCardJson(CardRow(day, runners, item.slot, r)));
  j["race_card"] = std::move(card);
  Json index = Json::array();
  for (int r = 0; r < res.runnerCount; ++r)
    index.push_back(IndexTableJson(MakeIndexTableRow(day, runners[item.slot][r], item.slot, r)));
  j["index_table"] = std::move(index);
  Json detailed = Json::array();
  for (int r = 0; r < res.runnerCount; ++r)
    detailed.push_back(DetailedRaceCardJson(MakeDetailedRaceCardRow(day, runners[item.slot][r], item.slot, r)));
  j["detailed_race_card"] = std::move(detailed);
  return j;
}

// ---- the text form: columns aligned by display width, which for Shift-JIS
// is the byte count (a full-width character is two bytes and two columns).

// Without trailing half-width and full-width spaces.
std::string_view TrimRight(std::string_view s) {
  const std::string& wide = SJ("　");
  for (;;) {
    if (!s.empty() && s.back() == ' ') {
      s.remove_suffix(1);
    } else if (s.size() >= 2 && s.substr(s.size() - 2) == wide) {
      // Only a whole character: the byte before must not be a lead byte of
      // a character that ends in these two bytes. Names are full-width, so
      // stepping by characters from the start tells.
      if (SjisLastCharStart(s) != s.size() - 2) break;
      s.remove_suffix(2);
    } else {
      break;
    }
  }
  return s;
}

const char* const kPredictionHeaders[kPredictionColumns] = {"枠", "馬", "馬名", "騎手", "調教師",
                                                            "軸指数", "連指数", "穴指数", "印", "着"};

void PrintRaceText(std::ostream& out, const RaceListItem& item, const RaceAnalysisResult& res) {
  out << "[" << item.slot + 1 << "] " << U(item.label) << "\n";
  if (!res.analysed) {
    out << "  " << U(res.message) << "\n\n";
    return;
  }
  for (const auto& l : res.headerLabels) out << "  " << U(TrimRight(l)) << "\n";

  // Name, jockey, trainer and mark are left-aligned, the rest right-aligned.
  static const bool kLeft[kPredictionColumns] = {false, false, true, true, true, false, false, false, true, false};
  std::array<std::string, kPredictionColumns> header;
  std::vector<std::array<std::string, kPredictionColumns>> rows(res.runnerCount);
  std::array<std::size_t, kPredictionColumns> width{};
  for (int c = 0; c < kPredictionColumns; ++c) {
    header[c] = Utf8ToSjis(kPredictionHeaders[c]);
    width[c] = header[c].size();
  }
  for (int r = 0; r < res.runnerCount; ++r)
    for (int c = 0; c < kPredictionColumns; ++c) {
      const std::string& cell = res.predictionRows[r][c];
      rows[r][c] = kLeft[c] ? std::string(TrimRight(cell)) : std::string(TrimSpaces(cell));
      if (rows[r][c].size() > width[c]) width[c] = rows[r][c].size();
    }
  auto line = [&](const std::array<std::string, kPredictionColumns>& cells, bool isHeader) {
    std::string s = "  ";
    for (int c = 0; c < kPredictionColumns; ++c) {
      if (c > 0) s += ' ';
      s += (kLeft[c] || isHeader) ? PadRight(cells[c], width[c]) : PadLeft(cells[c], width[c]);
    }
    out << U(TrimRight(s)) << "\n";
  };
  line(header, true);
  for (const auto& row : rows) line(row, false);

  std::string bets;
  for (int i = 0; i < 6; ++i) {
    if (IsBlank(res.bets[i])) continue;
    bets += ' ';
    bets += U(TrimSpaces(res.bets[i]));
    if (res.betColours[i] != BetColour::kInfo) {
      bets += "(";
      bets += res.betColours[i] == BetColour::kRed ? "馬連/枠連 " : "ﾜｲﾄﾞ ";
      bets += U(TrimSpaces(res.betPayouts[i]));
      bets += "円)";
    }
  }
  out << "  買い目:" << (bets.empty() ? " なし" : bets) << "\n";
  out << "  データ充足度: " << U(TrimSpaces(res.dataSufficiencyText)) << "\n\n";
}

// ---- CSV: the prediction grid of every race, one row per runner, cells
// without their padding.

std::string CsvCell(std::string_view sjis) { return CsvField(U(TrimSpaces(TrimRight(sjis)))); }

void PrintCsvHeader(std::ostream& out) {
  out << "race,label";
  for (const char* h : kPredictionHeaders) out << "," << h;
  out << "\r\n";
}

void PrintRaceCsv(std::ostream& out, const RaceListItem& item, const RaceAnalysisResult& res) {
  if (!res.analysed) return;
  for (int r = 0; r < res.runnerCount; ++r) {
    out << item.slot + 1 << "," << CsvCell(item.label);
    for (const auto& cell : res.predictionRows[r]) out << "," << CsvCell(cell);
    out << "\r\n";
  }
}

// ---- CSV of the race card: one row per runner; a past run is one cell, its
// six lines joined by " / ".

const char* const kRaceCardHeaders[] = {
    "枠", "馬", "単ｵｯｽﾞ", "複ｵｯｽﾞ", "予想", "馬名", "父", "母", "性齢毛色", "本賞金", "総賞金", "斤量", "斤量増減",
    "重量芝", "重量ﾀﾞｰﾄ", "脚質", "脚質近走", "短芝", "短ﾀﾞｰﾄ", "中芝", "中ﾀﾞｰﾄ", "長芝", "長ﾀﾞｰﾄ", "勝率",
    "連対率", "複勝率", "騎手", "前走", "２走前", "３走前", "４走前", "５走前"};

void PrintRaceCardCsvHeader(std::ostream& out) {
  out << "race,label";
  for (const char* h : kRaceCardHeaders) out << "," << h;
  out << "\r\n";
}

std::string PastRunCsv(const RaceCardPastRun& p) {
  if (!p.present) return CsvField("");
  auto join = [](std::initializer_list<const CardText*> items) {
    std::string line;
    for (const CardText* t : items) {
      const std::string_view text = TrimSpaces(TrimRight(t->text));
      if (text.empty()) continue;
      if (!line.empty()) line += ' ';
      line += text;
    }
    return line;
  };
  const std::string lines[] = {
      join({&p.dateName}),
      join({&p.raceClass, &p.weightRule, &p.jockey}),
      join({&p.racecourse, &p.going, &p.course, &p.distance, &p.weightCarried}),
      join({&p.runners, &p.popularity, &p.corners[0], &p.corners[1], &p.corners[2], &p.corners[3], &p.finish}),
      join({&p.front3F, &p.last3F, &p.ability, &p.timeDifference}),
      join({&p.otherHorse})};
  std::string cell;
  for (const std::string& l : lines) {
    if (!cell.empty()) cell += " / ";
    cell += l;
  }
  return CsvField(U(cell));
}

void PrintRaceCardCsv(std::ostream& out, const RaceListItem& item, const RaceAnalysisResult& res,
                      const DayTables& day, const RunnerAnalysisTable& runners) {
  if (!res.analysed) return;
  for (int r = 0; r < res.runnerCount; ++r) {
    const RaceCardRow row = CardRow(day, runners, item.slot, r);
    const HorseNameTexts& n = row.name;
    out << item.slot + 1 << "," << CsvCell(item.label);
    for (const std::string* cell :
         {&row.frame, &row.horse, &row.winOdds, &row.placeOdds, &row.mark, &n.name, &n.sire, &n.dam, &n.sexAgeCoat,
          &n.mainPrize, &n.totalPrize, &row.weightCarried, &row.weightChange, &row.turfWeight.text,
          &row.dirtWeight.text, &row.style, &row.styleRecent, &row.turf[0].text, &row.dirt[0].text,
          &row.turf[1].text, &row.dirt[1].text, &row.turf[2].text, &row.dirt[2].text, &row.winRate.win,
          &row.winRate.top2, &row.winRate.top3, &row.jockey})
      out << "," << CsvCell(*cell);
    for (const RaceCardPastRun& p : row.past) out << "," << PastRunCsv(p);
    out << "\r\n";
  }
}

RegisterCommand analyze{
    "analyze", "Analyse the races of one meeting as the window does and print the results",
    [](CLI::App& sub) {
      struct Options {
        std::string root;
        std::string meeting;
        int race = 0;
        bool json = false;
        bool csv = false;
        bool raceCard = false;
      };
      auto o = std::make_shared<Options>();
      sub.add_option("--root", o->root, "Data root (the folder that holds Data, SEI, SEIR, UM2)")->required();
      sub.add_option("--meeting", o->meeting, "Meeting base name as the calendar lists it (UTF-8)")->required();
      sub.add_option("--race", o->race, "Only race slot N-1 (race list item N)")->check(CLI::Range(1, kRaceSlots));
      auto* json = sub.add_flag("--json", o->json, "One JSON document instead of the text table");
      auto* csv = sub.add_flag("--csv", o->csv, "The prediction grid of every race as CSV (UTF-8)")->excludes(json);
      sub.add_flag("--race-card", o->raceCard, "With --csv: the race card (出馬表) of every race instead")->needs(csv);
      return [o](CommandIo& io) {
        Store store(ExistingRoot(o->root), false);
        // A meeting name is 18 bytes; a one-character racecourse name carries
        // two trailing spaces that a shell easily drops.
        std::string name = Utf8ToSjis(o->meeting);
        if (name.size() < 18) name.append(18 - name.size(), ' ');
        store.RaceFile(name);  // a name that cannot name a store file says so (RefusedRecord)

        auto flow = std::make_unique<MeetingFlow>(store);
        std::string failure;
        MeetingFlowCallbacks cb;
        cb.message = [&](const std::string& m) { failure = m; };
        cb.warning = [&](const std::string& w) { io.err << "warning: " << w << "\n"; };
        if (!flow->DateComboChange(name, cb)) {
          io.err << U(failure) << "\n";
          return kExitError;
        }

        std::vector<int> items;
        const auto& list = flow->RaceList();
        for (int i = 0; i < static_cast<int>(list.size()); ++i)
          if (o->race == 0 || list[i].slot == o->race - 1) items.push_back(i);
        if (o->race != 0 && items.empty()) {
          io.err << "race " << o->race << " is not in the race list of this meeting\n";
          return kExitUsage;
        }

        Json doc;
        doc["meeting"] = U(name.substr(0, 18));
        Json races = Json::array();
        if (o->csv && o->raceCard) PrintRaceCardCsvHeader(io.out);
        else if (o->csv) PrintCsvHeader(io.out);
        else if (!o->json) io.out << U(TrimRight(name)) << "\n\n";
        for (int i : items) {
          const RaceAnalysisResult* res = flow->DatListClick(i);
          if (o->json) races.push_back(RaceJson(list[i], *res, flow->Day(), flow->Analyzer().Runners()));
          else if (o->csv && o->raceCard)
            PrintRaceCardCsv(io.out, list[i], *res, flow->Day(), flow->Analyzer().Runners());
          else if (o->csv) PrintRaceCsv(io.out, list[i], *res);
          else PrintRaceText(io.out, list[i], *res);
        }
        if (o->json) {
          doc["races"] = std::move(races);
          io.out << doc.dump(1) << "\n";
        }
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
