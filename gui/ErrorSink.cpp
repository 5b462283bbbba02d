#include "gui/ErrorSink.h"

namespace {

// A plain pointer, set before any window exists: the application is made during static initialisation.
TErrorSink Sink = nullptr;

}  // namespace

void SetErrorSink(TErrorSink sink) { Sink = sink; }

void ReportCurrentException() noexcept {
  try {
    if (Sink) Sink();
  } catch (...) {
    // The report failed itself (no memory for its text, a handler that raised): nothing is left to say it
    // with, and Windows cannot unwind it.
  }
}
