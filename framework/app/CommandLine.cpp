// The command line: splitting it into parameters, the options of the
// framework (demo recording and playback, screen saver, working folder), and
// the --help and --version conventions of a desktop program.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "framework/app/ZingAppBase.h"
#include "framework/platform/FileSystem.h"

namespace Zing {

namespace {

constexpr int kDefaultKeptDemos = 5;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Digits only; anything else gives 0, as a missing value does.
int NumberValue(const std::string& value) {
  if (value.empty() || value.size() > 9) return 0;
  for (char c : value) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  }
  return std::atoi(value.c_str());
}

bool IsAbsolute(const std::string& path) { return !path.empty() && (path[0] == '/' || path[0] == '\\'); }

}  // namespace

std::vector<CommandLineParam> SplitCommandLine(const std::string& text) {
  std::vector<CommandLineParam> params;
  CommandLineParam current;
  bool quoted = false;
  bool inValue = false;
  auto finish = [&] {
    if (!current.name.empty()) params.push_back(current);
    current = CommandLineParam();
    inValue = false;
  };
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      finish();
    } else if (c == '=' && !inValue) {
      inValue = true;
    } else {
      (inValue ? current.value : current.name) += c;
    }
  }
  finish();
  return params;
}

void ZingAppBase::ParseCommandLine() { ParseCommandLine(commandLine); }

void ZingAppBase::ParseCommandLine(const std::string& text) {
  commandLineParsed = true;
  for (const CommandLineParam& param : SplitCommandLine(text)) {
    if (shutdown) return;
    HandleCmdLineParam(param.name, param.value);
  }
}

void ZingAppBase::HandleCmdLineParam(const std::string& name, const std::string& value) {
  const std::string option = Lower(name);
  if (option == "-play" || option == "-record") {
    // Recording and playback exclude each other: the last one given wins.
    playingDemo = option == "-play";
    recordingDemo = !playingDemo;
  } else if (option == "-demofile") {
    demoFileName = IsAbsolute(value) ? value : appDataFolder + value;
  } else if (option == "-recnum" || option == "-playnum") {
    SelectNumberedDemo(option == "-recnum", value);
  } else if (option == "-screensaver") {
    isScreenSaver = true;
  } else if (option == "-changedir") {
    changeDirTarget = value;
  } else if (option == "-crash") {
    // Exercises the fatal-error report, which this build does not have.
  } else {
    Popup(GetString("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") + name);
    Exit(0);
  }
}

std::vector<int> ZingAppBase::FindNumberedDemos() const {
  std::vector<Platform::FolderEntry> entries;
  std::vector<int> numbers;
  const std::string folder = appDataFolder.empty() ? std::string(".") : appDataFolder;
  if (!Platform::ListFolder(folder, entries)) return numbers;
  const std::string suffix = ".dmo";
  for (const Platform::FolderEntry& entry : entries) {
    const std::string& name = entry.name;
    if (!entry.isFile || name.size() <= demoPrefix.size() + suffix.size()) continue;
    if (name.compare(0, demoPrefix.size(), demoPrefix) != 0) continue;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    const std::string digits = name.substr(demoPrefix.size(), name.size() - demoPrefix.size() - suffix.size());
    const int number = NumberValue(digits);
    if (number > 0 && std::to_string(number) == digits) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// "-recnum=n" keeps at most n numbered recordings by deleting the oldest one
// and records into the next number; "-playnum=n" plays the n-th newest.
void ZingAppBase::SelectNumberedDemo(bool record, const std::string& value) {
  const std::vector<int> numbers = FindNumberedDemos();
  const int largest = numbers.empty() ? 0 : numbers.back();
  int n = NumberValue(value);
  auto fileOf = [this](int number) { return appDataFolder + demoPrefix + std::to_string(number) + ".dmo"; };
  if (record) {
    if (n < 1) n = kDefaultKeptDemos;
    if (static_cast<int>(numbers.size()) >= n) std::remove(Platform::ToDiskPath(fileOf(numbers.front())).c_str());
    demoFileName = fileOf(largest + 1);
  } else {
    demoFileName = fileOf(largest - (std::max(n, 1) - 1));
  }
  recordingDemo = record;
  playingDemo = !record;
}

std::string ZingAppBase::GetCommandLineHelp() const {
  const std::string program = Lower(productName);
  return "Usage: " + program +
         " [option]...\n"
         "Option names are not case-sensitive. A value follows \"=\", in double quotes when it\n"
         "contains blanks (-demofile=\"my demo.dmo\").\n"
         "\n"
         "  -record            record this run into the demo file\n"
         "  -play              play back the demo file\n"
         "  -demofile=FILE     the demo file (default " +
         demoPrefix +
         ".dmo); a relative name lies in the\n"
         "                     per-user data folder\n"
         "  -recnum=N          record into the next numbered demo file (" +
         demoPrefix +
         "1.dmo, ...),\n"
         "                     deleting the oldest when N of them exist (default 5)\n"
         "  -playnum=N         play back the N-th newest numbered demo file (1: the newest)\n"
         "  -screensaver       run as a screen saver; several copies may run\n"
         "  -changedir=FOLDER  change to FOLDER before reading any data\n"
         "  -crash             accepted and ignored\n"
         "  --help             show this text and exit\n"
         "  --version          show the version and exit\n"
         "\n"
         "Keys while a demo plays: + and - change the speed, = resets it; 0 jumps to the end,\n"
         "4 to 9 to 120, 90, 60, 30, 10 or 5 seconds before it; M fast-forwards to the end;\n"
         "P pauses, N steps one update; J jumps to a time (h:m:s, Enter); L lists the markers;\n"
         "S switches the sound off and on.\n";
}

void ZingAppBase::HandleInformationOptions() {
  for (const CommandLineParam& param : SplitCommandLine(commandLine)) {
    const std::string option = Lower(param.name);
    if (option != "--help" && option != "--version") continue;
    const std::string text = option == "--help" ? GetCommandLineHelp() : productName + " " + productVersion + "\n";
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    Exit(0);
    return;
  }
}

}  // namespace Zing
