#pragma once

// The application's settings store: typed values below the application's
// registry key, kept in the per-user settings file of that key. A value name
// may carry a sub-key path: everything up to its last backslash names the
// sub-key, the rest the value ("Options\Volume" is "Volume" in sub-key
// "Options"). Every write reaches the disk at once and atomically; every
// access reads the file afresh, so the store always shows what is on disk.
// Accesses from several threads are safe; two processes writing at the same
// moment may lose one of the two changes.
// With an empty registry key every operation does nothing and fails.

#include <mutex>
#include <optional>
#include <string>

#include "framework/platform/SettingsFile.h"

namespace Zing {

using Platform::SettingsType;
using Platform::SettingsValue;

// Lets demo recording and playback stand between the store and its file.
// Playback answers an access from the demo instead of the file; recording
// hears the outcome of every access that reached the file. Erasing is never
// recorded.
class SettingsAccessHook {
 public:
  virtual ~SettingsAccessHook() = default;
  // The recorded outcome (for reads also the value), or nothing to let the
  // access reach the file.
  virtual std::optional<bool> AnswerWrite(const std::string& name) = 0;
  virtual std::optional<bool> AnswerRead(const std::string& name, SettingsValue& value) = 0;
  virtual void WriteDone(const std::string& name, bool ok) = 0;
  // `value` is meaningful only when `ok` is true.
  virtual void ReadDone(const std::string& name, bool ok, const SettingsValue& value) = 0;
};

// The framework's own settings, in the units the application works with. The
// application fills them from its fields before reading, so that a value
// missing from the store keeps the field's current value.
struct FrameworkSettings {
  double musicVolume = 0.85;  // 0..1
  double sfxVolume = 0.85;    // 0..1
  int muteCount = 0;
  int autoMuteCount = 0;  // mutes caused by losing the focus: never stored
  bool windowed = true;
  int preferredX = -1;
  int preferredY = -1;
  bool customCursors = false;  // the application hands it to EnableCustomCursors
  bool waitForVSync = false;
  bool lastShutdownWasGraceful = true;
};

class SettingsStore {
 public:
  // The longest string a read accepts, in bytes.
  static constexpr std::size_t kMaxStringBytes = 1023;

  // The settings of every application live below `configFolder` (normally
  // the desktop's per-user configuration folder; tests give their own).
  explicit SettingsStore(std::string configFolder = Platform::ConfigFolder());

  // The key may be set again while other threads use the store; each access
  // works with the key as it stood when the access began.
  void SetRegistryKey(const std::string& key);
  std::string GetRegistryKey() const;
  // The file the values go to; empty when the key is empty.
  std::string GetFilePath() const;

  // Null for none; the hook is not owned.
  void SetAccessHook(SettingsAccessHook* hook) { accessHook = hook; }

  bool RegistryWriteString(const std::string& name, const std::string& text);
  bool RegistryWriteInteger(const std::string& name, int value);
  bool RegistryWriteBoolean(const std::string& name, bool value);  // 1 or 0

  // The typed reads fail, leaving the target unchanged, for a missing value,
  // a value of another type, or a string longer than kMaxStringBytes.
  bool RegistryReadString(const std::string& name, std::string& text);
  bool RegistryReadInteger(const std::string& name, int& value);
  bool RegistryReadBoolean(const std::string& name, bool& value);  // any number but 0 is true

  void RegistryEraseValue(const std::string& name);

  // The framework's values. Reading goes in a fixed order, each missing or
  // mistyped value leaving its field unchanged, then marks the run as in
  // progress (not for a screen saver); writing stores them all and marks a
  // normal end.
  void ReadFrameworkSettings(FrameworkSettings& settings, bool screenSaver);
  void WriteFrameworkSettings(const FrameworkSettings& settings);

  // Untyped access, shared by the typed operations.
  bool WriteValue(const std::string& name, const SettingsValue& value);
  bool ReadValue(const std::string& name, SettingsValue& value);

 private:
  bool WriteToFile(const std::string& path, const std::string& name, const SettingsValue& value);
  bool ReadFromFile(const std::string& path, const std::string& name, SettingsValue& value);
  std::string FilePathOf(const std::string& key) const;

  std::mutex fileLock;  // one read-change-write of the file at a time
  std::string configFolder;
  mutable std::mutex keyLock;  // guards registryKey only
  std::string registryKey;
  SettingsAccessHook* accessHook = nullptr;
};

}  // namespace Zing
