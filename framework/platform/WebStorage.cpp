// In the browser the saves and settings live in Emscripten's in-memory file
// system, mounted over IndexedDB: every finished write is copied to
// IndexedDB at once, so that a reload or a closed tab keeps it.

#include "framework/platform/FileSystem.h"

extern "C" void zing_web_persist();  // WebPage.js

namespace Zing::Platform {

void KeepWrittenFiles() { zing_web_persist(); }

}  // namespace Zing::Platform
