// JPEG pictures through libjpeg(-turbo). A JPEG file is a chain of markers: the frame header gives the size
// and components, then one scan (baseline) or many (progressive) of entropy-coded data. A hostile file can
// claim a huge frame, end early, or hold thousands of tiny progressive scans that each cost a pass over
// the whole picture. libjpeg reports errors through error_exit, which longjmps back to the function that
// set the jump and becomes a DecodeError here; those functions hold plain data only, since a longjmp skips
// destructors. libjpeg only warns when data runs out and fills the rest with grey: that is an error here,
// except for a single-scan file that lacks no more than its final EOI marker (see OnMessage).
#include "imaging/Jpeg.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <stdexcept>
#include <vector>

namespace imaging {

namespace {

static_assert(std::endian::native == std::endian::little, "pixels are written as B, G, R, A bytes");
static_assert(sizeof(unsigned long) >= sizeof(size_t), "jpeg_mem_src takes any file size");

constexpr int kMaxScans = 500;
// Room for the coefficients of the largest progressive CMYK picture that we accept.
constexpr long kMaxDecoderMemory = static_cast<long>(kMaxPixels * 8);

// Rows asked of libjpeg per call: at least one whole row of MCUs, so that it writes straight into them.
constexpr int kRowsPerRead = 16;

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to the whole
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool endOfFileHarmless;
};

// Everything libjpeg and its callbacks touch, in plain data.
struct JpegDecoder {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
  JSAMPARRAY cmykRows;  // kRowsPerRead rows that a CMYK picture is read into before conversion
};

JpegErrors* ErrorsOf(j_common_ptr info) { return reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void OnErrorExit(j_common_ptr info) {
  (*info->err->format_message)(info, ErrorsOf(info)->message);
  std::longjmp(ErrorsOf(info)->jump, 1);
}

// libjpeg warns of the end of the file when its source runs dry and reads on as if an EOI marker came there.
// While the rows of a single-scan file are read, that end may only cut off the final EOI marker, as some
// programs write their files: scan data that is still missing makes libjpeg warn that it hit a marker, an
// error here. It often looks ahead past the last byte of scan data while it decodes the last rows, so the
// end of file cannot be required to come after them. In a file of several scans, all read before the first
// row, the end can come between scans, where nothing tells a lost scan from a lost EOI marker.
void OnMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  const int code = info->err->msg_code;
  if (code == JWRN_HIT_MARKER || (code == JWRN_JPEG_EOF && !ErrorsOf(info)->endOfFileHarmless)) OnErrorExit(info);
}

void OnProgress(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxScans) return;
  std::snprintf(ErrorsOf(info)->message, sizeof ErrorsOf(info)->message, "more than %d scans", kMaxScans);
  std::longjmp(ErrorsOf(info)->jump, 1);
}

struct JpegHeader {
  uint32_t width;  // of the output: the picture's divided by the scale, rounded up
  uint32_t height;
  bool grey;
  bool cmyk;
  bool invertedCmyk;
  int bytesPerPixel;
  unsigned scale;  // 1, 2, 4 or 8: libjpeg drops the finer frequencies, far cheaper than decoding whole
};

// Reads the markers up to the first scan and chooses the output: B, G, R (, A) bytes, or CMYK to convert.
bool ReadHeader(JpegDecoder* decoder, const uint8_t* data, unsigned long size, JpegHeader* header) {
  j_decompress_ptr info = &decoder->info;
  if (setjmp(decoder->errors.jump)) return false;
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = kMaxDecoderMemory;
  info->progress = &decoder->progress;
  jpeg_mem_src(info, data, size);
  jpeg_read_header(info, TRUE);
  info->scale_num = 1;
  info->scale_denom = header->scale;
  jpeg_calc_output_dimensions(info);
  header->width = info->output_width;
  header->height = info->output_height;
  header->grey = info->num_components == 1;
  header->cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  header->invertedCmyk = info->saw_Adobe_marker;
  info->out_color_space = header->cmyk ? JCS_CMYK : header->bytesPerPixel == 4 ? JCS_EXT_BGRA : JCS_EXT_BGR;
  return true;
}

// Adobe's files store CMYK inverted (0 is full ink); plain CMYK has 0 as no ink.
void CmykToBgr(const uint8_t* in, uint8_t* out, uint32_t width, int bytesPerPixel, bool inverted) {
  for (uint32_t x = 0; x < width; ++x, in += 4, out += bytesPerPixel) {
    const uint32_t k = inverted ? in[3] : 255 - in[3];
    for (int i = 0; i < 3; ++i) {
      const uint32_t ink = inverted ? in[2 - i] : 255 - in[2 - i];
      out[i] = static_cast<uint8_t>((ink * k + 127) / 255);
    }
    if (bytesPerPixel == 4) out[3] = 255;
  }
}

bool StartPixels(JpegDecoder* decoder, const JpegHeader* header) {
  j_decompress_ptr info = &decoder->info;
  if (setjmp(decoder->errors.jump)) return false;
  decoder->errors.endOfFileHarmless = !jpeg_has_multiple_scans(info);
  jpeg_start_decompress(info);
  if (info->output_width != header->width || info->output_height != header->height)
    ERREXIT1(info, JERR_IMAGE_TOO_BIG, info->output_width);
  if (header->cmyk)
    decoder->cmykRows = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                   header->width * 4, kRowsPerRead);
  return true;
}

// The next count rows (at most kRowsPerRead) into targets.
bool ReadRows(JpegDecoder* decoder, const JpegHeader* header, JSAMPROW* targets, JDIMENSION count) {
  j_decompress_ptr info = &decoder->info;
  if (setjmp(decoder->errors.jump)) return false;
  for (JDIMENSION done = 0; done < count;) {
    const JDIMENSION read = jpeg_read_scanlines(info, decoder->cmykRows ? decoder->cmykRows : targets + done,
                                                count - done);
    if (read == 0) ERREXIT(info, JERR_INPUT_EOF);
    for (JDIMENSION i = 0; decoder->cmykRows && i < read; ++i)
      CmykToBgr(decoder->cmykRows[i], targets[done + i], header->width, header->bytesPerPixel,
                header->invertedCmyk);
    done += read;
  }
  return true;
}

bool FinishPixels(JpegDecoder* decoder) {
  if (setjmp(decoder->errors.jump)) return false;
  jpeg_finish_decompress(&decoder->info);
  return true;
}

// Owns libjpeg's decompressor for one decode; libjpeg keeps pointers into it, so it never moves.
class JpegReader {
public:
  JpegReader() {
    decoder_.info.err = jpeg_std_error(&decoder_.errors.manager);
    decoder_.errors.manager.error_exit = OnErrorExit;
    decoder_.errors.manager.emit_message = OnMessage;
    decoder_.progress.progress_monitor = OnProgress;
  }
  ~JpegReader() { jpeg_destroy_decompress(&decoder_.info); }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // The header, within CheckDimensions.
  void ReadHeader(Bytes file, JpegHeader* header) {
    Run([&] { return imaging::ReadHeader(&decoder_, file.data(), static_cast<unsigned long>(file.size()), header); });
    CheckDimensions(header->width, header->height);
  }
  void Start(const JpegHeader* header) {
    Run([&] { return StartPixels(&decoder_, header); });
  }
  void Read(const JpegHeader* header, JSAMPROW* targets, JDIMENSION count) {
    Run([&] { return ReadRows(&decoder_, header, targets, count); });
  }
  void Finish() {
    Run([&] { return FinishPixels(&decoder_); });
  }

private:
  // Once libjpeg has failed, its decompressor is good for nothing but destruction: every later step fails
  // with the same message.
  template <class Step>
  void Run(Step step) {
    if (failed_ || !step()) {
      failed_ = true;
      throw DecodeError(std::string("Cannot read the JPEG picture: ") + decoder_.errors.message);
    }
  }

  JpegDecoder decoder_{};
  bool failed_ = false;
};

}  // namespace

void DecodeJpeg(Bytes file, int bytesPerPixel, const std::function<PixelRows(const JpegFrame&)>& allocate,
                unsigned scale) {
  if (bytesPerPixel != 3 && bytesPerPixel != 4) throw std::invalid_argument("JPEG pixels have 3 or 4 bytes");
  if (scale != 1 && scale != 2 && scale != 4 && scale != 8) throw std::invalid_argument("JPEG scales are 1, 2, 4, 8");
  JpegReader reader;
  JpegHeader header{};
  header.bytesPerPixel = bytesPerPixel;
  header.scale = scale;
  reader.ReadHeader(file, &header);
  const PixelRows rows = allocate({header.width, header.height, header.grey ? 8u : 24u});
  reader.Start(&header);
  JSAMPROW targets[kRowsPerRead];
  for (JDIMENSION first = 0; first < header.height; first += kRowsPerRead) {
    const JDIMENSION count = std::min<JDIMENSION>(kRowsPerRead, header.height - first);
    for (JDIMENSION i = 0; i < count; ++i) targets[i] = rows.Row(first + i);
    reader.Read(&header, targets, count);
  }
  reader.Finish();
}

struct JpegRows::State {
  JpegReader reader;
  JpegHeader header{};
  std::vector<uint32_t> pixels;  // kRowsPerRead rows, from row first on
  JDIMENSION first = 0;
  JDIMENSION count = 0;
};

JpegRows::JpegRows(Bytes file) : state_(std::make_unique<State>()) {
  state_->header.bytesPerPixel = 4;
  state_->header.scale = 1;
  state_->reader.ReadHeader(file, &state_->header);
}

JpegRows::~JpegRows() = default;

int32_t JpegRows::Width() const { return static_cast<int32_t>(state_->header.width); }
int32_t JpegRows::Height() const { return static_cast<int32_t>(state_->header.height); }

// Starts the decompressor at the first row read, so that a stream made only for its size decodes nothing.
void JpegRows::Start() {
  State& s = *state_;
  if (!s.pixels.empty()) return;
  std::vector<uint32_t> pixels(size_t{s.header.width} * kRowsPerRead);
  s.reader.Start(&s.header);
  s.pixels = std::move(pixels);
}

// The next batch of count rows, into targets; the last one also finishes the file. The rows in hand change
// only once a batch has been read whole: after a failure every later call goes back to the reader, which
// fails again.
void JpegRows::ReadBatch(JSAMPROW* targets, uint32_t count) {
  State& s = *state_;
  const JDIMENSION next = s.first + s.count;
  s.reader.Read(&s.header, targets, count);
  if (next + count == s.header.height) s.reader.Finish();
  s.first = next;
  s.count = count;
}

const uint32_t* JpegRows::Row(int32_t y) {
  State& s = *state_;
  const auto row = static_cast<JDIMENSION>(y);
  if (y < 0 || row >= s.header.height || row < s.first) throw std::out_of_range("JPEG rows are read top to bottom");
  Start();
  while (row >= s.first + s.count) {
    const JDIMENSION count = std::min<JDIMENSION>(kRowsPerRead, s.header.height - (s.first + s.count));
    JSAMPROW targets[kRowsPerRead];
    for (JDIMENSION i = 0; i < count; ++i)
      targets[i] = reinterpret_cast<JSAMPROW>(&s.pixels[size_t{i} * s.header.width]);
    ReadBatch(targets, count);
  }
  return &s.pixels[size_t{row - s.first} * s.header.width];
}

// Rows that start where the decoder stands are decoded straight into the caller's rows, a batch at a time.
void JpegRows::ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) {
  State& s = *state_;
  if (first < 0 || count < 0 || static_cast<JDIMENSION>(first) != s.first + s.count ||
      static_cast<JDIMENSION>(first) + static_cast<JDIMENSION>(count) > s.header.height)
    return RowStream::ReadInto(first, count, rows, stride);
  Start();
  for (int32_t done = 0; done < count;) {
    const int32_t batch = std::min(count - done, kRowsPerRead);
    JSAMPROW targets[kRowsPerRead];
    for (int32_t i = 0; i < batch; ++i) targets[i] = reinterpret_cast<JSAMPROW>(rows + (done + i) * stride);
    ReadBatch(targets, static_cast<uint32_t>(batch));
    // Nothing of them stays in hand.
    s.first += s.count;
    s.count = 0;
    done += batch;
  }
}

Image DecodeJpeg(Bytes file, unsigned scale) {
  Image image;
  DecodeJpeg(
      file, 4,
      [&image](const JpegFrame& frame) {
        image = AllocateImageForOverwrite(frame.width, frame.height, frame.bitsPerPixel);
        return PixelRows{reinterpret_cast<uint8_t*>(image.pixels.data()),
                         static_cast<ptrdiff_t>(frame.width * sizeof(uint32_t))};
      },
      scale);
  return image;
}

}  // namespace imaging
