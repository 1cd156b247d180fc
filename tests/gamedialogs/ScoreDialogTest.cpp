// The high-score dialog in the running game, with the name typed through key
// and character messages; and what a damaged high-score file turns into.

#include <filesystem>

#include "game/shell/ScoreDialog.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::ShellFixture;
using Zing::Platform::MessageCode;

struct ScoreDialogFlow : ShellFixture {
  // A game at its end hands its final score over; the dialog opens when it enters.
  ScoreDialog* FinishGame(int score) {
    app->StartGame(kStartNewGame);
    if (app->GetDialog(DIALOG_HELP) != nullptr) ClickFooter(DIALOG_HELP);  // the rules shown to a fresh game
    app->ShowHighScores(score);
    RunFor(20);
    return dynamic_cast<ScoreDialog*>(app->GetDialog(DIALOG_HIGH_SCORES));
  }

  std::string ScorePath() const { return home.Path() + "/data/save/score.dat"; }

  ScoreTable StoredScores() {
    Zing::Buffer buffer;
    ScoreTable table;
    table.entries = {};  // a missing file shows as an empty table
    if (app->ZingAppBase::ReadBufferFromFile(ScorePath(), buffer)) table.Read(buffer);
    return table;
  }

  void WriteTable(const ScoreTable& table) {
    Zing::Buffer buffer;
    table.Write(buffer);
    ASSERT_TRUE(app->ZingAppBase::WriteBufferToFile(ScorePath(), buffer));
  }

  void ReplaceName(const std::string& name) {
    for (int i = 0; i < 6; ++i) Key(Zing::KEYCODE_BACK);
    for (char c : name) Send(MessageCode::Char, 0, 0, static_cast<unsigned char>(c));  // typed text
  }
};

TEST_F(ScoreDialogFlow, ScoresEnterFirstMiddleLastOrNoPlace) {
  ReachStartScreen();
  EXPECT_EQ(FinishGame(100), nullptr);  // ties with the defaults: no place, nothing saved
  EXPECT_FALSE(std::filesystem::exists(ScorePath()));

  ScoreDialog* dialog = FinishGame(101);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetNewEntry(), 0);
  EXPECT_EQ(StoredScores().entries[0].name, "Wicker");  // saved at once with the default name
  EXPECT_EQ(app->GetWidgetManager()->focusWidget, dialog->GetNameField());
  ReplaceName("Ann\x02\xE9");  // a control byte is refused, an accented letter taken
  Key(Zing::KEYCODE_RETURN);
  EXPECT_EQ(dialog->GetNameField()->widgetManager, nullptr);
  EXPECT_EQ(StoredScores().entries[0].name, "Ann\xE9");
  ClickFooter(DIALOG_HIGH_SCORES);
  EXPECT_NE(app->mStartScreen->widgetManager, nullptr);  // the game ended

  WriteTable(ScoreTable{});
  dialog = FinishGame(300);
  ASSERT_NE(dialog, nullptr);
  ClickFooter(DIALOG_HIGH_SCORES);  // closing without Enter keeps the default name
  ScoreTable table;
  table.entries = {{{900, "A"}, {800, "B"}, {700, "C"}, {600, "D"}, {500, "E"}, {400, "F"}}};
  WriteTable(table);
  dialog = FinishGame(700);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetNewEntry(), 3);  // below the equal third entry
  EXPECT_EQ(dialog->GetNameField()->y, dialog->y + 68 + 30 * 3);
  ReplaceName("Mid");
  ClickFooter(DIALOG_HIGH_SCORES);  // the typed name is stored without Enter too
  EXPECT_EQ(StoredScores().entries[3].name, "Mid");
  EXPECT_EQ(StoredScores().entries[4].name, "D");

  dialog = FinishGame(501);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetNewEntry(), 5);
  ReplaceName("Zed");
  Key(Zing::KEYCODE_RETURN);
  ClickFooter(DIALOG_HIGH_SCORES);
  EXPECT_EQ(StoredScores().entries[5].name, "Zed");
  EXPECT_EQ(FinishGame(501), nullptr);  // equal to the last entry: no place
}

TEST_F(ScoreDialogFlow, TableOverOptionsAndDamagedFile) {
  ReachStartScreen();
  home.Write("data/save/score.dat", std::string("\x07\0\0\0\xFF\x7F", 6) + "Bo\x1b");  // a name running past the end
  app->MainMenuCommand(1);
  auto* options = dynamic_cast<OptionsDialog*>(app->GetDialog(DIALOG_OPTIONS));
  ASSERT_NE(options, nullptr);
  ClickCentre(options->GetButton(OptionsDialog::ID_HIGH_SCORES)->GetRect());
  auto* dialog = dynamic_cast<ScoreDialog*>(app->GetDialog(DIALOG_HIGH_SCORES));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetNameField()->widgetManager, nullptr);
  EXPECT_EQ(dialog->GetTable().entries[0].name, "Bo");
  RunFor(50);  // drawn with its damaged names
  ClickFooter(DIALOG_HIGH_SCORES);
  EXPECT_EQ(app->GetDialog(DIALOG_OPTIONS), options);
  EXPECT_NE(app->mShadow->widgetManager, nullptr);
  EXPECT_EQ(app->GetWidgetManager()->baseModalWidget, options);
}

TEST(ScoreTable, DamagedFilesGiveSaneTables) {
  const auto read = [](ScoreTable& table, const std::string& bytes) {
    Zing::Buffer buffer;
    buffer.SetData(bytes.data(), bytes.size());
    table.Read(buffer);
  };
  ScoreTable table;
  table.entries[0].score = 5;
  read(table, "");
  EXPECT_EQ(table.entries[0].score, 100);
  EXPECT_EQ(table.entries[5].name, "Wicker");

  // One whole record, then a name whose length runs past the end.
  read(table, std::string("\x0A\x00\x00\x00\x03\x00"
                          "Ann"
                          "\x05\x00\x00\x00\x40\x00"
                          "B\x01\x1b\x81z",
                          21));
  EXPECT_EQ(table.entries[0].name, "Ann");
  EXPECT_EQ(table.entries[1].score, 5);
  EXPECT_EQ(table.entries[1].name, "Bz");  // control, escape and undefined bytes dropped
  EXPECT_EQ(table.entries[5].score, 0);

  read(table, std::string("\x01\x00\x00\x00\x20\x00", 6) + std::string(32, 'n'));
  EXPECT_EQ(table.entries[0].name.size(), ScoreTable::kMaxNameLength);
}

}  // namespace
