// furlong-cli backtest: the return on the program's own bets (回収率) over a
// range of meeting dates, as a table, one JSON document or CSV.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "Command.h"
#include "reports/Backtest.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "store/TextFormat.h"

namespace furlong::cli {
namespace {

using Json = nlohmann::ordered_json;

bool StderrIsTerminal(const CommandIo& io) {
  if (&io.err != &std::cerr) return false;
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

Json TotalsJson(const KindTotals& t) {
  Json j;
  for (BetKind b : kAllBetKinds) {
    const BetTotals& x = t[b];
    j[BetKindKey(b)] = Json{{"races", x.races}, {"bets", x.bets}, {"hits", x.hits}, {"stake", x.stake},
                            {"return", x.returned}};
  }
  return j;
}

Json ResultJson(const BacktestResult& r) {
  Json j;
  j["from"] = r.from.empty() ? Json(nullptr) : Json(r.from);
  j["to"] = r.to.empty() ? Json(nullptr) : Json(r.to);
  j["meetings"] = r.meetings;
  j["skipped_meetings"] = r.skippedMeetings;
  j["races"] = r.races;
  j["total"] = TotalsJson(r.total);
  Json by = Json::object();
  for (int g = 0; g < kGroupKinds; ++g) {
    Json groups = Json::object();
    for (const auto& [key, group] : r.by[static_cast<std::size_t>(g)])
      groups[SjisToUtf8(group.name)] = TotalsJson(group.totals);
    by[GroupKindKey(static_cast<GroupKind>(g))] = std::move(groups);
  }
  j["by"] = std::move(by);
  return j;
}

// ---- the table: columns aligned by display width (Shift-JIS byte count).

std::string RateText(const BetTotals& t, double value) {
  return t.HasStake() ? std::string(TrimSpaces(FormatFixed(value, 8, 1))) + "%" : std::string("-");
}

void PrintTotals(std::ostream& out, const std::string& nameSjis, const KindTotals& t) {
  for (BetKind b : kAllBetKinds) {
    const BetTotals& x = t[b];
    std::string line = PadRight(nameSjis, 14) + PadRight(Utf8ToSjis(BetKindLabel(b)), 8);
    line += PadLeft(std::to_string(x.races), 7) + PadLeft(std::to_string(x.bets), 8) +
            PadLeft(std::to_string(x.hits), 7) + PadLeft(RateText(x, x.HitRate() * 100.0), 8) +
            PadLeft(std::to_string(x.stake), 11) + PadLeft(std::to_string(x.returned), 11) +
            PadLeft(RateText(x, x.ReturnRate()), 9);
    out << SjisToUtf8(line) << "\n";
  }
}

void PrintTable(std::ostream& out, const BacktestResult& r) {
  out << "回収率 " << (r.from.empty() ? "(最初)" : r.from) << " - " << (r.to.empty() ? "(最後)" : r.to) << ": "
      << r.meetings << " 開催, " << r.races << " レース";
  if (r.skippedMeetings > 0) out << " (読めない開催 " << r.skippedMeetings << ")";
  out << "\n\n";
  const std::string header = PadRight(Utf8ToSjis("区分"), 14) + PadRight(Utf8ToSjis("券種"), 8) +
                             PadLeft(Utf8ToSjis("レース"), 7) + PadLeft(Utf8ToSjis("点数"), 8) +
                             PadLeft(Utf8ToSjis("的中"), 7) + PadLeft(Utf8ToSjis("的中率"), 8) +
                             PadLeft(Utf8ToSjis("投資"), 11) + PadLeft(Utf8ToSjis("払戻"), 11) +
                             PadLeft(Utf8ToSjis("回収率"), 9);
  out << SjisToUtf8(header) << "\n";
  PrintTotals(out, Utf8ToSjis("全体"), r.total);
  for (int g = 0; g < kGroupKinds; ++g) {
    out << "\n[" << GroupKindLabel(static_cast<GroupKind>(g)) << "]\n";
    for (const auto& [key, group] : r.by[static_cast<std::size_t>(g)]) PrintTotals(out, group.name, group.totals);
  }
}

RegisterCommand backtest{
    "backtest", "Return on the program's own bets (回収率) over the stored meetings of a date range",
    [](CLI::App& sub) {
      struct Options {
        std::string root, from, to;
        bool json = false, csv = false;
        int threads = 0;
      };
      auto o = std::make_shared<Options>();
      sub.add_option("--root", o->root, "Data root (the folder that holds Data)")->required();
      sub.add_option("--from", o->from, "First meeting date, yyyymmdd (default: the oldest)");
      sub.add_option("--to", o->to, "Last meeting date, yyyymmdd (default: the newest)");
      auto* json = sub.add_flag("--json", o->json, "The whole result as one JSON document (docs/backtest-json.md)");
      sub.add_flag("--csv", o->csv, "One CSV row per group and bet kind")->excludes(json);
      sub.add_option("--threads", o->threads, "Threads to analyse on, 1 or 2 (default: 2 when the machine has them)")
          ->check(CLI::Range(1, 2));
      return [o](CommandIo& io) {
        if (!DateRangeIsValid(io, o->from, o->to)) return kExitUsage;
        const std::filesystem::path root = Utf8Path(o->root);
        std::error_code ec;
        if (!std::filesystem::is_directory(root, ec)) throw StoreError(root, "no such store folder");
        Store store(root, false);

        BacktestOptions options;
        options.from = o->from;
        options.to = o->to;
        options.threads = o->threads > 0 ? o->threads : (std::thread::hardware_concurrency() >= 2 ? 2 : 1);
        options.skipped = [&](const std::string& meeting, const std::string& why) {
          io.err << "読めない開催を飛ばします: " << meeting << ": " << why << "\n";
        };
        const bool bar = StderrIsTerminal(io);
        if (bar)
          options.progress = [&](int done, int total) {
            const int width = 40, filled = total > 0 ? done * width / total : width;
            io.err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                   << std::string(static_cast<std::size_t>(width - filled), ' ') << "] " << done << "/" << total
                   << std::flush;
          };
        const BacktestResult r = RunBacktest(store, options);
        if (bar && (r.meetings + r.skippedMeetings) > 0) io.err << "\n";
        if (r.meetings + r.skippedMeetings == 0) io.err << "指定の期間に開催がありません。\n";
        if (r.skippedMeetings > 0) io.err << "読めなかった開催: " << r.skippedMeetings << "\n";

        if (o->json) io.out << ResultJson(r).dump(1) << "\n";
        else if (o->csv) io.out << BacktestCsv(r);
        else PrintTable(io.out, r);
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
