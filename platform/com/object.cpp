#include "platform/com/object.h"

#include "platform/com/class_registry.h"
#include "platform/com/module_loader.h"

#include <string>

namespace com {

namespace {

std::string StandardText(HRESULT number)
{
    auto text = HResultText(number);
    return text.empty() ? "Automation error" : text;
}

[[noreturn]] void Fail(HRESULT number, std::string_view detail = {})
{
    auto text = StandardText(number);
    if (!detail.empty()) text += " (" + std::string(detail) + ")";
    throw ComError(number, text);
}

bool IsNothing(const Variant& value)
{
    const Variant& v = value.deref();
    return v.isEmpty() || (v.isObject() && !v.object());
}

} // namespace

Object::Object(const Variant& value)
{
    if (IsNothing(value)) return;
    dispatch_ = DispatchOf(value);
    if (!dispatch_) Fail(CTL_E_OBJECTREQUIRED);
}

Value Object::invoke(std::string_view name, std::uint16_t flags, std::vector<Variant> args) const
{
    if (!dispatch_) Fail(CTL_E_OBJECTNOTSET);

    DISPID member = 0;
    if (const HRESULT hr = dispatch_->GetIDsOfNames(name, &member); Failed(hr)) Fail(hr, name);

    Variant result;
    ExcepInfo exception;
    std::uint32_t argError = 0;
    const HRESULT hr = dispatch_->Invoke(member, flags, args, &result, &exception, &argError);
    if (hr == DISP_E_EXCEPTION)
        throw ComError(exception.scode,
                       exception.description.empty() ? StandardText(exception.scode) : exception.description);
    if (hr == DISP_E_TYPEMISMATCH) Fail(hr, std::string(name) + ", argument " + std::to_string(argError + 1));
    if (Failed(hr)) Fail(hr, name);
    return Value(std::move(result));
}

Object CreateObject(std::string_view progid)
{
    const auto clsid = CLSIDFromProgID(progid);
    if (!clsid) Fail(CO_E_CLASSSTRING);
    const auto path = InprocServerPath(*clsid);
    if (!path || path->empty()) Fail(REGDB_E_CLASSNOTREG);

    const ModuleEntryPoints& module = LoadModule(*path);
    if (!module.getClassObject) Fail(CO_E_ERRORINDLL, *path);

    void* factoryPointer = nullptr;
    if (const HRESULT hr = module.getClassObject(&*clsid, &IID_IClassFactory, &factoryPointer); Failed(hr))
        Fail(hr, progid);
    auto factory = ComPtr<IClassFactory>::attach(static_cast<IClassFactory*>(factoryPointer));

    void* objectPointer = nullptr;
    if (const HRESULT hr = factory->CreateInstance(nullptr, IID_IDispatch, &objectPointer); Failed(hr))
        Fail(hr, progid);
    return Object(ComPtr<IDispatch>::attach(static_cast<IDispatch*>(objectPointer)));
}

} // namespace com
