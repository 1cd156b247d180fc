#include "framework/archive/PakNames.h"

#include "framework/platform/FileSystem.h"

namespace Zing::PakNames {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The working folder in the form of a lookup key, ending in '\'.
std::string WorkingFolderKey() {
  bool absolute = false;
  const std::vector<std::string> components = Components(Platform::CurrentFolder(), absolute);
  if (!absolute) return std::string();
  std::string key = UpperCase(Join(components, true));
  if (key.back() != '\\') key += '\\';
  return key;
}

}  // namespace

std::vector<std::string> Components(const std::string& path, bool& absolute) {
  absolute = !path.empty() && IsSeparator(path.front());
  std::vector<std::string> components;
  std::size_t begin = 0;
  while (begin < path.size()) {
    std::size_t end = begin;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string component = path.substr(begin, end - begin);
    begin = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == ".." && !components.empty() && components.back() != "..") {
      components.pop_back();
      continue;
    }
    components.push_back(std::move(component));
  }
  return components;
}

std::string Join(const std::vector<std::string>& components, bool absolute) {
  std::string joined = absolute ? "\\" : "";
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (i > 0) joined += '\\';
    joined += components[i];
  }
  return joined;
}

std::string Normalize(const std::string& path) {
  bool absolute = false;
  const std::vector<std::string> components = Components(path, absolute);
  std::string key = UpperCase(Join(components, absolute));
  if (absolute) {
    const std::string folder = WorkingFolderKey();
    if (!folder.empty() && key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0) {
      key.erase(0, folder.size());
    }
  }
  return key;
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  // Greedy matching that goes back to the last '*' on a mismatch: linear in
  // practice, never exponential.
  std::size_t p = 0, n = 0;
  std::size_t star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace Zing::PakNames
