#include "views/PredictionView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStringList>
#include <QVBoxLayout>

#include "analysis/GridCellColours.h"
#include "analysis/MeetingFlow.h"
#include "views/AnalysisGridPaint.h"
#include "views/GridPainting.h"
#include "views/PaintedGrid.h"
#include "views/ToggleButtonGroup.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

const QStringList kSortCaptions{"馬番", "単指数", "連指数"};
const std::vector<int> kWidths{20, 20, 180, 60, 60, 50, 50, 50, 25, 25};
const QStringList kHeaders{"枠", "馬", "馬名", "騎手", "調教師", "軸指数", "連指数", "穴指数", "印", "着"};
constexpr int kRowHeight = 18;

void SetBackground(QLabel* label, Rgb colour) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  pal.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(pal);
}

}  // namespace

void Label3D::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QRect area = contentsRect();
  const int flags = static_cast<int>(alignment());
  painter.setPen(QColor(255, 255, 255));
  painter.drawText(area.translated(-1, -1), flags, text());
  painter.setPen(QColor(128, 128, 128));
  painter.drawText(area.translated(1, 1), flags, text());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, flags, text());
}

PredictionView::PredictionView(MeetingFlow& flow, QWidget* parent)
    : QWidget(parent), flow_(flow), rows_(kHeaders, kPreName) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  sortButtons_ = new ToggleButtonGroup("ソート", kSortCaptions, true, this);
  sortButtons_->setObjectName("PredictionSort");
  sortButtons_->SetDown(static_cast<int>(flow_.Analyzer().PredictionSortButton()));
  connect(sortButtons_, &ToggleButtonGroup::Clicked, this, &PredictionView::SpeedButton21Click);
  layout->addWidget(sortButtons_, 0, Qt::AlignLeft);

  auto* body = new QHBoxLayout;
  body->setSpacing(6);
  layout->addLayout(body, 1);

  // The bets panel.
  auto* panel = new QFrame(this);
  panel->setObjectName("BetsPanel");
  panel->setFrameShape(QFrame::StyledPanel);
  auto* bets = new QGridLayout(panel);
  bets->setContentsMargins(8, 6, 8, 6);
  bets->setHorizontalSpacing(4);
  bets->setVerticalSpacing(3);
  auto* betsCaption = new QLabel("買い目", panel);
  betsCaption->setFont(UiFont(13, true));
  bets->addWidget(betsCaption, 0, 0, 1, 2);
  const QFont valueFont = PixelFont(13, true);
  for (int i = 0; i < 6; ++i) {
    auto* kai = new QLabel(panel);
    kai->setObjectName(QString("kaiLabel%1").arg(i + 1));
    kai->setFont(valueFont);
    kai->setAutoFillBackground(true);
    kai->setFrameShape(QFrame::Box);
    kai->setFrameShadow(QFrame::Plain);
    kai->setAlignment(Qt::AlignCenter);
    kai->setFixedSize(64, 22);
    SetBackground(kai, kInfoBackground);
    auto* hai = new QLabel(panel);
    hai->setObjectName(QString("haiLabel%1").arg(i + 1));
    hai->setFont(valueFont);
    hai->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hai->setFixedSize(64, 22);
    bets->addWidget(kai, i + 1, 0);
    bets->addWidget(hai, i + 1, 1);
    kaiLabels_[static_cast<std::size_t>(i)] = kai;
    haiLabels_[static_cast<std::size_t>(i)] = hai;
  }
  auto* sufficiencyCaption = new QLabel("データ充足度", panel);
  sufficiencyCaption->setFont(UiFont(13, true));
  bets->addWidget(sufficiencyCaption, 7, 0, 1, 2);
  bets->setRowMinimumHeight(7, 30);
  label3D10_ = new Label3D(panel);
  label3D10_->setObjectName("Label3D10");
  label3D10_->setFont(PixelFont(24, true));
  label3D10_->setAlignment(Qt::AlignCenter);
  label3D10_->setMinimumHeight(34);
  QPalette pal = label3D10_->palette();
  pal.setColor(QPalette::WindowText, ToQColor(kNavy));
  label3D10_->setPalette(pal);
  bets->addWidget(label3D10_, 8, 0, 1, 2);
  bets->setRowStretch(9, 1);
  body->addWidget(panel, 0);

  grid_ = new PaintedGrid(this);
  grid_->setObjectName("StringGrid6");
  SetUpAnalysisGrid(*grid_, kWidths, kRowHeight);
  grid_->setDrawCell(
      [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid6DrawCell(p, col, row, rect); });
  body->addWidget(grid_, 1);
}

QString PredictionView::Cell(int col, int row) const { return rows_.Cell(col, row); }

void PredictionView::StringGrid6DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  rows_.Paint(painter, col, row, rect, [](const PredictionRow& r, int c) { return PredictionCellBackground(r, c); });
}

void PredictionView::SpeedButton21Click(int index) {
  flow_.Analyzer().PressPredictionSort(static_cast<PredictionSort>(index));
  refresh();
}

void PredictionView::refresh() {
  const RaceAnalysisResult& result = flow_.Analyzer().Result();
  const PredictionSort pressed = flow_.Analyzer().PredictionSortButton();
  sortButtons_->SetDown(pressed == PredictionSort::kNone ? -1 : static_cast<int>(pressed));
  if (!result.analysed) return;  // a stopped run leaves the page as it was, hidden
  rows_.Assign(result.predictionRows, result.rowCount);
  grid_->setRowCount(result.rowCount);
  grid_->clearSelection();
  for (std::size_t i = 0; i < 6; ++i) {
    kaiLabels_[i]->setText(FromSjis(result.bets[i]));
    SetBackground(kaiLabels_[i], BetColourRgb(result.betColours[i]));
    haiLabels_[i]->setText(FromSjis(result.betPayouts[i]));
  }
  label3D10_->setText(FromSjis(result.dataSufficiencyText));
  grid_->viewport()->update();
}

}  // namespace furlong
