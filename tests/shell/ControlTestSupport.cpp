#include "ControlTestSupport.h"

#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/tree/ShellTreeData.h"

#include <QApplication>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {

const std::string ControlFixture::RawName = "\xff\xfe raw.bin";

ControlFixture::ControlFixture() {
    namespace fs = std::filesystem;
    fs::create_directories(dir_.Path() / "files" / "sub");
    for (const char* name : {"name with spaces.txt", "a::b.txt", "star*?.txt", "ARCHIVE.ZIP"}) {
        WriteFileBytes(Path(std::string("files/") + name), name);
    }
    WriteFileBytes(Path("files/" + RawName), "raw");
    fs::create_symlink("name with spaces.txt", dir_.Path() / "files" / "link.txt");
    fs::create_directories(dir_.Path() / "one" / "two" / "three");
    WriteFileBytes(Path("one/two/leaf.txt"), "leaf");
    fs::create_directories(dir_.Path() / "other");
}

std::string ControlFixture::Path(const std::string& relative) const {
    return relative.empty() ? dir_.Path().string() : dir_ / relative;
}

void KeepPlainFilesAndZips(QWidget*, IShellFolder* folder, LPCITEMIDLIST, LPCITEMIDLIST item,
                           SFGAOF attributes, bool& allowAdd) {
    const std::string parsing = GetChildDisplayName(folder, item, SHGDN_FORPARSING);
    if (!(attributes & SFGAO_FOLDER)) {
        allowAdd = !(attributes & SFGAO_LINK) && !parsing.starts_with("::");
        return;
    }
    const auto dot = parsing.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : parsing.substr(dot);
    allowAdd = (attributes & SFGAO_FILESYSTEM) && strcasecmp(extension.c_str(), ".zip") == 0;
}

void RefuseTrash(QWidget*, IShellFolder*, LPCITEMIDLIST parent, LPCITEMIDLIST item, SFGAOF,
                 bool& allowAdd) {
    const PidlPtr joined(JoinPidls(nullptr, parent, item));
    if (PidlIsSpecialFolder(joined.get(), CSIDL_BITBUCKET)) {
        allowAdd = false;
    }
}

void ShowAndSettle(QWidget& widget) {
    widget.resize(400, 300);
    widget.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QApplication::processEvents();
}

std::vector<std::string> ChildTexts(const TSCShellTreeModel& model, const TSCShellTreeNode* node) {
    std::vector<std::string> texts;
    for (int i = 0; i < model.Count(node); ++i) {
        texts.push_back(model.Child(node, i)->Text());
    }
    return texts;
}

TSCShellTreeNode* ChildNamed(const TSCShellTreeModel& model, const TSCShellTreeNode* node,
                             const std::string& text) {
    for (int i = 0; i < model.Count(node); ++i) {
        if (model.Child(node, i)->Text() == text) {
            return model.Child(node, i);
        }
    }
    return nullptr;
}

TSCShellTreeNode* NodeAt(TSCCustomShellTree& tree, const std::string& relative) {
    TSCShellTreeNode* node = tree.RootNode();
    for (const auto& part : std::filesystem::path(relative)) {
        tree.Expand(node);
        node = node ? ChildNamed(tree.Items(), node, part.string()) : nullptr;
    }
    return node;
}

QLineEdit* CurrentEditor(const QAbstractItemView& view) {
    return qobject_cast<QLineEdit*>(view.indexWidget(view.currentIndex()));
}

void RenameWithF2(TSCCustomShellTree& tree, const std::string& relative, const std::string& name) {
    tree.Select(NodeAt(tree, relative));
    QTest::keyClick(&tree, Qt::Key_F2);
    QLineEdit* editor = CurrentEditor(tree);
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromStdString(name));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

void FakeList::FollowTreeNode(TSCShTreeData* node) {
    followed.push_back(node->GetPath());
}

void FakeList::FlushPendingTimers(bool includeLinked) {
    flushes.push_back(includeLinked);
}

void FakeList::ComponentRemoved(TSCLinkedTree& removed) {
    if (&removed == tree) {
        tree = nullptr;
    }
    ++removals;
}

void FakeTree::SelectPidl(LPCITEMIDLIST target) {
    selected.push_back(PidlToPath(target));
}

namespace {

ModelCheckerReports* current = nullptr;

void Record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (current && type != QtDebugMsg && context.category &&
        std::strcmp(context.category, "qt.modeltest") == 0) {
        current->messages.push_back(message.toStdString());
    }
}

} // namespace

ModelCheckerReports::ModelCheckerReports() : previous_(qInstallMessageHandler(Record)) {
    current = this;
}

ModelCheckerReports::~ModelCheckerReports() {
    current = nullptr;
    qInstallMessageHandler(previous_);
}

} // namespace quarn::test
