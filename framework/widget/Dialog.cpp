// A dialog's life: its buttons by mode, kept in front of it as its siblings
// in the manager and laid out along its bottom edge; its answers passed to
// the dialog listener; dragging within the screen; and the nested wait for
// an answer. Its drawing and preferred height are in DialogDraw.cpp.

#include "framework/widget/Dialog.h"

#include <algorithm>

#include "framework/graphics/Image.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

std::string TEXT_DIALOG_YES = "YES";
std::string TEXT_DIALOG_NO = "NO";
std::string TEXT_DIALOG_OK = "OK";
std::string TEXT_DIALOG_CANCEL = "CANCEL";

namespace {

constexpr int kCursorArrow = 0;
constexpr int kCursorDragging = 2;
constexpr int kDefaultButtonHeight = 24;

// The colours a new dialog starts with. They are shared: a dialog made
// without a button image turns the button captions black for itself and for
// every dialog made after it (its buttons are then drawn light grey).
Color gDefaultColors[Dialog::NUM_COLORS] = {
    {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {80, 80, 80}, {255, 255, 255},
};

}  // namespace

Dialog::Dialog(Image* frameImage, Image* buttonFrameImage, int dialogId, bool modal, const std::string& header,
               const std::string& lines, const std::string& footer, int mode)
    : dialogListener(DialogListener::GetDefault()),
      componentImage(frameImage),
      id(dialogId),
      isModal(modal),
      dialogHeader(header),
      dialogLines(lines),
      dialogFooter(footer),
      buttonMode(mode),
      buttonHeight(buttonFrameImage != nullptr ? buttonFrameImage->GetHeight() : kDefaultButtonHeight) {
  hasAlpha = true;
  hasTransparencies = true;
  priority = 1;
  if (buttonFrameImage == nullptr) {
    gDefaultColors[COLOR_BUTTON_TEXT] = Color(0, 0, 0);
    gDefaultColors[COLOR_BUTTON_TEXT_HILITE] = Color(0, 0, 0);
  }
  colors.assign(std::begin(gDefaultColors), std::end(gDefaultColors));

  if (mode == BUTTONS_YES_NO || mode == BUTTONS_OK_CANCEL) {
    yesButton = std::make_unique<DialogButton>(buttonFrameImage, ID_YES, this);
    noButton = std::make_unique<DialogButton>(buttonFrameImage, ID_NO, this);
    yesButton->label = mode == BUTTONS_YES_NO ? TEXT_DIALOG_YES : TEXT_DIALOG_OK;
    noButton->label = mode == BUTTONS_YES_NO ? TEXT_DIALOG_NO : TEXT_DIALOG_CANCEL;
  } else if (mode == BUTTONS_FOOTER) {
    yesButton = std::make_unique<DialogButton>(buttonFrameImage, ID_FOOTER, this);
    yesButton->label = footer;
  }
  for (DialogButton* button : {yesButton.get(), noButton.get()}) {
    if (button == nullptr) continue;
    button->SetColor(ButtonWidget::COLOR_LABEL, colors[COLOR_BUTTON_TEXT]);
    button->SetColor(ButtonWidget::COLOR_LABEL_HILITE, colors[COLOR_BUTTON_TEXT_HILITE]);
  }
}

Dialog::~Dialog() {
  // Leave the tree while still a dialog, so that the buttons leave with it.
  if (parent != nullptr) parent->RemoveWidget(this);
}

void Dialog::SetButtonFont(Font* font) {
  if (yesButton != nullptr) yesButton->SetFont(font);
  if (noButton != nullptr) noButton->SetFont(font);
}

void Dialog::SetHeaderFont(Font* font) {
  headerFont.reset(font != nullptr ? font->Duplicate() : nullptr);
  MarkDirty();
}

void Dialog::SetLinesFont(Font* font) {
  linesFont.reset(font != nullptr ? font->Duplicate() : nullptr);
  MarkDirty();
}

bool Dialog::IsModal() { return isModal; }

void Dialog::SetColor(int index, const Color& color) {
  Widget::SetColor(index, color);
  const int buttonIndex = index == COLOR_BUTTON_TEXT          ? ButtonWidget::COLOR_LABEL
                          : index == COLOR_BUTTON_TEXT_HILITE ? ButtonWidget::COLOR_LABEL_HILITE
                                                              : -1;
  if (buttonIndex < 0) return;
  if (yesButton != nullptr) yesButton->SetColor(buttonIndex, color);
  if (noButton != nullptr) noButton->SetColor(buttonIndex, color);
}

void Dialog::Resize(int newX, int newY, int newWidth, int newHeight) {
  Widget::Resize(newX, newY, newWidth, newHeight);
  const int left = backgroundInsets.left + contentInsets.left;
  const int innerWidth = width - left - backgroundInsets.right - contentInsets.right;
  const int buttonY = y + height - contentInsets.bottom - backgroundInsets.bottom - buttonHeight;
  if (yesButton != nullptr && noButton != nullptr) {
    const int buttonWidth = (innerWidth - 2 * buttonSidePadding - buttonHorzSpacing) / 2;
    const int yesX = x + left + buttonSidePadding;
    yesButton->Resize(yesX, buttonY, buttonWidth, buttonHeight);
    noButton->Resize(yesX + buttonWidth + buttonHorzSpacing, buttonY, buttonWidth, buttonHeight);
  } else if (yesButton != nullptr) {
    yesButton->Resize(x + left, buttonY, innerWidth, buttonHeight);
  }
}

void Dialog::AddedToManager(WidgetManager* manager) {
  Widget::AddedToManager(manager);
  for (DialogButton* button : {yesButton.get(), noButton.get()}) {
    if (button == nullptr) continue;
    button->zOrder = zOrder;  // so that the sort keeps the buttons beside the dialog
    manager->AddWidget(button);
    manager->PutInFront(button, this);
  }
  // PutInFront put the no button just before the yes button; keep yes first.
  if (yesButton != nullptr && noButton != nullptr) manager->PutInFront(noButton.get(), yesButton.get());
}

void Dialog::RemovedFromManager(WidgetManager* manager) {
  Widget::RemovedFromManager(manager);
  if (yesButton != nullptr) manager->RemoveWidget(yesButton.get());
  if (noButton != nullptr) manager->RemoveWidget(noButton.get());
}

void Dialog::SiblingOrderChanged() {
  if (widgetManager == nullptr) return;
  if (yesButton != nullptr) widgetManager->PutInFront(yesButton.get(), this);
  if (noButton != nullptr) {
    widgetManager->PutInFront(noButton.get(), yesButton != nullptr ? yesButton.get() : static_cast<Widget*>(this));
  }
}

void Dialog::ButtonPress(int buttonId) {
  if ((buttonId == ID_YES || buttonId == ID_NO) && dialogListener != nullptr) {
    dialogListener->DialogButtonPress(id, buttonId);
  }
}

void Dialog::ButtonDepress(int buttonId) {
  if (buttonId != ID_YES && buttonId != ID_NO) return;
  result = buttonId;
  if (dialogListener != nullptr) dialogListener->DialogButtonDepress(id, buttonId);
}

std::vector<Widget*> Dialog::FocusOrder() {
  std::vector<Widget*> order;
  if (yesButton != nullptr) order.push_back(yesButton.get());
  if (noButton != nullptr) order.push_back(noButton.get());
  return order;
}

void Dialog::EscapePressed() {
  if (noButton != nullptr) {
    ButtonDepress(ID_NO);
  } else if (yesButton != nullptr) {
    ButtonDepress(ID_YES);
  }
}

void Dialog::KeyDown(int key) {
  if (key == KEYCODE_ESCAPE) {
    EscapePressed();
    return;
  }
  Widget::KeyDown(key);
}

int Dialog::WaitForResult(bool autoKill) {
  WidgetManagerHost* host = widgetManager != nullptr ? widgetManager->app : nullptr;
  if (host == nullptr) return result;
  while (widgetManager != nullptr && result == kNoResult) {
    bool updated = false;
    if (!host->UpdateAppStep(&updated)) break;
  }
  const int answer = result;
  if (autoKill) host->KillDialog(id);  // may delete this dialog later, never now
  return answer;
}

// ---------------------------------------------------------------- dragging

void Dialog::MouseDown(int px, int py, int, int clickCount) {
  if (clickCount != 1) return;
  SetAppCursor(kCursorDragging);
  dragging = true;
  dragMouseX = px;
  dragMouseY = py;
}

void Dialog::MouseDrag(int px, int py) {
  if (!dragging || widgetManager == nullptr) return;
  // The pointer in the parent's coordinates, where the dialog's position lives.
  const int pointerX = x + px;
  const int pointerY = y + py;
  const int screenWidth = widgetManager->width;
  const int screenHeight = widgetManager->height;
  const int newX = std::max(-kDragMargin, std::min(pointerX - dragMouseX, screenWidth + kDragMargin - width));
  const int newY = std::max(-kDragMargin, std::min(pointerY - dragMouseY, screenHeight + kDragMargin - height));
  dragMouseX = std::max(kDragMargin, std::min(pointerX - newX, width - kDragMargin - 1));
  dragMouseY = std::max(kDragMargin, std::min(pointerY - newY, height - kDragMargin - 1));
  Move(newX, newY);
}

void Dialog::MouseUp(int, int, int, int) {
  dragging = false;
  SetAppCursor(kCursorArrow);
}

}  // namespace Zing
