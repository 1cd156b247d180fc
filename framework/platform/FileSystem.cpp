#include "framework/platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace Zing::Platform {

std::string ToDiskPath(const std::string& path) {
  std::string disk = path;
  std::replace(disk.begin(), disk.end(), '\\', '/');
  return disk;
}

namespace {

bool MakeOneFolder(const std::string& folder) {
  if (folder.empty() || mkdir(folder.c_str(), 0755) == 0) return true;
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

// Makes sure a rename inside `folder` survives a power cut.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
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

  std::string temp = disk + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;

  bool ok = WriteAll(fd, static_cast<const unsigned char*>(bytes), count) && fsync(fd) == 0;
  // A replaced file keeps its permissions; a new one is readable by all, as a
  // plainly created file would be.
  struct stat old {};
  if (ok) fchmod(fd, stat(disk.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  ok = (close(fd) == 0) && ok;
  if (ok && std::rename(temp.c_str(), disk.c_str()) == 0) {
    SyncFolder(folder);
    return true;
  }
  unlink(temp.c_str());
  return false;
}

}  // namespace Zing::Platform
