#include "app/PrgrsForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "views/ViewSupport.h"

namespace furlong {

TPrgrsForm::TPrgrsForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
  setObjectName("PrgrsForm");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setStyleSheet("#PrgrsForm { background: white; border: 3px solid rgb(0, 0, 255); }");
  setAttribute(Qt::WA_StyledBackground);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 14);
  layout->setSpacing(8);
  caption_ = new QLabel(this);
  caption_->setFont(UiFont(14, true));
  caption_->setAlignment(Qt::AlignCenter);
  layout->addWidget(caption_);
  auto* text = new QLabel("データを読み込んでいます", this);
  text->setFont(UiFont(13));
  text->setAlignment(Qt::AlignCenter);
  layout->addWidget(text);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  bar_->setFixedHeight(16);
  layout->addWidget(bar_);
  setFixedSize(340, 110);
}

void TPrgrsForm::Open(const QString& caption, int total) {
  caption_->setText(caption);
  bar_->setRange(0, total);
  bar_->setValue(0);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
}

void TPrgrsForm::SetPosition(int done) { bar_->setValue(done); }

void TPrgrsForm::Finish() { hide(); }

QString TPrgrsForm::Caption() const { return caption_->text(); }
int TPrgrsForm::Position() const { return bar_->value(); }
int TPrgrsForm::Maximum() const { return bar_->maximum(); }

}  // namespace furlong
