#include "analysis/GridCellColours.h"

#include "store/Record.h"

namespace furlong {

namespace {

constexpr Rgb kCellLightPink{255, 208, 255};
constexpr Rgb kCellLightBlue{179, 217, 255};
constexpr Rgb kCellLightGreen{217, 255, 217};
constexpr Rgb kCellLightYellow{255, 255, 202};
constexpr Rgb kCellLightRed{255, 223, 223};
constexpr Rgb kCellAqua{0, 255, 255};
constexpr Rgb kCellWhite{255, 255, 255};
constexpr Rgb kFinishPink{255, 185, 255};
constexpr Rgb kFinishLightGreen{202, 255, 228};
constexpr Rgb kFinishLightYellow{255, 255, 168};

}  // namespace

std::optional<Rgb> FrameColour(int frame) {
  static constexpr Rgb kFrames[] = {{255, 255, 255}, {128, 128, 128}, {255, 0, 0},   {0, 0, 255},
                                    {255, 255, 0},   {0, 255, 0},     {255, 128, 0}, {255, 0, 255}};
  if (frame < 1 || frame > 8) return std::nullopt;
  return kFrames[frame - 1];
}

Rgb FinishBackground(int finish) {
  switch (finish) {
    case 1: return kFinishPink;
    case 2: return kFinishLightGreen;
    case 3: return kFinishLightYellow;
    default: return kCellWhite;
  }
}

int CellInteger(std::string_view text) {
  text = TrimSpaces(text);
  if (text.empty() || text.size() > 9) return 0;
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
    if (text.empty()) return 0;
  }
  const int v = static_cast<int>(DigitsValue(text).value_or(0));
  return negative ? -v : v;
}

std::optional<Rgb> VerificationCellBackground(const VerificationRow& row, int column) {
  switch (column) {
    case kVerFrame: return FrameColour(CellInteger(row[kVerFrame]));
    case kVerHorse: return kInfoBackground;
    case kVerName: return FinishBackground(CellInteger(row[kVerFinish]));
    case kVerOdds: return kCellLightPink;
    case kVerDevelopment: return kCellLightBlue;
    case kVerAbility:
    case kVerLegPower:
    case kVerDIndex:
    case kVerWeight: return kCellLightGreen;
    case kVerAbilityRank:
    case kVerLegPowerRank:
    case kVerDIndexRank:
    case kVerWeightRank: return kCellLightYellow;
    case kVerTotal:
    case kVerTotalRank: return kCellLightRed;
    case kVerFinish: return kCellAqua;
    default: return kCellWhite;
  }
}

std::optional<Rgb> PredictionCellBackground(const PredictionRow& row, int column) {
  switch (column) {
    case kPreFrame: return FrameColour(CellInteger(row[kPreFrame]));
    case kPreHorse: return kInfoBackground;
    case kPreName: return FinishBackground(CellInteger(row[kPreFinish]));
    case kPreAxis: return kCellLightGreen;
    case kPreCombo: return kCellLightYellow;
    case kPreLongshot: return kCellLightBlue;
    case kPreFinish: return kCellAqua;
    default: return kCellWhite;
  }
}

}  // namespace furlong
