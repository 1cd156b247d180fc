#include "framework/platform/Windows1252.h"

namespace Zing::Platform {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals
// Latin-1.
constexpr char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when the
// sequence is malformed.
std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& c) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  std::size_t length;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[pos + i]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

char32_t Windows1252ToCodePoint(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

char CodePointToWindows1252(char32_t codePoint, char fallback) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<char>(codePoint);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
  }
  return fallback;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char byte : text) AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(byte)));
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  char32_t c;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = DecodeUtf8(bytes, pos, c);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::string Utf8ToWindows1252(std::string_view bytes, char fallback) {
  std::string out;
  out.reserve(bytes.size());
  char32_t c;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = DecodeUtf8(bytes, pos, c);
    out += length == 0 ? fallback : CodePointToWindows1252(c, fallback);
    pos += length == 0 ? 1 : length;
  }
  return out;
}

std::string Utf16LeToWindows1252(std::string_view bytes, char fallback) {
  std::string out;
  out.reserve(bytes.size() / 2);
  auto unit = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1])
                                                                                << 8);
  };
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      ++i;  // A pair beyond the basic plane: never in the code page.
      out += fallback;
    } else {
      out += (c >= 0xD800 && c <= 0xDFFF) ? fallback : CodePointToWindows1252(c, fallback);
    }
  }
  return out;
}

}  // namespace Zing::Platform
