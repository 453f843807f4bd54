// Every file command goes through the one safe writer: a refused or failed
// write leaves the user's file as it was, and the reason is logged.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "CoreFixture.h"
#include "base/Unprivileged.h"
#include "model/Bmp.h"

namespace tvlc::testing {
namespace {

namespace fs = std::filesystem;

const std::string kPrecious("BM precious\0 bytes", 18);

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

using RefusedWriteTest = CoreTest;

TEST_F(RefusedWriteTest, ImageCommandsWithoutAnImageLeaveTheFileUntouched) {
  using TCommand = bool (TMainCore::*)(const std::string&);
  for (TCommand command : {&TMainCore::SavePicture1Click, &TMainCore::SaveMap1Click,
                           &TMainCore::SaveDecodedPicture1Click,
                           &TMainCore::SaveSpectrumPicture1Click, &TMainCore::MenuItem1Click}) {
    Put("precious.bmp", kPrecious);
    const size_t mark = core.Log.Lines().size();
    EXPECT_FALSE((core.*command)("precious.bmp"));
    EXPECT_EQ(LinesSince(mark),
              (std::vector<std::string>{
                  "[12:00:00] Error: Image size not supported by bitmap files (0 x 0)", ""}));
    EXPECT_EQ(Content("precious.bmp"), kPrecious);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST_F(RefusedWriteTest, SavingThroughALinkReplacesItsTargetAndKeepsTheMode) {
  ASSERT_TRUE(core.LoadPicture1Click(TestData("pictures/camera_64x48.bmp")));
  fs::create_directory("pictures");
  Put("pictures/picture.bmp", kPrecious);
  fs::permissions("pictures/picture.bmp", fs::perms(0640));
  fs::create_symlink("pictures/picture.bmp", "link.bmp");
  ASSERT_TRUE(core.SavePicture1Click("link.bmp"));
  EXPECT_TRUE(fs::is_symlink("link.bmp"));
  EXPECT_EQ(ReadBmpFile("pictures/picture.bmp"), core.Picture);
  EXPECT_EQ(fs::status("pictures/picture.bmp").permissions(), fs::perms(0640));
}

TEST_F(RefusedWriteTest, AnUnwritableFolderIsRefusedWithAClearLine) {
  fs::create_directory("locked");
  Put("locked/session.log", kPrecious);
  fs::permissions("locked/session.log", fs::perms(0666));  // only the folder is locked
  fs::permissions(".", fs::perms(0755));
  fs::permissions("locked", fs::perms(0555));
  core.AddLog("a line to save");
  EXPECT_UNPRIVILEGED([this] {
    const size_t mark = core.Log.Lines().size();
    const bool saved = core.SaveLog1Click("locked/session.log");
    const std::vector<std::string> lines = LinesSince(mark);
    const std::vector<std::string> expected = {
        "[12:00:00] Error: cannot write file locked/session.log: folder locked is not writable "
        "(Permission denied)",
        ""};
    for (const std::string& line : lines) std::cerr << line << "\n";
    return !saved && lines == expected;
  }());
  EXPECT_EQ(Content("locked/session.log"), kPrecious);
  fs::permissions("locked", fs::perms(0755));
}

}  // namespace
}  // namespace tvlc::testing
