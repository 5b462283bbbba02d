// JPEG pictures through libjpeg(-turbo). A JPEG file is a chain of markers: the frame header gives the size
// and components, then one scan (baseline) or many (progressive) of entropy-coded data. A hostile file can
// claim a huge frame, end early, or hold thousands of tiny progressive scans that each cost a pass over
// the whole picture. libjpeg reports errors through error_exit, which longjmps back to the function that
// set the jump and becomes a DecodeError here; those functions hold plain data only, since a longjmp skips
// destructors. libjpeg only warns when data runs out and fills the rest with grey: that is an error here.
#include "imaging/Jpeg.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <bit>
#include <csetjmp>

namespace imaging {

namespace {

static_assert(std::endian::native == std::endian::little, "pixels are written as B, G, R, A bytes");
static_assert(sizeof(unsigned long) >= sizeof(size_t), "jpeg_mem_src takes any file size");

constexpr int kMaxScans = 500;
// Room for the coefficients of the largest progressive CMYK picture that we accept.
constexpr long kMaxDecoderMemory = static_cast<long>(kMaxPixels * 8);

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to the whole
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Everything libjpeg and its callbacks touch, in plain data.
struct JpegDecoder {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_progress_mgr progress;
};

JpegErrors* ErrorsOf(j_common_ptr info) { return reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void OnErrorExit(j_common_ptr info) {
  (*info->err->format_message)(info, ErrorsOf(info)->message);
  std::longjmp(ErrorsOf(info)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) OnErrorExit(info);
}

void OnProgress(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxScans) return;
  std::snprintf(ErrorsOf(info)->message, sizeof ErrorsOf(info)->message, "more than %d scans", kMaxScans);
  std::longjmp(ErrorsOf(info)->jump, 1);
}

struct JpegHeader {
  uint32_t width;
  uint32_t height;
  bool grey;
  bool cmyk;
  bool invertedCmyk;
};

// Reads the markers up to the first scan and chooses the output: B, G, R, A bytes, or CMYK to convert.
bool ReadHeader(JpegDecoder* decoder, const uint8_t* data, unsigned long size, JpegHeader* header) {
  j_decompress_ptr info = &decoder->info;
  if (setjmp(decoder->errors.jump)) return false;
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = kMaxDecoderMemory;
  info->progress = &decoder->progress;
  jpeg_mem_src(info, data, size);
  jpeg_read_header(info, TRUE);
  header->width = info->image_width;
  header->height = info->image_height;
  header->grey = info->num_components == 1;
  header->cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  header->invertedCmyk = info->saw_Adobe_marker;
  info->out_color_space = header->cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  return true;
}

// Adobe's files store CMYK inverted (0 is full ink); plain CMYK has 0 as no ink.
void CmykToBgra(const uint8_t* in, uint8_t* out, uint32_t width, bool inverted) {
  for (uint32_t x = 0; x < width; ++x, in += 4, out += 4) {
    const uint32_t k = inverted ? in[3] : 255 - in[3];
    for (int i = 0; i < 3; ++i) {
      const uint32_t ink = inverted ? in[2 - i] : 255 - in[2 - i];
      out[i] = static_cast<uint8_t>((ink * k + 127) / 255);
    }
    out[3] = 255;
  }
}

bool ReadPixels(JpegDecoder* decoder, const JpegHeader* header, uint8_t* firstRow, size_t stride) {
  j_decompress_ptr info = &decoder->info;
  if (setjmp(decoder->errors.jump)) return false;
  jpeg_start_decompress(info);
  if (info->output_width != header->width || info->output_height != header->height)
    ERREXIT1(info, JERR_IMAGE_TOO_BIG, info->output_width);
  JSAMPARRAY cmykRow = header->cmyk ? (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                                   header->width * 4, 1)
                                    : nullptr;
  while (info->output_scanline < info->output_height) {
    uint8_t* row = firstRow + info->output_scanline * stride;
    JSAMPROW target = cmykRow ? cmykRow[0] : row;
    if (jpeg_read_scanlines(info, &target, 1) != 1) ERREXIT(info, JERR_INPUT_EOF);
    if (cmykRow) CmykToBgra(cmykRow[0], row, header->width, header->invertedCmyk);
  }
  jpeg_finish_decompress(info);
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

  JpegDecoder* decoder() { return &decoder_; }
  [[noreturn]] void Fail() const {
    throw DecodeError(std::string("Cannot read the JPEG picture: ") + decoder_.errors.message);
  }

private:
  JpegDecoder decoder_{};
};

}  // namespace

Image DecodeJpeg(Bytes file) {
  JpegReader reader;
  JpegHeader header{};
  if (!ReadHeader(reader.decoder(), file.data(), static_cast<unsigned long>(file.size()), &header)) reader.Fail();
  Image image = AllocateImage(header.width, header.height, header.grey ? 8 : 24);
  if (!ReadPixels(reader.decoder(), &header, reinterpret_cast<uint8_t*>(image.pixels.data()),
                  size_t{header.width} * sizeof(uint32_t)))
    reader.Fail();
  return image;
}

}  // namespace imaging
