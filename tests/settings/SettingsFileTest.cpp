#include "framework/platform/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "framework/platform/FileSystem.h"
#include "framework/platform/Windows1252.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace std::string_literals;
using Zing::Platform::SettingsFile;
using Zing::Platform::SettingsType;
using Zing::Platform::SettingsValue;

std::string StringAt(const SettingsFile& file, std::string_view key, std::string_view name) {
  const SettingsValue* value = file.Find(key, name);
  return value != nullptr && value->type == SettingsType::String ? value->text : "<none>";
}

TEST(SettingsFile, TheRegistryExportLayoutSurvivesSaveAndLoad) {
  ZingTest::TempFolder dir;
  SettingsFile file;
  const std::string awkward = "say \"hi\" C:\\dir\\ \x80\xE9\x81\xFF\ttab\r\nnext";
  ASSERT_TRUE(file.Set("", "Locale", SettingsValue::String("fr")));
  ASSERT_TRUE(file.Set("", "MusicVolume", SettingsValue::Dword(85)));
  ASSERT_TRUE(file.Set("Sub\\Key", "Text", SettingsValue::String(awkward)));
  ASSERT_TRUE(file.Set("Sub\\Key", "", SettingsValue::String("unnamed")));
  ASSERT_TRUE(file.Set("Sub", "All", SettingsValue::Dword(0xFFFFFFFFu)));
  ASSERT_TRUE(file.Save(dir.File("deep/er/settings.reg")));

  const std::string text = dir.Read("deep/er/settings.reg");
  EXPECT_EQ(text, file.Format());
  EXPECT_TRUE(Zing::Platform::IsValidUtf8(text));
  EXPECT_NE(text.find("\n\"Locale\"=\"fr\"\n\"MusicVolume\"=dword:00000055\n\n[Sub\\Key]\n"), std::string::npos)
      << text;
  EXPECT_NE(
      text.find("\"Text\"=\"say \\\"hi\\\" C:\\\\dir\\\\ \xE2\x82\xAC\xC3\xA9\xC2\x81\xC3\xBF\ttab\\r\\nnext\"\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("@=\"unnamed\"\n\n[Sub]\n\"All\"=dword:ffffffff\n"), std::string::npos) << text;

  SettingsFile back;
  ASSERT_TRUE(back.Load(dir.File("deep/er/settings.reg")));
  EXPECT_EQ(back.Format(), text);
  EXPECT_EQ(StringAt(back, "Sub\\Key", "Text"), awkward);
  EXPECT_EQ(back.Find("sub", "all")->number, 0xFFFFFFFFu);
  EXPECT_EQ(back.KeyCount(), 3u);

  // A missing file is an empty store; a folder cannot be read and changes
  // nothing; a file in the way of the folders cannot be written.
  ASSERT_TRUE(file.Load(dir.File("missing.reg")));
  EXPECT_EQ(file.ValueCount(), 0u);
  EXPECT_FALSE(back.Load(dir.File("deep")));
  EXPECT_EQ(back.ValueCount(), 5u);
  dir.Write("plain", "x");
  EXPECT_FALSE(back.Save(dir.File("plain/settings.reg")));
}

TEST(SettingsFile, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  SettingsFile file;
  ASSERT_TRUE(file.Set("Options\\\\Sound\\", "Volume", SettingsValue::Dword(1)));
  ASSERT_TRUE(file.Set("\\OPTIONS\\sound", "VOLUME", SettingsValue::Dword(2)));
  ASSERT_TRUE(file.Set("", "Caf\xC9", SettingsValue::String("x")));  // capital E acute
  EXPECT_EQ(file.Find("options\\SOUND", "volume")->number, 2u);
  EXPECT_EQ(StringAt(file, "", "caf\xE9"), "x");
  EXPECT_EQ(file.KeyCount(), 2u);
  EXPECT_EQ(file.ValueCount(), 2u);
  EXPECT_NE(file.Format().find("[Options\\Sound]\n\"Volume\"=dword:00000002"), std::string::npos);

  EXPECT_TRUE(file.Erase("OPTIONS\\Sound", "volume"));
  EXPECT_FALSE(file.Erase("OPTIONS\\Sound", "volume"));
  EXPECT_TRUE(file.HasKey("Options\\Sound"));  // an emptied key stays, as in the registry

  // What a line of the file cannot hold is refused rather than written broken.
  EXPECT_FALSE(file.Set("Bad\nKey", "Name", SettingsValue::Dword(1)));
  EXPECT_FALSE(file.Set("\\-Minus", "Name", SettingsValue::Dword(1)));
  EXPECT_FALSE(file.Set("", std::string("Na\0me", 5), SettingsValue::Dword(1)));
  SettingsValue other;
  other.type = SettingsType::Other;
  other.text = "hex:00";
  EXPECT_FALSE(file.Set("", "Raw", other));
  // A zero byte ends a string, as it does a C string.
  ASSERT_TRUE(file.Set("", "Cut", SettingsValue::String(std::string("ab\0cd", 5))));
  EXPECT_EQ(StringAt(file, "", "Cut"), "ab");
}

TEST(SettingsFile, ReadsEightBitUtf8AndUtf16Files) {
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"\r\n[HKEY\\Lintwick]\r\n\"Name\"=\"\u00E9\U0001F600\"\r\n"))
    utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  // What is not UTF-8 is 8-bit text; what the code page lacks becomes '?'.
  for (const auto& [bytes, key, expected] :
       {std::tuple{"\"Name\"=\"caf\xE9\"\n"s, "", "caf\xE9"},
        {"\xEF\xBB\xBF\"Name\"=\"caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\x80\"\n"s, "", "caf\xE9 \x80 ?"},
        {"\r\n[HKEY\\Lintwick]\r\n\"Name\"=\"\xC3\xA9\xF0\x9F\x98\x80\"\r\n"s, "hkey\\lintwick", "\xE9?"},
        {utf16, "hkey\\lintwick", "\xE9?"}}) {
    EXPECT_EQ(StringAt(SettingsFile::Parse(bytes), key, "Name"), expected) << bytes;
  }
}

TEST(SettingsFile, DamagedFilesAreReadAsFarAsTheyMakeSense) {
  const std::string huge(1 << 20, 'q');
  const std::string text =
      "garbage before any section\n"
      "\"Top\"=dword:00000007\n"
      "\"Twice\"=\"first\"\n"
      "  \"Spaced\" = \"yes\"  \n"
      "\"Unterminated\"=\"abc\n"
      "\"NoValue\"=\n"
      "\"Trailing\"=\"a\" junk\n"
      "\"Twice\"=\"second\"\n"
      "\"Huge\"=\"" +
      huge + "\"\n" + huge +
      "\n"
      "\"Wide\"=dword:123456789\n"
      "\"Binary\"=hex:01,02,\\\n"
      "  03,04\n"
      "\"Q\"=qword:0000000000000001\n"
      "[-Deleted]\n\"Gone\"=\"x\"\n[\\-AlsoDeleted]\n\"Gone\"=\"x\"\n"
      "[Broken\n\"AlsoGone\"=\"x\"\n"
      "[Good]\r\n\"Crlf\"=\"ok\"\r\n" +
      "\x01\x02\xFF\xFE\0\"AfterZero\"=dword:00000001\n[Cut]\n\"Trunc"s;
  const SettingsFile file = SettingsFile::Parse(text);
  EXPECT_EQ(file.Find("", "Top")->number, 7u);
  EXPECT_EQ(StringAt(file, "", "Twice"), "second");
  EXPECT_EQ(StringAt(file, "", "Spaced"), "yes");
  EXPECT_EQ(StringAt(file, "", "Huge"), huge);
  EXPECT_EQ(StringAt(file, "Good", "Crlf"), "ok");
  EXPECT_EQ(file.Find("Good", "AfterZero")->number, 1u);
  for (const char* dropped : {"Unterminated", "NoValue", "Trailing", "Gone", "AlsoGone", "Trunc"}) {
    EXPECT_EQ(file.Find("", dropped), nullptr) << dropped;
  }
  EXPECT_FALSE(file.HasKey("Deleted"));
  EXPECT_FALSE(file.HasKey("-AlsoDeleted"));
  EXPECT_FALSE(file.HasKey("Broken"));
  EXPECT_TRUE(file.HasKey("Cut"));

  // Data of other types is kept as it stood and written back unchanged.
  EXPECT_EQ(file.Find("", "Wide")->type, SettingsType::Other);
  const std::string out = file.Format();
  EXPECT_NE(out.find("\"Wide\"=dword:123456789\n\"Binary\"=hex:01,02,\\\n  03,04\n\"Q\"=qword:0000000000000001\n"),
            std::string::npos);
  EXPECT_EQ(SettingsFile::Parse(out).Format(), out);
}

TEST(SettingsFile, FileLocation) {
  using Zing::Platform::SettingsFilePath;
  EXPECT_EQ(SettingsFilePath("/home/u/.config", "TamoGames\\Lintwick"),
            "/home/u/.config/TamoGames/Lintwick/settings.reg");
  EXPECT_EQ(SettingsFilePath("/c", "..\\..\\etc\\\\.\\x/y"), "/c/etc/x/y/settings.reg");
  EXPECT_EQ(SettingsFilePath("/c", "..\\."), "");
  EXPECT_EQ(SettingsFilePath("", "Key"), "");

  // Only this process's environment changes; nothing is created.
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  setenv("HOME", "/somewhere/home", 1);
  EXPECT_EQ(Zing::Platform::ConfigFolder(), "/somewhere/config");
  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(Zing::Platform::ConfigFolder(), "/somewhere/home/.config");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(Zing::Platform::ConfigFolder(), "/somewhere/home/.config");
}

// The id of a process that has ended, as a program killed while it saved.
long EndedProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(AtomicWrite, RemovesOnlyTheStaleTemporariesOfTheFileItWrites) {
  ZingTest::TempFolder folder;
  const std::string dead = std::to_string(EndedProcessId());
  const std::string self = std::to_string(getpid());
  const std::string staleOne = "settings.reg." + dead + ".0.tmp";
  const std::string staleTwo = "settings.reg." + dead + ".17.tmp";
  const std::string kept[] = {"settings.reg." + self + ".3.tmp",  // this process may be writing it
                              "settings.reg.1.0.tmp",             // a live process may be writing it
                              "game.dat." + dead + ".0.tmp",      // another file's
                              "settings.reg.old.tmp",
                              "settings.reg." + dead + ".x.tmp",
                              "settings.reg.bak"};
  for (const std::string& name : {staleOne, staleTwo}) folder.Write(name, "half");
  for (const std::string& name : kept) folder.Write(name, "keep");

  ASSERT_TRUE(Zing::Platform::WriteFileAtomically(folder.File("settings.reg"), "new", 3));

  EXPECT_EQ(folder.Read("settings.reg"), "new");
  EXPECT_FALSE(folder.Exists(staleOne));
  EXPECT_FALSE(folder.Exists(staleTwo));
  for (const std::string& name : kept) EXPECT_TRUE(folder.Exists(name)) << name;
}

}  // namespace
