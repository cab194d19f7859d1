#pragma once
// Dates, racecourses and their tracks for the demo store: a simplified JRA
// year (which racecourses race in which month, meeting and day numbers) and
// the distances each racecourse offers per surface.
#include <string>
#include <string_view>
#include <vector>

namespace furlong::demo {

// Days since 1970-01-01 of a civil date, and back.
int DaySerial(int year, int month, int day);
void CivilFromSerial(int serial, int& year, int& month, int& day);
int YearOf(int serial);
int MonthOf(int serial);
// 0 Sunday ... 6 Saturday.
int Weekday(int serial);
// "yyyymmdd".
std::string DateText(int serial);
// The data service's weekday code: 1 Saturday, 2 Sunday, 4-8 Monday-Friday.
int WeekdayCode(int serial);

enum class Surface { Turf, Dirt, Jump };

struct TrackDef {
  Surface surface;
  int distance;   // metres
  int trackCode;  // RA columns 706-707
  int maxRunners;
};

// Corners a race passes (bit 0 = first corner ... bit 3 = fourth corner).
int CornerMask(const TrackDef& track);

// Tracks of a racecourse code: the ten JRA racecourses, a few local ones and
// one overseas one; empty for any other code.
const std::vector<TrackDef>& CourseTracks(std::string_view course);
// The tracks of a racecourse on one surface.
std::vector<TrackDef> TracksOn(std::string_view course, Surface surface);

bool IsJraCourse(std::string_view course);
bool IsEastCourse(std::string_view course);  // racecourses the Miho stables mostly use

// JRA racecourses racing on the weekend that contains the given Saturday or
// Sunday (the weekend belongs to the month of its Saturday).
std::vector<std::string> ActiveCourses(int serial);

// Meeting number ("回") and day number ("日") of a JRA race day.
void MeetingAndDay(int serial, std::string_view course, int& meeting, int& day);

// Racecourse codes of the local racecourses the demo's horses visited.
const std::vector<std::string>& LocalCourses();

}  // namespace furlong::demo
