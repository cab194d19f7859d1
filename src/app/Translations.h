#pragma once
// Qt's own texts in Japanese: the standard buttons (はい, いいえ, キャンセル),
// the file and folder dialogs and the calendar of the date picker.
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace furlong {

// Where Qt's translation catalogues are looked for, in order: the
// "translations" folder beside the executable (where a Windows deployment
// puts them), then Qt's own translations folder.
QStringList QtTranslationFolders();

// Makes Japanese the default locale and installs Qt's Japanese catalogue
// (qt_ja.qm, else qtbase_ja.qm) from the first folder that holds one.
// Returns the file that was loaded, or an empty text when none was found
// (Qt's texts then stay English).
QString InstallQtTranslations(QCoreApplication& app);

}  // namespace furlong
