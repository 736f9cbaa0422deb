#pragma once

#include "namespace/ComBase.h"
#include "namespace/ItemIdList.h"
#include "namespace/ShellConstants.h"

#include <string>

namespace quarn {

// A name result. Names are bytes (the system code page is UTF-8, and file names may be any
// bytes), so the 8-bit kind carries any length; the wide kind exists for callers that hand
// one in.
inline constexpr std::uint32_t STRRET_WSTR = 0;
inline constexpr std::uint32_t STRRET_OFFSET = 1;
inline constexpr std::uint32_t STRRET_CSTR = 2;
struct STRRET {
    std::uint32_t uType = STRRET_CSTR;
    std::uint32_t uOffset = 0; // STRRET_OFFSET: into the item's list
    std::u16string pOleStr;    // STRRET_WSTR
    std::string cStr;          // STRRET_CSTR
};

// One cell of a detail column.
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
struct SHELLDETAILS {
    int fmt = LVCFMT_LEFT;
    int cxChar = 0;
    STRRET str;
};

class IEnumIDList : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x02);
    // Up to count new one-item lists (owned by the caller); S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumIDList** copy) = 0;
};

class IShellFolder : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x03);
    // name: bytes, not wide text, so that any file name parses.
    virtual HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, const std::string& name,
                                     ULONG* eaten, LPITEMIDLIST* list, SFGAOF* attributes) = 0;
    virtual HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) = 0;
    virtual HRESULT BindToObject(LPCITEMIDLIST list, IBindCtx* bindContext, const IID& iid,
                                 void** object) = 0;
    virtual HRESULT BindToStorage(LPCITEMIDLIST list, IBindCtx* bindContext, const IID& iid,
                                  void** object) = 0;
    // column in the low 16 bits of lParam; the order in the low 16 bits of the success code.
    virtual HRESULT CompareIDs(std::intptr_t lParam, LPCITEMIDLIST first, LPCITEMIDLIST second) = 0;
    virtual HRESULT CreateViewObject(HWND owner, const IID& iid, void** object) = 0;
    virtual HRESULT GetAttributesOf(ULONG count, const LPCITEMIDLIST* items,
                                    SFGAOF* attributes) = 0;
    virtual HRESULT GetUIObjectOf(HWND owner, ULONG count, const LPCITEMIDLIST* items,
                                  const IID& iid, ULONG* reserved, void** object) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) = 0;
    virtual HRESULT SetNameOf(HWND owner, LPCITEMIDLIST item, const std::string& name, SHGDNF flags,
                              LPITEMIDLIST* newItem) = 0;
};

class IShellFolder2 : public IShellFolder {
public:
    static constexpr IID Iid = MakeIid(0x04);
    virtual HRESULT GetDefaultColumnState(ULONG column, std::uint32_t* state) = 0;
    // item nil: the column's caption.
    virtual HRESULT GetDetailsOf(LPCITEMIDLIST item, ULONG column, SHELLDETAILS* details) = 0;
};

class IShellDetails : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x05);
    virtual HRESULT GetDetailsOf(LPCITEMIDLIST item, ULONG column, SHELLDETAILS* details) = 0;
    virtual HRESULT ColumnClick(ULONG column) = 0;
};

// Interfaces that other parts of the controls ask folders for. IContextMenu is declared in
// ContextMenu.h; the folders answer E_NOTIMPL for the other two for now.
inline constexpr IID IID_IContextMenu = MakeIid(0x10);
inline constexpr IID IID_IDropTarget = MakeIid(0x11);
inline constexpr IID IID_IDataObject = MakeIid(0x12);

inline constexpr const IID& IID_IUnknown = IUnknown::Iid;
inline constexpr const IID& IID_IShellFolder = IShellFolder::Iid;
inline constexpr const IID& IID_IShellFolder2 = IShellFolder2::Iid;
inline constexpr const IID& IID_IShellDetails = IShellDetails::Iid;

} // namespace quarn
