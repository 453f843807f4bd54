#include <gtest/gtest.h>

#include "RunCli.h"

namespace tvlc::testing {
namespace {

TEST(CliModules, CsvListsEveryTransformationInOrder) {
  const TCliRun run = RunCli("modules --csv");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "module_code,module_name,module_version,trans_code,trans_name,trans_version,listed\n"
            "1,Internal Transformations,1.0,2,DCT II,1.0,1\n"
            "1,Internal Transformations,1.0,1,FFT,1.0,0\n"
            "2,External module,0.9,3,Hartley transformation,0.9,1\n");
}

TEST(CliModules, TableMarksUnlistedTransformations) {
  const TCliRun run = RunCli("modules");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("  1:1  FFT (version 1.0) [not listed]\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("External module (code 2, version 0.9)\n"), std::string::npos);
  EXPECT_EQ(RunCli("modules extra").status, 2);
}

}  // namespace
}  // namespace tvlc::testing
