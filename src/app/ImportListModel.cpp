#include "app/ImportListModel.h"

#include "views/ViewSupport.h"

namespace furlong {

int ImportListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant ImportListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  return Line(index.row());
}

std::string_view ImportListModel::Bytes(std::size_t line) const {
  const std::uint64_t begin = line == 0 ? 0 : ends_[line - 1];
  return std::string_view(bytes_).substr(begin, ends_[line] - begin);
}

QString ImportListModel::Line(int row) const {
  if (row < 0 || row >= rows_) return {};
  return FromSjis(Bytes(static_cast<std::size_t>(row)));
}

void ImportListModel::Add(std::string_view sjis) {
  bytes_ += sjis;
  ends_.push_back(bytes_.size());
}

bool ImportListModel::Publish() {
  const int lines = static_cast<int>(ends_.size());
  if (lines == rows_) return false;
  beginInsertRows(QModelIndex(), rows_, lines - 1);
  rows_ = lines;
  endInsertRows();
  return true;
}

void ImportListModel::Clear() {
  beginResetModel();
  std::string().swap(bytes_);
  std::vector<std::uint64_t>().swap(ends_);
  rows_ = 0;
  endResetModel();
}

}  // namespace furlong
