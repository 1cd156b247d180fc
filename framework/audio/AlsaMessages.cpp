// ALSA's error handler is a C variadic function set through
// snd_lib_error_set_handler; the library is opened by name, like the audio
// library itself, so that building needs no ALSA headers. The library stays
// loaded: the audio library holds it as well, and the handler must outlive
// every call into it.

#include "framework/audio/AlsaMessages.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "framework/platform/SharedLibrary.h"

namespace Zing {

namespace {

constexpr const char* kAlsaLibrary = "libasound.so.2";
constexpr std::size_t kMessageSize = 256;

using ErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using SetErrorHandler = int (*)(ErrorHandler handler);

struct Messages {
  std::mutex lock;  // ALSA may report from the audio library's threads
  bool installed = false;
  std::string first;
};

Messages& TheMessages() {
  static Messages messages;
  return messages;
}

// The format attribute lets the compiler check the one place the format is passed on.
__attribute__((format(printf, 5, 6))) void KeepMessage(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/, const char* format, ...) {
  char text[kMessageSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  Messages& messages = TheMessages();
  std::lock_guard<std::mutex> hold(messages.lock);
  if (messages.first.empty()) messages.first = text;
}

}  // namespace

void QuietAlsaMessages() {
  Messages& messages = TheMessages();
  std::lock_guard<std::mutex> hold(messages.lock);
  if (messages.installed) return;
  messages.installed = true;
#ifdef __EMSCRIPTEN__
  // The browser's sound has no ALSA beneath it, and the page cannot open libraries.
  return;
#endif
  void* library = Platform::OpenSharedLibrary(kAlsaLibrary);
  if (!library) return;
  auto set = reinterpret_cast<SetErrorHandler>(Platform::FindSharedSymbol(library, "snd_lib_error_set_handler"));
  if (set) set(KeepMessage);
}

std::string FirstAlsaMessage() {
  Messages& messages = TheMessages();
  std::lock_guard<std::mutex> hold(messages.lock);
  return messages.first;
}

}  // namespace Zing
