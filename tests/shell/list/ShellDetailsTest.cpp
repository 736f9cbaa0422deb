// Finding a folder's detail columns, and the adapter over IShellFolder2.
#include "shell/list/ShellDetails.h"

#include "ShellTestSupport.h"
#include "shell/idlist/ShellFolders.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

int ColumnsOffered(IShellDetails* details) {
    int column = 0;
    SHELLDETAILS cell;
    while (Succeeded(details->GetDetailsOf(nullptr, static_cast<ULONG>(column), &cell))) {
        ++column;
    }
    return column;
}

TEST(ShellDetails, TheAdapterOffersTheLeadingColumnsShownByDefault) {
    const auto folder = MakeCom<FakeFolder>();
    folder->columnCount = 6;
    folder->columnStates = {SHCOLSTATE_ONBYDEFAULT, SHCOLSTATE_ONBYDEFAULT, 0x1,
                            SHCOLSTATE_ONBYDEFAULT};
    const int before = folder->references();
    {
        const ComPtr<IShellDetails> details = GetShellDetails(folder.get());
        ASSERT_TRUE(details);
        EXPECT_EQ(ColumnsOffered(details.get()), 2);
        SHELLDETAILS cell;
        EXPECT_EQ(details->GetDetailsOf(nullptr, 2, &cell), E_INVALIDARG);
        // A column whose state cannot be read is asked for anyway.
        EXPECT_EQ(details->GetDetailsOf(nullptr, 4, &cell), S_OK);
        EXPECT_EQ(details->ColumnClick(0), E_NOTIMPL);
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(details.As(unknown), S_OK);
        ComPtr<IShellFolder> notOffered;
        EXPECT_EQ(details.As(notOffered), E_NOINTERFACE);
        EXPECT_EQ(folder->references(), before + 1); // the adapter's own reference
    }
    EXPECT_EQ(folder->references(), before);
}

TEST(ShellDetails, WithoutAFirstColumnTheFoldersOwnThenTheViewObjects) {
    const auto own = MakeCom<FakeDetails>();
    const auto view = MakeCom<FakeDetails>();
    const auto folder = MakeCom<FakeFolder>();
    folder->ownDetails = own.get();
    folder->viewDetails = view.get();
    EXPECT_EQ(GetShellDetails(folder.get()).get(), own.get());
    folder->ownDetails = nullptr;
    EXPECT_EQ(GetShellDetails(folder.get()).get(), view.get());
    folder->viewDetails = nullptr;
    EXPECT_FALSE(GetShellDetails(folder.get()));
}

TEST(ShellDetails, AFolderWithoutFolder2AsksOnlyItsViewObject) {
    const auto own = MakeCom<FakeDetails>();
    const auto view = MakeCom<FakeDetails>();
    const auto folder = MakeCom<FakeFolder>();
    folder->answersFolder2 = false;
    folder->columnCount = 3;
    folder->ownDetails = own.get();
    EXPECT_FALSE(GetShellDetails(folder.get()));
    folder->viewDetails = view.get();
    EXPECT_EQ(GetShellDetails(folder.get()).get(), view.get());
}

TEST(ShellDetails, OurFoldersHaveNoneSoTheListUsesItsOwnColumns) {
    ComPtr<IShellFolder> desktop;
    ASSERT_EQ(GetDesktopFolder(desktop), S_OK);
    EXPECT_FALSE(GetShellDetails(desktop.get()));
}

} // namespace
} // namespace quarn::test
