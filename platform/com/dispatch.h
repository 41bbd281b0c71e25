#pragma once
// The interfaces through which objects are created and called by member name:
// IDispatch (late binding), ISupportErrorInfo and IClassFactory.

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace com {

using DISPID = std::int32_t;

// What an Invoke asks of a member; a caller may combine method and get, as an
// automation client does for "obj.Member(args)" whose value it uses.
enum DispatchFlags : std::uint16_t {
    DISPATCH_METHOD = 1,
    DISPATCH_PROPERTYGET = 2,
    DISPATCH_PROPERTYPUT = 4,
};

// What a member that failed reports through Invoke (DISP_E_EXCEPTION).
struct ExcepInfo {
    HRESULT scode = S_OK;
    std::string source;
    std::string description;
};

extern const IID IID_IDispatch;
extern const IID IID_ISupportErrorInfo;
extern const IID IID_IClassFactory;

class IDispatch : public IUnknown {
public:
    // The DISPID of a member, its name matched without regard to case;
    // DISP_E_UNKNOWNNAME when there is none.
    virtual HRESULT GetIDsOfNames(std::string_view name, DISPID* member) = 0;

    // Calls a member. args are in the order the caller writes them; for a
    // property put the new value is the last one. An argument the caller
    // leaves out is Variant::Missing() or absent at the end; out arguments
    // are Variant::ByRef. result may be null when the caller ignores it.
    // A member that fails answers DISP_E_EXCEPTION and fills exception;
    // argError receives the index of an argument that does not convert.
    virtual HRESULT Invoke(DISPID member, std::uint16_t flags, const std::vector<Variant>& args, Variant* result,
                           ExcepInfo* exception, std::uint32_t* argError) = 0;

protected:
    ~IDispatch() = default;
};

class ISupportErrorInfo : public IUnknown {
public:
    // S_OK when the object reports errors through the error object on calls
    // of interface iid, else S_FALSE.
    virtual HRESULT InterfaceSupportsErrorInfo(const IID& iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// A Variant holding an object reference through its IDispatch, as member
// results and arguments carry objects.
Variant DispatchVariant(ComPtr<IDispatch> object);
// The IDispatch of a Variant made by DispatchVariant (also through a
// reference); empty for anything else.
ComPtr<IDispatch> DispatchOf(const Variant& value);

} // namespace com
