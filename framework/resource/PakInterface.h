#pragma once

// Archive-aware file functions. Every reader of game data opens its files
// through these, so a data file may come from "main.pak" or from the disk.
// Paths may use '\' or '/'; on the disk every '\' becomes '/'.

#include <cstddef>

namespace Zing {

struct PFILE;

PFILE* p_fopen(const char* name, const char* mode);
int p_fclose(PFILE* file);
int p_fseek(PFILE* file, long offset, int origin);
long p_ftell(PFILE* file);
std::size_t p_fread(void* buffer, std::size_t elementSize, std::size_t count, PFILE* file);
int p_fgetc(PFILE* file);
int p_ungetc(int c, PFILE* file);
char* p_fgets(char* buffer, int size, PFILE* file);
int p_feof(PFILE* file);

}  // namespace Zing
