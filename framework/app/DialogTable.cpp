// The application's table of open dialogs, by id and in the order they were
// opened. Opening a dialog under an id that is in use replaces the old one;
// a modal dialog takes the mouse and the focus from everything behind it
// until it is killed. Killed dialogs are deleted once it is safe, never
// inside their own handlers.

#include <algorithm>

#include "framework/app/ZingAppBase.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/FocusRing.h"
#include "framework/widget/WidgetManager.h"

namespace Zing {

namespace {

// A dialog without a size gets half the screen's width, and stands at a
// fifth of its height.
constexpr int kAutoWidthDivisor = 2;
constexpr int kAutoTopDivisor = 5;

}  // namespace

Dialog* ZingAppBase::NewDialog(int dialogId, bool isModal, const std::string& header, const std::string& lines,
                               const std::string& footer, int buttonMode) {
  return new Dialog(nullptr, nullptr, dialogId, isModal, header, lines, footer, buttonMode);
}

Dialog* ZingAppBase::DoDialog(int dialogId, bool isModal, const std::string& header, const std::string& lines,
                              const std::string& footer, int buttonMode) {
  KillDialog(dialogId);
  Dialog* dialog = NewDialog(dialogId, isModal, header, lines, footer, buttonMode);
  if (dialog != nullptr) AddDialog(dialogId, dialog);
  return dialog;
}

Dialog* ZingAppBase::GetDialog(int dialogId) {
  const auto found = dialogMap.find(dialogId);
  return found != dialogMap.end() ? found->second : nullptr;
}

void ZingAppBase::AddDialog(int dialogId, Dialog* dialog) {
  if (dialog == nullptr) return;
  KillDialog(dialogId);
  if (dialog->width == 0) {
    const int dialogWidth = width / kAutoWidthDivisor;
    dialog->Resize((width - dialogWidth) / 2, height / kAutoTopDivisor, dialogWidth,
                   dialog->GetPreferredHeight(dialogWidth));
  }
  dialogMap[dialogId] = dialog;
  dialogList.push_back(dialog);
  widgetManager->AddWidget(dialog);
  if (dialog->IsModal()) {
    widgetManager->AddBaseModal(dialog);
    ModalOpen();
  }
  // The keys work the dialog from the moment it opens.
  const std::vector<Widget*> order = dialog->FocusOrder();
  LinkFocusRing(order);
  if (!order.empty()) widgetManager->SetFocus(order.front());
}

void ZingAppBase::AddDialog(Dialog* dialog) {
  if (dialog != nullptr) AddDialog(dialog->id, dialog);
}

bool ZingAppBase::KillDialog(int dialogId, bool removeWidget, bool deleteWidget) {
  const auto found = dialogMap.find(dialogId);
  if (found == dialogMap.end()) return false;
  Dialog* dialog = found->second;
  if (dialog->result == -1) dialog->result = 0;
  dialogList.remove(dialog);
  dialogMap.erase(found);
  if (removeWidget || deleteWidget) widgetManager->RemoveWidget(dialog);
  if (dialog->IsModal()) {
    ModalClose();
    widgetManager->RemoveBaseModal(dialog);
  }
  if (deleteWidget) SafeDeleteWidget(dialog);
  return true;
}

bool ZingAppBase::KillDialog(int dialogId) { return KillDialog(dialogId, true, true); }

bool ZingAppBase::KillDialog(Dialog* dialog) { return dialog != nullptr && KillDialog(dialog->id); }

int ZingAppBase::GetDialogCount() { return static_cast<int>(dialogMap.size()); }

}  // namespace Zing
