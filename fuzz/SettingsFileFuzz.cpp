// Feeds arbitrary bytes to the settings-file reader and checks that what it
// keeps can be written, read back and changed without losing anything.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/platform/SettingsFile.h"
#include "framework/platform/Windows1252.h"

namespace {

using Zing::Platform::SettingsFile;
using Zing::Platform::SettingsValue;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SettingsFile file = SettingsFile::Parse(bytes);
  const std::string text = file.Format();
  Check(Zing::Platform::IsValidUtf8(text));

  // Our own output reads back as exactly the same settings.
  SettingsFile again = SettingsFile::Parse(text);
  Check(again.Format() == text);
  Check(again.KeyCount() == file.KeyCount() && again.ValueCount() == file.ValueCount());

  // The first bytes as a sub-key and value name: a value set there is found
  // again after a round trip through the file, and erasing it removes it.
  const std::string_view subKey = bytes.substr(0, std::min<std::size_t>(size, 8));
  const std::string name(bytes.substr(std::min<std::size_t>(size, 8), 8));
  const std::string stored = Zing::Platform::Utf8ToWindows1252(bytes.substr(std::min<std::size_t>(size, 16)));
  if (file.Set(subKey, name, SettingsValue::String(stored))) {
    const SettingsFile back = SettingsFile::Parse(file.Format());
    const SettingsValue* value = back.Find(subKey, name);
    Check(value != nullptr && value->text == SettingsValue::String(stored).text);
    Check(file.Erase(subKey, name) && file.Find(subKey, name) == nullptr);
  }
  return 0;
}
