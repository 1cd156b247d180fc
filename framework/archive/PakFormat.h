#pragma once

// The layout of a pak archive, shared by the archive layer that reads it and
// the pak tool that writes it.
//
// Every byte of the file, directory and contents alike, is stored XORed with
// the key byte; all values below are the values after undoing it. Integers are
// little-endian.
//
//   header      magic 0xBAC04AC0 (4 bytes), version 0 (4 bytes)
//   directory   per file: flags (1 byte, 0), name length n (1 byte), name
//               (n bytes), size (4 bytes), last-write time (8 bytes, 100-ns
//               intervals since 1601-01-01 UTC); then one flags byte with bit
//               0x80 set that ends the directory
//   contents    the contents of all files back to back, in directory order

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Zing::Pak {

constexpr std::uint32_t kMagic = 0xBAC04AC0;
constexpr std::uint32_t kVersion = 0;
constexpr unsigned char kKey = 0xB7;
constexpr unsigned char kEndOfDirectory = 0x80;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMaxNameLength = 255;
constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFu;

// One file of an archive.
struct Entry {
  std::string name;         // as stored, e.g. "images/ball.png"
  std::uint64_t start = 0;  // offset of the contents in the archive file
  std::uint32_t size = 0;
  std::int64_t time = 0;  // last write, 100-ns intervals since 1601-01-01 UTC
};

// Undoes (or applies: it is its own inverse) the key on `count` bytes.
void ApplyKey(unsigned char* bytes, std::size_t count);

// Reads the directory of the archive whose whole file is `bytes`. An archive
// any part of which does not fit (a truncated header, a wrong magic or
// version, a name of length 0, an entry or the contents running past the end
// of the file, a directory without its end flag) is refused as a whole: the
// result is false, `entries` is left empty and `error` says why.
bool ReadDirectory(const unsigned char* bytes, std::size_t size, std::vector<Entry>& entries, std::string& error);

// Appends the header and the directory for `entries` (their `start` is not
// used) in plain bytes, key not applied. False, with the reason in `error`,
// when a name is empty or longer than kMaxNameLength.
bool WriteDirectory(const std::vector<Entry>& entries, std::string& out, std::string& error);

// Conversions between archive times and nanoseconds since 1970-01-01 UTC.
std::int64_t TimeFromUnixNanoseconds(std::int64_t nanoseconds);
std::int64_t UnixNanosecondsFromTime(std::int64_t time);

}  // namespace Zing::Pak
