#include "analysis/MeetingFlow.h"

#include <filesystem>
#include <system_error>

#include "store/CodeTables.h"
#include "store/DayLoading.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

bool HoldsRace(std::string_view ra) {
  const std::string_view year = ra::Year(ra);
  return !IsBlank(year) && year != "0000";
}

std::string RaceLabel(std::string_view ra) {
  std::string label(CourseShortName(ra::Course(ra)));
  label += ra::MeetingNumber(ra);
  label += SJ("回 ");
  label += ra::DayNumber(ra);
  label += SJ("日");
  label += FormatInt(FieldNumber(ra, ra::kRaceNumber), 2);
  label += 'R';
  return label;
}

bool IsYearFrom2005(std::string_view meetingBaseName) {
  return ReadNumber(meetingBaseName.substr(0, 4)) >= 2005;
}

MeetingFlow::MeetingFlow(const Store& store)
    : store_(store), day_(std::make_unique<DayTables>()), analyzer_(*day_) {
  day_->BlankAll();
}

MeetingFlow::~MeetingFlow() = default;

const std::vector<std::string>& MeetingFlow::MakeDataListBtnClick() {
  calendar_.clear();
  raceList_.clear();
  selectedItem_ = -1;
  std::vector<std::string> names = store_.MeetingNames();  // ascending
  calendar_.assign(names.rbegin(), names.rend());
  return calendar_;
}

namespace {

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool MeetingFlow::DateComboChange(std::string_view meetingBaseName, const MeetingFlowCallbacks& cb) {
  yearFrom2005_ = IsYearFrom2005(meetingBaseName);
  raceList_.clear();
  selectedItem_ = -1;
  analyzer_.IniBtnClick();

  bool present = false;
  try {
    present = FileExists(store_.RaceFile(meetingBaseName)) && FileExists(store_.RunnerFile(meetingBaseName));
  } catch (const RefusedRecord&) {
    // A name that cannot form a store path names no meeting of the store.
    present = false;
  }
  if (!present) {
    raceList_.clear();
    if (cb.message) cb.message(SJ("データ作成が未完了のようです。"));
    return false;
  }

  meeting_.assign(meetingBaseName);
  if (cb.progressOpen) cb.progressOpen(meetingBaseName, kDayLoadSteps);
  DayLoadCallbacks load;
  load.progress = cb.progress;
  load.warning = cb.warning;
  load.raceSlot = [this](int slot) {
    const std::string_view ra = day_->RaceRecords[slot].view();
    if (HoldsRace(ra)) raceList_.push_back(RaceListItem{slot, RaceLabel(ra)});
  };
  try {
    LoadMeetingDay(store_, meetingBaseName, *day_, load);
  } catch (...) {
    if (cb.progressClose) cb.progressClose();
    throw;
  }
  if (cb.progressClose) cb.progressClose();

  // The race's own result texts of every runner slot, as the loading set them.
  RunnerAnalysisTable& runners = analyzer_.Runners();
  for (int s = 0; s < kRaceSlots; ++s)
    for (int h = 0; h < kRunnerSlots; ++h) {
      const ResultTexts& t = day_->Results[s][h];
      RunnerAnalysis& a = runners[s][h];
      a.ResultFinishText = t.finish;
      a.ResultPopularityText = t.popularity;
      a.ResultOddsText = t.odds;
      a.ResultTimeText = t.time;
    }

  if (!raceList_.empty()) {
    analyzer_.SetBatchAnalysis(true);
    for (int i = 0; i < static_cast<int>(raceList_.size()); ++i) DatListClick(i);
    analyzer_.SetBatchAnalysis(false);
    const RaceAnalysisResult* first = DatListClick(0);
    if (first && first->messageShown && cb.message) cb.message(first->message);
  }
  upDownMax_ = static_cast<int>(raceList_.size()) - 1;
  upDownPosition_ = 0;
  return true;
}

const RaceAnalysisResult* MeetingFlow::DatListClick(int item) {
  if (item < 0 || item >= static_cast<int>(raceList_.size())) return nullptr;
  selectedItem_ = item;
  upDownPosition_ = item;
  return &analyzer_.DatListClick(raceList_[item].slot);
}

bool AnalyseEveryRace(MeetingFlow& flow, std::string_view meetingBaseName, const MeetingFlowCallbacks& callbacks,
                      const std::function<void(const RaceAnalysisResult&)>& visit) {
  if (!flow.DateComboChange(meetingBaseName, callbacks)) return false;
  for (int item = 0; item < static_cast<int>(flow.RaceList().size()); ++item) {
    const RaceAnalysisResult* res = flow.DatListClick(item);
    // A race the analysis stopped at keeps the previous race's bets on
    // show; they are not this race's.
    if (res && res->analysed) visit(*res);
  }
  return true;
}

const RaceAnalysisResult* MeetingFlow::UpDown1Click(int position) {
  if (position < 0 || position > upDownMax_) return nullptr;
  return DatListClick(position);
}

}  // namespace furlong
