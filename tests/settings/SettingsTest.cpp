// The settings file in the registry export layout (its writing in one piece
// and the temporaries a killed write leaves are the reliability tests'), and
// the store through which the application reads and writes its settings.

#include "framework/platform/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/app/SettingsStore.h"
#include "framework/platform/FileSystem.h"
#include "framework/platform/Windows1252.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace std::string_literals;
using Zing::FrameworkSettings, Zing::SettingsStore;
using Zing::Platform::SettingsFile, Zing::Platform::SettingsType, Zing::Platform::SettingsValue;

std::string StringAt(const SettingsFile& file, std::string_view key, std::string_view name) {
  const SettingsValue* value = file.Find(key, name);
  return value != nullptr && value->type == SettingsType::String ? value->text : "<none>";
}

TEST(SettingsFile, TheRegistryExportLayoutSurvivesSaveAndLoadAndNamesIgnoreCase) {
  ZingTest::TempFolder dir;
  SettingsFile file;
  const std::string awkward = "say \"hi\" C:\\dir\\ \x80\xE9\x81\xFF\ttab\r\nnext";
  ASSERT_TRUE(file.Set("", "Locale", SettingsValue::String("fr")) &&
              file.Set("", "MusicVolume", SettingsValue::Dword(85)) &&
              file.Set("Sub\\Key", "Text", SettingsValue::String(awkward)) &&
              file.Set("Sub\\Key", "", SettingsValue::String("unnamed")) &&
              file.Set("Sub", "All", SettingsValue::Dword(0xFFFFFFFFu)));
  ASSERT_TRUE(file.Save(dir.File("deep/er/settings.reg")));
  const std::string text = dir.Read("deep/er/settings.reg");
  EXPECT_EQ(std::pair(text, Zing::Platform::IsValidUtf8(text)), std::pair(file.Format(), true));
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
  EXPECT_EQ(std::tuple(StringAt(back, "Sub\\Key", "Text"), back.Find("sub", "all")->number, back.KeyCount()),
            std::tuple(awkward, 0xFFFFFFFFu, 3u));
  // A missing file is an empty store; a folder cannot be read and changes
  // nothing; a file in the way of the folders cannot be written.
  dir.Write("plain", "x");
  EXPECT_EQ((std::tuple{file.Load(dir.File("missing.reg")), file.ValueCount(), back.Load(dir.File("deep")),
                        back.ValueCount(), back.Save(dir.File("plain/settings.reg"))}),
            std::tuple(true, 0u, false, 5u, false));
  // Names ignore case and keep their first spelling.
  file = SettingsFile();
  ASSERT_TRUE(file.Set("Options\\\\Sound\\", "Volume", SettingsValue::Dword(1)));
  ASSERT_TRUE(file.Set("\\OPTIONS\\sound", "VOLUME", SettingsValue::Dword(2)));
  ASSERT_TRUE(file.Set("", "Caf\xC9", SettingsValue::String("x")));  // capital E acute
  EXPECT_EQ(std::tuple(file.Find("options\\SOUND", "volume")->number, StringAt(file, "", "caf\xE9"), file.KeyCount(),
                       file.ValueCount()),
            std::tuple(2u, "x", 2u, 2u));
  EXPECT_NE(file.Format().find("[Options\\Sound]\n\"Volume\"=dword:00000002"), std::string::npos);
  // An emptied key stays, as in the registry.
  EXPECT_EQ((std::tuple{file.Erase("OPTIONS\\Sound", "volume"), file.Erase("OPTIONS\\Sound", "volume"),
                        file.HasKey("Options\\Sound")}),
            std::tuple(true, false, true));
  // What a line of the file cannot hold is refused rather than written broken.
  SettingsValue other;
  std::tie(other.type, other.text) = std::tuple(SettingsType::Other, "hex:00");
  for (const auto& [key, name, value] : {std::tuple{"Bad\nKey"s, "Name"s, SettingsValue::Dword(1)},
                                         {"\\-Minus", "Name", SettingsValue::Dword(1)},
                                         {"", std::string("Na\0me", 5), SettingsValue::Dword(1)},
                                         {"", "Raw", other}})
    EXPECT_FALSE(file.Set(key, name, value)) << key << name;
  // A zero byte ends a string, as it does a C string.
  ASSERT_TRUE(file.Set("", "Cut", SettingsValue::String(std::string("ab\0cd", 5))));
  EXPECT_EQ(StringAt(file, "", "Cut"), "ab");
}

TEST(SettingsFile, ReadsEightBitUtf8Utf16AndDamagedFiles) {
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
  // A damaged file is read as far as it makes sense; data of other types is
  // kept as it stood and written back unchanged.
  const std::string huge(1 << 20, 'q');
  const SettingsFile file = SettingsFile::Parse(
      "garbage before any section\n\"Top\"=dword:00000007\n\"Twice\"=\"first\"\n  \"Spaced\" = \"yes\"  \n"
      "\"Unterminated\"=\"abc\n\"NoValue\"=\n\"Trailing\"=\"a\" junk\n\"Twice\"=\"second\"\n\"Huge\"=\"" +
      huge + "\"\n" + huge +
      "\n\"Wide\"=dword:123456789\n\"Binary\"=hex:01,02,\\\n  03,04\n\"Q\"=qword:0000000000000001\n"
      "[-Deleted]\n\"Gone\"=\"x\"\n[\\-AlsoDeleted]\n\"Gone\"=\"x\"\n[Broken\n\"AlsoGone\"=\"x\"\n"
      "[Good]\r\n\"Crlf\"=\"ok\"\r\n\x01\x02\xFF\xFE\0\"AfterZero\"=dword:00000001\n[Cut]\n\"Trunc"s);
  EXPECT_EQ(std::tuple(file.Find("", "Top")->number, StringAt(file, "", "Twice"), StringAt(file, "", "Spaced"),
                       StringAt(file, "Good", "Crlf"), file.Find("Good", "AfterZero")->number),
            std::tuple(7u, "second", "yes", "ok", 1u));
  EXPECT_EQ(StringAt(file, "", "Huge"), huge);
  for (const char* dropped : {"Unterminated", "NoValue", "Trailing", "Gone", "AlsoGone", "Trunc"})
    EXPECT_EQ(file.Find("", dropped), nullptr) << dropped;
  EXPECT_EQ(std::tuple(file.HasKey("Deleted"), file.HasKey("-AlsoDeleted"), file.HasKey("Broken"), file.HasKey("Cut")),
            std::tuple(false, false, false, true));
  EXPECT_EQ(file.Find("", "Wide")->type, SettingsType::Other);
  const std::string out = file.Format();
  EXPECT_NE(out.find("\"Wide\"=dword:123456789\n\"Binary\"=hex:01,02,\\\n  03,04\n\"Q\"=qword:0000000000000001\n"),
            std::string::npos);
  EXPECT_EQ(SettingsFile::Parse(out).Format(), out);
}

TEST(SettingsFile, FileLocation) {
  using Zing::Platform::SettingsFilePath;
  EXPECT_EQ(std::tuple(SettingsFilePath("/home/u/.config", "TamoGames\\Lintwick"),
                       SettingsFilePath("/c", "..\\..\\etc\\\\.\\x/y"), SettingsFilePath("/c", "..\\."),
                       SettingsFilePath("", "Key")),
            std::tuple("/home/u/.config/TamoGames/Lintwick/settings.reg", "/c/etc/x/y/settings.reg", "", ""));
  // Not an absolute path: ignored (only this process's environment changes).
  setenv("XDG_CONFIG_HOME", "relative/path", 1);
  setenv("HOME", "/somewhere/home", 1);
  EXPECT_EQ(Zing::Platform::ConfigFolder(), "/somewhere/home/.config");
}

constexpr const char* kSettingsFile = "TamoGames/Lintwick/settings.reg";

// A store of the game's key below a fresh folder.
struct GameStore {
  ZingTest::TempFolder dir;
  SettingsStore store{dir.Path()};
  GameStore() { store.SetRegistryKey("TamoGames\\Lintwick"); }
  std::string File() const { return dir.Read(kSettingsFile); }
  // What a read finds, or nothing when it fails.
  std::optional<int> Number(const std::string& name) {
    int number = -1;
    return store.RegistryReadInteger(name, number) ? std::optional(number) : std::nullopt;
  }
  std::optional<std::string> Text(const std::string& name) {
    std::string text = "unread";
    return store.RegistryReadString(name, text) ? std::optional(text) : std::nullopt;
  }
};

TEST(SettingsStore, ValueNamesWithSubKeyPathsAndErasing) {
  GameStore s;
  EXPECT_EQ(s.store.GetFilePath(), s.dir.File(kSettingsFile));
  s.store.RegistryEraseValue("Nothing\\Here");
  EXPECT_FALSE(s.dir.Exists(kSettingsFile));  // erasing nothing writes nothing
  ASSERT_TRUE(s.store.RegistryWriteInteger("Options\\Volume", 5) && s.store.RegistryWriteString("A\\B\\Name", "deep") &&
              s.store.RegistryWriteInteger("Volume", 9) && !s.store.RegistryWriteInteger("Bad\nKey\\Name", 1));
  // Writing what is stored already leaves the file alone; a change replaces it.
  const auto inode = [&] {
    struct stat info {};
    return ::stat(s.dir.File(kSettingsFile).c_str(), &info) == 0 ? info.st_ino : 0;
  };
  const auto first = inode();
  for (const auto& [name, value] : {std::pair{"OPTIONS\\volume", 5}, {"Volume", 8}, {"Volume", 9}}) {
    ASSERT_TRUE(s.store.RegistryWriteInteger(name, value));
    EXPECT_TRUE(value == 9 || (inode() == first) == (value == 5)) << value;  // a freed number may come back
  }
  EXPECT_NE(
      s.File().find("\"Volume\"=dword:00000009\n\n[Options]\n\"Volume\"=dword:00000005\n\n[A\\B]\n\"Name\"=\"deep\""),
      std::string::npos)
      << s.File();
  EXPECT_EQ(std::tuple(s.Number("OPTIONS\\volume"), s.Number("volume"), s.Text("a\\b\\NAME"), s.Text("A\\Name"),
                       s.Number("Missing\\Volume")),
            std::tuple(5, 9, "deep", std::nullopt, std::nullopt));
  s.store.RegistryEraseValue("VOLUME");
  EXPECT_EQ(std::pair(s.Number("Volume"), s.Number("Options\\Volume")),
            std::pair(std::optional<int>(), std::optional(5)));
}

TEST(SettingsStore, TypesTypeMismatchesAndStringsUpTo1023Bytes) {
  GameStore s;
  ASSERT_TRUE(s.store.RegistryWriteString("Text", "12") && s.store.RegistryWriteInteger("Number", -2) &&
              s.store.RegistryWriteBoolean("Yes", true) && s.store.RegistryWriteBoolean("No", false));
  EXPECT_EQ(std::tuple(s.Number("Number"), s.Number("Yes"), s.Number("No")), std::tuple(-2, 1, 0));
  int number = 77;
  std::string text = "kept";
  bool flag = false;
  EXPECT_FALSE(s.store.RegistryReadInteger("Text", number) || s.store.RegistryReadBoolean("Text", flag) ||
               s.store.RegistryReadString("Number", text));
  EXPECT_EQ(std::tuple(number, text, flag), std::tuple(77, "kept", false));
  bool yes = false, no = true;  // any number but 0 is true
  EXPECT_TRUE(s.store.RegistryReadBoolean("Number", yes) && s.store.RegistryReadBoolean("No", no) && yes && !no);
  std::string every;
  for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
  const std::string longest(1023, 'x');
  for (const std::string& written : {every, longest, std::string()}) {
    ASSERT_TRUE(s.store.RegistryWriteString("Text", written));
    EXPECT_EQ(s.Text("Text"), written);
  }
  // Stored, but cannot be read.
  EXPECT_TRUE(s.store.RegistryWriteString("TooLong", longest + "y") && !s.store.RegistryReadString("TooLong", text));
  // A value of a type the store does not write is neither a string nor a number.
  s.dir.Write(kSettingsFile, "\"Bin\"=hex:01,00,00,00\n\"Big\"=qword:0000000000000001\n");
  EXPECT_FALSE(s.store.RegistryReadInteger("Bin", number) || s.store.RegistryReadInteger("Big", number) ||
               s.store.RegistryReadString("Bin", text));
  EXPECT_EQ(std::tuple(number, text), std::tuple(77, "kept"));
  // Writes from several threads all arrive.
  auto writeTen = [&s](const std::string& prefix) {
    for (int i = 0; i < 10; ++i) s.store.RegistryWriteInteger(prefix + std::to_string(i), i);
  };
  std::thread other(writeTen, "Other\\Value");
  writeTen("Value");
  other.join();
  for (const std::string prefix : {"Value", "Other\\Value"})
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Number(prefix + std::to_string(i)), i) << prefix << i;
}

TEST(SettingsStore, DamagedUnreadableOrKeylessFilesKeepWhatTheyCan) {
  GameStore s;
  s.dir.Write(kSettingsFile,
              "\x7F"
              "ELF\0\0\x01garbage\n\"Locale\"=\"de\"\n\"Locale\"=\"fr\"\n\"Odd\"=hex(2):41,00\n"
              "[Half\n\"Lost\"=dword:00000001\n[Options]\n\"Volume\"=dword:0000"s);
  EXPECT_EQ(s.Number("Options\\Volume"), 0);  // a short number still reads
  ASSERT_TRUE(s.store.RegistryWriteInteger("ChosenLevel", 4));
  EXPECT_EQ(s.File(),
            "; Settings of this application, rewritten whole on every change.\n\n"
            "\"Locale\"=\"fr\"\n\"Odd\"=hex(2):41,00\n\"ChosenLevel\"=dword:00000004\n\n"
            "[Options]\n\"Volume\"=dword:00000000\n");
  // Framework settings out of range are brought back into it.
  s.dir.Write(kSettingsFile,
              "\"MusicVolume\"=dword:ffffffff\n\"SfxVolume\"=dword:00001000\n\"Muted\"=dword:00000007\n"
              "\"ScreenMode\"=dword:00000002\n");
  FrameworkSettings read;
  s.store.ReadFrameworkSettings(read, false);
  EXPECT_EQ(std::tuple(read.musicVolume, read.sfxVolume, read.muteCount, read.windowed),
            std::tuple(0.0, 1.0, 1, false));  // any number but 0 is full screen
  // A file that cannot be read is never overwritten; filling the disk is the atomic write's own test.
  std::filesystem::remove(s.dir.File(kSettingsFile));
  std::filesystem::create_directories(s.dir.File(kSettingsFile));
  EXPECT_TRUE(!s.store.RegistryWriteInteger("Level", 1) && std::filesystem::is_directory(s.dir.File(kSettingsFile)));
  // Without a key nothing is read or written anywhere.
  ZingTest::TempFolder dir;
  SettingsStore store(dir.Path());
  EXPECT_EQ(store.GetFilePath(), "");
  std::string text;
  int number;
  bool flag;
  EXPECT_FALSE(store.RegistryWriteString("Locale", "en") || store.RegistryWriteInteger("Level", 1) ||
               store.RegistryWriteBoolean("Flag", true) || store.RegistryReadString("Locale", text) ||
               store.RegistryReadInteger("Level", number) || store.RegistryReadBoolean("Flag", flag));
  store.RegistryEraseValue("Locale");
  FrameworkSettings settings;
  store.ReadFrameworkSettings(settings, false);
  store.WriteFrameworkSettings(settings);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// Records the order of accesses; a demo's playback answers them instead.
struct RecordingHook : Zing::SettingsAccessHook {
  std::vector<std::string> log;
  std::optional<bool> AnswerWrite(const std::string&) override { return std::nullopt; }
  std::optional<bool> AnswerRead(const std::string&, SettingsValue&) override { return std::nullopt; }
  void WriteDone(const std::string& name, bool ok) override { log.push_back("write " + name + (ok ? "" : " failed")); }
  void ReadDone(const std::string& name, bool ok, const SettingsValue&) override {
    log.push_back("read " + name + (ok ? "" : " failed"));
  }
};

TEST(SettingsStore, FrameworkSettingsInTheirOrder) {
  GameStore s;
  RecordingHook hook;
  s.store.SetAccessHook(&hook);
  FrameworkSettings settings;
  // Cut, not rounded, even 5e-11 short of 86; 0.29 * 100 is just below 29 in binary; muted by the lost focus only.
  std::tie(settings.musicVolume, settings.sfxVolume, settings.muteCount, settings.autoMuteCount, settings.windowed,
           settings.preferredX, settings.customCursors) = std::tuple(0.85999999995, 0.29, 2, 2, false, 12, true);
  s.store.WriteFrameworkSettings(settings);
  EXPECT_EQ(hook.log, (std::vector<std::string>{"write MusicVolume", "write SfxVolume", "write Muted",
                                                "write ScreenMode", "write PreferredX", "write PreferredY",
                                                "write CustomCursors", "write InProgress", "write WaitForVSync"}));
  EXPECT_NE(
      s.File().find("\"MusicVolume\"=dword:00000055\n\"SfxVolume\"=dword:0000001d\n\"Muted\"=dword:00000000\n"
                    "\"ScreenMode\"=dword:00000001\n\"PreferredX\"=dword:0000000c\n\"PreferredY\"=dword:ffffffff\n"
                    "\"CustomCursors\"=dword:00000001\n\"InProgress\"=dword:00000000\n"
                    "\"WaitForVSync\"=dword:00000000\n"),
      std::string::npos)
      << s.File();
  // The previous run ended normally; this one is now in progress.
  ASSERT_TRUE(s.store.RegistryWriteString("PreferredY", "not a number"));
  hook.log.clear();
  FrameworkSettings read;
  std::tie(read.preferredY, read.customCursors) = std::tuple(33, false);
  s.store.ReadFrameworkSettings(read, false);
  EXPECT_EQ(hook.log, (std::vector<std::string>{"read MusicVolume", "read SfxVolume", "read Muted", "read ScreenMode",
                                                "read PreferredX", "read PreferredY", "read CustomCursors",
                                                "read WaitForVSync", "read InProgress", "write InProgress"}));
  // The mistyped PreferredY leaves the field as it was.
  EXPECT_EQ(std::tuple(read.musicVolume, read.sfxVolume, read.muteCount, read.windowed, read.preferredX,
                       read.preferredY, read.customCursors, read.lastShutdownWasGraceful),
            std::tuple(0.85, 0.29, 0, false, 12, 33, true, true));
  // The user's own mute persists; "InProgress" 1 means the last run crashed.
  ASSERT_TRUE(s.store.RegistryWriteInteger("Muted", 1) && s.store.RegistryWriteInteger("ScreenMode", 0));
  s.store.ReadFrameworkSettings(read, true);
  EXPECT_EQ(std::tuple(read.muteCount, read.windowed, read.lastShutdownWasGraceful), std::tuple(1, true, false));
  EXPECT_EQ(hook.log.back(), "read InProgress");  // a screen saver does not mark its run
  std::tie(settings.musicVolume, settings.sfxVolume) = std::pair(0.0, std::nan(""));  // silent, and damaged: silent
  s.store.WriteFrameworkSettings(settings);
  EXPECT_NE(s.File().find("\"MusicVolume\"=dword:00000000\n\"SfxVolume\"=dword:00000000\n"), std::string::npos);
}

}  // namespace
