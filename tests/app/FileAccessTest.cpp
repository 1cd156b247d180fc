#include "framework/app/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "framework/app/ZingAppBase.h"

#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

namespace {

using ZingTest::TempFolder;

TEST(FileAccess, WriteCreatesMissingFoldersAndReadsBack) {
  TempFolder dir;
  // The game names its files with backslashes; the disk sees slashes.
  const std::string path = dir.Path() + "\\save\\deep\\game.dat";
  Zing::Buffer out;
  out.WriteString("hello");
  out.WriteLong(-1);
  ASSERT_TRUE(Zing::WriteBufferToFile(path, out));
  EXPECT_TRUE(dir.Exists("save/deep/game.dat"));

  EXPECT_TRUE(Zing::FileExists(path));
  Zing::Buffer in;
  in.WriteString("old contents");
  ASSERT_TRUE(Zing::ReadBufferFromFile(path, in));
  EXPECT_EQ(in.GetDataLen(), out.GetDataLen());
  EXPECT_EQ(in.ReadString(), "hello");
  EXPECT_EQ(in.ReadLong(), -1);

  // Writing again replaces the whole file, also with fewer bytes, and leaves
  // no temporary files behind.
  ASSERT_TRUE(Zing::WriteBytesToFile(path, "ab", 2));
  EXPECT_EQ(dir.Read("save/deep/game.dat"), "ab");
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(dir.File("save/deep")), std::filesystem::directory_iterator()),
      1);

  ASSERT_TRUE(Zing::WriteBytesToFile(path, nullptr, 0));
  EXPECT_EQ(dir.Read("save/deep/game.dat"), "");
  ASSERT_TRUE(Zing::ReadBufferFromFile(path, in));
  EXPECT_EQ(in.GetDataLen(), 0u);
}

TEST(FileAccess, FailedReadsAndWritesKeepWhatWasThere) {
  TempFolder dir;
  dir.Write("score.dat", "previous scores");
  // Missing, or a folder that opens like a file but cannot be read: the
  // buffer stays as it was.
  Zing::Buffer buffer;
  buffer.WriteString("kept");
  EXPECT_FALSE(Zing::FileExists(dir.File("missing.dat")));
  EXPECT_FALSE(Zing::ReadBufferFromFile(dir.File("missing.dat"), buffer));
  dir.Write("taken/inner", "x");
  EXPECT_FALSE(Zing::ReadBufferFromFile(dir.File("taken"), buffer));
  EXPECT_EQ(buffer.ReadString(), "kept");

  // A folder on the way that is a file: nothing can be created.
  dir.Write("blocked", "a file");
  EXPECT_FALSE(Zing::WriteBytesToFile(dir.File("blocked/score.dat"), "x", 1));

  // The target itself is a folder: the rename fails and the folder survives.
  EXPECT_FALSE(Zing::WriteBytesToFile(dir.File("taken"), "x", 1));
  EXPECT_EQ(dir.Read("taken/inner"), "x");

  // The disk fills up in the middle of the write.
  bool written;
  {
    ZingTest::FileSizeLimit full(4096);
    ASSERT_TRUE(full.Active());
    const std::string large(64 * 1024, 'z');
    written = Zing::WriteBytesToFile(dir.File("score.dat"), large.data(), large.size());
  }

  EXPECT_FALSE(written);
  EXPECT_EQ(dir.Read("score.dat"), "previous scores");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
            3);  // score.dat, blocked, taken: no temporary file left
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(FileAccess, NewFilesAndFoldersFollowTheUmask) {
  TempFolder dir;
  const mode_t saved = umask(0);
  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    umask(mask);
    const std::string folder = dir.File("save" + std::to_string(mask));
    ASSERT_TRUE(Zing::WriteBytesToFile(folder + "/deep/game.dat", "x", 1));
    EXPECT_EQ(ModeOf(folder + "/deep/game.dat"), 0666 & ~mask) << "umask " << mask;
    EXPECT_EQ(ModeOf(folder), 0777 & ~mask) << "umask " << mask;
    EXPECT_EQ(ModeOf(folder + "/deep"), 0777 & ~mask) << "umask " << mask;
  }
  umask(saved);

  // A replaced file keeps the mode it had; the save folder is never opened to others.
  const std::string file = dir.File("save63/deep/game.dat");
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(Zing::WriteBytesToFile(file, "yz", 2));
  EXPECT_EQ(ModeOf(file), 0640u);
  EXPECT_TRUE(Zing::ZingAppBase::AllowAllAccess(dir.File("save63")));
  EXPECT_EQ(ModeOf(dir.File("save63")), 0700u);
}

}  // namespace
