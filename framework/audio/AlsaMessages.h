#pragma once

// The audio library reaches the sound card through ALSA where no sound server
// runs, and ALSA prints its own lines on standard error while it looks for a
// card ("cannot find card '0'", ...). Those go to a handler of ours instead:
// the first one is kept, to explain the program's one line about running
// without sound.

#include <string>

namespace Zing {

// Installs the handler in the process's ALSA library when it is installed;
// nothing happens without one. Called before the audio library opens its
// device; repeated calls do nothing more.
void QuietAlsaMessages();

// The first message ALSA reported since the handler was installed ("" when none).
std::string FirstAlsaMessage();

}  // namespace Zing
