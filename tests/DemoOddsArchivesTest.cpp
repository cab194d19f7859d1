#include "demo/DemoOddsArchives.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "StoreTestSupport.h"
#include "demo/DemoStore.h"
#include "imports/LzhArchive.h"
#include "imports/PredictedOdds.h"
#include "store/DayLoading.h"
#include "store/Encoding.h"
#include "store/Record.h"

namespace furlong {
namespace {

TEST(DemoOddsArchives, OneArchiveOfEachSourceImportsTheOddsTheStoreAlreadyShows) {
  test::ScratchDir dir;
  WriteDemoStore(dir.path());
  const std::vector<DemoOddsArchive> archives = WriteDemoOddsArchives(dir.path());
  ASSERT_EQ(archives.size(), 3u);
  Store store(dir.path(), false);
  auto before = std::make_unique<DayTables>();
  auto after = std::make_unique<DayTables>();

  const char* members[] = {"kol_ods.kd3", "kol_ods.kd2", nullptr};
  const std::size_t lineLengths[] = {kKolLineLength, kKolLineLength, kJrdbLineLength};
  for (std::size_t k = 0; k < archives.size(); ++k) {
    const DemoOddsArchive& a = archives[k];
    SCOPED_TRACE(a.source);
    EXPECT_EQ(a.path.parent_path(), store.Folder("yLZH"));
    const std::vector<LzhMember> m = ReadLzhArchive(ReadWholeFile(a.path));
    ASSERT_EQ(m.size(), 1u);
    const std::string archiveName = a.path.filename().string();
    EXPECT_EQ(m[0].name, members[k] ? std::string(members[k]) : "Oz" + archiveName.substr(2, 6) + ".txt");
    EXPECT_EQ(m[0].data.size(), static_cast<std::size_t>(a.races) * (lineLengths[k] + 2));

    const std::string meeting = Utf8ToSjis(a.meeting);
    EXPECT_FALSE(std::filesystem::exists(store.OddsFile(meeting)));  // the day file serves it
    LoadMeetingDay(store, meeting, *before);
    OddsImportResult r = ImportPredictedOdds(store, a.path, true);
    EXPECT_EQ(r.filedLines, a.races);
    EXPECT_EQ(r.skippedLines, 0);
    ASSERT_EQ(r.oddsFiles.size(), 1u);
    EXPECT_EQ(r.oddsFiles[0], store.OddsFile(meeting));
    LoadMeetingDay(store, meeting, *after);
    for (int slot = 0; slot < a.races; ++slot) {
      const std::string_view was = before->PredictedOddsRecords[slot].view();
      const std::string_view now = after->PredictedOddsRecords[slot].view();
      EXPECT_EQ(Field(now, 17, 17), k < 2 ? "K" : "J");
      EXPECT_EQ(Field(now, 20, 127), Field(was, 20, 127)) << "win odds of race slot " << slot;
      if (k < 2) EXPECT_EQ(Field(now, 236, 1459), Field(was, 236, 1459)) << "quinella odds of race slot " << slot;
      else EXPECT_EQ(Field(now, 128, 235), Field(was, 128, 235)) << "place odds of race slot " << slot;
    }
  }
}

}  // namespace
}  // namespace furlong
