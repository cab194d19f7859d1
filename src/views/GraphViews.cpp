#include "views/GraphViews.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/MeetingFlow.h"
#include "analysis/GraphData.h"
#include "views/RangeChart.h"
#include "views/ToggleButtonGroup.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

// A sub-tab page that the chart's panel fills.
QWidget* ChartPage(RangeChart* chart, QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  chart->setParent(page);
  layout->addWidget(chart);
  return page;
}

}  // namespace

GraphPage::GraphPage(MeetingFlow& flow, const char* filterTitle, std::initializer_list<const char*> filterButtons,
                     const char* filterName, std::initializer_list<ChartTab> tabs, QWidget* parent)
    : QWidget(parent), flow_(flow) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  QStringList buttons;
  for (const char* b : filterButtons) buttons << QString::fromUtf8(b);
  filter_ = new ToggleButtonGroup(QString::fromUtf8(filterTitle), buttons, false, this);
  filter_->setObjectName(filterName);
  filter_->SetDown(0);
  connect(filter_, &ToggleButtonGroup::Clicked, this, &GraphPage::Redraw);
  layout->addWidget(filter_);
  tabs_ = new QTabWidget(this);
  for (const ChartTab& t : tabs) {
    charts_.push_back(new RangeChart(QString::fromUtf8(t.title), QString::fromUtf8(t.axis), this));
    tabs_->addTab(ChartPage(charts_.back(), tabs_), QString::fromUtf8(t.tab));
  }
  layout->addWidget(tabs_, 1);
}

void GraphPage::PressAllAndRedraw() {
  filter_->SetDown(0);
  Redraw();
}

int GraphPage::FilterDown() const { return filter_->Down() < 0 ? 0 : filter_->Down(); }

int GraphPage::Runners() const {
  return RegisteredRunners(flow_.Day().RaceRecords[flow_.Analyzer().SelectedRace()].view());
}

IndexGraphView::IndexGraphView(MeetingFlow& flow, QWidget* parent)
    : GraphPage(flow, "馬場選択", {"全表示", "芝", "ﾀﾞｰﾄ"}, "IndexGraphFilter",
                {{"能力指数", "能力指数グラフ", "能力指数"},
                 {"Ｄ指数", "D指数グラフ", "Ｄ指数"},
                 {"脚力指数", "脚力指数グラフ", "脚力指数"}},
                parent) {}

void IndexGraphView::Redraw() {
  static const Rgb colours[3] = {kBlue, kGreen, kMaroon};
  static const IndexGraphKind kinds[3] = {IndexGraphKind::kAbility, IndexGraphKind::kDIndex,
                                          IndexGraphKind::kLegPower};
  const int down = FilterDown();
  const int slot = flow_.Analyzer().SelectedRace();
  for (int i = 0; i < 3; ++i)
    Chart(i)->SetBars(IndexGraphBars(flow_.Day(), flow_.Analyzer().Runners(), slot, kinds[i],
                                     static_cast<SurfaceFilter>(down)),
                      ToQColor(colours[down]), Runners());
}

DevelopmentGraphView::DevelopmentGraphView(MeetingFlow& flow, QWidget* parent)
    : GraphPage(flow, "コース選択", {"全表示", "左", "右"}, "DevelopmentGraphFilter",
                {{"前走展開値指数", "前走展開指数グラフ", "展開値"},
                 {"過去５走展開指数", "過去５走展開指数グラフ", "能力値"}},
                parent) {}

void DevelopmentGraphView::Redraw() {
  const CourseFilter course = static_cast<CourseFilter>(FilterDown());
  const int slot = flow_.Analyzer().SelectedRace();
  const DevelopmentGraphKind kinds[2] = {DevelopmentGraphKind::kLastRun, DevelopmentGraphKind::kLastFiveRuns};
  for (int i = 0; i < 2; ++i)
    Chart(i)->SetBars(DevelopmentGraphBars(flow_.Day(), flow_.Analyzer().Runners(), slot, kinds[i], course),
                      ToQColor(kNavy), Runners());
}

}  // namespace furlong
