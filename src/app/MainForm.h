#pragma once
// The main window (TMainForm): toolbar and menu, the information panel with
// the race header (Label1-Label4, Panel3), the meeting calendar (DateCombo),
// the race list (DatList) with its arrows (UpDown1), the tabbed pages
// (PageControl1) and the status line that shows the hint of the control
// under the mouse.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/IniGT.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QTabWidget;
class QToolButton;

namespace furlong {

class BacktestWindow;
class DevelopmentGraphView;
class DiagramView;
class IndexGraphView;
class Dialogs;
class JVLink;
class MeetingFlow;
class PredictionView;
class ResultView;
class Store;
class TPrgrsForm;
class UpDownArrows;
class VerificationView;
struct MeetingFlowCallbacks;
struct RaceAnalysisResult;
enum class HitReportKind;

inline constexpr const char* kVersionText = "Ver.1.33";
inline constexpr const char* kApplicationTitle = "ハロンボード";

struct MainFormOptions {
  // DataRoot: where the store lives.
  std::filesystem::path dataRoot;
  // The settings file; empty = the executable's name with ".ini", beside it.
  std::filesystem::path iniFile;
  // The JV-Link to use; null = the one the settings choose.
  std::unique_ptr<JVLink> jvlink;
  // Where information messages go when `dialogs` is null; null = message
  // boxes after the beep.
  std::function<void(const QString&)> messageSink;
  // The message boxes, questions, pickers and the desktop's "open" action;
  // null = the real ones (or messageSink for the messages).
  std::shared_ptr<Dialogs> dialogs;
};

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  // FormCreate: opens the store (creating its folders), restores the
  // geometry, sets up the pages and builds the meeting calendar. Throws
  // StoreError when the store folders cannot be created.
  explicit TMainForm(MainFormOptions options, QWidget* parent = nullptr);
  ~TMainForm() override;

  const std::filesystem::path& DataRoot() const { return dataRoot_; }
  QString VersionText() const { return versionText_; }
  MeetingFlow& Flow() { return *flow_; }
  TIniGT& IniGT1() { return ini_; }
  JVLink* JVLink1() { return jvlink_.get(); }
  furlong::Dialogs& Dialogs1() { return *dialogs_; }

  // Controls, for the pages and the tests.
  QComboBox* DateCombo() const { return dateCombo_; }
  QListWidget* DatList() const { return datList_; }
  UpDownArrows* UpDown1() const { return upDown1_; }
  QTabWidget* PageControl1() const { return pageControl1_; }
  QLabel* HeaderLabel(int i) const { return labels_.at(static_cast<std::size_t>(i - 1)); }  // Label1 .. Label4
  QFrame* Panel3() const { return panel3_; }
  TPrgrsForm* PrgrsForm() const { return prgrsForm_; }
  PredictionView* Prediction() const { return prediction_; }
  VerificationView* Verification() const { return verification_; }
  IndexGraphView* IndexGraphs() const { return indexGraphs_; }
  DevelopmentGraphView* DevelopmentGraphs() const { return developmentGraphs_; }
  DiagramView* Diagram() const { return diagram_; }
  ResultView* Result() const { return result_; }
  BacktestWindow* Backtest() const;
  QTabWidget* GraphTabs() const { return graphTabs_; }

  // Selects the calendar item of a meeting (Shift-JIS MeetingBaseName) and
  // loads it as a choice in the calendar does. False when it is not listed.
  bool ChooseMeeting(const std::string& meetingBaseName);
  // Selects the race-list item of a race number and analyses it. False when
  // the loaded meeting has no such race.
  bool ChooseRace(int raceNumber);

  // Where the help page is looked for.
  static std::filesystem::path HelpFile();

 public slots:
  void MakeDataListBtnClick();
  void DateComboChange(int index);
  void DatListClick();
  void UpDown1Click(int position);
  void IniBtnClick();
  void SpeedButton4Click();  // 終了
  void SpeedButton5Click();  // ﾍﾙﾌﾟ
  void SpeedButton6Click();  // ﾊﾞｰｼﾞｮﾝ情報
  // The side commands (MainFormCommands.cpp).
  void JVBtnClick();        // JVデータ取得: the import window, modal
  void RebuildMeetingsClick();  // 開催データ作成: past meetings from the results, modal
  void TozBtnClick();       // 予想配当: predicted odds import
  void YosoDirClick();      // the predicted-odds folder
  void KekkaGetBtnClick();  // 結果情報: results fetch
  void TekiAnaBtnClick();   // 的中: hit report of every hit
  void TekiAnaBtn2Click();  // 穴的中: hit report of the high-paying hits
  void KaishuBtnClick();    // 回収率: the return window, beside this one

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void FormCloseQuery();
  void BuildMenu();
  QWidget* BuildTopRow();
  void BuildPages();
  QToolButton* AddButton(QWidget* parent, const char* name, const char* caption, const char* hint);
  // Shows what an analysis run produced: the header, the pages, the arrows.
  void ShowAnalysis(const RaceAnalysisResult* result);
  void SelectDatListRow(int row);
  // Opens a file with the desktop's application for it; when there is none,
  // says so in a message that names the file.
  bool OpenFile(const std::filesystem::path& file);
  // An information message, after the system beep unless told otherwise.
  void Information(const QString& text, bool beep = true);
  // The progress window and messages of a meeting load.
  MeetingFlowCallbacks LoadCallbacks();
  // Shows the meeting and race the flow holds (after the hit report).
  void ShowFlowState();
  void MakeHitReport(HitReportKind kind);

  MainFormOptions options_;
  std::filesystem::path dataRoot_;
  QString versionText_;
  TIniGT ini_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<MeetingFlow> flow_;
  std::unique_ptr<JVLink> jvlink_;
  std::shared_ptr<furlong::Dialogs> dialogs_;
  bool shown_ = false;
  bool loading_ = false;
  bool selectingRow_ = false;

  QComboBox* dateCombo_ = nullptr;
  QListWidget* datList_ = nullptr;
  UpDownArrows* upDown1_ = nullptr;
  QTabWidget* pageControl1_ = nullptr;
  QTabWidget* graphTabs_ = nullptr;
  std::array<QLabel*, 4> labels_{};
  QFrame* panel3_ = nullptr;
  TPrgrsForm* prgrsForm_ = nullptr;

  QPointer<BacktestWindow> backtest_;
  PredictionView* prediction_ = nullptr;
  VerificationView* verification_ = nullptr;
  IndexGraphView* indexGraphs_ = nullptr;
  DevelopmentGraphView* developmentGraphs_ = nullptr;
  DiagramView* diagram_ = nullptr;
  ResultView* result_ = nullptr;
  // Every page with a refresh() slot, called after each analysis run.
  std::vector<QWidget*> pages_;
};

}  // namespace furlong
