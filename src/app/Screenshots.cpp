#include "app/Screenshots.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QHash>
#include <QPixmap>
#include <QTabWidget>
#include <stdexcept>

#include "app/BacktestWindow.h"
#include "app/MainForm.h"
#include "views/DiagramView.h"

namespace furlong {

namespace {

// File-name words of the page captions.
QString Slug(const QString& caption) {
  static const QHash<QString, QString> slugs{
      {"予想", "prediction"},          {"出馬表", "race-card"},
      {"出馬表(詳細)", "detailed-race-card"}, {"指数表", "index-table"},
      {"ｼｸﾞﾅﾙ検討表", "signal-table"},   {"前走検証表", "verification"},
      {"グラフ", "graphs"},            {"指数グラフ", "index"},
      {"能力指数", "ability"},         {"Ｄ指数", "d-index"},
      {"脚力指数", "leg-power"},       {"展開グラフ", "development"},
      {"前走展開値指数", "last-run"},  {"過去５走展開指数", "last-five-runs"},
      {"展開予想図", "running-order"}, {"結果", "result"}};
  return slugs.value(caption, "page");
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void Save(TMainForm& form, const QString& path, QStringList& written) {
  Settle();
  const QPixmap picture = form.grab();
  if (!picture.save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
  written << path;
}

// The first tab widget inside a page, or null.
QTabWidget* NestedTabs(QWidget* page) {
  if (auto* tabs = qobject_cast<QTabWidget*>(page)) return tabs;
  return page->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

void Walk(TMainForm& form, QTabWidget* tabs, const QString& prefix, int& counter, const QString& folder,
          QStringList& written) {
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    const QString name = prefix + Slug(tabs->tabText(i));
    if (QTabWidget* nested = NestedTabs(tabs->widget(i))) {
      Walk(form, nested, name + "-", counter, folder, written);
      nested->setCurrentIndex(0);
      continue;
    }
    ++counter;
    Save(form, QDir(folder).filePath(QString("%1-%2.png").arg(counter, 2, 10, QChar('0')).arg(name)), written);
  }
}

}  // namespace

QStringList WriteScreenshots(TMainForm& form, const QString& folder) {
  QDir().mkpath(folder);
  QStringList written;
  int counter = 0;
  const int current = form.PageControl1()->currentIndex();
  Walk(form, form.PageControl1(), QString(), counter, folder, written);
  form.PageControl1()->setCurrentIndex(current);
  for (int corner = 1; corner <= 4; ++corner) {
    const QString path = QDir(folder).filePath(QString("diagram-corner%1.png").arg(corner));
    if (!form.Diagram()->Image(corner).save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
    written << path;
  }
  // The return window over the four weeks up to the newest stored meeting
  // (not the whole store, which takes long on years of data), once it has run.
  form.KaishuBtnClick();
  BacktestWindow* backtest = form.Backtest();
  const QDate to = backtest->ToDate()->date();
  if (backtest->FromDate()->date() < to.addDays(-27)) backtest->FromDate()->setDate(to.addDays(-27));
  backtest->StartClick();
  QElapsedTimer clock;
  clock.start();
  while (!backtest->StartButton()->isEnabled() && clock.elapsed() < 600000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(10);
  }
  Settle();
  const QString path = QDir(folder).filePath("backtest.png");
  if (!backtest->grab().save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
  written << path;
  backtest->close();
  return written;
}

}  // namespace furlong
