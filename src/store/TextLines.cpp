#include "store/TextLines.h"

#include "store/Encoding.h"

namespace furlong {

std::vector<std::string_view> SplitLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0, i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < n) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> SplitLines(std::string_view text) {
  const std::vector<std::string_view> views = SplitLineViews(text);
  std::vector<std::string> lines;
  lines.reserve(views.size());
  for (std::string_view l : views) lines.emplace_back(l);
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::string RemoveWideSpaces(std::string_view text) {
  const std::string& wideSpace = SJ("　");
  std::string out;
  out.reserve(text.size());
  // Step through whole characters so that a trail byte and the next lead byte
  // are never taken for a full-width space.
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = SjisCharLength(text, i);
    std::string_view ch = text.substr(i, len);
    if (ch != wideSpace) out.append(ch);
    i += len;
  }
  return out;
}

std::string OverwriteAt(std::string_view s, std::string_view r, std::size_t p) {
  std::string out(s);
  // Delete: nothing happens for a position outside the text; the count is cut
  // at the end of the text.
  if (p >= 1 && p <= out.size()) out.erase(p - 1, r.size());
  // Insert: a position before the text inserts at its start, one after its
  // end appends.
  std::size_t at = p < 1 ? 0 : p - 1;
  if (at > out.size()) at = out.size();
  out.insert(at, r);
  return out;
}


}  // namespace furlong
