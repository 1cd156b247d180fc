#pragma once

// The game's settings page and the hub of its secondary dialogs: music and
// effect volumes (applied while the sliders move), full screen, custom
// cursors and hardware acceleration (applied by DONE), and buttons that open
// the high scores, the help page, the language chooser and the about box
// over it.

#include <array>
#include <memory>

#include "framework/widget/Checkbox.h"
#include "framework/widget/CheckboxListener.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/DialogButton.h"
#include "framework/widget/Slider.h"
#include "framework/widget/SliderListener.h"

namespace Lintwick {

class AppManager;

class OptionsDialog : public Zing::Dialog, public Zing::SliderListener, public Zing::CheckboxListener {
 public:
  // Control ids.
  enum {
    ID_HIGH_SCORES = 0,
    ID_HELP = 1,
    ID_LANGUAGE = 2,
    ID_ABOUT = 3,
    ID_MUSIC_SLIDER = 4,
    ID_EFFECTS_SLIDER = 5,
    ID_FULL_SCREEN = 6,
    ID_CUSTOM_CURSORS = 7,
    ID_ACCELERATION = 8,
  };
  static constexpr int kButtonCount = 4;

  explicit OptionsDialog(AppManager* app);
  ~OptionsDialog() override;

  // Takes the title, the buttons' captions and DONE from the current language.
  void Relabel();

  using Dialog::Resize;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void Draw(Zing::Graphics* g) override;
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  using Dialog::ButtonPress;
  void ButtonDepress(int buttonId) override;
  void SliderValueChanged(int sliderId, double value) override;
  // Sliders, boxes and buttons top to bottom, then the closing button.
  std::vector<Zing::Widget*> FocusOrder() override;
  void CheckboxChecked(int checkboxId, bool checked) override;

  Zing::Slider* GetMusicSlider() { return mMusicSlider.get(); }
  Zing::Slider* GetEffectsSlider() { return mEffectsSlider.get(); }
  Zing::Checkbox* GetFullScreenBox() { return mFullScreenBox.get(); }
  Zing::Checkbox* GetCustomCursorsBox() { return mCustomCursorsBox.get(); }
  Zing::Checkbox* GetAccelerationBox() { return mAccelerationBox.get(); }
  Zing::DialogButton* GetButton(int buttonId) { return mButtons[static_cast<std::size_t>(buttonId)].get(); }

 private:
  void PlaceChildren();
  void ShowWarning(const char* header, const char* text);
  void OpenSecondary(int buttonId);
  void ApplyAndClose();

  std::unique_ptr<Zing::Slider> mMusicSlider;
  std::unique_ptr<Zing::Slider> mEffectsSlider;
  std::array<std::unique_ptr<Zing::DialogButton>, kButtonCount> mButtons;
  AppManager* mApp;
  std::unique_ptr<Zing::Checkbox> mFullScreenBox;
  std::unique_ptr<Zing::Checkbox> mCustomCursorsBox;
  std::unique_ptr<Zing::Checkbox> mAccelerationBox;
};

}  // namespace Lintwick
