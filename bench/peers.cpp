// The peers of the conversion, timed inside the process through their C interfaces: libvips and
// GraphicsMagick, each on THREADS threads (0: the library's default, which is every core).
//   peers vips|gm THREADS
// Answers bench/compare.py's commands, one run each:
//   job FILE DW DH         read the picture, resize it to DW x DH with a Lanczos-3 filter, and write it:
//                          libvips as its own raw format with an alpha band added (4 bands, as our bitmap),
//                          GraphicsMagick as a Windows bitmap
//   resample FILE DW DH    the resize alone, of the picture decoded beforehand into memory with an alpha band
#include <magick/api.h>
#include <vips/vips.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/Timing.h"

namespace {

using Words = std::vector<std::string>;

// libvips: objects released by g_object_unref, failures read from its error buffer.
struct VipsRef {
  VipsImage* image = nullptr;
  ~VipsRef() {
    if (image) g_object_unref(image);
  }
};

void VipsCheck(int status) {
  if (status != 0) {
    const std::string message = vips_error_buffer();
    vips_error_clear();
    throw std::runtime_error("libvips: " + message);
  }
}

void VipsResize(VipsImage* in, int32_t width, int32_t height, VipsRef& out) {
  VipsCheck(vips_resize(in, &out.image, static_cast<double>(width) / in->Xsize, "vscale",
                        static_cast<double>(height) / in->Ysize, "kernel", VIPS_KERNEL_LANCZOS3, nullptr));
}

// With an alpha band, as our raster has one.
void VipsWithAlpha(VipsImage* in, VipsRef& out) {
  if (in->Bands == 4) {
    g_object_ref(in);
    out.image = in;
    return;
  }
  VipsCheck(vips_bandjoin_const1(in, &out.image, 255.0, nullptr));
}

void VipsJob(const std::string& path, int32_t width, int32_t height) {
  VipsRef in, resized, withAlpha;
  in.image = vips_image_new_from_file(path.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr);
  if (!in.image) VipsCheck(-1);
  VipsResize(in.image, width, height, resized);
  VipsWithAlpha(resized.image, withAlpha);
  VipsCheck(vips_image_write_to_file(withAlpha.image, "vips.v", nullptr));
}

// Decoded into memory first, with an alpha band; only the resize is timed.
void VipsResample(const std::string& path, int32_t width, int32_t height) {
  VipsRef in, withAlpha, source;
  in.image = vips_image_new_from_file(path.c_str(), nullptr);
  if (!in.image) VipsCheck(-1);
  VipsWithAlpha(in.image, withAlpha);
  source.image = vips_image_copy_memory(withAlpha.image);
  if (!source.image) VipsCheck(-1);
  std::printf("ms %.2f\n", bench::TimeMs([&] {
                VipsRef resized;
                VipsResize(source.image, width, height, resized);
                size_t size = 0;
                void* pixels = vips_image_write_to_memory(resized.image, &size);
                if (!pixels) VipsCheck(-1);
                g_free(pixels);
              }));
}

// GraphicsMagick: images freed by DestroyImage, failures reported through an ExceptionInfo.
struct GmImage {
  Image* image = nullptr;
  ~GmImage() {
    if (image) DestroyImage(image);
  }
};

struct GmInfo {
  ImageInfo* info = CloneImageInfo(nullptr);
  ExceptionInfo exception;
  GmInfo() { GetExceptionInfo(&exception); }
  ~GmInfo() {
    DestroyExceptionInfo(&exception);
    DestroyImageInfo(info);
  }
  void Check(const void* result) {
    if (!result)
      throw std::runtime_error(std::string("GraphicsMagick: ") +
                               (exception.reason ? exception.reason : "failed"));
  }
};

Image* GmRead(GmInfo& gm, const std::string& path) {
  std::snprintf(gm.info->filename, MaxTextExtent, "%s", path.c_str());
  Image* image = ReadImage(gm.info, &gm.exception);
  gm.Check(image);
  return image;
}

void GmJob(const std::string& path, int32_t width, int32_t height) {
  GmInfo gm;
  GmImage in, resized;
  in.image = GmRead(gm, path);
  resized.image = ResizeImage(in.image, width, height, LanczosFilter, 1.0, &gm.exception);
  gm.Check(resized.image);
  std::snprintf(resized.image->filename, MaxTextExtent, "gm.bmp");
  if (!WriteImage(gm.info, resized.image)) gm.Check(nullptr);
}

// Decoded first, with an alpha channel; only the resize is timed.
void GmResample(const std::string& path, int32_t width, int32_t height) {
  GmInfo read;
  GmImage source;
  source.image = GmRead(read, path);
  SetImageOpacity(source.image, OpaqueOpacity);
  std::printf("ms %.2f\n", bench::TimeMs([&] {
                GmInfo gm;
                GmImage resized;
                resized.image = ResizeImage(source.image, width, height, LanczosFilter, 1.0, &gm.exception);
                gm.Check(resized.image);
              }));
}

int Run(int argc, char** argv) {
  const std::string peer = argc == 3 ? argv[1] : "";
  const int threads = argc == 3 ? std::atoi(argv[2]) : 0;
  if (peer == "vips") {
    if (VIPS_INIT(argv[0])) VipsCheck(-1);
    vips_cache_set_max(0);  // else a repeated resize is answered from the cache
    if (threads > 0) vips_concurrency_set(threads);
  } else if (peer == "gm") {
    InitializeMagick(argv[0]);
    if (threads > 0) SetMagickResourceLimit(ThreadsResource, static_cast<magick_int64_t>(threads));
  } else {
    std::fprintf(stderr, "usage: peers vips|gm THREADS\n");
    return 2;
  }
  const bool vips = peer == "vips";
  return bench::Serve([vips](const Words& w) {
    const int32_t width = std::atoi(w.at(2).c_str()), height = std::atoi(w.at(3).c_str());
    if (w[0] == "job") {
      std::printf("ms %.2f\n", bench::TimeMs([&] {
                    if (vips)
                      VipsJob(w[1], width, height);
                    else
                      GmJob(w[1], width, height);
                  }));
    } else if (w[0] == "resample") {
      if (vips)
        VipsResample(w[1], width, height);
      else
        GmResample(w[1], width, height);
    } else {
      throw std::invalid_argument("unknown command " + w[0]);
    }
  });
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("peers", Run, argc, argv); }
