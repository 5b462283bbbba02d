// TRegistry on a scratch key of the test prefix.
#include <gtest/gtest.h>

#include <utility>

#include "system/Registry.h"
#include "settings/RegistryTestSupport.h"

namespace {

using namespace regtest;

const std::string kScratchPath = std::string("\\") + kScratchKey;

class RegistryTest : public testing::Test {
protected:
  void SetUp() override {
    DeleteKey(kScratchKey);
    ASSERT_TRUE(FRegistry.OpenKey(kScratchPath, true));
  }

  KeyGuard FGuard{kScratchKey};
  TRegistry FRegistry;
};

TEST_F(RegistryTest, StringsRoundTripAndDeleteReportsWhetherAValueWent) {
  FRegistry.WriteString("Path", "C:\\Program Files\\orlo.exe");
  EXPECT_EQ(FRegistry.ReadString("Path"), "C:\\Program Files\\orlo.exe");
  EXPECT_EQ(GetString(kScratchKey, "Path"), "C:\\Program Files\\orlo.exe");
  FRegistry.WriteString("Empty", "");
  EXPECT_TRUE(FRegistry.ValueExists("Empty"));
  EXPECT_EQ(FRegistry.ReadString("Empty"), "");
  EXPECT_EQ(FRegistry.ReadString("Absent"), "");

  EXPECT_TRUE(FRegistry.DeleteValue("Path"));
  EXPECT_FALSE(FRegistry.ValueExists("Path"));
  EXPECT_FALSE(FRegistry.DeleteValue("Path"));
}

TEST_F(RegistryTest, StringReadChecksTypeAndStaysInsideTheData) {
  SetDword(kScratchKey, "Number", 5);
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadString("Number"); }), "Invalid data type for 'Number'");
  SetValue(kScratchKey, "Unterminated", REG_SZ, {'a', 'b', 'c'});
  EXPECT_EQ(FRegistry.ReadString("Unterminated"), "abc");
  SetValue(kScratchKey, "Expand", REG_EXPAND_SZ, {'%', 'x', '%', 0});
  EXPECT_EQ(FRegistry.ReadString("Expand"), "%x%");
}

TEST_F(RegistryTest, IntegerReadTrustsOnlyAFullDword) {
  SetValue(kScratchKey, "Binary4", REG_BINARY, {1, 0, 0, 0});
  SetValue(kScratchKey, "ShortDword", REG_DWORD, {1, 0});
  SetValue(kScratchKey, "Binary8", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
  SetString(kScratchKey, "Text", "12345");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadInteger("Binary4"); }), "Invalid data type for 'Binary4'");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadInteger("ShortDword"); }), "Invalid data type for 'ShortDword'");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadBool("Binary8"); }), "Failed to get data for 'Binary8'");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadInteger("Text"); }), "Failed to get data for 'Text'");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadInteger("Absent"); }), "Failed to get data for 'Absent'");
}

TEST_F(RegistryTest, WithNoKeyOpenReadsAndWritesFail) {
  FRegistry.WriteInteger("Number", 1);
  FRegistry.CloseKey();
  EXPECT_FALSE(FRegistry.ValueExists("Number"));
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.ReadInteger("Number"); }), "Failed to get data for 'Number'");
  EXPECT_EQ(FRegistry.ReadString("Number"), "");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.WriteBool("Flag", true); }), "Failed to set data for 'Flag'");
  EXPECT_EQ(RegistryErrorOf([&] { FRegistry.WriteString("Text", "x"); }), "Failed to set data for 'Text'");
  EXPECT_FALSE(FRegistry.DeleteValue("Number"));
  EXPECT_EQ(GetDword(kScratchKey, "Number"), 1u);
}

TEST_F(RegistryTest, FailedOpenKeepsTheOpenKeyAndRelativePathsStartThere) {
  FRegistry.WriteInteger("Marker", 7);
  EXPECT_FALSE(FRegistry.OpenKey("\\Software\\OrloTests\\Missing", false));
  EXPECT_EQ(FRegistry.ReadInteger("Marker"), 7);

  ASSERT_TRUE(FRegistry.OpenKey("Child\\Grandchild", true));
  FRegistry.WriteInteger("Deep", 9);
  EXPECT_EQ(GetDword(std::string(kScratchKey) + "\\Child\\Grandchild", "Deep"), 9u);
  EXPECT_FALSE(FRegistry.ValueExists("Marker"));
}

TEST_F(RegistryTest, MovingHandsTheOpenKeyOver) {
  FRegistry.WriteInteger("Marker", 7);
  TRegistry moved(std::move(FRegistry));
  EXPECT_EQ(moved.ReadInteger("Marker"), 7);
  EXPECT_EQ(FRegistry.CurrentKey(), nullptr);
  FRegistry = std::move(moved);
  EXPECT_EQ(FRegistry.ReadInteger("Marker"), 7);
}

}  // namespace
