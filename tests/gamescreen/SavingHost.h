#pragma once

// A host that keeps the saved game and the settings in memory: what the game
// writes to the save folder becomes a file it can read back.

#include <map>
#include <string>
#include <vector>

#include "tests/puzzle/FakeHost.h"

namespace LintwickTest {

inline constexpr const char* kSavePath = "/home/player/save\\game.dat";

struct SavingHost : FakeHost {
  std::map<std::string, int> settings;
  bool settingsWritable = true;
  int writes = 0;

  std::string GetUserDataFolder() override { return "/home/player/"; }
  bool WriteBufferToFile(const std::string& path, const Zing::Buffer& buffer) override {
    ++writes;
    files[path].assign(reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataLen());
    return true;
  }
  bool RegistryReadInteger(const std::string& name, int& value) override {
    auto it = settings.find(name);
    if (it == settings.end()) return false;
    value = it->second;
    return true;
  }
  bool RegistryWriteInteger(const std::string& name, int value) override {
    if (settingsWritable) settings[name] = value;
    return settingsWritable;
  }

  std::vector<std::uint8_t> Saved() const {
    auto it = files.find(kSavePath);
    if (it == files.end()) return {};
    return {it->second.begin(), it->second.end()};
  }
};

}  // namespace LintwickTest
