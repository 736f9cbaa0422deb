// The one reading of a folder's enumerator and the codes that end it.
#include "shell/idlist/FolderEnumeration.h"

#include "CaseNames.h"
#include "ShellTestSupport.h"
#include "shell/common/ShellErrors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

enum class Ending { Normally, Silently, WithTheSystemsText };

struct EndCase {
    const char* name;
    HRESULT answer;
    Ending ending;
};

void PrintTo(const EndCase& param, std::ostream* out) {
    *out << param.name;
}

class EnumerationEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(EnumerationEnd, EndsTheReadingOrRaises) {
    const EndCase& c = GetParam();
    auto items = MakeCom<ScriptedListing>(std::vector<std::string>{"a", "b"}, c.answer);
    std::vector<std::string> taken;
    const HRESULT end =
        EnumerateItems(*items.get(), [&](PidlPtr item) { taken.push_back(ListText(item.get())); });
    EXPECT_EQ(end, c.answer);
    EXPECT_EQ(taken, (std::vector<std::string>{ListText(MakeList({"a"}).get()),
                                               ListText(MakeList({"b"}).get())}));
    EXPECT_EQ(IsEnumerationEnd(end), c.ending == Ending::Normally);
    switch (c.ending) {
    case Ending::Normally:
        EXPECT_NO_THROW(CheckEnumerationEnd(end));
        break;
    case Ending::Silently:
        EXPECT_THROW(CheckEnumerationEnd(end), EAbort);
        break;
    case Ending::WithTheSystemsText:
        try {
            CheckEnumerationEnd(end);
            ADD_FAILURE() << "no error raised";
        } catch (const EAbort&) {
            ADD_FAILURE() << "raised silently";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), HResultMessage(end));
        }
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, EnumerationEnd,
                         ::testing::Values(EndCase{"SFalse", S_FALSE, Ending::Normally},
                                           EndCase{"NoMoreItems", NoMoreItems, Ending::Normally},
                                           EndCase{"EFail", E_FAIL, Ending::Silently},
                                           EndCase{"ReadError", HResultFromErrno(EIO),
                                                   Ending::WithTheSystemsText},
                                           EndCase{"OtherSuccess", 2, Ending::WithTheSystemsText}),
                         CaseName());

TEST(EnumerateItems, AnExceptionOfTheTakerEndsTheReading) {
    auto items = MakeCom<ScriptedListing>(std::vector<std::string>{"a", "b", "c"}, S_FALSE);
    int taken = 0;
    EXPECT_THROW(EnumerateItems(*items.get(),
                                [&](PidlPtr) {
                                    if (++taken == 2) {
                                        throw EAbort();
                                    }
                                }),
                 EAbort);
    EXPECT_EQ(items->calls, 2) << "nothing is read after the item that failed";
}

} // namespace
} // namespace quarn::test
