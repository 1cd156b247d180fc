#pragma once

// A stand-in for the application: serves level files from memory, keeps what
// the game saves (files and settings) in memory too, and records every
// request the puzzle makes of it, with the logic tick it came in.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/puzzle/PuzzleHost.h"

namespace LintwickTest {

inline constexpr const char* kSavePath = "/home/player/save\\game.dat";

// One request of the puzzle: a sound name ("SOUND_CUBE_TAP"), "RestartLevel",
// "HighScores", "FreshGame", "NextLevelShown", "BoardSolved" or "Popup", and its value (the score, the text).
struct Request {
  int tick = 0;
  std::string what;
  std::string value;
};

class FakeHost : public Lintwick::PuzzleHost {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist, but every read fails
  std::map<std::string, int> settings;
  bool settingsWritable = true;
  int writes = 0;
  std::vector<std::string> popups;
  std::vector<Request> requests;
  std::vector<Lintwick::LevelSolve> solves;  // every level reported solved
  int tick = 0;                              // the tick the test is running; stamped on every request
  std::size_t made = 0;                      // requests ever made, whether or not a test cleared them

  void Popup(const std::string& text) override {
    popups.push_back(text);
    Record("Popup", text);
  }
  bool FileExists(const std::string& path) override { return files.count(path) || unreadable.count(path); }
  bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return false;
    buffer.Clear();
    buffer.SetData(it->second.data(), it->second.size());
    return true;
  }
  void PlaySound(Lintwick::Sound sound) override { Record(Lintwick::SoundName(sound)); }
  void AskRestartLevel() override { Record("RestartLevel"); }
  void ShowHighScores(int score) override { Record("HighScores", std::to_string(score)); }
  void FreshGameStarted() override { Record("FreshGame"); }
  void NextLevelShown() override { Record("NextLevelShown"); }
  void BoardSolved(int score, bool filled) override {
    Record("BoardSolved", std::to_string(score) + (filled ? " filled" : " open"));
  }
  void LevelSolved(const Lintwick::LevelSolve& solve) override { solves.push_back(solve); }
  Lintwick::CelSize VortexCelSize(int) override { return {40, 40}; }
  std::string GetUserDataFolder() override { return "/home/player/"; }
  bool WriteBufferToFile(const std::string& path, const Zing::Buffer& buffer) override {
    ++writes;
    files[path].assign(reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataLen());
    return true;
  }
  bool RegistryReadInteger(const std::string& name, int& value) override {
    auto it = settings.find(name);
    return it != settings.end() && (value = it->second, true);
  }
  bool RegistryWriteInteger(const std::string& name, int value) override {
    if (settingsWritable) settings[name] = value;
    return settingsWritable;
  }

  // Queries for the tests.
  std::vector<std::uint8_t> Saved() const {
    auto it = files.find(kSavePath);
    return it == files.end() ? std::vector<std::uint8_t>{}
                             : std::vector<std::uint8_t>(it->second.begin(), it->second.end());
  }
  std::vector<int> TicksOf(const std::string& what) const {
    std::vector<int> ticks;
    for (const auto& r : requests)
      if (r.what == what) ticks.push_back(r.tick);
    return ticks;
  }
  int Count(const std::string& what) const { return static_cast<int>(TicksOf(what).size()); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& r : requests) names.push_back(r.what);
    return names;
  }

 private:
  void Record(const std::string& what, const std::string& value = "") {
    requests.push_back({tick, what, value});
    ++made;
  }
};

}  // namespace LintwickTest
