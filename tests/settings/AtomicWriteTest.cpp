#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "framework/platform/FileSystem.h"
#include "tests/support/TempFolder.h"

namespace {

// The id of a process that has ended, as a program killed while it saved.
long EndedProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(AtomicWrite, RemovesOnlyTheStaleTemporariesOfTheFileItWrites) {
  ZingTest::TempFolder folder;
  const std::string dead = std::to_string(EndedProcessId());
  const std::string self = std::to_string(getpid());
  const std::string staleOne = "settings.reg." + dead + ".0.tmp";
  const std::string staleTwo = "settings.reg." + dead + ".17.tmp";
  const std::string kept[] = {"settings.reg." + self + ".3.tmp",  // this process may be writing it
                              "settings.reg.1.0.tmp",             // a live process may be writing it
                              "game.dat." + dead + ".0.tmp",      // another file's
                              "settings.reg.old.tmp",
                              "settings.reg." + dead + ".x.tmp",
                              "settings.reg.bak"};
  for (const std::string& name : {staleOne, staleTwo}) folder.Write(name, "half");
  for (const std::string& name : kept) folder.Write(name, "keep");

  ASSERT_TRUE(Zing::Platform::WriteFileAtomically(folder.File("settings.reg"), "new", 3));

  EXPECT_EQ(folder.Read("settings.reg"), "new");
  EXPECT_FALSE(folder.Exists(staleOne));
  EXPECT_FALSE(folder.Exists(staleTwo));
  for (const std::string& name : kept) EXPECT_TRUE(folder.Exists(name)) << name;
}

}  // namespace
