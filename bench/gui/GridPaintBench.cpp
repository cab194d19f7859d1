// Painting a whole grid of an 18-runner demo race into an image: every cell
// of every row and column, as a repaint of a fully visible grid would.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>
#include <random>

#include "analysis/MeetingFlow.h"
#include "demo/DemoStore.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "views/DetailedRaceCardView.h"
#include "views/IndexTableView.h"
#include "views/PaintedGrid.h"
#include "views/RaceCardView.h"
#include "views/SignalTableView.h"

namespace {

struct FullField {
  std::filesystem::path root;
  std::unique_ptr<furlong::Store> store;
  std::unique_ptr<furlong::MeetingFlow> flow;
  std::unique_ptr<furlong::RaceCardView> raceCard;
  std::unique_ptr<furlong::DetailedRaceCardView> detailed;
  std::unique_ptr<furlong::IndexTableView> index;
  std::unique_ptr<furlong::SignalTableView> signal;
  int runners = 0;

  FullField() {
    std::random_device rd;
    root = std::filesystem::temp_directory_path() / ("furlong-grid-bench-" + std::to_string(rd()));
    furlong::WriteDemoStore(root);
    store = std::make_unique<furlong::Store>(root);
    flow = std::make_unique<furlong::MeetingFlow>(*store);
    flow->MakeDataListBtnClick();
    flow->DateComboChange(furlong::Utf8ToSjis("2024年11月17日京都"));
    // The race with the largest field.
    int best = 0;
    for (int i = 0; i < static_cast<int>(flow->RaceList().size()); ++i) {
      const int slot = flow->RaceList()[static_cast<std::size_t>(i)].slot;
      const int n = furlong::RegisteredRunners(flow->Day().RaceRecords[static_cast<std::size_t>(slot)].view());
      if (n > runners) {
        runners = n;
        best = i;
      }
    }
    flow->DatListClick(best);
    raceCard = std::make_unique<furlong::RaceCardView>(*flow);
    detailed = std::make_unique<furlong::DetailedRaceCardView>(*flow);
    index = std::make_unique<furlong::IndexTableView>(*flow);
    signal = std::make_unique<furlong::SignalTableView>(*flow);
  }
  ~FullField() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

FullField& TheField() {
  static FullField field;
  return field;
}

// Arg: 0 race card, 1 detailed race card, 2 index table, 3 signal table.
void BM_PaintWholeGrid(benchmark::State& state) {
  FullField& f = TheField();
  const furlong::PaintedGrid* grids[] = {f.raceCard->StringGrid2(), f.detailed->Grid(), f.index->Grid(),
                                         f.signal->Grid()};
  const furlong::PaintedGrid& grid = *grids[state.range(0)];
  QImage image(grid.contentSize(), QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    grid.renderAll(painter);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(grid.objectName().toStdString() + ", " + std::to_string(f.runners) + " runners, " +
                 std::to_string(image.width()) + "x" + std::to_string(image.height()));
}
BENCHMARK(BM_PaintWholeGrid)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
