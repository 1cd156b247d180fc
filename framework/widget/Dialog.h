#pragma once

// The framework's message box and the base of every dialog of the game: a
// framed panel (a nine-piece image, or a drawn panel with a shadow) with a
// centred header, word-wrapped lines, an optional footer line and up to two
// buttons kept in front of it as its siblings. The player drags it by any
// point that is not a button; it may leave the screen by 8 pixels at most.
// Its yes/ok (1000) and no/cancel (1001) buttons are reported to its dialog
// listener (the application), which hears them as answers 2000 + id and
// 3000 + id.

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/widget/ButtonListener.h"
#include "framework/widget/DialogButton.h"
#include "framework/widget/DialogListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class Image;

// The captions of the dialogs' buttons, English until the game's texts are set up.
extern std::string TEXT_DIALOG_YES;
extern std::string TEXT_DIALOG_NO;
extern std::string TEXT_DIALOG_OK;
extern std::string TEXT_DIALOG_CANCEL;

class Dialog : public Widget, public ButtonListener {
 public:
  enum ButtonMode {
    BUTTONS_NONE = 0,
    BUTTONS_YES_NO = 1,
    BUTTONS_OK_CANCEL = 2,
    BUTTONS_FOOTER = 3,
  };
  enum ButtonId {
    ID_YES = 1000,
    ID_NO = 1001,
    ID_OK = 1000,
    ID_CANCEL = 1001,
    ID_FOOTER = 1000,
  };
  // Indices of `colors`.
  enum {
    COLOR_HEADER = 0,
    COLOR_LINES = 1,
    COLOR_FOOTER = 2,
    COLOR_BUTTON_TEXT = 3,
    COLOR_BUTTON_TEXT_HILITE = 4,
    COLOR_BKG = 5,
    COLOR_OUTLINE = 6,
    NUM_COLORS = 7,
  };
  static constexpr int kNoResult = INT_MAX;
  // How far a dragged dialog may leave the screen, and how far inside it the
  // grab point stays.
  static constexpr int kDragMargin = 8;

  Dialog(Image* frameImage, Image* buttonFrameImage, int dialogId, bool modal, const std::string& header,
         const std::string& lines, const std::string& footer, int mode);
  ~Dialog() override;

  using ButtonListener::ButtonPress;
  using Widget::MouseDown;
  using Widget::MouseUp;
  using Widget::Resize;
  using Widget::SetColor;

  virtual void SetButtonFont(Font* font);
  virtual void SetHeaderFont(Font* font);
  virtual void SetLinesFont(Font* font);
  virtual int GetPreferredHeight(int forWidth);
  virtual bool IsModal();
  // Runs the application's loop, nested, until the dialog is answered,
  // leaves the screen or the application ends; then kills the dialog when
  // asked. Returns `result`.
  virtual int WaitForResult(bool autoKill = true);
  // The controls the keys move between, in order; the first takes the focus
  // when the dialog opens. By default its yes/ok and no/cancel buttons.
  virtual std::vector<Widget*> FocusOrder();
  // Escape answers no (or cancel); a dialog with one button closes through it.
  virtual void EscapePressed();

  void SetColor(int index, const Color& color) override;
  void Draw(Graphics* g) override;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void AddedToManager(WidgetManager* manager) override;
  void RemovedFromManager(WidgetManager* manager) override;
  void SiblingOrderChanged() override;
  void MouseDown(int px, int py, int button, int clickCount) override;
  void MouseDrag(int px, int py) override;
  void MouseUp(int px, int py, int button, int clickCount) override;
  void KeyDown(int key) override;

  void ButtonPress(int buttonId) override;
  void ButtonDepress(int buttonId) override;

  DialogListener* dialogListener;
  Image* componentImage;
  int id;
  bool isModal;
  int result = kNoResult;
  std::string dialogHeader;
  std::string dialogLines;
  std::string dialogFooter;
  int buttonMode;
  std::unique_ptr<DialogButton> yesButton;
  std::unique_ptr<DialogButton> noButton;
  std::unique_ptr<Font> headerFont;
  std::unique_ptr<Font> linesFont;
  int textAlign = 0;
  int lineSpacingOffset = 0;
  int buttonHeight;
  Insets backgroundInsets;
  Insets contentInsets{24, 24, 24, 24};
  int spaceAfterHeader = 10;
  int buttonHorzSpacing = 8;
  int buttonSidePadding = 0;
  bool dragging = false;
  int dragMouseX = 0;
  int dragMouseY = 0;

 protected:
  // Makes the header and lines fonts when they are missing.
  void EnsureFonts();
  // Line spacing of the body text.
  int LinesSpacing() const;
  // The width the body text wraps in: the inner width less 2 pixels a side.
  int TextWidth() const;
  void DrawPanel(Graphics* g);
};

}  // namespace Zing
