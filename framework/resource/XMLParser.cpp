#include "framework/resource/XMLParser.h"

#include <array>

namespace Zing {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
// What a character that the reader cannot keep becomes: one of 256 or above,
// so that an attribute holding it reads as empty.
constexpr char16_t kReplacement = 0xFFFD;

// Tab, line feed, vertical tab, form feed, carriage return and space.
bool IsWhiteSpace(unsigned c) { return c == ' ' || (c >= 9 && c <= 13); }

char LowByte(char16_t c) { return static_cast<char>(c & 0xFF); }

struct Entity {
  const char* name;
  char character;
};
constexpr std::array<Entity, 7> kEntities{{
    {"lt", '<'},
    {"amp", '&'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
    {"nbsp", ' '},
    {"cr", '\n'},
}};

// The character an entity name stands for; '&' for an unknown name.
template <class String>
char EntityCharacter(const String& text, std::size_t begin, std::size_t end) {
  for (const Entity& entity : kEntities) {
    std::size_t i = 0;
    while (begin + i < end && entity.name[i] != '\0' && text[begin + i] == static_cast<unsigned char>(entity.name[i])) {
      ++i;
    }
    if (begin + i == end && entity.name[i] == '\0') return entity.character;
  }
  return '&';
}

// Replaces every "&name;" by its character. An '&' without a ';' after it
// stays as it is.
template <class String>
String DecodeEntities(const String& text) {
  using Char = typename String::value_type;
  if (text.find(Char('&')) == String::npos) return text;
  String decoded;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == Char('&')) {
      const std::size_t semicolon = text.find(Char(';'), i);
      if (semicolon != String::npos) {
        decoded += static_cast<Char>(static_cast<unsigned char>(EntityCharacter(text, i + 1, semicolon)));
        i = semicolon + 1;
        continue;
      }
    }
    decoded += text[i++];
  }
  return decoded;
}

// 8-bit text of a 16-bit string; empty as a whole when any character does not
// fit in 8 bits.
std::string ToEightBit(const std::u16string& text) {
  std::string converted;
  converted.reserve(text.size());
  for (char16_t c : text) {
    if (c > 0xFF) return std::string();
    converted += static_cast<char>(c);
  }
  return converted;
}

}  // namespace

// What one NextElement call keeps while it reads an element.
struct XMLParser::ElementState {
  bool hasSpace = false;
  bool inQuote = false;
  bool gotEndQuote = false;
  bool doingAttribute = false;
  bool attributeValue = false;
  std::u16string attributeName;
  std::u16string attributeText;
  std::u16string lastAttributeName;
};

XMLParser::~XMLParser() { Close(); }

void XMLParser::Close() {
  if (file != nullptr) p_fclose(file);
  file = nullptr;
}

void XMLParser::Fail(const std::string& text) {
  failed = true;
  errorText = text;
}

void XMLParser::ForceEncoding(XMLEncoding forced) {
  encoding = forced;
  forcedEncoding = true;
}

bool XMLParser::OpenFile(const std::string& name) {
  Close();
  pushedBack.clear();
  block.clear();
  blockPosition = 0;
  file = p_fopen(name.c_str(), "r");
  if (file == nullptr) {
    lineNum = 0;
    Fail("Unable to open file " + name);
    return false;
  }
  if (!forcedEncoding) DetectEncoding();
  fileName = name;
  section.clear();
  errorText.clear();
  lineNum = 1;
  failed = false;
  firstChar = true;
  byteSwap = false;
  return true;
}

// A byte-order mark chooses the decoder; it stays in the input, and the
// decoders skip it.
void XMLParser::DetectEncoding() {
  encoding = XMLEncoding::SingleByte;
  unsigned char first = 0;
  if (!NextByte(first)) return;
  blockPosition = 0;  // the whole first block is still there: read it again
  auto at = [this](std::size_t i) { return i < block.size() ? block[i] : 0; };
  if (block.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) {
    encoding = XMLEncoding::Utf16;
  } else if (block.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    encoding = XMLEncoding::Utf8;
  }
}

bool XMLParser::NextByte(unsigned char& byte) {
  if (blockPosition >= block.size()) {
    if (file == nullptr) return false;
    block.resize(kBlockSize);
    block.resize(p_fread(block.data(), 1, kBlockSize, file));
    blockPosition = 0;
    if (block.empty()) return false;
  }
  byte = block[blockPosition++];
  return true;
}

void XMLParser::PushBack(const std::string& text) {
  for (auto it = text.rbegin(); it != text.rend(); ++it) pushedBack += static_cast<unsigned char>(*it);
}

XMLParser::Decoded XMLParser::NextChar(char16_t& c) {
  if (!pushedBack.empty()) {
    c = pushedBack.back();
    pushedBack.pop_back();
    return Decoded::Character;
  }
  Decoded result = Decoded::End;
  switch (encoding) {
    case XMLEncoding::SingleByte:
      result = DecodeSingleByte(c);
      break;
    case XMLEncoding::Utf8:
      result = DecodeUtf8(c);
      break;
    case XMLEncoding::Utf16:
      result = DecodeUtf16(c);
      break;
  }
  if (result == Decoded::Character && c == '\n') ++lineNum;
  return result;
}

XMLParser::Decoded XMLParser::DecodeSingleByte(char16_t& c) {
  unsigned char byte = 0;
  if (!NextByte(byte)) return Decoded::End;
  c = byte;
  return Decoded::Character;
}

XMLParser::Decoded XMLParser::DecodeUtf8(char16_t& c) {
  // Lead-byte masks of the 2- to 5-byte forms (index = continuation bytes),
  // and the payload bits whose absence in the lead and second byte marks an
  // overlong 3- to 5-byte form.
  static constexpr unsigned char kLeadMasks[] = {0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
  static constexpr unsigned char kOverlongLead[] = {0x1F, 0x0F, 0x07};
  static constexpr unsigned char kOverlongSecond[] = {0x20, 0x30, 0x38};
  for (;;) {
    unsigned char lead = 0;
    if (!NextByte(lead)) return Decoded::End;
    std::uint32_t value = lead;
    if (lead >= 0x80) {
      if ((lead & 0xC0) != 0xC0) return Decoded::Error;
      std::size_t length = 0;
      while (length < 5 && (lead & kLeadMasks[length]) != ((kLeadMasks[length] << 1) & kLeadMasks[length])) ++length;
      if (length == 5 || length == 0) return Decoded::Error;
      if (length == 1 && (lead & 0x3E) == 0) return Decoded::Error;
      value = lead & ~kLeadMasks[length] & 0xFF;
      for (std::size_t i = 1; i <= length; ++i) {
        unsigned char next = 0;
        if (!NextByte(next) || (next & 0xC0) != 0x80) return Decoded::Error;
        if (i == 1 && length >= 2 && (lead & kOverlongLead[length - 2]) == 0 &&
            (next & kOverlongSecond[length - 2]) == 0) {
          return Decoded::Error;
        }
        value = (value << 6) | (next & 0x3F);
      }
      if ((value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF) return Decoded::Error;
      // Characters beyond 16 bits cannot be kept; cutting them to 16 bits
      // would turn them into unrelated ones.
      if (value > 0xFFFF) value = kReplacement;
    }
    const bool first = firstChar;
    firstChar = false;
    if (first && value == 0xFEFF) continue;  // the byte-order mark
    c = static_cast<char16_t>(value);
    return Decoded::Character;
  }
}

XMLParser::Decoded XMLParser::NextUtf16Unit(char16_t& unit) {
  unsigned char low = 0, high = 0;
  if (!NextByte(low)) return Decoded::End;
  if (!NextByte(high)) return Decoded::Error;  // half a unit at the end
  unit = byteSwap ? static_cast<char16_t>(low << 8 | high) : static_cast<char16_t>(high << 8 | low);
  return Decoded::Character;
}

XMLParser::Decoded XMLParser::DecodeUtf16(char16_t& c) {
  char16_t unit = 0;
  for (;;) {
    const Decoded result = NextUtf16Unit(unit);
    if (result != Decoded::Character) return result;
    if (!firstChar) break;
    firstChar = false;
    if (unit == 0xFEFF) continue;
    if (unit == 0xFFFE) {
      byteSwap = true;
      continue;
    }
    break;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF) return Decoded::Error;  // a low surrogate without its high one
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    char16_t low = 0;
    if (NextUtf16Unit(low) != Decoded::Character || low < 0xDC00 || low > 0xDFFF) return Decoded::Error;
    // A character beyond 16 bits: the reader keeps 16-bit characters only.
    unit = kReplacement;
  }
  c = unit;
  return Decoded::Character;
}

bool XMLParser::NextElement(XMLElement& element) {
  if (failed) return false;
  for (;;) {
    element = XMLElement();
    element.section = section;
    ElementState state;
    bool finished = false;
    while (!finished) {
      char16_t c = 0;
      const Decoded result = NextChar(c);
      if (result == Decoded::Error) {
        Fail("Illegal Character");
        return false;
      }
      if (result == Decoded::End) {
        if (element.type != XMLElement::None) Fail("Unexpected End of File");
        return false;
      }
      if (!HandleChar(c, element, state, finished)) return false;
    }
    if (!state.attributeName.empty()) CommitAttribute(element, state);
    element.value = DecodeEntities(element.value);
    if (element.type != XMLElement::Comment || returnComments) return true;
  }
}

bool XMLParser::HandleChar(char16_t c, XMLElement& element, ElementState& state, bool& finished) {
  if (element.type == XMLElement::Comment) {
    std::string& body = element.instruction;
    body += LowByte(c);
    if (c == '>' && body.size() >= 3 && body[body.size() - 2] == '-' && body[body.size() - 3] == '-') {
      body.resize(body.size() - 3);
      finished = true;
    }
    return true;
  }
  if (element.type == XMLElement::Instruction) {
    // The target runs up to the first white space; the rest is the body.
    std::string& part = !element.instruction.empty() || IsWhiteSpace(c) ? element.instruction : element.value;
    part += LowByte(c);
    if (c == '>' && part.size() >= 2 && part[part.size() - 2] == '?') {
      part.resize(part.size() - 2);
      finished = true;
    }
    return true;
  }
  if (c == '"') {
    state.inQuote = !state.inQuote;
    if (!state.inQuote) state.gotEndQuote = true;
    if (element.type == XMLElement::None || element.type == XMLElement::Text) HandleOrdinary(c, element, state);
    return true;
  }
  if (state.inQuote) {
    HandleOrdinary(c, element, state);
    return true;
  }
  switch (c) {
    case '<':
      if (element.type == XMLElement::Text) {
        pushedBack += c;
        finished = true;
        return true;
      }
      if (element.type == XMLElement::None) {
        element.type = XMLElement::Start;
        return true;
      }
      Fail("Unexpected '<'");
      return false;
    case '>':
      if (element.type == XMLElement::Start) {
        finished = HandleStartClose(element, state);
      } else if (element.type == XMLElement::End) {
        finished = HandleEndClose(element);
      } else {
        Fail("Unexpected '>'");
      }
      return finished;
    case '/':
    case '?':
      if (element.type == XMLElement::Start && element.value.empty()) {
        element.type = c == '/' ? XMLElement::End : XMLElement::Instruction;
        return true;
      }
      break;
    default:
      break;
  }
  if (IsWhiteSpace(c & 0xFF)) {
    if (!element.value.empty()) state.hasSpace = true;
    if (element.type == XMLElement::Start && element.value == "!--") element.type = XMLElement::Comment;
    return true;
  }
  if (c <= 32) {
    Fail("Illegal Character");
    return false;
  }
  HandleOrdinary(c, element, state);
  return true;
}

void XMLParser::HandleOrdinary(char16_t c, XMLElement& element, ElementState& state) {
  if (element.type == XMLElement::None) element.type = XMLElement::Text;
  if (element.type != XMLElement::Start) {
    // Text is trimmed at both ends and every inner run of white space becomes
    // one space.
    if (state.hasSpace) element.value += ' ';
    state.hasSpace = false;
    element.value += LowByte(c);
    return;
  }
  if (state.hasSpace) {
    if (!state.doingAttribute) {
      state.doingAttribute = true;
    } else if ((!state.attributeValue && c != '=') ||
               (state.attributeValue && (!state.attributeText.empty() || state.gotEndQuote))) {
      CommitAttribute(element, state);
      state.lastAttributeName.clear();
      state.attributeValue = false;
    }
    state.hasSpace = false;
  }
  if (!state.doingAttribute) {
    element.value += LowByte(c);
  } else if (c == '=') {
    state.attributeValue = true;
    state.gotEndQuote = false;
  } else if (state.attributeValue) {
    state.attributeText += c;
  } else {
    state.attributeName += c;
  }
}

void XMLParser::CommitAttribute(XMLElement& element, ElementState& state) {
  if (!state.attributeName.empty()) {
    const std::string name = ToEightBit(DecodeEntities(state.attributeName));
    element.attributes[name] = ToEightBit(DecodeEntities(state.attributeText));
    if (name != "/") element.attributeOrder.push_back(name);
  }
  state.lastAttributeName = state.attributeName;
  state.attributeName.clear();
  state.attributeText.clear();
}

// The '>' of a start tag. `<a/>`, `<a />` and `<a b="c"/>` are empty
// elements: the matching end tag is pushed back, so that the next call
// returns it without reading anything.
bool XMLParser::HandleStartClose(XMLElement& element, ElementState& state) {
  bool empty = state.attributeName == u"/";
  if (!empty && !state.attributeName.empty()) {
    // The mark is taken off the value before the value is cut to 8 bits: a
    // value with a wider character is emptied whole, which would hide it.
    if (!state.attributeText.empty() && state.attributeText.back() == u'/') {
      state.attributeText.pop_back();
      empty = true;
    }
    CommitAttribute(element, state);
  }
  if (!empty) {
    if (!state.lastAttributeName.empty()) {
      std::string& value = element.attributes[ToEightBit(DecodeEntities(state.lastAttributeName))];
      if (!value.empty() && value.back() == '/') {
        value.pop_back();
        empty = true;
      }
    } else if (!element.value.empty() && element.value.back() == '/') {
      element.value.pop_back();
      empty = true;
    }
  }
  if (empty) {
    PushBack("</" + element.value + ">");
    state.attributeName.clear();
    state.attributeText.clear();
  }
  if (!section.empty()) section += '/';
  section += element.value;
  return true;
}

bool XMLParser::HandleEndClose(XMLElement& element) {
  const std::size_t slash = section.rfind('/');
  if (slash == std::string::npos && section.empty()) {
    Fail("Unexpected End");
    return false;
  }
  const std::string open = slash == std::string::npos ? section : section.substr(slash + 1);
  if (open != element.value) {
    Fail("End '" + element.value + "' Doesn't Match Start '" + open + "'");
    return false;
  }
  section.resize(slash == std::string::npos ? 0 : slash);
  return true;
}

}  // namespace Zing
