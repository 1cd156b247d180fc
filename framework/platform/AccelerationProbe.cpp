// The child is this program started again with kProbeVariable set: a static
// initializer of this file notices the variable before main runs, does the
// test with SDL alone, writes one line to its standard output and ends. The
// line is "works <renderer>" or "fails". A child that hangs (a broken driver)
// is killed after kProbeSeconds and counts as a failed test.

#include "framework/platform/AccelerationProbe.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace Zing::Platform {

namespace {

constexpr const char* kProbeVariable = "ZING_ACCELERATION_PROBE";
constexpr int kProbeSeconds = 20;
constexpr int kGlRenderer = 0x1F01;  // GL_RENDERER
constexpr std::array<const char*, 4> kSoftwareNames = {"llvmpipe", "softpipe", "swrast", "software rasterizer"};

using GetStringFunction = const unsigned char* (*)(unsigned int);

// The GL renderer's name behind an SDL renderer ("" when it is not a GL one).
std::string GlRendererName(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return {};
  auto getString = reinterpret_cast<GetStringFunction>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
  return name ? reinterpret_cast<const char*>(name) : std::string();
}

// The child's whole work.
std::string TestInThisProcess() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return "fails";
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (!renderer || SDL_RenderClear(renderer) != 0) return "fails";
  SDL_RenderPresent(renderer);
  return "works " + GlRendererName(renderer);
}

[[maybe_unused]] const bool gProbeChild = [] {
  if (std::getenv(kProbeVariable) == nullptr) return false;
  const std::string line = TestInThisProcess() + "\n";
  (void)!write(STDOUT_FILENO, line.data(), line.size());
  _exit(0);
}();

// The environment of the child: ours and the probe's variable.
std::vector<char*> ChildEnvironment(std::string& variable) {
  variable = std::string(kProbeVariable) + "=1";
  std::vector<char*> environment;
  for (char** entry = environ; entry && *entry; ++entry) environment.push_back(*entry);
  environment.push_back(variable.data());
  environment.push_back(nullptr);
  return environment;
}

// Starts the child with its standard output on `output` and its standard
// error silenced (graphics drivers talk there); -1 when it cannot start.
pid_t StartChild(int output) {
  std::string variable;
  std::vector<char*> environment = ChildEnvironment(variable);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char program[] = "/proc/self/exe";
  char* arguments[] = {program, nullptr};
  pid_t child = -1;
  if (posix_spawn(&child, program, &actions, nullptr, arguments, environment.data()) != 0) child = -1;
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

// Everything the child writes until it closes its output or time runs out.
std::string ReadAnswer(int input) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::seconds(kProbeSeconds);
  std::string answer;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return {};
    pollfd wait{input, POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return {};
    char buffer[256];
    const ssize_t got = read(input, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return answer;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

bool IsSoftwareRasteriser(const std::string& renderer) {
  std::string lower = renderer;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return std::any_of(kSoftwareNames.begin(), kSoftwareNames.end(),
                     [&lower](const char* name) { return lower.find(name) != std::string::npos; });
}

AccelerationProbeResult ProbeAcceleration() {
  AccelerationProbeResult result;
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) return result;
  const pid_t child = StartChild(channel[1]);
  close(channel[1]);
  const std::string answer = child > 0 ? ReadAnswer(channel[0]) : std::string();
  close(channel[0]);
  if (child > 0) {
    kill(child, SIGKILL);  // ended already, or hung past its time
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  const std::string works = "works ";
  if (answer.rfind(works, 0) != 0) return result;
  result.works = true;
  result.renderer = answer.substr(works.size());
  while (!result.renderer.empty() && std::isspace(static_cast<unsigned char>(result.renderer.back())))
    result.renderer.pop_back();
  result.softwareRasteriser = IsSoftwareRasteriser(result.renderer);
  return result;
}

}  // namespace Zing::Platform
