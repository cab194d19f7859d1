#pragma once
// Past meetings from the results: a setup download files the races of past
// dates only into the results race files and the horse histories, so those
// dates never become meetings. RebuildMeetings writes the race file and the
// runner file of every JRA date and racecourse that has a results race file
// but no race file, through the same filing rules as an import: the race
// file from the results race records, the runner file from the horse
// histories' runner records of those races. The payout file is the one the
// import already filed.
//
// Each horse history is read once. The runner records found go to a
// temporary file beside the store's files while the histories are read, and
// the meetings are then written a few at a time, so memory does not grow
// with the years. A meeting that already has a race file is never touched.
#include <atomic>
#include <string>

#include "store/Store.h"

namespace furlong {

struct RebuildOptions {
  int fromDate = 0;         // yyyymmdd, inclusive; 0 from the first date
  int toDate = 99999999;    // yyyymmdd, inclusive
};

// What the rebuild reports while it runs; the defaults do nothing. Called
// on the thread that runs it.
class RebuildProgress {
 public:
  virtual ~RebuildProgress() = default;
  // Reading the horse histories: `done` of `total` files.
  virtual void Histories(int done, int total) {}
  // Writing the meetings: `done` of `total`.
  virtual void Meetings(int done, int total) {}
};

struct RebuildResult {
  int candidates = 0;           // dates and racecourses without a race file, in range
  int meetings = 0;             // meetings made (race file and runner file written)
  int races = 0;                // races of those meetings
  int runners = 0;              // runner records placed into their runner files
  int racesMissingRunners = 0;  // races with a horse number the histories lack
  int historiesRead = 0;
  bool cancelled = false;
  std::string error;            // the store failure (UTF-8) that stopped it; empty when none
};

// Makes the missing meetings in the date range. A cancel is seen between
// history files and between groups of meetings; meetings made until then
// stay made. A store failure stops it with `error` set (naming the file);
// meetings made before it stay made. Running it again makes nothing new.
RebuildResult RebuildMeetings(const Store& store, const RebuildOptions& options,
                              const std::atomic<bool>* cancelled = nullptr, RebuildProgress* progress = nullptr);

}  // namespace furlong
