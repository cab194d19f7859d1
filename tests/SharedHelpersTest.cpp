#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "store/ParallelFor.h"
#include "store/TextLines.h"

using namespace furlong;

TEST(TextLines, SplitsAtEveryLineEndAndJoinsWithCrLf) {
  const std::vector<std::string> want{"a", "b", "", "c", "d"};
  EXPECT_EQ(SplitLines("a\r\nb\r\rc\nd"), want);
  EXPECT_EQ(SplitLines("a\r\nb\r\rc\nd\r\n"), want) << "a final line break starts no line";
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\n").size(), 1u);
  EXPECT_EQ(JoinLinesCrLf(want), "a\r\nb\r\n\r\nc\r\nd\r\n");
  EXPECT_EQ(SplitLines(JoinLinesCrLf(want)), want);
}

TEST(TextLines, LetterCaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Kol_Ods.KD2", "kol_ods.kd2"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("kol_ods.kd2", "kol_ods.kd3"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")) << "only letters fold";
  // "ア" (83 41) and "ャ" (83 61): their second bytes are 'A' and 'a'.
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\x83\x41.txt", "\x83\x61.txt"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("\x83\x41.TXT", "\x83\x41.txt"));
  EXPECT_TRUE(EndsWithIgnoringAsciiCase("x.JVRA", ".jvRA"));
  EXPECT_FALSE(EndsWithIgnoringAsciiCase("RA", ".jvRA"));
}

TEST(ParallelFor, EveryIndexOnceAndTheCallingThreadIsWorkerZero) {
  std::vector<std::atomic<int>> seen(1000);
  const auto caller = std::this_thread::get_id();
  std::atomic<bool> workerZeroElsewhere{false};
  ParallelFor(seen.size(), 3, [&](std::size_t i, unsigned worker) {
    seen[i].fetch_add(1);
    if (worker == 0 && std::this_thread::get_id() != caller) workerZeroElsewhere = true;
  });
  for (auto& s : seen) EXPECT_EQ(s.load(), 1);
  EXPECT_FALSE(workerZeroElsewhere);
  ParallelFor(0, 4, [](std::size_t, unsigned) { FAIL() << "no index in an empty range"; });
}

TEST(ParallelFor, StopsHandingOutAfterAFailureAndRethrowsTheLowestIndex) {
  std::atomic<std::size_t> calls{0};
  try {
    ParallelFor(10000, 2, [&](std::size_t i, unsigned) {
      calls.fetch_add(1);
      if (i == 40 || i == 41) throw std::runtime_error(std::to_string(i));
    });
    FAIL() << "the failure was swallowed";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "40");
  }
  EXPECT_LT(calls.load(), 100u) << "indices kept being handed out after the failure";
}
