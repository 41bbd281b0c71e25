#pragma once
// Late binding for the program: create a component object by its ProgID and
// call its members by name.
//
//   com::Object reg = com::CreateObject("Vornik.Registry");
//   reg.put("ComputerName", server);
//   com::Object key = reg.get("HKeyLocalMachine", "SOFTWARE\\Microsoft\\SharePoint Portal Server");
//   std::string path = key.get("StringValue", "InstallPath").get("ValueData").toString();
//
// Every failure throws ComError with the error number and the error object's
// description (or the number's standard text when the member gave none).

#include "platform/com/dispatch.h"

#include <string_view>
#include <utility>
#include <vector>

namespace com {

class Value;

class Object {
public:
    // An empty reference ("Nothing"): every call on it fails.
    Object() = default;
    explicit Object(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}
    // The object a member returned. Empty or Nothing give an empty Object;
    // any other non-object value throws CTL_E_OBJECTREQUIRED.
    Object(const Variant& value);

    template <class... Args>
    Value get(std::string_view name, Args&&... args) const;
    // The last argument is the new value.
    template <class... Args>
    void put(std::string_view name, Args&&... args) const;
    template <class... Args>
    Value call(std::string_view name, Args&&... args) const;

    Value invoke(std::string_view name, std::uint16_t flags, std::vector<Variant> args) const;

    const ComPtr<IDispatch>& dispatch() const { return dispatch_; }
    explicit operator bool() const { return static_cast<bool>(dispatch_); }

private:
    ComPtr<IDispatch> dispatch_;
};

// A member's result: a Variant that can be called on in turn when it holds
// an object, so that calls chain.
class Value : public Variant {
public:
    Value() = default;
    Value(Variant value) : Variant(std::move(value)) {}

    template <class... Args>
    Value get(std::string_view name, Args&&... args) const
    {
        return com::Object(*this).get(name, std::forward<Args>(args)...);
    }
    template <class... Args>
    void put(std::string_view name, Args&&... args) const
    {
        com::Object(*this).put(name, std::forward<Args>(args)...);
    }
    template <class... Args>
    Value call(std::string_view name, Args&&... args) const
    {
        return com::Object(*this).call(name, std::forward<Args>(args)...);
    }
};

template <class... Args>
Value Object::get(std::string_view name, Args&&... args) const
{
    return invoke(name, DISPATCH_PROPERTYGET, {Variant(std::forward<Args>(args))...});
}

template <class... Args>
void Object::put(std::string_view name, Args&&... args) const
{
    invoke(name, DISPATCH_PROPERTYPUT, {Variant(std::forward<Args>(args))...});
}

template <class... Args>
Value Object::call(std::string_view name, Args&&... args) const
{
    return invoke(name, DISPATCH_METHOD, {Variant(std::forward<Args>(args))...});
}

// Creates an object of the class registered for progid in the local host's
// HKEY_CLASSES_ROOT, loading the module that serves it. Throws
// CO_E_CLASSSTRING ("Invalid class string") for an unknown ProgID,
// REGDB_E_CLASSNOTREG when the class has no module registered,
// CO_E_DLLNOTFOUND when the module cannot be loaded, CO_E_ERRORINDLL when it
// lacks DllGetClassObject, and the module's own error otherwise.
Object CreateObject(std::string_view progid);

} // namespace com
