// The daily board in the shell: the start screen's way in, its own play
// screen beside the game's (so the running game is neither saved over nor
// lost), the record of solved days and the message when the board is solved.

#include <string>
#include <string_view>

#include "framework/widget/Dialog.h"
#include "framework/widget/WidgetManager.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/AppManager.h"
#include "game/shell/DailyBoardFiles.h"
#include "game/shell/DateText.h"
#include "game/shell/DialogIds.h"
#include "game/shell/MainMenu.h"
#include "game/shell/StartScreen.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

// The demo marker that carries the date of the daily board opened at its
// update, so that a recording plays back the same board on any later day.
constexpr const char* kDailyMarker = "daily ";

}  // namespace

// Today, or while a demo plays, the date of the board it recorded.
CalendarDate AppManager::DailyBoardDate() {
  if (playingDemo) {
    for (const Zing::DemoMarker& marker : demoMarkers) {
      if (marker.update != updateCount || !marker.name.starts_with(kDailyMarker)) continue;
      if (const auto date = ParseDate(std::string_view(marker.name).substr(std::string_view(kDailyMarker).size()))) {
        return *date;
      }
    }
  }
  const CalendarDate today = LocalToday();
  AddDemoMarker(kDailyMarker + FormatDate(today));
  return today;
}

void AppManager::StartDailyBoard() {
  const CalendarDate today = DailyBoardDate();
  const auto records = DailyRecordsFor(today);
  if (!records) {
    ShowDailyMessage(TEXT_DAILY_NONE);
    return;
  }
  Zing::WidgetManager* manager = GetWidgetManager();
  if (mStartScreen != nullptr && mStartScreen->widgetManager != nullptr) manager->RemoveWidget(mStartScreen);
  if (mDailyScreen == nullptr) {
    mDailyScreen = new GameScreen(*this, mMainMenu);
    mDailyScreen->Resize(kGameScreenX, kGameScreenY, kGameScreenWidth, kGameScreenHeight);
  }
  mDailyDate = today;
  mDailyScreen->NewSingleBoardGame(records->board, records->nodes, records->solution,
                                   DailyLevelIndex(records->weekday));
  mMainMenu->SetHintCount(mDailyScreen->GetHintsLeft());
  manager->AddWidget(mDailyScreen);
  SetUpFocus();
}

const DailyRecord& AppManager::GetDailyRecord() const { return mProgress.Get().daily; }

bool AppManager::IsDailyBoardShown() const { return mDailyScreen != nullptr && mDailyScreen->widgetManager != nullptr; }

std::string AppManager::DailyDateText() const { return DateText(mDailyDate, LanguageOfLocale(mLocale)); }

// The board of mDailyDate is solved: the day goes into the record (the
// board's own date, should midnight have passed while it was played), the
// play screen gives way to the start screen and the message tells how the
// streak stands.
void AppManager::BoardSolved(int /*score*/, bool filled) {
  mProgress.RecordDaily(DayNumber(mDailyDate), filled);
  const DailyRecord& record = GetDailyRecord();
  EndGame();
  const std::int64_t today = DayNumber(LocalToday());
  std::string lines = filled ? TEXT_DAILY_PERFECT : TEXT_DAILY_SOLVED;
  lines += "\n\n" + FormatText(TEXT_DAILY_STREAK, CurrentStreak(record, today));
  lines += "\n" + FormatText(TEXT_DAILY_BEST, record.best);
  ShowDailyMessage(lines);
}

void AppManager::ShowDailyMessage(const std::string& lines) {
  ShowShadow();
  DoDialog(DIALOG_DAILY, true, TEXT_DAILY_TITLE, lines, TEXT_HELP_CLOSE, Zing::Dialog::BUTTONS_FOOTER);
}

}  // namespace Lintwick
