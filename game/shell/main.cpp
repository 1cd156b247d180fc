// The program: finds the game's data, creates the application, runs it.

#include <string>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include "framework/platform/DesktopIdentity.h"
#endif

#include "framework/platform/Folders.h"
#include "game/shell/AppManager.h"
#include "game/shell/ProgramStart.h"

#ifdef __EMSCRIPTEN__
// The page hears of the program under the game's names: the count of
// presented frames and the notice that progress cannot be kept.
void NameWebHooks() {
  EM_ASM({
    Object.defineProperty(Module, 'lintwickFrames', {get : function() { return Module['zingFrames'] || 0; }
});
Module['zingNotice'] = function(text) {
  if (Module['lintwickNotice'])
    Module['lintwickNotice'](text);
  else
    console.warn(text);
};
});
}
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto exitCode = Lintwick::RunConsoleCommand(arguments)) return *exitCode;

#ifdef __EMSCRIPTEN__
  NameWebHooks();
#else
  Zing::Platform::SetDesktopIdentity(LINTWICK_APP_ID);
#endif
  Lintwick::FindGameData(Zing::Platform::ProgramFolder());
  auto app = std::make_unique<Lintwick::AppManager>();
  app->commandLine = Lintwick::JoinArguments(arguments);
  app->Init();
  app->Run();
  app.reset();
#ifdef __EMSCRIPTEN__
  // A page whose game has ended would stand still on its last picture: it
  // starts again from the splash instead (the game and settings are kept).
  EM_ASM({ location.reload(); });
#endif
  return 0;
}
