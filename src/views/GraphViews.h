#pragma once
// The two pages of the グラフ tab: 指数グラフ (能力指数, Ｄ指数, 脚力指数 with
// the "馬場選択" buttons) and 展開グラフ (前走展開値指数, 過去５走展開指数 with the
// "コース選択" buttons). The race analysis redraws both with their 全表示
// button pressed; the buttons redraw them with their filter.
#include <QWidget>
#include <array>

class QTabWidget;

namespace furlong {

class MeetingFlow;
class RangeChart;
class ToggleButtonGroup;

class IndexGraphView : public QWidget {
  Q_OBJECT
 public:
  IndexGraphView(MeetingFlow& flow, QWidget* parent = nullptr);

  RangeChart* Chart(int i) const { return charts_.at(static_cast<std::size_t>(i)); }  // 0 能力, 1 Ｄ, 2 脚力
  ToggleButtonGroup* Filter() const { return filter_; }
  QTabWidget* Tabs() const { return tabs_; }

 public slots:
  // Draws the three charts of the selected race with the pressed filter (GrphBtnClick).
  void Redraw();
  // Presses 全表示 and draws (what the race analysis does).
  void PressAllAndRedraw();

 private:
  MeetingFlow& flow_;
  ToggleButtonGroup* filter_;
  QTabWidget* tabs_;
  std::array<RangeChart*, 3> charts_{};
};

class DevelopmentGraphView : public QWidget {
  Q_OBJECT
 public:
  DevelopmentGraphView(MeetingFlow& flow, QWidget* parent = nullptr);

  RangeChart* Chart(int i) const { return charts_.at(static_cast<std::size_t>(i)); }  // 0 前走, 1 過去５走
  ToggleButtonGroup* Filter() const { return filter_; }
  QTabWidget* Tabs() const { return tabs_; }

 public slots:
  // TenkaiGraphBtnClick.
  void Redraw();
  void PressAllAndRedraw();

 private:
  MeetingFlow& flow_;
  ToggleButtonGroup* filter_;
  QTabWidget* tabs_;
  std::array<RangeChart*, 2> charts_{};
};

}  // namespace furlong
