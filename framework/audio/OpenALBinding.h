#pragma once

// The audio library, bound by name while the program runs and shared by the
// sound manager and the music interface. The first acquisition loads the
// library, fetches its entry points and opens the default output device with
// one current context; the last release closes them again.
//
// A desktop without sound is normal: when the library, one of its entry points
// or an output device is missing, acquiring still counts but yields no
// functions, the program runs silent, and standard error says so once.

#ifdef __EMSCRIPTEN__
// The web build links Emscripten's OpenAL (over Web Audio), whose headers
// declare the functions but name no pointer types: the declarations give them.
#include <AL/al.h>
#include <AL/alc.h>
#define ZING_OPENAL_POINTER(type, name) decltype(&::name)
#else
#define AL_NO_PROTOTYPES
#define ALC_NO_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#define ZING_OPENAL_POINTER(type, name) type
#endif

#include <string>

namespace Zing {

// Every entry point the binding fetches, in the order it fetches them, with
// the library's own pointer type (LP + the name in upper case).
// clang-format off
#define ZING_OPENAL_FUNCTIONS(X)                       \
  X(LPALENABLE, alEnable)                              \
  X(LPALDISABLE, alDisable)                            \
  X(LPALISENABLED, alIsEnabled)                        \
  X(LPALGETBOOLEAN, alGetBoolean)                      \
  X(LPALGETINTEGER, alGetInteger)                      \
  X(LPALGETFLOAT, alGetFloat)                          \
  X(LPALGETDOUBLE, alGetDouble)                        \
  X(LPALGETBOOLEANV, alGetBooleanv)                    \
  X(LPALGETINTEGERV, alGetIntegerv)                    \
  X(LPALGETFLOATV, alGetFloatv)                        \
  X(LPALGETDOUBLEV, alGetDoublev)                      \
  X(LPALGETSTRING, alGetString)                        \
  X(LPALGETERROR, alGetError)                          \
  X(LPALISEXTENSIONPRESENT, alIsExtensionPresent)      \
  X(LPALGETPROCADDRESS, alGetProcAddress)              \
  X(LPALGETENUMVALUE, alGetEnumValue)                  \
  X(LPALLISTENERI, alListeneri)                        \
  X(LPALLISTENERF, alListenerf)                        \
  X(LPALLISTENER3F, alListener3f)                      \
  X(LPALLISTENERFV, alListenerfv)                      \
  X(LPALGETLISTENERI, alGetListeneri)                  \
  X(LPALGETLISTENERF, alGetListenerf)                  \
  X(LPALGETLISTENER3F, alGetListener3f)                \
  X(LPALGETLISTENERFV, alGetListenerfv)                \
  X(LPALGENSOURCES, alGenSources)                      \
  X(LPALDELETESOURCES, alDeleteSources)                \
  X(LPALISSOURCE, alIsSource)                          \
  X(LPALSOURCEI, alSourcei)                            \
  X(LPALSOURCEF, alSourcef)                            \
  X(LPALSOURCE3F, alSource3f)                          \
  X(LPALSOURCEFV, alSourcefv)                          \
  X(LPALGETSOURCEI, alGetSourcei)                      \
  X(LPALGETSOURCEF, alGetSourcef)                      \
  X(LPALGETSOURCEFV, alGetSourcefv)                    \
  X(LPALSOURCEPLAYV, alSourcePlayv)                    \
  X(LPALSOURCESTOPV, alSourceStopv)                    \
  X(LPALSOURCEPLAY, alSourcePlay)                      \
  X(LPALSOURCEPAUSE, alSourcePause)                    \
  X(LPALSOURCESTOP, alSourceStop)                      \
  X(LPALSOURCEREWIND, alSourceRewind)                  \
  X(LPALSOURCEREWINDV, alSourceRewindv)                \
  X(LPALGENBUFFERS, alGenBuffers)                      \
  X(LPALDELETEBUFFERS, alDeleteBuffers)                \
  X(LPALISBUFFER, alIsBuffer)                          \
  X(LPALBUFFERDATA, alBufferData)                      \
  X(LPALGETBUFFERI, alGetBufferi)                      \
  X(LPALGETBUFFERF, alGetBufferf)                      \
  X(LPALSOURCEQUEUEBUFFERS, alSourceQueueBuffers)      \
  X(LPALSOURCEUNQUEUEBUFFERS, alSourceUnqueueBuffers)  \
  X(LPALDISTANCEMODEL, alDistanceModel)                \
  X(LPALDOPPLERFACTOR, alDopplerFactor)                \
  X(LPALDOPPLERVELOCITY, alDopplerVelocity)            \
  X(LPALCGETSTRING, alcGetString)                      \
  X(LPALCGETINTEGERV, alcGetIntegerv)                  \
  X(LPALCOPENDEVICE, alcOpenDevice)                    \
  X(LPALCCLOSEDEVICE, alcCloseDevice)                  \
  X(LPALCCREATECONTEXT, alcCreateContext)              \
  X(LPALCMAKECONTEXTCURRENT, alcMakeContextCurrent)    \
  X(LPALCPROCESSCONTEXT, alcProcessContext)            \
  X(LPALCGETCURRENTCONTEXT, alcGetCurrentContext)      \
  X(LPALCGETCONTEXTSDEVICE, alcGetContextsDevice)      \
  X(LPALCSUSPENDCONTEXT, alcSuspendContext)            \
  X(LPALCDESTROYCONTEXT, alcDestroyContext)            \
  X(LPALCGETERROR, alcGetError)                        \
  X(LPALCISEXTENSIONPRESENT, alcIsExtensionPresent)    \
  X(LPALCGETPROCADDRESS, alcGetProcAddress)            \
  X(LPALCGETENUMVALUE, alcGetEnumValue)
// clang-format on

struct OpenALFunctions {
#define ZING_OPENAL_MEMBER(type, name) ZING_OPENAL_POINTER(type, name) name = nullptr;
  ZING_OPENAL_FUNCTIONS(ZING_OPENAL_MEMBER)
#undef ZING_OPENAL_MEMBER
};

inline constexpr const char* kOpenALLibraryName = "libopenal.so.1";

// Counts one acquisition. The functions, or null when nothing can be heard
// (no library, a missing entry point, no output device). Every acquisition,
// audible or not, is paired with one ReleaseOpenAL.
const OpenALFunctions* AcquireOpenAL();
void ReleaseOpenAL();

// The library file the next first acquisition loads (tests point it at a
// missing name to run without the library).
void SetOpenALLibraryName(const std::string& name);

}  // namespace Zing
