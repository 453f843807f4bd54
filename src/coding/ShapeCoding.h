// The coding operations of a shape: Encode turns its pixels into a spectrum
// (optionally continuing from the spectrum it has), Decode paints the
// synthesized spectrum into the decoded picture, and Progress carries the
// engine's notifications into the shape and on to the user interface. Each
// Encode and each successful Decode leaves a diagnostic bitmap of the window
// where TDiagnosticBitmaps says: the current directory unless told otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Image.h"
#include "model/Shape.h"
#include "tvlc/module.h"

namespace tvlc {

// Where Encode and Decode leave their diagnostic bitmaps
// ("SEGMENT_ORIGINAL_IMG_" / "SEGMENT_DECODED_IMG_" + name + ".BMP"): in
// Folder ("" is the current directory), or nowhere when Enabled is false.
struct TDiagnosticBitmaps {
  bool Enabled = true;
  std::string Folder;
};

// Raised by Encode when the engine reports a non-zero status.
class TEncodeError : public std::runtime_error {
 public:
  TEncodeError() : std::runtime_error("External exception in module or not enough memory") {}
};

// Encodes the shape with transformation (moduleCode, transCode) until its
// PSNR reaches requestedPSNR or onProgress sets the stop flag. Another
// transformation code than the shape's discards its spectrum first. Without
// a picture, a map or a transformation of those codes nothing is encoded.
void Encode(TShape& shape, int32_t moduleCode, int32_t transCode, double requestedPSNR,
            bool continueEncoding, uint16_t notifyInterval, TProgressHandler onProgress,
            const std::string& name, const TDiagnosticBitmaps& diagnostics = {});

// The steps of Encode before the lookup, for drivers that look the
// transformation up elsewhere: the diagnostic bitmap of the input window,
// then the codes of the transformation taken over by the shape (another
// transformation code discards its spectrum).
void WriteOriginalWindow(const TShape& shape, const std::string& name,
                         const TDiagnosticBitmaps& diagnostics);
void AdoptCodes(TShape& shape, int32_t moduleCode, int32_t transCode);

// The part of Encode that follows the lookup of the transformation.
void EncodeWithDescriptor(TShape& shape, const TTransDescriptor* descriptor,
                          double requestedPSNR, bool continueEncoding, uint16_t notifyInterval,
                          TProgressHandler onProgress);

// Decode in two steps after the lookup, so that shapes can be synthesized on
// several threads and painted in list order: SynthesizeDecoded gives the
// window's synthesized pixels (none when Decode would fail), PaintDecoded
// paints them as Decode does and writes the diagnostic bitmap.
// SynthesizeDecoded asks the registry only when the shape holds no current
// descriptor (see HeldDescriptor).
std::optional<TShapeData> SynthesizeDecoded(TShape& shape, const TTransDescriptor* descriptor);
void PaintDecoded(const TShape& shape, const TShapeData& pixels, TImage& canvas,
                  std::vector<uint8_t>& decodedMask, const std::string& name,
                  const TDiagnosticBitmaps& diagnostics);

// Synthesizes the shape's spectrum, quantized by its current setting, and
// paints its window into `canvas`: the shape's own pixels always, and claims
// them in `decodedMask` (one byte per map pixel); other window pixels only
// while no shape has claimed them. False, with nothing changed, when the
// shape has no spectrum, its transformation is not found or synthesis fails.
bool Decode(TShape& shape, TImage& canvas, std::vector<uint8_t>& decodedMask,
            const std::string& name, const TDiagnosticBitmaps& diagnostics = {});

// The part of Decode that follows the lookup of the transformation.
bool DecodeWithDescriptor(TShape& shape, const TTransDescriptor* descriptor, TImage& canvas,
                          std::vector<uint8_t>& decodedMask, const std::string& name,
                          const TDiagnosticBitmaps& diagnostics = {});

// The same decode without the diagnostic bitmap file, for studies that
// decode every shape many times: the window's painted pixels go to `bitmap`
// when it is given (a RoundedWidth x RoundedHeight image).
bool DecodeInto(TShape& shape, const TTransDescriptor* descriptor, TImage& canvas,
                std::vector<uint8_t>& decodedMask, TImage* bitmap = nullptr);

// The PSNR of the shape before any iteration, as the engine measures it: its
// pixels against a window of mid-grey. An encode that needs no iteration
// leaves the shape's PSNR as it was; this is the quality it has then.
// 0 without a picture.
double UnexpandedPSNR(const TShape& shape);

// The shape's handler of the engine's notification: keeps PSNR and
// Iterations current and forwards to shape.OnProgress with the iteration
// counted over all runs of the shape.
void Progress(TShape& shape, int32_t iteration, const TShapeData& spectrum, double psnr,
              const TShapeData& residual, uint16_t u, uint16_t v, bool& stop);

// Grey level of a synthesized (centred) value: rounded to the nearest
// integer, halves to even, plus 128, clamped to 0..255. NaN gives 0.
uint8_t DecodedGrey(double value);

}  // namespace tvlc
