#include "imaging/ReadAheadRows.h"

#include <algorithm>
#include <stdexcept>

namespace imaging {

namespace {

// Batches of rows large enough that the threads seldom wait for each other (each wait costs a call into the
// system, and under Wine a round trip to its server), a few of them ahead: little memory beside the picture.
constexpr int32_t kBatchRows = 32;
constexpr int32_t kBatches = 4;

}  // namespace

ReadAheadRows::ReadAheadRows(std::unique_ptr<RowStream> source)
    : source_(std::move(source)),
      width_(source_->Width()),
      height_(source_->Height()),
      ringRows_(std::min(height_, kBatchRows * kBatches)),
      ring_(static_cast<size_t>(width_) * static_cast<size_t>(ringRows_)),
      thread_([this] { Produce(); }) {}

ReadAheadRows::~ReadAheadRows() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

uint32_t* ReadAheadRows::Batch(int32_t first) {
  return ring_.data() + static_cast<size_t>(first % ringRows_) * static_cast<size_t>(width_);
}

void ReadAheadRows::Produce() {
  for (int32_t first = 0; first < height_; first += kBatchRows) {
    {
      // Once the ring is full, a batch's place held the batch ringRows_ rows above, which the reader must
      // have left.
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || first < ringRows_ || released_ >= first - ringRows_ + kBatchRows; });
      if (stop_) return;
    }
    const int32_t count = std::min(kBatchRows, height_ - first);
    try {
      source_->ReadInto(first, count, Batch(first), width_);
    } catch (...) {
      const std::lock_guard lock(mutex_);
      error_ = std::current_exception();
      changed_.notify_all();
      return;
    }
    {
      const std::lock_guard lock(mutex_);
      produced_ = first + count;
    }
    changed_.notify_all();
  }
}

const uint32_t* ReadAheadRows::Row(int32_t y) {
  if (y < 0 || y >= height_ || y < current_) throw std::out_of_range("Rows are read top to bottom");
  current_ = y;
  std::unique_lock lock(mutex_);
  // The thread waits for whole batches to be left.
  if (released_ / kBatchRows != y / kBatchRows) changed_.notify_all();
  released_ = y;
  changed_.wait(lock, [&] { return produced_ > y || error_; });
  if (produced_ <= y) std::rethrow_exception(error_);
  return Batch(y - y % kBatchRows) + static_cast<size_t>(y % kBatchRows) * static_cast<size_t>(width_);
}

}  // namespace imaging
