#include "framework/platform/SharedLibrary.h"

#include <dlfcn.h>

namespace Zing::Platform {

void* OpenSharedLibrary(const std::string& name) { return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindSharedSymbol(void* library, const std::string& name) {
  return library ? dlsym(library, name.c_str()) : nullptr;
}

void CloseSharedLibrary(void* library) {
  if (library) dlclose(library);
}

}  // namespace Zing::Platform
