#pragma once
// The import window's list of filed records (ListBox1). An import of many
// years lists a million lines and more, so the lines are kept as Shift-JIS
// bytes one after the other in one buffer, with the end of each line, and a
// line becomes text only when the view paints it: no item and no string
// object per line.
#include <QAbstractListModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace furlong {

class ImportListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Adds a line (Shift-JIS); it becomes a row at the next Publish.
  void Add(std::string_view sjis);
  // Makes the lines added since the last call rows of the list. Returns
  // whether there were any.
  bool Publish();
  // Empties the list.
  void Clear();

  // Row `row` as the list shows it.
  QString Line(int row) const;

 private:
  std::string_view Bytes(std::size_t line) const;

  std::string bytes_;
  std::vector<std::uint64_t> ends_;  // end of line n in bytes_
  int rows_ = 0;                     // lines published as rows
};

}  // namespace furlong
