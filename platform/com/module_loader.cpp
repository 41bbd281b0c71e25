#include "platform/com/module_loader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace com {

namespace {

template <class Function>
Function EntryPoint(void* handle, const char* name)
{
    return reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

const ModuleEntryPoints& LoadModule(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, ModuleEntryPoints> loaded;

    std::lock_guard guard(mutex);
    if (auto found = loaded.find(path); found != loaded.end()) return found->second;

    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        throw ComError(CO_E_DLLNOTFOUND, HResultText(CO_E_DLLNOTFOUND) + " (" + (reason ? reason : path) + ")");
    }
    ModuleEntryPoints entries;
    entries.getClassObject = EntryPoint<DllGetClassObjectFunction>(handle, "DllGetClassObject");
    entries.canUnloadNow = EntryPoint<DllCanUnloadNowFunction>(handle, "DllCanUnloadNow");
    entries.registerServer = EntryPoint<DllRegisterServerFunction>(handle, "DllRegisterServer");
    entries.unregisterServer = EntryPoint<DllUnregisterServerFunction>(handle, "DllUnregisterServer");
    return loaded.emplace(path, entries).first->second;
}

} // namespace com
