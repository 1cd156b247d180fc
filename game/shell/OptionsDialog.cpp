// The options dialog. Its controls are top-level widgets in window
// coordinates, added and removed with the dialog and placed from the layout
// below whenever the dialog moves. Volumes change while a slider moves; the
// screen and cursor boxes take effect only when DONE is pressed, after the
// choices the machine cannot honour have been refused with a message.

#include "game/shell/OptionsDialog.h"

#include <algorithm>
#include <utility>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widget/WidgetManager.h"
#include "game/shell/AboutDialog.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/HelpDialog.h"
#include "game/shell/LanguageDialog.h"
#include "game/shell/Resources.h"
#include "game/shell/ScoreDialog.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

struct Place {
  int x;
  int y;
};

constexpr Zing::Rect kDialogRect{167, 49, 306, 382};
constexpr Place kMusicSlider{140, 69};
constexpr Place kEffectsSlider{140, 98};
constexpr Place kFullScreenBox{20, 140};
constexpr Place kCustomCursorsBox{141, 140};
constexpr Place kAccelerationBox{20, 170};
constexpr Zing::Rect kButtonRects[OptionsDialog::kButtonCount] = {
    {155, 220, 132, 30}, {18, 220, 132, 30}, {18, 259, 269, 30}, {18, 298, 269, 30}};

struct Label {
  const std::string* text;
  Place pen;
};
const Label kLabels[] = {{&TEXT_MUSIC_VOLUME, {20, 85}},
                         {&TEXT_EFFECTS_VOLUME, {20, 114}},
                         {&TEXT_FULL_SCREEN, {48, 157}},
                         {&TEXT_CUSTOM_CURSORS, {169, 157}},
                         {&TEXT_HARDWARE_ACCELERATION, {48, 187}}};

// The screen warnings are English in every language.
constexpr const char* kNoWindowedHeader = "No Windowed Mode";
constexpr const char* kNoWindowedText =
    "Windowed mode is only available if your desktop is running in either 16 bit or 32 bit color mode, which it "
    "is not.";
constexpr const char* kNotSupportedHeader = "Not Supported";
constexpr const char* kNotSupportedText =
    "Hardware acceleration can not be enabled on this computer. Your video card does not meet the minimum "
    "requirements for this game.";
constexpr const char* kWarningHeader = "Warning";
constexpr const char* kWarningText =
    "Your video card may not fully support this feature. If you experience slower performance, please disable "
    "Hardware Acceleration.";
constexpr const char* kWarningFooter = "OK";

std::unique_ptr<Zing::Checkbox> MakeBox(int id, Zing::CheckboxListener* listener) {
  auto box = std::make_unique<Zing::Checkbox>(id, listener);
  if (IMAGE_CHECKBOX == nullptr) return box;
  // The left half of the image is the unchecked look, the right half the checked one.
  const int half = IMAGE_CHECKBOX->GetWidth() / 2;
  const int boxHeight = IMAGE_CHECKBOX->GetHeight();
  box->uncheckedImage = IMAGE_CHECKBOX;
  box->uncheckedRect = Zing::Rect(0, 0, half, boxHeight);
  box->checkedRect = Zing::Rect(half, 0, half, boxHeight);
  box->Resize(0, 0, half, boxHeight);
  return box;
}

}  // namespace

OptionsDialog::OptionsDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_OPTIONS, true, TEXT_OPTIONS_TITLE, "", TEXT_DONE,
             BUTTONS_FOOTER),
      mMusicSlider(std::make_unique<Zing::Slider>(IMAGE_SLIDER_TRACK, IMAGE_SLIDER_THUMB, ID_MUSIC_SLIDER, this)),
      mEffectsSlider(std::make_unique<Zing::Slider>(IMAGE_SLIDER_TRACK, IMAGE_SLIDER_THUMB, ID_EFFECTS_SLIDER, this)),
      mApp(app),
      mFullScreenBox(MakeBox(ID_FULL_SCREEN, this)),
      mCustomCursorsBox(MakeBox(ID_CUSTOM_CURSORS, this)),
      mAccelerationBox(MakeBox(ID_ACCELERATION, this)) {
  ApplyDialogLook(*this);
  mMusicSlider->SetValue(app->GetMusicVolume());
  mEffectsSlider->SetValue(app->GetSfxVolume());
  for (int index = 0; index < kButtonCount; ++index) {
    auto button = std::make_unique<Zing::DialogButton>(IMAGE_DIALOG_BUTTON, index, this);
    button->SetFont(FONT_DEFAULT);
    button->SetColor(Zing::ButtonWidget::COLOR_LABEL, kTextColor);
    button->SetColor(Zing::ButtonWidget::COLOR_LABEL_HILITE, kHighlightColor);
    mButtons[static_cast<std::size_t>(index)] = std::move(button);
  }
  Relabel();
  Resize(kDialogRect);
}

OptionsDialog::~OptionsDialog() {
  // Leave the tree while the controls still exist, so they leave with the dialog.
  if (parent != nullptr) parent->RemoveWidget(this);
}

void OptionsDialog::Relabel() {
  dialogHeader = TEXT_OPTIONS_TITLE;
  dialogFooter = TEXT_DONE;
  if (yesButton != nullptr) {
    yesButton->label = TEXT_DONE;
    yesButton->MarkDirty();
  }
  for (int index = 0; index < kButtonCount; ++index) {
    mButtons[static_cast<std::size_t>(index)]->label = *TEXT_OPTIONS_BUTTONS[index];
    mButtons[static_cast<std::size_t>(index)]->MarkDirty();
  }
  MarkDirty();
}

void OptionsDialog::AddedToManager(Zing::WidgetManager* manager) {
  Dialog::AddedToManager(manager);
  manager->AddWidget(mMusicSlider.get());
  manager->AddWidget(mEffectsSlider.get());
  mFullScreenBox->SetChecked(!mApp->windowed, false);
  mCustomCursorsBox->SetChecked(mApp->customCursorsEnabled, false);
  mAccelerationBox->SetChecked(mApp->IsHardwareAccelerated(), false);
  for (Zing::Checkbox* box : {mFullScreenBox.get(), mCustomCursorsBox.get(), mAccelerationBox.get()}) {
    manager->AddWidget(box);
  }
  for (auto& button : mButtons) manager->AddWidget(button.get());
}

void OptionsDialog::RemovedFromManager(Zing::WidgetManager* manager) {
  Dialog::RemovedFromManager(manager);
  for (Zing::Widget* child :
       {static_cast<Zing::Widget*>(mMusicSlider.get()), static_cast<Zing::Widget*>(mEffectsSlider.get()),
        static_cast<Zing::Widget*>(mFullScreenBox.get()), static_cast<Zing::Widget*>(mCustomCursorsBox.get()),
        static_cast<Zing::Widget*>(mAccelerationBox.get())}) {
    if (child->widgetManager != nullptr) manager->RemoveWidget(child);
  }
  for (auto& button : mButtons) {
    if (button->widgetManager != nullptr) manager->RemoveWidget(button.get());
  }
}

void OptionsDialog::Resize(int newX, int newY, int newWidth, int newHeight) {
  Dialog::Resize(newX, newY, newWidth, newHeight);
  PlaceChildren();
}

void OptionsDialog::PlaceChildren() {
  const int trackWidth = IMAGE_SLIDER_TRACK != nullptr ? IMAGE_SLIDER_TRACK->GetWidth() : 0;
  const int thumbHeight = IMAGE_SLIDER_THUMB != nullptr ? IMAGE_SLIDER_THUMB->GetHeight() : 0;
  mMusicSlider->Resize(x + kMusicSlider.x, y + kMusicSlider.y, trackWidth, thumbHeight);
  mEffectsSlider->Resize(x + kEffectsSlider.x, y + kEffectsSlider.y, trackWidth, thumbHeight);
  const std::pair<Zing::Checkbox*, Place> boxes[] = {{mFullScreenBox.get(), kFullScreenBox},
                                                     {mCustomCursorsBox.get(), kCustomCursorsBox},
                                                     {mAccelerationBox.get(), kAccelerationBox}};
  for (const auto& [box, place] : boxes) box->Resize(x + place.x, y + place.y, box->width, box->height);
  for (int index = 0; index < kButtonCount; ++index) {
    const Zing::Rect& r = kButtonRects[index];
    mButtons[static_cast<std::size_t>(index)]->Resize(x + r.x, y + r.y, r.w, r.h);
  }
}

void OptionsDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  if (FONT_DEFAULT == nullptr) return;
  g->SetFont(FONT_DEFAULT);
  g->SetColor(kTextColor);
  for (const Label& label : kLabels) g->DrawString(*label.text, label.pen.x, label.pen.y);
}

void OptionsDialog::SliderValueChanged(int sliderId, double value) {
  if (sliderId == ID_MUSIC_SLIDER) mApp->SetMusicVolume(value);
  if (sliderId == ID_EFFECTS_SLIDER) mApp->SetSfxVolume(value);
}

void OptionsDialog::CheckboxChecked(int checkboxId, bool checked) {
  if (checkboxId == ID_FULL_SCREEN && !checked && mApp->forceFullscreen) {
    ShowWarning(kNoWindowedHeader, kNoWindowedText);
    mFullScreenBox->SetChecked(true, false);
    return;
  }
  if (checkboxId != ID_ACCELERATION || !checked) return;
  if (!mApp->Is3DSupported()) {
    mAccelerationBox->SetChecked(false, false);
    ShowWarning(kNotSupportedHeader, kNotSupportedText);
  } else if (!mApp->Is3DRecommended()) {
    ShowWarning(kWarningHeader, kWarningText);
  }
}

void OptionsDialog::ShowWarning(const char* header, const char* text) {
  mApp->DoDialog(DIALOG_MESSAGE, true, header, text, kWarningFooter, BUTTONS_FOOTER);
}

void OptionsDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  if (buttonId == ID_FOOTER) {
    ApplyAndClose();
  } else if (buttonId >= 0 && buttonId < kButtonCount) {
    mApp->PlaySample(SOUND_GUI_CLICK);
    OpenSecondary(buttonId);
  }
}

std::vector<Zing::Widget*> OptionsDialog::FocusOrder() {
  std::vector<Zing::Widget*> order{mMusicSlider.get(), mEffectsSlider.get(), mFullScreenBox.get(),
                                   mCustomCursorsBox.get(), mAccelerationBox.get()};
  // The buttons as they stand, left to right and top to bottom.
  std::vector<Zing::Widget*> buttons;
  for (auto& button : mButtons) buttons.push_back(button.get());
  std::stable_sort(buttons.begin(), buttons.end(), [](const Zing::Widget* a, const Zing::Widget* b) {
    return std::pair(a->y, a->x) < std::pair(b->y, b->x);
  });
  order.insert(order.end(), buttons.begin(), buttons.end());
  for (Zing::Widget* button : Dialog::FocusOrder()) order.push_back(button);
  return order;
}

void OptionsDialog::ApplyAndClose() {
  AppManager* app = mApp;  // this dialog is queued for deletion below
  app->SwitchScreenMode(!mFullScreenBox->IsChecked(), mAccelerationBox->IsChecked(), false);
  app->EnableCustomCursors(mCustomCursorsBox->IsChecked());
  app->KillDialog(this);
  app->OptionsClosed();
}

void OptionsDialog::OpenSecondary(int buttonId) {
  switch (buttonId) {
    case ID_HIGH_SCORES:
      mApp->AddDialog(DIALOG_HIGH_SCORES, new ScoreDialog(mApp));
      break;
    case ID_HELP:
      mApp->AddDialog(DIALOG_HELP, new HelpDialog(mApp));
      break;
    case ID_LANGUAGE:
      mApp->AddDialog(DIALOG_LANGUAGE, new LanguageDialog(mApp));
      break;
    case ID_ABOUT:
      mApp->AddDialog(DIALOG_ABOUT, new AboutDialog(mApp));
      break;
    default:
      break;
  }
}

}  // namespace Lintwick
