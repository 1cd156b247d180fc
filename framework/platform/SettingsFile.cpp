#include "framework/platform/SettingsFile.h"

#include "framework/platform/Folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <cerrno>

#include <cstdio>
#include <cstdlib>

#include "framework/platform/FileSystem.h"
#include "framework/platform/Windows1252.h"

namespace Zing::Platform {

namespace {

constexpr std::string_view kHeader = "; Settings of this application, rewritten whole on every change.\n";

// Upper case of an 8-bit letter, for comparing names as the registry does.
unsigned char FoldCase(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  switch (c) {
    case 0x9A:
      return 0x8A;  // s with caron
    case 0x9C:
      return 0x8C;  // oe
    case 0x9E:
      return 0x8E;  // z with caron
    case 0xFF:
      return 0x9F;  // y with diaeresis
    default:
      return c;
  }
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A key path with its empty parts dropped: "\A\\B\" is "A\B".
std::string NormaliseKeyPath(std::string_view path) {
  std::string result;
  while (!path.empty()) {
    const std::size_t end = std::min(path.find('\\'), path.size());
    if (end > 0) {
      if (!result.empty()) result += '\\';
      result += path.substr(0, end);
    }
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return result;
}

bool HasLineBreakOrZero(std::string_view text) {
  return text.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

// A normalised key path that a section header can hold. "[-Key]" deletes a
// key in an import, so a path starting with '-' cannot be written.
bool IsStorableKeyPath(std::string_view path) { return !path.starts_with('-') && !HasLineBreakOrZero(path); }

// The file's bytes as 8-bit text, whatever encoding they came in.
std::string DecodeFile(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Utf16LeToWindows1252(bytes.substr(2));
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return IsValidUtf8(bytes) ? Utf8ToWindows1252(bytes) : std::string(bytes);
}

// Splits at line feeds, carriage returns (a CR LF pair is one break) and zero
// bytes, which never belong in a line of ours.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != '\0') continue;
    lines.push_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

// Reads the quoted string starting at line[pos] == '"' and moves `pos` past
// its closing quote. Besides the registry's \" and \\ it knows \n and \r,
// which we write for line breaks; any other backslash stands for itself.
bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& out) {
  for (++pos; pos < line.size();) {
    const char c = line[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < line.size()) {
      const char next = line[pos];
      if (next == '\\' || next == '"' || next == 'n' || next == 'r') {
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        ++pos;
        continue;
      }
    }
    out += c;
  }
  return false;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
  }
  out += '"';
}

bool ParseDword(std::string_view hex, std::uint32_t& number) {
  if (hex.empty() || hex.size() > 8) return false;
  number = 0;
  for (char c : hex) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return false;
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return true;
}

// The data after '=': a string, a 32-bit number, or anything else kept as it stands.
bool ParseData(std::string_view data, SettingsValue& value) {
  if (data.starts_with('"')) {
    std::size_t pos = 0;
    std::string text;
    if (!ReadQuoted(data, pos, text) || !Trim(data.substr(pos)).empty()) return false;
    value = SettingsValue::String(text);
    return true;
  }
  std::uint32_t number;
  if (data.size() > 6 && SameName(data.substr(0, 6), "dword:") && ParseDword(data.substr(6), number)) {
    value = SettingsValue::Dword(number);
    return true;
  }
  if (data.empty()) return false;
  value.type = SettingsType::Other;
  value.text = std::string(data);
  return true;
}

// `"Name"=data` or `@=data`, the line already trimmed and not empty.
bool ParseValueLine(std::string_view line, std::string& name, SettingsValue& value) {
  std::size_t pos = 1;
  if (line[0] == '"') {
    pos = 0;
    if (!ReadQuoted(line, pos, name)) return false;
  } else if (line[0] != '@') {
    return false;
  }
  const std::string_view rest = Trim(line.substr(pos));
  return rest.starts_with('=') && ParseData(Trim(rest.substr(1)), value);
}

void AppendValueLine(std::string& out, std::string_view name, const SettingsValue& value) {
  if (name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, name);
  }
  out += '=';
  if (value.type == SettingsType::String) {
    AppendQuoted(out, value.text);
  } else if (value.type == SettingsType::Dword) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "dword:%08x", static_cast<unsigned>(value.number));
    out += hex;
  } else {
    out += value.text;
  }
  out += '\n';
}

}  // namespace

SettingsValue SettingsValue::String(std::string_view text) {
  SettingsValue value;
  value.text = std::string(text.substr(0, text.find('\0')));
  return value;
}

SettingsValue SettingsValue::Dword(std::uint32_t number) {
  SettingsValue value;
  value.type = SettingsType::Dword;
  value.number = number;
  return value;
}

std::string ConfigFolder() { return UserConfigFolder(); }

std::string SettingsFilePath(const std::string& configFolder, const std::string& registryKey) {
  std::string folders;
  std::string_view rest = registryKey;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\\/"), rest.size());
    const std::string_view part = rest.substr(0, end);
    if (!part.empty() && part != "." && part != "..") folders.append("/").append(part);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  if (configFolder.empty() || folders.empty()) return std::string();
  return configFolder + folders + "/settings.reg";
}

SettingsFile::SettingsFile() { keys.push_back(Key{}); }

SettingsFile SettingsFile::Parse(std::string_view bytes) {
  SettingsFile file;
  file.ParseText(DecodeFile(bytes.substr(0, kMaxFileBytes)));
  return file;
}

void SettingsFile::ParseText(std::string_view text) {
  std::size_t key = 0;  // index into `keys`
  bool inIgnoredSection = false;
  Entry* continued = nullptr;  // an `Other` value whose last line ended in '\'
  for (std::string_view raw : SplitLines(text)) {
    if (continued != nullptr && !raw.empty() && IsBlank(raw.front())) {
      continued->value.text.append("\n").append(raw);
      if (!Trim(raw).ends_with('\\')) continued = nullptr;
      continue;
    }
    continued = nullptr;
    const std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const std::string path =
          line.size() >= 2 && line.ends_with(']') ? NormaliseKeyPath(line.substr(1, line.size() - 2)) : "-";
      inIgnoredSection = !IsStorableKeyPath(path);
      if (!inIgnoredSection) key = static_cast<std::size_t>(&FindOrAddKey(path) - keys.data());
      continue;
    }
    std::string name;
    SettingsValue value;
    if (inIgnoredSection || !ParseValueLine(line, name, value)) continue;
    Put(keys[key], name, value);
    if (value.type == SettingsType::Other && value.text.ends_with('\\')) {
      for (Entry& entry : keys[key].values) {
        if (SameName(entry.name, name)) continued = &entry;
      }
    }
  }
}

std::string SettingsFile::Format() const {
  std::string out(kHeader);
  for (const Key& key : keys) {
    if (!key.path.empty()) {
      out.append("\n[").append(key.path).append("]\n");
    } else if (!key.values.empty()) {
      out += '\n';
    }
    for (const Entry& entry : key.values) AppendValueLine(out, entry.name, entry.value);
  }
  return Windows1252ToUtf8(out);
}

bool SettingsFile::Load(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) return false;
    *this = SettingsFile();
    return true;
  }
  std::string bytes;
  char block[65536];
  bool ok = true;
  while (bytes.size() < kMaxFileBytes) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    bytes.append(block, static_cast<std::size_t>(got));
  }
  close(fd);
  if (ok) *this = Parse(bytes);
  return ok;
}

bool SettingsFile::Save(const std::string& path) const {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && !CreateFolders(path.substr(0, slash))) return false;
  const std::string bytes = Format();
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

SettingsFile::Key* SettingsFile::FindKey(std::string_view path) {
  for (Key& key : keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

const SettingsFile::Key* SettingsFile::FindKey(std::string_view path) const {
  return const_cast<SettingsFile*>(this)->FindKey(path);
}

SettingsFile::Key& SettingsFile::FindOrAddKey(std::string_view path) {
  if (Key* key = FindKey(path)) return *key;
  keys.push_back(Key{std::string(path), {}});
  return keys.back();
}

void SettingsFile::Put(Key& key, std::string_view name, const SettingsValue& value) {
  for (Entry& entry : key.values) {
    if (SameName(entry.name, name)) {
      entry.value = value;
      return;
    }
  }
  key.values.push_back(Entry{std::string(name), value});
}

const SettingsValue* SettingsFile::Find(std::string_view subKey, std::string_view name) const {
  const Key* key = FindKey(NormaliseKeyPath(subKey));
  if (key == nullptr) return nullptr;
  for (const Entry& entry : key->values) {
    if (SameName(entry.name, name)) return &entry.value;
  }
  return nullptr;
}

bool SettingsFile::Set(std::string_view subKey, std::string_view name, const SettingsValue& value) {
  const std::string path = NormaliseKeyPath(subKey);
  if (!IsStorableKeyPath(path) || name.find('\0') != std::string_view::npos) return false;
  if (value.type == SettingsType::Other) return false;
  Put(FindOrAddKey(path), name, value.type == SettingsType::String ? SettingsValue::String(value.text) : value);
  return true;
}

bool SettingsFile::Erase(std::string_view subKey, std::string_view name) {
  Key* key = FindKey(NormaliseKeyPath(subKey));
  if (key == nullptr) return false;
  for (auto it = key->values.begin(); it != key->values.end(); ++it) {
    if (SameName(it->name, name)) {
      key->values.erase(it);
      return true;
    }
  }
  return false;
}

bool SettingsFile::HasKey(std::string_view subKey) const { return FindKey(NormaliseKeyPath(subKey)) != nullptr; }

std::size_t SettingsFile::ValueCount() const {
  std::size_t count = 0;
  for (const Key& key : keys) count += key.values.size();
  return count;
}

}  // namespace Zing::Platform
