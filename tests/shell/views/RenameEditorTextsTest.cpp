// The texts of the rename editors and the names they give back.
#include "shell/views/RenameEditor.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

const QChar Unknown(0xFFFD);

TEST(EditorText, ShowsEachByteOutsideAValidSequenceAsTheViewsDo) {
    for (const std::string name : {"caf\xe9.txt", "\xff\xfe raw.bin", "\xe2\x82", "\xed\xa0\x80x",
                                   "\xf0\x90\x80", "\xc0\xaf",
                                   "stra\xc3\x9f"
                                   "e \xf0\x9f\x98\x80.txt"}) {
        EXPECT_EQ(EditorText(name), QString::fromUtf8(name)) << name;
    }
    EXPECT_EQ(EditorText("caf\xe9"), QString("caf") + Unknown);
}

struct EditCase {
    const char* why;
    std::string name;
    QString edited;
    std::optional<std::string> renamed;
};

void PrintTo(const EditCase& c, std::ostream* out) {
    *out << c.why;
}

class EditedNames : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditedNames, KeepTheBytesTheUserLeftAlone) {
    const EditCase& c = GetParam();
    EXPECT_EQ(EditedName(c.name, c.edited), c.renamed) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditedNames,
    ::testing::Values(
        EditCase{"untouched, not UTF-8", "caf\xe9.txt", EditorText("caf\xe9.txt"), std::nullopt},
        EditCase{"untouched, blanks at the ends", "  lead.txt ", "  lead.txt ", std::nullopt},
        EditCase{"typed back as it was", "b.bin", "b.bin", std::nullopt},
        EditCase{"blanks typed at the ends", "lead.txt", " lead.txt  ", std::nullopt},
        EditCase{"a blank typed before the name's own", "  lead.txt", "   lead.txt", std::nullopt},
        EditCase{"replaced, typed blanks dropped", "b.bin", "  renamed.bin ", "renamed.bin"},
        EditCase{"the name's own blanks stay", "  lead.txt", "  load.txt", "  load.txt"},
        EditCase{"a new end", "  lead.txt", "  lead.md", "  lead.md"},
        EditCase{"the unknown byte kept", "caf\xe9.txt", QString("caf") + Unknown + ".md",
                 "caf\xe9.md"},
        EditCase{"the unknown byte replaced", "caf\xe9.txt", QString::fromUtf8("café.txt"),
                 "caf\xc3\xa9.txt"},
        EditCase{"two unknown bytes kept", "\xff\xfe raw.bin",
                 QString(Unknown) + Unknown + " cooked.bin", "\xff\xfe cooked.bin"},
        EditCase{"wide characters", "\xf0\x9f\x98\x80.txt",
                 QString::fromUtf8("\xf0\x9f\x98\x80\xf0\x9f\x98\x81.txt"),
                 "\xf0\x9f\x98\x80\xf0\x9f\x98\x81.txt"},
        EditCase{"all erased", "one", "", ""}, EditCase{"only blanks", "one", "   ", ""}));

} // namespace
} // namespace quarn::test
