// A game killed while it saves never leaves a half-written saved game: a
// writer process saves two different games in turn and is killed at an
// arbitrary moment of a save, again and again; the file on the disk is always
// one of the two games whole, and it always continues without damage.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "framework/app/FileAccess.h"
#include "game/puzzle/GameScreen.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace LintwickTest;

// Level files from memory, the save folder on the disk.
struct DiskHost : FakeHost {
  explicit DiskHost(std::string saveFolder) : folder(std::move(saveFolder)) {}
  std::string folder;

  bool Saved(const std::string& path) const { return path.rfind(folder, 0) == 0; }
  std::string GetUserDataFolder() override { return folder; }
  bool WriteBufferToFile(const std::string& path, const Zing::Buffer& buffer) override {
    return Zing::WriteBufferToFile(path, buffer);
  }
  bool FileExists(const std::string& path) override {
    return Saved(path) ? Zing::FileExists(path) : FakeHost::FileExists(path);
  }
  bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) override {
    return Saved(path) ? Zing::ReadBufferFromFile(path, buffer) : FakeHost::ReadBufferFromFile(path, buffer);
  }
};

std::string BytesOf(const Lintwick::GameScreen& screen) {
  const Zing::Buffer b = screen.SavedGameBytes();
  return {reinterpret_cast<const char*>(b.GetDataPtr()), b.GetDataLen()};
}

TEST(SaveKill, AKilledSaveLeavesTheOldOrTheNewGameWhole) {
  ZingTest::TempFolder dir;
  DiskHost host(dir.Path() + "/");
  std::string solutions;
  const MapLevel level =
      LevelFromMap({"..........", ".a..A.....", "..........", ".b.B......"}, {{0x21, 0x31}, {0x23}}, &solutions);
  LevelFiles files;
  for (int i = 0; i < 12; ++i) files.Add(level.board, level.nodes, solutions);
  files.InstallInto(host);

  // Two games of different lengths: one with a path drawn, one fresh.
  Lintwick::GameScreen first(host, nullptr);
  first.mLevel = 3;
  first.mScore = 333;
  first.HandleMouseDown(Lintwick::CellCentreX(1), Lintwick::CellCentreY(1), 1);
  first.Tick();
  first.HandleMouseMove(Lintwick::CellCentreX(2), Lintwick::CellCentreY(1));
  first.Tick();
  Lintwick::GameScreen second(host, nullptr);
  second.mLevel = 5;
  second.mScore = 55555;
  const std::string a = BytesOf(first);
  const std::string b = BytesOf(second);
  ASSERT_NE(a.size(), b.size());
  first.SaveGame();

  std::mt19937 random(13);
  int interrupted = 0;  // kills that landed inside a save, leaving its temporary file
  for (int round = 0; round < 40; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      close(ready[0]);
      for (int save = 0;; ++save) {
        (save % 2 ? second : first).SaveGame();
        const char done = 1;
        if (write(ready[1], &done, 1) != 1) _exit(1);
      }
    }
    close(ready[1]);
    // Let it finish a few saves, then kill it in the middle of the next.
    const int saves = 1 + static_cast<int>(random() % 8);
    char done;
    for (int i = 0; i < saves; ++i) ASSERT_EQ(read(ready[0], &done, 1), 1);
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string onDisk = dir.Read("save/game.dat");
    ASSERT_TRUE(onDisk == a || onDisk == b) << "round " << round << ": " << onDisk.size() << " bytes";
    // The next writer removes a killed one's temporary, so look now.
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("save")))
      interrupted += entry.path().filename() != "game.dat";
  }
  EXPECT_GT(interrupted, 0);  // the test did kill inside saves

  Lintwick::GameScreen later(host, nullptr);
  later.ContinueGame();
  EXPECT_FALSE(later.SavedGameWasDamaged());
  EXPECT_TRUE(BytesOf(later) == a || BytesOf(later) == b);
}

}  // namespace
