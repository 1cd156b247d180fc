#include "framework/resource/PakFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resource/PakTestArchive.h"

namespace {

using ZingTest::Keyed;
using ZingTest::MakeArchive;
using ZingTest::PlainArchive;

bool Read(const std::string& archive, std::vector<Zing::Pak::Entry>& entries, std::string& error) {
  return Zing::Pak::ReadDirectory(reinterpret_cast<const unsigned char*>(archive.data()), archive.size(), entries,
                                  error);
}

TEST(PakFormat, LayoutOfHeaderDirectoryAndContentsAllKeyed) {
  const std::string plain = PlainArchive({{"a/b", "xyz", 0x0102030405060708}, {"c", "", 0}});
  const std::string expected = std::string("\xC0\x4A\xC0\xBA\0\0\0\0", 8) +  // magic, version
                               std::string(
                                   "\0\x03"
                                   "a/b\x03\0\0\0\x08\x07\x06\x05\x04\x03\x02\x01",
                                   17) +
                               std::string(
                                   "\0\x01"
                                   "c\0\0\0\0\0\0\0\0\0\0\0\0",
                                   15) +
                               "\x80" + "xyz";
  EXPECT_EQ(plain, expected);
  // Every byte is keyed; plain bytes are not an archive.
  const std::string keyed = Keyed(plain);
  for (std::size_t i = 0; i < plain.size(); ++i)
    EXPECT_EQ(std::uint8_t(keyed[i]), std::uint8_t(plain[i]) ^ Zing::Pak::kKey);

  std::vector<Zing::Pak::Entry> entries;
  std::string error;
  EXPECT_FALSE(Read(plain, entries, error));
  ASSERT_TRUE(Read(keyed, entries, error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "a/b");
  EXPECT_EQ(entries[0].start, 8u + 17 + 15 + 1);
  EXPECT_EQ(entries[0].size, 3u);
  EXPECT_EQ(entries[0].time, 0x0102030405060708);
  EXPECT_EQ(entries[1].start, entries[0].start + 3);
  EXPECT_EQ(entries[1].size, 0u);
}

TEST(PakFormat, DamagedArchivesAreRefusedAsAWhole) {
  const std::string good = PlainArchive({{"first", "1111", 0}, {"second", "22", 0}});
  const std::size_t firstEntry = 8, secondEntry = 8 + 2 + 5 + 12, end = secondEntry + 2 + 6 + 12;
  struct Case {
    const char* what;
    std::string plain;
  };
  std::vector<Case> cases = {
      {"empty file", ""},
      {"truncated header", good.substr(0, 7)},
      {"header only", good.substr(0, 8)},
      {"wrong magic", std::string("\xC1") + good.substr(1)},
      {"wrong version", good.substr(0, 4) + std::string("\x01\0\0\0", 4) + good.substr(8)},
      {"entry cut in its name", good.substr(0, firstEntry + 4)},
      {"entry cut in its size", good.substr(0, firstEntry + 2 + 5 + 2)},
      {"missing end flag", good.substr(0, end)},
      {"contents cut short", good.substr(0, good.size() - 1)},
  };
  std::string zeroName = good;
  zeroName[secondEntry + 1] = '\0';
  cases.push_back({"name of length 0", zeroName});
  std::string huge = good;
  huge[secondEntry + 2 + 6 + 3] = '\x7F';  // the second size runs far past the end
  cases.push_back({"size past the end", huge});
  std::string longName = good;
  longName[secondEntry + 1] = '\xFF';
  cases.push_back({"name length past the end", longName});

  for (const Case& c : cases) {
    std::vector<Zing::Pak::Entry> entries{Zing::Pak::Entry{}};
    std::string error;
    EXPECT_FALSE(Read(Keyed(c.plain), entries, error)) << c.what;
    EXPECT_TRUE(entries.empty()) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }

  // Bytes after the contents are no damage.
  std::vector<Zing::Pak::Entry> entries;
  std::string error;
  EXPECT_TRUE(Read(Keyed(good + "trailing"), entries, error)) << error;
  EXPECT_EQ(entries.size(), 2u);
}

TEST(PakFormat, NamesMustFitTheirLengthByte) {
  std::string out, error;
  for (const std::size_t length : {0, 1, 255, 256}) {
    Zing::Pak::Entry entry;
    entry.name = std::string(length, 'n');
    EXPECT_EQ(Zing::Pak::WriteDirectory({entry}, out, error), length == 1 || length == 255) << length;
  }
}

TEST(PakFormat, TimesConvertBetweenEpochs) {
  EXPECT_EQ(Zing::Pak::TimeFromUnixNanoseconds(0), 116444736000000000);
  EXPECT_EQ(Zing::Pak::TimeFromUnixNanoseconds(1'500'000'000'123'456'700), 116444736000000000 + 15'000'000'001'234'567);
  EXPECT_EQ(Zing::Pak::UnixNanosecondsFromTime(116444736000000000 + 15'000'000'001'234'567), 1'500'000'000'123'456'700);
  // Absurd times from a damaged archive do not overflow.
  EXPECT_LT(Zing::Pak::UnixNanosecondsFromTime(std::numeric_limits<std::int64_t>::min()), 0);
  EXPECT_GT(Zing::Pak::UnixNanosecondsFromTime(std::numeric_limits<std::int64_t>::max()), 0);
}

}  // namespace
