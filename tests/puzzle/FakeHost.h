#pragma once

// A stand-in for the application: serves level files from memory and records
// every request the puzzle makes of it.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/puzzle/PuzzleHost.h"

namespace LintwickTest {

class FakeHost : public Lintwick::PuzzleHost {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // exist, but every read fails
  std::vector<std::string> popups;

  void Popup(const std::string& text) override { popups.push_back(text); }
  bool FileExists(const std::string& path) override { return files.count(path) || unreadable.count(path); }
  bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return false;
    buffer.Clear();
    buffer.SetData(it->second.data(), it->second.size());
    return true;
  }
};

}  // namespace LintwickTest
