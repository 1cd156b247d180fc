#pragma once

// The archive layer and the archive-aware file functions. Every reader of game
// data opens its files through p_fopen & co., so a data file may come from an
// archive such as "main.pak" or from the disk: a name the archives hold is read
// from the archive; any other name, and every open for writing, goes to the
// disk. Names may use '\' or '/'; on the disk every '\' becomes '/'.
//
// Names are looked up after normalisation (PakNames::Normalize): separators
// become one '\', "." is dropped, ".." removes the component before it, the
// working folder is taken off an absolute name, and letters are compared in
// upper case. So "images/Ball.png", "images\ball.png" and "IMAGES//BALL.PNG"
// find the same file.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

namespace Zing {

// An open stream: a file inside an archive or a disk file.
struct PFILE;

// One name reported by a directory search.
struct PakFindData {
  std::string name;  // without its folder
  bool isFolder = false;
  std::uint64_t size = 0;
  std::int64_t time = 0;  // last write, 100-ns intervals since 1601-01-01 UTC
};

// A running directory search; null when a search found nothing.
struct PakSearch;
using PakFindHandle = PakSearch*;

// What the file functions ask of the process's archive layer.
class PakInterfaceBase {
 public:
  virtual ~PakInterfaceBase() = default;

  virtual PFILE* FOpen(const char* name, const char* mode) = 0;
  virtual int FClose(PFILE* file) = 0;
  virtual int FSeek(PFILE* file, long offset, int origin) = 0;
  virtual long FTell(PFILE* file) = 0;
  virtual std::size_t FRead(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) = 0;
  virtual int FGetC(PFILE* file) = 0;
  virtual int UnGetC(int c, PFILE* file) = 0;
  virtual char* FGetS(char* buffer, int size, PFILE* file) = 0;
  virtual int FEof(PFILE* file) = 0;
  virtual PakFindHandle FindFirstFile(const char* pattern, PakFindData* data) = 0;
  virtual bool FindNextFile(PakFindHandle handle, PakFindData* data) = 0;
  virtual bool FindClose(PakFindHandle handle) = 0;
};

// The archive layer. The first one made becomes the process's layer (see
// GetPakInterface) until it is destroyed. Archives are added at start-up and
// kept mapped for the layer's whole life; the archives are never copied, every
// read takes its bytes straight from the read-only view of the file.
//
// Thread safety: any number of threads may open, read and close streams at the
// same time (each stream has its own position; one stream belongs to one
// thread at a time). AddPakFile may run alongside them.
class PakInterface : public PakInterfaceBase {
 public:
  PakInterface();
  PakInterface(const PakInterface&) = delete;
  PakInterface& operator=(const PakInterface&) = delete;
  ~PakInterface() override;

  // Maps the archive at `path` and enters its files; a file of the same name
  // from an earlier archive is replaced. The archive file itself is entered
  // too, under `path`. An archive that is missing, unreadable or damaged in
  // any part is refused as a whole: nothing is entered and the result is
  // false.
  bool AddPakFile(const std::string& path);

  // Opens a file of the archives for the modes "r", "rb" and "rt"; any other
  // mode, or a name no archive holds, opens the disk file. Null on failure.
  PFILE* FOpen(const char* name, const char* mode) override;
  int FClose(PFILE* file) override;
  // Origins 0 (start), 1 (current) and 2 (end) as for std::fseek; inside an
  // archive the position is kept within the file (0 .. size).
  int FSeek(PFILE* file, long offset, int origin) override;
  long FTell(PFILE* file) override;
  std::size_t FRead(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) override;
  // The next byte, skipping carriage returns inside an archive; -1 at the end.
  int FGetC(PFILE* file) override;
  // Inside an archive: steps back one byte (not below 0) and returns c.
  int UnGetC(int c, PFILE* file) override;
  // Reads a line as std::fgets does (carriage returns dropped inside an archive).
  char* FGetS(char* buffer, int size, PFILE* file) override;
  int FEof(PFILE* file) override;

  // Directory searches with the wildcards '*' (any run of characters) and '?'
  // (any one character) in the last component of the pattern, compared
  // without regard to case. Names the archives hold below the pattern's folder
  // (files, and the folders their names imply) come first, then the names on
  // the disk that the archives did not report. FindFirstFile returns null
  // when nothing matches; otherwise `data` holds the first name.
  PakFindHandle FindFirstFile(const char* pattern, PakFindData* data) override;
  bool FindNextFile(PakFindHandle handle, PakFindData* data) override;
  bool FindClose(PakFindHandle handle) override;

 private:
  struct Collection;
  struct Record;

  const Record* Find(const std::string& name) const;
  void AddMatches(const std::string& pattern, PakSearch& search) const;

  mutable std::shared_mutex lock;  // guards `collections` and `records`
  std::vector<std::unique_ptr<Collection>> collections;
  std::map<std::string, const Record*> records;  // by normalised name
};

// The process's archive layer, or null when there is none: the file functions
// then use the disk directly.
PakInterfaceBase* GetPakInterface();

PFILE* p_fopen(const char* name, const char* mode);
int p_fclose(PFILE* file);
int p_fseek(PFILE* file, long offset, int origin);
long p_ftell(PFILE* file);
std::size_t p_fread(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file);
int p_fgetc(PFILE* file);
int p_ungetc(int c, PFILE* file);
char* p_fgets(char* buffer, int size, PFILE* file);
int p_feof(PFILE* file);
PakFindHandle p_FindFirstFile(const char* pattern, PakFindData* data);
bool p_FindNextFile(PakFindHandle handle, PakFindData* data);
bool p_FindClose(PakFindHandle handle);

}  // namespace Zing
