// Turning the values of a descriptor command into texts, numbers, colours and
// lists. Names that are not immediates stand for their defines.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "framework/graphics/DescParser.h"

namespace Zing {

namespace {

constexpr double kColorScale = 255.0;
constexpr std::size_t kColorComponents = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0x" and at least one digit, as the caller has seen.
bool ParseHex(const std::string& text, int& out) {
  if (text.size() > 10) return false;  // at most 32 bits
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  out = static_cast<int>(value);
  return true;
}

// Far beyond anything a layer colour can mean, yet safe to multiply.
constexpr double kColorComponentLimit = 1 << 20;

// A fraction of a colour component, times 255. It is deliberately not kept
// to 0..255: a multiplier above 1 brightens, a negative addend darkens, and
// only the colour finally drawn is clamped.
int ColorComponent(double fraction) {
  return static_cast<int>(std::clamp(std::trunc(fraction * kColorScale), -kColorComponentLimit, kColorComponentLimit));
}

}  // namespace

bool ParseDescInteger(const std::string& text, int& out) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text, out);
  const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
  if (start == text.size()) return false;
  long long value = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
  }
  if (start) value = -value;
  if (value > std::numeric_limits<int>::max()) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseDescFraction(const std::string& text, double& out) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0 || i != text.size()) return false;
  out = std::strtod(text.c_str(), nullptr);
  return std::isfinite(out);
}

const std::string* DescParser::ItemText(const DataElement& item) {
  return item.isList ? nullptr : &static_cast<const SingleDataElement&>(item).string;
}

bool DescParser::ItemInt(const DataElement& item, int& out) {
  const std::string* text = ItemText(item);
  return text && ParseDescInteger(*text, out);
}

bool DescParser::ItemFraction(const DataElement& item, double& out) {
  const std::string* text = ItemText(item);
  return text && ParseDescFraction(*text, out);
}

bool DescParser::IsImmediate(const std::string& text) {
  if (text.empty()) return false;
  const char c = text[0];
  return IsDigit(c) || c == '-' || c == '+' || c == '\'' || c == '"';
}

std::string DescParser::Unquote(const std::string& text) {
  if (text.empty() || (text[0] != '\'' && text[0] != '"')) return text;
  const char quote = text[0];
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != quote) {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == quote) {
      out += quote;  // two adjacent quotes stand for one
      ++i;
    }
  }
  return out;
}

bool DescParser::GetTextParam(const DataElement& element, std::string& out) {
  if (element.isList) return false;
  const std::string& text = static_cast<const SingleDataElement&>(element).string;
  if (!IsImmediate(text)) {
    if (const DataElement* define = GetDefine(text)) {
      if (define->isList) return false;
      out = Unquote(static_cast<const SingleDataElement*>(define)->string);
      return true;
    }
  }
  out = Unquote(text);
  return true;
}

bool DescParser::GetIntParam(const DataElement& element, int& out) {
  std::string text;
  return GetTextParam(element, text) && ParseDescInteger(text, out);
}

bool DescParser::GetColorParam(const DataElement& element, Color& out) {
  int packed = 0;
  if (!element.isList && GetIntParam(element, packed)) {
    out = Color::FromPacked(static_cast<std::uint32_t>(packed));
    return true;
  }
  ListDataElement list;
  if (!GetListParam(element, list) || list.elements.size() != kColorComponents) return false;
  int parts[kColorComponents];
  for (std::size_t i = 0; i < kColorComponents; ++i) {
    double fraction = 0;
    if (!ItemFraction(*list.elements[i], fraction)) return false;
    parts[i] = ColorComponent(fraction);
  }
  out = Color(parts[0], parts[1], parts[2], parts[3]);
  return true;
}

bool DescParser::GetListParam(const DataElement& element, ListDataElement& out) {
  if (element.isList) return DataToList(element, out);
  const std::string& text = static_cast<const SingleDataElement&>(element).string;
  const DataElement* define = IsImmediate(text) ? nullptr : GetDefine(text);
  return define && define->isList && DataToList(*define, out);
}

bool DescParser::DataToList(const DataElement& source, ListDataElement& out) {
  out.elements.clear();
  std::size_t budget = kMaxElements;
  return source.isList && Dereference(source, out, budget);
}

// Copies the items of a list, names replaced by their defines. Defines are
// stored already replaced, so a define's value is copied as it stands and no
// name is followed twice: a define naming itself cannot loop.
bool DescParser::Dereference(const DataElement& source, ListDataElement& out, std::size_t& budget) {
  for (const auto& item : static_cast<const ListDataElement&>(source).elements) {
    if (budget == 0) return Error("Invalid Paramater Type");
    --budget;
    if (item->isList) {
      auto inner = std::make_unique<ListDataElement>();
      if (!Dereference(*item, *inner, budget)) return false;
      out.elements.push_back(std::move(inner));
      continue;
    }
    const std::string& text = static_cast<const SingleDataElement&>(*item).string;
    if (IsImmediate(text)) {
      out.elements.push_back(std::make_unique<SingleDataElement>(Unquote(text)));
      continue;
    }
    const DataElement* define = GetDefine(text);
    if (!define) return Error("Unable to Dereference \"" + text + "\"");
    if (const std::string* value = ItemText(*define)) {
      out.elements.push_back(std::make_unique<SingleDataElement>(Unquote(*value)));
      continue;
    }
    const std::size_t size = define->Count() - 1;  // the name itself was counted above
    if (size > budget) return Error("Invalid Paramater Type");
    budget -= size;
    out.elements.push_back(define->Duplicate());
  }
  return true;
}

}  // namespace Zing
