#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/MeetingFlow.h"
#include "app/AboutBox.h"
#include "app/Dialogs.h"
#include "app/PrgrsForm.h"
#include "app/UpDownArrows.h"
#include "jvlink/JVLink.h"
#include "jvlink/JVResultMessage.h"
#include "store/AppPath.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "store/RecordLayout.h"
#include "views/DiagramView.h"
#include "views/GraphViews.h"
#include "views/PredictionView.h"
#include "views/ResultView.h"
#include "views/VerificationView.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"

#include "views/DetailedRaceCardView.h"
#include "views/IndexTableView.h"
#include "views/RaceCardView.h"
#include "views/SignalTableView.h"

namespace furlong {

namespace {

constexpr const char* kLocateSection = "locate";

// A page of fixed-size parts that scrolls when the window is small.
QScrollArea* Scrolled(QWidget* page, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setWidget(page);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

// Runs refresh() on a page that has one.
void RefreshPage(QWidget* page) {
  if (page->metaObject()->indexOfMethod("refresh()") >= 0) QMetaObject::invokeMethod(page, "refresh");
}

}  // namespace

TMainForm::TMainForm(MainFormOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), versionText_(kVersionText) {
  setObjectName("MainForm");
  setWindowTitle(kApplicationTitle);
  // Default geometry, replaced by the stored one below.
  setGeometry(19, 18, 995, 666);

  dataRoot_ = options_.dataRoot.empty() ? ApplicationDir() : options_.dataRoot;
  if (!options_.iniFile.empty()) ini_.SetFileName(options_.iniFile);
  // The store and its folders (Data, SEI, SEIR, UM2, yLZH).
  store_ = std::make_unique<Store>(dataRoot_);
  flow_ = std::make_unique<MeetingFlow>(*store_);
  jvlink_ = std::move(options_.jvlink);
  if (!jvlink_) jvlink_ = CreateJVLink(ChooseJVLink(dataRoot_, &ini_));
  dialogs_ = options_.dialogs;
  if (!dialogs_) {
    if (options_.messageSink)
      dialogs_ = std::make_shared<SinkDialogs>(options_.messageSink);
    else
      dialogs_ = std::make_shared<furlong::Dialogs>();
  }

  // Hints go to the status line (Qt routes status tips there).
  statusBar()->setObjectName("StatusBar");
  statusBar()->setFont(UiFont(12));

  const int top = ini_.ReadInteger(kLocateSection, "top", 10);
  const int left = ini_.ReadInteger(kLocateSection, "left", 10);
  const int width = ini_.ReadInteger(kLocateSection, "width", 1200);
  const int height = ini_.ReadInteger(kLocateSection, "height", 800);
  move(left, top);
  resize(width, height);

  BuildMenu();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->setSpacing(4);
  layout->addWidget(BuildTopRow());
  auto* body = new QHBoxLayout;
  body->setSpacing(4);
  datList_ = new QListWidget(central);
  datList_->setObjectName("DatList");
  datList_->setFont(PixelFont(13));
  datList_->setFixedWidth(160);
  datList_->setStatusTip("");
  body->addWidget(datList_);
  pageControl1_ = new QTabWidget(central);
  pageControl1_->setObjectName("PageControl1");
  // While it is hidden (a meeting or race without data) the race list stays where it is.
  QSizePolicy pagePolicy = pageControl1_->sizePolicy();
  pagePolicy.setRetainSizeWhenHidden(true);
  pageControl1_->setSizePolicy(pagePolicy);
  body->addWidget(pageControl1_, 1);
  layout->addLayout(body, 1);
  setCentralWidget(central);
  BuildPages();

  prgrsForm_ = new TPrgrsForm(this);
  prgrsForm_->hide();

  connect(dateCombo_, qOverload<int>(&QComboBox::activated), this, &TMainForm::DateComboChange);
  connect(datList_, &QListWidget::currentRowChanged, this, [this](int) {
    if (!selectingRow_) DatListClick();
  });
  connect(upDown1_, &UpDownArrows::Clicked, this, &TMainForm::UpDown1Click);

  MakeDataListBtnClick();
  pageControl1_->setCurrentIndex(0);
}

TMainForm::~TMainForm() = default;

QToolButton* TMainForm::AddButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(QString::fromUtf8(caption));
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setFont(UiFont(12));
  button->setMinimumHeight(26);
  if (hint && *hint) {
    button->setStatusTip(QString::fromUtf8(hint));
    button->setToolTip(QString::fromUtf8(hint));
  }
  return button;
}

void TMainForm::BuildMenu() {
  QMenu* file = menuBar()->addMenu("ﾌｧｲﾙ(&F)");
  file->addAction("JVデータ取得(&J)", this, &TMainForm::JVBtnClick);
  QAction* rebuild = file->addAction("開催データ作成(&R)", this, &TMainForm::RebuildMeetingsClick);
  rebuild->setObjectName("RebuildMeetingsAction");
  rebuild->setStatusTip("セットアップで取り込んだ過去の成績から開催データを作成します");
  QAction* quit = file->addAction("終了(&X)", this, &TMainForm::SpeedButton4Click);
  quit->setStatusTip("このｱﾌﾟﾘｹｰｼｮﾝを終了します");
  QMenu* option = menuBar()->addMenu("ｵﾌﾟｼｮﾝ(&O)");
  QAction* yoso = option->addAction("単勝予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定(&Y)", this, &TMainForm::YosoDirClick);
  yoso->setStatusTip("PAT for WINﾌｫﾙﾀﾞの指定をします。");
  QMenu* help = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
  QAction* contents = help->addAction("目次(&C)", this, &TMainForm::SpeedButton5Click);
  contents->setStatusTip("ﾍﾙﾌﾟの目次を表示します");
  help->addAction("ﾊﾞｰｼﾞｮﾝ情報(&A)...", this, &TMainForm::SpeedButton6Click);
  for (QMenu* menu : {file, option, help}) menu->setFont(UiFont(12));
  menuBar()->setFont(UiFont(12));
}

QWidget* TMainForm::BuildTopRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);

  // The toolbar: commands on the first line, the calendar and arrows below.
  auto* tools = new QWidget(row);
  auto* toolsLayout = new QVBoxLayout(tools);
  toolsLayout->setContentsMargins(0, 0, 0, 0);
  toolsLayout->setSpacing(3);
  auto* commands = new QHBoxLayout;
  commands->setSpacing(2);
  QToolButton* jv = AddButton(tools, "JVBtn", "JVデータ取得", nullptr);
  QToolButton* toz = AddButton(tools, "TozBtn", "予想配当", "単勝予想配当ﾃﾞｰﾀを読み込みます");
  QToolButton* teki = AddButton(tools, "TekiAnaBtn", "的中", nullptr);
  QToolButton* teki2 = AddButton(tools, "TekiAnaBtn2", "穴的中", nullptr);
  QToolButton* kaishu = AddButton(tools, "KaishuBtn", "回収率", "予想の買い目の的中率と回収率を期間で集計します");
  QToolButton* help = AddButton(tools, "SpeedButton5", "ﾍﾙﾌﾟ", "ﾍﾙﾌﾟの目次を表示します");
  QToolButton* about = AddButton(tools, "SpeedButton6", "ﾊﾞｰｼﾞｮﾝ情報", nullptr);
  QToolButton* quit = AddButton(tools, "SpeedButton4", "終了", "ソフトを終了します");
  connect(jv, &QToolButton::clicked, this, &TMainForm::JVBtnClick);
  connect(toz, &QToolButton::clicked, this, &TMainForm::TozBtnClick);
  connect(teki, &QToolButton::clicked, this, &TMainForm::TekiAnaBtnClick);
  connect(teki2, &QToolButton::clicked, this, &TMainForm::TekiAnaBtn2Click);
  connect(kaishu, &QToolButton::clicked, this, &TMainForm::KaishuBtnClick);
  connect(help, &QToolButton::clicked, this, &TMainForm::SpeedButton5Click);
  connect(about, &QToolButton::clicked, this, &TMainForm::SpeedButton6Click);
  connect(quit, &QToolButton::clicked, this, &TMainForm::SpeedButton4Click);
  for (QToolButton* b : {jv, toz, teki, teki2, kaishu, help, about, quit}) commands->addWidget(b);
  // Commands other code invokes; never shown.
  for (const char* name : {"GrphBtn", "TenkaiGraphBtn", "UMConvertBtn", "MakeDataListBtn", "IniBtn"}) {
    QToolButton* hidden = AddButton(tools, name, name, nullptr);
    hidden->setVisible(false);
    if (QString(name) == "MakeDataListBtn") connect(hidden, &QToolButton::clicked, this, &TMainForm::MakeDataListBtnClick);
    if (QString(name) == "IniBtn") connect(hidden, &QToolButton::clicked, this, &TMainForm::IniBtnClick);
    if (QString(name) == "GrphBtn")
      connect(hidden, &QToolButton::clicked, this, [this] { indexGraphs_->Redraw(); });
    if (QString(name) == "TenkaiGraphBtn")
      connect(hidden, &QToolButton::clicked, this, [this] { developmentGraphs_->Redraw(); });
  }
  commands->addStretch(1);
  toolsLayout->addLayout(commands);

  auto* choose = new QHBoxLayout;
  choose->setSpacing(4);
  dateCombo_ = new QComboBox(tools);
  dateCombo_->setObjectName("DateCombo");
  dateCombo_->setEditable(false);
  dateCombo_->setMaxVisibleItems(36);
  dateCombo_->setFont(PixelFont(13, true));
  dateCombo_->setMinimumWidth(190);
  // The light-yellow box, drawn flat so the yellow is not lost to the style's
  // shading. Its list opens as a list, 36 rows at most and then a scroll bar
  // (as a menu it grew as tall as the calendar), and draws its items as a
  // list view does, white text on the selection blue for the item under the
  // mouse and the current item: drawn as menu items they took the box's light
  // yellow behind white text.
  dateCombo_->setItemDelegate(new QStyledItemDelegate(dateCombo_));
  dateCombo_->setStyleSheet(
      "QComboBox#DateCombo { background: rgb(255, 255, 225); border: 1px solid rgb(122, 122, 122);"
      " padding: 1px 18px 1px 3px; combobox-popup: 0; }"
      "QComboBox#DateCombo QAbstractItemView { background: white; color: black;"
      " selection-background-color: rgb(0, 120, 215); selection-color: white; }");
  upDown1_ = new UpDownArrows(tools);
  upDown1_->setObjectName("UpDown1");
  QToolButton* kekka = AddButton(tools, "KekkaGetBtn", "結果情報", "レース結果の簡易表示窓を出します。");
  connect(kekka, &QToolButton::clicked, this, &TMainForm::KekkaGetBtnClick);
  choose->addWidget(dateCombo_);
  choose->addWidget(upDown1_);
  choose->addWidget(kekka);
  choose->addStretch(1);
  toolsLayout->addLayout(choose);
  layout->addWidget(tools, 0);

  // The information panel: the header lines beside the surface strip.
  auto* info = new QFrame(row);
  info->setObjectName("InfoPanel");
  info->setFrameShape(QFrame::Panel);
  info->setFrameShadow(QFrame::Sunken);
  info->setAutoFillBackground(true);
  QPalette pal = info->palette();
  pal.setColor(QPalette::Window, ToQColor(kInfoBackground));
  info->setPalette(pal);
  auto* infoLayout = new QHBoxLayout(info);
  infoLayout->setContentsMargins(2, 2, 6, 2);
  infoLayout->setSpacing(6);
  panel3_ = new QFrame(info);
  panel3_->setObjectName("Panel3");
  panel3_->setFixedWidth(14);
  panel3_->setAutoFillBackground(true);
  QPalette strip = panel3_->palette();
  strip.setColor(QPalette::Window, ToQColor(kTurfGreen));
  panel3_->setPalette(strip);
  infoLayout->addWidget(panel3_);
  auto* lines = new QVBoxLayout;
  lines->setSpacing(0);
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(info);
    label->setObjectName(QString("Label%1").arg(i + 1));
    label->setFont(PixelFont(13, true));
    label->setTextFormat(Qt::PlainText);
    label->setMinimumHeight(17);
    // Long header lines are cut at the panel's edge rather than widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lines->addWidget(label);
    labels_[static_cast<std::size_t>(i)] = label;
  }
  infoLayout->addLayout(lines, 1);
  layout->addWidget(info, 1);
  return row;
}

void TMainForm::BuildPages() {
  QTabWidget* pc = pageControl1_;
  pc->setFont(UiFont(12));
  prediction_ = new PredictionView(*flow_, pc);
  pc->addTab(prediction_, "予想");
auto* raceCard = new RaceCardView(*flow_, pc);
  connect(raceCard, &RaceCardView::filterClicked, this, &TMainForm::DatListClick);
  pc->addTab(raceCard, "出馬表");
  pages_.push_back(raceCard);
  auto* detailed = new DetailedRaceCardView(*flow_, pc);
  pc->addTab(detailed, "出馬表(詳細)");
  pages_.push_back(detailed);
  auto* indexTable = new IndexTableView(*flow_, pc);
  pc->addTab(indexTable, "指数表");
  pages_.push_back(indexTable);
  auto* signalTable = new SignalTableView(*flow_, pc);
  pc->addTab(signalTable, "ｼｸﾞﾅﾙ検討表");
  pages_.push_back(signalTable);
  verification_ = new VerificationView(*flow_, pc);
  pc->addTab(verification_, "前走検証表");

  graphTabs_ = new QTabWidget(pc);
  graphTabs_->setObjectName("GraphTabs");
  indexGraphs_ = new IndexGraphView(*flow_, graphTabs_);
  developmentGraphs_ = new DevelopmentGraphView(*flow_, graphTabs_);
  graphTabs_->addTab(indexGraphs_, "指数グラフ");
  graphTabs_->addTab(developmentGraphs_, "展開グラフ");
  pc->addTab(graphTabs_, "グラフ");

  diagram_ = new DiagramView(*flow_, pc);
  pc->addTab(Scrolled(diagram_, pc), "展開予想図");
  result_ = new ResultView(*flow_, pc);
  pc->addTab(Scrolled(result_, pc), "結果");

  pages_.insert(pages_.begin(), {prediction_, verification_, diagram_, result_});
}

void TMainForm::Information(const QString& text, bool beep) {
  if (beep) dialogs_->Beep();
  dialogs_->Information(this, text);
}

void TMainForm::MakeDataListBtnClick() {
  const std::vector<std::string>& calendar = flow_->MakeDataListBtnClick();
  dateCombo_->clear();
  selectingRow_ = true;
  datList_->clear();
  selectingRow_ = false;
  for (const std::string& name : calendar) dateCombo_->addItem(FromSjis(name));
  dateCombo_->setCurrentIndex(-1);
}

void TMainForm::IniBtnClick() { flow_->IniBtnClick(); }

MeetingFlowCallbacks TMainForm::LoadCallbacks() {
  MeetingFlowCallbacks callbacks;
  callbacks.progressOpen = [this](std::string_view caption, int total) {
    prgrsForm_->Open(FromSjis(caption), total);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  callbacks.progress = [this](int done, int) {
    prgrsForm_->SetPosition(done);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  callbacks.progressClose = [this] { prgrsForm_->Finish(); };
  callbacks.message = [this](const std::string& message) { Information(FromSjis(message)); };
  callbacks.warning = [this](const std::string& warning) {
    statusBar()->showMessage(QString::fromStdString(warning), 10000);
  };
  return callbacks;
}

void TMainForm::DateComboChange(int index) {
  if (loading_) return;
  const std::vector<std::string>& calendar = flow_->Calendar();
  if (index < 0 || index >= static_cast<int>(calendar.size())) return;
  const std::string meeting = calendar[static_cast<std::size_t>(index)];

  selectingRow_ = true;
  datList_->clear();
  selectingRow_ = false;
  pageControl1_->hide();

  const MeetingFlowCallbacks callbacks = LoadCallbacks();
  loading_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool loaded = false;
  try {
    loaded = flow_->DateComboChange(meeting, callbacks);
  } catch (const std::exception& e) {
    prgrsForm_->Finish();
    QApplication::restoreOverrideCursor();
    loading_ = false;
    Information(QString::fromStdString(e.what()));
    return;
  }
  QApplication::restoreOverrideCursor();
  loading_ = false;

  selectingRow_ = true;
  for (const RaceListItem& item : flow_->RaceList()) datList_->addItem(FromSjis(item.label));
  selectingRow_ = false;
  upDown1_->SetMax(flow_->UpDownMax());
  upDown1_->SetPosition(0);
  if (loaded && !flow_->RaceList().empty()) ShowAnalysis(&flow_->Analyzer().Result());
}

void TMainForm::SelectDatListRow(int row) {
  selectingRow_ = true;
  datList_->setCurrentRow(row);
  selectingRow_ = false;
}

void TMainForm::DatListClick() {
  if (loading_) return;
  const int item = datList_->currentRow();
  const RaceAnalysisResult* result = flow_->DatListClick(item);
  if (!result) return;
  if (result->messageShown) Information(FromSjis(result->message));
  ShowAnalysis(result);
}

void TMainForm::UpDown1Click(int position) {
  if (loading_) return;
  const RaceAnalysisResult* result = flow_->UpDown1Click(position);
  if (!result) return;
  if (result->messageShown) Information(FromSjis(result->message));
  ShowAnalysis(result);
}

void TMainForm::ShowAnalysis(const RaceAnalysisResult* result) {
  if (!result) return;
  upDown1_->SetPosition(flow_->UpDownPosition());
  SelectDatListRow(flow_->SelectedItem());
  if (!result->analysed) {
    pageControl1_->hide();
    return;
  }
  for (std::size_t i = 0; i < 4; ++i) labels_[i]->setText(FromSjis(result->headerLabels[i]));
  QPalette strip = panel3_->palette();
  strip.setColor(QPalette::Window, ToQColor(result->panelColour));
  panel3_->setPalette(strip);
  // The graphs of the race just analysed, with their 全表示 filters pressed.
  indexGraphs_->PressAllAndRedraw();
  developmentGraphs_->PressAllAndRedraw();
  pageControl1_->setUpdatesEnabled(false);
  for (QWidget* page : pages_) RefreshPage(page);
  pageControl1_->setUpdatesEnabled(true);
  pageControl1_->setVisible(result->pageVisible);
}

bool TMainForm::ChooseMeeting(const std::string& meetingBaseName) {
  const std::vector<std::string>& calendar = flow_->Calendar();
  for (int i = 0; i < static_cast<int>(calendar.size()); ++i)
    if (calendar[static_cast<std::size_t>(i)] == meetingBaseName) {
      dateCombo_->setCurrentIndex(i);
      DateComboChange(i);
      return true;
    }
  return false;
}

bool TMainForm::ChooseRace(int raceNumber) {
  const std::vector<RaceListItem>& items = flow_->RaceList();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const std::string_view ra = flow_->Day().RaceRecords[items[static_cast<std::size_t>(i)].slot].view();
    if (FieldNumber(ra, ra::kRaceNumber) == raceNumber) {
      datList_->setCurrentRow(i);  // runs DatListClick
      if (flow_->SelectedItem() != i) DatListClick();
      return true;
    }
  }
  return false;
}

std::filesystem::path TMainForm::HelpFile() {
  const std::filesystem::path beside = ApplicationDir() / "help" / "index.html";
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  return std::filesystem::path(FURLONG_HELP_SOURCE);
}

void TMainForm::SpeedButton4Click() { close(); }

void TMainForm::SpeedButton5Click() { OpenFile(HelpFile()); }

bool TMainForm::OpenFile(const std::filesystem::path& file) {
  if (dialogs_->OpenWithDefaultApplication(file)) return true;
  Information("ファイルを開けませんでした。\n" + PathText(file));
  return false;
}

void TMainForm::SpeedButton6Click() {
  AboutBox box(kApplicationTitle, versionText_, this);
  box.exec();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TMainForm::FormShow() {
  versionText_ = kVersionText;
  if (!jvlink_) return;
  const int result = jvlink_->JVInit(SoftwareId(versionText_.toStdString()));
  if (result != 0) {
    // A plain message box, without the beep.
    Information("JVInitエラー：" + FromSjis(JVResultMessage("JVInit", result)), false);
    return;
  }
  const std::string warning = JVLinkVersionWarning(jvlink_->Version());
  if (!warning.empty()) Information(FromSjis(warning));
}

void TMainForm::FormCloseQuery() {
  try {
    ini_.WriteInteger(kLocateSection, "top", y());
    ini_.WriteInteger(kLocateSection, "left", x());
    ini_.WriteInteger(kLocateSection, "width", width());
    ini_.WriteInteger(kLocateSection, "height", height());
  } catch (const std::exception& e) {
    Information(QString::fromStdString(e.what()));
  }
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  prgrsForm_->close();
  event->accept();
}

}  // namespace furlong
