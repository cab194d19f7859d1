#pragma once
// Fictional people, horses and race names for the demo store. Every text is
// held as Shift-JIS bytes, ready for the records.
#include <set>
#include <string>
#include <vector>

#include "demo/DemoRandom.h"

namespace furlong::demo {

// Jockeys 0 .. kRegularJockeys - 1 ride every week, alternately of Miho
// (east) and Ritto (west); two visiting riders from abroad follow.
inline constexpr int kRegularJockeys = 60;

struct Jockey {
  std::string shortName;  // up to four full-width characters
  int code = 0;
  bool east = true;
  int apprentice = 0;  // 0 none, 1-3 kilograms of allowance
};

struct Trainer {
  std::string shortName;
  int code = 0;
  bool east = true;
};

struct Owner {
  std::string name;
  std::string colours;  // racing colours, e.g. 青，白星散らし，白袖
  int code = 0;
};

struct Breeder {
  std::string name;
  std::string area;  // where the farm is
  int code = 0;      // six digits
};

// A horse of the pedigrees: breeding registration number and name.
struct Ancestor {
  std::string regNo;  // ten digits
  std::string name;
};

struct Stallion {
  Ancestor self, sire, dam;
  Ancestor sireSire, sireDam, damSire, damDam;
};

// The name of a special race in its four stored forms.
struct RaceName {
  std::string full;     // up to 30 full-width characters
  std::string short10;  // up to 10 characters
  std::string short6;   // up to 6 characters
  std::string short3;   // up to 3 characters
};

class NameBook {
 public:
  explicit NameBook(Rng& rng);

  // A katakana horse name of 2-9 characters, different from every name this
  // book gave before.
  std::string NewHorseName(Rng& rng, bool filly);

  // A special race's name; `suffix` is e.g. 特別, ステークス, 記念 (UTF-8).
  RaceName SpecialRaceName(Rng& rng, int month, const std::string& suffixUtf8);
  // A race name from a given UTF-8 stem and suffix.
  static RaceName MakeRaceName(const std::string& stemUtf8, const std::string& suffixUtf8);

  // A fresh breeding registration number: "11" for stallions, "12" for mares.
  std::string NewRegNo(bool male);
  Ancestor NewMare(Rng& rng);

  std::vector<Jockey> jockeys;
  std::vector<Trainer> trainers;
  std::vector<Owner> owners;
  std::vector<Breeder> breeders;
  std::vector<Stallion> sires;        // sires of the demo's horses
  std::vector<Stallion> damSires;     // broodmare sires

 private:
  std::set<std::string> usedHorseNames_;
  int stallionSerial_ = 0;
  int mareSerial_ = 0;
};

}  // namespace furlong::demo
