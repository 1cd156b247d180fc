#include "framework/platform/Folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "framework/platform/FileSystem.h"

namespace Zing::Platform {

namespace {

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback below the home folder.
// Empty when not even a home folder can be found.
std::string BaseFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  return home != nullptr && home[0] == '/' ? std::string(home) + "/" + fallback : std::string();
}

}  // namespace

std::string UserDataFolder(const std::string& company, const std::string& product) {
  const std::string base = BaseFolder("XDG_DATA_HOME", ".local/share");
  return base.empty() ? std::string() : base + "/" + company + "/" + product + "/";
}

std::string UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }

bool ChangeWorkingFolder(const std::string& path) { return chdir(ToDiskPath(path).c_str()) == 0; }

std::string ProgramFolder() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace Zing::Platform
