// The high-score dialog: the table read from "save\score.dat" each time the
// dialog opens, a new entry named through an edit field on its own row, and
// the file written when the entry is made and again when it is named.

#include "game/shell/ScoreDialog.h"

#include <string>

#include "framework/app/Buffer.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/WidgetManager.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/GameConstants.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kNameFieldId = 1;
constexpr Zing::Rect kDialogRect{180, 75, 280, 331};
constexpr int kRowLeft = 33;  // names start here; scores end this far from the right edge
constexpr int kRowTop = 68;   // the first row's top, below the header
constexpr int kRowSpacing = 30;
constexpr int kNameFieldWidth = 104;
constexpr int kNameFieldHeight = 26;
constexpr int kNameFieldColors[Zing::EditWidget::NUM_COLORS][3] = {
    {17, 66, 61}, {13, 47, 44}, {219, 248, 255}, {238, 154, 83}, {8, 41, 38}};

std::string ScoreFilePath(AppManager* app) { return app->GetAppDataFolder() + kHighScoreFile; }

}  // namespace

ScoreDialog::ScoreDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_HIGH_SCORES, true, TEXT_HIGH_SCORES_TITLE, "",
             TEXT_HIGH_SCORES_CLOSE, BUTTONS_FOOTER),
      mApp(app),
      mNameField(std::make_unique<Zing::EditWidget>(kNameFieldId, this)) {
  ApplyDialogLook(*this);
  mNameField->SetFont(FONT_DEFAULT);
  mNameField->maxChars = static_cast<int>(ScoreTable::kMaxNameLength);
  mNameField->SetColors(kNameFieldColors, Zing::EditWidget::NUM_COLORS);
  Resize(kDialogRect);
  LoadScores();
}

ScoreDialog::~ScoreDialog() {
  // Leave the tree while the name field still exists, so it leaves with the dialog.
  if (parent != nullptr) parent->RemoveWidget(this);
}

void ScoreDialog::LoadScores() {
  Zing::Buffer buffer;
  const std::string path = ScoreFilePath(mApp);
  if (mApp->ZingAppBase::FileExists(path) && !mApp->ZingAppBase::ReadBufferFromFile(path, buffer)) {
    mApp->Popup(std::string("Could not read contents of ") + kHighScoreFile);
  }
  mTable.Read(buffer);
}

void ScoreDialog::SaveScores() {
  Zing::Buffer buffer;
  mTable.Write(buffer);
  mApp->ZingAppBase::WriteBufferToFile(ScoreFilePath(mApp), buffer);  // a failure is not reported
}

int ScoreDialog::InsertScore(int score) {
  mNewEntry = mTable.Insert(score, ScoreTable::kDefaultName);
  if (mNewEntry < 0) return -1;
  mNameField->SetText(ScoreTable::kDefaultName);
  Resize(kDialogRect);
  mApp->ShowShadow();
  mFromGameEnd = true;
  mApp->AddDialog(DIALOG_HIGH_SCORES, this);
  SaveScores();
  return mNewEntry;
}

void ScoreDialog::Resize(int newX, int newY, int newWidth, int newHeight) {
  Dialog::Resize(newX, newY, newWidth, newHeight);
  if (mNewEntry < 0) return;
  mNameField->Resize(newX + kRowLeft, newY + kRowTop + kRowSpacing * mNewEntry, kNameFieldWidth, kNameFieldHeight);
}

void ScoreDialog::AddedToManager(Zing::WidgetManager* manager) {
  Dialog::AddedToManager(manager);
  if (mNewEntry < 0) return;
  manager->AddWidget(mNameField.get());
}

std::vector<Zing::Widget*> ScoreDialog::FocusOrder() {
  std::vector<Zing::Widget*> order;
  if (mNewEntry >= 0) order.push_back(mNameField.get());
  for (Zing::Widget* button : Dialog::FocusOrder()) order.push_back(button);
  return order;
}

void ScoreDialog::RemovedFromManager(Zing::WidgetManager* manager) {
  Dialog::RemovedFromManager(manager);
  if (mNameField->widgetManager != nullptr) manager->RemoveWidget(mNameField.get());
}

void ScoreDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  if (FONT_DEFAULT == nullptr) return;
  g->SetFont(FONT_DEFAULT);
  g->SetColor(kTextColor);
  for (int row = 0; row < ScoreTable::kPlaces; ++row) {
    const ScoreEntry& entry = mTable.entries[static_cast<std::size_t>(row)];
    const int baseline = FONT_DEFAULT->GetHeight() + kRowTop + kRowSpacing * row;
    // Names are drawn as they stand: a '^' in a name is not a colour code.
    g->DrawString(entry.name, kRowLeft, baseline);
    const std::string score = std::to_string(entry.score);
    g->DrawString(score, width - kRowLeft - FONT_DEFAULT->StringWidth(score), baseline);
  }
}

void ScoreDialog::StoreTypedName() {
  mTable.entries[static_cast<std::size_t>(mNewEntry)].name = SanitizeScoreName(mNameField->text);
  SaveScores();
}

void ScoreDialog::EditWidgetText(int, const std::string&) {
  if (mNewEntry < 0) return;
  StoreTypedName();
  mNewEntry = -1;
  Zing::WidgetManager* manager = mNameField->widgetManager;
  if (manager == nullptr) return;
  manager->RemoveWidget(mNameField.get());
  // The name is in: the keys go on to the closing button.
  if (yesButton != nullptr) {
    yesButton->tabNext = yesButton->tabPrev = nullptr;
    manager->SetFocus(yesButton.get());
  }
}

void ScoreDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  if (buttonId != ID_FOOTER) return;
  // Still this dialog's to finish: deletion waits until the handler returns.
  mApp->KillDialog(this);
  if (mFromGameEnd) {
    mFromGameEnd = false;
    mApp->HideShadow();
    mApp->EndGame();
  }
  if (mNewEntry >= 0) StoreTypedName();
}

}  // namespace Lintwick
