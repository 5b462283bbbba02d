// Which entry each change applies, the position stored at exit and the timer's interval.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/uChangeRules.h"
#include "system/SysUtils.h"

namespace {

// What a change at the position applies when every entry has a file: the entry, or -1 for none.
int32_t Applied(int32_t position, int32_t lastIndex) {
  if (!CanChangeAt(position, lastIndex)) return -1;
  const int32_t index = FirstIndexWithFile(position, lastIndex, [](int32_t) { return true; });
  return index >= 0 ? index : -1;
}

TEST(ChangeRules, AnEmptyCollectionNeverChangesAndStoresZero) {
  EXPECT_FALSE(CanChangeAt(3, -1));
  EXPECT_EQ(3, PrecedingIndex(3, -1));
  EXPECT_EQ(0, FollowingIndex(3, -1));
}

// A display change steps the position back before its change, from the first entry to the last, and from past
// the end towards it.
TEST(ChangeRules, APositionPastTheEndWaitsUntilDisplayChangesStepItBack) {
  EXPECT_EQ(0, PrecedingIndex(1, 2));
  EXPECT_EQ(2, PrecedingIndex(0, 2));
  int32_t position = 4;
  for (const int32_t back : {3, 2, 1}) {
    EXPECT_EQ(-1, Applied(position, 1));
    position = PrecedingIndex(position, 1);
    EXPECT_EQ(back, position);
  }
  EXPECT_EQ(1, Applied(position, 1));
  EXPECT_EQ(0, FollowingIndex(position, 1));
}

TEST(ChangeRules, ANegativePositionAppliesNothingUntilItReachesTheList) {
  EXPECT_TRUE(CanChangeAt(-2, 2));
  EXPECT_EQ(-1, Applied(-2, 2));
  EXPECT_EQ(-1, FollowingIndex(-2, 2));
  EXPECT_EQ(-1, Applied(-1, 2));
  EXPECT_EQ(0, FollowingIndex(-1, 2));
  EXPECT_EQ(-1, PrecedingIndex(-1, 2));
}

// Each change moves on one in list order; the stored position is one further still.
TEST(ChangeRules, ListOrderWrapsAndTheStoredPositionIsOneFurther) {
  EXPECT_EQ(3, FollowingIndex(2, 4));
  EXPECT_EQ(4, FollowingIndex(3, 4));
  int32_t position = 4;
  for (const int32_t next : {0, 1, 2, 3, 4}) EXPECT_EQ(next, position = FollowingIndex(position, 4));
  EXPECT_EQ(0, FollowingIndex(position, 4));
}

TEST(ChangeRules, OneEntryIsAppliedEveryTimeInBothOrders) {
  EXPECT_EQ(0, FollowingIndex(0, 0));
  EXPECT_EQ(0, ShuffledIndex(0));
}

TEST(ChangeRules, ShuffleDrawsEveryEntryOfTwo) {
  bool seen[2] = {false, false};
  for (int change = 0; change < 60 && !(seen[0] && seen[1]); ++change) {
    const int32_t drawn = ShuffledIndex(1);
    ASSERT_TRUE(drawn == 0 || drawn == 1) << drawn;
    seen[drawn] = true;
    Sleep(3);  // the generator is seeded from the clock's milliseconds at every draw
  }
  EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(ChangeRules, AChangeSkipsEntriesWithoutAFileOnceAroundTheList) {
  bool hasFile[4] = {true, false, false, true};
  int32_t calls = 0;
  const auto firstWithFile = [&](int32_t position) {
    return FirstIndexWithFile(position, 3, [&](int32_t index) { return ++calls, hasFile[index]; });
  };
  EXPECT_EQ(0, firstWithFile(0));
  EXPECT_EQ(3, firstWithFile(1));
  hasFile[0] = hasFile[3] = false;
  calls = 0;
  EXPECT_EQ(0, firstWithFile(0));  // nothing left to apply: the position stays after one round
  EXPECT_EQ(4, calls);
}

TEST(ChangeRules, TheIntervalIsThePeriodInMillisecondsAtMostTheLongestThereIs) {
  EXPECT_EQ(0u, IntervalOf(0));
  EXPECT_EQ(1000u, IntervalOf(1));
  EXPECT_EQ(2147483000u, IntervalOf(2147483));
  EXPECT_EQ(2147483647u, IntervalOf(2147484));
  EXPECT_EQ(2147483647u, IntervalOf(3000000));
  EXPECT_THROW(IntervalOf(-5), ERangeError);
}

}  // namespace
