#pragma once
// How the user reaches a race: the meeting calendar (DateCombo), the race
// list of the chosen meeting (DatList) and the arrows (UpDown1). Choosing a
// meeting loads it into the day tables and analyses every race once in batch
// mode. No widgets: the window shows what this returns and passes callbacks
// for the progress window and the message boxes.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/RaceAnalysis.h"
#include "store/DayTables.h"
#include "store/Store.h"

namespace furlong {

// One item of the race list: the race slot it was made from and its label.
struct RaceListItem {
  int slot = 0;
  std::string label;  // Shift-JIS
};

// True when the race record's year (columns 12-15) is neither blank nor "0000".
bool HoldsRace(std::string_view ra);

// The race-list label: CourseShortName of the racecourse code, the meeting
// number as stored, "回 ", the day number as stored, "日", "%2d" of the race
// number and "R" (e.g. 中山 and two spaces, then 01回 08日 1R).
std::string RaceLabel(std::string_view ra);

// True when the year of a meeting name (its first four characters) is 2005
// or later.
bool IsYearFrom2005(std::string_view meetingBaseName);

struct MeetingFlowCallbacks {
  // The progress window: opened with the meeting name as its caption line and
  // a bar from 0 to `total`, advanced, and closed.
  std::function<void(std::string_view caption, int total)> progressOpen;
  std::function<void(int done, int total)> progress;
  std::function<void()> progressClose;
  // An information message (Shift-JIS) to show after the system beep.
  std::function<void(const std::string& message)> message;
  // Data the day loading skipped as malformed (UTF-8).
  std::function<void(const std::string& warning)> warning;
};

class MeetingFlow {
 public:
  explicit MeetingFlow(const Store& store);
  ~MeetingFlow();
  MeetingFlow(const MeetingFlow&) = delete;
  MeetingFlow& operator=(const MeetingFlow&) = delete;

  // Rebuilds the meeting calendar: the meeting names of the store's race
  // files, newest first. Empties the race list; nothing is loaded.
  const std::vector<std::string>& MakeDataListBtnClick();
  const std::vector<std::string>& Calendar() const { return calendar_; }

  // A meeting was chosen (Shift-JIS MeetingBaseName): resets the analysis
  // records, loads the meeting, builds the race list, analyses every race in
  // batch mode and then the first race again. Returns false, after the
  // message "データ作成が未完了のようです。", when its race file or runner file is
  // missing. A file that cannot be read throws StoreError.
  bool DateComboChange(std::string_view meetingBaseName, const MeetingFlowCallbacks& callbacks = {});

  // A race-list item was chosen: sets the arrows to it and analyses the race
  // slot it was made from. Returns nullptr for an index outside the list.
  const RaceAnalysisResult* DatListClick(int item);
  // An arrow was pressed: chooses the item at the arrows' position.
  const RaceAnalysisResult* UpDown1Click(int position);

  // Resets every runner analysis record.
  void IniBtnClick() { analyzer_.IniBtnClick(); }

  const std::vector<RaceListItem>& RaceList() const { return raceList_; }
  int SelectedItem() const { return selectedItem_; }  // -1 when none
  int UpDownMax() const { return upDownMax_; }
  int UpDownPosition() const { return upDownPosition_; }
  bool YearFrom2005() const { return yearFrom2005_; }
  const std::string& Meeting() const { return meeting_; }

  DayTables& Day() { return *day_; }
  const DayTables& Day() const { return *day_; }
  RaceAnalyzer& Analyzer() { return analyzer_; }
  const RaceAnalyzer& Analyzer() const { return analyzer_; }

 private:
  const Store& store_;
  std::unique_ptr<DayTables> day_;
  RaceAnalyzer analyzer_;
  std::vector<std::string> calendar_;
  std::vector<RaceListItem> raceList_;
  std::string meeting_;
  int selectedItem_ = -1;
  int upDownMax_ = 35;
  int upDownPosition_ = 0;
  bool yearFrom2005_ = false;
};

// Chooses the meeting as the window does (loading it and analysing every
// race once in batch mode) and then analyses each race of its race list
// once more, in list order, as choosing it in the list does; `visit` gets
// each race whose analysis did not stop. The flow is left with the meeting
// loaded and its last race analysed. Returns false when the meeting could
// not be chosen (its race file or runner file is missing); a file that
// cannot be read throws StoreError.
bool AnalyseEveryRace(MeetingFlow& flow, std::string_view meetingBaseName, const MeetingFlowCallbacks& callbacks,
                      const std::function<void(const RaceAnalysisResult&)>& visit);

}  // namespace furlong
