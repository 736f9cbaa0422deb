#include "shell/idlist/ShellLocator.h"

#include "namespace/Namespace.h"
#include "shell/common/MemoryStream.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"

#include <vector>

namespace quarn {

namespace {

constexpr std::uint8_t NoCsidl = CSIDL_NONE;

} // namespace

TSCShellLocator::~TSCShellLocator() {
    FreePidl(pidl_);
}

void TSCShellLocator::ReplacePidl(LPITEMIDLIST list) {
    FreePidl(pidl_);
    pidl_ = list;
}

void TSCShellLocator::Changed() {
    if (OnChange) {
        OnChange(*this);
    }
}

LPCITEMIDLIST TSCShellLocator::GetPidl() {
    if (kind_ == KindPidl) {
        return pidl_;
    }
    if (kind_ == KindSpecialFolder && pidl_ == nullptr) {
        LPITEMIDLIST list = nullptr;
        if (Succeeded(SHGetSpecialFolderLocation(nullptr, csidl_, &list))) {
            pidl_ = list;
        }
    }
    return kind_ == KindSpecialFolder ? pidl_ : nullptr;
}

void TSCShellLocator::SetPidl(LPCITEMIDLIST list) {
    const bool wasSpecial = kind_ != KindPidl;
    kind_ = KindPidl;
    bool changed = wasSpecial;
    if (pidl_) {
        const int order = ComparePidls(pidl_, list);
        changed = changed || (order != 0 && order != ComparePidlsFailed);
    } else {
        changed = changed || (list != nullptr && HasItems(list));
    }
    // The copy comes first: list may be the locator's own.
    LPITEMIDLIST copy = list && PidlSize(list) > 2 ? DuplicatePidl(nullptr, list) : nullptr;
    ReplacePidl(copy);
    csidl_ = NoCsidl;
    if (changed) {
        Changed();
    }
}

std::string TSCShellLocator::GetPath() {
    return PidlToPath(GetPidl());
}

void TSCShellLocator::SetPath(const std::string& path) {
    LPITEMIDLIST parsed = nullptr;
    if (Failed(PathToPidl(path, parsed))) {
        SetPidl(nullptr);
        return;
    }
    const PidlPtr owned(parsed);
    SetPidl(parsed);
}

bool TSCShellLocator::IsEqual(const TSCShellLocator& other) const {
    if (kind_ != other.kind_) {
        return false;
    }
    if (this == &other) {
        return true;
    }
    if (kind_ == KindPidl) {
        return ComparePidls(pidl_, other.pidl_) == 0;
    }
    return kind_ == KindSpecialFolder && csidl_ == other.csidl_;
}

void TSCShellLocator::CopyLocator(const TSCShellLocator* source) {
    if (source == nullptr) {
        if (pidl_) {
            ReplacePidl(nullptr);
            kind_ = KindPidl;
            Changed();
        }
        return;
    }
    if (IsEqual(*source)) {
        return;
    }
    kind_ = source->kind_;
    if (kind_ == KindPidl) {
        ReplacePidl(DuplicatePidl(nullptr, source->pidl_));
    } else {
        ReplacePidl(nullptr);
        csidl_ = source->csidl_;
    }
    Changed();
}

void TSCShellLocator::WritePidl(TMemoryStream& stream) const {
    stream.Write(&kind_, 1);
    if (kind_ != KindPidl) {
        stream.Write(&csidl_, 1);
        return;
    }
    const auto size = static_cast<std::uint32_t>(PidlSize(pidl_));
    const std::uint8_t count[4] = {
        static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
        static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
    stream.Write(count, 4);
    stream.Write(pidl_, size);
}

// The whole block is read and checked before anything changes.
void TSCShellLocator::ReadPidl(TMemoryStream& stream) {
    std::uint8_t kind = 0;
    stream.ReadBuffer(&kind, 1);
    if (kind != KindPidl) {
        std::uint8_t csidl = 0;
        stream.ReadBuffer(&csidl, 1);
        ReplacePidl(nullptr);
        kind_ = KindSpecialFolder;
        csidl_ = csidl;
        return;
    }
    std::uint8_t countBytes[4] = {};
    stream.ReadBuffer(countBytes, 4);
    const std::uint32_t count = countBytes[0] | (countBytes[1] << 8) | (countBytes[2] << 16) |
                                (static_cast<std::uint32_t>(countBytes[3]) << 24);
    if (count == 0) {
        ReplacePidl(nullptr);
        kind_ = KindSpecialFolder;
        csidl_ = CSIDL_DESKTOP;
        return;
    }
    if (count < 2 || count > stream.Remaining()) {
        throw EReadError(count < 2 ? "Invalid item-ID list" : "Stream read error");
    }
    std::vector<std::uint8_t> bytes(count);
    stream.ReadBuffer(bytes.data(), count);
    if (!IsWellFormedList(bytes)) {
        throw EReadError("Invalid item-ID list");
    }
    LPITEMIDLIST list = AllocPidl(count);
    if (list == nullptr) {
        throw EReadError("Invalid item-ID list");
    }
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(list));
    ReplacePidl(list);
    kind_ = KindPidl;
}

} // namespace quarn
