#pragma once

// Libraries opened at run time by name, for optional codecs and the audio
// output: a missing library is a normal answer, not an error.

#include <string>

namespace Zing::Platform {

// The library's handle, or null when it cannot be opened.
void* OpenSharedLibrary(const std::string& name);
// The exported symbol, or null when the library has none of that name.
void* FindSharedSymbol(void* library, const std::string& name);
void CloseSharedLibrary(void* library);

}  // namespace Zing::Platform
