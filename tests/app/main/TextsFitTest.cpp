// No text of Quarn's windows is cut, at the platform's font and at one and a half times its
// size: the longest real text of each control against the control's width in that font.
#include "MainWindowFixture.h"
#include "TextFit.h"
#include "app/About.h"
#include "shell/list/DetailTexts.h"
#include "shell/list/ShellListColumns.h"

#include <QDateTime>
#include <QLocale>
#include <QTest>
#include <QTreeView>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

// A control and a text it is given while the program runs.
struct ControlText {
    const char* control;
    const char* text;
};

// The longest of them, with the largest counts and sizes; the captions the controls have
// from the start are checked as they are.
const ControlText MainWindowTexts[] = {
    {"Panel0", "100000 files, 1023 GB"},
    {"Panel1", "100000 files selected, 1023 GB"},
    {"Panel0", "Processing file 100000 of 100000"},
    {"lType", "Encrypting:"},
    {"lType", "Decrypting:"},
    {"lType", "Wiping:"},
    {"lNew", "New File:"}, // hidden until an output is named
};

const ControlText AboutTexts[] = {
    {"lVersion", "Version 65535.65535 (Build 65535)"},
};

// Locales whose short date and time are among the longest.
const char* const Locales[] = {"C",     "en_US", "en_GB", "de_DE", "fr_FR", "es_ES",
                               "it_IT", "pt_BR", "ru_RU", "fi_FI", "pl_PL", "ja_JP",
                               "zh_CN", "ko_KR", "nl_NL", "sv_SE"};

// The latest day and minute of a year, in digits of every width.
const QDateTime LongestTime(QDate(2026, 12, 28), QTime(23, 58));

// The largest size below 10 GB: every file the commands take shows its size whole.
constexpr std::uint64_t LargestSize = std::uint64_t{9'999'999} * 1024;

void MakeFile(const std::string& path, std::uint64_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(size)), 0);
    const timespec time{LongestTime.toSecsSinceEpoch(), 0};
    const timespec times[2] = {time, time};
    ASSERT_EQ(futimens(fd, times), 0);
    close(fd);
}

class TextsFit : public MainWindowTest, public testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        font_.emplace(GetParam());
        LastDirectoryCols() = TSCDirectoryCols{{}, 0}; // widths as at the program's start
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        QLocale::setDefault(QLocale::system());
        font_.reset();
    }

    template <typename Table> void ExpectFit(QWidget& form, const Table& texts) {
        EXPECT_EQ(CutTexts(form), std::vector<std::string>()) << form.objectName().toStdString();
        for (const auto& [name, text] : texts) {
            auto* control = form.findChild<QWidget*>(QString::fromLatin1(name));
            if (control != nullptr) { // else in another of the three forms
                EXPECT_EQ(CutText(*control, QString::fromUtf8(text)), "")
                    << form.objectName().toStdString();
            }
        }
    }

private:
    std::optional<ScopedFontScale> font_;
};

TEST_P(TextsFit, InTheMainWindowAndItsDialogs) {
    MakeFile(dir / "Annual accounts 2026 (final).ods", 12345);
    MakeFile(dir / "disc image.iso", LargestSize);
    MakeFile(dir / "0.zot!", 4112);
    StartIn(dir.Folder());
    for (QWidget* form : std::initializer_list<QWidget*>{&Main(), fNewPass, fProgress}) {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        ExpectFit(*form, MainWindowTexts);
    }
    fNewPass->hide();
    fProgress->CloseForm();

    const QTreeView& view = *List().ReportView();
    ASSERT_EQ(List().Count(), 3);
    for (int column = 0; column < List().ColumnCount(); ++column) {
        EXPECT_EQ(CutCaption(view, column), "");
        for (int row = 0; row < List().Count(); ++row) {
            const QString cell = List().Items().index(row, column).data().toString();
            EXPECT_EQ(CutCell(view, column, cell), "");
        }
    }
    EXPECT_EQ(List().Items().index(0, 0).data().toString(), "0.zot!");
    EXPECT_EQ(List().Items().index(0, 2).data().toString(), "Quarn! Encrypted File");
    for (const char* locale : Locales) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        EXPECT_EQ(CutCell(view, 1, QString::fromStdString(FormatSizeKB(LargestSize))), "")
            << locale;
        EXPECT_EQ(CutCell(view, 3, QString::fromStdString(FormatModifiedTime(LongestTime))), "")
            << locale;
    }

    auto* about = new TfAbout(&Main());
    about->show();
    ExpectFit(*about, AboutTexts);
    about->close();
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextsFit, testing::Values(1.0, 1.5), FontScaleName);

} // namespace
} // namespace quarn::test
