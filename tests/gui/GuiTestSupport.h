#pragma once
// Shared pieces of the window tests: the demo store (written once per test
// run), a main window on a scratch store with its own settings file and the
// messages it would have shown, and pixel sampling.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

#include "MeetingStoreBuilder.h"
#include "StoreTestSupport.h"
#include "analysis/Colour.h"
#include "analysis/MeetingFlow.h"
#include "app/MainForm.h"
#include "app/UpDownArrows.h"
#include "demo/DemoStore.h"
#include "jvlink/JVLinkStandIn.h"
#include "store/Encoding.h"

namespace furlong::test {

// The demo store, written on first use and removed at the end of the run.
inline const std::filesystem::path& DemoRoot() {
  static ScratchDir dir;
  static const bool written = [] {
    WriteDemoStore(dir.path());
    return true;
  }();
  (void)written;
  return dir.path();
}

inline std::string Sjis(const char* utf8) { return Utf8ToSjis(utf8); }

// A race of the small test stores (MeetingStoreBuilder.h).
inline MeetingRace Race(int number, int runners) {
  MeetingRace race;
  race.raceNumber = number;
  race.runners = runners;
  return race;
}

// A main window on `root` with a settings file in `settingsDir`; messages
// are collected instead of shown.
struct FormHarness {
  QStringList messages;
  std::unique_ptr<TMainForm> form;
  JVLinkStandIn* jvlink = nullptr;

  FormHarness(const std::filesystem::path& root, const std::filesystem::path& settingsDir,
              std::string jvVersion = "0490") {
    MainFormOptions options;
    options.dataRoot = root;
    options.iniFile = settingsDir / "furlong.ini";
    auto standIn = std::make_unique<JVLinkStandIn>(settingsDir / "feed");
    standIn->SetVersion(std::move(jvVersion));
    jvlink = standIn.get();
    options.jvlink = std::move(standIn);
    options.messageSink = [this](const QString& text) { messages << text; };
    form = std::make_unique<TMainForm>(std::move(options));
  }

  void Show() {
    form->show();
    QApplication::processEvents();
  }
};

inline bool SameRgb(QColor c, Rgb rgb) { return c.red() == rgb.r && c.green() == rgb.g && c.blue() == rgb.b; }

// Readable colour for failure messages.
inline std::string Describe(QColor c) {
  return "(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + ")";
}

}  // namespace furlong::test
