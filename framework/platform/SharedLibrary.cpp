// Run-time loading of libraries by name, through the dynamic linker.

#include "framework/platform/SharedLibrary.h"

#include <dlfcn.h>

namespace Zing::Platform {

void* OpenSharedLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  // RTLD_LOCAL: the library's symbols never stand in for anything linked into
  // the program itself.
  return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindSharedLibrarySymbol(void* library, const char* name) {
  return library && name ? dlsym(library, name) : nullptr;
}

void CloseSharedLibrary(void* library) {
  if (library) dlclose(library);
}

}  // namespace Zing::Platform
