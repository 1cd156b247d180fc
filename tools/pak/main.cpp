// pak: creates, lists and extracts the game's archives ("main.pak"), so that
// players and modders can look inside them and build their own.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/pak/PakTool.h"

namespace {

constexpr const char* kUsage =
    "usage: pak create [--zero-times] [--exclude <name>]... <folder> <archive>\n"
    "       pak list <archive>\n"
    "       pak extract <archive> <folder>\n"
    "\n"
    "create   packs every file below <folder> into <archive>, sorted by name;\n"
    "         --zero-times stores 0 instead of the files' times, so that the\n"
    "         archive depends on the files' names and contents alone;\n"
    "         --exclude leaves out one file, named by its path below <folder>\n"
    "list     shows each file's size, time (UTC) and name\n"
    "extract  writes every file of <archive> below <folder>\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int Fail(const std::string& error) {
  std::fprintf(stderr, "pak: %s\n", error.c_str());
  return 1;
}

int Create(std::vector<std::string> args) {
  PakTool::Times times = PakTool::Times::FromFiles;
  std::vector<std::string> excluded;
  while (!args.empty() && args.front().rfind("--", 0) == 0) {
    if (args.front() == "--zero-times") {
      times = PakTool::Times::Zero;
      args.erase(args.begin());
    } else if (args.front() == "--exclude" && args.size() > 1) {
      excluded.push_back(args[1]);
      args.erase(args.begin(), args.begin() + 2);
    } else {
      return Usage();
    }
  }
  if (args.size() != 2) return Usage();
  bool written = false;
  std::string error;
  if (!PakTool::CreateArchive(args[0], args[1], times, written, error, excluded)) return Fail(error);
  if (written) std::printf("pak: wrote %s\n", args[1].c_str());
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  std::vector<Zing::Pak::Entry> entries;
  std::string error;
  if (!PakTool::ListArchive(args[0], entries, error)) return Fail(error);
  std::fputs(PakTool::FormatListing(entries).c_str(), stdout);
  return 0;
}

int Extract(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage();
  std::string error;
  if (!PakTool::ExtractArchive(args[0], args[1], error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "create") return Create(args);
  if (command == "list") return List(args);
  if (command == "extract") return Extract(args);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return Usage();
}
