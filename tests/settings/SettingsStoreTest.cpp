#include "framework/app/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

using namespace std::string_literals;
using Zing::FrameworkSettings;
using Zing::SettingsStore;
using Zing::SettingsValue;

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

TEST(SettingsStore, ValueNamesWithSubKeyPaths) {
  GameStore s;
  EXPECT_EQ(s.store.GetFilePath(), s.dir.File(kSettingsFile));
  ASSERT_TRUE(s.store.RegistryWriteInteger("Options\\Volume", 5));
  ASSERT_TRUE(s.store.RegistryWriteString("A\\B\\Name", "deep"));
  ASSERT_TRUE(s.store.RegistryWriteInteger("Volume", 9));
  // Writing what is stored already leaves the file alone; a change replaces it.
  const auto inode = [&] {
    struct stat info {};
    return ::stat(s.dir.File(kSettingsFile).c_str(), &info) == 0 ? info.st_ino : 0;
  };
  const auto first = inode();
  ASSERT_TRUE(s.store.RegistryWriteInteger("OPTIONS\\volume", 5));
  EXPECT_EQ(inode(), first);
  ASSERT_TRUE(s.store.RegistryWriteInteger("Volume", 8));
  EXPECT_NE(inode(), first);
  ASSERT_TRUE(s.store.RegistryWriteInteger("Volume", 9));
  EXPECT_NE(
      s.File().find("\"Volume\"=dword:00000009\n\n[Options]\n\"Volume\"=dword:00000005\n\n[A\\B]\n\"Name\"=\"deep\""),
      std::string::npos)
      << s.File();

  EXPECT_EQ(s.Number("OPTIONS\\volume"), 5);
  EXPECT_EQ(s.Number("volume"), 9);
  EXPECT_EQ(s.Text("a\\b\\NAME"), "deep");
  EXPECT_EQ(s.Text("A\\Name"), std::nullopt);
  EXPECT_EQ(s.Number("Missing\\Volume"), std::nullopt);
}

TEST(SettingsStore, TypesTypeMismatchesAndStringsUpTo1023Bytes) {
  GameStore s;
  ASSERT_TRUE(s.store.RegistryWriteString("Text", "12"));
  ASSERT_TRUE(s.store.RegistryWriteInteger("Number", -2));
  ASSERT_TRUE(s.store.RegistryWriteBoolean("Yes", true));
  ASSERT_TRUE(s.store.RegistryWriteBoolean("No", false));
  EXPECT_NE(s.File().find("\"Number\"=dword:fffffffe\n\"Yes\"=dword:00000001\n\"No\"=dword:00000000\n"),
            std::string::npos);

  int number = 77;
  std::string text = "kept";
  bool flag = false;
  EXPECT_FALSE(s.store.RegistryReadInteger("Text", number));
  EXPECT_FALSE(s.store.RegistryReadBoolean("Text", flag));
  EXPECT_FALSE(s.store.RegistryReadString("Number", text));
  EXPECT_EQ(number, 77);
  EXPECT_EQ(text, "kept");
  EXPECT_FALSE(flag);

  EXPECT_EQ(s.Number("Number"), -2);
  ASSERT_TRUE(s.store.RegistryReadBoolean("Number", flag));  // any number but 0
  EXPECT_TRUE(flag);
  ASSERT_TRUE(s.store.RegistryReadBoolean("No", flag));
  EXPECT_FALSE(flag);

  // A value of a type the store does not write is neither a string nor a number.
  s.dir.Write(kSettingsFile, "\"Bin\"=hex:01,00,00,00\n\"Big\"=qword:0000000000000001\n");
  EXPECT_FALSE(s.store.RegistryReadInteger("Bin", number));
  EXPECT_FALSE(s.store.RegistryReadInteger("Big", number));
  EXPECT_FALSE(s.store.RegistryReadString("Bin", text));

  std::string every;
  for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
  const std::string longest(1023, 'x');
  for (const std::string& written : {every, longest, std::string()}) {
    ASSERT_TRUE(s.store.RegistryWriteString("Text", written));
    EXPECT_EQ(s.Text("Text"), written);
  }
  ASSERT_TRUE(s.store.RegistryWriteString("TooLong", longest + "y"));  // stored, but cannot be read
  EXPECT_FALSE(s.store.RegistryReadString("TooLong", text));
  EXPECT_EQ(text, "kept");
}

TEST(SettingsStore, DamagedOrUnreadableFilesKeepWhatTheyCan) {
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
  EXPECT_DOUBLE_EQ(read.musicVolume, 0.0);
  EXPECT_DOUBLE_EQ(read.sfxVolume, 1.0);
  EXPECT_EQ(read.muteCount, 1);
  EXPECT_FALSE(read.windowed);  // any number but 0 is full screen

  // A file that cannot be read is never overwritten; filling the disk is the
  // atomic write's own test.
  std::filesystem::remove(s.dir.File(kSettingsFile));
  std::filesystem::create_directories(s.dir.File(kSettingsFile));
  EXPECT_FALSE(s.store.RegistryWriteInteger("Level", 1));
  EXPECT_TRUE(std::filesystem::is_directory(s.dir.File(kSettingsFile)));
}

TEST(SettingsStore, WritesFromSeveralThreadsAllArrive) {
  GameStore s;
  auto writeTen = [&s](const std::string& prefix) {
    for (int i = 0; i < 10; ++i) s.store.RegistryWriteInteger(prefix + std::to_string(i), i);
  };
  std::thread other(writeTen, "Other\\Value");
  writeTen("Value");
  other.join();
  for (const std::string prefix : {"Value", "Other\\Value"}) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Number(prefix + std::to_string(i)), i) << prefix << i;
  }
}

TEST(SettingsStore, EraseValueAndAnEmptyKey) {
  GameStore s;
  s.store.RegistryEraseValue("Nothing\\Here");
  EXPECT_FALSE(s.dir.Exists(kSettingsFile));  // erasing nothing writes nothing
  ASSERT_TRUE(s.store.RegistryWriteBoolean("Is3D", true));
  ASSERT_TRUE(s.store.RegistryWriteInteger("Sub\\Is3D", 1));
  s.store.RegistryEraseValue("IS3D");
  bool flag = false;
  EXPECT_FALSE(s.store.RegistryReadBoolean("Is3D", flag));
  EXPECT_TRUE(s.store.RegistryReadBoolean("Sub\\Is3D", flag));

  // Without a key nothing is read or written anywhere.
  ZingTest::TempFolder dir;
  SettingsStore store(dir.Path());
  EXPECT_EQ(store.GetFilePath(), "");
  std::string text;
  int number;
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
  settings.musicVolume = 0.857;
  settings.sfxVolume = 0.29;  // 0.29 * 100 is just below 29 in binary
  settings.muteCount = 2;
  settings.autoMuteCount = 2;  // muted only because the window lost the focus
  settings.windowed = false;
  settings.preferredX = 12;
  settings.customCursors = false;
  s.store.WriteFrameworkSettings(settings);
  EXPECT_EQ(hook.log, (std::vector<std::string>{"write MusicVolume", "write SfxVolume", "write Muted",
                                                "write ScreenMode", "write PreferredX", "write PreferredY",
                                                "write CustomCursors", "write InProgress", "write WaitForVSync"}));
  EXPECT_NE(
      s.File().find("\"MusicVolume\"=dword:00000055\n\"SfxVolume\"=dword:0000001d\n\"Muted\"=dword:00000000\n"
                    "\"ScreenMode\"=dword:00000001\n\"PreferredX\"=dword:0000000c\n\"PreferredY\"=dword:ffffffff\n"
                    "\"CustomCursors\"=dword:00000000\n\"InProgress\"=dword:00000000\n"
                    "\"WaitForVSync\"=dword:00000000\n"),
      std::string::npos)
      << s.File();

  // The previous run ended normally; this one is now in progress.
  ASSERT_TRUE(s.store.RegistryWriteString("PreferredY", "not a number"));
  hook.log.clear();
  FrameworkSettings read;
  read.preferredY = 33;
  read.customCursors = true;
  s.store.ReadFrameworkSettings(read, false);
  EXPECT_EQ(hook.log, (std::vector<std::string>{"read MusicVolume", "read SfxVolume", "read Muted", "read ScreenMode",
                                                "read PreferredX", "read PreferredY", "read CustomCursors",
                                                "read WaitForVSync", "read InProgress", "write InProgress"}));
  EXPECT_DOUBLE_EQ(read.musicVolume, 0.85);
  EXPECT_DOUBLE_EQ(read.sfxVolume, 0.29);
  EXPECT_EQ(read.muteCount, 0);
  EXPECT_FALSE(read.windowed);
  EXPECT_EQ(read.preferredX, 12);
  EXPECT_EQ(read.preferredY, 33);  // mistyped: unchanged
  EXPECT_FALSE(read.customCursors);
  EXPECT_TRUE(read.lastShutdownWasGraceful);

  // The user's own mute persists; "InProgress" 1 means the last run crashed.
  settings.autoMuteCount = 1;
  ASSERT_TRUE(s.store.RegistryWriteInteger("Muted", settings.muteCount - settings.autoMuteCount > 0 ? 1 : 0));
  ASSERT_TRUE(s.store.RegistryWriteInteger("ScreenMode", 0));
  s.store.ReadFrameworkSettings(read, true);
  EXPECT_EQ(read.muteCount, 1);
  EXPECT_TRUE(read.windowed);
  EXPECT_FALSE(read.lastShutdownWasGraceful);
  EXPECT_EQ(hook.log.back(), "read InProgress");  // a screen saver does not mark its run
}

}  // namespace
