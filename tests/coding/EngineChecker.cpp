#include "EngineChecker.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "SampleShapes.h"
#include "coding/CarriedAnalysisBound.h"
#include "coding/EngineSteps.h"
#include "transform/DCTII.h"

namespace tvlc {

namespace {

double LargestMagnitude(const TShapeData& data) {
  double largest = 0.0;
  for (double value : data) largest = std::max(largest, std::fabs(value));
  return largest;
}

std::string Frequency(uint32_t index, uint16_t width) {
  return "(" + std::to_string(index % width) + "," + std::to_string(index / width) + ")";
}

// The reference's view of iteration `iteration` (1-based): the exact
// analysis of the residual it starts from and the basis energies.
struct TAnalysisAt {
  TShapeData Work, Norms;
  double ResidualNorm = 0.0;
};

TAnalysisAt ReferenceAnalysisAt(const TWindowJob& job, size_t iteration) {
  TShapeData residual = job.Pixels;
  for (size_t p = 0; p < residual.size(); ++p)
    if (!job.Mask[p]) residual[p] = 0.0;
  if (iteration > 1) {
    TShapeData spectrum = job.Pixels;
    TProgressHandler keep = [&](int32_t i, const TShapeData&, double, const TShapeData& r,
                                uint16_t, uint16_t, bool& stop) {
      if (size_t(i) == iteration - 1) {
        residual = r;
        stop = true;
      }
    };
    keep.ReadsResidual = true;
    AnalyzeShapeLiteral(*DctIIDescriptor(), job.Width, job.Height, spectrum, job.Mask, 1e300, 1,
                        keep);
  }
  TAnalysisAt at{residual, TShapeData(residual.size()), 0.0};
  const TTransDescriptor& dct = *DctIIDescriptor();
  TShapeData scratch(residual.size());
  if (dct.Init(job.Width, job.Height) == 0) {
    ComputeBasisNorms(dct, job.Width, job.Height, job.Mask, scratch, at.Norms);
    dct.Transform(0, at.Work.data());
    dct.Done();
  }
  at.ResidualNorm = std::sqrt(AddSquares(residual.begin(), residual.end(), 0.0));
  return at;
}

// Why the choices of iteration `iteration` differ: the two gains in the
// reference's exact analysis, their gap and the rounding of that analysis.
std::string ChoiceDivergence(const TWindowJob& job, size_t iteration, uint32_t reference,
                             uint32_t candidate) {
  const TAnalysisAt at = ReferenceAnalysisAt(job, iteration);
  const auto gain = [&](uint32_t k) { return at.Work[k] * at.Work[k] / at.Norms[k]; };
  std::ostringstream out;
  out.precision(17);
  const double rounding =
      TCarriedAnalysisBound::TransformError(job.Pixels.size()) * at.ResidualNorm;
  out << "iteration " << iteration << ": reference chose " << Frequency(reference, job.Width)
      << " with gain " << gain(reference) << ", candidate " << Frequency(candidate, job.Width)
      << " with gain " << gain(candidate) << "; gap " << gain(reference) - gain(candidate)
      << ", amplitudes " << std::fabs(at.Work[reference]) << " and "
      << std::fabs(at.Work[candidate]) << " against the analysis rounding bound " << rounding;
  return out.str();
}

}  // namespace

TWindowJob JobOfShape(const TShapeItem& item) {
  const TShape& shape = *item.Shape;
  return {item.Name, uint16_t(shape.RoundedWidth()), uint16_t(shape.RoundedHeight()),
          WindowMask(shape), CentredShapePixels(shape)};
}

std::vector<TWindowJob> JobsOfSample(const std::string& picturePath, const std::string& mapPath) {
  const SampleShapes sample = LoadSampleShapes(picturePath, mapPath);
  std::vector<TWindowJob> jobs;
  for (const TShapeItem& item : sample.Shapes) jobs.push_back(JobOfShape(item));
  return jobs;
}

TExpansion Expand(TShapeAnalysis engine, const TWindowJob& job, double request, size_t stopAfter) {
  TExpansion e;
  e.Spectrum = job.Pixels;
  const TProgressHandler record = [&](int32_t, const TShapeData&, double psnr, const TShapeData&,
                                      uint16_t u, uint16_t v, bool& stop) {
    e.Choices.push_back(uint32_t(v) * job.Width + u);
    e.PSNRs.push_back(psnr);
    if (stopAfter != 0 && e.Choices.size() >= stopAfter) stop = true;
  };
  e.Status = engine(*DctIIDescriptor(), job.Width, job.Height, e.Spectrum, job.Mask, request, 1,
                    record);
  return e;
}

TVerdict CompareExpansions(const TExpansion& candidate, const TExpansion& reference,
                           const TWindowJob& job, double request) {
  TVerdict verdict;
  verdict.ReferenceIterations = reference.Choices.size();
  verdict.CandidateIterations = candidate.Choices.size();
  std::ostringstream out;
  out.precision(17);
  const auto differs = [&](const std::string& what) {
    verdict.Agrees = false;
    verdict.Divergence = job.Name + " at " + std::to_string(request) + " dB: " + what;
    return verdict;
  };
  if (candidate.Status != reference.Status)
    return differs("status " + std::to_string(candidate.Status) + ", reference " +
                   std::to_string(reference.Status));

  if (!(request < kNoiseFloorPSNR)) {
    const size_t allowed = 2 * reference.Choices.size() + job.Pixels.size();
    if (candidate.Choices.size() > allowed)
      return differs(std::to_string(candidate.Choices.size()) + " iterations, more than twice the "
                     "reference's " + std::to_string(reference.Choices.size()) + " plus " +
                     std::to_string(job.Pixels.size()));
    const auto reached = [&](const TExpansion& e) { return e.PSNRs.empty() || e.PSNRs.back() >= request; };
    if (reached(candidate) != reached(reference)) return differs("only one engine reached the request");
    return verdict;
  }

  const size_t common = std::min(candidate.Choices.size(), reference.Choices.size());
  for (size_t i = 0; i < common; ++i)
    if (candidate.Choices[i] != reference.Choices[i])
      return differs(ChoiceDivergence(job, i + 1, reference.Choices[i], candidate.Choices[i]));
  if (candidate.Choices.size() != reference.Choices.size()) {
    const auto last = [](const TExpansion& e) { return e.PSNRs.empty() ? 0.0 : e.PSNRs.back(); };
    out << "stopped after " << candidate.Choices.size() << " iterations at " << last(candidate)
        << " dB, the reference after " << reference.Choices.size() << " at " << last(reference)
        << " dB";
    if (common > 0)
      out << "; at iteration " << common << " the PSNRs were " << candidate.PSNRs[common - 1]
          << " and " << reference.PSNRs[common - 1] << " dB";
    return differs(out.str());
  }
  double largest = 0.0;
  size_t where = 0;
  for (size_t k = 0; k < reference.Spectrum.size(); ++k) {
    const double d = std::fabs(candidate.Spectrum[k] - reference.Spectrum[k]);
    if (d > largest) largest = d, where = k;
  }
  const double allowed = kSpectrumTolerance * LargestMagnitude(reference.Spectrum);
  if (largest > allowed) {
    out << "coefficient " << Frequency(uint32_t(where), job.Width) << " differs by " << largest
        << ", more than " << allowed;
    return differs(out.str());
  }
  return verdict;
}

TVerdict CheckOwnChoices(TShapeAnalysis engine, const TWindowJob& job, double request) {
  // The residual each iteration starts from; the first is the masked input.
  std::vector<TShapeData> residuals(1, job.Pixels);
  for (size_t p = 0; p < job.Pixels.size(); ++p)
    if (!job.Mask[p]) residuals[0][p] = 0.0;
  TExpansion e;
  e.Spectrum = job.Pixels;
  TProgressHandler record = [&](int32_t, const TShapeData&, double, const TShapeData& r,
                                uint16_t u, uint16_t v, bool&) {
    e.Choices.push_back(uint32_t(v) * job.Width + u);
    residuals.push_back(r);
  };
  record.ReadsResidual = true;
  e.Status = engine(*DctIIDescriptor(), job.Width, job.Height, e.Spectrum, job.Mask, request, 1,
                    record);
  TVerdict verdict;
  verdict.CandidateIterations = e.Choices.size();
  const TTransDescriptor& dct = *DctIIDescriptor();
  TShapeData norms(job.Pixels.size()), work(job.Pixels.size());
  if (dct.Init(job.Width, job.Height) != 0) {
    verdict.Agrees = false;
    verdict.Divergence = "the DCT II could not be initialised";
    return verdict;
  }
  ComputeBasisNorms(dct, job.Width, job.Height, job.Mask, work, norms);
  for (size_t i = 0; i < e.Choices.size() && verdict.Agrees; ++i) {
    work = residuals[i];
    dct.Transform(0, work.data());
    const size_t rule = ChooseCoefficient(work, norms);
    if (rule == e.Choices[i]) continue;
    std::ostringstream out;
    out.precision(17);
    out << job.Name << " at " << request << " dB, iteration " << i + 1 << ": chose "
        << Frequency(e.Choices[i], job.Width) << " with gain "
        << work[e.Choices[i]] * work[e.Choices[i]] / norms[e.Choices[i]]
        << " where the exact analysis of its residual gives "
        << Frequency(uint32_t(rule), job.Width) << " with gain "
        << work[rule] * work[rule] / norms[rule];
    verdict.Agrees = false;
    verdict.Divergence = out.str();
  }
  dct.Done();
  return verdict;
}

TVerdict CompareWithReference(TShapeAnalysis candidate, const TWindowJob& job, double request) {
  return CompareExpansions(Expand(candidate, job, request), Expand(AnalyzeShapeLiteral, job, request),
                           job, request);
}

}  // namespace tvlc
