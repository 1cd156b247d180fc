// The process's one binding of the audio library: loaded on the first
// acquisition, the output device opened with it and closed on the last release.

#include "framework/audio/OpenALBinding.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "framework/audio/AlsaMessages.h"
#include "framework/platform/SharedLibrary.h"

namespace Zing {

namespace {

struct Binding {
  std::mutex lock;  // acquisitions and releases may come from two threads
  std::atomic<int> count{0};
  std::string libraryName = kOpenALLibraryName;
  void* library = nullptr;
  bool functionsComplete = false;
  OpenALFunctions functions;
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
};

Binding& TheBinding() {
  static Binding binding;
  return binding;
}

#ifndef __EMSCRIPTEN__
constexpr const char* kOpenALLogLevelVariable = "ALSOFT_LOGLEVEL";
#endif

// Silence is worth one line on standard error per run, not one per sound.
void SaySilentOnce(const std::string& reason) {
  static std::atomic<bool> told{false};
  if (!told.exchange(true)) std::fprintf(stderr, "Sound: %s; running without sound.\n", reason.c_str());
}

// Loads the library and every entry point once per process. The library stays
// loaded afterwards: it keeps threads and handlers of its own, and unloading
// it buys nothing when the next acquisition would load it again.
bool LoadFunctions(Binding& binding) {
  if (binding.functionsComplete) return true;
#ifdef __EMSCRIPTEN__
  // The browser's OpenAL is linked into the program: nothing to load.
#define ZING_OPENAL_TAKE(type, name) binding.functions.name = &::name;
  ZING_OPENAL_FUNCTIONS(ZING_OPENAL_TAKE)
#undef ZING_OPENAL_TAKE
  binding.library = &binding;
  binding.functionsComplete = true;
  return true;
#else
  // The library logs its own errors (a missing device among them) unless told
  // otherwise before it loads; the one line above says what matters. A level
  // set by the user stays.
  setenv(kOpenALLogLevelVariable, "0", 0);
  if (!binding.library) binding.library = Platform::OpenSharedLibrary(binding.libraryName);
  if (!binding.library) {
    SaySilentOnce("cannot load " + binding.libraryName);
    return false;
  }
  OpenALFunctions& f = binding.functions;
#define ZING_OPENAL_FETCH(type, name)                                                  \
  f.name = reinterpret_cast<type>(Platform::FindSharedSymbol(binding.library, #name)); \
  if (!f.name) {                                                                       \
    SaySilentOnce("the function " #name " is missing from " + binding.libraryName);    \
    return false;                                                                      \
  }
  ZING_OPENAL_FUNCTIONS(ZING_OPENAL_FETCH)
#undef ZING_OPENAL_FETCH
  binding.functionsComplete = true;
  return true;
#endif
}

void OpenDevice(Binding& binding) {
  const OpenALFunctions& f = binding.functions;
  QuietAlsaMessages();
  binding.device = f.alcOpenDevice(nullptr);
  if (!binding.device) {
    const std::string alsa = FirstAlsaMessage();
    SaySilentOnce("no audio output device" + (alsa.empty() ? std::string() : " (ALSA: " + alsa + ")"));
    return;
  }
  binding.context = f.alcCreateContext(binding.device, nullptr);
  if (!binding.context || !f.alcMakeContextCurrent(binding.context)) {
    if (binding.context) f.alcDestroyContext(binding.context);
    f.alcCloseDevice(binding.device);
    binding.context = nullptr;
    binding.device = nullptr;
    SaySilentOnce("the audio output device refused a context");
    return;
  }
  const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
  f.alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
  f.alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  f.alListenerfv(AL_ORIENTATION, orientation);
}

void CloseDevice(Binding& binding) {
  if (!binding.device) return;
  const OpenALFunctions& f = binding.functions;
  f.alcMakeContextCurrent(nullptr);
  f.alcDestroyContext(binding.context);
  f.alcCloseDevice(binding.device);
  binding.context = nullptr;
  binding.device = nullptr;
}

}  // namespace

const OpenALFunctions* AcquireOpenAL() {
  Binding& binding = TheBinding();
  std::lock_guard<std::mutex> hold(binding.lock);
  if (binding.count.fetch_add(1) == 0 && LoadFunctions(binding)) OpenDevice(binding);
  return binding.context ? &binding.functions : nullptr;
}

void ReleaseOpenAL() {
  Binding& binding = TheBinding();
  std::lock_guard<std::mutex> hold(binding.lock);
  if (binding.count.load() <= 0) return;
  if (binding.count.fetch_sub(1) == 1) CloseDevice(binding);
}

void SetOpenALLibraryName(const std::string& name) {
  Binding& binding = TheBinding();
  std::lock_guard<std::mutex> hold(binding.lock);
  binding.libraryName = name;
  // A binding that is not in use loads the new name on its next acquisition.
  if (binding.count.load() == 0 && binding.library) {
    binding.functionsComplete = false;
    binding.functions = OpenALFunctions{};
    binding.library = nullptr;  // still loaded; only no longer ours to use
  }
}

}  // namespace Zing
