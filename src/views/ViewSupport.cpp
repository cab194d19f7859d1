#include "views/ViewSupport.h"

#include <QStringList>

#include "store/Encoding.h"

namespace furlong {

QString FromSjis(std::string_view sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }

QFont UiFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies(QStringList{"Noto Sans CJK JP", "Meiryo", "Sans Serif"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace furlong
