#include "cli/PsnrText.h"

#include "appcore/FloatText.h"
#include "coding/EngineSteps.h"
#include "coding/ShapeCoding.h"

namespace tvlc {

std::string PsnrText(double psnr) { return psnr >= kUnlimitedPSNR ? "inf" : Fixed2(psnr); }

double ReachedPSNR(const TShape& shape) {
  return shape.Iterations > 0 ? shape.PSNR : UnexpandedPSNR(shape);
}

}  // namespace tvlc
