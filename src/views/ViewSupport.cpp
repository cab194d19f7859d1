#include "views/ViewSupport.h"

#include <QStringList>

#include "analysis/MeetingFlow.h"
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

int SelectedRaceGridRows(const MeetingFlow& flow) {
  const int slot = flow.Analyzer().SelectedRace();
  if (slot < 0 || slot >= kRaceSlots) return 1;
  return 1 + RegisteredRunners(flow.Day().RaceRecords[static_cast<std::size_t>(slot)].view());
}

int SelectedRaceSlot(const MeetingFlow& flow) {
  if (flow.RaceList().empty()) return -1;
  const int slot = flow.Analyzer().SelectedRace();
  return slot >= 0 && slot < kRaceSlots ? slot : -1;
}

}  // namespace furlong
