// The imaging side of the desktop bitmap conversion, built natively: the same decoders, raster, resampler and
// bitmap writer as the program, without the platform classes. Answers bench/compare.py's commands, one run each:
//   job FILE stretch|fit DW DH   read, decode, resample to the screen (or fitted into it), save as ours.bmp
//   decode FILE                  libjpeg-turbo's (or libpng's) decode of the file's bytes alone
//   resample FILE DW DH          the resampling alone, from the picture decoded whole beforehand
//   save DW DH | write DW DH     a DW x DH raster saved as a bitmap file, or the file's bytes written in one call
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "bench/Timing.h"
#include "imaging/BmpWriter.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"
#include "imaging/Png.h"
#include "imaging/ReadAheadRows.h"
#include "imaging/Resample.h"

namespace {

using namespace imaging;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw std::runtime_error("cannot read " + path);
  return bytes;
}

// The bitmap file's bytes, as the program writes them, to the sink.
void WriteBitmap(const Bitmap32& raster, const std::function<void(const char*, size_t)>& sink) {
  WriteBmp32(raster, [&sink](std::span<const uint8_t> bytes) {
    sink(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  });
}

void SaveBmp(const Bitmap32& raster, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  WriteBitmap(raster, [&out](const char* bytes, size_t size) { out.write(bytes, static_cast<std::streamsize>(size)); });
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// As the program converts a JPEG or PNG picture: resampled from its rows as they are decoded on a second
// thread.
void Job(const std::string& path, bool fit, int32_t width, int32_t height) {
  const std::vector<uint8_t> file = ReadFile(path);
  std::unique_ptr<RowStream> decoder;
  if (path.ends_with(".png"))
    decoder = std::make_unique<PngRows>(file);
  else
    decoder = std::make_unique<JpegRows>(file);
  const std::unique_ptr<RowStream> rows = std::make_unique<ReadAheadRows>(std::move(decoder));
  if (fit) bench::FitInto(rows->Width(), rows->Height(), width, height);
  Bitmap32 target;
  target.SetSize(width, height);
  target.FillRectS(target.BoundsRect(), Color32FromColorRef(0x008000));
  StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), *rows, {0, 0, rows->Width(), rows->Height()});
  SaveBmp(target, "ours.bmp");
}


void Command(const std::vector<std::string>& w) {
  const auto number = [&w](size_t i) { return static_cast<int32_t>(std::atoi(w.at(i).c_str())); };
  if (w[0] == "job") {
    std::printf("ms %.2f\n", bench::TimeMs([&] { Job(w.at(1), w.at(2) == "fit", number(3), number(4)); }));
  } else if (w[0] == "decode") {
    const std::vector<uint8_t> file = ReadFile(w.at(1));
    std::printf("ms %.2f\n", bench::TimeMs([&] { bench::DecodeAlone(w[1], file); }));
  } else if (w[0] == "resample") {
    Bitmap32 source, target;
    source.Assign(bench::DecodeWhole(w.at(1), ReadFile(w[1])));
    target.SetSize(number(2), number(3));
    std::printf("ms %.2f\n", bench::TimeMs([&] {
                  StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), source, source.BoundsRect());
                }));
  } else if (w[0] == "save" || w[0] == "write") {
    Bitmap32 raster;
    raster.SetSize(number(1), number(2));
    bench::FillTestRaster(raster);
    std::string bytes;
    WriteBitmap(raster, [&bytes](const char* piece, size_t size) { bytes.append(piece, size); });
    std::printf("ms %.2f\n", bench::TimeMs([&] {
                  if (w[0] == "save")
                    SaveBmp(raster, "save.bmp");
                  else
                    bench::PlainWrite("plain.bmp", bytes);
                }));
  } else {
    throw std::invalid_argument("unknown command " + w[0]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  return bench::GuardedMain("bench", [](int, char**) { return bench::Serve(Command); }, argc, argv);
}
