#pragma once

// Conversions between the framework's 8-bit text (Windows-1252) and the
// Unicode encodings of the Linux desktop. Every one of the 256 bytes has a
// code point: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the C1 controls of the same number, so any 8-bit text
// survives a trip through UTF-8 unchanged.

#include <string>
#include <string_view>

namespace Zing::Platform {

// The code point of one Windows-1252 byte.
char32_t Windows1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or `fallback` when it has none.
char CodePointToWindows1252(char32_t codePoint, char fallback = '?');

std::string Windows1252ToUtf8(std::string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes UTF-8; characters outside Windows-1252 become `fallback`, and so
// does every byte of a malformed sequence.
std::string Utf8ToWindows1252(std::string_view bytes, char fallback = '?');

// Decodes UTF-16 little-endian (without its byte-order mark); unpaired
// surrogates and characters outside Windows-1252 become `fallback`, an odd
// last byte is ignored.
std::string Utf16LeToWindows1252(std::string_view bytes, char fallback = '?');

}  // namespace Zing::Platform
