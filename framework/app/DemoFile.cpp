// Reading and writing the demo file's header, marker block and event stream.
// A demo file comes from the disk: every size in it is checked against the
// bytes that are really there before anything is read.

#include "framework/app/DemoFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "framework/app/FileAccess.h"

namespace Zing {

namespace {

const char* const kInvalidDemo = "Invalid demo file.";

// Little-endian fields off a byte range; every read says whether the bytes
// were there.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* bytes, std::size_t count) : data(bytes), size(count) {}

  std::size_t Left() const { return size - pos; }
  bool Number(std::uint32_t& value, int byteCount) {
    if (Left() < static_cast<std::size_t>(byteCount)) return false;
    value = 0;
    for (int i = 0; i < byteCount; ++i) value |= static_cast<std::uint32_t>(data[pos++]) << (8 * i);
    return true;
  }
  bool Text(std::string& text, std::size_t count) {
    if (Left() < count) return false;
    text.assign(reinterpret_cast<const char*>(data + pos), count);
    pos += count;
    return true;
  }
  bool Skip(std::size_t count) {
    if (Left() < count) return false;
    pos += count;
    return true;
  }
  const std::uint8_t* Here() const { return data + pos; }

 private:
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;
};

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// Count, then per marker: name (16-bit length and bytes), update (32 bits).
Buffer FormatMarkers(const std::vector<DemoMarker>& markers) {
  Buffer block;
  block.WriteLong(static_cast<std::int32_t>(markers.size()));
  for (const DemoMarker& marker : markers) {
    block.WriteString(marker.name.substr(0, 0x7FFF));
    block.WriteLong(marker.update);
  }
  return block;
}

bool ParseMarkers(ByteReader block, std::vector<DemoMarker>& markers) {
  std::uint32_t count = 0;
  if (!block.Number(count, 4)) return false;
  // Each marker takes at least six bytes; a larger count is a lie.
  if (count > block.Left() / 6) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t length = 0;
    std::uint32_t update = 0;
    DemoMarker marker;
    if (!block.Number(length, 2) || length > 0x7FFF || !block.Text(marker.name, length) || !block.Number(update, 4)) {
      return false;
    }
    marker.update = static_cast<std::int32_t>(update);
    markers.push_back(std::move(marker));
  }
  return true;
}

}  // namespace

Buffer FormatDemoFile(const DemoFileContents& contents) {
  Buffer file;
  file.WriteLong(static_cast<std::int32_t>(kDemoMagic));
  file.WriteLong(kDemoVersion);
  file.WriteLong(static_cast<std::int32_t>(contents.seed));
  const std::string text = contents.versionText.substr(0, kDemoMaxVersionText);
  file.WriteString(text);
  const Buffer markers = FormatMarkers(contents.markers);
  file.WriteLong(static_cast<std::int32_t>(markers.GetDataLen()));
  file.WriteBytes(markers.GetDataPtr(), markers.GetDataLen());
  file.WriteLong(contents.demoLength);
  file.WriteBytes(contents.events.GetDataPtr(), contents.events.GetDataLen());
  return file;
}

std::string ParseDemoFile(Buffer file, const std::string& productVersion, DemoFileContents& contents) {
  ByteReader in(file.GetDataPtr(), file.GetDataLen());
  std::uint32_t magic = 0;
  std::uint32_t version = 0;
  std::uint32_t textLength = 0;
  if (!in.Number(magic, 4) || magic != kDemoMagic) return kInvalidDemo;
  if (!in.Number(version, 4) || !in.Number(contents.seed, 4)) return kInvalidDemo;
  contents.version = static_cast<std::int32_t>(version);

  if (!in.Number(textLength, 2)) return kInvalidDemo;
  const std::size_t kept = std::min<std::size_t>(textLength, kDemoMaxVersionText);
  if (!in.Text(contents.versionText, kept) || !in.Skip(textLength - kept)) return kInvalidDemo;
  if (!SameIgnoringCase(contents.versionText, productVersion)) {
    return "This demo file appears to be for '" + contents.versionText + "'";
  }
  // Only the layouts of versions 1 and 2 are known; a later one cannot be read.
  if (contents.version < 1 || contents.version > kDemoVersion) return kInvalidDemo;

  contents.markers.clear();
  if (contents.version > 1) {
    std::uint32_t markerSize = 0;
    if (!in.Number(markerSize, 4)) return kInvalidDemo;
    if (in.Left() < 4 || markerSize >= in.Left() - 4) return kInvalidDemo;
    if (!ParseMarkers(ByteReader(in.Here(), markerSize), contents.markers)) return kInvalidDemo;
    in.Skip(markerSize);
  }

  std::uint32_t length = 0;
  if (!in.Number(length, 4) || static_cast<std::int32_t>(length) < 0) return kInvalidDemo;
  contents.demoLength = static_cast<std::int32_t>(length);
  if (in.Left() == 0 || in.Left() > Buffer::kMaxBytes) return kInvalidDemo;
  contents.events.Clear();
  contents.events.SetData(in.Here(), in.Left());
  return std::string();
}

std::string LoadDemoFile(const std::string& path, const std::string& productVersion, DemoFileContents& contents) {
  Buffer file;
  if (!ReadBufferFromFile(path, file)) return "Demo file not found: " + path;
  return ParseDemoFile(std::move(file), productVersion, contents);
}

std::string FormatDemoTime(std::int64_t updates, int frameTime) {
  const std::int64_t seconds = std::max<std::int64_t>(0, updates) * std::max(1, frameTime) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

}  // namespace Zing
