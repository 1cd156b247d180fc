#include "framework/app/FileAccess.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "framework/archive/PakInterface.h"
#include "framework/platform/FileSystem.h"

namespace Zing {

namespace {

struct PFileCloser {
  void operator()(PFILE* file) const { p_fclose(file); }
};
using PFilePtr = std::unique_ptr<PFILE, PFileCloser>;

}  // namespace

bool FileExists(const std::string& path) { return PFilePtr(p_fopen(path.c_str(), "rb")) != nullptr; }

bool ReadBufferFromFile(const std::string& path, Buffer& buffer) {
  PFilePtr file(p_fopen(path.c_str(), "rb"));
  if (!file) return false;
  // A folder opens like a file but has no readable size; a file too large for
  // a buffer is refused rather than cut short.
  if (p_fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = p_ftell(file.get());
  if (size < 0 || static_cast<unsigned long>(size) > Buffer::kMaxBytes) return false;
  if (p_fseek(file.get(), 0, SEEK_SET) != 0) return false;

  std::vector<unsigned char> block(static_cast<std::size_t>(size));
  if (p_fread(block.data(), 1, block.size(), file.get()) != block.size()) return false;
  buffer.Clear();
  buffer.SetData(block.data(), block.size());
  return true;
}

bool WriteBufferToFile(const std::string& path, const Buffer& buffer) {
  return WriteBytesToFile(path, buffer.GetDataPtr(), buffer.GetDataLen());
}

bool WriteBytesToFile(const std::string& path, const void* bytes, std::size_t count) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos && !Platform::CreateFolders(path.substr(0, separator))) return false;
  return Platform::WriteFileAtomically(path, bytes, count);
}

}  // namespace Zing
