#pragma once
// The decoders that the fuzz targets and the seed runner drive, by format name ("sgi", "bmp", ...).
#include <string>
#include <vector>

#include "imaging/FileFormat.h"

namespace fuzz {

// Runs the format's content test and decoder over data. A DecodeError is the expected failure; any other
// exception, or a decoded picture that breaks its own invariants, aborts so that the fuzzer reports it.
using Decoder = void (*)(imaging::Bytes data);

// The decoder of a format name; aborts on a name that is not one of FormatNames().
Decoder FindDecoder(const std::string& name);

// The formats of the loader (the class name without "T" and "Graphic", in lower case), then "bmp" and "jpeg",
// then "streamed": the conversion's PNG and JPEG rows read ahead into the resampler.
std::vector<std::string> FormatNames();

}  // namespace fuzz
