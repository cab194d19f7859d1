#pragma once
// The window's dialogs answered by the tests: messages, beeps and questions
// are recorded in order, the file and folder pickers return what the test
// set, and nothing opens a real application. Also a main window on a copy of
// the demo store with a JV-Link stand-in on the demo feed.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "GuiTestSupport.h"
#include "app/Dialogs.h"
#include "app/GetDataForm.h"
#include "app/MainForm.h"
#include "demo/DemoFeed.h"
#include "jvlink/JVLinkStandIn.h"

namespace furlong::test {

class ScriptedDialogs : public Dialogs {
 public:
  // "beep", "info:<text>", "confirm:<text>", "open-file", "folder", in order.
  QStringList events;
  bool answer = true;
  std::filesystem::path fileToOpen;
  std::filesystem::path folderToPick;
  // What the file dialog was asked to show.
  std::filesystem::path openFolder;
  QString filterText, filterPatterns, folderTitle;
  std::vector<std::filesystem::path> opened;
  // False: the desktop has no application for the files asked to be opened.
  bool openSucceeds = true;

  void Beep() override { events << "beep"; }
  void Information(QWidget*, const QString& text) override { events << "info:" + text; }
  bool Confirm(QWidget*, const QString& text) override {
    events << "confirm:" + text;
    return answer;
  }
  std::filesystem::path OpenFileName(QWidget*, const QString&, const std::filesystem::path& folder,
                                     const QString& text, const QString& patterns) override {
    events << "open-file";
    openFolder = folder;
    filterText = text;
    filterPatterns = patterns;
    return fileToOpen;
  }
  std::filesystem::path fileToSave;
  std::filesystem::path SaveFileName(QWidget*, const QString&, const std::filesystem::path&, const QString&,
                                     const QString&) override {
    events << "save-file";
    return fileToSave;
  }
  std::filesystem::path ExistingFolder(QWidget*, const QString& title, const std::filesystem::path&) override {
    events << "folder";
    folderTitle = title;
    return folderToPick;
  }
  bool OpenWithDefaultApplication(const std::filesystem::path& file) override {
    opened.push_back(file);
    return openSucceeds;
  }

  // The messages only ("info:" events without the prefix).
  QStringList Messages() const {
    QStringList out;
    for (const QString& e : events)
      if (e.startsWith("info:")) out << e.mid(5);
    return out;
  }
  // True when the message was shown right after a beep.
  bool BeepedBefore(const QString& message) const {
    const int i = static_cast<int>(events.indexOf("info:" + message));
    return i > 0 && events[i - 1] == "beep";
  }
};

// Processes window messages until `done` or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 30000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// A copy of the demo store, which the tests may change.
inline void CopyDemoStore(const std::filesystem::path& to) {
  // Entry by entry: a recursive copy into a folder that exists already fails
  // with mingw's library.
  for (const auto& entry : std::filesystem::directory_iterator(DemoRoot()))
    std::filesystem::copy(entry.path(), to / entry.path().filename(), std::filesystem::copy_options::recursive);
}

// A main window on `root` whose dialogs are scripted and whose JV-Link is the
// stand-in on `feed`; the settings file lives in `settingsDir`. Shown, so
// that JV-Link is initialised.
struct CommandHarness {
  std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
  std::unique_ptr<TMainForm> form;
  JVLinkStandIn* jvlink = nullptr;
  std::filesystem::path iniFile;

  CommandHarness(const std::filesystem::path& root, const std::filesystem::path& settingsDir,
                 const std::filesystem::path& feed)
      : CommandHarness(root, settingsDir, std::make_unique<JVLinkStandIn>(feed)) {}

  // With another JV-Link (the COM control on Windows); `jvlink` stays null
  // unless it is the feed stand-in.
  CommandHarness(const std::filesystem::path& root, const std::filesystem::path& settingsDir,
                 std::unique_ptr<JVLink> link) {
    MainFormOptions options;
    options.dataRoot = root;
    iniFile = settingsDir / "furlong.ini";
    options.iniFile = iniFile;
    jvlink = dynamic_cast<JVLinkStandIn*>(link.get());
    options.jvlink = std::move(link);
    options.dialogs = dialogs;
    form = std::make_unique<TMainForm>(std::move(options));
    form->show();
    QApplication::processEvents();
  }

  QToolButton* Button(const char* name) const { return form->findChild<QToolButton*>(name); }

  // Opens the import window with the JVデータ取得 button and runs `drive` on
  // it while it is open; the window is closed afterwards if still open.
  bool WithImportWindow(const std::function<void(TGetDataForm&)>& drive) {
    bool ran = false;
    QTimer::singleShot(0, form.get(), [&] {
      auto* window = form->findChild<TGetDataForm*>();
      if (window) {
        ran = true;
        drive(*window);
      }
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      if (window && window->isVisible()) window->done(QDialog::Rejected);
    });
    Button("JVBtn")->click();
    return ran;
  }
};

}  // namespace furlong::test
