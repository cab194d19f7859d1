#include "app/AboutBox.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "views/ViewSupport.h"

namespace furlong {

AboutBox::AboutBox(const QString& product, const QString& version, QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("ﾊﾞｰｼﾞｮﾝ情報");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 12);
  layout->setSpacing(8);
  product_ = new QLabel(product, this);
  product_->setFont(UiFont(20, true));
  product_->setAlignment(Qt::AlignCenter);
  version_ = new QLabel(version, this);
  version_->setFont(UiFont(14));
  version_->setAlignment(Qt::AlignCenter);
  layout->addWidget(product_);
  layout->addWidget(version_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setCenterButtons(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  // The title bar shows the title and the window buttons: leave room for both.
  setMinimumWidth(std::max(300, fontMetrics().horizontalAdvance(windowTitle()) + 200));
}

}  // namespace furlong
