#include <gtest/gtest.h>

#include <string>

#include "framework/app/DemoFile.h"
#include "tests/support/TempFolder.h"
#include "tools/demogen/DemoScript.h"
#include "tools/demogen/LevelSolutions.h"

namespace {

using Lintwick::DemoGen::DemoScript;
using Zing::DemoEventKind;

TEST(DemoGen, ScriptReadsBackAsThePlaybackReadsIt) {
  DemoScript script;
  script.LoadingCompletedAt(1);
  script.Wait(40);  // 16 updates and more are bridged by padding
  script.Click(100, 200);
  script.Mark("clicked");
  script.Wait(20);
  script.MoveTo(5, 6);
  Zing::DemoFileContents contents;
  ASSERT_EQ(Zing::ParseDemoFile(script.Finish("1.0.3", 100), "1.0.3", contents), "");
  EXPECT_EQ(contents.demoLength, 165);
  ASSERT_EQ(contents.markers.size(), 1u);
  EXPECT_EQ(contents.markers[0].update, 45);

  Zing::DemoEventReader reader(contents.events);
  const struct {
    DemoEventKind kind;
    int update;
  } expected[] = {{DemoEventKind::LoadingCompleted, 1},
                  {DemoEventKind::PointerTo, 41},
                  {DemoEventKind::Button, 43},
                  {DemoEventKind::Button, 45},
                  {DemoEventKind::PointerTo, 65}};
  Zing::DemoEvent event;
  for (const auto& want : expected) {
    ASSERT_TRUE(reader.Next(event));
    EXPECT_EQ(std::tuple(event.kind, event.update), std::tuple(want.kind, want.update));
  }
  EXPECT_EQ((std::pair{reader.Next(event), reader.GetStatus()}), std::pair(false, Zing::DemoEventReader::Status::End));
}

TEST(DemoGen, LevelFilesThatAreNotTheGamesAreRefused) {
  ZingTest::TempFolder folder;
  std::string nodes(1600, '\0');
  std::string solutions(10000, '\0');
  nodes.replace(0, 3, "\x02\x02\x00", 3);  // one pair: target (0,2), start (0,0)
  solutions.replace(0, 2, "\x01\x01", 2);  // the path between them: (0,1)
  const auto read = [&]() {
    folder.Write("level_n.dat", nodes);
    folder.Write("level_l.dat", solutions);
    std::string error;
    return Lintwick::DemoGen::ReadLevelSolutions(folder.Path(), error);
  };
  const auto levels = read();
  ASSERT_TRUE(levels);
  ASSERT_EQ((*levels)[0].size(), 1u);
  const auto& piece = (*levels)[0][0];
  EXPECT_EQ(std::tuple(piece.start, piece.target, piece.path), std::tuple(0x00, 0x02, std::vector<int>{0x01}));

  solutions[1] = '\xAA';  // a cell off the board
  EXPECT_FALSE(read());
  solutions[1] = '\x01';
  solutions[0] = '\x7F';  // a path longer than its record
  EXPECT_FALSE(read());
  solutions[0] = '\x01';
  nodes.pop_back();  // a file that is not whole
  EXPECT_FALSE(read());
}

}  // namespace
