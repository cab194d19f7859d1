// furlong-cli meetings / day: what the store holds and what the day loading
// finds for one meeting.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>

#include "Command.h"
#include "store/DayLoading.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"
#include "store/TextLines.h"

namespace furlong::cli {
namespace {

namespace fs = std::filesystem;

// A name field as shown: without full-width spaces and trailing blanks.
std::string Shown(std::string_view sjis) { return SjisToUtf8(TrimSpaces(RemoveWideSpaces(sjis))); }

RegisterCommand meetings{
    "meetings", "List the stored meetings, newest first", [](CLI::App& sub) {
      auto root = std::make_shared<std::string>();
      sub.add_option("--root", *root, "Data root (the folder that holds Data, SEI, SEIR, UM2)")->required();
      return [root](CommandIo& io) {
        Store store(ExistingRoot(*root), false);
        auto names = store.MeetingNames();
        for (auto it = names.rbegin(); it != names.rend(); ++it) io.out << SjisToUtf8(*it) << "\n";
        return kExitOk;
      };
    }};

void PrintPayouts(std::ostream& out, const RacePayouts& p) {
  auto horses = [&](const char* title, const auto& entries) {
    bool any = false;
    for (auto& e : entries) {
      if (e.horse == 0 && e.amount == 0) continue;
      if (!any) out << "    " << title << ":";
      any = true;
      out << " " << e.horse << "番 " << e.amount << "円(" << e.popularity << ")";
    }
    if (any) out << "\n";
  };
  auto pairs = [&](const char* title, const auto& entries) {
    bool any = false;
    for (auto& e : entries) {
      if (e.Pair().empty()) continue;
      if (!any) out << "    " << title << ":";
      any = true;
      out << " " << e.Pair() << " " << e.amount << "円(" << e.popularity << ")";
    }
    if (any) out << "\n";
  };
  horses("単勝", p.win);
  horses("複勝", p.place);
  pairs("枠連", p.bracketQuinella);
  pairs("馬連", p.quinella);
  pairs("ﾜｲﾄﾞ", p.wide);
}

RegisterCommand day{
    "day", "Load one meeting and print its day tables", [](CLI::App& sub) {
      auto root = std::make_shared<std::string>();
      auto meeting = std::make_shared<std::string>();
      sub.add_option("--root", *root, "Data root")->required();
      sub.add_option("--meeting", *meeting, "Meeting base name as listed by 'meetings' (UTF-8)")->required();
      return [root, meeting](CommandIo& io) {
        Store store(ExistingRoot(*root), false);
        std::string name = Utf8ToSjis(*meeting);
        std::error_code ec;
        if (!fs::exists(store.RaceFile(name), ec) || !fs::exists(store.RunnerFile(name), ec)) {
          io.err << "データ作成が未完了のようです。\n";
          return kExitError;
        }
        auto tables = std::make_unique<DayTables>();
        DayLoadCallbacks cb;
        cb.warning = [&](const std::string& m) { io.err << "warning: " << m << "\n"; };
        LoadMeetingDay(store, name, *tables, cb);
        const DayTables& d = *tables;
        io.out << *meeting << "\n";
        for (int s = 0; s < kRaceSlots; ++s) {
          if (!d.hasRace[s]) continue;
          std::string_view ra = d.RaceRecords[s];
          int track = FieldNumber(ra, ra::kTrackCode);
          const char* surface = track >= kFirstJumpTrackCode ? "障" : CountsAsDirt(track) ? "ダ" : "芝";
          io.out << "\n" << FieldNumber(ra, ra::kRaceNumber) << "R " << Shown(ra::RaceName(ra)) << "  " << surface
                 << FieldNumber(ra, ra::kDistance) << "m  " << FieldNumber(ra, ra::kRegisteredRunners) << "頭  発走 "
                 << ra::StartHour(ra) << ":" << ra::StartMinute(ra) << "\n";
          int n = RegisteredRunners(ra);
          for (int h = 0; h < n; ++h) {
            std::string_view se = d.RunnerRecords[s][h];
            if (IsBlank(se)) {
              io.out << "  " << std::setw(2) << h + 1 << " (no runner record)\n";
              continue;
            }
            int past = 0, pastRaces = 0;
            for (int k = 0; k < kPastRuns; ++k) {
              if (!d.PastRunRecords[s][h][k].IsBlank()) ++past;
              if (!d.PastRaceRecords[s][h][k].IsBlank()) ++pastRaces;
            }
            const ResultTexts& r = d.Results[s][h];
            io.out << "  " << se::Bracket(se) << "枠" << std::setw(2) << FieldNumber(se, se::kHorseNumber) << " "
                   << Shown(se::HorseName(se)) << " " << SjisToUtf8(SexName(se::Sex(se)))
                   << FieldNumber(se, se::kAge) << " " << FormatFixed(FieldNumber(se, se::kWeightCarried) / 10.0, 4, 1) << "kg "
                   << Shown(se::JockeyShort(se)) << "  過去" << past << "走(レース" << pastRaces << ")"
                   << (d.HorseRecords[s][h].IsBlank() ? "  馬ﾏｽﾀなし" : "") << "  着:" << SjisToUtf8(r.finish)
                   << " 人:" << SjisToUtf8(r.popularity) << " 単:" << SjisToUtf8(r.odds)
                   << " ﾀｲﾑ:" << SjisToUtf8(r.time) << "\n";
          }
          if (!d.PayoutRecords[s].IsBlank()) {
            io.out << "  払戻\n";
            PrintPayouts(io.out, d.Payouts[s]);
          }
          if (!d.PredictedOddsRecords[s].IsBlank()) io.out << "  予想配当あり\n";
        }
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
