#pragma once
// A captioned group of toggle buttons of which at most one is down. With
// `allowAllUp`, pressing the button that is down releases it; otherwise one
// button always stays down.
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QToolButton;

namespace furlong {

class ToggleButtonGroup : public QGroupBox {
  Q_OBJECT
 public:
  ToggleButtonGroup(const QString& title, const QStringList& captions, bool allowAllUp, QWidget* parent = nullptr);

  // The button that is down, -1 when all are up.
  int Down() const { return down_; }
  // Puts the button down (the others up); -1 releases all. Emits nothing.
  void SetDown(int index);
  void SetButtonVisible(int index, bool visible);
  QToolButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
  int Count() const { return static_cast<int>(buttons_.size()); }

 signals:
  // A button was clicked; Down() already tells the new state.
  void Clicked(int index);

 private:
  void OnClicked(int index);

  std::vector<QToolButton*> buttons_;
  bool allowAllUp_;
  int down_ = -1;
};

}  // namespace furlong
