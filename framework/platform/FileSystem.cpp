#include "framework/platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <utility>

namespace Zing::Platform {

std::string ToDiskPath(const std::string& path) {
  std::string disk = path;
  std::replace(disk.begin(), disk.end(), '\\', '/');
  return disk;
}

namespace {

// New folders and files get every permission the user's umask (and the
// folder's default access list) allows, as any program's do.
constexpr mode_t kNewFolderMode = 0777;
constexpr mode_t kNewFileMode = 0666;

bool MakeOneFolder(const std::string& folder) {
  if (folder.empty() || mkdir(folder.c_str(), kNewFolderMode) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat info {};
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t count) {
  while (count > 0) {
    ssize_t written = write(fd, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

// Creates a new file beside `path` under a name no other file has; unlike
// mkstemp, the file's mode follows the umask. Returns the descriptor or -1.
int CreateTemporaryBeside(const std::string& path, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(getpid()), counter++);
    temp = path + suffix;
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Whether `name` is a temporary that CreateTemporaryBeside made for the file
// `base` in a process that has since ended (killed while it saved): such a
// file is left behind for good. Temporaries of live processes, this one
// included, may be in the middle of a write and are not stale.
bool IsStaleTemporary(const std::string& name, const std::string& base) {
  constexpr std::string_view kSuffix = ".tmp";
  if (name.size() <= base.size() + kSuffix.size() + 1 || name.compare(0, base.size(), base) != 0 ||
      name[base.size()] != '.' || !name.ends_with(kSuffix)) {
    return false;
  }
  long pid = 0;
  unsigned counter = 0;
  char end = 0;
  const std::string tail = name.substr(base.size());
  if (std::sscanf(tail.c_str(), ".%ld.%u.tm%c", &pid, &counter, &end) != 3 || end != 'p' || pid <= 0) return false;
  if (pid == static_cast<long>(getpid())) return false;
  return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporaries that writes of `disk` left when their process was
// killed, so that they do not pile up in the user's folders.
void RemoveStaleTemporaries(const std::string& folder, const std::string& disk) {
  const std::string base = disk.substr(folder.empty() ? 0 : folder.size() + 1);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    if (IsStaleTemporary(entry->d_name, base))
      unlink((folder.empty() ? entry->d_name : folder + "/" + entry->d_name).c_str());
  }
  closedir(dir);
}

// Waits until the file's bytes are on the disk. The browser's file system is
// memory: there KeepWrittenFiles hands the files to the page's storage (its
// own fsync would suspend the program to copy them, which a save made while
// the page goes away cannot wait for).
int FlushToDisk(int fd) {
#ifdef __EMSCRIPTEN__
  (void)fd;
  return 0;
#else
  return fsync(fd);
#endif
}

// Makes sure a rename inside `folder` survives a power cut.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  FlushToDisk(fd);
  close(fd);
}

}  // namespace

bool CreateFolders(const std::string& path) {
  std::string disk = ToDiskPath(path);
  // Every prefix that ends before a separator, shortest first, then the folder itself.
  for (std::size_t i = 1; i < disk.size(); ++i) {
    if (disk[i] == '/' && disk[i - 1] != '/' && !MakeOneFolder(disk.substr(0, i))) return false;
  }
  return MakeOneFolder(disk);
}

bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t count) {
  const std::string disk = ToDiskPath(path);
  const std::size_t slash = disk.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : disk.substr(0, slash);

  RemoveStaleTemporaries(folder, disk);
  std::string temp;
  const int fd = CreateTemporaryBeside(disk, temp);
  if (fd < 0) return false;

  bool ok = WriteAll(fd, static_cast<const unsigned char*>(bytes), count) && FlushToDisk(fd) == 0;
  // A replaced file keeps its permissions; a new one has those it was created with.
  struct stat old {};
  if (ok && stat(disk.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  ok = (close(fd) == 0) && ok;
  if (ok && std::rename(temp.c_str(), disk.c_str()) == 0) {
    SyncFolder(folder);
    KeepWrittenFiles();
    return true;
  }
  unlink(temp.c_str());
  return false;
}

std::string CurrentFolder() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

namespace {

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  const std::string disk = ToDiskPath(folder.empty() ? std::string(".") : folder);
  DIR* dir = opendir(disk.c_str());
  if (dir == nullptr) return false;
  const int dirFd = dirfd(dir);
  while (const dirent* item = readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat link {};
    struct stat target {};
    if (fstatat(dirFd, item->d_name, &link, AT_SYMLINK_NOFOLLOW) != 0) continue;
    FolderEntry entry;
    entry.name = name;
    entry.isLink = S_ISLNK(link.st_mode);
    // A dangling link is reported as what it is: a name with nothing behind it.
    const struct stat& info = fstatat(dirFd, item->d_name, &target, 0) == 0 ? target : link;
    entry.isFolder = S_ISDIR(info.st_mode);
    entry.isFile = S_ISREG(info.st_mode);
    entry.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    entry.modified = Nanoseconds(info.st_mtim);
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return stat(ToDiskPath(a).c_str(), &first) == 0 && stat(ToDiskPath(b).c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool SetFileModified(const std::string& path, std::int64_t modified) {
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;  // the access time stays as it is
  times[1].tv_sec = static_cast<time_t>(modified / 1000000000);
  times[1].tv_nsec = static_cast<long>(modified % 1000000000);
  if (times[1].tv_nsec < 0) {
    times[1].tv_nsec += 1000000000;
    times[1].tv_sec -= 1;
  }
  return utimensat(AT_FDCWD, ToDiskPath(path).c_str(), times, 0) == 0;
}

}  // namespace Zing::Platform
