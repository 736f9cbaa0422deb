#include "CluFixture.h"

#include "TypeText.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace quarn::clu::test {

QString CurrentPage(const TfMain& window) {
    const auto* notebook = quarn::test::FormChild<QStackedWidget>(&window, "Notebook");
    return notebook != nullptr && notebook->currentWidget() != nullptr
               ? notebook->currentWidget()->objectName()
               : QString();
}

void CluTest::TearDown() {
    EXPECT_EQ(fMain, nullptr) << "a window outlived its test";
}

std::unique_ptr<TfMain> CluTest::Create(const std::vector<std::string>& args) {
    std::vector<std::string> full{"QuarnCLU"};
    full.insert(full.end(), args.begin(), args.end());
    const auto line = ParseCommandLine(full);
    if (!line) {
        ADD_FAILURE() << "usage refused";
        return nullptr;
    }
    return std::make_unique<TfMain>(*line, dir.Folder());
}

std::unique_ptr<TfMain> CluTest::RunWithPassword(const std::vector<std::string>& args,
                                                 const std::string& password) {
    return RunWithPassword(args, password, password);
}

std::unique_ptr<TfMain> CluTest::RunWithPassword(const std::vector<std::string>& args,
                                                 const std::string& password,
                                                 const std::string& confirm) {
    auto window = Create(args);
    if (!window || !window->ShowMainForm()) {
        ADD_FAILURE() << "no window";
        return window;
    }
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    TypeText(Edit(*window, "ePassword"), password);
    TypeText(Edit(*window, "eConfirm"), confirm);
    QTest::mouseClick(Button(*window, "bOK"), Qt::LeftButton);
    return window;
}

void CluTest::TypeText(QWidget* widget, const std::string& text) {
    quarn::test::TypeText(widget, text);
}

void CluTest::WriteContextMenu(const std::string& text) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    registry.WriteString("ContextMenu", text);
}

std::string CluTest::ReadContextMenu() {
    TRegistry registry;
    if (!registry.OpenKey(QuarnRegistryKey, true)) {
        ADD_FAILURE() << "registry key";
        return {};
    }
    return registry.ReadString("ContextMenu");
}

void CluTest::WriteBoolSetting(const std::string& name, bool value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    registry.WriteBool(name, value);
}

void CluTest::WriteIntegerSetting(const std::string& name, int value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    registry.WriteInteger(name, value);
}

std::vector<std::string> CluTest::Names(const std::string& folder) {
    const auto names = quarn::test::FolderNames(folder);
    return {names.begin(), names.end()};
}

} // namespace quarn::clu::test
