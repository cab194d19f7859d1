#pragma once
// The about box (ﾊﾞｰｼﾞｮﾝ情報): the product name and the version text with one
// OK button; wide enough for its whole title.
#include <QDialog>

class QLabel;

namespace furlong {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  AboutBox(const QString& product, const QString& version, QWidget* parent = nullptr);

  QLabel* ProductLabel() const { return product_; }
  QLabel* VersionLabel() const { return version_; }

 private:
  QLabel* product_ = nullptr;
  QLabel* version_ = nullptr;
};

}  // namespace furlong
