// The prediction and verification pages: sort buttons, cell colours, the
// bets panel and the data sufficiency.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "analysis/GridCellColours.h"
#include "analysis/GridSort.h"
#include "views/GridPainting.h"
#include "views/PaintedGrid.h"
#include "views/PredictionView.h"
#include "views/ToggleButtonGroup.h"
#include "views/VerificationView.h"
#include "views/ViewSupport.h"

namespace furlong {
namespace {

using test::FormHarness;
using test::ScratchDir;
using test::Sjis;

struct DemoRace {
  ScratchDir settings;
  FormHarness h{test::DemoRoot(), settings.path()};
  DemoRace(const char* meeting = "2024年11月16日東京", int race = 11) {
    h.form->resize(1200, 800);
    h.Show();
    EXPECT_TRUE(h.form->ChooseMeeting(Sjis(meeting)));
    EXPECT_TRUE(h.form->ChooseRace(race));
  }
  VerificationView& verification() { return *h.form->Verification(); }
  PredictionView& prediction() { return *h.form->Prediction(); }
  const RaceAnalysisResult& result() { return h.form->Flow().Analyzer().Result(); }
};

std::string CellSjis(const QString& text) { return Utf8ToSjis(text.toStdString()); }

// Rows 1 .. n are ordered by `col` (descending when asked) and then by the
// horse number.
template <typename View>
void ExpectOrdered(const View& view, int rows, int col, bool descending) {
  for (int r = 2; r < rows; ++r) {
    const std::string a = CellSjis(view.Cell(col, r - 1)), b = CellSjis(view.Cell(col, r));
    int order = CompareCellTexts(a, b);
    if (descending) order = -order;
    EXPECT_LE(order, 0) << "rows " << r - 1 << " and " << r << " by column " << col;
    if (order == 0) {
      EXPECT_LT(CellSjis(view.Cell(1, r - 1)), CellSjis(view.Cell(1, r))) << "equal texts by horse number, row " << r;
    }
  }
}

TEST(AnalysisGridViews, VerificationSortButtonsSortReleaseAndExcludeEachOther) {
  DemoRace d;
  VerificationView& v = d.verification();
  const int rows = v.StringGrid5()->rowCount();
  ASSERT_GT(rows, 5);
  ToggleButtonGroup& sort = *v.SortButtons();
  EXPECT_EQ(sort.Down(), 0) << "馬番 is down after an analysis";
  EXPECT_TRUE(sort.Button(3)->isHidden());  // 能力
  EXPECT_TRUE(sort.Button(6)->isHidden());  // 重量
  ExpectOrdered(v, rows, 1, false);

  sort.Button(1)->click();  // 単ｵｯｽﾞ
  EXPECT_EQ(sort.Down(), 1);
  EXPECT_FALSE(sort.Button(0)->isChecked());
  ExpectOrdered(v, rows, 3, false);

  sort.Button(7)->click();  // TOTAL, largest first
  EXPECT_EQ(sort.Down(), 7);
  ExpectOrdered(v, rows, 13, true);

  sort.Button(2)->click();  // 展開: "―" after every number
  ExpectOrdered(v, rows, 4, false);

  sort.Button(8)->click();  // 成績
  ExpectOrdered(v, rows, 15, false);

  sort.Button(8)->click();  // released: frame number, then horse number
  EXPECT_EQ(sort.Down(), -1);
  ExpectOrdered(v, rows, 0, false);

  // The next analysis presses 馬番 again.
  d.h.form->UpDown1()->Step(-1);
  EXPECT_EQ(sort.Down(), 0);
  ExpectOrdered(v, v.StringGrid5()->rowCount(), 1, false);
}

TEST(AnalysisGridViews, PredictionSortSurvivesARaceChange) {
  DemoRace d;
  PredictionView& p = d.prediction();
  ToggleButtonGroup& sort = *p.SortButtons();
  EXPECT_EQ(sort.Down(), 0);
  sort.Button(1)->click();  // 単指数
  ExpectOrdered(p, p.StringGrid6()->rowCount(), 5, true);
  d.h.form->UpDown1()->Step(-1);  // race 10
  EXPECT_EQ(sort.Down(), 1);
  ExpectOrdered(p, p.StringGrid6()->rowCount(), 5, true);
  sort.Button(2)->click();  // 連指数
  ExpectOrdered(p, p.StringGrid6()->rowCount(), 6, true);
  sort.Button(2)->click();  // all up: frame number
  EXPECT_EQ(sort.Down(), -1);
  ExpectOrdered(p, p.StringGrid6()->rowCount(), 0, false);
  // Grid text and analysis agree row by row.
  for (int r = 1; r < p.StringGrid6()->rowCount(); ++r)
    EXPECT_EQ(CellSjis(p.Cell(1, r)), d.result().predictionRows[static_cast<std::size_t>(r - 1)][kPreHorse]);
}

// The colour of a runner cell away from its text: the cell's bottom-left pixel.
QColor CellColour(const QImage& image, const PaintedGrid& grid, int col, int row) {
  const QRect rect = grid.contentCellRect(col, row);
  return image.pixelColor(rect.left() + 1, rect.bottom());
}

bool HasTextPixels(const QImage& image, const QRect& rect, QColor ink) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixelColor(x, y) == ink) return true;
  return false;
}

TEST(AnalysisGridViews, VerificationCellsHaveTheirColours) {
  DemoRace d;
  const PaintedGrid& grid = *d.verification().StringGrid5();
  const QImage image = grid.renderAll();
  EXPECT_TRUE(test::SameRgb(CellColour(image, grid, 2, 0), kButtonFace));
  const struct {
    int col;
    Rgb rgb;
  } fixed[] = {{1, kInfoBackground}, {3, {255, 208, 255}}, {4, {179, 217, 255}}, {7, {217, 255, 217}},
               {8, {255, 255, 202}}, {9, {217, 255, 217}},  {10, {255, 255, 202}}, {13, {255, 223, 223}},
               {14, {255, 223, 223}}, {15, {0, 255, 255}}};
  bool sawWinner = false;
  for (int row = 1; row < grid.rowCount(); ++row) {
    for (const auto& f : fixed)
      EXPECT_TRUE(test::SameRgb(CellColour(image, grid, f.col, row), f.rgb))
          << "col " << f.col << " row " << row << " " << test::Describe(CellColour(image, grid, f.col, row));
    const int frame = d.verification().Cell(0, row).trimmed().toInt();
    EXPECT_TRUE(test::SameRgb(CellColour(image, grid, 0, row), *FrameColour(frame))) << "frame " << frame;
    const int finish = d.verification().Cell(15, row).trimmed().toInt();
    EXPECT_TRUE(test::SameRgb(CellColour(image, grid, 2, row), FinishBackground(finish))) << "finish " << finish;
    sawWinner |= finish == 1;
    // Texts are black, also on the dark frame colours.
    EXPECT_TRUE(HasTextPixels(image, grid.contentCellRect(0, row), Qt::black)) << "row " << row;
    EXPECT_TRUE(HasTextPixels(image, grid.contentCellRect(2, row), Qt::black)) << "row " << row;
  }
  EXPECT_TRUE(sawWinner);
  EXPECT_EQ(FinishBackground(1), kPink);
}

TEST(AnalysisGridViews, PredictionCellsHaveTheirColours) {
  DemoRace d;
  const PaintedGrid& grid = *d.prediction().StringGrid6();
  const QImage image = grid.renderAll();
  const struct {
    int col;
    Rgb rgb;
  } fixed[] = {{1, kInfoBackground}, {3, kWhite}, {4, kWhite}, {5, {217, 255, 217}},
               {6, {255, 255, 202}}, {7, {179, 217, 255}}, {8, kWhite}, {9, {0, 255, 255}}};
  for (int row = 1; row < grid.rowCount(); ++row) {
    for (const auto& f : fixed)
      EXPECT_TRUE(test::SameRgb(CellColour(image, grid, f.col, row), f.rgb)) << "col " << f.col << " row " << row;
    const int finish = d.prediction().Cell(9, row).trimmed().toInt();
    EXPECT_TRUE(test::SameRgb(CellColour(image, grid, 2, row), FinishBackground(finish)));
  }
  EXPECT_EQ(grid.rowHeight(1), 18);
  EXPECT_EQ(d.verification().StringGrid5()->rowHeight(1), 15);
  EXPECT_EQ(grid.columnWidth(2), 180);
}

TEST(AnalysisGridViews, BetsPanelShowsPairsHitColoursPayoutsAndSufficiency) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  int hits = 0;
  for (int m = 0; m < h.form->DateCombo()->count() && hits < 3; ++m) {
    h.form->DateCombo()->setCurrentIndex(m);
    h.form->DateComboChange(m);
    for (int item = 0; item < h.form->DatList()->count(); ++item) {
      h.form->DatList()->setCurrentRow(item);
      const RaceAnalysisResult& r = h.form->Flow().Analyzer().Result();
      PredictionView& p = *h.form->Prediction();
      EXPECT_EQ(p.Label3D10()->text(), FromSjis(r.dataSufficiencyText));
      for (int i = 1; i <= 6; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        EXPECT_EQ(p.KaiLabel(i)->text(), FromSjis(r.bets[k]));
        EXPECT_EQ(p.HaiLabel(i)->text(), FromSjis(r.betPayouts[k]));
        const QColor back = p.KaiLabel(i)->palette().color(QPalette::Window);
        EXPECT_TRUE(test::SameRgb(back, BetColourRgb(r.betColours[k])));
        if (r.betColours[k] != BetColour::kInfo) {
          ++hits;
          EXPECT_FALSE(p.HaiLabel(i)->text().trimmed().isEmpty());
          // What the label paints, away from its text.
          const QImage shot = p.KaiLabel(i)->grab().toImage();
          EXPECT_TRUE(test::SameRgb(shot.pixelColor(3, shot.height() / 2), BetColourRgb(r.betColours[k])))
              << test::Describe(shot.pixelColor(3, shot.height() / 2));
        }
      }
    }
  }
  EXPECT_GT(hits, 0) << "the demo meetings should hold a race whose bets paid";
}

}  // namespace
}  // namespace furlong
