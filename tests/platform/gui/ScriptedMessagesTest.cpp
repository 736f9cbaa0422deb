#include "ScriptedMessages.h"

#include "platform/gui/QtMessageService.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::ScopedScriptedMessages;

TEST(ScriptedMessages, RecordTheExactTextsAndAnswerFromTheQueue) {
    const std::string text = "Incorrect Usage\r\n\r\nUsage: QuarnCLU [/e][/d][/w] filename\r\n"
                             "/e -\tEncrypt file";
    {
        ScopedScriptedMessages messages;
        messages->QueueAnswer(MessageAnswer::Yes);
        messages->QueueSavePath("/tmp/out.zot!");
        // An OK box leaves the queued answer to the question.
        EXPECT_EQ(Messages().Show(MessageKind::Error, "e", MessageButtons::Ok), MessageAnswer::Ok);
        EXPECT_EQ(Messages().Show(MessageKind::Warning, text, MessageButtons::YesNo),
                  MessageAnswer::Yes);
        // An empty queue answers No and cancel.
        EXPECT_EQ(Messages().Show(MessageKind::Confirmation, "q", MessageButtons::YesNo),
                  MessageAnswer::No);
        SaveDialogRequest request;
        request.initialFolder = "/tmp/";
        EXPECT_EQ(Messages().AskSaveFile(request), "/tmp/out.zot!");
        EXPECT_EQ(Messages().AskSaveFile(request), std::nullopt);

        ASSERT_EQ(messages->shown.size(), 3u);
        EXPECT_EQ(messages->shown[1].text, text); // "\r\n" and "\t" as they were given
        EXPECT_EQ(messages->shown[1].kind, MessageKind::Warning);
        EXPECT_EQ(messages->shown[1].buttons, MessageButtons::YesNo);
        ASSERT_EQ(messages->saveRequests.size(), 2u);
        EXPECT_EQ(messages->saveRequests[0].filter, "All Files (*.*)|*.*");
    }
    EXPECT_NE(dynamic_cast<QtMessageService*>(&Messages()), nullptr) << "the Qt service is back";
}

} // namespace
} // namespace quarn
