#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "base/ReplaceFile.h"
#include "base/Unprivileged.h"

namespace tvlc {
namespace {

namespace fs = std::filesystem;

std::string Content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

mode_t Mode(const fs::path& path) {
  struct stat s {};
  EXPECT_EQ(::stat(path.c_str(), &s), 0) << path;
  return s.st_mode & 07777;
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tvlc_write_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    // Reachable by the unprivileged child of the permission tests.
    fs::permissions(folder_, fs::perms(0755));
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms(0755));
    fs::remove_all(folder_);
  }
  fs::path In(const std::string& name) const { return folder_ / name; }
  // Nothing but the listed names: no temporary file left behind.
  void ExpectOnly(std::vector<std::string> names) const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(found, names);
  }

  fs::path folder_;
};

TEST_F(ReplaceFileTest, NewFileGetsTheContentAndTheUsualMode) {
  const mode_t mask = ::umask(022);
  ReplaceFile(In("new.txt"), std::string("line\r\n\0binary", 14));
  ::umask(mask);
  EXPECT_EQ(Content(In("new.txt")), std::string("line\r\n\0binary", 14));
  EXPECT_EQ(Mode(In("new.txt")), 0644u);
  ExpectOnly({"new.txt"});
}

TEST_F(ReplaceFileTest, AFailedWriteLeavesTheOldFileByteForByte) {
  const std::string precious("precious\0bytes", 14);
  Put(In("precious.bmp"), precious);
  EXPECT_THROW(ReplaceFile(In("precious.bmp"),
                           [](std::ostream& out) {
                             out << "half a file";
                             throw std::runtime_error("refused half-way");
                           }),
               std::runtime_error);
  EXPECT_EQ(Content(In("precious.bmp")), precious);
  ExpectOnly({"precious.bmp"});

  // A stream that goes bad is a failure too.
  EXPECT_THROW(
      ReplaceFile(In("precious.bmp"), [](std::ostream& out) { out.setstate(std::ios::badbit); }),
      TFileWriteError);
  EXPECT_EQ(Content(In("precious.bmp")), precious);
  ExpectOnly({"precious.bmp"});
}

TEST_F(ReplaceFileTest, ALinkIsFollowedAndStaysALink) {
  fs::create_directory(In("real"));
  Put(In("real/target.bmp"), "old");
  fs::permissions(In("real/target.bmp"), fs::perms(0604));
  fs::create_symlink("real/target.bmp", In("relative"));
  fs::create_symlink(In("relative"), In("chain"));  // absolute link to a link

  ReplaceFile(In("chain"), std::string("new content"));
  EXPECT_TRUE(fs::is_symlink(In("chain")));
  EXPECT_TRUE(fs::is_symlink(In("relative")));
  EXPECT_EQ(fs::read_symlink(In("relative")), "real/target.bmp");
  EXPECT_EQ(Content(In("real/target.bmp")), "new content");
  EXPECT_EQ(Mode(In("real/target.bmp")), 0604u);
  ExpectOnly({"chain", "real", "relative"});

  // A link to a file that does not exist yet creates the file.
  fs::create_symlink("real/later.bmp", In("dangling"));
  ReplaceFile(In("dangling"), std::string("created"));
  EXPECT_TRUE(fs::is_symlink(In("dangling")));
  EXPECT_EQ(Content(In("real/later.bmp")), "created");
}

TEST_F(ReplaceFileTest, TheOldPermissionsAreKept) {
  for (mode_t mode : {0600u, 0640u, 0755u, 0666u}) {
    Put(In("kept.txt"), "old");
    fs::permissions(In("kept.txt"), fs::perms(mode));
    ReplaceFile(In("kept.txt"), std::string("new"));
    EXPECT_EQ(Mode(In("kept.txt")), mode);
    EXPECT_EQ(Content(In("kept.txt")), "new");
  }
}

TEST_F(ReplaceFileTest, PipesAndDevicesAreWrittenDirectly) {
  ASSERT_EQ(::mkfifo(In("pipe").c_str(), 0600), 0);
  // A reader must be there before a writer can open the pipe.
  const int reader = ::open(In("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ReplaceFile(In("pipe"), std::string("through the pipe"));
  char text[64] = {};
  EXPECT_EQ(::read(reader, text, sizeof text), 16);
  ::close(reader);
  EXPECT_EQ(std::string(text), "through the pipe");
  EXPECT_TRUE(fs::is_fifo(In("pipe")));
  ExpectOnly({"pipe"});

  ReplaceFile("/dev/null", std::string("gone"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ReplaceFileTest, WhatCannotBeReplacedIsRefusedWithAReason) {
  const auto message = [](const std::string& path, const std::string& bytes) -> std::string {
    try {
      ReplaceFile(path, bytes);
    } catch (const TFileWriteError& e) {
      return e.what();
    }
    return "written";
  };
  fs::create_directory(In("folder"));
  EXPECT_EQ(message(In("folder"), "x"),
            "cannot write file " + In("folder").string() + ": it is a folder");
  EXPECT_EQ(message(In("missing/x.bmp"), "x"), "cannot write file " + In("missing/x.bmp").string() +
                                                   ": folder " + In("missing").string() +
                                                   " does not exist");
  EXPECT_EQ(message("", "x"), "cannot write a file without a name");
  ExpectOnly({"folder"});
}

TEST_F(ReplaceFileTest, AnUnwritableFolderOrFileIsRefusedBeforeAnythingIsCreated) {
  // The file itself may be written by anyone; its folder may not.
  fs::create_directory(In("locked"));
  Put(In("locked/precious.bmp"), "precious");
  fs::permissions(In("locked/precious.bmp"), fs::perms(0666));
  fs::permissions(In("locked"), fs::perms(0555));
  // The folder may be written by anyone; the file is protected.
  fs::create_directory(In("open"));
  fs::permissions(In("open"), fs::perms(0777));
  Put(In("open/readonly.txt"), "keep");
  fs::permissions(In("open/readonly.txt"), fs::perms(0444));
  const std::string locked = In("locked").string();
  const std::string readonly = In("open/readonly.txt").string();
  EXPECT_UNPRIVILEGED([&] {
    const auto refused = [](const std::string& path, const std::string& reason) {
      try {
        ReplaceFile(path, [](std::ostream&) { std::cerr << "the content was asked for\n"; });
      } catch (const TFileWriteError& e) {
        if (e.what() == "cannot write file " + path + ": " + reason) return true;
        std::cerr << "message: " << e.what() << "\n";
        return false;
      }
      std::cerr << "written: " << path << "\n";
      return false;
    };
    const std::string folderReason = "folder " + locked + " is not writable (Permission denied)";
    return refused(locked + "/precious.bmp", folderReason) &&
           refused(locked + "/new.bmp", folderReason) &&
           refused(readonly, "the file is write-protected (Permission denied)");
  }());
  EXPECT_EQ(Content(In("locked/precious.bmp")), "precious");
  EXPECT_EQ(Content(In("open/readonly.txt")), "keep");
  fs::permissions(In("locked"), fs::perms(0755));
  EXPECT_EQ(std::distance(fs::directory_iterator(In("locked")), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(In("open")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tvlc
