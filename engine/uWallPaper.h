#pragma once
// The wallpaper engine: the collection of picture files with its list file "wallp.sl".
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"

// What is learnt about one entry's file, cached at the entry's index. Zero and empty mean not yet known.
struct TFileProperties {
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t BitsPerPixel = 0;
  std::string SizeText;
  std::string TypeText;
};

// The collection. An entry keeps its index until the list file is read again: removing an entry blanks its
// path, and only reading the list file back compacts the list. The list control's rows carry these indexes.
class TWallpaperList {
public:
  TWallpaperList() = default;
  // Saves the list file first.
  virtual ~TWallpaperList();
  TWallpaperList(const TWallpaperList&) = delete;
  TWallpaperList& operator=(const TWallpaperList&) = delete;

  // Appends a path; the empty path is ignored.
  void Add(const std::string& path);
  // Blanks a valid entry and disposes its record; other indexes stay as they are.
  void Delete(int32_t index);
  void Clear();
  bool CanMoveUp(int32_t index) const;
  bool CanMoveDown(int32_t index) const;
  // A move exchanges two neighbouring entries, with their records.
  void MoveUp(int32_t index);
  void MoveDown(int32_t index);

  // Reads the list file and drops the entries whose files are gone; any failure keeps the entries as they were.
  void LoadFromFile();
  // Writes the list file; failures are swallowed.
  void SaveToFile();
  // Blanks every entry whose file is missing or empty.
  void RemoveInvalid();
  // On the first run the list file gets the sample picture as its only entry.
  void AddDefaultOnFirstRun();

  // The entry's path, or empty when the index is invalid or the file is gone.
  std::string GetFileName(int32_t index) const;
  std::string GetTitle(int32_t index) const;
  std::string GetFolder(int32_t index) const;
  // The file's last-write time in the user's locale: short date, then long time.
  std::string GetDateText(int32_t index) const;
  bool IsValidItem(int32_t index) const;
  bool IsValidIndex(int32_t index) const { return index >= 0 && index < FFiles.Count(); }
  int32_t LastIndex() const { return FFiles.Count() - 1; }
  bool HasItems() const { return FFiles.Count() > 0; }
  bool IsEmpty() const { return FFiles.Count() == 0; }

  static bool IsNonEmptyFile(const std::string& path);
  // The program folder, with its trailing backslash.
  static std::string GetAppDir();

  // The entry's cached record, or nullptr when it has none yet.
  TFileProperties* GetProperties(int32_t index) const;
  // Makes a zero-filled record for an entry that has none.
  TFileProperties* NewProperties(int32_t index);

private:
  static std::string ListFileName();
  void DisposeProperties(int32_t index);
  // Exchanges two entries with their records.
  void Exchange(int32_t lower, int32_t upper);

  TStringList FFiles;
  // Position i holds the record of entry i, or none; positions past the end hold none.
  std::vector<std::unique_ptr<TFileProperties>> FProperties;
};
