#include "store/TextFormat.h"
#include "views/DiagramView.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "analysis/MeetingFlow.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

constexpr int kNumberPoints = 11;

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(UiFont(13, true));
  return label;
}

}  // namespace

QImage RenderDiagramCorner(const DiagramCorner& corner, Rgb background) {
  QImage image(kDiagramWidth, kDiagramHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  // One filled rectangle outlined in black, then the numbers, white.
  CellCanvas c(painter, QRect(0, 0, kDiagramWidth, kDiagramHeight), 0);
  c.Rectangle(0, 0, kDiagramWidth, kDiagramHeight, background, kBlack);
  c.SetFont(UiFont(PointsToPixels(kNumberPoints)));
  c.SetColour(kWhite);
  for (int i = 0; i < corner.count && i < kRunnerSlots; ++i) {
    const DiagramNumber& number = corner.numbers[static_cast<std::size_t>(i)];
    c.Text(number.x, number.y, CircledNumber(number.horse));
  }
  return image;
}

DiagramView::DiagramView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setHorizontalSpacing(24);
  layout->setVerticalSpacing(4);
  auto* title = new QLabel("予想展開図", this);
  title->setFont(UiFont(16, true));
  layout->addWidget(title, 0, 0, 1, 2);

  const Rgb turf = kTurfGreen;
  for (int c = 0; c < 4; ++c) {
    images_[static_cast<std::size_t>(c)] = RenderDiagramCorner(DiagramCorner{}, turf);
    auto* label = new QLabel(this);
    label->setObjectName(QString("Image%1").arg(c + 1));
    label->setFixedSize(kDiagramWidth, kDiagramHeight);
    label->setPixmap(QPixmap::fromImage(images_[static_cast<std::size_t>(c)]));
    labels_[static_cast<std::size_t>(c)] = label;
  }
  // Left column: corners 3 and 4 with the direction of travel to the left.
  layout->addWidget(Caption("第３ｺｰﾅｰ", this), 1, 0);
  layout->addWidget(labels_[2], 2, 0);
  layout->addWidget(Caption("　←　←　←　進行方向　←　←　←", this), 3, 0, Qt::AlignHCenter);
  layout->addWidget(Caption("第４ｺｰﾅｰ", this), 4, 0);
  layout->addWidget(labels_[3], 5, 0);
  // Right column: corners 1 and 2, hidden.
  QWidget* hidden[] = {Caption("第１ｺｰﾅｰ", this), labels_[0],
                       Caption("　→　→　→　進行方向　→　→　→", this), Caption("第２ｺｰﾅｰ", this),
                       labels_[1]};
  const int rows[] = {1, 2, 3, 4, 5};
  for (int i = 0; i < 5; ++i) {
    layout->addWidget(hidden[i], rows[i], 1);
    hidden[i]->setVisible(false);
  }
  layout->setRowStretch(6, 1);
  layout->setColumnStretch(2, 1);
}

void DiagramView::refresh() {
  const RaceAnalysisResult& result = flow_.Analyzer().Result();
  if (!result.analysed) return;
  for (std::size_t c = 0; c < 4; ++c) {
    images_[c] = RenderDiagramCorner(result.diagram[c], result.panelColour);
    labels_[c]->setPixmap(QPixmap::fromImage(images_[c]));
  }
}

}  // namespace furlong
