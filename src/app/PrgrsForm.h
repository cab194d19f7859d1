#pragma once
// The progress window of the day loading: no title bar, always on top,
// centred on the screen, a blue frame; a caption line set by the caller, the
// fixed text "データを読み込んでいます" and a smooth progress bar.
#include <QWidget>

class QLabel;
class QProgressBar;

namespace furlong {

class TPrgrsForm : public QWidget {
  Q_OBJECT
 public:
  explicit TPrgrsForm(QWidget* parent = nullptr);

  // Shows the window with the caption line and a bar from 0 to `total`.
  void Open(const QString& caption, int total);
  void SetPosition(int done);
  // Hides the window (it lives until the program ends).
  void Finish();

  QString Caption() const;
  int Position() const;
  int Maximum() const;

 private:
  QLabel* caption_;
  QProgressBar* bar_;
};

}  // namespace furlong
