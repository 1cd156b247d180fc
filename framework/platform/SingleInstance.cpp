#include "framework/platform/SingleInstance.h"

#include "framework/platform/Folders.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Zing::Platform {

namespace {

// The abstract socket address of `name`, scoped to the user and to the
// settings folder: one copy runs per user profile, and two profiles of one
// user (a test's temporary home, a second desktop session with its own
// XDG_CONFIG_HOME) do not block each other. The folder enters as a hash so the
// name stays short.
socklen_t MakeAddress(const std::string& name, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::size_t profile = std::hash<std::string>{}(UserConfigFolder());
  const std::string scoped = "zing-" + std::to_string(getuid()) + "-" + std::to_string(profile) + "-" + name;
  const std::size_t length = std::min(scoped.size(), sizeof address.sun_path - 2);
  std::memcpy(address.sun_path + 1, scoped.data(), length);  // sun_path[0] = 0: abstract
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

}  // namespace

SingleInstance::~SingleInstance() {
  if (listenFd >= 0) close(listenFd);
}

bool SingleInstance::Acquire(const std::string& name) {
  sockaddr_un address{};
  const socklen_t length = MakeAddress(name, address);
  listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd < 0) return true;
  if (bind(listenFd, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(listenFd, 4) == 0) return true;
  const bool taken = errno == EADDRINUSE;
  close(listenFd);
  listenFd = -1;
  return !taken;
}

bool SingleInstance::TakeNotification() {
  if (listenFd < 0) return false;
  const int peer = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (peer < 0) return false;
  close(peer);
  return true;
}

void SingleInstance::Notify(const std::string& name) {
  sockaddr_un address{};
  const socklen_t length = MakeAddress(name, address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
    const char message[] = "notify";
    [[maybe_unused]] ssize_t sent = send(fd, message, sizeof message - 1, MSG_NOSIGNAL);
  }
  close(fd);
}

}  // namespace Zing::Platform
