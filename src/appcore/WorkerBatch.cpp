// Encode All and Decode All on worker threads. Everything that reads or
// writes the window's state runs here on the calling (user-interface)
// thread: planning, every registry lookup, the log, painting and the
// selection. Workers only run the engine (or the synthesis) on their own
// shape with their own DCT II state, and report through TShapeWorkers'
// queue of finished shapes. Shapes are logged and painted in list order, so
// the log, the decoded picture and every file come out as with one thread.
#include <algorithm>
#include <new>
#include <numeric>
#include <stdexcept>

#include "appcore/FloatText.h"
#include "appcore/MainCore.h"
#include "coding/EngineSteps.h"
#include "coding/ShapeCoding.h"
#include "transform/DCTII.h"

namespace tvlc {

namespace {

// What a worker leaves for the finishing of its shape. PSNR is read by the
// progress label while the shape is in work; the rest only after it finished.
struct TWorkerResult {
  std::atomic<double> PSNR = 0.0;
  bool Stopped = false;
  bool Failed = false;
  bool OutOfMemory = false;  // Decode All
  std::string Error;
  std::vector<TCurvePoint> Curve;    // Encode All: every progress notification
  std::optional<TShapeData> Pixels;  // Decode All
};

// Encode All's plan of one shape, made before any worker starts.
struct TEncodePlan {
  bool Continuing = false;
  std::string UsingName;  // the selection's name when the shape's turn comes
  std::string IterationText, PSNRText;
};

std::string ProgressText(size_t done, size_t total, const std::vector<std::string>& inWork) {
  std::string text = std::to_string(done) + " of " + std::to_string(total) + " shapes done";
  for (size_t i = 0; i < inWork.size(); ++i) text += (i == 0 ? "; in work: " : ", ") + inWork[i];
  return text;
}

}  // namespace

std::optional<size_t> TMainCore::EncodeOnWorkers() {
  const std::optional<double> requested = ParseFloatText(Controls.ReqPSNRText);
  if (Threads <= 1 || Shapes.size() < 2 || !requested) return std::nullopt;

  // Every shape must be coded with the built-in DCT II, the one
  // transformation with a state per thread; the selection moves with each
  // lookup as in an encode in turn.
  std::vector<std::pair<int32_t, int32_t>> codes;
  int32_t selModule = Registry.SelModuleCode, selTrans = Registry.SelTransCode;
  for (const TShapeItem& item : Shapes) {
    const auto [moduleCode, transCode] = EncodeCodes(*item.Shape, selModule, selTrans);
    const TModuleRegistry::TResolved found = Registry.Resolve(moduleCode, transCode);
    if (found.Descriptor != DctIIDescriptor()) return std::nullopt;
    selModule = found.ModuleCode;
    selTrans = transCode;
    codes.emplace_back(moduleCode, transCode);
  }

  std::vector<TEncodePlan> plans(Shapes.size());
  for (size_t i = 0; i < Shapes.size(); ++i) {
    TShape& shape = *Shapes[i].Shape;
    TEncodePlan& plan = plans[i];
    plan.Continuing = shape.HasSpectrum() && Controls.ContEncChckChecked;
    plan.IterationText = std::to_string(shape.Iterations);
    plan.PSNRText = Fixed2(shape.PSNR);
    plan.UsingName = Registry.SelTransName;
    AdoptCodes(shape, codes[i].first, codes[i].second);
    LookUpDescriptor(shape);
  }

  std::vector<TWorkerResult> results(Shapes.size());
  std::atomic<bool> stop = false;
  // Only an exact reconstruction reaches 1e20; a higher request would never end.
  const double psnr = std::min(*requested, kUnlimitedPSNR);
  const auto job = [&](size_t i) {
    TShape& shape = *Shapes[i].Shape;
    TWorkerResult& result = results[i];
    try {
      WriteOriginalWindow(shape, Shapes[i].Name, Diagnostics);
      EncodeWithDescriptor(shape, DctIIDescriptor(), psnr, plans[i].Continuing, 1,
                           [&](int32_t iteration, const TShapeData&, double reached,
                               const TShapeData&, uint16_t, uint16_t, bool& stopShape) {
                             result.PSNR.store(reached, std::memory_order_relaxed);
                             result.Curve.push_back({iteration, reached});
                             if (stop.load(std::memory_order_relaxed))
                               stopShape = result.Stopped = true;
                           });
    } catch (const std::bad_alloc&) {
      result.Failed = true;
      result.Error = TEncodeError().what();
    } catch (const std::exception& e) {
      result.Failed = true;
      result.Error = e.what();
    }
    shape.OnProgress = nullptr;
  };
  const auto finish = [&](size_t i) {
    SelectForBatch(int(i));
    const TEncodePlan& plan = plans[i];
    const std::string& name = Shapes[i].Name;
    AddLog("Transformation of " + name + " started...");
    AddLog("...using transformation " + plan.UsingName);
    if (plan.Continuing) {
      Controls.IteratLab = plan.IterationText;
      Controls.PSNRLab = plan.PSNRText;
      AddLog("...continue transforming from " + plan.IterationText + ". iteration [" +
             plan.PSNRText + " dB]");
    }
    Curves.StartEncode(name, psnr, plan.Continuing);
    TWorkerResult& result = results[i];
    for (const TCurvePoint& point : result.Curve) Curves.Add(point.Iteration, point.PSNR);
    result.Curve = {};
    if (result.Failed) {
      AddLog("Exception at transforming shape: " + result.Error);
      ++EncodeFailures;
    }
    TShape& shape = *Shapes[i].Shape;
    shape.SetQuality(UiQuality());
    Curves.FinishShape(shape.Iterations, shape.PSNR);
    if (!result.Stopped) AddLog("Transformation complete. Done.\r\n");
    UpdateInfo();
    host_.Changed(kProgressChanged | kCurveChanged);
    if (Controls.ShowShapInfChecked) RedrawSpecBtnClick();
  };
  const auto inWork = [&](size_t i) {
    return Shapes[i].Name + " " + Fixed2(results[i].PSNR.load(std::memory_order_relaxed)) + " dB";
  };
  return RunOnWorkers(std::vector<bool>(Shapes.size(), true), stop, job, finish, inWork);
}

std::optional<size_t> TMainCore::DecodeOnWorkers() {
  if (Threads <= 1 || Shapes.size() < 2) return std::nullopt;
  std::vector<bool> queued(Shapes.size());
  for (size_t i = 0; i < Shapes.size(); ++i) {
    const TShape& shape = *Shapes[i].Shape;
    queued[i] = shape.HasSpectrum();
    if (queued[i] && Registry.Resolve(int32_t(shape.ModuleCode), int32_t(shape.TransCode))
                             .Descriptor != DctIIDescriptor())
      return std::nullopt;
  }
  for (size_t i = 0; i < Shapes.size(); ++i)
    if (queued[i]) LookUpDescriptor(*Shapes[i].Shape);

  std::vector<TWorkerResult> results(Shapes.size());
  std::atomic<bool> stop = false;
  const auto job = [&](size_t i) {
    try {
      results[i].Pixels = SynthesizeDecoded(*Shapes[i].Shape, DctIIDescriptor());
    } catch (const std::bad_alloc&) {
      results[i].OutOfMemory = true;
    } catch (const std::exception& e) {
      results[i].Failed = true;
      results[i].Error = e.what();
    }
  };
  const auto finish = [&](size_t i) {
    SelectForBatch(int(i));
    if (!LogDecodeStart(Shapes[i].Name)) return;
    TWorkerResult& result = results[i];
    FinishDecode(Shapes[i].Name, [&] {
      if (result.OutOfMemory) throw std::bad_alloc();
      if (result.Failed) throw std::runtime_error(result.Error);
      if (!result.Pixels) return false;
      PaintDecoded(*Shapes[i].Shape, *result.Pixels, Reconst, DecodedMask, Shapes[i].Name,
                   Diagnostics);
      return true;
    });
    result.Pixels.reset();
  };
  const auto inWork = [&](size_t i) { return Shapes[i].Name; };
  return RunOnWorkers(queued, stop, job, finish, inWork);
}

size_t TMainCore::RunOnWorkers(const std::vector<bool>& queued, std::atomic<bool>& stop,
                               const TShapeWorkers::TJob& job,
                               const std::function<void(size_t)>& finish,
                               const std::function<std::string(size_t)>& inWork) {
  const size_t count = Shapes.size();
  // Largest windows first, so that the longest shapes do not start last;
  // list order among equals.
  std::vector<size_t> order;
  for (size_t i = 0; i < count; ++i)
    if (queued[i]) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
    return Shapes[a].Shape->WindowSize() > Shapes[b].Shape->WindowSize();
  });

  TBusy coding(*this, kCoding);
  TBusy working(*this, kWorkers);
  // The selected shape may be in work; the batch selects each shape once it
  // is finished.
  SelectedShape = nullptr;
  SelectedIndex = -1;
  host_.Changed(kShapeListChanged);

  const size_t jobs = order.size();
  std::vector<bool> finished(count, false);
  size_t next = 0, processed = 0, done = 0;
  std::string progress;
  TShapeWorkers workers(std::move(order), Threads, job);
  while (next < count) {
    for (size_t shape : workers.TakeFinished(std::chrono::milliseconds(15))) {
      finished[shape] = true;
      ++done;
    }
    if (StopAll && !stop) {
      stop = true;
      workers.Stop();
    }
    const bool idle = workers.Idle();
    for (; next < count; ++next) {
      if (queued[next] && !finished[next]) {
        // Wait for it, unless it will never start.
        if (!idle || workers.Started(next)) break;
        continue;
      }
      if (!queued[next] && stop) continue;
      finish(next);
      ++processed;
    }
    std::vector<std::string> running;
    for (size_t shape : workers.InWork()) running.push_back(inWork(shape));
    std::string text = ProgressText(done, jobs, running);
    if (text != progress) {
      progress = Controls.BatchProgLab = std::move(text);
      host_.Changed(kControlsChanged);
    }
    pump_.Poll();
  }
  Controls.BatchProgLab.clear();
  host_.Changed(kControlsChanged);
  return processed;
}

}  // namespace tvlc
