#include "tools/pak/PakTool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "framework/platform/FileSystem.h"
#include "framework/platform/MappedFile.h"

namespace PakTool {

namespace {

using Zing::Pak::Entry;
namespace Platform = Zing::Platform;

struct SourceFile {
  std::string name;  // inside the folder, '/' as separator
  std::string path;  // on the disk
  std::int64_t time = 0;
};

// Every regular file below `folder`, with `prefix` before its name.
bool CollectFiles(const std::string& folder, const std::string& prefix, std::vector<SourceFile>& files,
                  std::string& error) {
  std::vector<Platform::FolderEntry> entries;
  if (!Platform::ListFolder(folder, entries)) {
    error = "cannot read the folder " + folder;
    return false;
  }
  for (const Platform::FolderEntry& entry : entries) {
    const std::string path = folder + "/" + entry.name;
    if (entry.isFolder && !entry.isLink) {
      if (!CollectFiles(path, prefix + entry.name + "/", files, error)) return false;
    } else if (entry.isFile) {
      files.push_back(SourceFile{prefix + entry.name, path, entry.modified});
    }
  }
  return true;
}

void AppendKeyed(std::string& archive, const unsigned char* bytes, std::size_t count) {
  const std::size_t start = archive.size();
  archive.append(reinterpret_cast<const char*>(bytes), count);
  Zing::Pak::ApplyKey(reinterpret_cast<unsigned char*>(archive.data()) + start, count);
}

// The whole archive of `files`, key applied.
bool BuildArchive(const std::vector<SourceFile>& files, Times times, std::string& archive, std::string& error) {
  std::vector<Platform::MappedFile> contents(files.size());
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!contents[i].Open(files[i].path)) {
      error = "cannot read " + files[i].path;
      return false;
    }
    if (contents[i].Size() > Zing::Pak::kMaxFileSize) {
      error = files[i].path + " is larger than an archive can hold (4 GiB)";
      return false;
    }
    Entry entry;
    entry.name = files[i].name;
    entry.size = static_cast<std::uint32_t>(contents[i].Size());
    entry.time = times == Times::Zero ? 0 : Zing::Pak::TimeFromUnixNanoseconds(files[i].time);
    entries.push_back(std::move(entry));
  }
  std::string directory;
  if (!Zing::Pak::WriteDirectory(entries, directory, error)) return false;
  archive.clear();
  AppendKeyed(archive, reinterpret_cast<const unsigned char*>(directory.data()), directory.size());
  for (const Platform::MappedFile& file : contents) AppendKeyed(archive, file.Data(), file.Size());
  return true;
}

bool SameBytes(const std::string& path, const std::string& bytes) {
  Platform::MappedFile existing;
  return existing.Open(path) && existing.Size() == bytes.size() &&
         (bytes.empty() || std::memcmp(existing.Data(), bytes.data(), bytes.size()) == 0);
}

// A name as a relative path below the extraction folder, or empty when it
// would leave the folder.
std::string SafeRelativePath(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return std::string();
  if (name.front() == '/' || name.front() == '\\') return std::string();
  std::string path;
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = name.find_first_of("/\\", begin);
    if (end == std::string::npos) end = name.size();
    const std::string component = name.substr(begin, end - begin);
    begin = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") return std::string();
    if (!path.empty()) path += '/';
    path += component;
  }
  return path;
}

std::string FormatTime(std::int64_t time) {
  if (time == 0) return "-";
  using namespace std::chrono;
  // Only years 1601 to 9999 are shown; a damaged archive may hold anything.
  constexpr std::int64_t kTicksPerSecond = 10'000'000;
  constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
  constexpr std::int64_t kSecondsFrom1601To10000 = 265'046'774'400;
  if (time < 0 || time / kTicksPerSecond >= kSecondsFrom1601To10000) return "?";
  const std::int64_t seconds = time / kTicksPerSecond - kSecondsFrom1601To1970;
  const sys_seconds at{std::chrono::seconds(seconds)};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss clock{at - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

}  // namespace

bool CreateArchive(const std::string& folder, const std::string& archive, Times times, bool& written,
                   std::string& error, const std::vector<std::string>& excluded) {
  written = false;
  std::vector<SourceFile> files;
  if (!CollectFiles(folder, "", files, error)) return false;
  std::erase_if(files, [&](const SourceFile& file) {
    return Platform::IsSameFile(file.path, archive) ||
           std::find(excluded.begin(), excluded.end(), file.name) != excluded.end();
  });
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });

  std::string bytes;
  if (!BuildArchive(files, times, bytes, error)) return false;
  if (SameBytes(archive, bytes)) return true;
  if (!Platform::WriteFileAtomically(archive, bytes.data(), bytes.size())) {
    error = "cannot write " + archive;
    return false;
  }
  written = true;
  return true;
}

namespace {

// Maps an archive and reads its directory.
bool OpenArchive(const std::string& archive, Platform::MappedFile& file, std::vector<Entry>& entries,
                 std::string& error) {
  if (!file.Open(archive)) {
    error = "cannot read " + archive;
    return false;
  }
  if (!Zing::Pak::ReadDirectory(file.Data(), file.Size(), entries, error)) {
    error = archive + " is damaged: " + error;
    return false;
  }
  return true;
}

}  // namespace

bool ListArchive(const std::string& archive, std::vector<Entry>& entries, std::string& error) {
  Platform::MappedFile file;
  return OpenArchive(archive, file, entries, error);
}

std::string FormatListing(const std::vector<Entry>& entries) {
  std::string listing;
  std::uint64_t total = 0;
  char line[64];
  for (const Entry& entry : entries) {
    std::snprintf(line, sizeof line, "%12u  %-19s  ", entry.size, FormatTime(entry.time).c_str());
    listing += line;
    listing += entry.name;
    listing += '\n';
    total += entry.size;
  }
  std::snprintf(line, sizeof line, "%zu %s, %llu bytes\n", entries.size(), entries.size() == 1 ? "file" : "files",
                static_cast<unsigned long long>(total));
  return listing + line;
}

bool ExtractArchive(const std::string& archive, const std::string& folder, std::string& error) {
  Platform::MappedFile file;
  std::vector<Entry> entries;
  if (!OpenArchive(archive, file, entries, error)) return false;
  std::vector<std::string> paths;
  for (const Entry& entry : entries) {
    paths.push_back(SafeRelativePath(entry.name));
    if (paths.back().empty()) {
      error = "the name \"" + entry.name + "\" would be written outside " + folder;
      return false;
    }
  }
  std::string bytes;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string path = folder + "/" + paths[i];
    const std::size_t slash = path.rfind('/');
    bytes.assign(reinterpret_cast<const char*>(file.Data() + entries[i].start), entries[i].size);
    Zing::Pak::ApplyKey(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    if (!Platform::CreateFolders(path.substr(0, slash)) ||
        !Platform::WriteFileAtomically(path, bytes.data(), bytes.size())) {
      error = "cannot write " + path;
      return false;
    }
    if (entries[i].time != 0) {
      Platform::SetFileModified(path, Zing::Pak::UnixNanosecondsFromTime(entries[i].time));
    }
  }
  return true;
}

}  // namespace PakTool
