// The sample picture on the first run: it replaces any list file once, and never comes back.
#include <windows.h>

#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "TempFolder.h"
#include "engine/uWallPaper.h"

namespace {

const char kOptionsKey[] = "Software\\Quorlen Software\\Muralia\\Options";
const char kBackupKey[] = "Software\\OrloTestsBackup\\FirstRunOptions";

// Runs the test without an options key and puts back the key that was there.
class FreshOptionsKey {
public:
  FreshOptionsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    FHadKey = CopyKey(kOptionsKey, kBackupKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kOptionsKey);
  }
  ~FreshOptionsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kOptionsKey);
    if (FHadKey) CopyKey(kBackupKey, kOptionsKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
  }
  FreshOptionsKey(const FreshOptionsKey&) = delete;
  FreshOptionsKey& operator=(const FreshOptionsKey&) = delete;

  static DWORD FirstRun() {
    DWORD value = 99;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kOptionsKey, "FirstRun", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
  }

private:
  static bool CopyKey(const char* from, const char* to) {
    HKEY source = nullptr;
    HKEY target = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
    RegCopyTreeA(source, nullptr, target);
    RegCloseKey(target);
    RegCloseKey(source);
    return true;
  }

  bool FHadKey = false;
};

class FirstRunTest : public ::testing::Test {
protected:
  std::string Sample() const { return Folder.Path() + "collection\\orang-outang.jpg"; }
  void WriteSample() const {
    CreateDirectoryA((Folder.Path() + "collection").c_str(), nullptr);
    Folder.Write("collection\\orang-outang.jpg", "picture");
  }

  FreshOptionsKey Options;
  TempFolder Folder;
  ProgramFolder Program{Folder.Path()};
};

TEST_F(FirstRunTest, ReplacesTheListFileOnceAndIsNotRepeated) {
  WriteSample();
  const std::string a = Folder.Write("a.jpg", "picture");
  const std::string b = Folder.Write("b.jpg", "picture");
  Folder.Write("wallp.sl", a + "\r\n" + b + "\r\n");
  {
    TWallpaperList list;
    list.AddDefaultOnFirstRun();
    EXPECT_EQ(Folder.Read("wallp.sl"), Sample() + "\r\n");
    EXPECT_EQ(FreshOptionsKey::FirstRun(), 0u);
    list.LoadFromFile();
    ASSERT_EQ(list.LastIndex(), 0);
    EXPECT_EQ(list.GetFileName(0), Sample());
    list.Add(a);
  }
  TWallpaperList list;
  list.AddDefaultOnFirstRun();
  list.LoadFromFile();
  ASSERT_EQ(list.LastIndex(), 1);
  EXPECT_EQ(list.GetFileName(1), a);
}

TEST_F(FirstRunTest, MissingSampleStaysAnEntryWithoutAFile) {
  TWallpaperList list;
  list.AddDefaultOnFirstRun();
  EXPECT_EQ(Folder.Read("wallp.sl"), Sample() + "\r\n");
  list.LoadFromFile();
  EXPECT_EQ(list.LastIndex(), 0);
}

TEST_F(FirstRunTest, EndsEvenWhenTheListFileCannotBeWritten) {
  ProgramFolder unwritable(Folder.Path() + "missing\\");
  TWallpaperList list;
  list.AddDefaultOnFirstRun();
  EXPECT_EQ(FreshOptionsKey::FirstRun(), 0u);
  EXPECT_EQ(list.LastIndex(), 0);
  EXPECT_TRUE(Folder.Names().empty());
}

}  // namespace
