#pragma once
// The 展開予想図 page: the predicted running-order diagram, one 400 x 160
// picture per corner (Image1 .. Image4 for corners 1 .. 4). Corners 3 and 4
// are shown; corners 1 and 2 are drawn all the same but stay hidden.
#include <QImage>
#include <QWidget>
#include <array>

#include "analysis/RaceAnalysisResult.h"

class QLabel;

namespace furlong {

class MeetingFlow;

// One corner's picture: the background colour with a one-pixel black
// outline, the circled horse numbers in white at their positions.
QImage RenderDiagramCorner(const DiagramCorner& corner, Rgb background);

class DiagramView : public QWidget {
  Q_OBJECT
 public:
  DiagramView(MeetingFlow& flow, QWidget* parent = nullptr);

  // The picture of corner 1 .. 4.
  const QImage& Image(int corner) const { return images_.at(static_cast<std::size_t>(corner - 1)); }
  QLabel* ImageLabel(int corner) const { return labels_.at(static_cast<std::size_t>(corner - 1)); }

 public slots:
  void refresh();

 private:
  MeetingFlow& flow_;
  std::array<QImage, 4> images_;
  std::array<QLabel*, 4> labels_{};
};

}  // namespace furlong
