#pragma once

// The reader of the font descriptor language: it cuts a descriptor into
// commands, splits each command into values (texts and nested lists), keeps
// the defines, and turns values into texts, numbers, colours and lists for
// the commands of a derived class (`FontData`).
//
// Hostile descriptors are bounded: lists nest at most kMaxListDepth deep, and
// the values the defines hold together, like any one list after its names
// are replaced, stay below kMaxElements; beyond that a command fails.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "framework/graphics/Color.h"
#include "framework/graphics/DataElement.h"

namespace Zing {

class DescParser {
 public:
  // Command separators: a ';' outside quotes, or a line that does not start
  // with white space.
  enum { kSeparatorSemicolon = 1, kSeparatorNewLine = 2 };
  static constexpr int kMaxListDepth = 64;
  static constexpr std::size_t kMaxElements = std::size_t{1} << 18;
  static constexpr std::size_t kMaxDefinedElements = std::size_t{1} << 20;

  DescParser() = default;
  DescParser(const DescParser&) = delete;
  DescParser& operator=(const DescParser&) = delete;

  virtual bool Error(const std::string& message);
  // The define stored under the upper-cased name, or none.
  virtual const DataElement* GetDefine(const std::string& name) const;
  virtual bool HandleCommand(const ListDataElement& params) = 0;
  virtual ~DescParser() = default;

  // Reads a descriptor file through the archive-aware file functions.
  bool LoadDescriptor(const std::string& fileName);
  // Reads descriptor text; the first command that fails stops it.
  bool ParseDescriptorText(const std::string& text);

  const std::string& GetErrorText() const { return error; }
  int GetCurrentLine() const { return currentLine; }
  const std::string& GetCurrentCommand() const { return currentCommand; }

  // Value helpers for the commands.
  static bool IsImmediate(const std::string& text);
  static std::string Unquote(const std::string& text);
  bool GetTextParam(const DataElement& element, std::string& out);
  bool GetIntParam(const DataElement& element, int& out);
  bool GetColorParam(const DataElement& element, Color& out);
  // The items of a list that `GetListParam` made are final values: they are
  // read as they stand, never looked up again.
  static const std::string* ItemText(const DataElement& item);
  static bool ItemInt(const DataElement& item, int& out);
  static bool ItemFraction(const DataElement& item, double& out);
  // A list value, or a name whose define is a list, copied with its names
  // replaced by their defines.
  bool GetListParam(const DataElement& element, ListDataElement& out);
  // `list` with every name replaced by its define and every quoted item unquoted.
  bool DataToList(const DataElement& source, ListDataElement& out);
  // Stores a define; fails when all defines together would grow too large.
  bool SetDefine(const std::string& name, std::unique_ptr<DataElement> value);

  int cmdSep = kSeparatorSemicolon;

 protected:
  std::string error;
  int currentLine = 0;
  std::string currentCommand;
  std::map<std::string, std::unique_ptr<DataElement>> defineMap;

 private:
  bool HandleCommandText();
  bool SplitCommand(const std::string& text, ListDataElement& out);
  bool Dereference(const DataElement& source, ListDataElement& out, std::size_t& budget);
  std::size_t definedElements = 0;
};

// Parsing of the numbers the language allows: an optional '-' and decimal
// digits, or "0x" and hexadecimal digits (read as 32 bits); decimal fractions
// without exponent.
bool ParseDescInteger(const std::string& text, int& out);
// The text with its ASCII letters in upper case: how names, layer names and
// tags are compared.
std::string UpperCase(std::string text);
bool ParseDescFraction(const std::string& text, double& out);

}  // namespace Zing
