// Program start of the window: the JV-Link creation check, the main window
// and the message loop; or, with --screenshot, pictures of every page of one
// race written to a folder.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/MainForm.h"
#include "app/Screenshots.h"
#include "app/Translations.h"
#include "jvlink/JVLink.h"
#include "store/AppPath.h"
#include "store/CommandLine.h"
#include "store/Encoding.h"
#include "store/IniGT.h"

namespace {

// Qt reads the wide command line itself on Windows; before Qt starts, the
// arguments come from the same place (store/CommandLine.h).
bool WantsScreenshots(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size(); ++i)
    if (args[i] == "--screenshot" || args[i].rfind("--screenshot=", 0) == 0) return true;
  return false;
}

void PrintError(const QString& text) { std::fprintf(stderr, "furlong: %s\n", text.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
  const bool screenshots = WantsScreenshots(furlong::Utf8Arguments(argc, argv));
  // Pictures need no display: use the offscreen platform when there is none.
  if (screenshots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setApplicationName("furlong");
  QApplication::setApplicationVersion(furlong::kVersionText);
  // Qt's own buttons and dialogs in Japanese, as everything else.
  if (furlong::InstallQtTranslations(app).isEmpty())
    PrintError("qt_ja.qm / qtbase_ja.qm not found in " + furlong::QtTranslationFolders().join(", ") +
               ": Qt's own buttons and dialogs stay in English");

  QCommandLineParser parser;
  parser.setApplicationDescription(QString(furlong::kApplicationTitle));
  parser.addHelpOption();
  QCommandLineOption rootOption("root", "Data root (default: the executable's folder).", "DIR");
  QCommandLineOption meetingOption("meeting", "Meeting to load (e.g. 2024年01月06日中山).", "NAME");
  QCommandLineOption raceOption("race", "Race number of the meeting to show.", "N");
  QCommandLineOption screenshotOption("screenshot", "Write a picture of every page to DIR and exit.", "DIR");
  QCommandLineOption feedOption("jvlink-feed", "Use the JV-Link stand-in on this feed folder.", "DIR");
  parser.addOptions({rootOption, meetingOption, raceOption, screenshotOption, feedOption});
  parser.process(app);

  std::error_code ec;
  // A feed folder given relative to the directory the program was started in.
  std::filesystem::path feed;
  if (parser.isSet(feedOption)) {
    feed = std::filesystem::absolute(furlong::TextPath(parser.value(feedOption)), ec);
    if (!std::filesystem::is_directory(feed, ec)) {
      PrintError(parser.value(feedOption) + ": no such feed folder");
      return 2;
    }
  }

  // The screenshot folder likewise, before the data root becomes the current directory.
  const QString screenshotDir =
      parser.isSet(screenshotOption) ? QDir::current().absoluteFilePath(parser.value(screenshotOption)) : QString();

  std::filesystem::path root = furlong::ApplicationDir();
  if (parser.isSet(rootOption)) root = furlong::TextPath(parser.value(rootOption));
  if (!root.empty()) {
    std::filesystem::create_directories(root, ec);
    root = std::filesystem::absolute(root, ec);
    // The data root is the current directory while the program runs.
    QDir::setCurrent(furlong::PathText(root));
  }
  if (screenshots && (!parser.isSet(meetingOption) || !parser.isSet(raceOption))) {
    PrintError("--screenshot needs --meeting and --race");
    return 2;
  }

  furlong::MainFormOptions options;
  options.dataRoot = root;
  // A store named by --root keeps its own settings, as furlong-cli reads them.
  if (parser.isSet(rootOption)) options.iniFile = furlong::SettingsFileOf(root);
  // The JV-Link creation check: without the control there is nothing to do.
  try {
    furlong::TIniGT ini(options.iniFile);
    options.jvlink = furlong::CreateJVLink(furlong::ChooseJVLink(root, &ini, feed));
  } catch (const furlong::JVLinkUnavailable&) {
    const QString text = "JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。";
    if (screenshots) {
      PrintError(text);
    } else {
      QApplication::beep();
      QMessageBox::information(nullptr, furlong::kApplicationTitle, text);
    }
    return 0;
  }
  if (screenshots) options.messageSink = [](const QString& text) { PrintError(text); };

  std::unique_ptr<furlong::TMainForm> form;
  try {
    form = std::make_unique<furlong::TMainForm>(std::move(options));
  } catch (const std::exception& e) {
    if (screenshots) {
      PrintError(QString::fromStdString(e.what()));
    } else {
      QApplication::beep();
      QMessageBox::information(nullptr, furlong::kApplicationTitle, QString::fromStdString(e.what()));
    }
    return 1;
  }

  if (!screenshots) {
    form->show();
    return app.exec();
  }

  form->resize(1200, 800);
  form->show();
  const std::string meeting = furlong::Utf8ToSjis(parser.value(meetingOption).toStdString());
  if (!form->ChooseMeeting(meeting)) {
    PrintError("no meeting " + parser.value(meetingOption) + " in the store");
    return 1;
  }
  bool numberOk = false;
  const int race = parser.value(raceOption).toInt(&numberOk);
  if (!numberOk || !form->ChooseRace(race)) {
    PrintError("no race " + parser.value(raceOption) + " in " + parser.value(meetingOption));
    return 1;
  }
  try {
    const QStringList files = furlong::WriteScreenshots(*form, screenshotDir);
    for (const QString& file : files) std::printf("%s\n", file.toLocal8Bit().constData());
  } catch (const std::exception& e) {
    PrintError(QString::fromStdString(e.what()));
    return 1;
  }
  return 0;
}
