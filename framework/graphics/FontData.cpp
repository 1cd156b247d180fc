// Loading a font's data: the descriptor (or the older widths format), the
// error report with its header and location, and the layer lookup.

#include "framework/graphics/FontData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "framework/graphics/FontHost.h"

namespace Zing {

FontData::FontData(FontHost* fontHost) : host(fontHost) {
  for (int i = 0; i < kFontChars; ++i) charMap[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
}

FontLayer* FontData::FindLayer(const std::string& name) const {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto it = fontLayerMap.find(upper);
  return it == fontLayerMap.end() ? nullptr : it->second;
}

bool FontData::Load(const std::string& fileName) {
  sourceFile = fileName;
  fontErrorHeader = "Font Descriptor Error in " + fileName + "\r\n";
  currentCommand.clear();
  initialized = LoadDescriptor(fileName);
  if (!initialized) Fail();
  return initialized;
}

bool FontData::LoadText(const std::string& fileName, const std::string& text) {
  sourceFile = fileName;
  fontErrorHeader = "Font Descriptor Error in " + fileName + "\r\n";
  initialized = ParseDescriptorText(text);
  if (!initialized) Fail();
  return initialized;
}

// Composes the full error text and shows it: the header, the message and,
// when a command was being read, its line and text.
void FontData::Fail() {
  fullError = fontErrorHeader + error;
  if (!currentCommand.empty()) {
    char line[32];
    std::snprintf(line, sizeof line, "%d:\r\n\r\n", currentLine);
    fullError += " on Line " + std::string(line) + currentCommand;
  }
  if (host) host->ShowFontError(fullError);
}

}  // namespace Zing
