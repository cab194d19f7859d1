#pragma once
// SortedTextList: texts kept in ascending, case-insensitive order with
// duplicates allowed; the largest is the last entry. Equal texts keep their
// insertion order.
#include <set>
#include <string>
#include <string_view>

namespace furlong {

struct CaseInsensitiveLess {
  bool operator()(std::string_view a, std::string_view b) const {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      unsigned char x = static_cast<unsigned char>(a[i]);
      unsigned char y = static_cast<unsigned char>(b[i]);
      if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
      if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
  using is_transparent = void;
};

using SortedTextList = std::multiset<std::string, CaseInsensitiveLess>;

}  // namespace furlong
