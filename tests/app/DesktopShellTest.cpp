// The real desktop shell, offscreen (where no browser can be opened): the
// address is shown to copy, and message texts can be selected.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "gui/Shell.h"

using namespace vx;

namespace {

struct TSeenBox {
  QString Text;
  Qt::TextInteractionFlags Flags;
  bool Seen = false;
};

// Reads the message box that opens next and presses button in it.
void AnswerNextBox(TSeenBox& seen, QMessageBox::StandardButton button) {
  QTimer::singleShot(0, [&seen, button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->text(), box->textInteractionFlags(), true};
    box->button(button)->click();
  });
}

}  // namespace

TEST(DesktopShell, WithoutABrowserTheAddressIsShownToCopy) {
  TQtShell shell;
  TSeenBox seen;
  AnswerNextBox(seen, QMessageBox::Ok);
  shell.OpenUrl("https://services.example.org/predicted.json");
  ASSERT_TRUE(seen.Seen);
  EXPECT_TRUE(seen.Text.contains("https://services.example.org/predicted.json")) << seen.Text.toStdString();
  EXPECT_TRUE(seen.Flags.testFlag(Qt::TextSelectableByMouse));
}

TEST(DesktopShell, QuestionsAndErrorsCanBeCopied) {
  TQtShell shell;
  TSeenBox seen;
  AnswerNextBox(seen, QMessageBox::Yes);
  EXPECT_TRUE(shell.AskYesNo(nullptr, "Vantor", "VOACAP download page: https://example.org/voacapl/"));
  ASSERT_TRUE(seen.Seen);
  EXPECT_TRUE(seen.Flags.testFlag(Qt::TextSelectableByMouse));
  AnswerNextBox(seen, QMessageBox::No);
  EXPECT_FALSE(shell.AskYesNo(nullptr, "Vantor", "Open it?"));

  seen = {};
  AnswerNextBox(seen, QMessageBox::Ok);
  shell.ShowError(nullptr, "Cannot write /tmp/x");
  ASSERT_TRUE(seen.Seen);
  EXPECT_EQ(seen.Text, "Cannot write /tmp/x");
  EXPECT_TRUE(seen.Flags.testFlag(Qt::TextSelectableByMouse));
}
