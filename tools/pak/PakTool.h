#pragma once

// The pak tool's work: packing a folder into an archive, listing an archive
// and extracting it, in the very format the game reads.

#include <string>
#include <vector>

#include "framework/archive/PakFormat.h"

namespace PakTool {

// How `pak create` stamps the files' times.
enum class Times {
  FromFiles,  // each file's last-write time
  Zero,       // 0 for every file, so that the archive depends on the contents alone
};

// Packs every regular file below `folder` into `archive`, in the byte order
// of their paths inside the folder ('/' as separator). The archive itself is
// left out when it lies inside the folder; links to folders are not followed.
// An archive whose bytes would not change is left untouched, so packing again
// costs only reading. `written` tells whether the file was (re)written.
// Files named in `excluded` (paths below `folder`, '/' between folders) stay out.
bool CreateArchive(const std::string& folder, const std::string& archive, Times times, bool& written,
                   std::string& error, const std::vector<std::string>& excluded = {});

// The directory of an archive; false with the reason when it is damaged.
bool ListArchive(const std::string& archive, std::vector<Zing::Pak::Entry>& entries, std::string& error);

// The listing printed by `pak list`: one line per file with its size, time
// (UTC) and name, then a line with the totals.
std::string FormatListing(const std::vector<Zing::Pak::Entry>& entries);

// Writes every file of the archive below `folder`, with its time. Names that
// would land outside the folder (absolute, with "..", with a zero byte) make
// the whole archive refused before anything is written.
bool ExtractArchive(const std::string& archive, const std::string& folder, std::string& error);

}  // namespace PakTool
