#include "app/UpDownArrows.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <algorithm>

namespace furlong {

UpDownArrows::UpDownArrows(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  left_ = new QToolButton(this);
  left_->setArrowType(Qt::LeftArrow);
  left_->setAutoRepeat(true);
  right_ = new QToolButton(this);
  right_->setArrowType(Qt::RightArrow);
  right_->setAutoRepeat(true);
  layout->addWidget(left_);
  layout->addWidget(right_);
  connect(left_, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(right_, &QToolButton::clicked, this, [this] { Step(+1); });
}

void UpDownArrows::SetPosition(int position) { position_ = std::clamp(position, 0, std::max(max_, 0)); }

void UpDownArrows::SetMax(int max) {
  max_ = max;
  SetPosition(position_);
}

void UpDownArrows::Step(int delta) {
  const int next = std::clamp(position_ + delta, 0, std::max(max_, 0));
  if (next == position_ || max_ < 0) return;
  position_ = next;
  emit Clicked(position_);
}

}  // namespace furlong
