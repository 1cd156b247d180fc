// Cutting a descriptor into commands and a command into values. Commands end
// at a ';' outside quotes; '#' starts a comment line; quotes protect
// separators, and a backslash inside quotes protects the next character.

#include "framework/graphics/DescParser.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/archive/PakInterface.h"

namespace Zing {

namespace {

constexpr std::size_t kReadBlock = 4096;

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == ','; }

// The state of cutting text into commands, one character at a time.
struct CommandReader {
  std::string command;
  char quote = 0;
  bool lineStart = true;
  bool comment = false;
  bool escaped = false;
};

}  // namespace

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return text;
}

bool DescParser::Error(const std::string& message) {
  if (error.empty()) error = message;
  return false;
}

const DataElement* DescParser::GetDefine(const std::string& name) const {
  const auto it = defineMap.find(UpperCase(name));
  return it == defineMap.end() ? nullptr : it->second.get();
}

bool DescParser::SetDefine(const std::string& name, std::unique_ptr<DataElement> value) {
  auto& slot = defineMap[UpperCase(name)];
  const std::size_t kept = definedElements - (slot ? slot->Count() : 0);
  if (kept + value->Count() > kMaxDefinedElements) return Error("Invalid Paramater Type");
  definedElements = kept + value->Count();
  slot = std::move(value);
  return true;
}

bool DescParser::LoadDescriptor(const std::string& fileName) {
  PFILE* file = p_fopen(fileName.c_str(), "rb");
  if (!file) return Error("Unable to open file");
  std::string text;
  std::vector<char> block(kReadBlock);
  for (std::size_t got; (got = p_fread(block.data(), 1, block.size(), file)) > 0;) text.append(block.data(), got);
  p_fclose(file);
  return ParseDescriptorText(text);
}

bool DescParser::ParseDescriptorText(const std::string& text) {
  CommandReader r;
  currentLine = 1;
  int line = 1;
  // A command starts at its first character that is not white space, so that
  // its line is the line of its name.
  const auto append = [&](char c) {
    if (r.command.empty()) {
      if (c == ' ' || c == '\t' || c == '\n') return;
      currentLine = line;
    }
    r.command += c;
  };
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '\n') ++line;
    if (r.comment) {
      r.comment = c != '\n';
      r.lineStart = c == '\n';
      continue;
    }
    if (r.lineStart && (c == ' ' || c == '\t' || c == '\n')) continue;
    if (r.lineStart && c == '#' && !r.quote) {
      r.comment = true;
      continue;
    }
    r.lineStart = c == '\n';
    if (r.quote) {
      append(c);
      if (r.escaped)
        r.escaped = false;
      else if (c == '\\')
        r.escaped = true;
      else if (c == r.quote)
        r.quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') r.quote = c;
    if (c == ';' && (cmdSep & kSeparatorSemicolon)) {
      currentCommand = std::move(r.command);
      r.command.clear();
      if (!HandleCommandText()) return false;
      continue;
    }
    append(c);
  }
  currentCommand = std::move(r.command);
  return HandleCommandText();
}

bool DescParser::HandleCommandText() {
  ListDataElement params;
  if (!SplitCommand(currentCommand, params)) return false;
  if (params.elements.empty()) return true;
  if (params.elements.front()->isList) return Error("Missing Command");
  return HandleCommand(params);
}

bool DescParser::SplitCommand(const std::string& text, ListDataElement& out) {
  std::vector<ListDataElement*> lists{&out};
  std::string current;
  bool inElement = false;
  char quote = 0;
  const auto flush = [&] {
    if (inElement) lists.back()->elements.push_back(std::make_unique<SingleDataElement>(std::move(current)));
    current.clear();
    inElement = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      if (++i < text.size()) current += text[i];
      inElement = true;
      continue;
    }
    if (quote) {
      current += c;
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      current += c;
      inElement = true;
    } else if (IsSeparator(c)) {
      flush();
    } else if (c == '(') {
      if (inElement || static_cast<int>(lists.size()) > kMaxListDepth) return Error("Unexpected List Start");
      auto list = std::make_unique<ListDataElement>();
      ListDataElement* inner = list.get();
      lists.back()->elements.push_back(std::move(list));
      lists.push_back(inner);
    } else if (c == ')') {
      flush();
      if (lists.size() == 1) return Error("Unexpected List End");
      lists.pop_back();
    } else {
      current += c;
      inElement = true;
    }
  }
  if (quote == '\'') return Error("Unterminated Single Quotes");
  if (quote == '"') return Error("Unterminated Double Quotes");
  if (lists.size() > 1) return Error("Unterminated List");
  flush();
  return true;
}

}  // namespace Zing
