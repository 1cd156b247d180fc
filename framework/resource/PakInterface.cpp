#include "framework/resource/PakInterface.h"

#include <cstdio>

#include "framework/platform/FileSystem.h"

namespace Zing {

// An open stream. Until archives are registered every stream is a disk file.
struct PFILE {
  std::FILE* disk = nullptr;
};

PFILE* p_fopen(const char* name, const char* mode) {
  std::FILE* disk = std::fopen(Platform::ToDiskPath(name).c_str(), mode);
  if (disk == nullptr) return nullptr;
  return new PFILE{disk};
}

int p_fclose(PFILE* file) {
  if (file == nullptr) return 0;
  std::fclose(file->disk);
  delete file;
  return 0;
}

int p_fseek(PFILE* file, long offset, int origin) { return std::fseek(file->disk, offset, origin); }

long p_ftell(PFILE* file) { return std::ftell(file->disk); }

std::size_t p_fread(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file) {
  return std::fread(buffer, elementSize, count, file->disk);
}

int p_fgetc(PFILE* file) { return std::fgetc(file->disk); }

int p_ungetc(int c, PFILE* file) { return std::ungetc(c, file->disk); }

char* p_fgets(char* buffer, int size, PFILE* file) { return std::fgets(buffer, size, file->disk); }

int p_feof(PFILE* file) { return std::feof(file->disk); }

}  // namespace Zing
