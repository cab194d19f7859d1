#pragma once
// Renders every tab and sub-tab of the main window to PNG files.
#include <QString>
#include <QStringList>

namespace furlong {

class TMainForm;

// Makes each page of PageControl1 (and each page of its nested tab widgets)
// current in turn and saves a picture of the whole window as
// "<nn>-<page>.png" in `folder` (created when missing). Also saves the four
// running-order pictures as "diagram-corner<k>.png", and the "回収率" window
// after a run over every stored meeting as "backtest.png". Returns the files
// written; throws std::runtime_error when a file cannot be written.
QStringList WriteScreenshots(TMainForm& form, const QString& folder);

}  // namespace furlong
