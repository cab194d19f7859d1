#include "app/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "app/MainForm.h"

namespace furlong {

void Dialogs::Beep() { QApplication::beep(); }

void Dialogs::Information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, kApplicationTitle, text);
}

bool Dialogs::Confirm(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, kApplicationTitle, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::filesystem::path Dialogs::OpenFileName(QWidget* parent, const QString& title, const std::filesystem::path& folder,
                                            const QString& filterText, const QString& patterns) {
  QFileDialog dialog(parent, title, PathText(folder));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // One entry: the user sees its text, the dialog matches its patterns.
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilter(filterText + " (" + QString(patterns).replace(';', ' ') + ")");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return TextPath(dialog.selectedFiles().front());
}

std::filesystem::path Dialogs::SaveFileName(QWidget* parent, const QString& title, const std::filesystem::path& file,
                                            const QString& filterText, const QString& patterns) {
  const QString chosen = QFileDialog::getSaveFileName(parent, title, PathText(file),
                                                      filterText + " (" + QString(patterns).replace(';', ' ') + ")");
  if (chosen.isEmpty()) return {};
  return TextPath(chosen);
}

std::filesystem::path Dialogs::ExistingFolder(QWidget* parent, const QString& title,
                                              const std::filesystem::path& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(parent, title, PathText(folder));
  if (chosen.isEmpty()) return {};
  return TextPath(chosen);
}

bool Dialogs::OpenWithDefaultApplication(const std::filesystem::path& file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(file)));
}

QString PathText(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

std::filesystem::path TextPath(const QString& text) { return std::filesystem::path(text.toStdU16String()); }

}  // namespace furlong
