#include "engine/uChangeRules.h"

#include <algorithm>

#include "system/SysUtils.h"

bool CanChangeAt(int32_t position, int32_t lastIndex) { return lastIndex >= 0 && position <= lastIndex; }

int32_t FollowingIndex(int32_t position, int32_t lastIndex) { return lastIndex > position ? position + 1 : 0; }

int32_t ShuffledIndex(int32_t lastIndex) {
  Randomize();
  return Random(lastIndex + 1);
}

int32_t PrecedingIndex(int32_t position, int32_t lastIndex) {
  if (lastIndex < 0 || position < 0) return position;
  return position > 0 ? position - 1 : lastIndex;
}

int32_t FirstIndexWithFile(int32_t position, int32_t lastIndex, const std::function<bool(int32_t index)>& hasFile) {
  if (position < 0) return position;
  const int32_t count = lastIndex + 1;
  for (int32_t step = 0; step < count; ++step) {
    const int32_t index = (position + step) % count;
    if (hasFile(index)) return index;
  }
  return position;
}

uint32_t IntervalOf(int32_t seconds) {
  if (seconds < 0) RaiseRangeError();
  return static_cast<uint32_t>(std::min<int64_t>(int64_t{seconds} * 1000, INT32_MAX));
}
