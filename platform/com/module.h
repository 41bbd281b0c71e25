#pragma once
// What a component module is to the runtime: its creatable classes, its live
// objects and its registration script. A module keeps one Module and answers
// its four exported entry points through it, defined at namespace scope by
//
//   COM_MODULE_EXPORTS(mycomponent::TheModule())

#include "platform/com/dispatch.h"

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace com {

class Module {
public:
    struct CreatableClass {
        CLSID clsid;
        std::function<ComPtr<IDispatch>()> create;
    };

    // script: the registration script of module.h's companion registrar.h,
    // with %MODULE% standing for the module's path.
    Module(std::vector<CreatableClass> classes, std::string script);

    // A class factory for clsid (CLASS_E_CLASSNOTAVAILABLE for a class the
    // module does not serve), as interface iid.
    HRESULT getClassObject(const CLSID& clsid, const IID& iid, void** object);
    // S_OK when no object of the module is alive and no lock is held, else S_FALSE.
    HRESULT canUnloadNow() const;
    // Writes the script's keys into the local host's registry; on a failure
    // removes what it wrote and returns the failure.
    HRESULT registerServer(const std::string& modulePath) const;
    // Removes what registration writes, leaving everything else.
    HRESULT unregisterServer(const std::string& modulePath) const;

    // Held by every live object and by IClassFactory::LockServer.
    void lock() { ++locks_; }
    void unlock() { --locks_; }
    long lockCount() const { return locks_; }

private:
    std::vector<CreatableClass> classes_;
    std::string script_;
    std::atomic<long> locks_{0};
};

// The path of the loaded file that contains address (a function of the module).
std::string ModulePathOf(const void* address);

// The signatures of the four entry points a module exports.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID*, const IID*, void**);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

} // namespace com

// Defines the four entry points of a component module, each answered by the
// Module that the expression module yields.
#define COM_MODULE_EXPORTS(module)                                                                          \
    extern "C" com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid, void** object) \
    {                                                                                                       \
        if (!clsid || !iid) return com::E_POINTER;                                                          \
        return (module).getClassObject(*clsid, *iid, object);                                               \
    }                                                                                                       \
    extern "C" com::HRESULT DllCanUnloadNow() { return (module).canUnloadNow(); }                          \
    extern "C" com::HRESULT DllRegisterServer()                                                            \
    {                                                                                                       \
        return (module).registerServer(com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer))); \
    }                                                                                                       \
    extern "C" com::HRESULT DllUnregisterServer()                                                          \
    {                                                                                                       \
        return (module).unregisterServer(                                                                   \
            com::ModulePathOf(reinterpret_cast<const void*>(&DllUnregisterServer)));                        \
    }
