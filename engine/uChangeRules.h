#pragma once
// Which entry each wallpaper change applies, and how often the timer runs the changes: arithmetic on the change
// position and the collection's last index (-1 when it is empty), kept apart from the window that holds the
// position so that the rules are checked without a window, a registry or a desktop bitmap.
#include <cstdint>
#include <functional>

// Whether a change runs at the position: the collection has entries and the position is not past the last. A
// negative position runs and applies nothing, so that list order brings it to the first entry.
bool CanChangeAt(int32_t position, int32_t lastIndex);
// The entry after the position in list order: 0 after the last entry, past it and in an empty collection.
int32_t FollowingIndex(int32_t position, int32_t lastIndex);
// A draw from 0 to the last index, both included, with the generator seeded afresh from the clock; it may give
// the entry just applied.
int32_t ShuffledIndex(int32_t lastIndex);
// The position one back, the last entry before the first; an empty collection or a negative position leaves it.
int32_t PrecedingIndex(int32_t position, int32_t lastIndex);
// The first entry from the position on that has a file, at most once around the list. A negative position names
// no entry and stays, for list order to move on; so does any position when no entry has a file.
int32_t FirstIndexWithFile(int32_t position, int32_t lastIndex, const std::function<bool(int32_t index)>& hasFile);
// The timer's interval for a period in seconds. A period too long for a 32-bit interval runs at the longest
// interval there is; a negative one is a range error.
uint32_t IntervalOf(int32_t seconds);
