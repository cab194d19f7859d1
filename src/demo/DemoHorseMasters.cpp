// The horse master records of the demo's horses: the current layout (UM),
// with the horse, its pedigree, connections and the totals of its career
// before the demo weekend, and the older, narrower legacy layout.
#include "demo/DemoRecords.h"

#include <algorithm>

#include "demo/DemoRecordParts.h"
#include "demo/RecordBuffer.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong::demo {

namespace {

struct Placings {
  int count[6] = {};
  void Add(int position) { ++count[position >= 1 && position <= 5 ? position - 1 : 5]; }
};

void PutPlacings(RecordBuffer& b, FieldSpan placings, const Placings& p) {
  for (std::size_t i = 0; i < 6; ++i) b.PutNumber(placings.Part(1, um::kPlacingCount).Nth(i, um::kPlacingCount), p.count[i]);
}

// Prizes, placings (overall, at JRA, by track, going and distance) and
// running styles over a career.
struct CareerTotals {
  long long flatPrize = 0, jumpPrize = 0, flatEarned = 0, jumpEarned = 0;
  Placings all, jra, turfStraight, turfRight, turfLeft, dirtStraight, dirtRight, dirtLeft, jumps;
  Placings going[3][4], band[6];
  int styles[4] = {};

  void Add(const Run& run, const Race& r) {
    all.Add(run.position);
    if (const int style = RunningStyle(run, r)) ++styles[style - 1];
    if (!IsJraCourse(r.course)) return;
    jra.Add(run.position);
    const int code = r.track.trackCode;
    const bool jump = r.track.surface == Surface::Jump;
    (jump ? jumpPrize : flatPrize) += run.prize;
    if (run.position == 1) (jump ? jumpEarned : flatEarned) += r.prize[0] / 2;
    if (code == 10) turfStraight.Add(run.position);
    else if (code >= 11 && code <= 16) turfLeft.Add(run.position);
    else if (code >= 17 && code <= 22) turfRight.Add(run.position);
    else if (code == 23) dirtLeft.Add(run.position);
    else if (code == 24) dirtRight.Add(run.position);
    else if (code == 29) dirtStraight.Add(run.position);
    else jumps.Add(run.position);
    const int s = jump ? 2 : r.track.surface == Surface::Dirt ? 1 : 0;
    const int g = (s == 1 ? r.dirtGoing : r.turfGoing) - 1;
    going[s][std::clamp(g, 0, 3)].Add(run.position);
    if (!jump) {
      int d = r.track.distance;
      band[(s == 1 ? 3 : 0) + (d <= 1600 ? 0 : d <= 2200 ? 1 : 2)].Add(run.position);
    }
  }

  void Put(RecordBuffer& b) const {
    b.PutNumber(um::kMainPrizeFlat, flatPrize);
    b.PutNumber(um::kMainPrizeJump, jumpPrize);
    b.PutNumber(um::kAddedPrizeFlat, 0);
    b.PutNumber(um::kAddedPrizeJump, 0);
    b.PutNumber(um::kEarnedPrizeFlat, flatEarned);
    b.PutNumber(um::kEarnedPrizeJump, jumpEarned);
    PutPlacings(b, um::kPlacingsAll, all);
    PutPlacings(b, um::kPlacingsJra, jra);
    PutPlacings(b, um::kPlacingsTurfStraight, turfStraight);
    PutPlacings(b, um::kPlacingsTurfRight, turfRight);
    PutPlacings(b, um::kPlacingsTurfLeft, turfLeft);
    PutPlacings(b, um::kPlacingsDirtStraight, dirtStraight);
    PutPlacings(b, um::kPlacingsDirtRight, dirtRight);
    PutPlacings(b, um::kPlacingsDirtLeft, dirtLeft);
    PutPlacings(b, um::kPlacingsJump, jumps);
    const FieldSpan byGoing = um::kPlacingsByGoing.Part(1, um::kPlacingsWidth);
    for (std::size_t s = 0; s < 3; ++s)
      for (std::size_t g = 0; g < 4; ++g) PutPlacings(b, byGoing.Nth(4 * s + g, um::kPlacingsWidth), going[s][g]);
    const FieldSpan bands[6] = {um::kPlacingsTurfShort, um::kPlacingsTurfMiddle, um::kPlacingsTurfLong,
                                um::kPlacingsDirtShort, um::kPlacingsDirtMiddle, um::kPlacingsDirtLong};
    for (std::size_t i = 0; i < 6; ++i) PutPlacings(b, bands[i], band[i]);
    const FieldSpan style = um::kRunningStyles.Part(1, um::kPlacingCount);
    for (std::size_t i = 0; i < 4; ++i) b.PutNumber(style.Nth(i, um::kPlacingCount), styles[i]);
  }
};

// The fourteen ancestors. A legacy ancestor number is narrower: its text
// right-aligned in the UM span.
void PutPedigree(RecordBuffer& b, const Horse& h, bool legacy) {
  const std::size_t idPad = um::kAncestorId.size() - uma::kAncestorId.size();
  for (std::size_t i = 0; i < um::kAncestors; ++i) {
    const FieldSpan at = um::kAncestor.Nth(i, um::kAncestor.size());
    const Ancestor& a = h.pedigree[i];
    b.Put(at.Part(um::kAncestorId.from, um::kAncestorId.to),
          legacy ? std::string(idPad, ' ') + a.regNo.substr(idPad) : a.regNo);
    b.PutWideText(at.Part(um::kAncestorName.from, um::kAncestorName.to), a.name);
  }
}

// Trainer, breeder (narrower in the legacy layout) and owner.
void PutConnections(RecordBuffer& b, const World& w, const Horse& h, bool legacy) {
  const auto& names = w.names;
  const Trainer& t = names.trainers[static_cast<std::size_t>(h.trainer)];
  const Owner& o = names.owners[static_cast<std::size_t>(h.owner)];
  const Breeder& br = names.breeders[static_cast<std::size_t>(h.breeder)];
  b.Put(um::kTrainerRegion, t.east ? "1" : "2");
  b.PutNumber(um::kTrainerCode, t.code);
  b.PutWideText(um::kTrainerShort, t.shortName);
  if (legacy) {
    const std::size_t codePad = um::kBreederCode.size() - uma::kBreederCode.size();
    const std::size_t namePad = um::kBreederName.size() - uma::kBreederName.size();
    b.Put(um::kBreederCode, std::string(codePad, ' ') + ZeroPadded(br.code, uma::kBreederCode.size()));
    b.PutWideText(um::kBreederName.Part(namePad + 1, um::kBreederName.size()), br.name);
  } else {
    b.PutNumber(um::kBreederCode, br.code);
    b.PutWideText(um::kBreederName, br.name);
  }
  b.PutWideText(um::kBreedingArea, br.area);
  b.PutNumber(um::kOwnerCode, o.code);
  b.PutWideText(um::kOwnerName, o.name);
}

// The new-layout master. With `legacy` set the three fields that the older
// layout holds narrower are written in their widened form: two blanks before
// an 8-digit ancestor number, a 6-digit breeder code and a 70-byte breeder name.
std::string BuildMaster(const World& w, const Horse& h, bool legacy) {
  RecordBuffer b(kUmLength);
  b.Put(um::kType, "UM");
  b.Put(um::kDataKind, "2");
  b.Put(um::kCreationDate, DateText(w.masterDate));
  b.Put(um::kHorseId, h.id);
  b.Put(um::kDeregistered, "0");
  b.Put(um::kRegisteredDate, DateText(h.registeredDate));
  b.Put(um::kDeregisteredDate, "00000000");
  b.Put(um::kBirthDate, DateText(h.birthDate));
  b.PutWideText(um::kHorseName, h.name);
  b.Put(um::kAtJraStables, "1");
  b.PutNumber(um::kHorseSymbol, h.symbol);
  b.PutNumber(um::kSex, h.sex);
  b.Put(um::kBreed, "1");
  b.PutNumber(um::kCoatColour, h.coat);
  PutPedigree(b, h, legacy);
  PutConnections(b, w, h, legacy);
  // Totals over the career before the demo weekend.
  CareerTotals totals;
  const std::size_t past = h.runs.empty() ? 0 : h.runs.size() - 1;
  for (std::size_t k = 0; k < past; ++k) {
    const Run& run = w.runs[static_cast<std::size_t>(h.runs[k])];
    totals.Add(run, w.races[static_cast<std::size_t>(run.race)]);
  }
  totals.Put(b);
  b.PutNumber(um::kRegisteredRuns, static_cast<long long>(past));
  return b.Take();
}

}  // namespace

std::string MakeHorseMaster(const World& w, const Horse& h) { return BuildMaster(w, h, false); }

std::string MakeLegacyHorseMaster(const World& w, const Horse& h) {
  // Narrow the three widened fields back: the inverse of the conversion
  // the day loading applies.
  const std::string master = BuildMaster(w, h, true);
  std::string old(kLegacyUmLength, ' ');
  old[kLegacyUmLength - 2] = '\r';
  old[kLegacyUmLength - 1] = '\n';
  // Each legacy field takes the right end of its UM span.
  auto narrow = [&](FieldSpan to, FieldSpan from) {
    old.replace(to.from - 1, to.size(), master, from.to - to.size(), to.size());
  };
  narrow(uma::kHead, um::kHead);
  for (std::size_t i = 0; i < uma::kAncestors; ++i) {
    const FieldSpan to = uma::kAncestor.Nth(i, uma::kAncestor.size());
    const FieldSpan from = um::kAncestor.Nth(i, um::kAncestor.size());
    narrow(to.Part(uma::kAncestorId.from, uma::kAncestorId.to), from.Part(um::kAncestorId.from, um::kAncestorId.to));
    narrow(to.Part(uma::kAncestorName.from, uma::kAncestorName.to),
           from.Part(um::kAncestorName.from, um::kAncestorName.to));
  }
  narrow(uma::kAfterPedigree, um::kAfterPedigree);
  narrow(uma::kBreederCode, um::kBreederCode);
  narrow(uma::kBreederName, um::kBreederName);
  narrow(uma::kAfterBreeder, um::kAfterBreeder);
  return old;
}

}  // namespace furlong::demo
