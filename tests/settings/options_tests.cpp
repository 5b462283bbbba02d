// TOptions against the real registry of the test prefix; each test starts without the options key.
#include <gtest/gtest.h>

#include <functional>

#include "settings/RegistryTestSupport.h"
#include "settings/uOptions.h"

namespace {

using namespace regtest;

class OptionsTest : public testing::Test {
protected:
  void SetUp() override { DeleteKey(kOptionsKey); }

  KeyGuard FGuard{kOptionsKey};
  TOptions FOptions;
};

struct OptionCase {
  const char* name;
  int32_t defaultValue;
  int32_t otherValue;
  std::function<int32_t(TOptions&)> get;
  std::function<void(TOptions&, int32_t)> set;
};

OptionCase Integer(const char* name, int32_t defaultValue, int32_t (TOptions::*get)(),
                   void (TOptions::*set)(int32_t)) {
  return {name, defaultValue, 12345, [get](TOptions& o) { return (o.*get)(); },
          [set](TOptions& o, int32_t v) { (o.*set)(v); }};
}

OptionCase Boolean(const char* name, bool defaultValue, bool (TOptions::*get)(), void (TOptions::*set)(bool)) {
  return {name, defaultValue, !defaultValue, [get](TOptions& o) { return int32_t((o.*get)()); },
          [set](TOptions& o, int32_t v) { (o.*set)(v != 0); }};
}

std::vector<OptionCase> AllOptions() {
  return {
      Integer("ChangeFrequency", 600, &TOptions::GetChangeFrequency, &TOptions::SetChangeFrequency),
      Boolean("ChangeOnTimer", true, &TOptions::GetChangeOnTimer, &TOptions::SetChangeOnTimer),
      Boolean("ChangeWallpaperOnStartup", true, &TOptions::GetChangeWallpaperOnStartup,
              &TOptions::SetChangeWallpaperOnStartup),
      Integer("ClickAction", 0, &TOptions::GetClickAction, &TOptions::SetClickAction),
      Boolean("FirstRun", true, &TOptions::GetFirstRun, &TOptions::SetFirstRun),
      Integer("LastActiveWallpaperIndex", 0, &TOptions::GetLastActiveWallpaperIndex,
              &TOptions::SetLastActiveWallpaperIndex),
      Boolean("MinimizeControlPanelOnClickX", true, &TOptions::GetMinimizeControlPanelOnClickX,
              &TOptions::SetMinimizeControlPanelOnClickX),
      Boolean("MinimizeToSystemTray", true, &TOptions::GetMinimizeToSystemTray,
              &TOptions::SetMinimizeToSystemTray),
      Boolean("ShuffleWallpaper", false, &TOptions::GetShuffleWallpaper, &TOptions::SetShuffleWallpaper),
      Integer("WallpaperStyle", 3, &TOptions::GetWallpaperStyle, &TOptions::SetWallpaperStyle),
  };
}

TEST_F(OptionsTest, FirstReadStoresTheDefaultOfThatOptionOnly) {
  for (const auto& option : AllOptions()) {
    SCOPED_TRACE(option.name);
    DeleteKey(kOptionsKey);
    EXPECT_EQ(option.get(FOptions), option.defaultValue);
    EXPECT_EQ(ValueNames(kOptionsKey), std::vector<std::string>{option.name});
    EXPECT_EQ(GetDword(kOptionsKey, option.name), uint32_t(option.defaultValue));
    EXPECT_EQ(option.get(FOptions), option.defaultValue);
  }
}

TEST_F(OptionsTest, EachSetterStoresUnderTheNameItsGetterReads) {
  for (const auto& option : AllOptions()) {
    SCOPED_TRACE(option.name);
    option.set(FOptions, option.otherValue);
    EXPECT_EQ(GetDword(kOptionsKey, option.name), uint32_t(option.otherValue));
    EXPECT_EQ(option.get(FOptions), option.otherValue);
  }
}

TEST_F(OptionsTest, BreakColorIsAbsentUntilSet) {
  for (const auto& option : AllOptions()) option.get(FOptions);
  EXPECT_FALSE(GetValue(kOptionsKey, "BreakColor"));
  FOptions.SetBreakColor(0x00C08040);
  EXPECT_EQ(GetDword(kOptionsKey, "BreakColor"), 0x00C08040u);
}

TEST_F(OptionsTest, BooleansAreOneOrZeroAndAnyNonZeroReadsTrue) {
  SetDword(kOptionsKey, "ShuffleWallpaper", 2);
  EXPECT_TRUE(FOptions.GetShuffleWallpaper());
  EXPECT_EQ(GetDword(kOptionsKey, "ShuffleWallpaper"), 2u);
  FOptions.SetShuffleWallpaper(true);
  EXPECT_EQ(GetDword(kOptionsKey, "ShuffleWallpaper"), 1u);
  FOptions.SetShuffleWallpaper(false);
  EXPECT_EQ(GetDword(kOptionsKey, "ShuffleWallpaper"), 0u);
  EXPECT_FALSE(FOptions.GetShuffleWallpaper());
}

TEST_F(OptionsTest, IntegersKeepTheir32BitPatternAndNoRange) {
  SetDword(kOptionsKey, "ChangeFrequency", 0xFFFFFFFF);
  EXPECT_EQ(FOptions.GetChangeFrequency(), -1);
  FOptions.SetChangeFrequency(-600);
  EXPECT_EQ(GetDword(kOptionsKey, "ChangeFrequency"), uint32_t(-600));
  SetDword(kOptionsKey, "WallpaperStyle", 7);
  EXPECT_EQ(FOptions.GetWallpaperStyle(), 7);
  SetDword(kOptionsKey, "ClickAction", 0xFFFFFFFF);
  EXPECT_EQ(FOptions.GetClickAction(), -1);
}

TEST_F(OptionsTest, StringOfTheOptionsNameFailsTheReadAndStaysStored) {
  SetString(kOptionsKey, "ChangeFrequency", "600 s");
  EXPECT_EQ(RegistryErrorOf([&] { FOptions.GetChangeFrequency(); }), "Failed to get data for 'ChangeFrequency'");
  EXPECT_EQ(GetString(kOptionsKey, "ChangeFrequency"), "600 s");

  SetString(kOptionsKey, "FirstRun", "yes");
  EXPECT_EQ(RegistryErrorOf([&] { FOptions.GetFirstRun(); }), "Invalid data type for 'FirstRun'");
  EXPECT_EQ(GetString(kOptionsKey, "FirstRun"), "yes");

  // The key left open by the failure does not get in the way, and a write replaces the string.
  FOptions.SetFirstRun(false);
  EXPECT_EQ(GetDword(kOptionsKey, "FirstRun"), 0u);
  EXPECT_FALSE(FOptions.GetFirstRun());
}

TEST_F(OptionsTest, DeletedValueComesBackWithItsDefault) {
  FOptions.SetWallpaperStyle(wpsTile);
  EXPECT_EQ(FOptions.GetWallpaperStyle(), wpsTile);
  DeleteValue(kOptionsKey, "WallpaperStyle");
  EXPECT_EQ(FOptions.GetWallpaperStyle(), wpsFitDesktop);
  EXPECT_EQ(GetDword(kOptionsKey, "WallpaperStyle"), uint32_t(wpsFitDesktop));
}

TEST_F(OptionsTest, InstancesShareWhatIsStored) {
  TOptions other;
  EXPECT_EQ(other.GetLastActiveWallpaperIndex(), 0);
  FOptions.SetLastActiveWallpaperIndex(41);
  EXPECT_EQ(other.GetLastActiveWallpaperIndex(), 41);
}

TEST_F(OptionsTest, KeyRefusingFullAccessFailsReadsAsAWrite) {
  {
    LockedKey locked(kOptionsKey);
    EXPECT_EQ(RegistryErrorOf([&] { FOptions.GetFirstRun(); }), "Failed to set data for 'FirstRun'");
    EXPECT_EQ(RegistryErrorOf([&] { FOptions.SetFirstRun(false); }), "Failed to set data for 'FirstRun'");
  }
  EXPECT_TRUE(FOptions.GetFirstRun());
}

}  // namespace
