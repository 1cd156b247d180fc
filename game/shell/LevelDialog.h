#pragma once

// The level chooser: any board up to the furthest one reached can be played
// again. It shows one board at a time as a miniature with its number; a
// slider and two arrow buttons step through all hundred boards, and boards not
// reached yet are covered by a lock and cannot be started. The choice is
// remembered in the settings.
//
// It also shows the player's progress: a tick on a board once solved, a star
// once solved perfectly, how many boards are perfect, and the Watch button
// (or a click on the miniature), which plays the best solve of the shown
// board back on the miniature.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/Buffer.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/SliderListener.h"
#include "game/shell/SolvePlayback.h"

namespace Zing {
class Graphics;
class Image;
class Slider;
}  // namespace Zing

namespace Lintwick {

class AppManager;

// Where the chooser draws its miniature, in the dialog's coordinates.
namespace ChooserLayout {
// 20-pixel cells, cell (0, 0) centred at (43, 86), on a background of 206
// pixels square centred at (133, 176).
inline constexpr int kMiniLeft = 43;
inline constexpr int kMiniTop = 86;
inline constexpr int kMiniCell = 20;
inline constexpr int kMiniCentreX = 133;
inline constexpr int kMiniCentreY = 176;
inline constexpr int kMiniHalf = 103;
constexpr int MiniX(int cx) { return kMiniLeft + kMiniCell * cx; }
constexpr int MiniY(int cy) { return kMiniTop + kMiniCell * cy; }
}  // namespace ChooserLayout

// Draws a cel of an image centred on a point (nothing without the image).
void DrawChooserCel(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int cel, int row = 0);

class LevelDialog : public Zing::Dialog, public Zing::SliderListener {
 public:
  // Ids of the slider and the arrow buttons.
  static constexpr int kSliderId = 0;
  static constexpr int kLeftId = 1;
  static constexpr int kRightId = 2;
  static constexpr int kWatchId = 3;

  explicit LevelDialog(AppManager* app);
  ~LevelDialog() override;

  using Dialog::Resize;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void Draw(Zing::Graphics* g) override;
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void ButtonDepress(int buttonId) override;
  void SliderValueChanged(int sliderId, double value) override;
  void Update() override;
  using Dialog::MouseDown;
  void MouseDown(int px, int py, int button, int clickCount) override;
  // The slider (one board per arrow key), Watch, then ok and cancel.
  std::vector<Zing::Widget*> FocusOrder() override;

  int GetChosenLevel() const { return mChosenLevel; }
  int GetUnlockedLevel() const { return mUnlockedLevel; }
  bool IsLocked() const { return mChosenLevel > mUnlockedLevel; }
  const Zing::Slider& GetSlider() const { return *mSlider; }
  Zing::DialogButton& GetWatchButton() const { return *mWatchButton; }
  const SolvePlayback& GetPlayback() const { return mPlayback; }
  // The shown board has a solve to watch.
  bool CanWatch() const;
  // What the progress line beside the board number says.
  std::string PerfectLabel() const;

 private:
  void Choose(int level);
  void StoreAndClose(int level);
  void ReadLevelFile(const char* path, Zing::Buffer& buffer);
  void DrawMiniature(Zing::Graphics* g) const;
  void StartWatching();
  void RefreshWatchButton();
  void DrawMarks(Zing::Graphics* g) const;
  void DrawPlayback(Zing::Graphics* g, const std::vector<std::uint8_t>& nodes) const;

  int mChosenLevel = 0;
  int mUnlockedLevel = 0;
  std::unique_ptr<Zing::Slider> mSlider;
  std::unique_ptr<Zing::DialogButton> mLeftButton;
  std::unique_ptr<Zing::DialogButton> mRightButton;
  std::unique_ptr<Zing::DialogButton> mWatchButton;
  AppManager* mApp;
  Zing::Buffer mBoardData;
  Zing::Buffer mNodeData;
  SolvePlayback mPlayback;
};

}  // namespace Lintwick
