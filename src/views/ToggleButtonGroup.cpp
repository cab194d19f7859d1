#include "views/ToggleButtonGroup.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace furlong {

ToggleButtonGroup::ToggleButtonGroup(const QString& title, const QStringList& captions, bool allowAllUp,
                                     QWidget* parent)
    : QGroupBox(title, parent), allowAllUp_(allowAllUp) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(2);
  for (int i = 0; i < captions.size(); ++i) {
    auto* button = new QToolButton(this);
    button->setText(captions[i]);
    button->setCheckable(true);
    button->setMinimumWidth(56);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(button, &QToolButton::clicked, this, [this, i] { OnClicked(i); });
    layout->addWidget(button);
    buttons_.push_back(button);
  }
  layout->addStretch(1);
}

void ToggleButtonGroup::SetDown(int index) {
  if (index < -1 || index >= Count()) index = -1;
  down_ = index;
  for (int i = 0; i < Count(); ++i) buttons_[static_cast<std::size_t>(i)]->setChecked(i == index);
}

void ToggleButtonGroup::SetButtonVisible(int index, bool visible) {
  buttons_.at(static_cast<std::size_t>(index))->setVisible(visible);
}

void ToggleButtonGroup::OnClicked(int index) {
  if (index == down_)
    SetDown(allowAllUp_ ? -1 : index);
  else
    SetDown(index);
  emit Clicked(index);
}

}  // namespace furlong
