#pragma once

// The per-user settings store of the desktop: one text file per application
// key, laid out like a registry export.
//
//   ; header comment
//   "MusicVolume"=dword:00000055
//   "Locale"="en"
//
//   [Sub\Key]
//   "Name"="text with \"quotes\" and \\ backslashes"
//
// Values before the first section belong to the application key itself;
// `[Sub\Key]` sections are sub-keys below it. A value is a string (`"..."`), a
// 32-bit number (`dword:` and eight hex digits) or any other registry data
// (`hex:...`, `qword:...`, continued over lines ending in '\'), which is kept
// as it stands so that values another tool put there survive our rewrites.
// `@` names the key's unnamed value. Key and value names compare without
// regard to case, as the registry's do; the spelling first stored is kept.
//
// Text in memory is 8-bit (Windows-1252), as everywhere in the framework. The
// file is written as UTF-8 so that desktop editors show it properly. Reading
// accepts UTF-8 (with or without byte-order mark), UTF-16 little-endian with
// its byte-order mark (the encoding of real registry exports), and anything
// else as 8-bit text.
//
// Reading never fails and never trusts the file: lines that cannot be
// understood (garbage, a string without its closing quote, a truncated or
// malformed section header and every value below it up to the next good
// header, comments) are dropped and disappear at the next write. A value
// given twice takes the later one, as an import would.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Zing::Platform {

enum class SettingsType { String, Dword, Other };

struct SettingsValue {
  SettingsType type = SettingsType::String;
  // String: the 8-bit text, never containing a zero byte. Other: the data as
  // it stood after '=' in the file.
  std::string text;
  std::uint32_t number = 0;  // Dword

  static SettingsValue String(std::string_view text);
  static SettingsValue Dword(std::uint32_t number);
};

// The folder of per-user settings: $XDG_CONFIG_HOME when it is an absolute
// path, else ~/.config; empty when there is no home folder either.
std::string ConfigFolder();

// The settings file of an application key below the folder: the key's parts
// (separated by '\' or '/') become folders, then "settings.reg". Empty parts,
// "." and ".." are dropped so that a key can never point outside the folder.
// Empty when the folder or the key has nothing usable.
std::string SettingsFilePath(const std::string& configFolder, const std::string& registryKey);

class SettingsFile {
 public:
  // Files larger than this are not settings of ours; only their beginning is read.
  static constexpr std::size_t kMaxFileBytes = 16u << 20;

  SettingsFile();

  static SettingsFile Parse(std::string_view bytes);
  // The whole file, UTF-8 encoded.
  std::string Format() const;

  // Replaces the contents with the file at `path`. A missing file is an empty
  // store; a file that exists but cannot be read gives false, so that a write
  // never replaces settings it could not see.
  bool Load(const std::string& path);
  // Writes the whole file atomically, creating its folders: on failure the old
  // file stays as it was.
  bool Save(const std::string& path) const;

  // `subKey` is a path of names separated by '\' below the application key,
  // empty for the key itself.
  const SettingsValue* Find(std::string_view subKey, std::string_view name) const;
  // Creates the sub-key when needed and sets the value, keeping the spelling
  // of an existing name. Strings are cut at a zero byte. Fails for names that
  // the file cannot hold (a zero byte in a name, a line break in a sub-key, a
  // sub-key starting with '-', which an import reads as a deletion) and for
  // `Other` values, which only come from a file.
  bool Set(std::string_view subKey, std::string_view name, const SettingsValue& value);
  // True when the value was there.
  bool Erase(std::string_view subKey, std::string_view name);

  bool HasKey(std::string_view subKey) const;
  std::size_t KeyCount() const { return keys.size(); }  // the application key included
  std::size_t ValueCount() const;

 private:
  struct Entry {
    std::string name;
    SettingsValue value;
  };
  struct Key {
    std::string path;
    std::vector<Entry> values;
  };

  Key* FindKey(std::string_view path);
  const Key* FindKey(std::string_view path) const;
  Key& FindOrAddKey(std::string_view path);
  static void Put(Key& key, std::string_view name, const SettingsValue& value);
  void ParseText(std::string_view text);

  std::vector<Key> keys;  // keys[0] is the application key, path ""
};

}  // namespace Zing::Platform
