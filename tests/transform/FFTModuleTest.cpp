#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "TransformTestSupport.h"
#include "transform/DCTII.h"
#include "transform/FFTModule.h"
#include "transform/TransformCore.h"

namespace tvlc {
namespace {

using testing::AllClose;
using testing::BlockSizes;
using testing::DirectDft;
using testing::RandomBlock;
using testing::RandomMask;
using Complexes = std::vector<std::complex<double>>;

constexpr int32_t kComponent = 0, kImaginaryPlane = 1, kImagMode = 2;

class FftModuleTest : public testing::CoreResettingTest {
 protected:
  TTransDescriptor& fft = *FftDescriptor();

  const double* Plane() {
    intptr_t address = 0;
    int32_t size = 0;
    EXPECT_EQ(fft.GetParam(kImaginaryPlane, &address, &size), 0);
    return reinterpret_cast<const double*>(address);
  }
  std::vector<double> PlaneCopy() {
    const double* plane = Plane();
    return std::vector<double>(plane, plane + size_t(fft.Width) * fft.Height);
  }
  static Complexes Combine(const TShapeData& re, const TShapeData& im) {
    Complexes z(re.size());
    for (size_t i = 0; i < z.size(); ++i) z[i] = {re[i], im[i]};
    return z;
  }
  static Complexes Scaled(Complexes z, double factor) {
    for (auto& e : z) e *= factor;
    return z;
  }
  Complexes Result(const TShapeData& data) {
    const double* plane = Plane();
    Complexes z(data.size());
    for (size_t i = 0; i < z.size(); ++i) z[i] = {data[i], plane[i]};
    return z;
  }
};

TEST_F(FftModuleTest, DescriptorFields) {
  EXPECT_STREQ(+fft.Name, "FFT");
  EXPECT_STREQ(+fft.Description, "Fast Discrete Fourier Transformation");
  EXPECT_EQ(+fft.TransCode, 1);
  EXPECT_EQ(+fft.Version, 0x0100);
  EXPECT_EQ(+fft.Listed, 0);
  EXPECT_EQ(+fft.Configure, nullptr);
  EXPECT_EQ(+fft.QuantWeight, nullptr);
  const bool slotsSet[] = {fft.Init != nullptr,     fft.Done != nullptr,      fft.BasisNorms != nullptr,
                           fft.Basis != nullptr,    fft.Transform != nullptr, fft.GetParam != nullptr,
                           fft.SetParam != nullptr, fft.GetConfig != nullptr, fft.SetConfig != nullptr,
                           fft.GetState != nullptr};
  for (bool set : slotsSet) EXPECT_TRUE(set);
}

TEST_F(FftModuleTest, ForwardOfRealBlockIsUnitaryDft) {
  uint32_t seed = 10;
  for (auto [w, h] : BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(fft.Init(w, h), 0);
    const TShapeData pixels = RandomBlock(size_t{w} * h, seed++);
    TShapeData data = pixels;
    ASSERT_EQ(fft.Transform(0, data.data()), 0);
    const Complexes expected = Scaled(DirectDft(Combine(pixels, TShapeData(pixels.size(), 0.0)), w, h, -1),
                                      1.0 / std::sqrt(double(w) * h));
    EXPECT_TRUE(AllClose(Result(data), expected));
    ASSERT_EQ(fft.Done(), 0);
  }
}

TEST_F(FftModuleTest, InverseOfComplexBlockIsUnitaryInverseDft) {
  uint32_t seed = 20;
  for (auto [w, h] : BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(fft.Init(w, h), 0);
    const TShapeData re = RandomBlock(size_t{w} * h, seed++), im = RandomBlock(size_t{w} * h, seed++);
    ASSERT_EQ(fft.SetParam(kImaginaryPlane, reinterpret_cast<intptr_t>(im.data())), 0);
    ASSERT_EQ(fft.SetParam(kImagMode, 0), 0);
    TShapeData data = re;
    ASSERT_EQ(fft.Transform(1, data.data()), 0);
    const Complexes expected = Scaled(DirectDft(Combine(re, im), w, h, +1), 1.0 / std::sqrt(double(w) * h));
    EXPECT_TRUE(AllClose(Result(data), expected));
    ASSERT_EQ(fft.Done(), 0);
  }
}

TEST_F(FftModuleTest, ForwardThenInverseRestoresTheBlock) {
  for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {8, 2}, {32, 64}, {256, 128}}) {
    ASSERT_EQ(fft.Init(w, h), 0);
    const TShapeData re = RandomBlock(size_t{w} * h, w), im = RandomBlock(size_t{w} * h, h + 1000);
    ASSERT_EQ(fft.SetParam(kImaginaryPlane, reinterpret_cast<intptr_t>(im.data())), 0);
    ASSERT_EQ(fft.SetParam(kImagMode, 0), 0);
    TShapeData data = re;
    ASSERT_EQ(fft.Transform(0, data.data()), 0);
    ASSERT_EQ(fft.Transform(1, data.data()), 0);
    EXPECT_TRUE(AllClose(data, re, 1e-12));
    EXPECT_TRUE(AllClose(PlaneCopy(), im, 1e-12));
    ASSERT_EQ(fft.Done(), 0);
  }
}

TEST_F(FftModuleTest, BasisIsTheScaledFourierKernel) {
  for (auto [w, h] : BlockSizes()) {
    ASSERT_EQ(fft.Init(w, h), 0);
    const double pixels = double(w) * h;
    for (int32_t component : {0, 1}) {
      ASSERT_EQ(fft.SetParam(kComponent, component), 0);
      for (uint32_t v = 0; v < h; ++v)
        for (uint32_t u = 0; u < w; ++u)
          for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
              const double angle = 2.0 * std::numbers::pi * (double(u * x % w) / w + double(v * y % h) / h);
              const double expected = (component ? std::sin(angle) : std::cos(angle)) / pixels;
              ASSERT_NEAR(fft.Basis(u, v, x, y), expected, 1e-15) << w << "x" << h;
            }
    }
    EXPECT_EQ(+fft.LastError, 0);
    ASSERT_EQ(fft.Done(), 0);
  }
}

// Transform gives sqrt(W*H) times the sums formed with Basis: exactly for
// synthesis, and for analysis with the sign of the imaginary part turned.
TEST_F(FftModuleTest, TransformIsRootOfPixelCountTimesBasisSums) {
  uint32_t seed = 30;
  for (auto [w, h] : BlockSizes()) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    ASSERT_EQ(fft.Init(w, h), 0);
    const double root = std::sqrt(double(w) * h);
    const TShapeData input = RandomBlock(size_t{w} * h, seed++);
    Complexes sums(input.size());
    for (int32_t component : {0, 1}) {
      ASSERT_EQ(fft.SetParam(kComponent, component), 0);
      for (uint32_t v = 0; v < h; ++v)
        for (uint32_t u = 0; u < w; ++u)
          for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
              const double b = fft.Basis(u, v, x, y);
              // synthesis pairs coefficient (u, v) with pixel (x, y) the other way round
              if (component == 0)
                sums[size_t{y} * w + x] += input[size_t{v} * w + u] * b;
              else
                sums[size_t{y} * w + x] += std::complex<double>(0.0, input[size_t{v} * w + u] * b);
            }
    }
    TShapeData data = input;
    ASSERT_EQ(fft.Transform(1, data.data()), 0);
    EXPECT_TRUE(AllClose(Result(data), Scaled(sums, root)));

    data = input;
    ASSERT_EQ(fft.Transform(0, data.data()), 0);
    Complexes conjugate = Result(data);
    for (auto& z : conjugate) z = std::conj(z);
    // the kernel is symmetric in (u, v) and (x, y), so the same sums serve analysis
    EXPECT_TRUE(AllClose(conjugate, Scaled(sums, root)));
    ASSERT_EQ(fft.Done(), 0);
  }
}

TEST_F(FftModuleTest, BasisNormsArePixelCountAndClearThePlane) {
  for (auto [w, h] : BlockSizes()) {
    ASSERT_EQ(fft.Init(w, h), 0);
    const TShapeData mask = RandomMask(size_t{w} * h, w * 100 + h);
    double count = 0.0;
    for (double m : mask) count += m;
    const TShapeData filler = RandomBlock(mask.size(), 3, 1.0, 2.0);
    ASSERT_EQ(fft.SetParam(kImaginaryPlane, reinterpret_cast<intptr_t>(filler.data())), 0);
    TShapeData scratch = mask, norms(mask.size(), 0.0);
    fft.BasisNorms(scratch.data(), norms.data());
    for (double n : norms) ASSERT_EQ(n, count);
    for (double p : PlaneCopy()) ASSERT_EQ(p, 0.0);
    ASSERT_EQ(fft.Done(), 0);
  }
}

TEST_F(FftModuleTest, SingleSampleForwardReturnsItsInput) {
  ASSERT_EQ(fft.Init(1, 1), 0);
  TShapeData data(1, 42.5);
  ASSERT_EQ(fft.Transform(0, data.data()), 0);
  EXPECT_EQ(data[0], 42.5);
  EXPECT_EQ(Plane()[0], 0.0);
  EXPECT_EQ(fft.Basis(0, 0, 0, 0), 1.0);
  EXPECT_EQ(fft.Done(), 0);
}

TEST_F(FftModuleTest, ImagModeOneIgnoresAndOverwritesThePlane) {
  ASSERT_EQ(fft.Init(8, 4), 0);
  const TShapeData pixels = RandomBlock(32, 4);
  const TShapeData garbage = RandomBlock(32, 5);
  ASSERT_EQ(fft.SetParam(kImaginaryPlane, reinterpret_cast<intptr_t>(garbage.data())), 0);
  TShapeData data = pixels;
  ASSERT_EQ(fft.Transform(0, data.data()), 0);
  const Complexes expected =
      Scaled(DirectDft(Combine(pixels, TShapeData(32, 0.0)), 8, 4, -1), 1.0 / std::sqrt(32.0));
  EXPECT_TRUE(AllClose(Result(data), expected));
  EXPECT_EQ(fft.Done(), 0);
}

TEST_F(FftModuleTest, ParametersAfterInit) {
  ASSERT_EQ(fft.Init(16, 8), 0);
  intptr_t value = -1;
  int32_t size = -1;
  EXPECT_EQ(fft.GetParam(kComponent, &value, &size), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(fft.GetParam(kImagMode, &value, &size), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(fft.GetParam(kImaginaryPlane, &value, &size), 0);
  EXPECT_NE(value, 0);
  EXPECT_EQ(size, 16 * 8 * 8);
  for (int i = 0; i < 16 * 8; ++i) EXPECT_EQ(reinterpret_cast<const double*>(value)[i], 0.0);

  value = 77;
  size = 88;
  EXPECT_EQ(fft.GetParam(3, &value, &size), 8);
  EXPECT_EQ(+fft.LastError, 8);
  EXPECT_EQ(value, 77);
  EXPECT_EQ(size, 88);
  EXPECT_EQ(fft.GetParam(-1, &value, &size), 8);
  EXPECT_EQ(fft.SetParam(3, 0), 8);
  EXPECT_EQ(+fft.LastError, 8);

  EXPECT_EQ(fft.SetParam(kImagMode, 5), 0);
  EXPECT_EQ(fft.GetParam(kImagMode, &value, &size), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(fft.SetParam(kImagMode, 0), 0);
  EXPECT_EQ(fft.GetParam(kImagMode, &value, &size), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(fft.SetParam(kComponent, 0x301), 0);  // the low byte counts
  EXPECT_EQ(fft.GetParam(kComponent, &value, &size), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(fft.SetParam(kImaginaryPlane, 0), 3);

  // Init starts again from Component 0 and ImagMode 1.
  EXPECT_EQ(fft.Done(), 0);
  ASSERT_EQ(fft.Init(2, 2), 0);
  EXPECT_EQ(fft.GetParam(kComponent, &value, &size), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(fft.GetParam(kImagMode, &value, &size), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(fft.Done(), 0);
}

TEST_F(FftModuleTest, SlotsOutsideInit) {
  EXPECT_EQ(fft.Basis(0, 0, 0, 0), 0.0);
  EXPECT_EQ(+fft.LastError, 5);
  TShapeData data(4, 3.0);
  EXPECT_EQ(fft.Transform(0, data.data()), 5);
  EXPECT_EQ(+fft.LastError, 5);
  EXPECT_EQ(data[0], 3.0);
  intptr_t value = 9;
  int32_t size = 9;
  EXPECT_EQ(fft.GetParam(0, &value, &size), 5);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(fft.SetParam(0, 1), 5);
  TShapeData mask(4, 1.0), norms(4, 0.0);
  fft.LastError = 0;
  fft.BasisNorms(mask.data(), norms.data());
  EXPECT_EQ(+fft.LastError, 3);
  EXPECT_EQ(norms[0], 0.0);
  EXPECT_EQ(fft.Done(), 5);
  EXPECT_EQ(+fft.LastError, 5);
  EXPECT_EQ(fft.GetState(), kCoreIdle);
}

TEST_F(FftModuleTest, SlotsWhileDctHoldsTheCore) {
  TTransDescriptor& dct = *DctIIDescriptor();
  ASSERT_EQ(dct.Init(4, 4), 0);
  EXPECT_EQ(fft.Basis(1, 0, 1, 0), 0.0);
  EXPECT_EQ(+fft.LastError, 3);
  TShapeData data(16, 3.0);
  EXPECT_EQ(fft.Transform(0, data.data()), 3);
  EXPECT_EQ(data[0], 3.0);
  intptr_t value = 0;
  int32_t size = 0;
  EXPECT_EQ(fft.GetParam(0, &value, &size), 3);
  EXPECT_EQ(fft.SetParam(2, 0), 3);
  TShapeData mask(16, 1.0), norms(16, 0.0);
  fft.BasisNorms(mask.data(), norms.data());
  EXPECT_EQ(+fft.LastError, 3);
  EXPECT_EQ(norms[0], 0.0);
  EXPECT_EQ(fft.GetState(), kCoreInitialised);
  EXPECT_EQ(dct.Done(), 0);
}

TEST_F(FftModuleTest, InitSizesAndRepeats) {
  EXPECT_EQ(fft.Init(0, 4), 6);
  EXPECT_EQ(+fft.LastError, 6);
  EXPECT_EQ(fft.Init(12, 4), 6);
  EXPECT_EQ(fft.Init(4, 65536), 6);
  ASSERT_EQ(fft.Init(32768, 1), 0);
  EXPECT_EQ(+fft.Width, 32768);
  EXPECT_EQ(fft.Init(4, 4), 4);
  EXPECT_EQ(+fft.Width, 32768);
  EXPECT_EQ(fft.Done(), 0);
  EXPECT_EQ(fft.Done(), 5);
}

TEST_F(FftModuleTest, WrongArrayLengthFailsTheCoreUntilDone) {
  ASSERT_EQ(fft.Init(4, 4), 0);
  TShapeData shortBlock(15, 1.0);
  EXPECT_EQ(fft.Transform(0, shortBlock.data()), 7);
  EXPECT_EQ(+fft.LastError, 7);
  EXPECT_EQ(shortBlock[0], 1.0);
  EXPECT_EQ(fft.GetState(), kCoreFailed);
  EXPECT_EQ(fft.Transform(1, nullptr), 7);
  EXPECT_EQ(fft.Done(), 7);
  EXPECT_EQ(fft.GetState(), kCoreIdle);

  ASSERT_EQ(fft.Init(4, 4), 0);
  TShapeData mask(16, 1.0), shortNorms(8, 0.0);
  fft.BasisNorms(mask.data(), shortNorms.data());
  EXPECT_EQ(+fft.LastError, 7);
  EXPECT_EQ(shortNorms[0], 0.0);
  EXPECT_EQ(fft.Done(), 7);
}

TEST_F(FftModuleTest, NoConfiguration) {
  int dummy = 0;
  void* config = &dummy;
  EXPECT_EQ(fft.GetConfig(&config), 0);
  EXPECT_EQ(config, nullptr);
  fft.SetConfig(&dummy, 4);
}

}  // namespace
}  // namespace tvlc
