#pragma once
// Colours shared by the race header, the runner grids and the charts, as RGB.
#include <cstdint>

namespace furlong {

struct Rgb {
  std::uint8_t r, g, b;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kGray{128, 128, 128};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kOrange{255, 128, 0};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kPink{255, 185, 255};
inline constexpr Rgb kLightGreen{202, 255, 228};
inline constexpr Rgb kLightYellow{255, 255, 168};
inline constexpr Rgb kLightBlue{192, 192, 250};
// Items of runs shown greyed (local and overseas runs, runs the filters leave out).
inline constexpr Rgb kGreyed = kGray;
// The tool-tip ("info") background of the usual desktop palette.
inline constexpr Rgb kInfoBackground{255, 255, 225};

// Surface colours: the header strip, the running-order diagram and the
// surface texts of the grids.
inline constexpr Rgb kTurfGreen = kGreen;
inline constexpr Rgb kDirtMaroon = kMaroon;

}  // namespace furlong
