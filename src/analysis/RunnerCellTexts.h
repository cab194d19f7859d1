#pragma once
// Texts that the race cards and the index table derive from the records:
// display names, the class and weight-rule texts of a past race, going, coat
// and running-style names, the past-race date, placing counts and predicted
// odds fields. Texts are Shift-JIS.
#include <array>
#include <string>
#include <string_view>

#include "store/RecordLayout.h"

namespace furlong {

// A name field as shown: trimmed and without full-width spaces.
std::string DisplayName(std::string_view field);

// "yyyy.mm.dd" of a race record (columns 12-15 and 16-19).
std::string RaceDateText(std::string_view ra);

// Class text of a race record: G1, G2, G3 by grade code; otherwise 新馬,
// 未出走, 未勝利, ｵｰﾌﾟﾝ or "%4d下" of the condition code x 100; a blank or zero
// code gives " ", which a grade code D or E turns into 重賞 or 特別.
std::string ClassText(std::string_view ra);

// Weight rule (column 622): ﾊﾝﾃﾞ, 別定, 馬齢, 定量, or `other`.
std::string_view WeightRuleName(std::string_view ra, std::string_view other);

// Going code 1-4: 良, 稍重, 重, 不良; anything else " ".
std::string_view GoingName(int code);
// The going code that applies to a race: turf going (column 889) for track
// codes up to 22 (blank included), dirt going (890) for 23-29, else 0.
int GoingCode(std::string_view ra);

// Coat colour code 1-11 as a 6-byte name, six spaces for any other code.
std::string_view CoatName(int code);

// Running-style letter of a style value text: " " when blank, else 逃 (< 2),
// 先 (< 5.1), 差 (< 8) or 追.
std::string_view StyleLetter(std::string_view styleValue);

// Track code of a race record as a number (0 when blank).
inline int TrackCode(std::string_view ra) { return FieldNumber(ra, ra::kTrackCode); }
inline bool IsJumpTrack(std::string_view ra) { return ra::TrackKind(ra) == "5"; }

// The last-3-furlong time of a run, "%4.1f" (x 3 for a jump race), or an
// empty text when blank, "999" or 0.
std::string LastThreeFurlongsText(std::string_view se, std::string_view ra);

// The six 3-digit placing counts (1st, 2nd, 3rd, 4th, 5th, unplaced) of a
// horse master block starting at column `from`.
using PlacingCounts = std::array<int, 6>;
PlacingCounts ReadPlacingCounts(std::string_view um, std::size_t from);
// Five times "%2d-" and once "%2d".
std::string CountsText(const PlacingCounts& counts);

// Predicted odds field (6 characters) of horse `horse` (1-18): win odds at
// column 20, place odds at column 128 of the predicted odds record.
std::string_view PredictedWinOdds(std::string_view odds, int horse);
std::string_view PredictedPlaceOdds(std::string_view odds, int horse);
// True when an odds text reads as a number greater than 0 by the store's
// number rule (the digits before the decimal point).
bool HasOdds(std::string_view field);

}  // namespace furlong
