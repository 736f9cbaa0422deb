// No text of the options dialog and the favorites manager is cut, at the platform's font
// and at one and a half times its size.
#include "DialogsFixture.h"
#include "FormChild.h"
#include "TextFit.h"
#include "app/Favorites.h"
#include "app/Options.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <optional>

namespace quarn {
namespace {

using test::CutCaption;
using test::CutText;
using test::CutTexts;
using test::FormChild;
using Cuts = std::vector<std::string>;

class DialogTextsFit : public test::DialogsFixture, public testing::WithParamInterface<double> {
protected:
    void SetUp() override { font_.emplace(GetParam()); }
    void TearDown() override {
        test::DialogsFixture::TearDown();
        font_.reset();
    }

    static void Show(QWidget& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

private:
    std::optional<test::ScopedFontScale> font_;
};

// Every page, and the edits with their widest values.
TEST_P(DialogTextsFit, InTheOptions) {
    TfOptions dialog(&host_.window);
    Show(dialog);
    auto* pages = FormChild<QTabWidget>(&dialog, "PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pages->currentWidget()->isVisible(); }));
        EXPECT_EQ(CutTexts(dialog), Cuts()) << pages->tabText(page).toStdString();
    }
    for (const auto& [edit, text] : {std::pair{"eFastHex", "DD"}, std::pair{"eGovernmentHex", "FF"},
                                     std::pair{"eWipeCount", "100"}}) {
        EXPECT_EQ(CutText(*FormChild<QLineEdit>(&dialog, edit), text), "");
    }
}

// At its size, and at its smallest.
TEST_P(DialogTextsFit, InTheFavoritesManager) {
    TfFavorites manager(host_, &host_.window);
    Show(manager);
    const auto* list = FormChild<QTreeWidget>(&manager, "lvFavorites");
    EXPECT_EQ(CutTexts(manager), Cuts());
    EXPECT_EQ(CutCaption(*list, 0), "");
    manager.resize(manager.minimumSize());
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.size() == manager.minimumSize(); }));
    EXPECT_EQ(CutTexts(manager), Cuts());
}

INSTANTIATE_TEST_SUITE_P(Fonts, DialogTextsFit, testing::Values(1.0, 1.5), test::FontScaleName);

} // namespace
} // namespace quarn
