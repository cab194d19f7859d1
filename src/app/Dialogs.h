#pragma once
// The message boxes, the file and folder pickers and the desktop's "open"
// action that the window's commands use, behind one class whose methods can
// be overridden: the tests answer the questions and record the messages,
// and nothing opens a real application while they run.
#include <QString>
#include <filesystem>
#include <functional>

class QWidget;

namespace furlong {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The system beep.
  virtual void Beep();
  // An information message with one OK button (modal).
  virtual void Information(QWidget* parent, const QString& text);
  // A confirmation question with Yes and No; true for Yes.
  virtual bool Confirm(QWidget* parent, const QString& text);
  // A file-open dialog on `folder` with one filter entry: `filterText` is
  // what the user sees, `patterns` the file name patterns separated by ";".
  // The chosen file, or an empty path when the dialog was cancelled.
  virtual std::filesystem::path OpenFileName(QWidget* parent, const QString& title, const std::filesystem::path& folder,
                                             const QString& filterText, const QString& patterns);
  // A file-save dialog proposing `file`, with one filter entry as above;
  // the chosen file, or an empty path when the dialog was cancelled.
  virtual std::filesystem::path SaveFileName(QWidget* parent, const QString& title, const std::filesystem::path& file,
                                             const QString& filterText, const QString& patterns);
  // A folder picker opened on `folder`; an empty path when cancelled.
  virtual std::filesystem::path ExistingFolder(QWidget* parent, const QString& title,
                                               const std::filesystem::path& folder);
  // Opens a file with the desktop's default application; false when that
  // could not be started.
  virtual bool OpenWithDefaultApplication(const std::filesystem::path& file);
};

// Dialogs whose information messages go to `sink` without the beep (the
// screenshot mode prints them); everything else as Dialogs.
class SinkDialogs : public Dialogs {
 public:
  explicit SinkDialogs(std::function<void(const QString&)> sink) : sink_(std::move(sink)) {}
  void Beep() override {}
  void Information(QWidget*, const QString& text) override { sink_(text); }

 private:
  std::function<void(const QString&)> sink_;
};

// Paths and texts at the widget edge.
QString PathText(const std::filesystem::path& path);
std::filesystem::path TextPath(const QString& text);

}  // namespace furlong
