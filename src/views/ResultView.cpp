#include "views/ResultView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "analysis/MeetingFlow.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

struct GroupDef {
  const char* title;
  int entries;
};
constexpr GroupDef kGroupDefs[ResultView::kGroups] = {
    {"単勝", 3}, {"複勝", 5}, {"枠連", 3}, {"馬連", 3}, {"ﾜｲﾄﾞ", 7}};
const char* const kLineCaptions[3] = {"結果：", "人気：", "配当："};
constexpr int kValueWidth = 60;

}  // namespace

ResultView::ResultView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  setObjectName("ResultPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);
  const QFont captionFont = UiFont(13, true);
  const QFont valueFont = PixelFont(13, true);
  for (int g = 0; g < kGroups; ++g) {
    auto* box = new QGroupBox(QString::fromUtf8(kGroupDefs[g].title), this);
    box->setFont(captionFont);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    for (int line = 0; line < 3; ++line) {
      auto* caption = new QLabel(QString::fromUtf8(kLineCaptions[line]), box);
      caption->setFont(captionFont);
      grid->addWidget(caption, line, 0);
    }
    auto& group = values_[static_cast<std::size_t>(g)];
    for (int e = 0; e < kGroupDefs[g].entries; ++e) {
      std::array<QLabel*, 3> column{};
      for (int line = 0; line < 3; ++line) {
        auto* value = new QLabel(box);
        value->setFont(valueFont);
        value->setAlignment(Qt::AlignCenter);
        value->setFixedSize(kValueWidth, 20);
        value->setAutoFillBackground(true);
        QPalette pal = value->palette();
        pal.setColor(QPalette::Window, Qt::black);
        pal.setColor(QPalette::WindowText, line == 1 ? QColor(255, 255, 0) : QColor(0, 255, 255));
        value->setPalette(pal);
        grid->addWidget(value, line, e + 1);
        column[static_cast<std::size_t>(line)] = value;
      }
      group.push_back(column);
    }
    grid->setColumnStretch(kGroupDefs[g].entries + 1, 1);
    layout->addWidget(box);
  }
  layout->addStretch(1);
}

QLabel* ResultView::Value(int group, int entry, int line) const {
  return values_.at(static_cast<std::size_t>(group)).at(static_cast<std::size_t>(entry))[static_cast<std::size_t>(line)];
}

void ResultView::Show(int group, const ResultEntry* entries, int count) {
  auto& labels = values_[static_cast<std::size_t>(group)];
  for (int e = 0; e < count && e < static_cast<int>(labels.size()); ++e) {
    labels[static_cast<std::size_t>(e)][0]->setText(FromSjis(entries[e].result));
    labels[static_cast<std::size_t>(e)][1]->setText(FromSjis(entries[e].popularity));
    labels[static_cast<std::size_t>(e)][2]->setText(FromSjis(entries[e].payout));
  }
}

void ResultView::refresh() {
  const RaceAnalysisResult& result = flow_.Analyzer().Result();
  if (!result.analysed) return;  // a stopped run leaves the panel as it was, hidden
  const ResultPanel& panel = result.resultPanel;
  Show(0, panel.win.data(), static_cast<int>(panel.win.size()));
  Show(1, panel.place.data(), static_cast<int>(panel.place.size()));
  Show(2, panel.bracketQuinella.data(), static_cast<int>(panel.bracketQuinella.size()));
  Show(3, panel.quinella.data(), static_cast<int>(panel.quinella.size()));
  Show(4, panel.wide.data(), static_cast<int>(panel.wide.size()));
}

}  // namespace furlong
