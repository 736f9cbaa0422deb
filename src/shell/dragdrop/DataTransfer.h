#pragma once

#include "namespace/ComBase.h"
#include "namespace/ShellFolder.h"
#include "shell/dragdrop/DropEffects.h"

#include <cstdint>
#include <string>

namespace quarn {

// Clipboard formats: the predefined file list and the numbers that names are registered as.
using CLIPFORMAT = std::uint16_t;
inline constexpr CLIPFORMAT CF_HDROP = 15;
inline constexpr char CFSTR_SHELLIDLIST[] = "Shell IDList Array";
// The same name always answers the same number, from 0xC000 up.
CLIPFORMAT RegisterClipboardFormat(const std::string& name);
// "Shell IDList Array", registered on first use.
CLIPFORMAT ShellIdListFormat();

inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD TYMED_NULL = 0;
inline constexpr DWORD TYMED_HGLOBAL = 1;
inline constexpr DWORD DATADIR_GET = 1;
inline constexpr DWORD DATADIR_SET = 2;

inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064);
inline constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003);
inline constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
inline constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;

// A target device record: its first four bytes hold its own size.
struct DVTARGETDEVICE {
    std::uint32_t tdSize = 0;
};

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    std::int32_t lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};

// A memory block handed from a data object to its reader, who owns it.
struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    std::string hGlobal;
    IUnknown* pUnkForRelease = nullptr;
};

struct POINTL {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class IEnumFORMATETC : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x30);
    virtual HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** copy) = 0;
};

class IDataObject : public IUnknown {
public:
    static constexpr IID Iid = IID_IDataObject;
    virtual HRESULT GetData(const FORMATETC& format, STGMEDIUM* medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC& format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC& format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC& format, FORMATETC* canonical) = 0;
    virtual HRESULT SetData(const FORMATETC& format, STGMEDIUM* medium, bool release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) = 0;
    virtual HRESULT DAdvise(const FORMATETC& format, DWORD flags, IUnknown* sink,
                            DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IUnknown** advises) = 0;
};

class IDropSource : public IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x31);
    virtual HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) = 0;
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

// point: in screen coordinates.
class IDropTarget : public IUnknown {
public:
    static constexpr IID Iid = IID_IDropTarget;
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
};

} // namespace quarn
