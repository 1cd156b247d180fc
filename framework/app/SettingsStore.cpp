#include "framework/app/SettingsStore.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace Zing {

namespace {

// "Options\Volume" is the value "Volume" in sub-key "Options".
std::pair<std::string, std::string> SplitValuePath(const std::string& name) {
  const std::size_t slash = name.rfind('\\');
  if (slash == std::string::npos) return {std::string(), name};
  return {name.substr(0, slash), name.substr(slash + 1)};
}

// Volumes are stored as whole percent, cut rather than rounded (0.857 is 85).
// The tiny allowance keeps a percentage read back from the store from
// shrinking by one through the binary fraction (0.29 * 100 is 28.999...).
int VolumeToPercent(double volume) {
  if (!(volume > 0.0)) return 0;  // also catches NaN
  return static_cast<int>(std::min(volume, 1.0) * 100.0 + 1e-9);
}

double PercentToVolume(int percent) { return std::clamp(percent, 0, 100) / 100.0; }

}  // namespace

SettingsStore::SettingsStore(std::string folder) : configFolder(std::move(folder)) {}

void SettingsStore::SetRegistryKey(const std::string& key) {
  std::lock_guard<std::mutex> lock(keyLock);
  registryKey = key;
}

std::string SettingsStore::GetRegistryKey() const {
  std::lock_guard<std::mutex> lock(keyLock);
  return registryKey;
}

std::string SettingsStore::FilePathOf(const std::string& key) const {
  return key.empty() ? std::string() : Platform::SettingsFilePath(configFolder, key);
}

std::string SettingsStore::GetFilePath() const { return FilePathOf(GetRegistryKey()); }

bool SettingsStore::WriteValue(const std::string& name, const SettingsValue& value) {
  const std::string key = GetRegistryKey();
  if (key.empty()) return false;
  if (accessHook != nullptr) {
    if (std::optional<bool> answer = accessHook->AnswerWrite(name)) return *answer;
  }
  const bool ok = WriteToFile(FilePathOf(key), name, value);
  if (accessHook != nullptr) accessHook->WriteDone(name, ok);
  return ok;
}

bool SettingsStore::ReadValue(const std::string& name, SettingsValue& value) {
  const std::string key = GetRegistryKey();
  if (key.empty()) return false;
  if (accessHook != nullptr) {
    if (std::optional<bool> answer = accessHook->AnswerRead(name, value)) return *answer;
  }
  const bool ok = ReadFromFile(FilePathOf(key), name, value);
  if (accessHook != nullptr) accessHook->ReadDone(name, ok, value);
  return ok;
}

bool SettingsStore::WriteToFile(const std::string& path, const std::string& name, const SettingsValue& value) {
  const auto [subKey, valueName] = SplitValuePath(name);
  std::lock_guard<std::mutex> lock(fileLock);
  Platform::SettingsFile file;
  if (path.empty() || !file.Load(path)) return false;
  // Start-up and every option change write many values that are already
  // stored; rewriting (and syncing) the whole file for each would only wear
  // the disk and slow the start.
  const std::string before = file.Format();
  if (!file.Set(subKey, valueName, value)) return false;
  return file.Format() == before || file.Save(path);
}

bool SettingsStore::ReadFromFile(const std::string& path, const std::string& name, SettingsValue& value) {
  const auto [subKey, valueName] = SplitValuePath(name);
  std::lock_guard<std::mutex> lock(fileLock);
  Platform::SettingsFile file;
  if (path.empty() || !file.Load(path)) return false;
  const SettingsValue* found = file.Find(subKey, valueName);
  if (found != nullptr) value = *found;
  return found != nullptr;
}

bool SettingsStore::RegistryWriteString(const std::string& name, const std::string& text) {
  return WriteValue(name, SettingsValue::String(text));
}

bool SettingsStore::RegistryWriteInteger(const std::string& name, int value) {
  return WriteValue(name, SettingsValue::Dword(static_cast<std::uint32_t>(value)));
}

bool SettingsStore::RegistryWriteBoolean(const std::string& name, bool value) {
  return RegistryWriteInteger(name, value ? 1 : 0);
}

bool SettingsStore::RegistryReadString(const std::string& name, std::string& text) {
  SettingsValue value;
  if (!ReadValue(name, value) || value.type != SettingsType::String || value.text.size() > kMaxStringBytes) {
    return false;
  }
  text = value.text;
  return true;
}

bool SettingsStore::RegistryReadInteger(const std::string& name, int& number) {
  SettingsValue value;
  if (!ReadValue(name, value) || value.type != SettingsType::Dword) return false;
  number = static_cast<int>(value.number);
  return true;
}

bool SettingsStore::RegistryReadBoolean(const std::string& name, bool& flag) {
  int number;
  if (!RegistryReadInteger(name, number)) return false;
  flag = number != 0;
  return true;
}

void SettingsStore::RegistryEraseValue(const std::string& name) {
  const std::string path = GetFilePath();
  const auto [subKey, valueName] = SplitValuePath(name);
  std::lock_guard<std::mutex> lock(fileLock);
  Platform::SettingsFile file;
  if (!path.empty() && file.Load(path) && file.Erase(subKey, valueName)) file.Save(path);
}

void SettingsStore::ReadFrameworkSettings(FrameworkSettings& settings, bool screenSaver) {
  if (GetRegistryKey().empty()) return;
  int number;
  if (RegistryReadInteger("MusicVolume", number)) settings.musicVolume = PercentToVolume(number);
  if (RegistryReadInteger("SfxVolume", number)) settings.sfxVolume = PercentToVolume(number);
  // Only 0 or 1 is ever stored; a damaged count must not outlast one unmute.
  if (RegistryReadInteger("Muted", number)) settings.muteCount = number > 0 ? 1 : 0;
  if (RegistryReadInteger("ScreenMode", number)) settings.windowed = number == 0;
  RegistryReadInteger("PreferredX", settings.preferredX);
  RegistryReadInteger("PreferredY", settings.preferredY);
  if (RegistryReadInteger("CustomCursors", number)) settings.customCursors = number != 0;
  RegistryReadBoolean("WaitForVSync", settings.waitForVSync);
  if (RegistryReadInteger("InProgress", number)) settings.lastShutdownWasGraceful = number == 0;
  if (!screenSaver) RegistryWriteInteger("InProgress", 1);
}

void SettingsStore::WriteFrameworkSettings(const FrameworkSettings& settings) {
  if (GetRegistryKey().empty()) return;
  RegistryWriteInteger("MusicVolume", VolumeToPercent(settings.musicVolume));
  RegistryWriteInteger("SfxVolume", VolumeToPercent(settings.sfxVolume));
  RegistryWriteInteger("Muted", settings.muteCount - settings.autoMuteCount > 0 ? 1 : 0);
  RegistryWriteInteger("ScreenMode", settings.windowed ? 0 : 1);
  RegistryWriteInteger("PreferredX", settings.preferredX);
  RegistryWriteInteger("PreferredY", settings.preferredY);
  RegistryWriteInteger("CustomCursors", settings.customCursors ? 1 : 0);
  RegistryWriteInteger("InProgress", 0);
  RegistryWriteBoolean("WaitForVSync", settings.waitForVSync);
}

}  // namespace Zing
