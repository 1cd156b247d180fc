#pragma once

// A small pull reader for the XML that the resource manifest uses. The caller
// opens a file and asks for one element at a time: start tag, end tag, text,
// processing instruction or (on request) comment. There is no DTD, no
// namespaces and no CDATA; single quotes do not delimit attribute values; the
// entities lt, amp, gt, quot, apos, nbsp (a space) and cr (a line feed) are
// decoded, numeric references are not.
//
// Files may be 8-bit, UTF-8 with a byte-order mark, or 16-bit with a
// byte-order mark (either byte order); the reader hands out 8-bit text. Files
// are read through the archive-aware file functions, so a manifest is found in
// the archive or on the disk alike.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/archive/PakInterface.h"

namespace Zing {

class XMLElement {
 public:
  enum Type { None = 0, Start = 1, End = 2, Text = 3, Instruction = 4, Comment = 5 };

  Type type = None;
  // The path of open tags, joined by '/', when the element began (for a start
  // tag: the path of its parent).
  std::string section;
  // The tag name of a start or end tag, the text, or an instruction's target.
  std::string value;
  // The body of a comment, or what follows an instruction's target.
  std::string instruction;
  std::map<std::string, std::string> attributes;
  // The attribute names in document order, one per attribute set.
  std::vector<std::string> attributeOrder;
};

// Which decoder turns the file's bytes into characters.
enum class XMLEncoding { SingleByte, Utf8, Utf16 };

class XMLParser {
 public:
  XMLParser() = default;
  XMLParser(const XMLParser&) = delete;
  XMLParser& operator=(const XMLParser&) = delete;
  virtual ~XMLParser();

  // Opens the file for reading. Unless an encoding was forced, it is taken
  // from the byte-order mark (8-bit without one). False, with the error text
  // "Unable to open file " and the name, when the file cannot be opened.
  bool OpenFile(const std::string& name);

  // Reads the next element. False at the end of the input, or after an error
  // (HasFailed then tells so and GetErrorText says what went wrong on line
  // GetCurrentLineNum).
  bool NextElement(XMLElement& element);

  bool HasFailed() const { return failed; }
  const std::string& GetErrorText() const { return errorText; }
  int GetCurrentLineNum() const { return lineNum; }
  const std::string& GetFileName() const { return fileName; }

  // Comments are dropped unless asked for.
  void SetReturnComments(bool wanted) { returnComments = wanted; }
  // Reads the next opened file with this decoder, whatever its first bytes.
  void ForceEncoding(XMLEncoding forced);

 private:
  enum class Decoded { Character, End, Error };
  struct ElementState;

  void Fail(const std::string& text);
  void Close();

  // The file's bytes, read in blocks.
  bool NextByte(unsigned char& byte);
  void DetectEncoding();

  // The next character: pushed-back text first, then the decoder.
  Decoded NextChar(char16_t& c);
  Decoded DecodeSingleByte(char16_t& c);
  Decoded DecodeUtf8(char16_t& c);
  Decoded DecodeUtf16(char16_t& c);
  Decoded NextUtf16Unit(char16_t& unit);
  void PushBack(const std::string& text);

  bool HandleChar(char16_t c, XMLElement& element, ElementState& state, bool& finished);
  bool HandleStartClose(XMLElement& element, ElementState& state);
  bool HandleEndClose(XMLElement& element);
  void HandleOrdinary(char16_t c, XMLElement& element, ElementState& state);
  void CommitAttribute(XMLElement& element, ElementState& state);

  std::string fileName;
  std::string errorText;
  bool failed = false;
  int lineNum = 0;
  PFILE* file = nullptr;
  bool returnComments = false;
  std::u16string pushedBack;  // a stack: the last character is read first
  std::string section;
  XMLEncoding encoding = XMLEncoding::SingleByte;
  bool forcedEncoding = false;
  bool firstChar = false;
  bool byteSwap = false;

  std::vector<unsigned char> block;
  std::size_t blockPosition = 0;
};

}  // namespace Zing
