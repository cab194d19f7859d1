#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace furlong {

QStringList QtTranslationFolders() {
  return {QDir(QCoreApplication::applicationDirPath()).filePath("translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString InstallQtTranslations(QCoreApplication& app) {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  // A deployment combines the catalogues of the modules it ships into one
  // qt_ja.qm; Qt's own folder has qt_ja.qm as a catalogue of catalogues, and
  // qtbase_ja.qm, which holds every text the window shows.
  for (const QString& folder : QtTranslationFolders())
    for (const char* catalogue : {"qt", "qtbase"}) {
      auto* translator = new QTranslator(&app);
      if (translator->load(japanese, catalogue, "_", folder) && QCoreApplication::installTranslator(translator))
        return translator->filePath();
      delete translator;
    }
  return {};
}

}  // namespace furlong
