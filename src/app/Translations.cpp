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
  for (const QString& folder : QtTranslationFolders()) {
    auto* translator = new QTranslator(&app);
    if (translator->load(japanese, "qtbase", "_", folder) && QCoreApplication::installTranslator(translator))
      return translator->filePath();
    delete translator;
  }
  return {};
}

}  // namespace furlong
