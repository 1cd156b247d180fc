// Feeds arbitrary bytes to the archive layer as an archive file: the directory
// reader must refuse what does not fit, and every file of an accepted archive
// must read, seek and line-read inside the mapping.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/archive/PakFormat.h"
#include "framework/archive/PakInterface.h"
#include "framework/archive/PakNames.h"
#include "fuzz/FuzzInputFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const ZingFuzz::InputFile& Input() {
  static const ZingFuzz::InputFile file(".pak");
  return file;
}

void ReadEveryFile(const std::vector<Zing::Pak::Entry>& entries) {
  // A later file of the same name replaces an earlier one.
  std::map<std::string, std::uint32_t> sizes;
  for (const Zing::Pak::Entry& entry : entries) sizes[Zing::PakNames::Normalize(entry.name)] = entry.size;
  char block[64];
  for (const Zing::Pak::Entry& entry : entries) {
    // A name with a zero byte cannot be asked for.
    if (entry.name.find('\0') != std::string::npos) continue;
    Zing::PFILE* file = Zing::p_fopen(entry.name.c_str(), "rb");
    Check(file != nullptr);  // the name, or a later one that replaced it
    std::size_t total = 0;
    while (std::size_t got = Zing::p_fread(block, 1, sizeof block, file)) total += got;
    Check(total == sizes[Zing::PakNames::Normalize(entry.name)]);
    Check(Zing::p_feof(file) != 0);
    Zing::p_fseek(file, -3, SEEK_END);
    while (Zing::p_fgets(block, sizeof block, file) != nullptr) Check(std::char_traits<char>::length(block) < 64);
    Zing::p_fseek(file, 0, SEEK_SET);
    while (Zing::p_fgetc(file) != -1) {
    }
    Zing::p_ungetc('x', file);
    Check(Zing::p_ftell(file) >= 0);
    Zing::p_fclose(file);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<Zing::Pak::Entry> entries;
  std::string error;
  const bool accepted = Zing::Pak::ReadDirectory(data, size, entries, error);
  for (const Zing::Pak::Entry& entry : entries) {
    Check(!entry.name.empty());
    Check(entry.start <= size && entry.size <= size - entry.start);
  }
  Check(accepted || entries.empty());

  Zing::PakInterface pak;
  Check(pak.AddPakFile(Input().Write(data, size)) == accepted);
  if (accepted) ReadEveryFile(entries);
  return 0;
}
