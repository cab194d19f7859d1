// What a user meets first in the window: the meeting drop-down, the race
// list while the pages are hidden, the about box, the help command where the
// desktop cannot open the help page, and Qt's own dialogs in Japanese.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cmath>

#include "GuiTestSupport.h"
#include "ScriptedDialogs.h"
#include "app/Translations.h"

namespace furlong {
namespace {

using test::ScratchDir;
using test::Sjis;

// Two meetings; the second has a race file but no runner file.
void WriteTwoMeetings(const std::filesystem::path& root) {
  Store store(root);
  test::MeetingStoreBuilder full(store, Sjis("2004年01月05日中山"));
  full.Add(test::Race(1, 8));
  full.Write();
  test::MeetingStoreBuilder cardsOnly(store, Sjis("2004年01月10日中山"), "20040110");
  cardsOnly.Add(test::Race(1, 8));
  cardsOnly.Write(false);
}

double Luma(QColor c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); }

// The largest brightness difference between the text of a list row and the
// row's background (taken at its right end, where no text is), inside the
// frame a style may draw around the current item.
double RowContrast(const QImage& image, const QRect& row) {
  const QRect inner = row.intersected(image.rect()).adjusted(3, 3, -3, -3);
  const double back = Luma(image.pixelColor(inner.right(), inner.center().y()));
  double most = 0;
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x < inner.right() - 4; ++x)
      most = std::max(most, std::abs(Luma(image.pixelColor(x, y)) - back));
  return most;
}

TEST(WindowDetails, TheMeetingUnderTheMouseInTheDropDownIsReadable) {
  ScratchDir root, settings;
  WriteTwoMeetings(root.path());
  test::FormHarness h(root.path(), settings.path());
  h.Show();
  QComboBox* combo = h.form->DateCombo();
  ASSERT_EQ(combo->count(), 2);
  combo->showPopup();
  QApplication::processEvents();
  QAbstractItemView* view = combo->view();
  // The mouse moves onto the second meeting: it becomes the current item.
  const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
  QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &move);
  QApplication::processEvents();
  ASSERT_EQ(view->currentIndex().row(), 1);
  const QImage image = view->viewport()->grab().toImage();
  for (int row = 0; row < 2; ++row)
    EXPECT_GT(RowContrast(image, view->visualRect(view->model()->index(row, 0))), 100) << "row " << row;
  combo->hidePopup();
}

TEST(WindowDetails, TheMeetingBoxIsInfoYellowAndItsListShows36Rows) {
  ScratchDir root, settings;
  WriteTwoMeetings(root.path());
  test::FormHarness h(root.path(), settings.path());
  h.Show();
  QComboBox* combo = h.form->DateCombo();
  // The closed box: the header panel's info yellow, not the style's shading.
  const QImage box = combo->grab().toImage();
  EXPECT_EQ(box.pixelColor(box.width() / 2, box.height() - 4), QColor(255, 255, 225));
  // A long calendar: the list opens 36 rows tall with a scroll bar.
  for (int i = 0; i < 46; ++i) combo->addItem(QString("2024年01月%1日東京").arg(i + 1));
  combo->showPopup();
  QApplication::processEvents();
  QAbstractItemView* view = combo->view();
  const int rowHeight = view->visualRect(view->model()->index(0, 0)).height();
  ASSERT_GT(rowHeight, 0);
  EXPECT_EQ(view->viewport()->height() / rowHeight, 36);
  combo->hidePopup();
}

TEST(WindowDetails, TheRaceListStaysInPlaceWhileThePagesAreHidden) {
  ScratchDir root, settings;
  WriteTwoMeetings(root.path());
  test::FormHarness h(root.path(), settings.path());
  h.form->resize(1200, 800);
  h.Show();
  const QPoint before = h.form->DatList()->mapTo(h.form.get(), QPoint(0, 0));
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2004年01月10日中山")));
  QApplication::processEvents();
  EXPECT_EQ(h.messages, QStringList{"データ作成が未完了のようです。"});
  EXPECT_TRUE(h.form->PageControl1()->isHidden());
  EXPECT_EQ(h.form->DatList()->mapTo(h.form.get(), QPoint(0, 0)), before);
}

TEST(WindowDetails, TheAboutBoxShowsTheProductAndVersionUnderItsWholeTitle) {
  ScratchDir root, settings;
  test::FormHarness h(root.path(), settings.path());
  h.Show();
  QString title;
  QStringList texts;
  int width = 0, titleWidth = 0;
  QTimer::singleShot(0, h.form.get(), [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    title = box->windowTitle();
    for (QLabel* label : box->findChildren<QLabel*>()) texts << label->text();
    width = box->width();
    titleWidth = box->fontMetrics().horizontalAdvance(title);
    box->close();
  });
  QMetaObject::invokeMethod(h.form.get(), "SpeedButton6Click");
  EXPECT_EQ(title, "ﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_TRUE(texts.contains("ハロンボード")) << texts.join("|").toStdString();
  EXPECT_TRUE(texts.contains("Ver.1.33")) << texts.join("|").toStdString();
  // Room for the whole title beside the title bar's buttons.
  EXPECT_GE(width, titleWidth + 150);
}

TEST(WindowDetails, HelpThatTheDesktopCannotOpenIsNamedInAMessage) {
  ScratchDir root, settings;
  test::CommandHarness h(root.path(), settings.path(), settings.path());
  h.dialogs->openSucceeds = false;
  const QString message = "ファイルを開けませんでした。\n" + PathText(TMainForm::HelpFile());
  h.Button("SpeedButton5")->click();
  QAction* contents = nullptr;
  for (QAction* a : h.form->menuBar()->findChildren<QAction*>())
    if (a->text() == "目次(&C)") contents = a;
  ASSERT_TRUE(contents);
  contents->trigger();
  EXPECT_EQ(h.dialogs->opened, (std::vector<std::filesystem::path>{TMainForm::HelpFile(), TMainForm::HelpFile()}));
  EXPECT_EQ(h.dialogs->Messages(), (QStringList{message, message}));
  EXPECT_TRUE(h.dialogs->BeepedBefore(message));
}

TEST(WindowDetails, QtsOwnButtonsAndDialogsSpeakJapanese) {
  // The test program installs the translations as the window program does.
  ASSERT_FALSE(InstallQtTranslations(*qApp).isEmpty())
      << "Qt's Japanese catalogue in none of " << QtTranslationFolders().join(", ").toStdString();
  QMessageBox question(QMessageBox::Question, "ハロンボード", "?", QMessageBox::Yes | QMessageBox::No);
  EXPECT_TRUE(question.button(QMessageBox::Yes)->text().startsWith("はい"));
  EXPECT_TRUE(question.button(QMessageBox::No)->text().startsWith("いいえ"));
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_TRUE(buttons.button(QDialogButtonBox::Cancel)->text().startsWith("キャンセル"));
  EXPECT_EQ(QLocale().monthName(11), "11月");
}

}  // namespace
}  // namespace furlong
