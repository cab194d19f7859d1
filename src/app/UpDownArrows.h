#pragma once
// A horizontal pair of arrow buttons with a position between 0 and a
// maximum: the left arrow steps down, the right arrow up. A click that
// changes the position reports it.
#include <QWidget>

class QToolButton;

namespace furlong {

class UpDownArrows : public QWidget {
  Q_OBJECT
 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  int Position() const { return position_; }
  void SetPosition(int position);
  int Max() const { return max_; }
  void SetMax(int max);

  // Presses an arrow (as a mouse click does): -1 left, +1 right.
  void Step(int delta);

 signals:
  void Clicked(int position);

 private:
  QToolButton* left_;
  QToolButton* right_;
  int position_ = 0;
  int max_ = 35;
};

}  // namespace furlong
