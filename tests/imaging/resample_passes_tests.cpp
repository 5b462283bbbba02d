#include <gtest/gtest.h>

#include <random>

#include "imaging/ResamplePasses.h"

namespace imaging::resample {
namespace {

// The AVX2 passes run wherever the processor has AVX2, the SSE2 passes elsewhere: both must give the same
// pixels, for every leftover of their wider steps.
TEST(ResamplePasses, Avx2AndSse2Agree) {
  if (!CpuHasAvx2()) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 random(17);
  // Windows of every width against rows a little wider or narrower than them, up to a shrink by 60;
  // 2000 -> 640 and 400 -> 640 scale as photographs do onto a screen.
  for (const auto& [in, out] : {std::pair{37, 11}, std::pair{100, 7}, std::pair{9, 31}, std::pair{64, 63},
                                std::pair{1, 5}, std::pair{200, 3}, std::pair{8, 3}, std::pair{16, 5},
                                std::pair{600, 10}, std::pair{2000, 640}, std::pair{400, 640}}) {
    const AxisWeights axis = ComputeAxisWeights(in, out, 0, out);
    std::vector<uint32_t> source(static_cast<size_t>(in));
    for (uint32_t& pixel : source) pixel = static_cast<uint32_t>(random());

    std::vector<int16_t> wideSse2(static_cast<size_t>(out) * 4), wideAvx2(wideSse2.size());
    const auto sse2 = Sse2Passes().horizontal(axis, in);
    const auto avx2 = Avx2Passes().horizontal(axis, in);
    sse2->ToIntermediate(source.data(), wideSse2.data());
    avx2->ToIntermediate(source.data(), wideAvx2.data());
    EXPECT_EQ(wideSse2, wideAvx2) << in << " -> " << out;

    std::vector<uint32_t> pixelsSse2(static_cast<size_t>(out)), pixelsAvx2(pixelsSse2.size());
    sse2->ToPixels(source.data(), pixelsSse2.data());
    avx2->ToPixels(source.data(), pixelsAvx2.data());
    EXPECT_EQ(pixelsSse2, pixelsAvx2) << in << " -> " << out;

    // The vertical pass over `in` intermediate rows of width `out`, with the weights of each output.
    std::vector<std::vector<int16_t>> rows(static_cast<size_t>(in), std::vector<int16_t>(static_cast<size_t>(out) * 4));
    for (auto& row : rows)
      for (int16_t& value : row) value = static_cast<int16_t>(static_cast<int32_t>(random() % 24000) - 4000);
    for (int32_t j = 0; j < out; ++j) {
      std::vector<const int16_t*> taps;
      for (int32_t k = 0; k < axis.count[j]; ++k) taps.push_back(rows[axis.first[j] + k].data());
      const int16_t* weights = &axis.weights[static_cast<size_t>(j) * axis.taps];
      Sse2Passes().vertical(taps.data(), weights, axis.count[j], out, pixelsSse2.data());
      Avx2Passes().vertical(taps.data(), weights, axis.count[j], out, pixelsAvx2.data());
      ASSERT_EQ(pixelsSse2, pixelsAvx2) << in << " -> " << out << " row " << j;
    }
  }
}

}  // namespace
}  // namespace imaging::resample
