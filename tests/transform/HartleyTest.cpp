#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "modules/ModuleFolder.h"
#include "transform/Registry.h"

namespace tvlc {
namespace {

using test::kVeskaModule;
using test::TLibraryReference;
using test::TModuleFolder;

// cas(2*pi*k*m/n) with the exact pi and the angle reduced to one period.
double ExactCas(uint32_t k, uint32_t m, uint32_t n) {
  const double angle = 2.0 * std::numbers::pi * static_cast<double>((uint64_t{k} * m) % n) / n;
  return std::cos(angle) + std::sin(angle);
}

TShapeData RandomBlock(size_t count, std::mt19937& random) {
  std::uniform_real_distribution<double> value(-128.0, 127.0);
  TShapeData block(count);
  for (double& v : block) v = value(random);
  return block;
}

TShapeData RandomMask(size_t count, std::mt19937& random) {
  std::bernoulli_distribution inside(0.6);
  TShapeData mask(count);
  for (double& v : mask) v = inside(random) ? 1.0 : 0.0;
  return mask;
}

double AbsoluteSum(const TShapeData& block) {
  double sum = 0.0;
  for (double v : block) sum += std::fabs(v);
  return sum;
}

struct TBlockSize {
  uint32_t W, H;
};

// Every power-of-two size from 1x1 to 64x32.
std::vector<TBlockSize> AllSizes() {
  std::vector<TBlockSize> sizes;
  for (uint32_t w = 1; w <= 64; w *= 2) {
    for (uint32_t h = 1; h <= 32; h *= 2) sizes.push_back({w, h});
  }
  return sizes;
}

class HartleyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Add(kVeskaModule);
    registry_.LoadModules();
    hartley_ = registry_.FindTransformation(2, 3);
    ASSERT_NE(hartley_, nullptr);
  }

  // The unnormalised 2-D Hartley transform as a direct sum of the module's
  // own basis values, which is what the interface promises.
  TShapeData SumOverBasis(const TShapeData& block, TBlockSize size) const {
    TShapeData result(block.size());
    for (uint32_t v = 0; v < size.H; ++v) {
      for (uint32_t u = 0; u < size.W; ++u) {
        double sum = 0.0;
        for (uint32_t y = 0; y < size.H; ++y) {
          for (uint32_t x = 0; x < size.W; ++x) {
            sum += block[y * size.W + x] * hartley_->Basis(u, v, x, y);
          }
        }
        result[v * size.W + u] = sum;
      }
    }
    return result;
  }

  TShapeData Transformed(TShapeData block, uint32_t inverse) const {
    EXPECT_EQ(hartley_->Transform(inverse, block.data()), 0);
    return block;
  }

  TModuleFolder folder_;
  TModuleRegistry registry_{folder_.Path()};
  TTransDescriptor* hartley_ = nullptr;
};

TEST_F(HartleyTest, RecordsDescribeTheModule) {
  const TModuleHeader& header = *registry_.Modules()[1].Header;
  EXPECT_EQ(header.InterfaceVersion, 0x0100);
  EXPECT_STREQ(header.Name, "External module");
  EXPECT_STREQ(header.Description, "Module for CAS-CAS (Hartley) transformation");
  EXPECT_NE(std::string(header.Author).find('\n'), std::string::npos);
  EXPECT_EQ(+header.ModuleCode, 2);
  EXPECT_EQ(header.ModuleVersion, 0x0009);
  EXPECT_EQ(header.GetTransformation(0), hartley_);
  EXPECT_EQ(header.GetTransformation(1), nullptr);
  EXPECT_EQ(header.GetTransformation(-1), nullptr);

  EXPECT_STREQ(hartley_->Name, "Hartley transformation");
  EXPECT_STREQ(hartley_->Description, "Fast CAS-CAS transformation");
  EXPECT_EQ(hartley_->TransCode, 3);
  EXPECT_EQ(hartley_->Version, 0x0009);
  EXPECT_EQ(hartley_->Listed, 1);
  EXPECT_EQ(+hartley_->GetConfig, nullptr);
  EXPECT_EQ(+hartley_->SetConfig, nullptr);
  EXPECT_EQ(+hartley_->Configure, nullptr);
  for (const void* slot : {(void*)hartley_->Init, (void*)hartley_->Done,
                           (void*)hartley_->BasisNorms, (void*)hartley_->Basis,
                           (void*)hartley_->Transform, (void*)hartley_->GetParam,
                           (void*)hartley_->SetParam, (void*)hartley_->QuantWeight,
                           (void*)hartley_->GetState}) {
    EXPECT_NE(slot, nullptr);
  }
}

TEST_F(HartleyTest, InitKeepsTheSizeAndSmallSlotsSucceed) {
  EXPECT_EQ(hartley_->Init(16, 4), 0);
  EXPECT_EQ(hartley_->Width, 16);
  EXPECT_EQ(hartley_->Height, 4);
  intptr_t value = 11;
  int32_t size = 12;
  EXPECT_EQ(hartley_->GetParam(0, &value, &size), 0);
  EXPECT_EQ(value, 11);
  EXPECT_EQ(size, 12);
  EXPECT_EQ(hartley_->SetParam(3, 5), 0);
  EXPECT_EQ(hartley_->GetState(), 0);
  EXPECT_EQ(hartley_->Done(), 0);
  EXPECT_EQ(hartley_->LastError, 0);
  EXPECT_EQ(hartley_->Width, 16);
}

TEST_F(HartleyTest, InitRefusesSizesTheFastTransformCannotTake) {
  ASSERT_EQ(hartley_->Init(8, 8), 0);
  EXPECT_EQ(hartley_->Init(3, 4), TVLC_STATUS_INVALID_SIZE);
  EXPECT_EQ(hartley_->Init(4, 12), TVLC_STATUS_INVALID_SIZE);
  EXPECT_EQ(hartley_->Init(0, 8), TVLC_STATUS_INVALID_SIZE);
  EXPECT_EQ(hartley_->LastError, TVLC_STATUS_INVALID_SIZE);
  EXPECT_EQ(hartley_->Width, 8);
  EXPECT_EQ(hartley_->Height, 8);
}

TEST_F(HartleyTest, BasisIsTheProductOfTwoCasFunctions) {
  for (TBlockSize size : AllSizes()) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    for (uint32_t v = 0; v < size.H; ++v) {
      for (uint32_t u = 0; u < size.W; ++u) {
        for (uint32_t y = 0; y < size.H; ++y) {
          for (uint32_t x = 0; x < size.W; ++x) {
            // The module's pi is 3.1415926535, which moves large angles by
            // up to about 1e-8.
            ASSERT_NEAR(hartley_->Basis(u, v, x, y),
                        ExactCas(u, x, size.W) * ExactCas(v, y, size.H), 1e-7)
                << size.W << "x" << size.H << " u=" << u << " v=" << v << " x=" << x
                << " y=" << y;
          }
        }
      }
    }
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, BasisOfFrequencyZeroIsOne) {
  ASSERT_EQ(hartley_->Init(8, 4), 0);
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 0; x < 8; ++x) EXPECT_EQ(hartley_->Basis(0, 0, x, y), 1.0);
  }
}

TEST_F(HartleyTest, BasisUsesTheModulesPi) {
  ASSERT_EQ(hartley_->Init(4, 1), 0);
  const double value = hartley_->Basis(1, 0, 1, 0);
  EXPECT_NEAR(value, 1.0, 1e-9);
  const double angle = 3.1415926535 / 2;
  EXPECT_EQ(value, std::cos(angle) + std::sin(angle));
}

TEST_F(HartleyTest, TransformAgreesWithTheDirectSumInBothDirections) {
  std::mt19937 random(1234);
  for (TBlockSize size : AllSizes()) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    const TShapeData block = RandomBlock(size_t{size.W} * size.H, random);
    const TShapeData expected = SumOverBasis(block, size);
    // Bound of the difference between pi and the module's pi in the basis.
    const double tolerance = 1e-7 * AbsoluteSum(block);
    for (uint32_t inverse : {0u, 1u}) {
      const TShapeData result = Transformed(block, inverse);
      for (size_t i = 0; i < block.size(); ++i) {
        ASSERT_NEAR(result[i], expected[i], tolerance)
            << size.W << "x" << size.H << " inverse=" << inverse << " index " << i;
      }
    }
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, TransformIsTheExactHartleyTransform) {
  std::mt19937 random(99);
  for (TBlockSize size : {TBlockSize{128, 2}, TBlockSize{2, 256}, TBlockSize{32, 64}}) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    const TShapeData block = RandomBlock(size_t{size.W} * size.H, random);
    const TShapeData result = Transformed(block, 0);
    const double tolerance = 1e-9 * AbsoluteSum(block);
    for (uint32_t v = 0; v < size.H; ++v) {
      for (uint32_t u = 0; u < size.W; ++u) {
        double sum = 0.0;
        for (uint32_t y = 0; y < size.H; ++y) {
          for (uint32_t x = 0; x < size.W; ++x) {
            sum += block[y * size.W + x] * ExactCas(u, x, size.W) * ExactCas(v, y, size.H);
          }
        }
        ASSERT_NEAR(result[v * size.W + u], sum, tolerance)
            << size.W << "x" << size.H << " u=" << u << " v=" << v;
      }
    }
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, SingleValueStaysAsItIs) {
  ASSERT_EQ(hartley_->Init(1, 1), 0);
  TShapeData block(1, -17.25);
  EXPECT_EQ(hartley_->Transform(0, block.data()), 0);
  EXPECT_EQ(block[0], -17.25);
  EXPECT_EQ(hartley_->Transform(1, block.data()), 0);
  EXPECT_EQ(block[0], -17.25);
  EXPECT_EQ(hartley_->Done(), 0);
}

TEST_F(HartleyTest, TwoValuesBecomeSumAndDifference) {
  ASSERT_EQ(hartley_->Init(2, 1), 0);
  TShapeData row(2);
  row[0] = 7.5;
  row[1] = -2.25;
  EXPECT_EQ(hartley_->Transform(0, row.data()), 0);
  EXPECT_EQ(row[0], 5.25);
  EXPECT_EQ(row[1], 9.75);

  ASSERT_EQ(hartley_->Init(1, 2), 0);
  TShapeData column(2);
  column[0] = 3.0;
  column[1] = 10.0;
  EXPECT_EQ(hartley_->Transform(1, column.data()), 0);
  EXPECT_EQ(column[0], 13.0);
  EXPECT_EQ(column[1], -7.0);
  EXPECT_EQ(hartley_->Done(), 0);
}

TEST_F(HartleyTest, TransformTwiceScalesByTheBlockArea) {
  std::mt19937 random(7);
  for (TBlockSize size : {TBlockSize{16, 8}, TBlockSize{1, 64}, TBlockSize{512, 4}}) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    const TShapeData block = RandomBlock(size_t{size.W} * size.H, random);
    const TShapeData twice = Transformed(Transformed(block, 0), 1);
    const double area = double(size.W) * size.H;
    for (size_t i = 0; i < block.size(); ++i) {
      ASSERT_NEAR(twice[i], area * block[i], 1e-9 * area * 128.0) << size.W << "x" << size.H;
    }
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, BasisNormsAgreeWithTheDirectSum) {
  std::mt19937 random(42);
  for (TBlockSize size : AllSizes()) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    const TShapeData mask = RandomMask(size_t{size.W} * size.H, random);
    TShapeData scratch = mask;
    // The slot adds to what it finds, so start from a known offset.
    TShapeData norms(mask.size(), 0.5);
    hartley_->BasisNorms(scratch.data(), norms.data());
    for (uint32_t v = 0; v < size.H; ++v) {
      for (uint32_t u = 0; u < size.W; ++u) {
        double sum = 0.0;
        for (uint32_t y = 0; y < size.H; ++y) {
          for (uint32_t x = 0; x < size.W; ++x) {
            sum += mask[y * size.W + x] * std::pow(hartley_->Basis(u, v, x, y), 2);
          }
        }
        ASSERT_NEAR(norms[v * size.W + u], 0.5 + sum, 1e-9 * (1.0 + sum))
            << size.W << "x" << size.H << " u=" << u << " v=" << v;
      }
    }
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, FullMaskGivesTheBlockAreaAsEveryNorm) {
  for (TBlockSize size : {TBlockSize{16, 8}, TBlockSize{4, 32}, TBlockSize{1, 1}}) {
    ASSERT_EQ(hartley_->Init(size.W, size.H), 0);
    TShapeData mask(size_t{size.W} * size.H, 1.0);
    TShapeData norms(mask.size());
    hartley_->BasisNorms(mask.data(), norms.data());
    const double area = double(size.W) * size.H;
    for (double norm : norms) EXPECT_NEAR(norm, area, 1e-6 * area);
    EXPECT_EQ(hartley_->Done(), 0);
  }
}

TEST_F(HartleyTest, BlocksOfTheWrongLengthFailTheFollowingDone) {
  ASSERT_EQ(hartley_->Init(4, 4), 0);
  TShapeData tooShort(15, 2.0);
  EXPECT_EQ(hartley_->Transform(0, tooShort.data()), TVLC_STATUS_LENGTH_MISMATCH);
  for (double v : tooShort) EXPECT_EQ(v, 2.0);
  EXPECT_EQ(hartley_->Transform(0, nullptr), TVLC_STATUS_WRONG_STATE);
  EXPECT_EQ(hartley_->Done(), TVLC_STATUS_LENGTH_MISMATCH);
  EXPECT_EQ(hartley_->LastError, TVLC_STATUS_LENGTH_MISMATCH);

  ASSERT_EQ(hartley_->Init(4, 4), 0);
  TShapeData mask(16, 1.0);
  TShapeData norms(17);
  hartley_->BasisNorms(mask.data(), norms.data());
  for (double v : norms) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(hartley_->Done(), TVLC_STATUS_LENGTH_MISMATCH);

  // A new Init starts clean.
  ASSERT_EQ(hartley_->Init(4, 4), 0);
  EXPECT_EQ(hartley_->Done(), 0);
}

TEST_F(HartleyTest, QuantWeightIsTheDctWeightOverTheRootOfTheArea) {
  const TTransDescriptor* dct = registry_.FindTransformation(1, 2);
  ASSERT_NE(dct, nullptr);
  ASSERT_NE(+dct->QuantWeight, nullptr);
  for (TBlockSize size : {TBlockSize{8, 8}, TBlockSize{16, 8}, TBlockSize{4, 4},
                          TBlockSize{64, 32}, TBlockSize{1, 2}}) {
    const double root = std::sqrt(double(size.W) * size.H);
    for (uint32_t v = 0; v < size.H; ++v) {
      for (uint32_t u = 0; u < size.W; ++u) {
        ASSERT_EQ(hartley_->QuantWeight(u, v, size.W, size.H),
                  dct->QuantWeight(u, v, size.W, size.H) / root)
            << size.W << "x" << size.H << " u=" << u << " v=" << v;
      }
    }
  }
}

TEST_F(HartleyTest, QuantWeightLookUpMovesTheSelectionToDct) {
  registry_.FindTransformation(2, 3);
  ASSERT_EQ(registry_.SelModuleCode, 2);
  hartley_->QuantWeight(0, 0, 8, 8);
  EXPECT_EQ(registry_.SelModuleCode, 1);
  EXPECT_EQ(registry_.SelTransCode, 2);
  EXPECT_EQ(registry_.SelTransName, "DCT II");
}

TEST_F(HartleyTest, QuantWeightWithoutDctIsTheScaledUnitStep) {
  // Keeps the library mapped while the registry lets go of every module.
  TLibraryReference library(folder_.Path() + "tr_veska.so");
  registry_.UnloadModules();
  EXPECT_EQ(hartley_->QuantWeight(3, 1, 8, 8), 1.0 / 8.0);
  EXPECT_EQ(hartley_->QuantWeight(0, 0, 16, 4), 1.0 / 8.0);
}

// Lowers the address-space limit to a little above what the process uses, so
// that the next large allocation fails.
void LimitAddressSpace() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0;
  statm >> pages;
  const rlim_t limit = pages * sysconf(_SC_PAGESIZE) + (16u << 20);
  const rlimit bound{limit, limit};
  setrlimit(RLIMIT_AS, &bound);
}

using HartleyDeathTest = HartleyTest;

TEST_F(HartleyDeathTest, BasisNormsOutOfMemoryFailsDoneInsteadOfEndingTheProcess) {
  const auto run = [this] {
    alarm(60);  // a limit that does not bite must not hang the test
    constexpr uint32_t kSide = 4096;  // 128 MiB for the slot's own table
    hartley_->Init(kSide, kSide);
    TShapeData mask(size_t{kSide} * kSide);
    TShapeData norms(mask.size());
    LimitAddressSpace();
    hartley_->BasisNorms(mask.data(), norms.data());
    std::_Exit(hartley_->Done() == 1 && hartley_->LastError == 1 ? 3 : 4);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(3), "^Can't allocate memory\n$");
}

TEST_F(HartleyDeathTest, TransformOutOfMemoryReportsAndFailsDone) {
  const auto run = [this] {
    alarm(60);
    constexpr uint32_t kLength = 1u << 24;  // two 128 MiB line buffers
    hartley_->Init(kLength, 1);
    TShapeData line(kLength);
    LimitAddressSpace();
    const uint8_t status = hartley_->Transform(0, line.data());
    std::_Exit(status == 1 && hartley_->LastError == 1 && hartley_->Done() == 1 ? 3 : 4);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(3), "^Error: Not enough memory\n$");
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return output;
}

TEST(HartleyLibraryTest, ExportsOnlyGetModuleHeader) {
  std::istringstream lines(CommandOutput("nm -D --defined-only " + kVeskaModule));
  std::vector<std::string> symbols;
  for (std::string address, type, name; lines >> address >> type >> name;) {
    symbols.push_back(type + " " + name);
  }
  EXPECT_EQ(symbols, std::vector<std::string>{"T GetModuleHeader"});
}

TEST(HartleyLibraryTest, NeedsNothingButTheCLibraries) {
  std::istringstream lines(CommandOutput("readelf -d " + kVeskaModule));
  std::vector<std::string> needed;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("(NEEDED)") == std::string::npos) continue;
    const size_t open = line.find('[');
    needed.push_back(line.substr(open + 1, line.find(']') - open - 1));
  }
  ASSERT_FALSE(needed.empty());
  for (const std::string& library : needed) {
    EXPECT_TRUE(library == "libc.so.6" || library == "libm.so.6") << library;
  }
}

}  // namespace
}  // namespace tvlc
