#pragma once
// The base of every component class: reference counting, the module's live
// object count, QueryInterface for IUnknown, IDispatch, ISupportErrorInfo and
// the class's own interface, and late binding through the class's table.
//
// A class T derives from DispatchObject<T> and provides
//   static const DispatchTable<T>& Members();
//   static const ClassIdentity& Identity();   // its CLSID and own interface IID

#include "platform/com/dispatch_table.h"
#include "platform/com/module.h"

#include <atomic>
#include <utility>

namespace com {

template <class T>
class DispatchObject : public IDispatch, public ISupportErrorInfo {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == T::Identity().iid)
            *object = static_cast<IDispatch*>(this);
        else if (iid == IID_ISupportErrorInfo)
            *object = static_cast<ISupportErrorInfo*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    std::uint32_t AddRef() override { return ++references_; }

    std::uint32_t Release() override
    {
        const std::uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT GetIDsOfNames(std::string_view name, DISPID* member) override
    {
        return member ? T::Members().idOf(name, member) : E_POINTER;
    }

    HRESULT Invoke(DISPID member, std::uint16_t flags, const std::vector<Variant>& args, Variant* result,
                   ExcepInfo* exception, std::uint32_t* argError) override
    {
        return T::Members().invoke(static_cast<T&>(*this), T::Identity(), member, flags, args, result, exception,
                                   argError);
    }

    HRESULT InterfaceSupportsErrorInfo(const IID& iid) override
    {
        return iid == T::Identity().iid ? S_OK : S_FALSE;
    }

protected:
    explicit DispatchObject(Module& module) : module_(module) { module_.lock(); }
    virtual ~DispatchObject() { module_.unlock(); }

private:
    Module& module_;
    std::atomic<std::uint32_t> references_{0};
};

// A new object of a component class, held by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

} // namespace com
