#pragma once
// A fixed-width record under construction: a buffer of spaces of the record's
// length, closed by CR LF, whose fields are set by their named spans.
#include <cstddef>
#include <string>
#include <string_view>

#include "store/RecordLayout.h"

namespace furlong::demo {

class RecordBuffer {
 public:
  // length counts the closing CR LF, as the store's record lengths do.
  explicit RecordBuffer(std::size_t length);

  // Raw bytes at the start of a field; they must fit in it.
  void Put(FieldSpan field, std::string_view bytes);
  // A number zero-padded to the field's width; a value too large for the
  // width becomes all nines, a negative one zero.
  void PutNumber(FieldSpan field, long long value);
  // Shift-JIS text left-aligned and padded with half-width spaces; a text
  // longer than the field is cut at a character boundary.
  void PutText(FieldSpan field, std::string_view sjis);
  // Shift-JIS full-width text padded with full-width spaces, as the data
  // service pads its names (an odd last byte stays a half-width space).
  void PutWideText(FieldSpan field, std::string_view sjis);

  const std::string& bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// `value` as `width` zero-padded digits (all nines when it does not fit).
std::string ZeroPadded(long long value, std::size_t width);

// The longest prefix of a Shift-JIS text that fits in `width` bytes without
// splitting a two-byte character.
std::string_view SjisPrefix(std::string_view sjis, std::size_t width);

}  // namespace furlong::demo
