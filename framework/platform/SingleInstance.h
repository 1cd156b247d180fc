#pragma once

// One running copy of the program per user: the first instance owns an
// abstract UNIX socket named after the product; a later one connects to it to
// ask the first to come to the front.

#include <string>

namespace Zing::Platform {

class SingleInstance {
 public:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // True when this process is the first instance of `name` (or the socket
  // cannot be made at all: then nothing stops a second copy).
  bool Acquire(const std::string& name);

  // True once for each notification a later instance has sent.
  bool TakeNotification();

  static void Notify(const std::string& name);

 private:
  int listenFd = -1;
};

}  // namespace Zing::Platform
