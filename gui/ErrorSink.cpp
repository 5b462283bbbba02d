#include "gui/ErrorSink.h"

namespace {

// A plain pointer, set before any window exists: the application is made during static initialisation.
TErrorSink Sink = nullptr;

}  // namespace

void SetErrorSink(TErrorSink sink) { Sink = sink; }

void ReportCurrentException() {
  if (Sink) Sink();
}
