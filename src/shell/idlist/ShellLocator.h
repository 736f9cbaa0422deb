#pragma once

#include "namespace/ItemIdList.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quarn {

class TMemoryStream;

// A persistent reference to one folder of the namespace: an absolute item-ID list or a
// special-folder number. A new locator is the desktop. Every change is told to OnChange,
// after the new value is in place.
class TSCShellLocator {
public:
    static constexpr std::uint8_t KindPidl = 0;
    static constexpr std::uint8_t KindSpecialFolder = 1;

    TSCShellLocator() = default;
    ~TSCShellLocator();
    TSCShellLocator(const TSCShellLocator&) = delete;
    TSCShellLocator& operator=(const TSCShellLocator&) = delete;

    // Owned by the locator; nil is the desktop. A special folder's list is fetched once.
    LPCITEMIDLIST GetPidl();
    // list is borrowed: the locator keeps its own copy, so it may be the locator's own.
    void SetPidl(LPCITEMIDLIST list);
    void Reset() { SetPidl(nullptr); }
    std::string GetPath();
    // A path that does not parse sets the desktop.
    void SetPath(const std::string& path);
    bool IsEqual(const TSCShellLocator& other) const;
    void CopyLocator(const TSCShellLocator* source);

    // The "Pidl" property: written only when HasPidlData. ReadPidl refuses a block that ends
    // early or whose list is malformed with EReadError and then leaves the locator as it was;
    // it never fires OnChange.
    bool HasPidlData() const { return pidl_ != nullptr || kind_ == KindSpecialFolder; }
    void WritePidl(TMemoryStream& stream) const;
    void ReadPidl(TMemoryStream& stream);

    std::uint8_t Kind() const { return kind_; }
    std::uint8_t Csidl() const { return csidl_; }

    std::function<void(TSCShellLocator&)> OnChange;
    void Changed(); // calls OnChange when it is set

private:
    void ReplacePidl(LPITEMIDLIST list);

    std::uint8_t kind_ = KindPidl;
    LPITEMIDLIST pidl_ = nullptr;
    std::uint8_t csidl_ = 0;
};

} // namespace quarn
