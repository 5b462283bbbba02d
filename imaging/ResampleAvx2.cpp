#include "imaging/ResamplePasses.h"

namespace imaging::resample {

bool CpuHasAvx2() { return false; }
const Passes& Avx2Passes() { return Sse2Passes(); }

}  // namespace imaging::resample
