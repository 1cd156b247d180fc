#pragma once

// A request to stop from outside the window (SIGTERM when the session ends or
// a script closes the game, SIGINT from a terminal) is answered like the
// window's close button: the program saves and ends with its own exit code.
// The handlers stay for the whole life of the process, so a request that
// arrives while the program is already closing cannot cut the close short;
// a second request before the first was taken ends the program at once, so
// a program stuck in closing can still be stopped.

namespace Zing::Platform {

// Installs the handlers; later calls do nothing.
void InstallStopSignalHandlers();

// True once for each request that arrived since the last call.
bool TakeStopRequest();

}  // namespace Zing::Platform
