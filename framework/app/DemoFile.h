#pragma once

// The demo file: a recording of one run of the application for exact
// playback. Little-endian layout:
//
//   magic 0x42BEEF78 (4) | version (4) | random seed (4)
//   | version text length (2) | product version text
//   | marker block size (4, version 2 on) | marker block (bit buffer)
//   | demo length in updates (4) | event stream (the rest)
//
// The marker block holds the marker count, then per marker its name and the
// update at which it was set.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/app/Buffer.h"

namespace Zing {

inline constexpr std::uint32_t kDemoMagic = 0x42BEEF78;
inline constexpr std::int32_t kDemoVersion = 2;
inline constexpr std::size_t kDemoMaxVersionText = 255;

struct DemoMarker {
  std::string name;
  int update = 0;
};

struct DemoFileContents {
  std::int32_t version = kDemoVersion;
  std::uint32_t seed = 0;
  std::string versionText;
  std::vector<DemoMarker> markers;
  std::int32_t demoLength = 0;
  Buffer events;
};

// The whole file. `contents.version` is ignored: files are always written as
// the current version.
Buffer FormatDemoFile(const DemoFileContents& contents);

// Reads a demo file's bytes. Returns an empty text on success, else the
// reason the file is refused ("Invalid demo file." or the foreign version).
// `productVersion` is the version text the file must carry (letter case
// aside).
std::string ParseDemoFile(Buffer file, const std::string& productVersion, DemoFileContents& contents);

// Reads the file at `path` and parses it; a file that cannot be read gives
// "Demo file not found: " and the path.
std::string LoadDemoFile(const std::string& path, const std::string& productVersion, DemoFileContents& contents);

// Updates shown as "hh:mm:ss", at `frameTime` milliseconds per update.
std::string FormatDemoTime(std::int64_t updates, int frameTime);

}  // namespace Zing
