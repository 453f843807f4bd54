#include <gtest/gtest.h>

#include <cstring>

#include "transform/DCTII.h"
#include "transform/FFTModule.h"
#include "transform/InternalModule.h"

namespace tvlc {
namespace {

TEST(InternalModuleTest, HeaderFields) {
  const TModuleHeader* header = InternalModuleHeader();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(+header->InterfaceVersion, 0x0100);
  EXPECT_STREQ(+header->Name, "Internal Transformations");
  EXPECT_STREQ(+header->Description, "Built-in internal transformations");
  ASSERT_NE(+header->Author, nullptr);
  const char* lineBreak = std::strstr(header->Author, "\r\n");
  ASSERT_NE(lineBreak, nullptr);
  EXPECT_GT(lineBreak, +header->Author);
  EXPECT_GT(std::strlen(lineBreak + 2), 0u);
  EXPECT_EQ(+header->ModuleCode, 1);
  EXPECT_EQ(+header->ModuleVersion, 0x0100);
  EXPECT_EQ(+header->LibHandle, nullptr);
  ASSERT_NE(+header->ModuleInit, nullptr);
  ASSERT_NE(+header->ModuleDone, nullptr);
  header->ModuleInit();
  header->ModuleDone();
  EXPECT_EQ(InternalModuleHeader(), header);
}

TEST(InternalModuleTest, TransformationsByIndex) {
  const TModuleHeader* header = InternalModuleHeader();
  ASSERT_NE(+header->GetTransformation, nullptr);
  EXPECT_EQ(header->GetTransformation(0), DctIIDescriptor());
  EXPECT_EQ(header->GetTransformation(1), FftDescriptor());
  EXPECT_EQ(header->GetTransformation(2), nullptr);
  EXPECT_EQ(header->GetTransformation(-1), nullptr);
  EXPECT_EQ(+header->GetTransformation(0)->TransCode, kDctTransCode);
  EXPECT_EQ(+header->GetTransformation(1)->TransCode, kFftTransCode);
}

}  // namespace
}  // namespace tvlc
