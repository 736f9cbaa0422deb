// No text of the utility's pages is cut, at the platform's font and at one and a half times
// its size.
#include "CluFixture.h"
#include "TextFit.h"
#include "app/common/KVBRunOnce.h"

#include <QTest>
#include <optional>

namespace quarn::clu::test {
namespace {

using quarn::test::CutText;
using quarn::test::CutTexts;
using quarn::test::FontScaleName;
using Cuts = std::vector<std::string>;

// The texts the Progress page is given while a run goes on, the longest of each.
const std::pair<const char*, const char*> ProgressTexts[] = {
    {"lOverall", "100000 of 100000"},
    {"lType", "Encrypting:"},
    {"lType", "Decrypting:"},
    {"lType", "Wiping:"},
    {"lNew", "New File:"},
};

class CluTextsFit : public CluTest, public testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        font_.emplace(GetParam());
        CluTest::SetUp();
    }
    void TearDown() override {
        CluTest::TearDown();
        font_.reset();
    }

    static void Show(TfMain& window) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

private:
    std::optional<quarn::test::ScopedFontScale> font_;
};

TEST_P(CluTextsFit, OnThePasswordPage) {
    auto window = Create({"/e", dir / "missing.txt"});
    Show(*window);
    EXPECT_EQ(CutTexts(*window), Cuts());
    window->close();
}

// The page of a wipe, with the wipe held back.
TEST_P(CluTextsFit, OnTheProgressPage) {
    messages->QueueAnswer(MessageAnswer::Yes);
    auto window = Create({"/w", dir / "missing.txt"});
    window->findChild<TKVBRunOnce*>("RunOnce")->SetOnRun([](TKVBRunOnce&) {});
    Show(*window);
    ASSERT_EQ(CurrentPage(*window), QStringLiteral("Progress"));
    EXPECT_EQ(CutTexts(*window), Cuts());
    for (const auto& [control, text] : ProgressTexts) {
        EXPECT_EQ(CutText(*Label(*window, control), QString::fromUtf8(text)), "");
    }
    window->close();
}

INSTANTIATE_TEST_SUITE_P(Fonts, CluTextsFit, testing::Values(1.0, 1.5), FontScaleName);

} // namespace
} // namespace quarn::clu::test
