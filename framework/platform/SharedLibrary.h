#pragma once

// Libraries opened by name while the program runs, for the optional services
// (the audio library) whose absence must not stop the program from starting.

#include <string>

namespace Zing::Platform {

// The library's handle, or null when it cannot be found or loaded.
void* OpenSharedLibrary(const std::string& name);
// The address of an exported symbol, or null.
void* FindSharedLibrarySymbol(void* library, const char* name);
void CloseSharedLibrary(void* library);

}  // namespace Zing::Platform
