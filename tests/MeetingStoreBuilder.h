#pragma once
// Builds a small meeting in a scratch store: a race file and a runner file
// written as raw fixed-length records, so that slots can be left blank or
// malformed on purpose.
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "StoreTestSupport.h"
#include "store/Record.h"
#include "store/Store.h"

namespace furlong::test {

struct MeetingRace {
  int raceNumber = 1;
  int runners = 8;
  std::string year = "2004";  // "    " or "0000" for a slot without a race
  bool firstRunnerNumbered = true;  // false: runner slot 0 has no horse number
  std::vector<int> finish;          // finishing positions by horse, optional
};

class MeetingStoreBuilder {
 public:
  // meeting: Shift-JIS MeetingBaseName; date yyyymmdd; course code.
  MeetingStoreBuilder(const Store& store, std::string meeting, std::string date = "20040105",
                      std::string course = "06")
      : store_(store), meeting_(std::move(meeting)), date_(std::move(date)), course_(std::move(course)) {}

  void Add(const MeetingRace& race) { races_.push_back(race); }

  std::string RaceRecord(const MeetingRace& r) const {
    std::string ra = BlankRecord("RA", kRaLength);
    if (r.year == "    ") return std::string(kRaLength - 2, ' ') + "\r\n";
    Put(ra, 12, r.year);
    Put(ra, 16, date_.substr(4, 4));
    Put(ra, 20, course_);
    Put(ra, 22, "01");
    Put(ra, 24, "08");
    PutNum(ra, 26, 2, r.raceNumber);
    PutNum(ra, 698, 4, 1600);
    Put(ra, 706, "17");
    PutNum(ra, 882, 2, r.runners);
    return ra;
  }

  std::string RunnerRecord(const MeetingRace& r, int h) const {
    std::string se = BlankRecord("SE", kSeLength);
    Put(se, 12, date_);
    Put(se, 20, course_);
    PutNum(se, 26, 2, r.raceNumber);
    PutNum(se, 28, 1, h < 8 ? h + 1 : 8);
    if (h > 0 || r.firstRunnerNumbered) PutNum(se, 29, 2, h + 1);
    PutNum(se, 31, 10, 2001100000LL + r.raceNumber * 100 + h);
    Put(se, 41, Utf8ToSjis("テストホース"));
    PutNum(se, 289, 3, 550);
    if (h < static_cast<int>(r.finish.size())) PutNum(se, 335, 2, r.finish[h]);
    return se;
  }

  void Write(bool withRunnerFile = true) const {
    std::string raceFile, runnerFile(216 * kSeLength, ' ');
    for (std::size_t line = 0; line < 216; ++line) {
      runnerFile[line * kSeLength + kSeLength - 2] = '\r';
      runnerFile[line * kSeLength + kSeLength - 1] = '\n';
    }
    for (std::size_t i = 0; i < races_.size(); ++i) {
      const MeetingRace& r = races_[i];
      raceFile += RaceRecord(r);
      for (int h = 0; h < r.runners && h < 18; ++h)
        runnerFile.replace((i * 18 + h) * kSeLength, kSeLength, RunnerRecord(r, h));
    }
    WriteBytes(store_.RaceFile(meeting_), raceFile);
    if (withRunnerFile) WriteBytes(store_.RunnerFile(meeting_), runnerFile);
  }

  static void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  const Store& store_;
  std::string meeting_, date_, course_;
  std::vector<MeetingRace> races_;
};

}  // namespace furlong::test
