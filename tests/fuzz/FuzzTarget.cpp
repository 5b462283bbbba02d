// libFuzzer entry point for one format, chosen when the target is built (ORLO_FUZZ_FORMAT).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::Decoder decode = fuzz::FindDecoder(ORLO_FUZZ_FORMAT);
  decode({data, size});
  return 0;
}
