// The running-order pictures and the result panel.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

#include "GuiTestSupport.h"
#include "store/Record.h"
#include "views/DiagramView.h"
#include "views/ResultView.h"
#include "views/ViewSupport.h"

namespace furlong {
namespace {

using test::FormHarness;
using test::ScratchDir;
using test::Sjis;

// Pixels of the white numbers (their antialiased edges are lighter shades).
int WhitePixels(const QImage& image, QRect area) {
  int count = 0;
  area &= image.rect();
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      count += c.red() > 200 && c.green() > 200 && c.blue() > 200;
    }
  return count;
}

TEST(DiagramView, APictureIsTheOutlinedBackgroundWithWhiteNumbersAtTheirPlaces) {
  DiagramCorner corner;
  corner.numbers[0] = {1, 380, 0};
  corner.numbers[1] = {16, 190, 145};
  corner.count = 2;
  const QImage image = RenderDiagramCorner(corner, kDirtMaroon);
  ASSERT_EQ(image.size(), QSize(400, 160));
  EXPECT_EQ(image.pixelColor(0, 0), Qt::black);
  EXPECT_EQ(image.pixelColor(399, 159), Qt::black);
  EXPECT_EQ(image.pixelColor(200, 0), Qt::black);
  EXPECT_TRUE(test::SameRgb(image.pixelColor(1, 1), kDirtMaroon));
  EXPECT_TRUE(test::SameRgb(image.pixelColor(100, 80), kDirtMaroon));
  EXPECT_GT(WhitePixels(image, QRect(380, 0, 20, 16)), 5);
  EXPECT_GT(WhitePixels(image, QRect(190, 145, 20, 15)), 5);
  EXPECT_EQ(WhitePixels(image, QRect(0, 40, 180, 100)), 0);

  const QImage empty = RenderDiagramCorner(DiagramCorner{}, kTurfGreen);
  EXPECT_EQ(WhitePixels(empty, empty.rect()), 0);
  EXPECT_TRUE(test::SameRgb(empty.pixelColor(200, 80), kTurfGreen));
}

TEST(DiagramView, DemoRacesArePaintedInTheirSurfaceColour) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  bool sawTurf = false, sawDirt = false;
  for (int item = 0; item < h.form->DatList()->count(); ++item) {
    h.form->DatList()->setCurrentRow(item);
    const int slot = h.form->Flow().Analyzer().SelectedRace();
    const int track = FieldNumber(h.form->Flow().Day().RaceRecords[slot].view(), 706, 707);
    const Rgb expected = track == 23 || track == 24 ? kDirtMaroon : kTurfGreen;
    (track == 23 || track == 24 ? sawDirt : sawTurf) = true;
    for (int corner = 1; corner <= 4; ++corner)
      EXPECT_TRUE(test::SameRgb(h.form->Diagram()->Image(corner).pixelColor(1, 1), expected)) << "item " << item;
    EXPECT_TRUE(h.form->Diagram()->ImageLabel(1)->isHidden());
    EXPECT_TRUE(h.form->Diagram()->ImageLabel(2)->isHidden());
    EXPECT_FALSE(h.form->Diagram()->ImageLabel(3)->isHidden());
    EXPECT_FALSE(h.form->Diagram()->ImageLabel(4)->isHidden());
    const QImage third = h.form->Diagram()->Image(3);
    EXPECT_EQ(WhitePixels(third, third.rect()) > 0, h.form->Flow().Analyzer().Result().diagram[2].count > 0);
  }
  EXPECT_TRUE(sawTurf && sawDirt);
}

TEST(ResultView, PayoutsShowInFiveGroupsAndEmptyBeforeTheRace) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  ASSERT_TRUE(h.form->ChooseRace(11));
  ResultView& view = *h.form->Result();
  const int entries[] = {3, 5, 3, 3, 7};
  for (int g = 0; g < ResultView::kGroups; ++g) EXPECT_EQ(view.EntryCount(g), entries[g]);
  const ResultPanel& panel = h.form->Flow().Analyzer().Result().resultPanel;
  EXPECT_EQ(view.Value(0, 0, 0)->text(), FromSjis(panel.win[0].result));
  EXPECT_EQ(view.Value(0, 0, 2)->text(), FromSjis(panel.win[0].payout));
  EXPECT_EQ(view.Value(4, 2, 1)->text(), FromSjis(panel.wide[2].popularity));
  EXPECT_FALSE(view.Value(0, 0, 0)->text().trimmed().isEmpty()) << "the race has been run";

  // Black labels, result and payout in aqua, popularity in yellow.
  h.form->PageControl1()->setCurrentIndex(h.form->PageControl1()->count() - 1);  // 結果
  QApplication::processEvents();
  const QImage result = view.Value(0, 0, 0)->grab().toImage();
  const QImage popularity = view.Value(0, 0, 1)->grab().toImage();
  EXPECT_EQ(result.width(), 60);
  EXPECT_EQ(result.pixelColor(1, 1), Qt::black);
  auto has = [](const QImage& image, QColor ink) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == ink) return true;
    return false;
  };
  EXPECT_TRUE(has(result, QColor(0, 255, 255)));
  EXPECT_TRUE(has(popularity, QColor(255, 255, 0)));

  // A race not yet run: every text empty.
  bool sawUnrun = false;
  for (int m = 0; m < h.form->DateCombo()->count() && !sawUnrun; ++m) {
    h.form->DateComboChange(m);
    for (int item = 0; item < h.form->DatList()->count(); ++item) {
      h.form->DatList()->setCurrentRow(item);
      if (!h.form->Flow().Analyzer().Result().resultPanel.win[0].result.empty()) continue;
      sawUnrun = true;
      for (int g = 0; g < ResultView::kGroups; ++g)
        for (int e = 0; e < view.EntryCount(g); ++e)
          for (int line = 0; line < 3; ++line) EXPECT_TRUE(view.Value(g, e, line)->text().isEmpty());
    }
  }
  EXPECT_TRUE(sawUnrun);
}

}  // namespace
}  // namespace furlong
