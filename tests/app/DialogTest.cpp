// Dialogs in a running application on the window-less platform: answers by
// simulated mouse input reaching the application as 2000 + id / 3000 + id,
// the nested wait, the dialog table, modality, dragging, preferred height,
// deletion from inside a handler, and image cursors.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Dialog.h"
#include "tests/support/NullApp.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using Zing::Dialog;
using Zing::Platform::MessageCode;
using Zing::Platform::NullServices;
using Strings = std::vector<std::string>;

class DialogApp : public ZingTest::NullApp<> {
 public:
  explicit DialogApp(NullServices* nullServices) : NullApp(nullServices) { registryKey = "ZingTest\\Dialogs"; }
  using ButtonListener::ButtonPress;
  void ButtonPress(int id) override { heard.push_back("press " + std::to_string(id)); }
  void ButtonDepress(int id) override {
    heard.push_back("depress " + std::to_string(id));
    // The game closes a dialog from inside its answer.
    if (killOnAnswer) KillDialog(id % 1000);
  }
  void ModalOpen() override { ++modalOpens; }
  void ModalClose() override { ++modalCloses; }

  Strings heard;
  bool killOnAnswer = false;
  int modalOpens = 0;
  int modalCloses = 0;
};

struct Dialogs : ZingTest::NullAppFixture<DialogApp> {
  WidgetTest::BlockFont font;

  void SetUp() override {
    MakeApp();
    app->Init();
    app->running = true;
  }

  // The player clicks at (px, py): the messages wait in the platform's queue.
  void QueueClick(int px, int py) {
    services->Inject(MessageCode::MouseMove, 0, px, py);
    services->Inject(MessageCode::LButtonDown, 0, px, py);
    services->Inject(MessageCode::LButtonUp, 0, px, py);
  }
  void QueueClickOn(const Zing::Widget* widget) { QueueClick(widget->x + widget->width / 2, widget->y + 4); }
  // Runs loop steps until the queued input is handled.
  void Pump() {
    for (int i = 0; i < 100 && (!services->messages.empty() || app->updateAppState != 3); ++i) {
      bool updated = false;
      app->UpdateAppStep(&updated);
    }
  }
  Dialog* Confirm(int id) { return app->DoDialog(id, true, "NEW GAME", "Are you sure?", "", Dialog::BUTTONS_YES_NO); }
};

TEST_F(Dialogs, AYesNoDialogAnsweredWithTheMouseReachesTheApplicationAndEndsTheWait) {
  Dialog* dialog = Confirm(3);
  // No size given: half the screen wide, centred, at a fifth of its height.
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, dialog->width), std::tuple(160, 96, 320));
  EXPECT_EQ(dialog->height, dialog->GetPreferredHeight(320));
  EXPECT_EQ(app->GetDialog(3), dialog);
  EXPECT_EQ(app->modalOpens, 1);
  ASSERT_NE(dialog->noButton, nullptr);
  EXPECT_EQ(dialog->yesButton->label, "YES");
  // The two buttons share the width side by side, inside the dialog.
  EXPECT_LT(dialog->yesButton->x + dialog->yesButton->width, dialog->noButton->x);
  EXPECT_LE(dialog->noButton->x + dialog->noButton->width, dialog->x + dialog->width);

  QueueClickOn(dialog->yesButton.get());
  EXPECT_EQ(dialog->WaitForResult(false), Dialog::ID_YES);
  EXPECT_EQ(app->heard, (Strings{"press 2003", "depress 2003"}));

  // The no button answers 3000 + id; the wait kills the dialog on its way out.
  EXPECT_TRUE(app->KillDialog(3));
  EXPECT_FALSE(app->KillDialog(3));  // not open any more: nothing changes
  EXPECT_EQ(app->GetDialogCount(), 0);
  app->heard.clear();
  dialog = Confirm(4);
  QueueClickOn(dialog->noButton.get());
  EXPECT_EQ(dialog->WaitForResult(true), Dialog::ID_NO);
  EXPECT_EQ(app->heard, (Strings{"press 3004", "depress 3004"}));
  EXPECT_EQ(app->GetDialog(4), nullptr);
  EXPECT_EQ(app->modalCloses, 2);
  Pump();  // the killed dialog is deleted once the loop is back at its level
}

TEST_F(Dialogs, AFooterButtonDialogShowsTheFooterOnItsOneButtonOnly) {
  auto* footer = new Dialog(nullptr, nullptr, 1, false, "T", "abc", "CLOSE", Dialog::BUTTONS_FOOTER);
  auto* plain = new Dialog(nullptr, nullptr, 2, false, "T", "abc", "CLOSE", Dialog::BUTTONS_NONE);
  for (Dialog* d : {footer, plain}) {
    d->SetHeaderFont(&font);
    d->SetLinesFont(&font);
  }
  EXPECT_EQ(footer->yesButton->label, "CLOSE");
  EXPECT_EQ(footer->noButton, nullptr);
  EXPECT_EQ(plain->yesButton, nullptr);
  // Insets 48, header 10, gap 10, one wrapped line 10; then either the button
  // (8 + 8 + 24) or the footer line (8 + 10).
  EXPECT_EQ(footer->GetPreferredHeight(300), 48 + 10 + 10 + 10 + 8 + 8 + 24);
  EXPECT_EQ(plain->GetPreferredHeight(300), 48 + 10 + 10 + 10 + 8 + 10);

  footer->Resize(100, 100, 300, 200);
  app->AddDialog(footer);
  app->AddDialog(plain);
  // The one button spans the inner width along the bottom.
  EXPECT_EQ(std::tuple(footer->yesButton->x, footer->yesButton->y, footer->yesButton->width),
            std::tuple(124, 100 + 200 - 24 - 24, 252));
  QueueClickOn(footer->yesButton.get());
  EXPECT_EQ(footer->WaitForResult(true), Dialog::ID_FOOTER);
  EXPECT_EQ(app->heard, (Strings{"press 2001", "depress 2001"}));
  EXPECT_EQ(app->GetDialogCount(), 1);
}

TEST_F(Dialogs, DraggingStopsEightPixelsOffTheScreen) {
  Dialog* dialog = app->DoDialog(5, false, "EXIT GAME", "", "", Dialog::BUTTONS_YES_NO);
  dialog->Resize(100, 100, 300, 200);
  Zing::WidgetManager* manager = app->GetWidgetManager();
  services->Inject(MessageCode::MouseMove, 0, 110, 110);
  Pump();
  manager->MouseDown(110, 110, 1);
  EXPECT_EQ(services->cursor, 2);
  manager->MouseMove(-500, -500);
  EXPECT_EQ(dialog->x, -8);
  EXPECT_EQ(dialog->y, -8);
  // The grab point stays 8 pixels inside the dialog.
  EXPECT_EQ(dialog->dragMouseX, 8);
  manager->MouseMove(100, 100);
  EXPECT_EQ(dialog->x, 92);
  manager->MouseMove(5000, 5000);
  EXPECT_EQ(dialog->x, 640 + 8 - 300);
  EXPECT_EQ(dialog->y, 480 + 8 - 200);
  // The buttons travel with the dialog.
  EXPECT_EQ(dialog->yesButton->x, dialog->x + 24);
  manager->MouseUp(5000, 5000, 1);
  EXPECT_FALSE(dialog->dragging);
  EXPECT_EQ(services->cursor, 0);
  // A double click does not start a drag.
  manager->MouseDown(dialog->x + 10, dialog->y + 10, 2);
  EXPECT_FALSE(dialog->dragging);
  manager->MouseUp(dialog->x + 10, dialog->y + 10, 1);
}

TEST_F(Dialogs, ADialogOverADialogTakesTheMouseUntilItIsClosedFromItsOwnHandler) {
  app->killOnAnswer = true;
  Dialog* under = Confirm(2);
  under->Resize(20, 20, 300, 200);
  Dialog* over = Confirm(5);
  over->Resize(320, 20, 300, 200);
  // Only the dialog in front takes clicks.
  QueueClickOn(under->yesButton.get());
  Pump();
  EXPECT_TRUE(app->heard.empty());
  QueueClickOn(over->noButton.get());
  EXPECT_EQ(over->WaitForResult(false), Dialog::ID_NO);  // killed and deleted by its own answer
  EXPECT_EQ(app->GetDialog(5), nullptr);
  Pump();
  QueueClickOn(under->yesButton.get());
  Pump();
  EXPECT_EQ(app->heard, (Strings{"press 3005", "depress 3005", "press 2002", "depress 2002"}));
  EXPECT_EQ(app->GetDialogCount(), 0);
  EXPECT_EQ(app->modalCloses, 2);
}

TEST_F(Dialogs, TheWaitEndsWhenTheApplicationShutsDown) {
  Dialog* dialog = Confirm(2);
  app->Shutdown();
  EXPECT_EQ(dialog->WaitForResult(true), Dialog::kNoResult);
  EXPECT_EQ(app->GetDialogCount(), 0);
  // A result left at -1 by the game reads 0 once the dialog is killed.
  Dialog* other = app->DoDialog(3, false, "", "x", "", Dialog::BUTTONS_NONE);
  other->result = -1;
  app->KillDialog(3, true, false);
  EXPECT_EQ(other->result, 0);
  delete other;
}

TEST_F(Dialogs, CursorImagesShowWithTheirHotSpotsWhenCustomCursorsAreOn) {
  Zing::MemoryImage hand;
  hand.Create(32, 32);
  hand.GetBits()[0] = 0xFF123456;
  app->SetCursorImage(1, &hand, 11, 2);
  services->Inject(MessageCode::MouseMove, 0, 50, 50);
  Pump();
  app->EnableCustomCursors(false);
  app->SetCursor(1);
  EXPECT_FALSE(services->imageCursorShown);
  EXPECT_EQ(services->cursor, 1);
  app->EnableCustomCursors(true);
  EXPECT_TRUE(services->imageCursorShown);
  EXPECT_EQ(std::tuple(services->imageCursorWidth, services->imageCursorHotX, services->imageCursorHotY,
                       services->imageCursorPixels[0]),
            std::tuple(32, 11, 2, 0xFF123456u));
  // A cursor number without an image keeps the platform's shape.
  app->SetCursor(3);
  EXPECT_FALSE(services->imageCursorShown);
  EXPECT_EQ(services->cursor, 3);
  // Cursor 12 shows its image whatever the setting.
  app->EnableCustomCursors(false);
  app->SetCursorImage(12, &hand, 0, 0);
  app->SetCursor(12);
  EXPECT_TRUE(services->imageCursorShown);
  app->SetCursorImage(12, nullptr);
}

}  // namespace
