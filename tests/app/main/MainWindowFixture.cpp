#include "MainWindowFixture.h"

#include "platform/Registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quarn::test {

void MainWindowTest::TearDown() {
    for (const QPointer<QTimer>& wait : modalWaits_) {
        delete wait;
    }
    Stop();
    EXPECT_EQ(fMain, nullptr) << "a main window outlived its test";
}

void MainWindowTest::Start(const std::vector<std::string>& arguments) {
    main_ = std::make_unique<TfMain>(arguments);
    newPass_ = std::make_unique<TfNewPass>(main_.get());
    progress_ = std::make_unique<TfProgress>(main_.get());
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    // The start-up steps after showing end with the lights in the status bar.
    ASSERT_TRUE(QTest::qWaitFor([this] { return Child<QWidget>("pStatus")->isVisible(); }, WaitMs));
}

void MainWindowTest::StartIn(const std::string& folder) {
    Start({folder});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().CurrentFolder == folder; }, WaitMs))
        << Main().CurrentFolder;
}

void MainWindowTest::Stop() {
    if (main_ != nullptr) {
        main_->close();
    }
    progress_.reset();
    newPass_.reset();
    main_.reset();
}

void MainWindowTest::WhenModal(std::function<void(QWidget& window)> action) {
    auto* poll = new QTimer;
    modalWaits_.emplace_back(poll);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        // Keys reach the dialog, and its focus is the application's, once it is active.
        if (modal == nullptr || !modal->isVisible() || !modal->isActiveWindow()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(*modal);
    });
    poll->start(10);
}

void MainWindowTest::AnswerPassword(const std::string& password, bool useForSession) {
    AnswerPassword(password, password, useForSession);
}

void MainWindowTest::AnswerPassword(const std::string& password, const std::string& confirm,
                                    bool useForSession) {
    WhenModal([=](QWidget& dialog) {
        ASSERT_EQ(dialog.objectName(), QStringLiteral("fNewPass"));
        auto* ePassword = FormChild<QLineEdit>(&dialog, "ePassword");
        auto* eConfirm = FormChild<QLineEdit>(&dialog, "eConfirm");
        ePassword->clear();
        eConfirm->clear();
        TypeText(ePassword, password);
        TypeText(eConfirm, confirm);
        FormChild<QCheckBox>(&dialog, "cbReusePassword")->setChecked(useForSession);
        QTest::mouseClick(FormChild<QPushButton>(&dialog, "bOK"), Qt::LeftButton);
    });
}

void MainWindowTest::WriteSettings(const Settings& settings) {
    TRegistry registry;
    SaveSettings(registry, settings);
}

} // namespace quarn::test
