// The archive layer: the on-disk format, the names, the streams read from
// archives before the disk, and the search over both.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "framework/app/FileAccess.h"
#include "framework/archive/PakFormat.h"
#include "framework/archive/PakInterface.h"
#include "framework/archive/PakNames.h"
#include "framework/platform/FileSystem.h"
#include "tests/resource/PakTestArchive.h"
#include "tests/support/TempFolder.h"

namespace {

using ZingTest::InFolder;
using ZingTest::Keyed;
using ZingTest::MakeArchive;
using ZingTest::PlainArchive;
using ZingTest::TempFolder;

bool Read(const std::string& archive, std::vector<Zing::Pak::Entry>& entries, std::string& error) {
  return Zing::Pak::ReadDirectory(reinterpret_cast<const unsigned char*>(archive.data()), archive.size(), entries,
                                  error);
}

TEST(PakFormat, LayoutOfHeaderDirectoryAndContentsAllKeyed) {
  const std::string plain = PlainArchive({{"a/b", "xyz", 0x0102030405060708}, {"c", "", 0}});
  // Per entry: name length (big-endian), name, size, time (little-endian); then the end flag.
  const std::string expected = std::string("\xC0\x4A\xC0\xBA\0\0\0\0", 8) +  // magic, version
                               std::string("\0\003a/b\003\0\0\0\010\007\006\005\004\003\002\001", 17) +
                               std::string("\0\001c\0\0\0\0\0\0\0\0\0\0\0\0", 15) + "\x80" + "xyz";
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
    const Zing::Pak::Entry entry{std::string(length, 'n'), 0, 0, 0};
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

// Reads what is left of a stream.
std::string ReadRest(Zing::PFILE* file) {
  std::string text;
  char block[7];
  std::size_t got = 0;
  while ((got = Zing::p_fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
  return text;
}

std::string ReadWhole(const std::string& name) {
  Zing::PFILE* file = Zing::p_fopen(name.c_str(), "rb");
  if (file == nullptr) return "<missing>";
  std::string text = ReadRest(file);
  Zing::p_fclose(file);
  return text;
}

// A folder with one archive registered with a fresh layer.
class PakTest : public ::testing::Test {
 protected:
  void AddArchive(const std::string& name, const std::vector<ZingTest::PakFile>& files) {
    dir.Write(name, MakeArchive(files));
    ASSERT_TRUE(pak.AddPakFile(dir.File(name)));
  }

  TempFolder dir;
  Zing::PakInterface pak;
};

TEST(PakNames, NormalisedNames) {
  const std::string cwd = Zing::Platform::CurrentFolder();
  const std::pair<std::string, std::string> cases[] = {
      {"images/Ball.png", "IMAGES\\BALL.PNG"},
      {"images\\ball.png", "IMAGES\\BALL.PNG"},
      {"IMAGES//BALL.PNG", "IMAGES\\BALL.PNG"},
      {"a/\\/b/", "A\\B"},
      {"a/b/../c", "A\\C"},
      {"./a/./b", "A\\B"},
      {"../a", "..\\A"},
      {"a/../../b", "..\\B"},
      {"caf\xE9.txt", "CAF\xE9.TXT"},        // only ASCII letters change
      {cwd + "/data/x.png", "DATA\\X.PNG"},  // inside the working folder: relative to it
      {"/elsewhere/x", "\\ELSEWHERE\\X"},
  };
  for (const auto& [name, normal] : cases) EXPECT_EQ(Zing::PakNames::Normalize(name), normal) << name;
  EXPECT_EQ(Zing::PakNames::Normalize(cwd), Zing::PakNames::Normalize(cwd));
}

TEST_F(PakTest, ReadsFindAnySpellingUndoTheKeyAndCountWholeElements) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  AddArchive("main.pak",
             {{"first", "abc", 0}, {"binary", binary, 0}, {"empty", "", 0}, {"images/ball.png", "ball", 0}});
  // Names are found whatever their spelling (the names' own test has every form).
  EXPECT_EQ(ReadWhole("./IMAGES//none/..\\Ball.png"), "ball");
  EXPECT_EQ(ReadWhole(Zing::Platform::CurrentFolder() + "/images/ball.png"), "ball");
  EXPECT_EQ(ReadWhole("images/ball.pn"), "<missing>");
  EXPECT_EQ(ReadWhole("binary"), binary);
  EXPECT_EQ(ReadWhole("first"), "abc");
  EXPECT_EQ(ReadWhole("empty"), "");

  Zing::PFILE* file = Zing::p_fopen("binary", "r");
  ASSERT_NE(file, nullptr);
  std::uint32_t words[100] = {};
  // 256 bytes are 25 whole 10-byte elements and 6 bytes of a 26th.
  EXPECT_EQ(Zing::p_fread(words, 10, 100, file), 25u);
  EXPECT_EQ(Zing::p_ftell(file), 256);
  EXPECT_NE(Zing::p_feof(file), 0);
  EXPECT_EQ(Zing::p_fread(words, 1, 1, file), 0u);
  EXPECT_EQ(Zing::p_fread(words, 0, 5, file), 0u);
  Zing::p_fseek(file, 4, SEEK_SET);
  EXPECT_EQ(Zing::p_feof(file), 0);
  EXPECT_EQ(Zing::p_fread(words, 4, 1, file), 1u);
  EXPECT_EQ(words[0], 0x07060504u);
  Zing::p_fclose(file);
}

TEST_F(PakTest, SeeksStayInsideTheFileAndUnGetCStepsBack) {
  AddArchive("main.pak", {{"ten", "0123456789", 0}});
  Zing::PFILE* file = Zing::p_fopen("ten", "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Zing::p_fseek(file, 0, SEEK_END), 0);
  EXPECT_EQ(Zing::p_ftell(file), 10);
  EXPECT_NE(Zing::p_feof(file), 0);
  // The end counts as on the disk: size plus offset.
  EXPECT_EQ(Zing::p_fseek(file, -3, SEEK_END), 0);
  EXPECT_EQ(Zing::p_fgetc(file), '7');
  // Seeks beyond either end stop there. {offset, origin, position after}
  const long cases[][3] = {{-100, SEEK_CUR, 0},
                           {100, SEEK_SET, 10},
                           {-4, SEEK_SET, 0},
                           {5, SEEK_END, 10},
                           {std::numeric_limits<long>::max(), SEEK_CUR, 10},
                           {std::numeric_limits<long>::min(), SEEK_CUR, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Zing::p_fseek(file, c[0], static_cast<int>(c[1])), 0);
    EXPECT_EQ(Zing::p_ftell(file), c[2]) << c[0] << " from " << c[1];
  }
  EXPECT_NE(Zing::p_fseek(file, 1, 7), 0);  // no such origin: nothing moves
  EXPECT_EQ(Zing::p_ftell(file), 0);
  // Putting back steps back without replacing the byte.
  EXPECT_EQ(Zing::p_ungetc('x', file), 'x');
  EXPECT_EQ(Zing::p_ftell(file), 0);
  EXPECT_EQ(Zing::p_fgetc(file), '0');
  EXPECT_EQ(Zing::p_fgetc(file), '1');
  EXPECT_EQ(Zing::p_ungetc('z', file), 'z');
  EXPECT_EQ(Zing::p_fgetc(file), '1');
  Zing::p_fclose(file);
}

TEST_F(PakTest, TextReadsSeeLineFeedsOnly) {
  AddArchive("main.pak", {{"text", "ab\r\ncd\r\r\nlong line\n\rlast", 0}});
  Zing::PFILE* file = Zing::p_fopen("text", "rt");
  ASSERT_NE(file, nullptr);
  std::string seen;
  for (int c = Zing::p_fgetc(file); c != -1; c = Zing::p_fgetc(file)) {
    EXPECT_NE(c, 13);
    seen += static_cast<char>(c);
  }
  EXPECT_EQ(seen, "ab\ncd\nlong line\nlast");

  Zing::p_fseek(file, 0, SEEK_SET);
  char line[6];
  for (const char* expected : {"ab\n", "cd\n", "long ", "line\n", "last"}) {  // size - 1 bytes at most
    ASSERT_NE(Zing::p_fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, expected);
  }
  EXPECT_EQ(Zing::p_fgets(line, sizeof line, file), nullptr);
  EXPECT_EQ(Zing::p_fgets(line, 0, file), nullptr);
  Zing::p_fclose(file);
}

TEST_F(PakTest, ArchiveComesFirstThenTheDiskWhichTakesTheWrites) {
  InFolder inside(dir.Path());
  dir.Write("levels/level_b.dat", "on disk");
  dir.Write("levels/only_disk.dat", "loose");
  AddArchive("main.pak", {{"levels/level_b.dat", "in archive", 0}, {"levels/only_archive.dat", "packed", 0}});
  EXPECT_EQ(ReadWhole("levels\\level_b.dat"), "in archive");
  EXPECT_EQ(ReadWhole("levels\\only_disk.dat"), "loose");
  EXPECT_EQ(ReadWhole("levels\\only_archive.dat"), "packed");

  // Other modes than reading go to the disk, which has no folder "save".
  AddArchive("save.pak", {{"save/game.dat", "archived", 0}});
  EXPECT_EQ(Zing::p_fopen("save\\game.dat", "w"), nullptr);
  dir.Write("save/game.dat", "on disk");
  Zing::PFILE* file = Zing::p_fopen("save\\game.dat", "r+b");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadRest(file), "on disk");
  Zing::p_fclose(file);

  // The application's whole-file operations see the same; writes reach the disk.
  EXPECT_TRUE(Zing::FileExists("levels\\only_archive.dat"));
  Zing::Buffer buffer;
  ASSERT_TRUE(Zing::ReadBufferFromFile("levels\\only_archive.dat", buffer));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataLen()), "packed");
  ASSERT_TRUE(Zing::WriteBytesToFile("levels\\only_archive.dat", "new", 3));
  EXPECT_EQ(dir.Read("levels/only_archive.dat"), "new");
  EXPECT_EQ(ReadWhole("levels\\only_archive.dat"), "packed");
}

TEST_F(PakTest, LaterArchivesReplaceEarlierRecordsAndArchivesReadPlain) {
  AddArchive("main.pak", {{"shared", "old", 0}, {"first only", "1", 0}});
  Zing::PFILE* old = Zing::p_fopen("shared", "rb");
  ASSERT_NE(old, nullptr);
  AddArchive("patch.pak", {{"SHARED", "new", 0}, {"second only", "2", 0}});
  EXPECT_EQ(ReadWhole("shared"), "new");
  EXPECT_EQ(ReadWhole("first only"), "1");
  EXPECT_EQ(ReadWhole("second only"), "2");
  EXPECT_EQ(ReadRest(old), "old");  // a stream keeps reading what it opened
  Zing::p_fclose(old);
  // Read through the layer, an archive shows its plain bytes.
  EXPECT_EQ(ReadWhole(dir.File("patch.pak")), ZingTest::PlainArchive({{"SHARED", "new", 0}, {"second only", "2", 0}}));
}

// The format's own test has every kind of damage; here: nothing of a damaged
// archive is entered, not even the archive itself.
TEST_F(PakTest, DamagedOrMissingArchivesEnterNothing) {
  const std::string cut = ZingTest::MakeArchive({{"first", "1111", 0}}).substr(0, 20);
  dir.Write("damaged.pak", cut);
  EXPECT_FALSE(pak.AddPakFile(dir.File("damaged.pak")));
  EXPECT_FALSE(pak.AddPakFile(dir.File("missing.pak")));
  EXPECT_FALSE(pak.AddPakFile(dir.Path()));  // a folder
  dir.Write("empty.pak", "");
  EXPECT_FALSE(pak.AddPakFile(dir.File("empty.pak")));
  EXPECT_EQ(ReadWhole("first"), "<missing>");
  EXPECT_EQ(ReadWhole(dir.File("damaged.pak")), cut);  // the disk answers with its keyed bytes
}

TEST(PakLayer, WithoutALayerEverythingGoesToTheDisk) {
  ASSERT_EQ(Zing::GetPakInterface(), nullptr);
  TempFolder dir;
  dir.Write("plain.txt", "a\r\nb");
  Zing::PFILE* file = Zing::p_fopen((dir.Path() + "\\plain.txt").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadRest(file), "a\r\nb");
  EXPECT_EQ(Zing::p_fseek(file, -1, SEEK_END), 0);
  EXPECT_EQ(Zing::p_fgetc(file), 'b');
  EXPECT_EQ(Zing::p_fgetc(file), -1);
  EXPECT_NE(Zing::p_feof(file), 0);
  Zing::p_fclose(file);
  EXPECT_EQ(Zing::p_fopen(dir.File("none").c_str(), "rb"), nullptr);
  EXPECT_EQ(Zing::p_fopen(nullptr, "rb"), nullptr);
  EXPECT_EQ(Zing::p_fclose(nullptr), 0);
  {
    Zing::PakInterface first;
    Zing::PakInterface second;
    EXPECT_EQ(Zing::GetPakInterface(), &first);  // the first layer serves the process
  }
  EXPECT_EQ(Zing::GetPakInterface(), nullptr);
}

TEST_F(PakTest, StreamsReadIndependentlyOnSeveralThreads) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += static_cast<char>('a' + i % 26);
  AddArchive("main.pak", {{"big", big, 0}});
  std::vector<std::thread> readers;
  std::vector<int> matches(4, 0);
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round) matches[t] += ReadWhole("big") == big;
    });
  }
  for (std::thread& reader : readers) reader.join();
  for (int count : matches) EXPECT_EQ(count, 20);
}

struct Found {
  std::string name;
  bool isFolder;
  std::uint64_t size;
  bool operator==(const Found&) const = default;
};

std::vector<Found> Search(const std::string& pattern) {
  std::vector<Found> found;
  Zing::PakFindData data;
  Zing::PakFindHandle handle = Zing::p_FindFirstFile(pattern.c_str(), &data);
  if (handle == nullptr) return found;
  do {
    found.push_back(Found{data.name, data.isFolder, data.size});
  } while (Zing::p_FindNextFile(handle, &data));
  EXPECT_TRUE(Zing::p_FindClose(handle));
  return found;
}

TEST(PakWildcards, StarAndQuestionMark) {
  using Zing::PakNames::MatchesWildcard;
  EXPECT_TRUE(MatchesWildcard("*", ""));
  EXPECT_TRUE(MatchesWildcard("*.PNG", "BALL.PNG"));
  EXPECT_FALSE(MatchesWildcard("*.PNG", "BALL.PNGX"));
  EXPECT_TRUE(MatchesWildcard("B?LL*", "BALL.PNG"));
  EXPECT_FALSE(MatchesWildcard("B?LL", "BLL"));
  EXPECT_TRUE(MatchesWildcard("*A*B*C", "XAYBZAC"));
  EXPECT_FALSE(MatchesWildcard("*A*B*C", "XAYBZA"));
  EXPECT_TRUE(MatchesWildcard("", ""));
  EXPECT_FALSE(MatchesWildcard("", "A"));
  // Long runs of stars stay cheap.
  EXPECT_FALSE(MatchesWildcard(std::string(200, '*') + "B", std::string(5000, 'A')));
}

// Archived and loose files side by side, searched from inside their folder.
TEST_F(PakTest, SearchListsArchiveNamesFirstThenTheDiskFoldersImpliedAndNoNameTwice) {
  InFolder inside(dir.Path());
  AddArchive("main.pak", {{"images/Ball.png", "12345", 0},
                          {"images/cube.png", "1", 0},
                          {"images/sub/deep.png", "", 0},
                          {"sounds/a.ogg", "", 0}});
  dir.Write("images/extra.png", "on disk");
  dir.Write("images/BALL.PNG", "duplicate of an archived file");
  dir.Write("images/notes.txt", "");
  const std::vector<Found> expected = {{"Ball.png", false, 5}, {"cube.png", false, 1}, {"extra.png", false, 7}};
  EXPECT_EQ(Search("images\\*.png"), expected);
  // The archive compares names without regard to case; the disk's folders
  // are the disk's own business.
  EXPECT_EQ(Search("IMAGES/*.PNG"), (std::vector<Found>{{"Ball.png", false, 5}, {"cube.png", false, 1}}));

  // The disk's BALL.PNG is the archive's Ball.png once names are compared.
  const std::vector<Found> images = {{"Ball.png", false, 5},
                                     {"cube.png", false, 1},
                                     {"sub", true, 0},
                                     {"extra.png", false, 7},
                                     {"notes.txt", false, 0}};
  EXPECT_EQ(Search("images/*"), images);
  const std::uint64_t archiveSize = std::filesystem::file_size("main.pak");
  const std::vector<Found> top = {{"images", true, 0}, {"main.pak", false, archiveSize}, {"sounds", true, 0}};
  EXPECT_EQ(Search("*"), top);
  EXPECT_EQ(Search("images/s?b"), (std::vector<Found>{{"sub", true, 0}}));

  Zing::PakFindData data;
  EXPECT_EQ(Zing::p_FindFirstFile("images/*.bmp", &data), nullptr);
  EXPECT_EQ(Zing::p_FindFirstFile("nowhere/*", &data), nullptr);
  EXPECT_FALSE(Zing::p_FindNextFile(nullptr, &data));
  EXPECT_FALSE(Zing::p_FindClose(nullptr));
}

}  // namespace
