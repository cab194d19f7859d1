#pragma once
// Small helpers of the window's pages beside the grid painting helpers
// (GridPainting.h): Shift-JIS text at the widget edge and the proportional
// Japanese font of captions and labels.
#include <QFont>
#include <QString>
#include <string_view>

namespace furlong {

class MeetingFlow;

// Row count of a runner grid for the selected race: the header row plus one
// row per registered runner (just the header when no race is selected).
int SelectedRaceGridRows(const MeetingFlow& flow);
// The selected race slot (0-11) of a loaded meeting, -1 when there is none.
int SelectedRaceSlot(const MeetingFlow& flow);

// UTF-8 text of a Shift-JIS text (trailing spaces kept).
QString FromSjis(std::string_view sjis);

// The proportional Japanese user-interface font at a pixel size.
QFont UiFont(int pixelSize, bool bold = false);

}  // namespace furlong
