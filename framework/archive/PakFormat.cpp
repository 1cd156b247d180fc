#include "framework/archive/PakFormat.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace Zing::Pak {

namespace {

// 1970-01-01 in 100-ns intervals since 1601-01-01.
constexpr std::int64_t kUnixEpochTime = 116444736000000000;

// Reads keyed little-endian values from a byte range, never past its end.
class KeyedReader {
 public:
  KeyedReader(const unsigned char* data, std::size_t length) : bytes(data), size(length) {}

  std::size_t Position() const { return position; }
  bool Has(std::uint64_t count) const { return count <= size - position; }

  // The next `count` bytes as an unsigned little-endian number; the caller
  // has checked Has(count).
  std::uint64_t Number(std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint64_t{Byte()} << (8 * i);
    return value;
  }
  unsigned char Byte() { return bytes[position++] ^ kKey; }
  std::string Text(std::size_t count) {
    std::string text(count, '\0');
    for (char& c : text) c = static_cast<char>(Byte());
    return text;
  }

 private:
  const unsigned char* bytes;
  std::size_t size;
  std::size_t position = 0;
};

void AppendNumber(std::string& out, std::uint64_t value, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool ReadEntries(KeyedReader& reader, std::vector<Entry>& entries, std::string& error) {
  std::uint64_t total = 0;
  for (;;) {
    if (!reader.Has(1)) {
      error = "the directory has no end";
      return false;
    }
    if (reader.Byte() & kEndOfDirectory) break;
    if (!reader.Has(1)) {
      error = "the directory is cut short";
      return false;
    }
    const std::size_t length = reader.Byte();
    if (length == 0) {
      error = "a file name is empty";
      return false;
    }
    if (!reader.Has(length + 12)) {
      error = "the directory is cut short";
      return false;
    }
    Entry entry;
    entry.name = reader.Text(length);
    entry.size = static_cast<std::uint32_t>(reader.Number(4));
    entry.time = static_cast<std::int64_t>(reader.Number(8));
    entry.start = total;  // relative to the contents until the directory's length is known
    total += entry.size;
    entries.push_back(std::move(entry));
  }
  const std::uint64_t directoryLength = reader.Position();
  if (!reader.Has(total)) {
    error = "the contents run past the end of the file";
    return false;
  }
  for (Entry& entry : entries) entry.start += directoryLength;
  return true;
}

}  // namespace

void ApplyKey(unsigned char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] ^= kKey;
}

bool ReadDirectory(const unsigned char* bytes, std::size_t size, std::vector<Entry>& entries, std::string& error) {
  entries.clear();
  KeyedReader reader(bytes, size);
  if (!reader.Has(kHeaderSize)) {
    error = "the header is cut short";
    return false;
  }
  if (reader.Number(4) != kMagic) {
    error = "not a pak archive";
    return false;
  }
  if (reader.Number(4) != kVersion) {
    error = "an unknown archive version";
    return false;
  }
  if (!ReadEntries(reader, entries, error)) {
    entries.clear();
    return false;
  }
  return true;
}

bool WriteDirectory(const std::vector<Entry>& entries, std::string& out, std::string& error) {
  std::string directory;
  AppendNumber(directory, kMagic, 4);
  AppendNumber(directory, kVersion, 4);
  for (const Entry& entry : entries) {
    if (entry.name.empty() || entry.name.size() > kMaxNameLength) {
      error = "the name \"" + entry.name + "\" is empty or longer than 255 bytes";
      return false;
    }
    directory += '\0';
    directory += static_cast<char>(entry.name.size());
    directory += entry.name;
    AppendNumber(directory, entry.size, 4);
    AppendNumber(directory, static_cast<std::uint64_t>(entry.time), 8);
  }
  directory += static_cast<char>(kEndOfDirectory);
  out += directory;
  return true;
}

std::int64_t TimeFromUnixNanoseconds(std::int64_t nanoseconds) { return nanoseconds / 100 + kUnixEpochTime; }

std::int64_t UnixNanosecondsFromTime(std::int64_t time) {
  // Times from a damaged archive may lie beyond what nanoseconds since 1970 can
  // hold; they are pinned to the nearest representable time.
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
  const std::int64_t since1970 = time < std::numeric_limits<std::int64_t>::min() + kUnixEpochTime
                                     ? -kLimit
                                     : std::clamp(time - kUnixEpochTime, -kLimit, kLimit);
  return since1970 * 100;
}

}  // namespace Zing::Pak
