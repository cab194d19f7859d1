#include "analysis/GridSort.h"

#include <charconv>
#include <cstddef>
#include <utility>

#include "store/Record.h"

namespace furlong {

GridSortKey VerificationSortKey(VerificationSort button) {
  switch (button) {
    case VerificationSort::kHorseNumber: return {kVerHorse, false};
    case VerificationSort::kOdds: return {kVerOdds, false};
    case VerificationSort::kDevelopment: return {kVerDevelopment, false};
    case VerificationSort::kAbility: return {kVerAbility, true};
    case VerificationSort::kLegPower: return {kVerLegPower, true};
    case VerificationSort::kDIndex: return {kVerDIndex, true};
    case VerificationSort::kWeight: return {kVerWeight, true};
    case VerificationSort::kTotal: return {kVerTotal, true};
    case VerificationSort::kFinish: return {kVerFinish, false};
    case VerificationSort::kNone: break;
  }
  return {kVerFrame, false};
}

GridSortKey PredictionSortKey(PredictionSort button) {
  switch (button) {
    case PredictionSort::kHorseNumber: return {kPreHorse, false};
    case PredictionSort::kAxisIndex: return {kPreAxis, true};
    case PredictionSort::kComboIndex: return {kPreCombo, true};
    case PredictionSort::kNone: break;
  }
  return {kPreFrame, false};
}

VerificationSort PressSortButton(VerificationSort current, VerificationSort pressed) {
  return current == pressed ? VerificationSort::kNone : pressed;
}

PredictionSort PressSortButton(PredictionSort current, PredictionSort pressed) {
  return current == pressed ? PredictionSort::kNone : pressed;
}

namespace {

enum TextClass : int { kBlankText = 0, kNumberText = 1, kOtherText = 2 };

struct CellKey {
  TextClass cls = kBlankText;
  double value = 0;
  std::string_view text;
};

// A text that reads as a number: optional spaces, an optional sign, digits
// with at most one decimal point, optional spaces.
bool ReadNumberText(std::string_view text, double& value) {
  text = TrimSpaces(text);
  if (text.empty()) return false;
  std::size_t i = 0;
  if (text[0] == '+' || text[0] == '-') i = 1;
  bool digit = false, point = false;
  for (std::size_t k = i; k < text.size(); ++k) {
    const char c = text[k];
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  if (!digit) return false;
  const char* b = text.data() + (text[0] == '+' ? 1 : 0);
  auto r = std::from_chars(b, text.data() + text.size(), value, std::chars_format::fixed);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

CellKey MakeKey(std::string_view text) {
  CellKey k;
  k.text = text;
  if (IsBlank(text)) k.cls = kBlankText;
  else if (ReadNumberText(text, k.value)) k.cls = kNumberText;
  else k.cls = kOtherText;
  return k;
}

int Compare(const CellKey& a, const CellKey& b) {
  if (a.cls != b.cls) return a.cls < b.cls ? -1 : 1;
  if (a.cls == kNumberText) return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
  const int c = a.text.compare(b.text);  // char_traits<char>: unsigned bytes
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

template <std::size_t Columns>
void SortRows(std::array<std::array<std::string, Columns>, kRunnerSlots>& rows, int count, GridSortKey key,
              int horseColumn) {
  if (count > kRunnerSlots) count = kRunnerSlots;
  if (count < 2) return;
  struct Item {
    CellKey sort, horse;
    int row;
  };
  std::array<Item, kRunnerSlots> items;
  for (int i = 0; i < count; ++i)
    items[i] = Item{MakeKey(rows[i][key.column]), MakeKey(rows[i][horseColumn]), i};
  auto before = [&](const Item& a, const Item& b) {
    int c = Compare(a.sort, b.sort);
    if (key.descending) c = -c;
    if (c != 0) return c < 0;
    return Compare(a.horse, b.horse) < 0;
  };
  // Stable insertion sort over at most 18 rows.
  bool moved = false;
  for (int i = 1; i < count; ++i) {
    Item x = items[i];
    int j = i - 1;
    while (j >= 0 && before(x, items[j])) {
      items[j + 1] = items[j];
      --j;
      moved = true;
    }
    items[j + 1] = x;
  }
  if (!moved) return;
  // Apply the permutation cycle by cycle with swaps, so the texts keep their
  // buffers. The keys above view the old rows and are not used from here on.
  std::array<int, kRunnerSlots> from;
  for (int i = 0; i < count; ++i) from[i] = items[i].row;
  std::array<bool, kRunnerSlots> done{};
  for (int start = 0; start < count; ++start) {
    if (done[start]) continue;
    int cur = start;
    while (from[cur] != start) {
      std::swap(rows[cur], rows[from[cur]]);
      done[cur] = true;
      cur = from[cur];
    }
    done[cur] = true;
  }
}

}  // namespace

int CompareCellTexts(std::string_view a, std::string_view b) { return Compare(MakeKey(a), MakeKey(b)); }

void SortGridRows(std::array<VerificationRow, kRunnerSlots>& rows, int count, GridSortKey key) {
  SortRows(rows, count, key, kVerHorse);
}

void SortGridRows(std::array<PredictionRow, kRunnerSlots>& rows, int count, GridSortKey key) {
  SortRows(rows, count, key, kPreHorse);
}

}  // namespace furlong
