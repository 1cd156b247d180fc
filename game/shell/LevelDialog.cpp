// The level chooser dialog. The miniature is read straight from the board and
// end-point level files, which are read anew each time the dialog opens; the
// chosen board starts with the saved game's score and hints.

#include "game/shell/LevelDialog.h"

#include <algorithm>
#include <string>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/Slider.h"
#include "framework/widget/WidgetManager.h"
#include "game/puzzle/Puzzle.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/GameConstants.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

using namespace ChooserLayout;

namespace {

constexpr int kDialogX = 187;
constexpr int kDialogY = 53;
constexpr int kDialogWidth = 266;
constexpr int kDialogHeight = 375;

// The controls' row and columns, from the dialog's top-left corner.
constexpr int kControlsY = 279;
constexpr int kSliderX = 51;
constexpr int kLeftX = 33;
constexpr int kRightX = 216;
constexpr int kArrowSize = 18;

// The number above the miniature's left end.
constexpr int kNumberX = 42;
constexpr int kNumberY = 91;
// The count of perfect boards ends where the miniature's right cells end.
constexpr int kPerfectRight = 224;
// The Watch button, centred between the slider and the dialog's own buttons.
constexpr int kWatchX = 83;
constexpr int kWatchY = 301;
constexpr int kWatchWidth = 100;
constexpr int kWatchHeight = 24;

// A settings value, or 0 when it cannot be read, kept to the boards there are.
int ReadLevelSetting(AppManager* app, const char* name) {
  int value = 0;
  if (!app->RegistryReadInteger(name, value)) value = 0;
  return std::clamp(value, 0, kLastLevel);
}

}  // namespace

LevelDialog::LevelDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_LEVEL_CHOOSER, true, TEXT_CHOOSE_BOARD_TITLE, "", "",
             BUTTONS_OK_CANCEL),
      mApp(app) {
  ApplyDialogLook(*this);
  mUnlockedLevel = ReadLevelSetting(app, kUnlockedLevelValue);
  mChosenLevel = ReadLevelSetting(app, kChosenLevelValue);
  mSlider = std::make_unique<Zing::Slider>(IMAGE_SCROLLBAR_TRACK, IMAGE_SCROLLBAR_THUMB, kSliderId, this);
  mSlider->SetValue(static_cast<double>(mChosenLevel) / kLastLevel);
  mSlider->keyStep = 1.0 / kLastLevel;
  mLeftButton = std::make_unique<Zing::DialogButton>(IMAGE_SCROLLBAR_BUTTON_LEFT, kLeftId, this);
  mRightButton = std::make_unique<Zing::DialogButton>(IMAGE_SCROLLBAR_BUTTON_RIGHT, kRightId, this);
  mWatchButton = std::make_unique<Zing::DialogButton>(IMAGE_DIALOG_BUTTON, kWatchId, this);
  mWatchButton->label = TEXT_WATCH;
  mWatchButton->SetFont(FONT_DEFAULT);
  mWatchButton->SetColor(Zing::ButtonWidget::COLOR_LABEL_HILITE, kHighlightColor);
  RefreshWatchButton();
  ReadLevelFile(kBoardFile, mBoardData);
  ReadLevelFile(kNodeFile, mNodeData);
  Resize(kDialogX, kDialogY, kDialogWidth, kDialogHeight);
}

LevelDialog::~LevelDialog() = default;

// A missing file leaves the miniature empty without a word; one that exists
// but cannot be read is reported.
void LevelDialog::ReadLevelFile(const char* path, Zing::Buffer& buffer) {
  if (mApp->FileExists(path) && !mApp->ReadBufferFromFile(path, buffer)) {
    mApp->Popup(std::string("Could not read contents of ") + path);
  }
}

// The controls are the dialog's siblings in the widget manager, so their
// rectangles are window coordinates.
void LevelDialog::Resize(int newX, int newY, int newWidth, int newHeight) {
  Dialog::Resize(newX, newY, newWidth, newHeight);
  if (!mSlider) return;
  const int trackWidth = IMAGE_SCROLLBAR_TRACK ? IMAGE_SCROLLBAR_TRACK->GetWidth() : 0;
  const int thumbHeight = IMAGE_SCROLLBAR_THUMB ? IMAGE_SCROLLBAR_THUMB->GetHeight() : 0;
  mSlider->Resize(newX + kSliderX, newY + kControlsY, trackWidth, thumbHeight);
  mLeftButton->Resize(newX + kLeftX, newY + kControlsY, kArrowSize, kArrowSize);
  mRightButton->Resize(newX + kRightX, newY + kControlsY, kArrowSize, kArrowSize);
  mWatchButton->Resize(newX + kWatchX, newY + kWatchY, kWatchWidth, kWatchHeight);
}

void LevelDialog::AddedToManager(Zing::WidgetManager* manager) {
  Dialog::AddedToManager(manager);
  manager->AddWidget(mSlider.get());
  manager->AddWidget(mLeftButton.get());
  manager->AddWidget(mRightButton.get());
  manager->AddWidget(mWatchButton.get());
}

void LevelDialog::RemovedFromManager(Zing::WidgetManager* manager) {
  manager->RemoveWidget(mSlider.get());
  manager->RemoveWidget(mLeftButton.get());
  manager->RemoveWidget(mRightButton.get());
  manager->RemoveWidget(mWatchButton.get());
  Dialog::RemovedFromManager(manager);
}

void LevelDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  DrawMiniature(g);
  g->SetColor(kTextColor);
  g->SetFont(FONT_SMALL_DIGITS);
  g->DrawString(FormatText(TEXT_LEVEL_NUMBER, mChosenLevel + 1), kNumberX, kNumberY);
  const std::string perfect = PerfectLabel();
  const int perfectWidth = FONT_SMALL_DIGITS ? FONT_SMALL_DIGITS->StringWidth(perfect) : 0;
  g->DrawString(perfect, kPerfectRight - perfectWidth, kNumberY);
}

// The board's cells with their shadows, then either the lock over a board not
// reached yet or the board's end points, one colour per link.
void LevelDialog::DrawMiniature(Zing::Graphics* g) const {
  DrawChooserCel(g, IMAGE_REPLAY_BKG, kMiniCentreX, kMiniCentreY, 0);
  const auto board = LevelRecord(mBoardData, mChosenLevel, kBoardRecordSize);
  const auto present = [&](int cx, int cy) {
    if (cx < 0 || cy < 0 || cx >= kBoardSize || cy >= kBoardSize) return false;
    const int row = board[static_cast<std::size_t>(2 * cy)] | (board[static_cast<std::size_t>(2 * cy + 1)] << 8);
    return ((row >> cx) & 1) != 0;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (int cx = 0; cx < kBoardSize; ++cx) {
      for (int cy = 0; cy < kBoardSize; ++cy) {
        if (!present(cx, cy)) continue;
        if (pass == 0 && CastsShadow(cx, cy, present)) DrawChooserCel(g, IMAGE_REPLAY_SHADOW, MiniX(cx), MiniY(cy), 0);
        if (pass == 1) DrawChooserCel(g, IMAGE_REPLAY_CELL, MiniX(cx), MiniY(cy), 0);
      }
    }
  }
  if (IsLocked()) {
    DrawChooserCel(g, IMAGE_REPLAY_LOCKED, kMiniCentreX, kMiniCentreY, 0);
    DrawMarks(g);
    return;
  }
  // A damaged record may claim more end points than it holds, or name cells
  // off the board; only what lies on the board is drawn.
  const auto nodes = LevelRecord(mNodeData, mChosenLevel, kNodeRecordSize);
  const int count = std::min<int>(nodes[0], std::min(kNodeRecordSize - 1, kMaxNodeCodes));
  for (int i = 0; i < count; ++i) {
    const int code = nodes[static_cast<std::size_t>(1 + i)];
    if (CellCodeX(code) < kBoardSize && CellCodeY(code) < kBoardSize)
      DrawChooserCel(g, IMAGE_REPLAY_NODES, MiniX(CellCodeX(code)), MiniY(CellCodeY(code)), i / 2);
  }
  DrawPlayback(g, nodes);
  DrawMarks(g);
}

void LevelDialog::SliderValueChanged(int sliderId, double value) {
  if (sliderId != kSliderId) return;
  // A hair added against rounding: a value set as k / 99 gives board k back.
  mChosenLevel = std::clamp(static_cast<int>(value * kLastLevel + 1e-9), 0, kLastLevel);
  RefreshWatchButton();
  MarkDirty();
}

std::vector<Zing::Widget*> LevelDialog::FocusOrder() {
  std::vector<Zing::Widget*> order{mSlider.get(), mWatchButton.get()};
  for (Zing::Widget* button : Dialog::FocusOrder()) order.push_back(button);
  return order;
}

void LevelDialog::Choose(int level) {
  mChosenLevel = std::clamp(level, 0, kLastLevel);
  mSlider->SetValue(static_cast<double>(mChosenLevel) / kLastLevel);
  RefreshWatchButton();
  MarkDirty();
}

void LevelDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  switch (buttonId) {
    case kLeftId:
      Choose(mChosenLevel - 1);
      break;
    case kRightId:
      Choose(mChosenLevel + 1);
      break;
    case kWatchId:
      StartWatching();
      break;
    case ID_OK:
      if (!IsLocked()) StoreAndClose(mChosenLevel);
      break;
    case ID_CANCEL:
      StoreAndClose(-1);
      break;
    default:
      break;
  }
}

// The choice is remembered even when the dialog is cancelled; a failed write
// is reported and the choice still takes effect for this run.
void LevelDialog::StoreAndClose(int level) {
  AppManager* app = mApp;  // this dialog is queued for deletion below
  if (!app->RegistryWriteInteger(kChosenLevelValue, mChosenLevel)) {
    app->Popup(std::string("Couldn't save \"") + kChosenLevelValue + "\" to registry");
  }
  app->KillDialog(this);
  app->LevelChooserClosed(level);
}

}  // namespace Lintwick
