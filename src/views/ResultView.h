#pragma once
// The 結果 page (ResultPanel): the payouts of the selected race in five
// groups (単勝, 複勝, 枠連, 馬連, ﾜｲﾄﾞ), each a row of entry columns with the
// result, popularity and payout one above the other.
#include <QWidget>
#include <array>
#include <vector>

class QLabel;

namespace furlong {

class MeetingFlow;
struct ResultEntry;

class ResultView : public QWidget {
  Q_OBJECT
 public:
  ResultView(MeetingFlow& flow, QWidget* parent = nullptr);

  static constexpr int kGroups = 5;
  // The value label of group g (0 単勝 .. 4 ﾜｲﾄﾞ), entry e, line 0 結果 /
  // 1 人気 / 2 配当.
  QLabel* Value(int group, int entry, int line) const;
  int EntryCount(int group) const { return static_cast<int>(values_[static_cast<std::size_t>(group)].size()); }

 public slots:
  void refresh();

 private:
  void Show(int group, const ResultEntry* entries, int count);

  MeetingFlow& flow_;
  // [group][entry] -> the three labels.
  std::array<std::vector<std::array<QLabel*, 3>>, kGroups> values_;
};

}  // namespace furlong
