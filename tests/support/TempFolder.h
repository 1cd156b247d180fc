#pragma once

// A fresh folder below the system's temporary folder for one test, removed with everything in it
// when the test ends; and a test run inside a folder, as the game runs inside its data folder.

#include <filesystem>
#include <string>

namespace ZingTest {

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::string& Path() const { return path; }
  // The path of a file inside the folder.
  std::string File(const std::string& name) const { return path + "/" + name; }

  // Helpers to set up and inspect files.
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::string path;
};

// The working folder is `folder` for the rest of the scope.
struct InFolder {
  explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
  ~InFolder() { std::filesystem::current_path(previous); }
  const std::filesystem::path previous = std::filesystem::current_path();
};

}  // namespace ZingTest
