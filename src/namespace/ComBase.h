#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

namespace quarn {

// Result codes in the shape of COM's: negative is a failure.
using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

inline constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

// A success code whose low 16 bits carry a value, as CompareIDs answers.
inline constexpr HRESULT MakeSuccessCode(std::int16_t value) {
    return static_cast<HRESULT>(static_cast<std::uint16_t>(value));
}
inline constexpr std::int16_t LowWordSigned(HRESULT hr) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(hr & 0xFFFF));
}

// System call failures keep their errno in the low word under a facility of their own.
inline constexpr std::uint32_t FacilityErrno = 0x0E7;
HRESULT HResultFromErrno(int error);
int ErrnoFromHResult(HRESULT hr); // 0 when the code carries no errno
// The system's text for a code, as an error message shows it.
std::string HResultMessage(HRESULT hr);

// Interface identifiers. The values are our own; nothing outside the process reads them.
struct IID {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
    friend bool operator==(const IID&, const IID&) = default;
};
constexpr IID MakeIid(std::uint32_t n) {
    return {0x51A20000 | n, 0x0A7E, 0x4E51, {0xB3, 0x5E, 0x11}};
}

// The owner window of a shell call; the namespace never uses it.
using HWND = void*;
class IBindCtx; // bind contexts are never passed

class IUnknown {
public:
    static constexpr IID Iid = MakeIid(0x00);
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Reference count for an object that implements one or more interfaces. A new object
// holds no reference: whoever hands it out takes the first one.
template <typename... Interfaces> class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG AddRef() override { return ++count_; }
    ULONG Release() override {
        const ULONG count = --count_;
        if (count == 0) {
            delete this;
        }
        return count;
    }

protected:
    ~ComObject() override = default;

private:
    std::atomic<ULONG> count_{0};
};

// Holds one reference of an interface and releases it on every path.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of p.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) {
            p_->AddRef();
        }
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <typename U> ComPtr(const ComPtr<U>& other) : ComPtr(other.get()) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Adopts a reference that the caller already holds.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Gives the held reference to the caller.
    T* Detach() { return std::exchange(p_, nullptr); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) {
            p->Release();
        }
    }
    // For an out parameter that receives a new reference.
    T** Put() {
        reset();
        return &p_;
    }

    // QueryInterface into another holder.
    template <typename U> HRESULT As(ComPtr<U>& out) const {
        out.reset();
        if (!p_) {
            return E_POINTER;
        }
        void* raw = nullptr;
        const HRESULT hr = p_->QueryInterface(U::Iid, &raw);
        if (Succeeded(hr)) {
            out = ComPtr<U>::Attach(static_cast<U*>(raw));
        }
        return hr;
    }

private:
    T* p_ = nullptr;
};

// A new object with its first reference.
template <typename T, typename... Args> ComPtr<T> MakeCom(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// QueryInterface's usual body for an object of one interface: itself for IUnknown and for
// that interface, with a new reference.
template <typename Interface>
HRESULT QueryOwnInterface(Interface* self, const IID& iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!(iid == IUnknown::Iid || iid == Interface::Iid)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = self;
    self->AddRef();
    return S_OK;
}

} // namespace quarn
