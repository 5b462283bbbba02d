#pragma once
// The string list: an unsorted list of 8-bit strings that accepts duplicates, loaded from and saved to
// text files one item per line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStringList {
public:
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Item access raises ERangeError for an index outside 0 .. Count() - 1.
  const std::string& Get(int32_t index) const;
  void Put(int32_t index, std::string item);
  void Add(std::string item);
  void Delete(int32_t index);
  void Exchange(int32_t index1, int32_t index2);
  void Clear() { FItems.clear(); }

  // Splits text into items: a line ends at CR LF, a lone CR, a lone LF or a NUL, and a line end at the very
  // end adds no empty item. A NUL ends only its line: what a damaged file holds after it is still read.
  void SetText(std::string_view text);
  // Every item followed by CR LF.
  std::string GetText() const;

  // The items are replaced only once the whole file has been read; a failure raises and changes nothing.
  void LoadFromFile(const std::string& fileName);
  // Writes the file in one piece; the old file stays whole when writing fails.
  void SaveToFile(const std::string& fileName) const;

private:
  void CheckIndex(int32_t index) const;

  std::vector<std::string> FItems;
};
