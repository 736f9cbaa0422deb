#pragma once

#include "namespace/ShellFolder.h"

#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string>

namespace quarn {

class TSCCustomShellList;

// What one row of the file list knows of its item: the item relative to the list's folder,
// and, built on first use and kept, its absolute list and its display name.
class TSCShListData {
public:
    explicit TSCShListData(TSCCustomShellList* list) : List(list) {}
    TSCShListData(const TSCShListData&) = delete;
    TSCShListData& operator=(const TSCShListData&) = delete;

    // Takes ownership of pidl.
    void SetPidl(LPITEMIDLIST pidl);
    void ResetCache();

    LPCITEMIDLIST RelativePidl() const { return relativePidl_.get(); }
    // The list's current folder joined with the item.
    LPCITEMIDLIST GetAbsolutePidl();
    // Asked of the list's current folder every time.
    SFGAOF GetAttributes();
    bool IsFolder();
    // The name under which the program takes the item: the file's exact name bytes. "" when
    // the shell gave none; then it is asked again next time.
    const std::string& GetDisplayName();
    // "" for items outside the file system.
    std::string GetPath();
    bool CanRename();

    // The text of a detail column: the folder's own details when it has them, else the list's
    // four columns (1 size, 2 type, 3 modified; 0, the name, and others give "").
    std::string GetDetailText(int column, IShellDetails* details = nullptr);
    void ComputeDetailTexts();

    // What the item recorded when it was listed: the size of a file (none for folders and
    // virtual items), and its modification time, or its birth time where that is zero.
    std::optional<std::uint64_t> GetFileSize() const;
    std::optional<QDateTime> GetModifiedTime() const;

    TSCCustomShellList* const List;

private:
    PidlPtr relativePidl_;
    PidlPtr absolutePidl_;
    std::string displayName_;
    bool detailsReady_ = false;
    std::string sizeText_;
    std::string typeText_;
    std::string modifiedText_;
};

} // namespace quarn
