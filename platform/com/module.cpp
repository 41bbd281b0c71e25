#include "platform/com/module.h"

#include "platform/com/registrar.h"

#include <dlfcn.h>

#include <filesystem>
#include <utility>

namespace com {

namespace {

// Creates objects of one class for the module; holds the module while
// LockServer asks it to.
class ClassFactory final : public IClassFactory {
public:
    ClassFactory(Module& module, std::function<ComPtr<IDispatch>()> create)
        : module_(module), create_(std::move(create)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
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

    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IDispatch> instance = create_();
        return instance->QueryInterface(iid, object);
    }

    HRESULT LockServer(bool lock) override
    {
        lock ? module_.lock() : module_.unlock();
        return S_OK;
    }

private:
    ~ClassFactory() = default;

    Module& module_;
    std::function<ComPtr<IDispatch>()> create_;
    std::atomic<std::uint32_t> references_{0};
};

HRESULT FromStatus(winreg::Status status) { return HResultFromWin32(std::uint32_t(status)); }

} // namespace

Module::Module(std::vector<CreatableClass> classes, std::string script)
    : classes_(std::move(classes)), script_(std::move(script))
{
}

HRESULT Module::getClassObject(const CLSID& clsid, const IID& iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const auto& creatable : classes_) {
        if (creatable.clsid != clsid) continue;
        ComPtr<IClassFactory> factory(new ClassFactory(*this, creatable.create));
        return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT Module::canUnloadNow() const { return locks_ == 0 ? S_OK : S_FALSE; }

HRESULT Module::registerServer(const std::string& modulePath) const
{
    const auto script = ParseRegistrarScript(script_, modulePath);
    if (!script.error.empty()) return E_UNEXPECTED;
    return FromStatus(ApplyRegistration(script.entries));
}

HRESULT Module::unregisterServer(const std::string& modulePath) const
{
    const auto script = ParseRegistrarScript(script_, modulePath);
    if (!script.error.empty()) return E_UNEXPECTED;
    return FromStatus(RemoveRegistration(script.entries));
}

std::string ModulePathOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return {};
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(info.dli_fname, ignored);
    return absolute.empty() ? std::string(info.dli_fname) : absolute.lexically_normal().string();
}

} // namespace com
