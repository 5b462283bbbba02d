// Autostart: the value "orlo" under the Run key of the test prefix, put back as it was after each test.
#include <gtest/gtest.h>

#include "gui/Forms.h"
#include "settings/RegistryTestSupport.h"
#include "settings/uOptions.h"

namespace {

using namespace regtest;

class AutostartTest : public testing::Test {
protected:
  void SetUp() override {
    DeleteKey(kRunKey);
  }

  KeyGuard FGuard{kRunKey};
  TOptions FOptions;
};

TEST_F(AutostartTest, AskingCreatesAMissingRunKeyAndIsOff) {
  EXPECT_FALSE(FOptions.GetRunAtStartup());
  EXPECT_TRUE(KeyExists(kRunKey));
  EXPECT_TRUE(ValueNames(kRunKey).empty());
}

TEST_F(AutostartTest, OnTwiceLeavesOneValueWithTheRunningProgram) {
  FOptions.SetRunAtStartup(true);
  FOptions.SetRunAtStartup(true);
  EXPECT_EQ(ValueNames(kRunKey), std::vector<std::string>{"orlo"});
  EXPECT_EQ(GetString(kRunKey, "orlo"), RunningProgramPath());
  EXPECT_TRUE(FOptions.GetRunAtStartup());
}

TEST_F(AutostartTest, OffRemovesOnlyOurValueAndOffAgainChangesNothing) {
  SetString(kRunKey, "Other", "C:\\other.exe");
  FOptions.SetRunAtStartup(true);
  FOptions.SetRunAtStartup(false);
  EXPECT_FALSE(FOptions.GetRunAtStartup());
  FOptions.SetRunAtStartup(false);
  EXPECT_EQ(ValueNames(kRunKey), std::vector<std::string>{"Other"});
  EXPECT_EQ(GetString(kRunKey, "Other"), "C:\\other.exe");
}

TEST_F(AutostartTest, ForeignPathCountsAsOnAndSwitchingOnRewritesIt) {
  SetString(kRunKey, "orlo", "C:\\Old Place\\orlo.exe");
  EXPECT_TRUE(FOptions.GetRunAtStartup());
  FOptions.SetRunAtStartup(true);
  EXPECT_EQ(GetString(kRunKey, "orlo"), RunningProgramPath());
}

TEST_F(AutostartTest, ValueOfAnotherTypeIsReplacedByTheProgramPath) {
  SetDword(kRunKey, "orlo", 1);
  EXPECT_TRUE(FOptions.GetRunAtStartup());
  FOptions.SetRunAtStartup(true);
  EXPECT_EQ(GetString(kRunKey, "orlo"), RunningProgramPath());
}

}  // namespace
