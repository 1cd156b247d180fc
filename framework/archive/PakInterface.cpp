#include "framework/archive/PakInterface.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <mutex>
#include <set>

#include "framework/archive/PakFormat.h"
#include "framework/archive/PakNames.h"
#include "framework/platform/FileSystem.h"
#include "framework/platform/MappedFile.h"

namespace Zing {

// One archive: its read-only view and the records of its files. Records are
// never removed, so a stream keeps reading a record that a later archive has
// replaced.
struct PakInterface::Collection {
  Platform::MappedFile file;
  std::deque<Record> records;
};

struct PakInterface::Record {
  std::string name;  // as stored
  const unsigned char* bytes = nullptr;
  std::uint64_t size = 0;
  std::int64_t time = 0;
};

struct PFILE {
  // A file of an archive: its bytes inside the view and the read position.
  const unsigned char* bytes = nullptr;
  std::uint64_t size = 0;
  std::uint64_t position = 0;
  // Otherwise a disk file.
  std::FILE* disk = nullptr;
};

struct PakSearch {
  std::vector<PakFindData> found;
  std::size_t next = 0;
};

namespace {

// The process's layer: one pointer that every part of the program sees.
std::atomic<PakInterfaceBase*> gPakInterface{nullptr};

PFILE* OpenDiskFile(const char* name, const char* mode) {
  std::FILE* disk = std::fopen(Platform::ToDiskPath(name).c_str(), mode);
  return disk != nullptr ? new PFILE{nullptr, 0, 0, disk} : nullptr;
}

bool IsReadMode(const char* mode) {
  const std::string m = mode;
  return m == "r" || m == "rb" || m == "rt";
}

// The file functions on one stream, whichever layer opened it.
namespace Stream {

int Close(PFILE* file) {
  if (file == nullptr) return 0;
  if (file->disk != nullptr) std::fclose(file->disk);
  delete file;
  return 0;
}

// `base` + `offset`, kept within 0 .. `size`.
std::uint64_t ClampedOffset(std::uint64_t base, long offset, std::uint64_t size) {
  if (offset < 0) {
    const std::uint64_t back = 0 - static_cast<std::uint64_t>(offset);
    return back >= base ? 0 : base - back;
  }
  return std::min<std::uint64_t>(size, base + std::min<std::uint64_t>(static_cast<std::uint64_t>(offset), size));
}

int Seek(PFILE* file, long offset, int origin) {
  if (file == nullptr) return -1;
  if (file->disk != nullptr) return std::fseek(file->disk, offset, origin);
  // The end counts like the disk's: size plus offset, so that the same call
  // lands on the same byte wherever the file lies.
  switch (origin) {
    case SEEK_SET:
      file->position = ClampedOffset(0, offset, file->size);
      return 0;
    case SEEK_CUR:
      file->position = ClampedOffset(file->position, offset, file->size);
      return 0;
    case SEEK_END:
      file->position = ClampedOffset(file->size, offset, file->size);
      return 0;
    default:
      return -1;
  }
}

long Tell(PFILE* file) {
  if (file == nullptr) return -1;
  if (file->disk != nullptr) return std::ftell(file->disk);
  return static_cast<long>(file->position);
}

// The archive's bytes as they were packed: eight at a time, then the rest.
void Unscramble(unsigned char* to, const unsigned char* from, std::size_t bytes) {
  constexpr std::uint64_t kWideKey = 0x0101010101010101ull * Pak::kKey;
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= bytes; i += sizeof(std::uint64_t)) {
    std::uint64_t word;
    std::memcpy(&word, from + i, sizeof word);
    word ^= kWideKey;
    std::memcpy(to + i, &word, sizeof word);
  }
  for (; i < bytes; ++i) to[i] = from[i] ^ Pak::kKey;
}

std::size_t Read(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) {
  if (file == nullptr || elementSize == 0 || count == 0) return 0;
  if (file->disk != nullptr) return std::fread(buffer, elementSize, count, file->disk);
  const std::uint64_t wanted = count > std::numeric_limits<std::size_t>::max() / elementSize
                                   ? std::numeric_limits<std::uint64_t>::max()
                                   : std::uint64_t{elementSize} * count;
  const std::size_t bytes = static_cast<std::size_t>(std::min(wanted, file->size - file->position));
  const unsigned char* from = file->bytes + file->position;
  auto* to = static_cast<unsigned char*>(buffer);
  Unscramble(to, from, bytes);
  file->position += bytes;
  return bytes / elementSize;
}

// The next byte of an archive file without carriage returns, or -1.
int NextTextByte(PFILE* file) {
  while (file->position < file->size) {
    const int c = file->bytes[file->position++] ^ Pak::kKey;
    if (c != '\r') return c;
  }
  return -1;
}

int GetC(PFILE* file) {
  if (file == nullptr) return -1;
  if (file->disk != nullptr) return std::fgetc(file->disk);
  return NextTextByte(file);
}

int UnGetC(int c, PFILE* file) {
  if (file == nullptr) return -1;
  if (file->disk != nullptr) return std::ungetc(c, file->disk);
  if (file->position > 0) --file->position;
  return c;
}

char* GetS(char* buffer, int size, PFILE* file) {
  if (file == nullptr || buffer == nullptr || size <= 0) return nullptr;
  if (file->disk != nullptr) return std::fgets(buffer, size, file->disk);
  int stored = 0;
  while (stored < size - 1) {
    const int c = NextTextByte(file);
    if (c < 0) {
      if (stored == 0) return nullptr;
      break;
    }
    buffer[stored++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[stored] = '\0';
  return buffer;
}

int Eof(PFILE* file) {
  if (file == nullptr) return 1;
  if (file->disk != nullptr) return std::feof(file->disk);
  return file->position >= file->size ? 1 : 0;
}

}  // namespace Stream

// Directory searches of the disk alone, for a process without a layer and
// after the archives' own names.
void AddDiskMatches(const std::string& pattern, PakSearch& search) {
  const std::string disk = Platform::ToDiskPath(pattern);
  const std::size_t slash = disk.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : disk.substr(0, std::max<std::size_t>(slash, 1));
  const std::string wanted = PakNames::UpperCase(slash == std::string::npos ? disk : disk.substr(slash + 1));

  std::set<std::string> reported;
  for (const PakFindData& found : search.found) reported.insert(PakNames::UpperCase(found.name));
  std::vector<Platform::FolderEntry> entries;
  if (!Platform::ListFolder(folder, entries)) return;
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const Platform::FolderEntry& entry : entries) {
    const std::string key = PakNames::UpperCase(entry.name);
    if (!PakNames::MatchesWildcard(wanted, key) || reported.count(key) != 0) continue;
    search.found.push_back(
        PakFindData{entry.name, entry.isFolder, entry.size, Pak::TimeFromUnixNanoseconds(entry.modified)});
  }
}

PakFindHandle StartSearch(PakSearch* search, PakFindData* data) {
  if (search->found.empty()) {
    delete search;
    return nullptr;
  }
  search->next = 1;
  if (data != nullptr) *data = search->found.front();
  return search;
}

bool ContinueSearch(PakFindHandle handle, PakFindData* data) {
  if (handle == nullptr || handle->next >= handle->found.size()) return false;
  if (data != nullptr) *data = handle->found[handle->next];
  ++handle->next;
  return true;
}

bool EndSearch(PakFindHandle handle) {
  const bool running = handle != nullptr;
  delete handle;
  return running;
}

}  // namespace

PakInterface::PakInterface() {
  PakInterfaceBase* none = nullptr;
  gPakInterface.compare_exchange_strong(none, this);
}

PakInterface::~PakInterface() {
  PakInterfaceBase* self = this;
  gPakInterface.compare_exchange_strong(self, nullptr);
}

bool PakInterface::AddPakFile(const std::string& path) {
  auto collection = std::make_unique<Collection>();
  if (!collection->file.Open(path)) return false;
  const unsigned char* bytes = collection->file.Data();
  const std::size_t size = collection->file.Size();
  std::vector<Pak::Entry> entries;
  std::string error;
  if (!Pak::ReadDirectory(bytes, size, entries, error)) return false;

  // The archive itself can be opened like any of its files.
  collection->records.push_back(Record{path, bytes, size, 0});
  for (Pak::Entry& entry : entries) {
    collection->records.push_back(Record{std::move(entry.name), bytes + entry.start, entry.size, entry.time});
  }
  std::unique_lock guard(lock);
  for (const Record& record : collection->records) records[PakNames::Normalize(record.name)] = &record;
  collections.push_back(std::move(collection));
  return true;
}

const PakInterface::Record* PakInterface::Find(const std::string& name) const {
  const std::string key = PakNames::Normalize(name);
  std::shared_lock guard(lock);
  auto found = records.find(key);
  return found != records.end() ? found->second : nullptr;
}

PFILE* PakInterface::FOpen(const char* name, const char* mode) {
  if (name == nullptr || mode == nullptr) return nullptr;
  if (IsReadMode(mode)) {
    if (const Record* record = Find(name)) return new PFILE{record->bytes, record->size, 0, nullptr};
  }
  return OpenDiskFile(name, mode);
}

int PakInterface::FClose(PFILE* file) { return Stream::Close(file); }
int PakInterface::FSeek(PFILE* file, long offset, int origin) { return Stream::Seek(file, offset, origin); }
long PakInterface::FTell(PFILE* file) { return Stream::Tell(file); }
std::size_t PakInterface::FRead(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) {
  return Stream::Read(buffer, elementSize, count, file);
}
int PakInterface::FGetC(PFILE* file) { return Stream::GetC(file); }
int PakInterface::UnGetC(int c, PFILE* file) { return Stream::UnGetC(c, file); }
char* PakInterface::FGetS(char* buffer, int size, PFILE* file) { return Stream::GetS(buffer, size, file); }
int PakInterface::FEof(PFILE* file) { return Stream::Eof(file); }

void PakInterface::AddMatches(const std::string& pattern, PakSearch& search) const {
  bool absolute = false;
  std::vector<std::string> wanted = PakNames::Components(pattern, absolute);
  if (wanted.empty()) return;
  const std::string namePattern = PakNames::UpperCase(wanted.back());
  wanted.pop_back();
  const std::string folder = PakNames::Normalize(PakNames::Join(wanted, absolute));
  const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + '\\';

  std::set<std::string> reported;  // a folder is reported once, however many files it holds
  std::shared_lock guard(lock);
  for (auto it = records.lower_bound(prefix); it != records.end(); ++it) {
    const std::string& key = it->first;
    if (key.compare(0, prefix.size(), prefix) != 0) break;
    // The name right below the folder: the file itself, or a folder on its way.
    const std::size_t end = key.find('\\', prefix.size());
    const std::string child = key.substr(prefix.size(), end - prefix.size());
    if (child.empty() || !PakNames::MatchesWildcard(namePattern, child) || !reported.insert(child).second) continue;
    const Record& record = *it->second;
    // The stored name keeps its own spelling; its components line up with the
    // key's from the end (a working folder may have been taken off the key).
    bool storedAbsolute = false;
    const std::vector<std::string> stored = PakNames::Components(record.name, storedAbsolute);
    const auto below =
        static_cast<std::size_t>(std::count(key.begin() + static_cast<long>(prefix.size()), key.end(), '\\'));
    std::string name = stored.size() > below ? stored[stored.size() - 1 - below] : child;
    if (end == std::string::npos) {
      search.found.push_back(PakFindData{std::move(name), false, record.size, record.time});
    } else {
      search.found.push_back(PakFindData{std::move(name), true, 0, 0});
    }
  }
}

PakFindHandle PakInterface::FindFirstFile(const char* pattern, PakFindData* data) {
  if (pattern == nullptr) return nullptr;
  auto* search = new PakSearch;
  AddMatches(pattern, *search);
  AddDiskMatches(pattern, *search);
  return StartSearch(search, data);
}

bool PakInterface::FindNextFile(PakFindHandle handle, PakFindData* data) { return ContinueSearch(handle, data); }

bool PakInterface::FindClose(PakFindHandle handle) { return EndSearch(handle); }

PakInterfaceBase* GetPakInterface() { return gPakInterface.load(); }

PFILE* p_fopen(const char* name, const char* mode) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FOpen(name, mode);
  return name != nullptr && mode != nullptr ? OpenDiskFile(name, mode) : nullptr;
}

int p_fclose(PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FClose(file);
  return Stream::Close(file);
}

int p_fseek(PFILE* file, long offset, int origin) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FSeek(file, offset, origin);
  return Stream::Seek(file, offset, origin);
}

long p_ftell(PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FTell(file);
  return Stream::Tell(file);
}

std::size_t p_fread(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FRead(buffer, elementSize, count, file);
  return Stream::Read(buffer, elementSize, count, file);
}

int p_fgetc(PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FGetC(file);
  return Stream::GetC(file);
}

int p_ungetc(int c, PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->UnGetC(c, file);
  return Stream::UnGetC(c, file);
}

char* p_fgets(char* buffer, int size, PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FGetS(buffer, size, file);
  return Stream::GetS(buffer, size, file);
}

int p_feof(PFILE* file) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FEof(file);
  return Stream::Eof(file);
}

PakFindHandle p_FindFirstFile(const char* pattern, PakFindData* data) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FindFirstFile(pattern, data);
  if (pattern == nullptr) return nullptr;
  auto* search = new PakSearch;
  AddDiskMatches(pattern, *search);
  return StartSearch(search, data);
}

bool p_FindNextFile(PakFindHandle handle, PakFindData* data) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FindNextFile(handle, data);
  return ContinueSearch(handle, data);
}

bool p_FindClose(PakFindHandle handle) {
  if (PakInterfaceBase* pak = GetPakInterface()) return pak->FindClose(handle);
  return EndSearch(handle);
}

}  // namespace Zing
