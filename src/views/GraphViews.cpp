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

int Runners(const MeetingFlow& flow) {
  return RegisteredRunners(flow.Day().RaceRecords[flow.Analyzer().SelectedRace()].view());
}

}  // namespace

IndexGraphView::IndexGraphView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  filter_ = new ToggleButtonGroup("馬場選択", {"全表示", "芝", "ﾀﾞｰﾄ"}, false, this);
  filter_->setObjectName("IndexGraphFilter");
  filter_->SetDown(0);
  connect(filter_, &ToggleButtonGroup::Clicked, this, &IndexGraphView::Redraw);
  layout->addWidget(filter_);
  tabs_ = new QTabWidget(this);
  const char* const pages[3] = {"能力指数", "Ｄ指数", "脚力指数"};
  const char* const titles[3] = {"能力指数グラフ", "D指数グラフ", "脚力指数グラフ"};
  for (int i = 0; i < 3; ++i) {
    charts_[static_cast<std::size_t>(i)] =
        new RangeChart(QString::fromUtf8(titles[i]), QString::fromUtf8(pages[i]), this);
    tabs_->addTab(ChartPage(charts_[static_cast<std::size_t>(i)], tabs_), QString::fromUtf8(pages[i]));
  }
  layout->addWidget(tabs_, 1);
}

void IndexGraphView::Redraw() {
  static const Rgb colours[3] = {kBlue, kGreen, kMaroon};
  static const IndexGraphKind kinds[3] = {IndexGraphKind::kAbility, IndexGraphKind::kDIndex,
                                          IndexGraphKind::kLegPower};
  const int down = filter_->Down() < 0 ? 0 : filter_->Down();
  const SurfaceFilter surface = static_cast<SurfaceFilter>(down);
  const int slot = flow_.Analyzer().SelectedRace();
  for (int i = 0; i < 3; ++i)
    charts_[static_cast<std::size_t>(i)]->SetBars(
        IndexGraphBars(flow_.Day(), flow_.Analyzer().Runners(), slot, kinds[i], surface), ToQColor(colours[down]),
        Runners(flow_));
}

void IndexGraphView::PressAllAndRedraw() {
  filter_->SetDown(0);
  Redraw();
}

DevelopmentGraphView::DevelopmentGraphView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  filter_ = new ToggleButtonGroup("コース選択", {"全表示", "左", "右"}, false, this);
  filter_->setObjectName("DevelopmentGraphFilter");
  filter_->SetDown(0);
  connect(filter_, &ToggleButtonGroup::Clicked, this, &DevelopmentGraphView::Redraw);
  layout->addWidget(filter_);
  tabs_ = new QTabWidget(this);
  const char* const pages[2] = {"前走展開値指数", "過去５走展開指数"};
  const char* const titles[2] = {"前走展開指数グラフ", "過去５走展開指数グラフ"};
  const char* const axes[2] = {"展開値", "能力値"};
  for (int i = 0; i < 2; ++i) {
    charts_[static_cast<std::size_t>(i)] =
        new RangeChart(QString::fromUtf8(titles[i]), QString::fromUtf8(axes[i]), this);
    tabs_->addTab(ChartPage(charts_[static_cast<std::size_t>(i)], tabs_), QString::fromUtf8(pages[i]));
  }
  layout->addWidget(tabs_, 1);
}

void DevelopmentGraphView::Redraw() {
  const CourseFilter course = static_cast<CourseFilter>(filter_->Down() < 0 ? 0 : filter_->Down());
  const int slot = flow_.Analyzer().SelectedRace();
  const DevelopmentGraphKind kinds[2] = {DevelopmentGraphKind::kLastRun, DevelopmentGraphKind::kLastFiveRuns};
  for (int i = 0; i < 2; ++i)
    charts_[static_cast<std::size_t>(i)]->SetBars(
        DevelopmentGraphBars(flow_.Day(), flow_.Analyzer().Runners(), slot, kinds[i], course), ToQColor(kNavy),
        Runners(flow_));
}

void DevelopmentGraphView::PressAllAndRedraw() {
  filter_->SetDown(0);
  Redraw();
}

}  // namespace furlong
