#pragma once
// Code tables and display helpers. All inputs and outputs are Shift-JIS
// bytes; widths count bytes. Tables compare the input exactly.
#include <cstddef>
#include <string>
#include <string_view>

namespace furlong {

// 4-byte racecourse or country name; four spaces for an unlisted code.
std::string_view CourseName(std::string_view code);
// 6-byte name: the JRA racecourse + two spaces, "地方  ", "海外  " or six spaces.
std::string_view CourseShortName(std::string_view code);
// "牡", "牝", "ｾﾝ" or empty.
std::string_view SexName(std::string_view code);
// "(抽)" ... or one full-width space.
std::string_view HorseMarkName(std::string_view code);
// "①".."⑱", or "－" for any other value.
std::string_view CircledNumber(int n);
// The text without any full-width space (matched character by character).
std::string RemoveWideSpaces(std::string_view text);
// Right-aligned number of the input's width, or as many spaces for zero.
std::string ZeroSuppress(std::string_view text);
// prefix + ZeroSuppress(count); "ナシ" for "000"; four spaces for "999" or blank.
std::string PrefixedCount(std::string_view prefix, std::string_view count);
// "m ss.t" style 5-byte time (e.g. "1234" -> "123.4"), or five spaces.
std::string FormatRaceTime(std::string_view time);
// Deletes length(r) bytes of s at 1-based position p, then inserts r there.
std::string OverwriteAt(std::string_view s, std::string_view r, std::size_t p);

// The class text of a youngest-age condition code (RA columns 635-637) as
// the race card shows it: "新馬", "未出走", "未勝利", "ｵｰﾌﾟﾝ", a limit as "%4d"
// of the code times 100 followed by "下", or one space for a blank or zero code.
std::string ConditionClassText(std::string_view code);

}  // namespace furlong
