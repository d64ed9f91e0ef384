#include <gtest/gtest.h>

#include "expected_logs.h"
#include "window_fixture.h"

namespace quorvel {
namespace {

TEST_F(WindowTest, ComputeOnTheFieldsAsTheWindowOpens) {
  Click(ComputeButton());
  EXPECT_EQ(Text(PhraseField()), u"ABCDEFGHIJKLMNOPQUVWXYZ");
  EXPECT_EQ(Text(KeyField()), u"47031");
  EXPECT_EQ(Text(LogBox()), kInitialFieldsLog);
  EXPECT_EQ(Lines(Text(LogBox())).size(), 49u);
  EXPECT_EQ(window_->codeTable().At(1), 117);
  EXPECT_EQ(window_->codeTable().At(23), 106);
  EXPECT_EQ(SendMessageW(LogBox(), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "shown from the top";
}

TEST_F(WindowTest, NothingToEncryptLeavesTheLogBox) {
  const std::u16string task = Text(LogBox());

  Set(PhraseField(), u"123 Информатика, éà!");
  Click(ComputeButton());
  EXPECT_EQ(Text(PhraseField()), u"");
  EXPECT_EQ(Text(LogBox()), task);

  Set(PhraseField(), u"a b c");
  Set(KeyField(), u"");
  Click(ComputeButton());
  EXPECT_EQ(Text(PhraseField()), u"ABC") << "normalized even when the key is empty";
  EXPECT_EQ(Text(LogBox()), task);
  EXPECT_EQ(window_->codeTable().At(1), 0) << "the table is not touched";
}

TEST_F(WindowTest, ClearEmptiesTheFieldsOnly) {
  Click(ComputeButton());
  Click(ComputeButton());
  EXPECT_EQ(Text(LogBox()), kInitialFieldsLog) << "a second compute gives the same log";
  Click(ClearButton());
  EXPECT_EQ(Text(PhraseField()), u"");
  EXPECT_EQ(Text(KeyField()), u"");
  EXPECT_EQ(Text(LogBox()), kInitialFieldsLog);

  Click(ComputeButton());
  EXPECT_EQ(Text(PhraseField()), u"");
  EXPECT_EQ(Text(LogBox()), kInitialFieldsLog);
  EXPECT_EQ(window_->codeTable().At(23), 106);
}

TEST_F(WindowTest, LongestFieldsGive103Lines) {
  Set(PhraseField(), u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwx");
  Set(KeyField(), u"0123456789abcdefghij");
  Click(ComputeButton());
  const auto lines = Lines(Text(LogBox()));
  ASSERT_EQ(lines.size(), 103u);
  EXPECT_EQ(lines[0], u"Дължина на въведената фраза и ключ за кодиране: 50:20");
  EXPECT_EQ(lines[22], u"U Xor 0 = 85 Xor 48 = 101");
  EXPECT_EQ(lines[102], u"57 Xor 97 = X");
}

TEST_F(WindowTest, KeyCharacterOutsideTheCodePageCountsAsQuestionMark) {
  Set(PhraseField(), u"a");
  Set(KeyField(), u"\u263A");
  Click(ComputeButton());
  EXPECT_EQ(Text(LogBox()),
            u"Дължина на въведената фраза и ключ за кодиране: 1:1\r\n"
            u"Последователно извеждам изчислените ASCII кодове:\r\n"
            u"A Xor ? = 65 Xor 63 = 126\r\n"
            u"Извеждам обратно кодираната фраза:\r\n"
            u"63 Xor 126 = A\r\n");
}

TEST_F(WindowTest, PhraseLongerThanTheTableLeavesTheLogBox) {
  const std::u16string task = Text(LogBox());
  Set(PhraseField(), std::u16string(400, u'q'));
  Click(ComputeButton());
  EXPECT_EQ(Text(PhraseField()), std::u16string(400, u'Q'));
  EXPECT_EQ(Text(LogBox()), task);
  EXPECT_TRUE(IsWindow(Window()));

  Set(PhraseField(), u"ok");
  Click(ComputeButton());
  EXPECT_EQ(Lines(Text(LogBox())).size(), 7u) << "the window goes on working";
}

TEST_F(WindowTest, OnlyTheTwoButtonsAct) {
  const std::u16string task = Text(LogBox());
  window_->Command1_Click(2);
  window_->Command1_Click(-1);
  EXPECT_EQ(Text(PhraseField()), u"abcdefghijklmnopquvwxyz");
  EXPECT_EQ(Text(KeyField()), u"47031");

  ShowAndActivate();
  for (HWND focus : {PhraseField(), KeyField(), LogBox()}) {
    SetFocus(focus);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
  }
  EXPECT_EQ(Text(PhraseField()), u"abcdefghijklmnopquvwxyz") << "Enter and Escape click nothing";
  EXPECT_EQ(Text(KeyField()), u"47031");
  EXPECT_EQ(Text(LogBox()), task);
  EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(WindowTest, ThousandAlternatingComputeAndClearClicks) {
  for (int i = 0; i < 1000; ++i) {
    Set(PhraseField(), u"he l-lo!");
    Set(KeyField(), u"Кл ю");
    Click(ComputeButton());
    ASSERT_EQ(Text(PhraseField()), u"HELLO") << i;
    ASSERT_EQ(Text(LogBox()), kHelloLog) << i;
    Click(ClearButton());
    ASSERT_EQ(Text(PhraseField()), u"") << i;
    ASSERT_EQ(Text(KeyField()), u"") << i;
    ASSERT_EQ(Text(LogBox()), kHelloLog) << i;
  }
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
}

TEST_F(WindowTest, LogBoxIsReadOnlyButSelectableAndCopyable) {
  Click(ComputeButton());
  Type(LogBox(), u"xyz\b\b");
  Paste(LogBox(), u"pasted");
  SendMessageW(LogBox(), WM_CUT, 0, 0);
  EXPECT_EQ(Text(LogBox()), kInitialFieldsLog);

  SendMessageW(LogBox(), EM_SETSEL, 0, 7);
  SendMessageW(LogBox(), WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), u"Дължина");
}

}  // namespace
}  // namespace quorvel
