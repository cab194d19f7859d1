#include "demo/RecordBuffer.h"

#include <stdexcept>

#include "store/Encoding.h"
#include "store/SjisChars.h"

namespace furlong::demo {

RecordBuffer::RecordBuffer(std::size_t length) : bytes_(length, ' ') {
  if (length < 2) throw std::logic_error("record length below 2");
  bytes_[length - 2] = '\r';
  bytes_[length - 1] = '\n';
}

void RecordBuffer::Put(FieldSpan field, std::string_view bytes) {
  if (field.from < 1 || field.to < field.from || field.to > bytes_.size() - 2 || bytes.size() > field.size())
    throw std::logic_error("bytes outside the field at column " + std::to_string(field.from));
  bytes_.replace(field.from - 1, bytes.size(), bytes);
}

void RecordBuffer::PutNumber(FieldSpan field, long long value) { Put(field, ZeroPadded(value, field.size())); }

void RecordBuffer::PutText(FieldSpan field, std::string_view sjis) {
  std::string text(SjisPrefix(sjis, field.size()));
  text.resize(field.size(), ' ');
  Put(field, text);
}

void RecordBuffer::PutWideText(FieldSpan field, std::string_view sjis) {
  std::string text(SjisPrefix(sjis, field.size()));
  const std::string& wideSpace = SJ("　");
  while (text.size() + wideSpace.size() <= field.size()) text += wideSpace;
  text.resize(field.size(), ' ');
  Put(field, text);
}

std::string ZeroPadded(long long value, std::size_t width) {
  if (value < 0) value = 0;
  std::string digits;
  while (value > 0) {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  }
  if (digits.size() > width) return std::string(width, '9');
  return std::string(width - digits.size(), '0') + digits;
}

std::string_view SjisPrefix(std::string_view sjis, std::size_t width) {
  std::size_t i = 0;
  while (i < sjis.size()) {
    std::size_t len = SjisCharLength(sjis, i);
    if (i + len > width) break;
    i += len;
  }
  return sjis.substr(0, i);
}

}  // namespace furlong::demo
