// The program: finds the game's data, creates the application, runs it.

#include <string>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include "framework/platform/DesktopIdentity.h"
#endif

#include "framework/app/FileAccess.h"
#include "framework/platform/Folders.h"
#include "game/shell/AppManager.h"

namespace {

// Parameters in the form the application parses: blanks between them, and
// quotes around any that contain a blank.
std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (!line.empty()) line += ' ';
    line += argument.find(' ') == std::string::npos ? argument : "\"" + argument + "\"";
  }
  return line;
}

// The data lies in the working folder, or else in the folder beside the
// program ("data" in the build tree, "../share/lintwick" when installed).
void FindGameData() {
  if (Zing::FileExists("main.pak") || Zing::FileExists("properties/resources.xml")) return;
  const std::string programFolder = Zing::Platform::ProgramFolder();
  for (const char* candidate : {"data", "../share/lintwick"}) {
    const std::string folder = programFolder + candidate;
    if (Zing::FileExists(folder + "/main.pak") || Zing::FileExists(folder + "/properties/resources.xml")) {
      Zing::Platform::ChangeWorkingFolder(folder);
      return;
    }
  }
}

}  // namespace

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
#ifdef __EMSCRIPTEN__
  NameWebHooks();
#else
  Zing::Platform::SetDesktopIdentity(LINTWICK_APP_ID);
#endif
  FindGameData();
  auto app = std::make_unique<Lintwick::AppManager>();
  app->commandLine = JoinArguments(argc, argv);
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
