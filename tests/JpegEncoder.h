#pragma once
// JPEG files made by libjpeg in the tests, for pictures taller than the samples: a pattern of smooth ramps
// and a few sharp edges, so that every row differs and a row out of place shows.
#include <cstdio>

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace test {

struct JpegEncoding {
  int quality = 90;
  bool progressive = false;
  bool subsampled = false;  // 4:2:0 instead of 4:4:4
  bool smooth = false;      // no sharp edges: detail no finer than a picture shown small keeps
};

inline std::vector<uint8_t> EncodeJpeg(int width, int height, JpegEncoding encoding = {}) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, encoding.quality, TRUE);
  const int sampling = encoding.subsampled ? 2 : 1;
  info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = sampling;
  if (encoding.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<uint8_t>(x * 255 / width);
      row[x * 3 + 1] = static_cast<uint8_t>(y * 255 / height);
      row[x * 3 + 2] = static_cast<uint8_t>(encoding.smooth ? (x / 40 + y / 40) % 64 * 4 : (x / 5 + y / 3) % 2 ? 220 : 30);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> file(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return file;
}

}  // namespace test
