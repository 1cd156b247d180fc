#pragma once

// The level chooser: any board up to the furthest one reached can be played
// again. It shows one board at a time as a miniature with its number; a
// slider and two arrow buttons step through all hundred boards, and boards not
// reached yet are covered by a lock and cannot be started. The choice is
// remembered in the settings.

#include <memory>

#include "framework/app/Buffer.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/SliderListener.h"

namespace Zing {
class Slider;
}

namespace Lintwick {

class AppManager;

class LevelDialog : public Zing::Dialog, public Zing::SliderListener {
 public:
  // Ids of the slider and the arrow buttons.
  static constexpr int kSliderId = 0;
  static constexpr int kLeftId = 1;
  static constexpr int kRightId = 2;

  explicit LevelDialog(AppManager* app);
  ~LevelDialog() override;

  using Dialog::Resize;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void Draw(Zing::Graphics* g) override;
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void ButtonDepress(int buttonId) override;
  void SliderValueChanged(int sliderId, double value) override;
  // The slider (one board per arrow key), then ok and cancel.
  std::vector<Zing::Widget*> FocusOrder() override;

  int GetChosenLevel() const { return mChosenLevel; }
  int GetUnlockedLevel() const { return mUnlockedLevel; }
  bool IsLocked() const { return mChosenLevel > mUnlockedLevel; }
  const Zing::Slider& GetSlider() const { return *mSlider; }

 private:
  void Choose(int level);
  void StoreAndClose(int level);
  void ReadLevelFile(const char* path, Zing::Buffer& buffer);
  void DrawMiniature(Zing::Graphics* g) const;

  int mChosenLevel = 0;
  int mUnlockedLevel = 0;
  std::unique_ptr<Zing::Slider> mSlider;
  std::unique_ptr<Zing::DialogButton> mLeftButton;
  std::unique_ptr<Zing::DialogButton> mRightButton;
  AppManager* mApp;
  Zing::Buffer mBoardData;
  Zing::Buffer mNodeData;
};

}  // namespace Lintwick
