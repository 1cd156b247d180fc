#include "framework/app/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "framework/app/Buffer.h"
#include "framework/app/ZingAppBase.h"

#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

namespace {

using Zing::Buffer;
using ZingTest::TempFolder;

std::vector<std::uint8_t> Bytes(const Buffer& b) { return {b.GetDataPtr(), b.GetDataPtr() + b.GetDataLen()}; }

TEST(Buffer, WholeBytesAreLittleEndianAndStringsCarryTheirLength) {
  Buffer b;
  b.WriteByte(0xAB);
  b.WriteShort(-2);
  b.WriteLong(0x12345678);
  b.WriteBoolean(true);
  b.WriteBoolean(false);
  b.WriteString("abc");
  b.WriteShort(-5);  // a length below zero reads as empty text
  b.WriteString("");
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{0xAB, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 1, 0, 3, 0, 'a', 'b', 'c',
                                                 0xFB, 0xFF, 0, 0}));
  // Fields read in order; a short sign-extends when widened.
  const std::tuple read{b.ReadByte(),    std::int32_t{b.ReadShort()},
                        b.ReadLong(),    b.ReadBoolean(),
                        b.ReadBoolean(), b.ReadString(),
                        b.ReadString(),  b.ReadString(),
                        b.AtEnd()};
  EXPECT_EQ(read, std::tuple(0xAB, -2, 0x12345678, true, false, "abc", "", "", true));
}

TEST(Buffer, ReadsPastTheEndGiveZeroAndDoNotAdvance) {
  Buffer b;
  const std::uint8_t bytes[] = {4, 0, 'h', 'i'};
  b.SetData(bytes, sizeof bytes);
  // A length that runs past the end reads what is there, then zero bytes.
  EXPECT_EQ(b.ReadString(), std::string("hi\0\0", 4));
  b.SeekFront();
  EXPECT_EQ(b.ReadShort(), 4);
  EXPECT_EQ(b.ReadLong(), 'h' | 'i' << 8);
  EXPECT_EQ((std::tuple{b.GetReadBitPos(), b.ReadByte(), b.ReadShort()}), std::tuple(32, 0, 0));
  EXPECT_EQ(b.GetReadBitPos(), 32);
  std::uint8_t filled[3] = {9, 9, 9};
  b.ReadBytes(filled, 3);
  EXPECT_EQ(filled[0] | filled[1] | filled[2], 0);
  Buffer empty;
  EXPECT_EQ(empty.GetDataPtr(), nullptr);
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_EQ(empty.ReadNumBits(12, true), 0);
  // New data keeps the positions; clearing resets them.
  b.Clear();
  b.WriteLong(7);
  b.ReadByte();
  const std::uint8_t three[] = {1, 2, 3};
  b.SetData(three, 3);
  EXPECT_EQ(std::tuple(b.GetDataBitSize(), b.GetWriteBitPos(), b.ReadByte()), std::tuple(24, 32, 2));
  b.Clear();
  EXPECT_EQ(std::tuple(b.GetDataLen(), b.GetReadBitPos(), b.GetWriteBitPos()), std::tuple(0u, 0, 0));
  b.WriteByte(5);
  EXPECT_EQ(Bytes(b), std::vector<std::uint8_t>{5});
}

TEST(Buffer, BitsAtUnalignedPositions) {
  Buffer b;
  b.WriteNumBits(0b101, 3);
  b.WriteByte(0xC3);  // straddles bytes 0 and 1
  b.WriteShort(0x1234);
  b.WriteNumBits(-3, 5);
  EXPECT_EQ(b.GetDataBitSize(), 3 + 8 + 16 + 5);
  // Bits are numbered from the least significant bit of byte 0 upward.
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{0b101 | (0xC3 << 3 & 0xFF), (0xC3 >> 5) | (0x34 << 3 & 0xFF),
                                                 (0x34 >> 5) | (0x12 << 3 & 0xFF), (0x12 >> 5) | (0b11101 << 3)}));
  EXPECT_EQ(b.ReadNumBits(3, false), 0b101);
  EXPECT_EQ(b.ReadByte(), 0xC3);
  EXPECT_EQ(b.ReadShort(), 0x1234);
  EXPECT_EQ(b.ReadNumBits(5, true), -3);  // sign extension from bit 4
  EXPECT_TRUE(b.AtEnd());
  b.SeekFront();
  EXPECT_EQ(b.ReadNumBits(3, true), -3);  // 0b101 read signed
  EXPECT_EQ(b.GetWriteBitPos(), 32);      // reading never moves the write position
  b.SeekFront();
  EXPECT_EQ(b.ReadNumBits(32, true), static_cast<std::int32_t>(0xE891A61Du));
  // A read of more than 32 bits passes over the rest: bit 32 is not bit 0.
  const std::uint8_t wide[] = {0xFE, 0xFF, 0xFF, 0xFF, 0x01};
  b.SetData(wide, 5);
  b.SeekFront();
  EXPECT_EQ(b.ReadNumBits(33, false), static_cast<std::int32_t>(0xFFFFFFFEu));
  EXPECT_EQ(b.GetReadBitPos(), 33);
  // An unaligned byte read needs the following byte; bit reads stop early at
  // the end and count only the bits read.
  const std::uint8_t one[] = {0xFF};
  b.SetData(one, 1);
  b.SeekFront();
  b.ReadNumBits(1, false);
  EXPECT_EQ(b.ReadByte(), 0);
  EXPECT_EQ(b.GetReadBitPos(), 1);
  b.ReadNumBits(3, false);
  EXPECT_EQ(b.ReadNumBits(8, false), 0x0F);
  EXPECT_EQ(b.GetReadBitPos(), 8);
}

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
