// The archive layer: the on-disk format, the names, the streams read from
// archives before the disk, and the search over both.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
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

// Each entry as "name@start+size@time ".
std::string Listed(const std::vector<Zing::Pak::Entry>& entries) {
  std::string text;
  for (const auto& e : entries)
    text += e.name + "@" + std::to_string(e.start) + "+" + std::to_string(e.size) + "@" + std::to_string(e.time) + " ";
  return text;
}

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
  std::string out, error;
  EXPECT_FALSE(Read(plain, entries, error));
  ASSERT_TRUE(Read(keyed, entries, error)) << error;
  EXPECT_EQ(Listed(entries), "a/b@41+3@72623859790382856 c@44+0@0 ");
  // Names must fit their length byte.
  for (const std::size_t length : {0, 1, 255, 256})
    EXPECT_EQ(Zing::Pak::WriteDirectory({{std::string(length, 'n'), 0, 0, 0}}, out, error),
              length == 1 || length == 255)
        << length;
  // Times count 100 ns from 1601; absurd ones from a damaged archive do not overflow.
  EXPECT_EQ(Zing::Pak::TimeFromUnixNanoseconds(1'500'000'000'123'456'700), 116444736000000000 + 15'000'000'001'234'567);
  EXPECT_LT(Zing::Pak::UnixNanosecondsFromTime(std::numeric_limits<std::int64_t>::min()), 0);
  EXPECT_GT(Zing::Pak::UnixNanosecondsFromTime(std::numeric_limits<std::int64_t>::max()), 0);
}

TEST(PakFormat, DamagedArchivesAreRefusedAsAWhole) {
  const std::string good = PlainArchive({{"first", "1111", 0}, {"second", "22", 0}});
  const std::size_t firstEntry = 8, secondEntry = 8 + 2 + 5 + 12, end = secondEntry + 2 + 6 + 12;
  auto with = [&good](std::size_t at, char byte) {
    std::string bytes = good;
    bytes[at] = byte;
    return bytes;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"bytes after the contents, no damage: the only one read", good + "trailing"},
      {"empty file", ""},
      {"truncated header", good.substr(0, 7)},
      {"header only", good.substr(0, 8)},
      {"wrong magic", std::string("\xC1") + good.substr(1)},
      {"wrong version", good.substr(0, 4) + std::string("\x01\0\0\0", 4) + good.substr(8)},
      {"entry cut in its name", good.substr(0, firstEntry + 4)},
      {"entry cut in its size", good.substr(0, firstEntry + 2 + 5 + 2)},
      {"missing end flag", good.substr(0, end)},
      {"contents cut short", good.substr(0, good.size() - 1)},
      {"name of length 0", with(secondEntry + 1, '\0')},
      {"size past the end", with(secondEntry + 2 + 6 + 3, '\x7F')},
      {"name length past the end", with(secondEntry + 1, '\xFF')}};
  for (const auto& [what, plain] : cases) {
    const bool read = &plain == &cases[0].second;
    std::vector<Zing::Pak::Entry> entries{Zing::Pak::Entry{}};
    std::string error;
    EXPECT_EQ((std::tuple{Read(Keyed(plain), entries, error), entries.size(), error.empty()}),
              std::tuple(read, read ? 2u : 0u, read))
        << what << ": " << error;
  }
}

// Reads what is left of a stream.
std::string ReadRest(Zing::PFILE* file) {
  std::string text;
  char block[7];
  for (std::size_t got; (got = Zing::p_fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
  return text;
}

std::string ReadWhole(const std::string& name, const char* mode = "rb") {
  Zing::PFILE* file = Zing::p_fopen(name.c_str(), mode);
  if (file == nullptr) return "<missing>";
  std::string text = ReadRest(file);
  Zing::p_fclose(file);
  return text;
}

// A folder with one archive registered with a fresh layer.
struct PakTest : ::testing::Test {
  void AddArchive(const std::string& name, const std::vector<ZingTest::PakFile>& files) {
    dir.Write(name, MakeArchive(files));
    ASSERT_TRUE(pak.AddPakFile(dir.File(name)));
  }
  TempFolder dir;
  Zing::PakInterface pak;
};

TEST(PakNames, NormalisedNamesAndWildcards) {
  const std::string cwd = Zing::Platform::CurrentFolder();
  // Only ASCII letters change case; a name inside the working folder becomes relative to it.
  const std::pair<std::string, std::string> cases[] = {
      {"images/Ball.png", "IMAGES\\BALL.PNG"},
      {"images\\ball.png", "IMAGES\\BALL.PNG"},
      {"IMAGES//BALL.PNG", "IMAGES\\BALL.PNG"},
      {"a/\\/b/", "A\\B"},
      {"a/b/../c", "A\\C"},
      {"./a/./b", "A\\B"},
      {"../a", "..\\A"},
      {"a/../../b", "..\\B"},
      {"caf\xE9.txt", "CAF\xE9.TXT"},
      {cwd + "/data/x.png", "DATA\\X.PNG"},
      {"/elsewhere/x", "\\ELSEWHERE\\X"},
  };
  for (const auto& [name, normal] : cases) EXPECT_EQ(Zing::PakNames::Normalize(name), normal) << name;
  // Patterns match normalised names: '*' any run, '?' one character.
  using Zing::PakNames::MatchesWildcard;
  EXPECT_TRUE(MatchesWildcard("*", "") && MatchesWildcard("*.PNG", "BALL.PNG") &&
              MatchesWildcard("B?LL*", "BALL.PNG") && MatchesWildcard("*A*B*C", "XAYBZAC") && MatchesWildcard("", ""));
  // Long runs of stars stay cheap.
  EXPECT_FALSE(MatchesWildcard("*.PNG", "BALL.PNGX") || MatchesWildcard("B?LL", "BLL") ||
               MatchesWildcard("*A*B*C", "XAYBZA") || MatchesWildcard("", "A") ||
               MatchesWildcard(std::string(200, '*') + "B", std::string(5000, 'A')));
}

TEST_F(PakTest, ReadsFindAnySpellingUndoTheKeyAndCountWholeElements) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  AddArchive("main.pak",
             {{"first", "abc", 0}, {"binary", binary, 0}, {"empty", "", 0}, {"images/ball.png", "ball", 0}});
  // Names are found whatever their spelling (the names' own test has every form).
  const std::pair<std::string, std::string> reads[] = {{"./IMAGES//none/..\\Ball.png", "ball"},
                                                       {Zing::Platform::CurrentFolder() + "/images/ball.png", "ball"},
                                                       {"images/ball.pn", "<missing>"},
                                                       {"binary", binary},
                                                       {"first", "abc"},
                                                       {"empty", ""}};
  for (const auto& [name, contents] : reads) EXPECT_EQ(ReadWhole(name), contents) << name;
  Zing::PFILE* file = Zing::p_fopen("binary", "r");
  ASSERT_NE(file, nullptr);
  std::uint32_t words[100] = {};
  // 256 bytes are 25 whole 10-byte elements and 6 bytes of a 26th.
  EXPECT_EQ((std::tuple{Zing::p_fread(words, 10, 100, file), Zing::p_ftell(file), Zing::p_feof(file) != 0}),
            std::tuple(25u, 256, true));
  EXPECT_EQ((std::pair{Zing::p_fread(words, 1, 1, file), Zing::p_fread(words, 0, 5, file)}), std::pair(0ul, 0ul));
  EXPECT_EQ((std::pair{Zing::p_fseek(file, 4, SEEK_SET), Zing::p_feof(file)}), std::pair(0, 0));
  EXPECT_EQ((std::pair{Zing::p_fread(words, 4, 1, file), words[0]}), std::pair(1ul, 0x07060504u));
  Zing::p_fclose(file);
}

TEST_F(PakTest, SeeksStayInsideTheFileAndUnGetCStepsBack) {
  AddArchive("main.pak", {{"ten", "0123456789", 0}});
  Zing::PFILE* file = Zing::p_fopen("ten", "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ((std::tuple{Zing::p_fseek(file, 0, SEEK_END), Zing::p_ftell(file), Zing::p_feof(file) != 0}),
            std::tuple(0, 10, true));
  // The end counts as on the disk: size plus offset.
  EXPECT_EQ((std::pair{Zing::p_fseek(file, -3, SEEK_END), Zing::p_fgetc(file)}), std::pair(0, int{'7'}));
  // Seeks beyond either end stop there. {offset, origin, position after}
  constexpr long kMax = std::numeric_limits<long>::max(), kMin = std::numeric_limits<long>::min();
  const long cases[][3] = {{-100, SEEK_CUR, 0}, {100, SEEK_SET, 10},  {-4, SEEK_SET, 0},
                           {5, SEEK_END, 10},   {kMax, SEEK_CUR, 10}, {kMin, SEEK_CUR, 0}};
  for (const auto& c : cases)
    EXPECT_EQ((std::pair{Zing::p_fseek(file, c[0], static_cast<int>(c[1])), Zing::p_ftell(file)}), std::pair(0, c[2]))
        << c[0] << " from " << c[1];
  EXPECT_EQ((std::pair{Zing::p_fseek(file, 1, 7) != 0, Zing::p_ftell(file)}), std::pair(true, 0L));  // no such origin
  // Putting back steps back without replacing the byte; at the start it stays there.
  std::string seen;
  for (int put : {'x', '\0', '\0', 'z', '\0'})
    seen += static_cast<char>(put ? Zing::p_ungetc(put, file) : Zing::p_fgetc(file));
  EXPECT_EQ((std::pair{seen, Zing::p_ftell(file)}), std::pair(std::string("x01z1"), 2L));
  Zing::p_fclose(file);
}

TEST_F(PakTest, TextReadsSeeLineFeedsOnly) {
  AddArchive("main.pak", {{"text", "ab\r\ncd\r\r\nlong line\n\rlast", 0}});
  Zing::PFILE* file = Zing::p_fopen("text", "rt");
  ASSERT_NE(file, nullptr);
  std::string seen;
  for (int c = Zing::p_fgetc(file); c != -1; c = Zing::p_fgetc(file)) seen += static_cast<char>(c);
  EXPECT_EQ(seen, "ab\ncd\nlong line\nlast");
  Zing::p_fseek(file, 0, SEEK_SET);
  char line[6];
  for (const char* expected : {"ab\n", "cd\n", "long ", "line\n", "last"}) {  // size - 1 bytes at most
    ASSERT_NE(Zing::p_fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, expected);
  }
  EXPECT_FALSE(Zing::p_fgets(line, sizeof line, file) || Zing::p_fgets(line, 0, file));  // at the end; no room
  Zing::p_fclose(file);
}

TEST_F(PakTest, ArchiveComesFirstThenTheDiskWhichTakesTheWrites) {
  InFolder inside(dir.Path());
  dir.Write("levels/level_b.dat", "on disk");
  dir.Write("levels/only_disk.dat", "loose");
  AddArchive("main.pak", {{"levels/level_b.dat", "in archive", 0}, {"levels/only_archive.dat", "packed", 0}});
  EXPECT_EQ(
      ReadWhole("levels\\level_b.dat") + ReadWhole("levels\\only_disk.dat") + ReadWhole("levels\\only_archive.dat"),
      "in archiveloosepacked");
  // Other modes than reading go to the disk, which has no folder "save".
  AddArchive("save.pak", {{"save/game.dat", "archived", 0}});
  EXPECT_EQ(Zing::p_fopen("save\\game.dat", "w"), nullptr);
  dir.Write("save/game.dat", "on disk");
  EXPECT_EQ(ReadWhole("save\\game.dat", "r+b"), "on disk");
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
  EXPECT_EQ(ReadWhole("shared") + ReadWhole("first only") + ReadWhole("second only"), "new12");
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
  dir.Write("empty.pak", "");
  for (const std::string& name : {dir.File("damaged.pak"), dir.File("missing.pak"), dir.Path(), dir.File("empty.pak")})
    EXPECT_FALSE(pak.AddPakFile(name)) << name;
  EXPECT_EQ(ReadWhole("first"), "<missing>");
  EXPECT_EQ(ReadWhole(dir.File("damaged.pak")), cut);  // the disk answers with its keyed bytes
}

TEST(PakLayer, WithoutALayerEverythingGoesToTheDisk) {
  ASSERT_EQ(Zing::GetPakInterface(), nullptr);
  TempFolder dir;
  dir.Write("plain.txt", "a\r\nb");
  Zing::PFILE* file = Zing::p_fopen((dir.Path() + "\\plain.txt").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ((std::tuple{ReadRest(file), Zing::p_fseek(file, -1, SEEK_END), Zing::p_fgetc(file), Zing::p_fgetc(file),
                        Zing::p_feof(file) != 0}),
            std::tuple("a\r\nb", 0, 'b', -1, true));
  Zing::p_fclose(file);
  EXPECT_EQ(
      std::tuple(Zing::p_fopen(dir.File("none").c_str(), "rb"), Zing::p_fopen(nullptr, "rb"), Zing::p_fclose(nullptr)),
      std::tuple(nullptr, nullptr, 0));
  {
    Zing::PakInterface first, second;
    EXPECT_EQ(Zing::GetPakInterface(), &first);  // the first layer serves the process
  }
  EXPECT_EQ(Zing::GetPakInterface(), nullptr);
}

TEST_F(PakTest, StreamsReadIndependentlyOnSeveralThreads) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += static_cast<char>('a' + i % 26);
  AddArchive("main.pak", {{"big", big, 0}});
  std::vector<int> matches(4, 0);
  std::vector<std::thread> readers;
  for (int& count : matches)
    readers.emplace_back([&] {
      for (int round = 0; round < 20; ++round) count += ReadWhole("big") == big;
    });
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(matches, std::vector<int>(4, 20));
}

// What a search finds, as "name size " for files and "name/ " for folders.
std::string Search(const std::string& pattern) {
  std::string found;
  Zing::PakFindData data;
  Zing::PakFindHandle handle = Zing::p_FindFirstFile(pattern.c_str(), &data);
  if (handle == nullptr) return found;
  do {
    found += data.name + (data.isFolder ? "/" + std::to_string(data.size) : " " + std::to_string(data.size)) + " ";
  } while (Zing::p_FindNextFile(handle, &data));
  EXPECT_TRUE(Zing::p_FindClose(handle));
  return found;
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
  EXPECT_EQ(Search("images\\*.png"), "Ball.png 5 cube.png 1 extra.png 7 ");
  // The archive compares names without regard to case; the disk's folders are the disk's own business.
  EXPECT_EQ(Search("IMAGES/*.PNG"), "Ball.png 5 cube.png 1 ");
  // The disk's BALL.PNG is the archive's Ball.png once names are compared.
  EXPECT_EQ(Search("images/*"), "Ball.png 5 cube.png 1 sub/0 extra.png 7 notes.txt 0 ");
  EXPECT_EQ(Search("*"), "images/0 main.pak " + std::to_string(std::filesystem::file_size("main.pak")) + " sounds/0 ");
  EXPECT_EQ(Search("images/s?b"), "sub/0 ");
  EXPECT_EQ(Search("images/*.bmp") + Search("nowhere/*"), "");  // no handle
  Zing::PakFindData data;
  EXPECT_FALSE(Zing::p_FindNextFile(nullptr, &data) || Zing::p_FindClose(nullptr));
}

}  // namespace
