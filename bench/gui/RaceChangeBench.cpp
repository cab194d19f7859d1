// Choosing another race in the window: the analysis of the race, the
// refresh of every page and the repaint of the page on screen, rendered
// offscreen into an image of the window's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <filesystem>
#include <memory>
#include <random>

#include "app/MainForm.h"
#include "demo/DemoStore.h"
#include "jvlink/JVLinkStandIn.h"
#include "store/Encoding.h"

namespace {

struct Window {
  std::filesystem::path root;
  std::unique_ptr<furlong::TMainForm> form;

  Window() {
    std::random_device rd;
    root = std::filesystem::temp_directory_path() / ("furlong-gui-bench-" + std::to_string(rd()));
    furlong::WriteDemoStore(root);
    furlong::MainFormOptions options;
    options.dataRoot = root;
    options.iniFile = root / "furlong.ini";
    options.jvlink = std::make_unique<furlong::JVLinkStandIn>(root / "feed");
    options.messageSink = [](const QString&) {};
    form = std::make_unique<furlong::TMainForm>(std::move(options));
    form->resize(1200, 800);
    form->show();
    QApplication::processEvents();
    form->ChooseMeeting(furlong::Utf8ToSjis("2024年11月17日京都"));  // fields of up to 18 runners
    QApplication::processEvents();
  }
  ~Window() {
    form.reset();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

Window& TheWindow() {
  static Window window;
  return window;
}

// Arg: the page shown (0 予想, 1 出馬表, 5 前走検証表, 6 グラフ, 7 展開予想図).
void BM_ChooseAnotherRace(benchmark::State& state) {
  Window& w = TheWindow();
  QTabWidget* pages = w.form->PageControl1();
  pages->setCurrentIndex(static_cast<int>(state.range(0)));
  QApplication::processEvents();
  QWidget* page = pages->currentWidget();
  QImage image(page->size(), QImage::Format_RGB32);
  const int races = w.form->DatList()->count();
  int item = 0;
  for (auto _ : state) {
    item = (item + 1) % races;
    w.form->DatList()->setCurrentRow(item);  // the analysis and the refresh of the pages
    QPainter painter(&image);
    page->render(&painter);  // the repaint of the page on screen
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(pages->tabText(pages->currentIndex()).toStdString());
}
BENCHMARK(BM_ChooseAnotherRace)->Arg(0)->Arg(1)->Arg(5)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
