#include "coding/ShapeCoding.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "coding/EngineSteps.h"
#include "coding/Quantizer.h"
#include "coding/TransformShape.h"
#include "model/Bmp.h"
#include "transform/Registry.h"

namespace tvlc {

namespace {

constexpr double kCentre = 128.0;

// Grey level of picture pixel (x, y) by its linear index, as the window is
// read: columns right of the picture run on into the next row. The window
// may reach past the end of the picture, where 0 is read; such pixels are
// never inside the shape.
uint8_t PictureGrey(const TShape& shape, int32_t x, int32_t y) {
  const int64_t p = int64_t(x) + int64_t(y) * shape.PicWidth;
  if (p < 0 || uint64_t(p) >= shape.PicData->size()) return 0;
  return (*shape.PicData)[size_t(p)];
}

// A 24-bit image, whose pixels are kept as indices of the grey levels.
TImage InputWindowImage(const TShape& shape) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  std::vector<TColor> greys(256);
  for (size_t g = 0; g < greys.size(); ++g) greys[g] = Grey(uint8_t(g));
  std::vector<uint8_t> levels(size_t(width) * size_t(height));
  size_t k = 0;
  for (int q = 0; q < height; ++q)
    for (int i = 0; i < width; ++i) levels[k++] = PictureGrey(shape, shape.Left + i, shape.Top + q);
  TImage image(width, height, std::move(greys), std::move(levels));
  image.SetRgb24();
  return image;
}

void WriteDiagnostic(const TDiagnosticBitmaps& diagnostics, const std::string& fileName,
                     const TImage& bitmap) {
  if (!diagnostics.Enabled) return;
  const std::filesystem::path folder(diagnostics.Folder);
  WriteBmpFile((folder / fileName).string(), bitmap);
}

// The shape's mask over its window and the window's pixels centred on 0.
void CentredWindow(const TShape& shape, TShapeMask& mask, TShapeData& centred) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  mask.assign(size_t(width) * height, 0);
  centred.assign(size_t(width) * height, 0.0);
  size_t k = 0;
  for (int q = 0; q < height; ++q)
    for (int i = 0; i < width; ++i, ++k) {
      const int32_t x = shape.Left + i;
      const int32_t y = shape.Top + q;
      mask[k] = shape.Contains(x, y) ? 1 : 0;
      centred[k] = PictureGrey(shape, x, y) - kCentre;
    }
}

// Hands the configuration of the shape's last encode back to the module,
// never announcing more bytes than the blob holds.
void HandBackConfig(const TShape& shape, const TTransDescriptor& descriptor) {
  if (!descriptor.SetConfig) return;
  const int64_t size = std::clamp<int64_t>(shape.ConfigSize, 0, int64_t(shape.Config.size()));
  descriptor.SetConfig(shape.Config.empty() ? nullptr : shape.Config.data(), int32_t(size));
}

// Copies the module's configuration of the encode just made into the shape.
void KeepConfig(TShape& shape, const TTransDescriptor& descriptor) {
  void* data = nullptr;
  const int32_t size = descriptor.GetConfig(&data);
  // A negative size or a missing buffer carries no configuration.
  const int32_t kept = size > 0 && data ? size : 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  shape.Config.assign(bytes, bytes + kept);
  shape.ConfigSize = kept;
}

uint8_t Synthesize(const TTransDescriptor* descriptor, const TShape& shape, TShapeData& spectrum) {
  return TransformShape(descriptor, uint16_t(shape.RoundedWidth()),
                        uint16_t(shape.RoundedHeight()), spectrum, true, TShapeMask(), 0.0, 0,
                        TProgressHandler());
}

void QuantizeInPlace(TShape& shape, TShapeData& spectrum) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  for (int v = 0; v < height; ++v)
    for (int u = 0; u < width; ++u) {
      double& c = spectrum[size_t(v) * width + u];
      const double step = QuantStep(shape, uint16_t(u), uint16_t(v));
      c = DequantizeCoefficient(QuantizeCoefficient(c, step, shape.NormFactor), step,
                                shape.NormFactor);
    }
}

// Paints the synthesized window; see Decode for which pixels are painted.
// The window's own bitmap gets the painted pixels too when there is one.
void PaintWindow(const TShape& shape, const TShapeData& pixels, TImage& canvas,
                 std::vector<uint8_t>& decodedMask, TImage* bitmap) {
  const int32_t right = shape.Left + shape.RoundedWidth();
  const int32_t bottom = shape.Top + shape.RoundedHeight();
  size_t k = 0;
  for (int32_t y = shape.Top; y < bottom; ++y)
    for (int32_t x = shape.Left; x < right; ++x, ++k) {
      if (x < 0 || x >= shape.MapWidth) continue;
      const int64_t p = int64_t(x) + int64_t(y) * shape.MapWidth;
      if (p < 0 || uint64_t(p) >= decodedMask.size()) continue;
      const bool own = shape.Contains(x, y);
      if (decodedMask[size_t(p)] != 0 && !own) continue;
      const TColor grey = Grey(DecodedGrey(pixels[k]));
      canvas.SetPixel(x, y, grey);
      if (bitmap) bitmap->SetPixel(x - shape.Left, y - shape.Top, grey);
      decodedMask[size_t(p)] = own ? 1 : 0;
    }
}

}  // namespace

void WriteOriginalWindow(const TShape& shape, const std::string& name,
                         const TDiagnosticBitmaps& diagnostics) {
  if (shape.PicData && diagnostics.Enabled)
    WriteDiagnostic(diagnostics, "SEGMENT_ORIGINAL_IMG_" + name + ".BMP", InputWindowImage(shape));
}

void AdoptCodes(TShape& shape, int32_t moduleCode, int32_t transCode) {
  // A spectrum of another transformation means nothing to the new one; only
  // the transformation codes are compared, as the lookup falls back to any
  // module offering the code.
  if (shape.TransCode != 0 && shape.TransCode != uint32_t(transCode)) {
    shape.Spectrum.clear();
    shape.PSNR = 0.0;
  }
  shape.ModuleCode = uint32_t(moduleCode);
  shape.TransCode = uint32_t(transCode);
}

void Encode(TShape& shape, int32_t moduleCode, int32_t transCode, double requestedPSNR,
            bool continueEncoding, uint16_t notifyInterval, TProgressHandler onProgress,
            const std::string& name, const TDiagnosticBitmaps& diagnostics) {
  WriteOriginalWindow(shape, name, diagnostics);
  AdoptCodes(shape, moduleCode, transCode);
  const TTransDescriptor* descriptor = LookUpDescriptor(shape);
  EncodeWithDescriptor(shape, descriptor, requestedPSNR, continueEncoding, notifyInterval,
                       std::move(onProgress));
}

void EncodeWithDescriptor(TShape& shape, const TTransDescriptor* descriptor,
                          double requestedPSNR, bool continueEncoding, uint16_t notifyInterval,
                          TProgressHandler onProgress) {
  if (!descriptor || !shape.PicData || !shape.MapData) return;
  if (continueEncoding && requestedPSNR <= shape.PSNR) return;

  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  const size_t windowSize = size_t(width) * height;
  // A spectrum that does not fit the window cannot be continued from.
  if (shape.Spectrum.size() != windowSize) shape.Spectrum.assign(windowSize, 0.0);

  TShapeData previous;
  if (continueEncoding) {
    shape.IterationBase = shape.Iterations;
    previous = shape.Spectrum;
    HandBackConfig(shape, *descriptor);
    // Spectrum now holds the previous approximation's centred pixels.
    Synthesize(descriptor, shape, shape.Spectrum);
  } else {
    shape.IterationBase = 0;
  }

  TShapeMask mask;
  TShapeData centred;
  CentredWindow(shape, mask, centred);
  for (size_t k = 0; k < windowSize; ++k)
    shape.Spectrum[k] = continueEncoding ? centred[k] - shape.Spectrum[k] : centred[k];

  shape.OnProgress = std::move(onProgress);
  TProgressHandler shapeProgress = [&shape](int32_t iteration, const TShapeData& spectrum,
                                            double psnr, const TShapeData& residual, uint16_t u,
                                            uint16_t v, bool& stop) {
    Progress(shape, iteration, spectrum, psnr, residual, u, v, stop);
  };
  shapeProgress.ReadsResidual = shape.OnProgress.ReadsResidual;
  const uint8_t status = TransformShape(descriptor, uint16_t(width), uint16_t(height),
                                        shape.Spectrum, false, mask, requestedPSNR,
                                        notifyInterval, shapeProgress);
  if (status != 0) throw TEncodeError();

  if (descriptor->GetConfig) KeepConfig(shape, *descriptor);
  // The engine expanded the residual; by linearity the sum is the spectrum of
  // the whole new approximation.
  if (continueEncoding)
    for (size_t i = 0; i < windowSize; ++i) shape.Spectrum[i] += previous[i];
}

bool Decode(TShape& shape, TImage& canvas, std::vector<uint8_t>& decodedMask,
            const std::string& name, const TDiagnosticBitmaps& diagnostics) {
  const TTransDescriptor* descriptor = LookUpDescriptor(shape);
  return DecodeWithDescriptor(shape, descriptor, canvas, decodedMask, name, diagnostics);
}

bool DecodeWithDescriptor(TShape& shape, const TTransDescriptor* descriptor, TImage& canvas,
                          std::vector<uint8_t>& decodedMask, const std::string& name,
                          const TDiagnosticBitmaps& diagnostics) {
  const std::optional<TShapeData> pixels = SynthesizeDecoded(shape, descriptor);
  if (!pixels) return false;
  PaintDecoded(shape, *pixels, canvas, decodedMask, name, diagnostics);
  return true;
}

bool DecodeInto(TShape& shape, const TTransDescriptor* descriptor, TImage& canvas,
                std::vector<uint8_t>& decodedMask, TImage* bitmap) {
  const std::optional<TShapeData> pixels = SynthesizeDecoded(shape, descriptor);
  if (!pixels) return false;
  PaintWindow(shape, *pixels, canvas, decodedMask, bitmap);
  return true;
}

std::optional<TShapeData> SynthesizeDecoded(TShape& shape, const TTransDescriptor* descriptor) {
  const int width = shape.RoundedWidth();
  const int height = shape.RoundedHeight();
  // A spectrum that does not fit the window counts as none.
  if (!shape.HasSpectrum() || !descriptor || shape.Spectrum.size() != size_t(width) * height)
    return std::nullopt;

  TShapeData pixels = shape.Spectrum;
  if (shape.Quality != 0) QuantizeInPlace(shape, pixels);
  HandBackConfig(shape, *descriptor);
  if (Synthesize(descriptor, shape, pixels) != 0) return std::nullopt;
  return pixels;
}

void PaintDecoded(const TShape& shape, const TShapeData& pixels, TImage& canvas,
                  std::vector<uint8_t>& decodedMask, const std::string& name,
                  const TDiagnosticBitmaps& diagnostics) {
  if (!diagnostics.Enabled) {
    PaintWindow(shape, pixels, canvas, decodedMask, nullptr);
    return;
  }
  TImage bitmap(shape.RoundedWidth(), shape.RoundedHeight());
  PaintWindow(shape, pixels, canvas, decodedMask, &bitmap);
  WriteDiagnostic(diagnostics, "SEGMENT_DECODED_IMG_" + name + ".BMP", bitmap);
}

double UnexpandedPSNR(const TShape& shape) {
  if (!shape.PicData) return 0.0;
  TShapeMask mask;
  TShapeData residual;
  CentredWindow(shape, mask, residual);
  for (size_t k = 0; k < residual.size(); ++k)
    if (!mask[k]) residual[k] = 0.0;
  return ResidualPSNR(residual, MaskPixelCount(mask));
}

void Progress(TShape& shape, int32_t iteration, const TShapeData& spectrum, double psnr,
              const TShapeData& residual, uint16_t u, uint16_t v, bool& stop) {
  const int32_t overall = shape.IterationBase + iteration;
  shape.PSNR = psnr;
  shape.Iterations = overall;
  if (shape.OnProgress) shape.OnProgress(overall, spectrum, psnr, residual, u, v, stop);
}

uint8_t DecodedGrey(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -128.0)) return 0;
  if (r > 127.0) return 255;
  return uint8_t(int(r) + 128);
}

}  // namespace tvlc
