// The guard around every entry from the event loop.
#include "platform/gui/Guard.h"

#include "ScriptedMessages.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quarn {
namespace {

using test::ScopedScriptedMessages;

TEST(Guard, ReportsWhatAHandlerThrowsAsAnErrorBoxAndGoesOn) {
    ScopedScriptedMessages messages;
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("Disk on fire"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));
    EXPECT_EQ(messages->Texts(), (std::vector<std::string>{"Disk on fire", "Unknown error"}));
    for (const auto& shown : messages->shown) {
        EXPECT_EQ(shown.kind, MessageKind::Error);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    }
}

struct Form {
    int clicks = 0;
    void bOKClick() {
        ++clicks;
        throw std::runtime_error("refused");
    }
};

TEST(Guard, GuardedSlotsTakeWhatTheyAcceptOfTheSignal) {
    ScopedScriptedMessages messages;
    QLineEdit edit;
    QString seen;
    int changes = 0;
    QObject::connect(&edit, &QLineEdit::textChanged, &edit,
                     Guarded([&](const QString& text) { seen = text; }));
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, Guarded([&] {
        ++changes;
        throw std::runtime_error("no such text");
    }));
    edit.setText("abc");
    EXPECT_EQ(seen, "abc");
    EXPECT_EQ(changes, 1);

    Form form;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, &button, Guarded(&form, &Form::bOKClick));
    button.click();
    button.click();
    EXPECT_EQ(form.clicks, 2);
    EXPECT_EQ(messages->Texts(), (std::vector<std::string>{"no such text", "refused", "refused"}));
}

TEST(Guard, NothingThrownCrossesTheEventLoop) {
    ScopedScriptedMessages messages;
    QObject context;
    bool later = false;
    QTimer::singleShot(0, &context, Guarded([] { throw std::runtime_error("in a timer"); }));
    QTimer::singleShot(0, &context, [&] { later = true; });
    while (!later) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_EQ(messages->Texts(), std::vector<std::string>{"in a timer"});
}

} // namespace
} // namespace quarn
