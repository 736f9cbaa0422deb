// The Progress page as a user and a screen reader see it while the loops run.
#include "CluFixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>
#include <QTimer>
#include <map>
#include <set>

namespace quarn::clu::test {
namespace {

// Where the file names stand, by the caption beside them, seen while a run goes on.
struct NameColumns {
    std::map<QString, std::set<int>> inFile;
    std::set<int> outFile;

    void Look(const TfMain& window) {
        const QWidget* in = FileNameLabel(window, "lInFile");
        const QWidget* out = FileNameLabel(window, "lOutFile");
        inFile[Label(window, "lType")->text()].insert(in->mapTo(&window, QPoint()).x());
        if (Label(window, "lNew")->isVisible()) {
            outFile.insert(out->mapTo(&window, QPoint()).x());
        }
    }
};

TEST_F(CluTest, FileNamesStayInOneColumnWhateverTheCaption) {
    WriteFileBytes(dir / "report.txt", PatternBytes(4 << 20));
    NameColumns columns;
    QTimer watch;
    std::unique_ptr<TfMain> window;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (fMain != nullptr && fMain->Running()) {
            columns.Look(*fMain);
        }
    });
    watch.start(0);
    window = RunWithPassword({"/e", dir / "report.txt"}, "correct horse");
    window = RunWithPassword({"/d", dir / "0.zot!"}, "correct horse");
    window.reset();
    watch.stop();
    EXPECT_TRUE(messages->shown.empty());

    ASSERT_EQ(columns.inFile.size(), 3u) << "Encrypting:, Wiping: and Decrypting: were seen";
    std::set<int> all;
    for (const auto& [caption, xs] : columns.inFile) {
        EXPECT_EQ(xs.size(), 1u) << caption.toStdString();
        all.insert(xs.begin(), xs.end());
    }
    EXPECT_EQ(all.size(), 1u) << "the name moved when the caption changed";
    EXPECT_EQ(columns.outFile, all) << "the output's name stands under the source's";
}

TEST_F(CluTest, AScreenReaderReadsTheFileNames) {
    WriteFileBytes(dir / "a rather long file name for the progress page.txt", "plain");
    auto window = RunWithPassword({"/e", dir / "a rather long file name for the progress page.txt"},
                                  "correct horse");
    for (const auto& [name, text] :
         {std::pair{"lInFile", "a rather long file name for the progress page.txt"},
          std::pair{"lOutFile", "0.zot!"}}) {
        QAccessibleInterface* reader =
            QAccessible::queryAccessibleInterface(FileNameLabel(*window, name));
        ASSERT_NE(reader, nullptr) << name;
        EXPECT_EQ(reader->role(), QAccessible::StaticText) << name;
        EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(text)) << name;
    }
}

} // namespace
} // namespace quarn::clu::test
