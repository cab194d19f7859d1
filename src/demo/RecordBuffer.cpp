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

void RecordBuffer::Put(std::size_t from, std::string_view bytes) {
  if (from < 1 || from - 1 + bytes.size() > bytes_.size() - 2)
    throw std::logic_error("field outside the record at column " + std::to_string(from));
  bytes_.replace(from - 1, bytes.size(), bytes);
}

void RecordBuffer::PutNumber(std::size_t from, std::size_t width, long long value) {
  Put(from, ZeroPadded(value, width));
}

void RecordBuffer::PutText(std::size_t from, std::size_t width, std::string_view sjis) {
  std::string field(SjisPrefix(sjis, width));
  field.resize(width, ' ');
  Put(from, field);
}

void RecordBuffer::PutWideText(std::size_t from, std::size_t width, std::string_view sjis) {
  std::string field(SjisPrefix(sjis, width));
  const std::string& wideSpace = SJ("　");
  while (field.size() + wideSpace.size() <= width) field += wideSpace;
  field.resize(width, ' ');
  Put(from, field);
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
