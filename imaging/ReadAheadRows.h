#pragma once
// A row stream whose source is read on a second thread, a few batches of rows ahead of the reader: the
// resampler works on the rows already decoded while the decoder goes on with the next ones. The rows are the
// source's own, so what is made of them does not change.
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/RowStream.h"

namespace imaging {

class ReadAheadRows final : public RowStream {
public:
  // Starts reading the source at once.
  explicit ReadAheadRows(std::unique_ptr<RowStream> source);
  // Stops the reading (after the batch at hand) and waits for the thread.
  ~ReadAheadRows() override;
  ReadAheadRows(const ReadAheadRows&) = delete;
  ReadAheadRows& operator=(const ReadAheadRows&) = delete;

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  // What the source throws, from the first row of the batch in which it failed on.
  const uint32_t* Row(int32_t y) override;

private:
  void Produce();
  uint32_t* Batch(int32_t first);

  const std::unique_ptr<RowStream> source_;  // read by the thread only, once it runs
  const int32_t width_, height_, ringRows_;
  std::vector<uint32_t> ring_;
  int32_t current_ = 0;  // the reader's row; the rows above it may be overwritten

  std::mutex mutex_;  // guards what follows
  std::condition_variable changed_;
  int32_t released_ = 0;  // current_ as the thread sees it
  int32_t produced_ = 0;  // rows [0, produced_) have been read
  std::exception_ptr error_;
  bool stop_ = false;

  std::thread thread_;  // last: starts when everything else is ready
};

}  // namespace imaging
