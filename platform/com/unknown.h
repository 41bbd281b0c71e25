#pragma once
// Interface identity and reference counting: the base that every component
// object and every platform object handed across a late-bound call shares.

#include "platform/com/hresult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace com {

struct GUID {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend bool operator==(const GUID&, const GUID&) = default;

    // "{77E98182-6D80-11D3-AE12-008048D7657D}" (braces optional, any case).
    static std::optional<GUID> parse(std::string_view text);
    // Upper-case, with braces, as the registry stores it.
    std::string toString() const;
};

using IID = GUID;
using CLSID = GUID;

// Only for GUIDs written in the source; aborts on a malformed literal.
GUID GuidLiteral(std::string_view text);

extern const IID IID_IUnknown;

class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// Owning pointer to an interface: AddRef on copy, Release on drop.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.get())) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }

    // Adopts a pointer whose reference the caller already owns.
    static ComPtr attach(T* p) { ComPtr c; c.p_ = p; return c; }
    T* detach() { return std::exchange(p_, nullptr); }
    void reset() { if (auto* p = std::exchange(p_, nullptr)) p->Release(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }

    // QueryInterface for another interface; empty when the object lacks it.
    template <class U>
    ComPtr<U> query(const IID& iid) const
    {
        void* out = nullptr;
        if (!p_ || Failed(p_->QueryInterface(iid, &out)) || !out) return {};
        return ComPtr<U>::attach(static_cast<U*>(out));
    }

private:
    T* p_ = nullptr;
};

} // namespace com
