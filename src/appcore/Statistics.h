// Global statistics of the picture: coverage by the shape windows, average
// shape PSNR and the PSNR of everything decoded so far.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tvlc {

class TMainCore;

// PSNR over the picture pixels that a decoded shape has painted, or none
// when no such pixel differs from the picture. Pixels outside the map count
// as not decoded.
std::optional<double> DecodedPicturePSNR(const TMainCore& core);

// SSIM of the decoded picture (see study/Ssim.h), once every picture pixel
// has been decoded; none before, or for a picture smaller than the window.
std::optional<double> DecodedPictureSSIM(const TMainCore& core);

// The lines of the statistics dialog (empty without a picture): six on the
// picture, the shapes and the PSNR, then the SSIM.
std::vector<std::string> GlobalStatisticsLines(const TMainCore& core);

}  // namespace tvlc
