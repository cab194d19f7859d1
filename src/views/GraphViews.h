#pragma once
// The two pages of the グラフ tab: 指数グラフ (能力指数, Ｄ指数, 脚力指数 with
// the "馬場選択" buttons) and 展開グラフ (前走展開値指数, 過去５走展開指数 with the
// "コース選択" buttons). The race analysis redraws both with their 全表示
// button pressed; the buttons redraw them with their filter.
#include <QWidget>

#include <initializer_list>
#include <vector>

class QTabWidget;

namespace furlong {

class MeetingFlow;
class RangeChart;
class ToggleButtonGroup;

// A page of filter buttons over a tab of range charts, one chart per tab.
class GraphPage : public QWidget {
  Q_OBJECT
 public:
  RangeChart* Chart(int i) const { return charts_.at(static_cast<std::size_t>(i)); }
  ToggleButtonGroup* Filter() const { return filter_; }
  QTabWidget* Tabs() const { return tabs_; }

 public slots:
  // Draws the charts of the selected race with the pressed filter.
  virtual void Redraw() = 0;
  // Presses 全表示 and draws (what the race analysis does).
  void PressAllAndRedraw();

 protected:
  struct ChartTab {
    const char* tab;    // the tab's caption
    const char* title;  // the chart's title
    const char* axis;   // the value axis's title
  };
  GraphPage(MeetingFlow& flow, const char* filterTitle, std::initializer_list<const char*> filterButtons,
            const char* filterName, std::initializer_list<ChartTab> tabs, QWidget* parent);
  // The pressed filter button, 0 (全表示) when none is.
  int FilterDown() const;
  // Runners of the selected race: the charts' rows.
  int Runners() const;

  MeetingFlow& flow_;

 private:
  ToggleButtonGroup* filter_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::vector<RangeChart*> charts_;
};

class IndexGraphView : public GraphPage {
  Q_OBJECT
 public:
  IndexGraphView(MeetingFlow& flow, QWidget* parent = nullptr);  // charts: 0 能力, 1 Ｄ, 2 脚力

 public slots:
  // GrphBtnClick.
  void Redraw() override;
};

class DevelopmentGraphView : public GraphPage {
  Q_OBJECT
 public:
  DevelopmentGraphView(MeetingFlow& flow, QWidget* parent = nullptr);  // charts: 0 前走, 1 過去５走

 public slots:
  // TenkaiGraphBtnClick.
  void Redraw() override;
};

}  // namespace furlong
