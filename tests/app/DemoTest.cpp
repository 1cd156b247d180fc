// The bytes and files under the saved data and demos: the buffer's bit and byte layout, whole-file
// writes that keep what was there when they fail; demo files and the command line: the bit layout
// of events and of the file, every refusal of a damaged file, the options with their quoting and
// numbered files, and a scripted run on the window-less platform (pointer, drags, keys, a dialog
// answered in its nested wait, settings, loading) recorded and played back to the same result.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/app/Buffer.h"
#include "framework/app/DemoEvents.h"
#include "framework/app/DemoFile.h"
#include "framework/app/FileAccess.h"
#include "framework/app/ZingAppBase.h"
#include "framework/platform/FileSystem.h"
#include "framework/platform/NullPlatform.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/Widget.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NullApp.h"
#include "tests/support/TempFolder.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using Zing::Buffer, Zing::DemoEvent, Zing::DemoEventKind, Zing::DemoEventReader, Zing::MakeDemoEvent;
using Zing::Platform::MessageCode, Zing::Platform::NullServices;
using Strings = std::vector<std::string>;

std::vector<std::uint8_t> Bytes(const Buffer& b) { return {b.GetDataPtr(), b.GetDataPtr() + b.GetDataLen()}; }

// A fresh buffer holding `size` bytes, read from the front.
Buffer BufferOf(const void* data, std::size_t size) {
  Buffer b;
  b.SetData(data, size);
  return b;
}

TEST(Buffer, WholeBytesAreLittleEndianAndStringsCarryTheirLength) {
  Buffer b;
  b.WriteByte(0xAB);
  b.WriteShort(-2);
  b.WriteLong(0x12345678);
  for (bool v : {true, false}) b.WriteBoolean(v);
  b.WriteString("abc");
  b.WriteShort(-5);  // a length below zero reads as empty text
  b.WriteString("");
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{0xAB, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 1, 0, 3, 0, 'a', 'b', 'c',
                                                 0xFB, 0xFF, 0, 0}));
  // Fields read in order; a short sign-extends when widened.
  EXPECT_EQ((std::tuple{b.ReadByte(), std::int32_t{b.ReadShort()}, b.ReadLong(), b.ReadBoolean(), b.ReadBoolean(),
                        b.ReadString(), b.ReadString(), b.ReadString(), b.AtEnd()}),
            std::tuple(0xAB, -2, 0x12345678, true, false, "abc", "", "", true));
  // Past the end, reads give zero and do not advance; a length that runs past
  // the end reads what is there, then zero bytes.
  const std::uint8_t bytes[] = {4, 0, 'h', 'i'};
  b = BufferOf(bytes, sizeof bytes);
  EXPECT_EQ(b.ReadString(), std::string("hi\0\0", 4));
  b.SeekFront();
  EXPECT_EQ(
      (std::tuple{b.ReadShort(), b.ReadLong(), b.GetReadBitPos(), b.ReadByte(), b.ReadShort(), b.GetReadBitPos()}),
      std::tuple(4, 'h' | 'i' << 8, 32, 0, 0, 32));
  std::uint8_t filled[3] = {9, 9, 9};
  b.ReadBytes(filled, 3);
  EXPECT_EQ(filled[0] | filled[1] | filled[2], 0);
  EXPECT_EQ(std::tuple(Buffer().GetDataPtr(), Buffer().AtEnd(), Buffer().ReadNumBits(12, true)),
            std::tuple(nullptr, true, 0));  // an empty buffer
  // New data keeps the positions; clearing resets them.
  b.Clear();
  b.WriteLong(7);
  b.ReadByte();
  const std::uint8_t three[] = {1, 2, 3};
  b.SetData(three, 3);
  EXPECT_EQ(std::tuple(b.GetDataBitSize(), b.GetWriteBitPos(), b.ReadByte()), std::tuple(24, 32, 2));
  b.Clear();
  EXPECT_EQ((std::tuple{b.GetDataLen(), b.GetReadBitPos(), b.GetWriteBitPos(), (b.WriteByte(5), Bytes(b))}),
            std::tuple(0u, 0, 0, std::vector<std::uint8_t>{5}));
}

TEST(Buffer, BitsAtUnalignedPositions) {
  // Whole bytes and shorts after any number of bits read back as written.
  for (int bits = 0; bits < 8; ++bits) {
    Buffer u;
    u.WriteNumBits(-1, bits);
    u.WriteByte(0xC3);
    u.WriteShort(0x1234);
    u.ReadNumBits(bits, false);
    EXPECT_EQ((std::tuple{u.ReadByte(), u.ReadShort(), u.AtEnd()}), std::tuple(0xC3, 0x1234, true)) << bits;
  }
  Buffer b;
  b.WriteNumBits(0b101, 3);
  b.WriteByte(0xC3);  // straddles bytes 0 and 1
  b.WriteShort(0x1234);
  b.WriteNumBits(-3, 5);
  // Bits are numbered from the least significant bit of byte 0 upward.
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{0b101 | (0xC3 << 3 & 0xFF), (0xC3 >> 5) | (0x34 << 3 & 0xFF),
                                                 (0x34 >> 5) | (0x12 << 3 & 0xFF), (0x12 >> 5) | (0b11101 << 3)}));
  EXPECT_EQ(
      (std::tuple{b.GetDataBitSize(), b.ReadNumBits(3, false), b.ReadByte(), b.ReadShort(), b.ReadNumBits(5, true)}),
      std::tuple(32, 0b101, 0xC3, 0x1234, -3));  // sign extension from bit 4
  // 0b101 read signed; reading never moves the write position.
  EXPECT_EQ((std::tuple{(b.SeekFront(), b.ReadNumBits(3, true)), b.GetWriteBitPos(),
                        (b.SeekFront(), b.ReadNumBits(32, true))}),
            std::tuple(-3, 32, static_cast<std::int32_t>(0xE891A61Du)));
  // A read of more than 32 bits passes over the rest: bit 32 is not bit 0.
  const std::uint8_t wide[] = {0xFE, 0xFF, 0xFF, 0xFF, 0x01};
  b = BufferOf(wide, 5);
  EXPECT_EQ((std::pair{b.ReadNumBits(33, false), b.GetReadBitPos()}),
            std::pair(static_cast<std::int32_t>(0xFFFFFFFEu), 33));
  // An unaligned byte read needs the following byte; bit reads stop early at the end and count only the bits read.
  const std::uint8_t one[] = {0xFF};
  b = BufferOf(one, 1);
  EXPECT_EQ((std::pair{(b.ReadNumBits(1, false), int{b.ReadByte()}), b.GetReadBitPos()}), std::pair(0, 1));
  EXPECT_EQ((std::pair{(b.ReadNumBits(3, false), b.ReadNumBits(8, false)), b.GetReadBitPos()}), std::pair(0x0F, 8));
}

TEST(FileAccess, WriteCreatesMissingFoldersAndReadsBack) {
  ZingTest::TempFolder dir;
  // The game names its files with backslashes; the disk sees slashes.
  const std::string path = dir.Path() + "\\save\\deep\\game.dat";
  Zing::Buffer out;
  out.WriteString("hello");
  out.WriteLong(-1);
  ASSERT_TRUE(Zing::WriteBufferToFile(path, out));
  EXPECT_TRUE(dir.Exists("save/deep/game.dat") && Zing::FileExists(path));
  Zing::Buffer in;
  in.WriteString("old contents");
  ASSERT_TRUE(Zing::ReadBufferFromFile(path, in));
  EXPECT_EQ((std::tuple{in.GetDataLen(), in.ReadString(), in.ReadLong()}), std::tuple(out.GetDataLen(), "hello", -1));
  // Writing again replaces the whole file, also with fewer bytes, and leaves no temporary files behind.
  ASSERT_TRUE(Zing::WriteBytesToFile(path, "ab", 2));
  using Files = std::filesystem::directory_iterator;
  EXPECT_EQ(std::pair(dir.Read("save/deep/game.dat"), std::distance(Files(dir.File("save/deep")), Files())),
            std::pair(std::string("ab"), std::ptrdiff_t{1}));
  ASSERT_TRUE(Zing::WriteBytesToFile(path, nullptr, 0));
  EXPECT_TRUE(Zing::ReadBufferFromFile(path, in) && in.GetDataLen() == 0u);
}

TEST(FileAccess, FailedReadsAndWritesKeepWhatWasThere) {
  ZingTest::TempFolder dir;
  dir.Write("score.dat", "previous scores");
  // Missing, or a folder (on a memory disk not even seekable to its end): the buffer stays as it was.
  Zing::Buffer buffer;
  buffer.WriteString("kept");
  dir.Write("taken/inner", "x");
  dir.Write("huge.dat", "");  // larger than any buffer: refused before it is read
  std::filesystem::resize_file(dir.File("huge.dat"), Zing::Buffer::kMaxBytes + 1);
  EXPECT_FALSE(Zing::FileExists(dir.File("missing.dat")) || Zing::ReadBufferFromFile(dir.File("missing.dat"), buffer) ||
               Zing::ReadBufferFromFile(dir.File("taken"), buffer) || Zing::ReadBufferFromFile("/dev/shm", buffer) ||
               Zing::ReadBufferFromFile(dir.File("huge.dat"), buffer));
  EXPECT_EQ(buffer.ReadString(), "kept");
  // A file where a folder should be on the way creates nothing; a folder as the target survives the failed rename.
  dir.Write("blocked", "a file");
  EXPECT_TRUE(!Zing::WriteBytesToFile(dir.File("blocked/score.dat"), "x", 1) &&
              !Zing::WriteBytesToFile(dir.File("taken"), "x", 1) && dir.Read("taken/inner") == "x");
  // The disk fills up in the middle of the write.
  bool written;
  {
    ZingTest::FileSizeLimit full(4096);
    ASSERT_TRUE(full.Active());
    const std::string large(64 * 1024, 'z');
    written = Zing::WriteBytesToFile(dir.File("score.dat"), large.data(), large.size());
  }
  // Only score.dat, huge.dat, blocked and taken: no temporary file left.
  EXPECT_EQ(
      std::tuple(written, dir.Read("score.dat"),
                 std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator())),
      std::tuple(false, std::string("previous scores"), std::ptrdiff_t{4}));
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

TEST(FileAccess, NewFilesAndFoldersFollowTheUmask) {
  ZingTest::TempFolder dir;
  const mode_t saved = umask(027);
  const std::string folder = dir.File("save"), file = folder + "/deep/game.dat";
  ASSERT_TRUE(Zing::WriteBytesToFile(file, "x", 1));
  umask(saved);
  EXPECT_EQ(std::tuple(ModeOf(file), ModeOf(folder), ModeOf(folder + "/deep")), std::tuple(0640u, 0750u, 0750u));
  // A replaced file keeps the mode it had; the save folder is never opened to others.
  ASSERT_EQ(chmod(file.c_str(), 0604), 0);
  ASSERT_TRUE(Zing::WriteBytesToFile(file, "yz", 2));
  EXPECT_EQ((std::tuple{ModeOf(file), Zing::ZingAppBase::AllowAllAccess(folder), ModeOf(folder)}),
            std::tuple(0604u, true, 0750u));
}

std::vector<DemoEvent> ReadAll(const Buffer& events, DemoEventReader::Status* status = nullptr) {
  DemoEventReader reader(events);
  std::vector<DemoEvent> out;
  DemoEvent event;
  while (reader.Next(event)) out.push_back(event);
  EXPECT_FALSE(reader.Next(event));  // a reader that has stopped stays stopped
  if (status != nullptr) *status = reader.GetStatus();
  return out;
}

DemoEvent At(int update, DemoEventKind kind, bool flag = false, int value = 0) {
  DemoEvent event = MakeDemoEvent(kind, flag, value);
  event.update = update;
  return event;
}

TEST(DemoEvents, EveryKindSurvivesTheBitStreamAndLongPausesBecomePadding) {
  using K = DemoEventKind;
  using Zing::Platform::SettingsValue;
  // Leaving, entering and loading go through the recorded run below; 0x20AC is a wide character.
  const std::tuple<int, DemoEventKind, bool, int> table[] = {
      {0, K::PointerStep, false, 0},    {3, K::PointerTo, false, 0},    {3, K::Button, true, 1},
      {3, K::Button, true, 2},          {3, K::Button, true, -1},       {3, K::Button, true, -2},
      {3, K::Button, true, 3},          {4, K::Button, false, -1},      {5, K::Activate, true, 0},
      {5, K::Minimize, true, 0},        {6, K::KeyDown, false, 255},    {6, K::KeyUp, false, 13},
      {7, K::Char, false, 0xE9},        {7, K::Char, false, 0x20AC},    {9, K::SettingsRead, true, 0},
      {9, K::SettingsRead, true, 0},    {9, K::SettingsRead, false, 0}, {10, K::SettingsWrite, true, 0},
      {10, K::SettingsWrite, false, 0}, {11, K::Wheel, false, -3},      {12, K::DisplayMode, true, 144},
      {12, K::PointerTo, false, 0},     {12, K::SettingsRead, true, 0}, {1000, K::Close, false, 0}};
  std::vector<DemoEvent> events;
  for (const auto& [update, kind, flag, value] : table) events.push_back(At(update, kind, flag, value));
  // The pointer's payloads at their limits, and the values of the two settings reads.
  std::tie(events[0].x, events[0].y, events[1].x, events[1].y) = std::tuple(-31, -31, 639, -5);
  std::tie(events[21].x, events[21].y) = std::pair(-2048, 2047);
  events[14].setting = SettingsValue::String("fr");
  events[22].setting = SettingsValue::String("");  // an empty value is a value
  events[15].setting = SettingsValue::Dword(0xDEADBEEE);
  Zing::DemoEventWriter writer;
  for (const DemoEvent& e : events) writer.Write(e);
  DemoEventReader::Status status;
  const std::vector<DemoEvent> back = ReadAll(writer.GetBuffer(), &status);
  EXPECT_EQ(status, DemoEventReader::Status::End);
  auto fields = [](const std::vector<DemoEvent>& list) {
    std::vector<std::tuple<DemoEventKind, int, int, int, int, bool, std::string, std::uint32_t>> out;
    for (const DemoEvent& e : list)
      out.emplace_back(e.kind, e.update, e.x, e.y, e.value, e.flag, e.setting.text, e.setting.number);
    return out;
  };
  EXPECT_EQ(fields(back), fields(events));
  // A pause of 40 updates: two padding events (kind 31) of 15, then a timing block of 10. Every
  // event: a 4-bit gap and a 1-bit short flag; a short kind of 1 bit (a pointer step of two 6-bit
  // steps, a button's press flag and 3-bit click), a long one of 5 (a wheel's 8 bits, a wide
  // character's flag and 16 bits, a setting's flag, 8-bit type, 32-bit length, bytes).
  Zing::DemoEventWriter layout;
  DemoEvent step = At(41, K::PointerStep);
  std::tie(step.x, step.y) = std::pair(-2, 3);
  DemoEvent setting = At(41, K::SettingsRead, true);
  setting.setting = SettingsValue::Dword(0x0102);
  for (const DemoEvent& e : {MakeDemoEvent(K::Close), At(40, K::Close), step, At(41, K::Button, true, -1),
                             At(41, K::Wheel, false, -3), At(41, K::Char, false, 0x20AC), setting})
    layout.Write(e);
  Buffer bits = layout.GetBuffer();
  bits.SeekFront();
  const std::pair<int, int> wire[] = {{0, 4},  {0, 1}, {6, 5}, {15, 4},      {0, 1}, {31, 5}, {15, 4}, {0, 1},  {31, 5},
                                      {10, 4}, {0, 1}, {6, 5}, {1, 4},       {1, 1}, {0, 1},  {-2, 6}, {3, 6},  {0, 4},
                                      {1, 1},  {1, 1}, {1, 1}, {-1, 3},      {0, 4}, {0, 1},  {21, 5}, {-3, 8}, {0, 4},
                                      {0, 1},  {5, 5}, {1, 1}, {0x20AC, 16}, {0, 4}, {0, 1},  {11, 5}, {1, 1},  {1, 8},
                                      {4, 32}, {2, 8}, {1, 8}, {0, 8},       {0, 8}};
  for (const auto& [value, width] : wire) EXPECT_EQ(bits.ReadNumBits(width, value < 0), value) << width;
  EXPECT_EQ(bits.GetReadBitPos(), bits.GetDataBitSize());
}

TEST(DemoEvents, DamagedStreamsStopWithAReason) {
  auto stream = [](std::initializer_list<std::pair<int, int>> fields) {
    Buffer b;
    for (auto [value, bits] : fields) b.WriteNumBits(value, bits);
    return b;
  };
  DemoEventReader::Status status;
  // An unknown long kind, a button with click code 0, the release of a left or right double click,
  // a settings value longer than the stream, a 32-bit setting of 3 bytes, events cut in the middle.
  const Buffer cases[] = {
      stream({{0, 4}, {0, 1}, {10, 5}}),
      stream({{0, 4}, {1, 1}, {1, 1}, {1, 1}, {0, 3}}),
      stream({{0, 4}, {1, 1}, {1, 1}, {0, 1}, {2, 3}}),
      stream({{0, 4}, {1, 1}, {1, 1}, {0, 1}, {-2, 3}}),
      stream({{0, 4}, {0, 1}, {11, 5}, {1, 1}, {0, 8}, {8, 32}, {0, 56}}),
      stream({{0, 4}, {0, 1}, {11, 5}, {1, 1}, {1, 8}, {3, 32}, {0, 24}}),
      stream({{0, 4}, {0, 1}, {0, 5}, {7, 12}, {0, 4}}),
      stream({{0, 4}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}),
      stream({{0, 4}, {0, 1}, {5, 5}, {1, 1}, {0, 12}}),           // a wide character cut short
      stream({{0, 4}, {1, 1}, {0, 1}, {-2, 6}}),                   // a pointer step cut after its x
      stream({{0, 4}, {0, 1}, {23, 5}, {1, 1}}),                   // a display mode cut after its flag
      stream({{0, 4}, {0, 1}, {11, 5}, {1, 1}, {0, 8}, {0, 20}}),  // a settings read cut in its length
  };
  for (const Buffer& damaged : cases)  // nothing read, and the reason said
    EXPECT_EQ((std::pair{ReadAll(damaged, &status).size(), status}), std::pair(0ul, DemoEventReader::Status::Damaged));
  for (std::uint32_t length : {Zing::kDemoMaxSettingBytes, Zing::kDemoMaxSettingBytes + 1}) {  // all there
    Buffer b = stream({{0, 4}, {0, 1}, {11, 5}, {1, 1}, {0, 8}, {static_cast<int>(length), 32}});
    for (std::uint32_t i = 0; i < length; ++i) b.WriteNumBits(0, 8);
    EXPECT_EQ(ReadAll(b, &status).size(), length == Zing::kDemoMaxSettingBytes ? 1u : 0u);  // at most 1 MB
  }
  // Fewer than 8 zero bits after the last event fill its byte: the end; 8 are damage.
  for (int padding : {7, 8}) {
    const auto read = ReadAll(stream({{0, 4}, {0, 1}, {6, 5}, {0, 4}, {0, 1}, {1, 5}, {1, 1}, {0, padding}}), &status);
    EXPECT_EQ(
        std::pair(read.size(), status),
        std::pair(std::size_t{2}, padding == 7 ? DemoEventReader::Status::End : DemoEventReader::Status::Damaged));
  }
}

Buffer SampleEvents() {
  Zing::DemoEventWriter writer;
  writer.Write(MakeDemoEvent(DemoEventKind::Close));
  return writer.GetBuffer();
}

Buffer SampleDemo(const std::string& version = "1.0.3") {
  Zing::DemoFileContents contents;
  contents.seed = 0x01020304;
  contents.versionText = version;
  contents.markers = {{"start", 0}, {"level 2", 1234}};
  contents.demoLength = 2000;
  contents.events = SampleEvents();
  return Zing::FormatDemoFile(contents);
}

TEST(DemoFile, LayoutAndEveryRefusal) {
  const Buffer file = SampleDemo();
  const std::uint8_t* b = file.GetDataPtr();
  const std::vector<std::uint8_t> head(b, b + 19);
  EXPECT_EQ(head,
            (std::vector<std::uint8_t>{0x78, 0xEF, 0xBE, 0x42, 2, 0, 0, 0, 4, 3, 2, 1, 5, 0, '1', '.', '0', '.', '3'}));
  Zing::DemoFileContents contents;
  ASSERT_EQ(Zing::ParseDemoFile(file, "1.0.3", contents), "");
  EXPECT_EQ(std::tuple(contents.seed, contents.demoLength, contents.markers.size(), contents.markers.at(1).name,
                       contents.markers.at(1).update),
            std::tuple(0x01020304u, 2000, 2u, "level 2", 1234));
  EXPECT_EQ(Zing::ParseDemoFile(SampleDemo("V1.0.3"), "v1.0.3", contents), "");  // letter case aside
  auto patched = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> bytes(file.GetDataPtr(), file.GetDataPtr() + file.GetDataLen());
    bytes[at] = value;
    return BufferOf(bytes.data(), bytes.size());
  };
  auto truncated = [&](std::size_t size) { return BufferOf(b, size); };
  // The version is read up to the very last byte of the data, and refused first.
  EXPECT_EQ(Zing::ParseDemoFile(truncated(19), "1.0.2", contents), "This demo file appears to be for '1.0.3'");
  // The first layout has no marker block.
  const std::size_t events = file.GetDataLen() - SampleEvents().GetDataLen();
  auto version1 = [&](std::size_t eventBytes) {
    std::vector<std::uint8_t> bytes(b, b + 19);
    bytes[4] = 1;
    bytes.insert(bytes.end(), b + events - 4, b + events + eventBytes);
    return BufferOf(bytes.data(), bytes.size());
  };
  ASSERT_EQ(Zing::ParseDemoFile(version1(SampleEvents().GetDataLen()), "1.0.3", contents), "");
  EXPECT_EQ(std::tuple(contents.demoLength, contents.markers.size()), std::tuple(2000, 0u));
  // A wrong mark, a format of the past or the future, a marker block too large, more markers than fit or than there
  // are, a name past the block, a negative length, no events, cuts anywhere in the head or in a long version text.
  std::vector<std::uint8_t> longText = Bytes(SampleDemo(std::string(255, 'v')));
  longText[13] = 1;  // 511 long: past the 255 kept, the rest runs past the end
  for (const Buffer& damaged :
       {patched(0, 0x79), patched(4, 0), patched(4, 3), patched(20, 0x7F), patched(23, 9), patched(23, 3),
        patched(38, 30), patched(events - 1, 0x80), truncated(events), version1(0), truncated(events - 2), truncated(0),
        truncated(3), truncated(10), truncated(17), BufferOf(longText.data(), longText.size())}) {
    EXPECT_EQ(Zing::ParseDemoFile(damaged, "1.0.3", contents), "Invalid demo file.");
  }
  // Another version and a missing file are refused by the start-up below.
  EXPECT_EQ(Zing::FormatDemoTime(100 * 3723, 10) + Zing::FormatDemoTime(1000, 1) + Zing::FormatDemoTime(0, 1000),
            "01:02:0300:00:0100:00:00");
}

TEST(CommandLine, SplittingFollowsQuotesAndTheFirstEqualsSign) {
  Strings split;
  for (const auto& param : Zing::SplitCommandLine("  -Play \"-demofile=my demo.dmo\" -x=a=b -y=\"c d\" =lost  "))
    split.push_back(param.name + "|" + param.value);
  EXPECT_EQ(split, (Strings{"-Play|", "-demofile|my demo.dmo", "-x|a=b", "-y|c d"}));
}

// ---------------------------------------------------------------- the application

// Releases scripted input when the simulated clock reaches its time.
class ScriptedServices : public ZingTest::GuardedServices {
 public:
  std::multimap<std::uint32_t, std::function<void()>> script;
  bool PollMessage(Zing::Platform::WindowMessage& message) override {
    while (!script.empty() && script.begin()->first <= clock) {
      auto action = script.begin()->second;
      script.erase(script.begin());
      action();
    }
    return GuardedServices::PollMessage(message);
  }
  void At(std::uint32_t time, MessageCode code, int param = 0, int x = 0, int y = 0) {
    script.emplace(time, [=, this] { Inject(code, param, x, y); });
  }
};

// Writes down everything that reaches its full-screen probe, one line per update in between, so that a playback must
// match the recording update for update. Drawing is left out: a fast-forward skips it.
class DemoApp : public ZingTest::NullApp<> {
 public:
  using NullApp::cursorThreadRunning;
  DemoApp(ScriptedServices* nullServices, const std::string& arguments)
      : NullApp(nullServices), scripted(nullServices) {
    registryKey = "ZingTest\\Demo";
    productVersion = "1.0.3";
    commandLine = arguments;
    autoStartLoadingThread = true;
    probe.onUpdate = [this] {
      if (updateCount % 37 == 0) log.Add("random " + std::to_string(Rand() % 1000));
    };
    probe.onChar = [this](char c) {
      if (c == 'l') {  // the language changes
        RegistryWriteString("Locale", "fr");
        LogLocale();
      } else if (c == 'd') {  // a question, answered inside its own wait
        Zing::Dialog* dialog = DoDialog(4, true, "QUIT", "Really?", "", Zing::Dialog::BUTTONS_YES_NO);
        log.Add("asked");
        log.Add(dialog->WaitForResult(true) == Zing::Dialog::ID_YES ? "result yes" : "result other");
      }
    };
  }
  ~DemoApp() override { widgetManager->RemoveWidget(&probe); }
  using ZingAppBase::demoFastForwarding, ZingAppBase::demoNextEvent, ZingAppBase::ReplayDemoEvents;
  using ZingAppBase::StatisticsLines;
  void InitHook() override {
    widgetManager->AddWidget(&probe);
    widgetManager->SetFocus(&probe);
    LogLocale();
  }
  void LogLocale() {
    std::string locale = "none";
    RegistryReadString("Locale", locale);
    log.Add("locale " + locale);
  }
  void LoadingThreadProc() override { std::this_thread::sleep_for(std::chrono::milliseconds(loadingMs)); }
  void LoadingThreadCompleted() override { log.Add("loaded"); }
  void ButtonDepress(int id) override {
    log.Add("answer " + std::to_string(id));
    RegistryWriteInteger("Answer", id);
  }
  Strings Events() const {
    Strings events = log.lines;
    std::erase_if(events, [](const std::string& line) { return line.starts_with("p:draw"); });
    return events;
  }
  ScriptedServices* scripted;  // owned by the application
  WidgetTest::EventLog log;
  WidgetTest::ProbeWidget probe{"p", &log, 0, 0, 640, 480};
  int loadingMs = 0;
};

struct DemoRun : ::testing::Test {
  ZingTest::TempFolder home;
  std::string folder;
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    folder = home.Path() + "/data/";
    Zing::Platform::CreateFolders(folder);
  }
  // The machine's own language setting, outside any run.
  std::string Locale(const std::string& change = "") {
    Zing::SettingsStore store(home.Path());
    store.SetRegistryKey("ZingTest\\Demo");
    if (!change.empty()) store.RegistryWriteString("Locale", change);
    std::string locale;
    store.RegistryReadString("Locale", locale);
    return locale;
  }
  // An application for these arguments, started (initialised) when asked.
  std::unique_ptr<DemoApp> Make(const std::string& arguments, bool start = false) {
    auto* services = new ScriptedServices;
    services->appDataFolder = folder;
    auto app = std::make_unique<DemoApp>(services, arguments);
    if (start) app->Init();
    return app;
  }
  // Runs the whole program; the number of loop steps is bounded.
  static void Run(DemoApp& app) {
    app.Init();
    if (!app.shutdown) app.Run();
  }
  // The player's session: pointer, a drag, double clicks, a middle click, the wheel (120 notches; 200, kept as 127),
  // keys, leaving (out of focus, minimised) and entering, the language, a dialog, a long pause, close.
  static void Script(ScriptedServices* s) {
    using M = MessageCode;
    const std::tuple<std::uint32_t, MessageCode, int, int, int> input[] = {
        {1090, M::MouseMove, 0, 10, 10},    {1095, M::MouseMove, 0, 12, 12},  // steps near the corner
        {1100, M::MouseMove, 0, 100, 100},  {1130, M::LButtonDown, 0, 104, 102}, {1150, M::MouseMove, 0, 130, 120},
        {1170, M::MouseMove, 0, 400, 300},  {1190, M::LButtonUp, 0, 400, 300},   {1250, M::RButtonDblClk, 0, 400, 300},
        {1260, M::RButtonUp, 0, 400, 300},  {1270, M::MButtonDown, 0, 400, 300}, {1280, M::MButtonUp, 0, 400, 300},
        {1290, M::LButtonDblClk, 0, 9, 9},  {1295, M::LButtonUp, 0, 9, 9},       {1298, M::MouseWheel, 14400, 0, 0},
        {1300, M::MouseWheel, 24000, 0, 0}, {1350, M::KeyDown, 'A', 0, 0},       {1350, M::Char, 'a', 0, 0},
        {1360, M::KeyUp, 'A', 0, 0},        {1600, M::Char, 'l', 0, 0},          {1700, M::Char, 'd', 0, 0},
        {2400, M::Close, 0, 0, 0}};
    for (const auto& [time, code, param, x, y] : input) s->At(time, code, param, x, y);
    for (const MessageCode code : {M::RButtonDown, M::RButtonUp}) s->At(1240, code, 0, 400, 300);  // a right click
    s->pointerInWindow = true;
    // Loading has ended before the player starts (however busy the machine).
    s->script.emplace(1000, [] {
      while (!Zing::GetApp()->loadingThreadCompleted) std::this_thread::yield();
      EXPECT_FALSE(static_cast<DemoApp*>(Zing::GetApp())->cursorThreadRunning);  // the platform follows the pointer
    });
    s->script.emplace(1400, [s] { s->pointerInWindow = false, s->Inject(M::ActivateApp, 0), s->Inject(M::Size, 1); });
    s->script.emplace(1500, [s] { s->pointerInWindow = true, s->Inject(M::ActivateApp, 1), s->Inject(M::Size, 0); });
    s->script.emplace(1800, [s] {  // the yes button, inside the question's wait
      Zing::Dialog* dialog = Zing::GetApp()->GetDialog(4);
      if (dialog == nullptr) return;
      const Zing::Widget* yes = dialog->yesButton.get();
      for (MessageCode code : {M::MouseMove, M::LButtonDown, M::LButtonUp})
        s->Inject(code, 0, yes->x + yes->width / 2, yes->y + 4);
    });
  }
};

TEST_F(DemoRun, AScriptedRunPlaysBackExactlyWithSettingsFromTheDemo) {
  Locale("en");
  auto recorder = Make("-RECORD \"-demofile=my run.dmo\"");
  Script(recorder->scripted);
  Run(*recorder);
  const Strings recorded = recorder->Events();
  // Its closing statistics give its length on the clock, from 1000 ms to the close at 2400.
  EXPECT_EQ(std::ranges::count(recorder->scripted->debugLines, "Seconds       = 1.4\r\n"), 1);
  recorder.reset();  // writes the demo
  ASSERT_TRUE(Zing::FileExists(folder + "my run.dmo"));
  // The run saw what the script did.
  for (const char* mark :
       {"locale en", "p:move 100,100", "p:down 104,102 b0 c1", "p:drag 400,300", "p:down 400,300 b1 c2",
        "p:up 400,300 b2", "p:down 9,9 b0 c2", "p:wheel 120", "p:wheel 127", "p:keydown 65", "p:char 97", "p:leave",
        "locale fr", "asked", "answer 2004", "result yes", "loaded", "random "}) {
    EXPECT_TRUE(std::ranges::any_of(recorded, [&](const std::string& line) {
      return line.find(mark) != std::string::npos;
    })) << mark;
  }
  // The machine's settings change; the playback must not see it, nor change them.
  Locale("de");
  auto player = Make("-play -demofile=\"" + folder + "my run.dmo\"");
  player->scripted->clock = 50000;  // another start time: the seed comes from the demo
  player->loadingMs = 30;           // loading takes longer this time: updates wait for it
  Run(*player);
  EXPECT_TRUE(player->exits.empty() && player->closeRequested && player->scripted->messageBoxes.empty());
  EXPECT_EQ(std::pair(player->Events(), Locale()), std::pair(recorded, std::string("de")));
  // The wait for loading is not owed afterwards: on the clock the playback lasts as long as the recording.
  EXPECT_EQ(std::ranges::count(player->scripted->debugLines, "Seconds       = 1.39\r\n"), 1);
  // Fast-forwarding to the end gives the same run in one go, without a paced wait; the player's close ends it halfway.
  for (const int key : {int{'M'}, 0}) {
    auto fast = Make("-play \"-demofile=my run.dmo\"");
    fast->scripted->threads = key == 0;  // without threads, the fast-forward loads in slices too
    fast->scripted->At(1000, key != 0 ? MessageCode::Char : MessageCode::Close, key);
    Run(*fast);
    EXPECT_EQ(std::tuple(fast->Events() == recorded, fast->closeRequested, fast->updateCount < fast->demoLength,
                         fast->sleepCount == 0),
              std::tuple(key != 0, true, key == 0, true));
  }
  // A demo cut short plays up to the cut and then ends the run cleanly.
  Buffer file;
  ASSERT_TRUE(Zing::ReadBufferFromFile(folder + "my run.dmo", file));
  for (std::size_t cutBytes : {1u, 5u, 40u}) {
    ASSERT_TRUE(Zing::WriteBytesToFile(folder + "cut.dmo", file.GetDataPtr(), file.GetDataLen() - cutBytes));
    auto cut = Make("-play -demofile=cut.dmo");
    cut->scripted->threads = cutBytes != 5;  // without threads, loading runs in slices on the loop
    Run(*cut);
    EXPECT_TRUE(cut->shutdown && cut->exits.empty()) << cutBytes;
    // It plays as recorded at least up to the language change.
    const Strings played = cut->Events();
    const auto same = std::mismatch(played.begin(), played.end(), recorded.begin(), recorded.end()).first;
    EXPECT_GE(same - played.begin(), 81) << cutBytes;
    // Where the cut falls depends on when loading ended in the recording: a
    // cut inside an event says so, one between events says nothing.
    for (const std::string& box : cut->scripted->messageBoxes)
      EXPECT_TRUE(box.starts_with("Demo: The demo file is damaged: the event stream ends inside an event")) << box;
  }
}

TEST_F(DemoRun, PlaybackKeysPauseStepAndJump) {
  auto recorder = Make("-record");
  recorder->scripted->At(21000, MessageCode::Close);
  recorder->autoStartLoadingThread = false;  // the playback below runs without Run
  recorder->Init();
  recorder->AddDemoMarker("start");
  recorder->Run();
  const int length = recorder->updateCount;
  recorder.reset();
  EXPECT_TRUE(Zing::FileExists(folder + "zingapp.dmo"));
  auto player = Make("-play", true);
  ASSERT_TRUE(player->playingDemo && player->showFPS);  // the time line shows from the start
  EXPECT_EQ(player->demoLength, length);
  auto other = Make("-play", true);  // a settings access waits at its own update, and is dropped once it has passed
  for (const int behind : {0, 1}) {
    other->demoNextEvent = At(other->updateCount - behind, DemoEventKind::SettingsRead, true, 77);
    other->ReplayDemoEvents();
    EXPECT_EQ(other->demoNextEvent && other->demoNextEvent->value == 77, behind == 0);
  }
  std::string extra = "kept";  // a write and a read the recording does not hold: written as if, and not read
  EXPECT_EQ((std::tuple{other->RegistryWriteString("Extra", "x"), other->RegistryReadString("Extra", extra), extra}),
            std::tuple(true, false, "kept"));
  const auto keys = [&](std::string_view typed) {
    for (char c : typed) player->HandleDemoPlaybackKey(c);
  };
  keys("j99999999\rpn");  // a time of more digits than any demo is refused
  const int before = player->updateCount;
  player->DrawDirtyWidgets();  // the first frame: the step's own is due only to the step
  const int shown = player->scripted->presents;
  player->running = true;
  for (int i = 0; i < 10; ++i) player->UpdateAppStep(nullptr);
  // Paused: one single step, and its frame is shown.
  EXPECT_EQ(std::pair(player->updateCount, player->scripted->presents), std::pair(before + 1, shown + 1));
  keys("PNP");  // N outside a pause leaves no step for the next one
  for (int i = 0; i < 10; ++i) player->UpdateAppStep(nullptr);
  EXPECT_EQ(player->updateCount, before + 1);
  // Typed keys, then the speed, the jump target and the end of the demo's line: speeds by half again, jumps from the
  // end (a point behind is ignored), and the time box that takes digits and colons, 12 at most.
  const std::string end = " / " + Zing::FormatDemoTime(length, 10);
  const int back = length - 1200;  // "4" at 10 updates a second: 120 s back is in the demo
  player->frameTime = 1, player->demoLength = 9000000, keys("9");  // of 1-ms updates, 5 s are 5000
  EXPECT_EQ(player->demoJumpTarget, 9000000 - 5000);
  player->demoLength = length, player->frameTime = 100, keys("4"), player->frameTime = 10;
  const std::tuple<std::string, double, int, std::string> typed[] = {{"P+", 1.5, back, end + "  x1.50"},
                                                                     {"--", 1 / 1.5, back, end + "  x0.67"},
                                                                     {"=P", 1.0, back, end + "  paused"},
                                                                     {"P34", 1.0, back, end},
                                                                     {"8", 1.0, length - 1000, end},
                                                                     {"9", 1.0, length - 500, end},
                                                                     {"0", 1.0, length, end},
                                                                     {"j1:0x\b", 1.0, length, "Jump To Time: 1:_"},
                                                                     {"\x1b+", 1.5, length, end + "  x1.50"},
                                                                     {"j9999990\r", 1.5, 999999000, end + "  x1.50"},
                                                                     {"=j1:00:00\r", 1.0, 360000, end},
                                                                     {"j::\rj0000000000002\r", 1.0, 360000, end},
                                                                     {"j000000000003\r", 1.0, 300, end},
                                                                     {"j0:02\r", 1.0, 200, end}};
  for (const auto& [text, speed, target, line] : typed) {
    keys(text);
    EXPECT_EQ(std::tuple(player->updateMultiplier, player->demoJumpTarget), std::tuple(speed, target)) << text;
    EXPECT_TRUE(player->StatisticsLines().back().ends_with(line)) << player->StatisticsLines().back();
  }
  std::pair<int, int> mutes;  // while fast-forwarding: the program's own mute, as for a lost focus
  for (int step = 0; step < 1000 && (step == 0 || player->demoFastForwarding); ++step) {
    player->UpdateApp();
    if (step == 0) mutes = {player->muteCount, player->autoMuteCount};
    player->scripted->Advance(step == 0 ? 20 : 5);  // fast-forwarding takes time: its last update comes 1 s in
  }
  // The jump ends on its very update, and shows the screen once a second on the way (after the step above).
  EXPECT_EQ(std::pair(player->updateCount, player->scripted->presents - shown), std::pair(200, 2));
  // The time it took is not owed afterwards, and the sound is as it was.
  const std::uint32_t until = player->scripted->clock + 100;
  while (player->scripted->clock < until && !player->shutdown) player->UpdateApp();
  EXPECT_EQ(std::tuple(player->updateCount, player->muteCount, player->autoMuteCount, mutes),
            std::tuple(210, 0, 0, std::pair(1, 1)));
  keys("P");  // nor is the time of a pause
  for (int i = 0; i < 10; ++i) player->UpdateAppStep(nullptr);
  keys("P");
  for (const std::uint32_t stop = player->scripted->clock + 100; player->scripted->clock < stop;) player->UpdateApp();
  EXPECT_EQ(player->updateCount, 221);  // ten, and the one owed when the pause began
  const double muted = (keys("s"), player->GetMusicVolume());
  keys("Sl");
  EXPECT_EQ(std::tuple(muted, player->GetMusicVolume(), player->scripted->messageBoxes),
            std::tuple(0.0, 0.85, Strings{"Marker List: 00:00:00  start\n"}));
  const double sfx = (player->SetMusicVolume(0), player->GetSfxVolume());  // the music off: the key silences the rest
  EXPECT_EQ((keys("s"), std::pair{player->GetSfxVolume(), (keys("s"), player->GetSfxVolume())}), std::pair(0.0, sfx));
  while (!player->shutdown) player->UpdateApp();
  player->frameTime = 1, keys("j1:00\rj27777:46:41\r");  // a minute of 1-ms updates; a second past 10^8 s is refused
  EXPECT_EQ(std::tuple(player->updateCount, player->scripted->messageBoxes.size(), player->demoJumpTarget),
            std::tuple(length, 1u, 60000));
  keys("j27777:46:40\r");  // 10^8 seconds of 1-ms updates: held at the largest count
  EXPECT_EQ(player->demoJumpTarget, std::numeric_limits<int>::max());
}

TEST_F(DemoRun, OptionsNumberedFilesAndRefusals) {
  for (int n = 1; n <= 5; ++n)
    ASSERT_TRUE(Zing::WriteBytesToFile(folder + "zingapp" + std::to_string(n) + ".dmo", "x", 1));
  // Only the prefix, a number from 1 written plainly and ".dmo" make a numbered demo.
  for (const char* other : {"zingapp0.dmo", "zingapp07.dmo", "zingappx.dmo", "zingapp.dmo", "zingapp5.txt",
                            "other9.dmo", "zingapp8.dmo/inner", "zingapp1234567890.dmo"})
    ASSERT_TRUE(Zing::WriteBytesToFile(folder + other, "x", 1));
  auto app = Make("");
  app->appDataFolder = folder;
  EXPECT_EQ(app->FindNumberedDemos(), (std::vector<int>{1, 2, 3, 4, 5}));
  app->ParseCommandLine("-recnum=3");  // three kept: the oldest goes (one a run)
  EXPECT_EQ(std::tuple(Zing::FileExists(folder + "zingapp1.dmo"), app->demoFileName, app->recordingDemo),
            std::tuple(false, folder + "zingapp6.dmo", true));
  for (const auto& [option, played] : {std::pair{"-PlayNum=2", "4"}, {"-playnum=1", "5"}}) {  // 1: the newest
    app->ParseCommandLine(option);
    EXPECT_EQ(std::tuple(app->demoFileName, app->playingDemo, app->recordingDemo),
              std::tuple(folder + "zingapp" + played + ".dmo", true, false));
  }
  // No number (not digits only, or below 1) keeps the default five, so four stay; one, and three of three, drop one.
  for (const char* kept : {"-recnum=2x", "-recnum=0", "-recnum=1", "-recnum=3"}) app->ParseCommandLine(kept);
  EXPECT_EQ(app->FindNumberedDemos(), (std::vector<int>{4, 5}));
  app->ParseCommandLine("-demofile=\"/tmp/a b.dmo\" -ScreenSaver -crash -changedir=\"/tmp/a folder\"");
  EXPECT_EQ(std::tuple(app->demoFileName, app->changeDirTarget, app->isScreenSaver, app->exits.empty()),
            std::tuple("/tmp/a b.dmo", "/tmp/a folder", true, true));
  // A name from the root (either slash) stands as it is; any other is in the data folder.
  for (const auto& [name, path] : {std::pair<std::string, std::string>{"\\x.dmo", "\\x.dmo"}, {"x", folder + "x"}}) {
    app->ParseCommandLine("-demofile=" + name);
    EXPECT_EQ(app->demoFileName, path);
  }
  app->isScreenSaver = false;
  app->ParseCommandLine("-bogus=1");
  EXPECT_EQ(std::tuple(app->exits, app->scripted->messageBoxes.back()),
            std::tuple(std::vector<int>{0}, "FATAL ERROR: Invalid command line parameter: -bogus"));
  // A demo of another version, and one that is not there, stop the start.
  ASSERT_TRUE(Zing::WriteBufferToFile(folder + "old.dmo", SampleDemo("1.0.2")));
  auto old = Make("-play -demofile=old.dmo", true);
  EXPECT_EQ(std::tuple(old->exits, old->scripted->messageBoxes.back()),
            std::tuple(std::vector<int>{0}, "FATAL ERROR: This demo file appears to be for '1.0.2'"));
  // Damaged events stop the playback where they start, with the reason.
  Zing::DemoFileContents damaged;
  damaged.versionText = "1.0.3";
  damaged.demoLength = 2000;
  damaged.events.WriteNumBits(10 << 5, 10);
  ASSERT_TRUE(Zing::WriteBufferToFile(folder + "bad.dmo", Zing::FormatDemoFile(damaged)));
  auto bad = Make("-play -demofile=bad.dmo");
  Run(*bad);
  EXPECT_EQ(std::tuple(bad->updateCount, bad->scripted->messageBoxes),
            std::tuple(0, Strings{"Demo: The demo file is damaged: unknown event kind 10 (at bit 0). Playback stops at "
                                  "00:00:00."}));
  // Played characters outside 1 to 255 are not typed; Enter while the menu
  // key is held switches the screen mode, and reaches the game once it is up;
  // past its last event the playback ends on the recording's last update.
  damaged.events.Clear();
  Zing::DemoEventWriter typed;
  typed.Write(MakeDemoEvent(DemoEventKind::DisplayMode, true, 0));  // a rate of 0 keeps the display's own
  for (int c : {0x20AC, 0, int{'z'}}) typed.Write(MakeDemoEvent(DemoEventKind::Char, false, c));
  const int alt = Zing::KEYCODE_MENU, enter = Zing::KEYCODE_RETURN, ctrl = Zing::KEYCODE_CONTROL;
  for (const auto& [down, key] :
       {std::pair(true, alt), {true, enter}, {false, alt}, {true, enter}, {true, ctrl}, {false, alt}})
    typed.Write(MakeDemoEvent(down ? DemoEventKind::KeyDown : DemoEventKind::KeyUp, false, key));
  damaged.events = typed.GetBuffer();
  ASSERT_TRUE(Zing::WriteBufferToFile(folder + "typed.dmo", Zing::FormatDemoFile(damaged)));
  auto chars = Make("-play -demofile=typed.dmo");
  Run(*chars);
  EXPECT_EQ(std::tuple(chars->log.With("p:char"), chars->updateCount, chars->refreshRate),
            std::tuple(Strings{"p:char 122"}, 2000, 100));
  EXPECT_EQ(std::pair(chars->log.With("p:keydown"), chars->ctrlDown),
            std::pair(Strings{"p:keydown 18", "p:keydown 13", "p:keydown 17"}, true));
  auto missing = Make("-playnum=123456789", true);  // nine digits are a number, ten are none
  EXPECT_EQ(missing->scripted->messageBoxes.back(),
            "FATAL ERROR: Demo file not found: " + folder + "zingapp-123456783.dmo");
  // --version and --help answer on standard output before anything else.
  testing::internal::CaptureStdout();
  auto info = Make("-bogus --Version", true);
  EXPECT_EQ(std::tuple(testing::internal::GetCapturedStdout(), info->exits, info->scripted->windowExists,
                       info->scripted->messageBoxes.empty()),
            std::tuple("Product 1.0.3\n", std::vector<int>{0}, false, true));
  testing::internal::CaptureStdout();
  auto help = Make("--help", true);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("-recnum=N"), std::string::npos);
}

}  // namespace
