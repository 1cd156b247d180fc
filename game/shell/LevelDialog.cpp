// The level chooser dialog. The miniature is read straight from the board and
// end-point level files, which are read anew each time the dialog opens; the
// chosen board starts with the saved game's score and hints.

#include "game/shell/LevelDialog.h"

#include <algorithm>
#include <string>

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

// The miniature: 20-pixel cells, cell (0, 0) centred at (43, 86), on a
// background centred at (133, 176); the number above its left end.
constexpr int kMiniLeft = 43;
constexpr int kMiniTop = 86;
constexpr int kMiniCell = 20;
constexpr int kMiniCentreX = 133;
constexpr int kMiniCentreY = 176;
constexpr int kNumberX = 42;
constexpr int kNumberY = 91;

void DrawCentred(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int cel) {
  if (image) g->DrawImageCel(image, cx - image->GetCelWidth() / 2, cy - image->GetCelHeight() / 2, cel);
}

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
}

void LevelDialog::AddedToManager(Zing::WidgetManager* manager) {
  Dialog::AddedToManager(manager);
  manager->AddWidget(mSlider.get());
  manager->AddWidget(mLeftButton.get());
  manager->AddWidget(mRightButton.get());
}

void LevelDialog::RemovedFromManager(Zing::WidgetManager* manager) {
  manager->RemoveWidget(mSlider.get());
  manager->RemoveWidget(mLeftButton.get());
  manager->RemoveWidget(mRightButton.get());
  Dialog::RemovedFromManager(manager);
}

void LevelDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  DrawMiniature(g);
  g->SetColor(kTextColor);
  g->SetFont(FONT_SMALL_DIGITS);
  g->DrawString(FormatText(TEXT_LEVEL_NUMBER, mChosenLevel + 1), kNumberX, kNumberY);
}

// The board's cells with their shadows, then either the lock over a board not
// reached yet or the board's end points, one colour per link.
void LevelDialog::DrawMiniature(Zing::Graphics* g) const {
  DrawCentred(g, IMAGE_REPLAY_BKG, kMiniCentreX, kMiniCentreY, 0);
  const auto board = LevelRecord(mBoardData, mChosenLevel, kBoardRecordSize);
  const auto present = [&](int cx, int cy) {
    if (cx < 0 || cy < 0 || cx >= kBoardSize || cy >= kBoardSize) return false;
    const int row = board[static_cast<std::size_t>(2 * cy)] | (board[static_cast<std::size_t>(2 * cy + 1)] << 8);
    return ((row >> cx) & 1) != 0;
  };
  const auto centreX = [](int cx) { return kMiniLeft + kMiniCell * cx; };
  const auto centreY = [](int cy) { return kMiniTop + kMiniCell * cy; };
  for (int pass = 0; pass < 2; ++pass) {
    for (int cx = 0; cx < kBoardSize; ++cx) {
      for (int cy = 0; cy < kBoardSize; ++cy) {
        if (!present(cx, cy)) continue;
        if (pass == 0 && CastsShadow(cx, cy, present)) DrawCentred(g, IMAGE_REPLAY_SHADOW, centreX(cx), centreY(cy), 0);
        if (pass == 1) DrawCentred(g, IMAGE_REPLAY_CELL, centreX(cx), centreY(cy), 0);
      }
    }
  }
  if (IsLocked()) {
    DrawCentred(g, IMAGE_REPLAY_LOCKED, kMiniCentreX, kMiniCentreY, 0);
    return;
  }
  // A damaged record may claim more end points than it holds, or name cells
  // off the board; only what lies on the board is drawn.
  const auto nodes = LevelRecord(mNodeData, mChosenLevel, kNodeRecordSize);
  const int count = std::min<int>(nodes[0], std::min(kNodeRecordSize - 1, kMaxNodeCodes));
  for (int i = 0; i < count; ++i) {
    const int code = nodes[static_cast<std::size_t>(1 + i)];
    if (CellCodeX(code) < kBoardSize && CellCodeY(code) < kBoardSize)
      DrawCentred(g, IMAGE_REPLAY_NODES, centreX(CellCodeX(code)), centreY(CellCodeY(code)), i / 2);
  }
}

void LevelDialog::SliderValueChanged(int sliderId, double value) {
  if (sliderId != kSliderId) return;
  // A hair added against rounding: a value set as k / 99 gives board k back.
  mChosenLevel = std::clamp(static_cast<int>(value * kLastLevel + 1e-9), 0, kLastLevel);
  MarkDirty();
}

std::vector<Zing::Widget*> LevelDialog::FocusOrder() {
  std::vector<Zing::Widget*> order{mSlider.get()};
  for (Zing::Widget* button : Dialog::FocusOrder()) order.push_back(button);
  return order;
}

void LevelDialog::Choose(int level) {
  mChosenLevel = std::clamp(level, 0, kLastLevel);
  mSlider->SetValue(static_cast<double>(mChosenLevel) / kLastLevel);
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
