// The encode and decode drivers of the main window.
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include "appcore/FloatText.h"
#include "appcore/MainCore.h"
#include "coding/EngineSteps.h"
#include "coding/ShapeCoding.h"

namespace tvlc {

namespace {

// round(100 * PSNR) for a progress bar, clamped to what an int holds (1e20,
// an exact reconstruction, gives the largest); a NaN PSNR gives 0.
int ProgressValue(double psnr) {
  const double scaled = std::nearbyint(psnr * 100.0);
  if (std::isnan(scaled)) return 0;
  return int(std::clamp(scaled, double(INT_MIN), double(INT_MAX)));
}

}  // namespace

uint8_t TMainCore::UiQuality() const {
  return Controls.UseQSpecChecked ? uint8_t(Controls.QuantQuality) : 0;
}

void TMainCore::EncBtnClick() {
  if (!SelectedShape) return;
  if (Controls.EncBtnCaption != "Encode") {
    AddLog("process cancelled by user. Done.\r\n");
    CancelEncode = true;
    return;
  }
  if (!MayStart(Controls.EncBtnEnabled)) return;
  const std::optional<double> typed = ParseFloatText(Controls.ReqPSNRText);
  if (!typed) {
    AddLog("Error: " + Controls.ReqPSNRText + " not a correct floating point number\r\n");
    return;
  }
  // Only an exact reconstruction reaches 1e20; a higher request would never end.
  const double requested = std::min(*typed, kUnlimitedPSNR);
  TShape& shape = *SelectedShape;
  const std::string name = Shapes[size_t(SelectedIndex)].Name;
  CancelEncode = false;
  stoppedByBatch_ = false;
  AddLog("Transformation of " + name + " started...");
  AddLog("...using transformation " + Registry.SelTransName);

  const bool continuing = shape.HasSpectrum() && Controls.ContEncChckChecked;
  if (continuing) {
    Controls.IteratLab = std::to_string(shape.Iterations);
    Controls.PSNRLab = Fixed2(shape.PSNR);
    AddLog("...continue transforming from " + Controls.IteratLab + ". iteration [" +
           Controls.PSNRLab + " dB]");
  }
  Curves.StartEncode(name, requested, continuing);
  host_.Changed(kCurveChanged);
  Controls.EncBtnCaption = "Stop";
  Controls.EncProgBar.Min = 0;
  Controls.EncProgBar.Max = ProgressValue(requested);
  std::optional<TBusy> busy(std::in_place, *this, kCoding);
  IterationStart = continuing ? shape.Iterations : 0;

  const auto [moduleCode, transCode] =
      EncodeCodes(shape, Registry.SelModuleCode, Registry.SelTransCode);
  try {
    Encode(shape, moduleCode, transCode, requested, continuing, 1,
           [this](int32_t iteration, const TShapeData& spectrum, double psnr,
                  const TShapeData& residual, uint16_t u, uint16_t v, bool& stop) {
             EncodeProgress(iteration, spectrum, psnr, residual, u, v, stop);
           },
           name, Diagnostics);
  } catch (const std::bad_alloc&) {
    AddLog(std::string("Exception at transforming shape: ") + TEncodeError().what());
    ++EncodeFailures;
  } catch (const std::exception& e) {
    AddLog(std::string("Exception at transforming shape: ") + e.what());
    ++EncodeFailures;
  }
  shape.OnProgress = nullptr;
  shape.SetQuality(UiQuality());

  if (activity_[kBatch] > 0) Curves.FinishShape(shape.Iterations, shape.PSNR);
  Controls.EncProgBar.Position = Controls.EncProgBar.Min;
  Controls.EncBtnCaption = "Encode";
  if (!CancelEncode && !stoppedByBatch_) AddLog("Transformation complete. Done.\r\n");
  UpdateInfo();
  busy.reset();
  host_.Changed(kProgressChanged | kCurveChanged);
  if (Controls.ShowShapInfChecked) RedrawSpecBtnClick();
}

std::pair<int32_t, int32_t> TMainCore::EncodeCodes(const TShape& shape, int32_t selModuleCode,
                                                   int32_t selTransCode) const {
  // A shape coded before keeps to the selection; a new one takes the default.
  if ((shape.ModuleCode != 0 || shape.TransCode != 0) && !Registry.ForceDefModule)
    return {selModuleCode, selTransCode};
  return {Registry.DefModuleCode, Registry.DefTransCode};
}

void TMainCore::EncodeProgress(int32_t iteration, const TShapeData& spectrum, double psnr,
                               const TShapeData& /*residual*/, uint16_t u, uint16_t v,
                               bool& stop) {
  TickTimes[TickIndex] = host_.TimeOfDay();
  TickIndex = uint8_t((TickIndex + 1) % 8);

  const int p = ProgressValue(psnr);
  TProgressBarState& bar = Controls.EncProgBar;
  if (iteration - IterationStart < 3 && p <= bar.Max) bar.Min = p;
  if (p <= bar.Max) bar.Position = p;

  if (Controls.ShowShapInfChecked && SelectedShape) {
    const size_t k = size_t(v) * size_t(SelectedShape->RoundedWidth()) + u;
    if (k < spectrum.size()) {
      // The rounded coefficient itself is the colour: small ones show dark red.
      const double c = std::nearbyint(spectrum[k]);
      const int64_t value = std::fabs(c) < 9.0e18 ? int64_t(c) : 0;
      SpecDrawArea.SetPixel(u, v, TColor(uint64_t(value)) & kWhite);
    }
  }
  Curves.Add(iteration, psnr);
  lastIteration_ = iteration;
  lastPSNR_ = psnr;
  progressPump_.Poll();
  // The batch's "Stop" ends the shape in hand too, so that the batch ends at
  // once instead of after a shape that may take minutes.
  stoppedByBatch_ = StopAll && activity_[kBatch] > 0;
  stop = CancelEncode || stoppedByBatch_;
}

std::string TMainCore::SpeedText() const {
  if (!SelectedShape) return "";
  const double pixels = double(SelectedShape->WindowSize());
  // The ring's newest stamp is just before TickIndex, its oldest at TickIndex.
  const int i = (TickIndex + 7) % 8;
  const int j = TickIndex;
  double speed = -1.0;
  if (TickTimes[7] != 0.0 && TickTimes[i] != TickTimes[j])
    speed = 8 * pixels / ((TickTimes[i] - TickTimes[j]) * 86400.0);
  else if (i != 0 && TickTimes[i] != TickTimes[0])
    speed = (i + 1) * pixels / ((TickTimes[i] - TickTimes[0]) * 86400.0);
  if (speed < 0.0) return "";
  return std::to_string(int64_t(std::nearbyint(speed)));
}

void TMainCore::ShowEncodeProgress() {
  Controls.EncSpeedLab = SpeedText();
  Controls.PSNRLab = Fixed2(lastPSNR_);
  Controls.IteratLab = std::to_string(lastIteration_);
  host_.Changed(kControlsChanged | kProgressChanged | kCurveChanged |
                (Controls.ShowShapInfChecked ? kSpectrumViewChanged : 0u));
  host_.ProcessPendingInput();
}

void TMainCore::DecodeBtnClick() {
  if (!SelectedShape || !MayStart(Controls.DecodeBtnEnabled)) return;
  TShape& shape = *SelectedShape;
  const std::string name = Shapes[size_t(SelectedIndex)].Name;
  if (!LogDecodeStart(name)) return;
  TBusy busy(*this, kCoding);
  FinishDecode(name, [&] { return Decode(shape, Reconst, DecodedMask, name, Diagnostics); });
}

bool TMainCore::LogDecodeStart(const std::string& name) {
  AddLog("Decoding of shape " + name + " started...");
  if (!SelectedShape->HasSpectrum()) {
    AddLog("Unable to decode shape: no spectrum data available\r\n");
    UndecodedShapes.push_back(name);
    return false;
  }
  AddLog("...transforming spectrum...zuvi :-)");
  return true;
}

void TMainCore::FinishDecode(const std::string& name, const std::function<bool()>& paint) {
  bool decoded = false;
  try {
    decoded = paint();
    if (decoded) {
      AddLog("...drawing boundaries");
      ReconstDrawArea.CopyRect(0, 0, PicDrawArea, 0, 0, MapWidth, MapHeight);
    }
  } catch (const std::bad_alloc&) {
    AddLog("Error: not enough memory to decode " + name);
    decoded = false;
  } catch (const std::exception& e) {
    AddLog(std::string("Exception at decoding shape: ") + e.what());
  }
  if (decoded) {
    AddLog("Done.\r\n");
  } else {
    AddLog("Unable to decode shape\r\n");
    UndecodedShapes.push_back(name);
  }
  host_.Changed(kViewsChanged);
}

void TMainCore::SelectForBatch(int index) {
  if (Controls.ShowShapInfChecked) {
    ShowShBtnClick(index);
    return;
  }
  SelectedIndex = index;
  SelectedShape = Shapes[size_t(index)].Shape.get();
  host_.Changed(kShapeListChanged);
  UpdateInfo();
}

void TMainCore::RunBatch(const char* verb, const char* done, const std::function<size_t()>& body) {
  AddLog(std::string("Start ") + verb + " " + std::to_string(Shapes.size()) + " shapes");
  ClearOverlays();
  Controls.StopBtnVisible = true;
  StopAll = false;
  host_.Changed(kControlsChanged | kViewsChanged);
  const size_t processed = body();
  Controls.StopBtnVisible = false;
  AddLog(std::to_string(processed) + done);
}

size_t TMainCore::RunShapesInTurn(void (TMainCore::*command)()) {
  size_t i = 0;
  for (; i < Shapes.size() && !StopAll; ++i) {
    SelectForBatch(int(i));
    (this->*command)();
    pump_.Poll();
  }
  return i;
}

void TMainCore::EncAllBtnClick() {
  if (!MayStart(Controls.EncAllBtnEnabled)) return;
  TBusy busy(*this, kBatch);
  Curves.StartBatch();
  host_.Changed(kCurveChanged);
  RunBatch("encoding", " shapes encoded\r\n", [this] {
    const std::optional<size_t> processed = EncodeOnWorkers();
    return processed ? *processed : RunShapesInTurn(&TMainCore::EncBtnClick);
  });
}

void TMainCore::DecAllBtnClick() {
  if (!MayStart(Controls.DecAllBtnEnabled)) return;
  TBusy busy(*this, kBatch);
  UndecodedShapes.clear();
  if (!WithinMemory("decode the shapes", [this] {
        ResetDecodedViews();
        return true;
      }))
    return;
  RunBatch("decoding", " shapes decoded\r\n", [this] {
    const std::optional<size_t> processed = DecodeOnWorkers();
    return processed ? *processed : RunShapesInTurn(&TMainCore::DecodeBtnClick);
  });
}

}  // namespace tvlc
