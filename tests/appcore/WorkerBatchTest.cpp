// Encode All and Decode All on worker threads: the log, the shapes, the
// decoded picture and every file written are the same as with one thread,
// on maps whose windows overlap (so the order of painting shows); Stop ends
// a threaded batch with every started shape logged in list order.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "CoreFixture.h"

namespace tvlc::testing {
namespace {

namespace fs = std::filesystem;

// Everything a batch run leaves behind.
struct TBatchOutcome {
  std::vector<std::string> Log;
  std::vector<std::vector<double>> Spectra;
  std::vector<int32_t> Iterations;
  std::vector<double> PSNRs;
  TImage Reconst;
  std::vector<uint8_t> DecodedMask;
  std::map<std::string, std::string> Files;  // name -> bytes
  std::vector<TCurvePoint> Curve, Finished;    // of the second Encode All
  std::vector<std::string> Undecoded;          // of a Decode All before encoding
  std::vector<std::string> Names;
};

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool WindowsOverlap(const TShapeList& shapes) {
  for (size_t a = 0; a < shapes.size(); ++a)
    for (size_t b = a + 1; b < shapes.size(); ++b) {
      const TShape& s = *shapes[a].Shape;
      const TShape& t = *shapes[b].Shape;
      if (s.Left < t.Left + t.RoundedWidth() && t.Left < s.Left + s.RoundedWidth() &&
          s.Top < t.Top + t.RoundedHeight() && t.Top < s.Top + s.RoundedHeight())
        return true;
    }
  return false;
}

class WorkerBatchTest : public CoreTest {
 protected:
  // Encodes every shape of the picture and map to `psnr`, continues to
  // psnr + 3 dB, decodes all, saves the project and the compressed picture,
  // in a folder of its own, with `threads` workers.
  TBatchOutcome Run(const std::string& picture, const std::string& map, const std::string& psnr,
                    unsigned threads) {
    const fs::path folder = fs::current_path() / ("threads-" + std::to_string(threads));
    fs::create_directories(folder);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    TTestHost runHost;
    TMainCore run(runHost, TestData(""));
    run.SetInputInterval({});
    run.Threads = threads;
    EXPECT_TRUE(run.LoadPicture1Click(picture));
    EXPECT_TRUE(run.LoadMap1Click(map));
    EXPECT_TRUE(WindowsOverlap(run.Shapes));
    // Nothing is encoded yet: every shape is undecoded, named in list order.
    run.DecAllBtnClick();
    const std::vector<std::string> undecoded = run.UndecodedShapes;
    run.Controls.ReqPSNRText = psnr;
    run.Controls.UseQSpecChecked = true;
    run.Controls.QuantQuality = 40;
    run.EncAllBtnClick();
    run.Controls.ContEncChckChecked = true;
    run.Controls.ReqPSNRText = std::to_string(std::stoi(psnr) + 3);
    run.EncAllBtnClick();
    const std::vector<TCurvePoint> curve = run.Curves.Points();
    const std::vector<TCurvePoint> finished = run.Curves.Finished();
    run.DecAllBtnClick();
    EXPECT_TRUE(run.Save1Click("project.tvp"));
    EXPECT_TRUE(run.ExportSpectrum1Click("picture.tvzx"));

    TBatchOutcome outcome;
    outcome.Log = run.Log.Lines();
    outcome.Curve = curve;
    outcome.Finished = finished;
    outcome.Undecoded = undecoded;
    for (const TShapeItem& item : run.Shapes) {
      outcome.Spectra.emplace_back(item.Shape->Spectrum.begin(), item.Shape->Spectrum.end());
      outcome.Iterations.push_back(item.Shape->Iterations);
      outcome.PSNRs.push_back(item.Shape->PSNR);
      outcome.Names.push_back(item.Name);
    }
    outcome.Reconst = run.Reconst;
    outcome.DecodedMask = run.DecodedMask;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      outcome.Files[entry.path().filename().string()] = Bytes(entry.path());
    fs::current_path(previous);
    return outcome;
  }

  void ExpectSameAsOneThread(const std::string& picture, const std::string& map,
                             const std::string& psnr, const std::vector<unsigned>& threadCounts) {
    const TBatchOutcome one = Run(picture, map, psnr, 1);
    for (unsigned threads : threadCounts) {
      SCOPED_TRACE(std::to_string(threads) + " threads");
      const TBatchOutcome many = Run(picture, map, psnr, threads);
      EXPECT_EQ(many.Log, one.Log);
      EXPECT_EQ(many.Iterations, one.Iterations);
      EXPECT_EQ(many.PSNRs, one.PSNRs);
      EXPECT_EQ(many.Curve, one.Curve);
      EXPECT_EQ(many.Finished, one.Finished);
      EXPECT_EQ(many.Undecoded, one.Undecoded);
      // Bit for bit: no tolerance.
      ASSERT_EQ(many.Spectra.size(), one.Spectra.size());
      for (size_t i = 0; i < one.Spectra.size(); ++i)
        EXPECT_TRUE(std::equal(one.Spectra[i].begin(), one.Spectra[i].end(),
                               many.Spectra[i].begin(), many.Spectra[i].end(),
                               [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }))
            << i;
      EXPECT_TRUE(many.Reconst == one.Reconst);
      EXPECT_EQ(many.DecodedMask, one.DecodedMask);
      ASSERT_EQ(many.Files.size(), one.Files.size());
      for (const auto& [name, bytes] : one.Files) EXPECT_TRUE(many.Files.at(name) == bytes) << name;
    }
    EXPECT_EQ(one.Undecoded, one.Names);
    // Each shape has its final point on the curve, in list order.
    ASSERT_EQ(one.Finished.size(), one.Names.size());
    for (size_t i = 0; i < one.Names.size(); ++i) {
      EXPECT_EQ(one.Finished[i].Iteration, one.Iterations[i]) << i;
      EXPECT_EQ(one.Finished[i].PSNR, one.PSNRs[i]) << i;
    }
    EXPECT_FALSE(one.Curve.empty());
    // The runs did code something: two batches and a decode of every shape.
    EXPECT_NE(std::find(one.Log.begin(), one.Log.end(), "[12:00:00] Transformation complete. Done."),
              one.Log.end());
    EXPECT_GT(one.Files.count("project.tvp") + one.Files.count("picture.tvzx"), 1u);
  }
};

TEST_F(WorkerBatchTest, SmallPictureGivesTheSameResultsWithEveryThreadCount) {
  ExpectSameAsOneThread(TestData("pictures/camera_64x48.bmp"),
                        TestData("maps/camera_64x48_felzenszwalb.bmp"), "30", {2, 5});
}

TEST_F(WorkerBatchTest, SampleGivesTheSameResultsWithEveryThreadCount) {
  ExpectSameAsOneThread(Sample("camera.bmp"), Sample("camera_felzenszwalb.bmp"), "27", {3});
}

TEST_F(WorkerBatchTest, StopEndsTheBatchWithTheStartedShapesLoggedInOrder) {
  core.SetInputInterval({});
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  ASSERT_TRUE(core.LoadMap1Click(TestData("maps/camera_64x48_felzenszwalb.bmp")));
  core.Threads = 2;
  core.Controls.ReqPSNRText = "60";
  std::vector<std::string> progress;
  host.OnPendingInput = [&] {
    if (core.Controls.BatchProgLab.empty()) return;
    progress.push_back(core.Controls.BatchProgLab);
    EXPECT_FALSE(core.Controls.EncBtnEnabled);
    EXPECT_FALSE(core.Controls.ShowShBtnEnabled);
    core.StopBtnClick();
  };
  const size_t mark = core.Log.Lines().size();
  core.EncAllBtnClick();

  ASSERT_FALSE(progress.empty());
  const std::regex shown(
      R"(\d+ of 22 shapes done(; in work: Shape [0-9A-F]{6} \d+\.\d\d dB(, Shape [0-9A-F]{6} \d+\.\d\d dB)?)?)");
  for (const std::string& text : progress) EXPECT_TRUE(std::regex_match(text, shown)) << text;

  std::vector<size_t> logged;
  const auto lines = LinesSince(mark);
  for (const std::string& line : lines)
    for (size_t i = 0; i < core.Shapes.size(); ++i)
      if (line == "[12:00:00] Transformation of " + core.Shapes[i].Name + " started...")
        logged.push_back(i);
  ASSERT_FALSE(logged.empty());
  EXPECT_LT(logged.size(), core.Shapes.size());
  EXPECT_TRUE(std::is_sorted(logged.begin(), logged.end()));
  EXPECT_EQ(lines[lines.size() - 2], "[12:00:00] " + std::to_string(logged.size()) + " shapes encoded");
  // Shapes that never started keep no spectrum; the stopped ones end short of
  // the request without "Transformation complete".
  for (size_t i = 0; i < core.Shapes.size(); ++i) {
    const bool started = std::find(logged.begin(), logged.end(), i) != logged.end();
    EXPECT_EQ(core.Shapes[i].Shape->HasSpectrum(), started) << i;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "[12:00:00] Transformation complete. Done."),
            std::count_if(logged.begin(), logged.end(),
                          [&](size_t i) { return core.Shapes[i].Shape->PSNR >= 60.0; }));
  EXPECT_TRUE(core.Controls.BatchProgLab.empty());
  EXPECT_FALSE(core.Controls.StopBtnVisible);
  EXPECT_TRUE(core.Controls.EncAllBtnEnabled);
  EXPECT_TRUE(core.Controls.EncBtnEnabled);
  EXPECT_EQ(core.SelectedIndex, int(logged.back()));
}

}  // namespace
}  // namespace tvlc::testing
