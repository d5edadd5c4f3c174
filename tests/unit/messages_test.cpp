#include "frame/messages.h"

#include <gtest/gtest.h>

namespace {

using platform::DialogIcon;

TEST(MessageDialogs, InformationErrorAndQuestionContents) {
  const release::WordTable built_in;
  const auto info = frame::MessageDialogContent("Hallo", frame::MessageKind::Information, built_in);
  EXPECT_EQ(info.caption, "Informationen");
  EXPECT_EQ(info.icon, DialogIcon::Information);
  EXPECT_EQ(info.text, "Hallo");
  ASSERT_EQ(info.buttons.size(), 1u);
  EXPECT_EQ(info.buttons[0].caption, "OK");
  EXPECT_EQ(info.default_result, platform::kResultOk);
  EXPECT_EQ(info.escape_result, platform::kResultOk);

  for (const auto kind : {frame::MessageKind::Error, frame::MessageKind::Question}) {
    const auto error = frame::MessageDialogContent("x", kind, built_in);
    EXPECT_EQ(error.caption, "Fehler");
    EXPECT_EQ(error.icon, DialogIcon::Error);
  }

  const auto question = frame::QuestionDialogContent("Abbrechen?", release::WordTable());
  EXPECT_EQ(question.caption, "Bestätigen");
  EXPECT_EQ(question.icon, DialogIcon::Question);
  ASSERT_EQ(question.buttons.size(), 2u);
  EXPECT_EQ(question.buttons[0].caption, "&Ja");
  EXPECT_EQ(question.buttons[1].caption, "&Nein");
  EXPECT_EQ(question.default_result, question.buttons[0].result);
  EXPECT_EQ(question.escape_result, question.buttons[1].result);
}

}  // namespace
