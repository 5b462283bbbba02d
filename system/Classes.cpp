#include "system/Classes.h"

#include <algorithm>
#include <utility>

#include "system/FileUtils.h"
#include "system/SysUtils.h"

void TStringList::CheckIndex(int32_t index) const {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
}

const std::string& TStringList::Get(int32_t index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)];
}

void TStringList::Put(int32_t index, std::string item) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)] = std::move(item);
}

void TStringList::Add(std::string item) { FItems.push_back(std::move(item)); }

void TStringList::Delete(int32_t index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

void TStringList::Exchange(int32_t index1, int32_t index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

void TStringList::SetText(std::string_view text) {
  static constexpr std::string_view kLineEnds("\r\n\0", 3);
  std::vector<std::string> items;
  size_t position = 0;
  while (position < text.size()) {
    const size_t end = std::min(text.find_first_of(kLineEnds, position), text.size());
    items.emplace_back(text.substr(position, end - position));
    position = end;
    if (position < text.size() && text[position] == '\0') {
      ++position;
      continue;
    }
    // CR LF is one line end; an LF followed by a CR is two.
    if (position < text.size() && text[position] == '\r') ++position;
    if (position < text.size() && text[position] == '\n') ++position;
  }
  FItems = std::move(items);
}

std::string TStringList::GetText() const {
  std::string text;
  for (const std::string& item : FItems) {
    text += item;
    text += "\r\n";
  }
  return text;
}

void TStringList::LoadFromFile(const std::string& fileName) { SetText(ReadWholeFile(fileName)); }

void TStringList::SaveToFile(const std::string& fileName) const { WriteFileReplacing(fileName, GetText()); }
