// regsvr [-u] <module>
// Calls the module's DllRegisterServer (or, with -u, DllUnregisterServer),
// which writes into (or removes from) the registry of the local host of the
// network root ($TARVEX_NETWORK, else the default root).

#include "platform/com/module_loader.h"
#include "platform/net/network.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr int Succeeded = 0;
constexpr int Failed = 1;
constexpr int Misused = 2;

std::string HexNumber(com::HRESULT number)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

int Run(bool unregister, const std::string& modulePath)
{
    if (!net::NetworkExists()) {
        std::cerr << "regsvr: there is no network at " << net::NetworkRoot().string() << "\n";
        return Failed;
    }

    const com::ModuleEntryPoints* module = nullptr;
    try {
        module = &com::LoadModule(modulePath);
    } catch (const com::ComError& error) {
        std::cerr << "regsvr: " << error.description() << "\n";
        return Failed;
    }

    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const auto entry = unregister ? module->unregisterServer : module->registerServer;
    if (!entry) {
        std::cerr << "regsvr: " << modulePath << " has no entry point " << entryName << "\n";
        return Failed;
    }

    const com::HRESULT result = entry();
    if (com::Failed(result)) {
        std::cerr << "regsvr: " << entryName << " in " << modulePath << " failed: " << HexNumber(result) << " "
                  << com::HResultText(result) << "\n";
        return Failed;
    }
    std::cout << entryName << " in " << modulePath << " succeeded.\n";
    return Succeeded;
}

} // namespace

int main(int argc, char** argv)
{
    const bool unregister = argc == 3 && std::string_view(argv[1]) == "-u";
    if (argc != 2 + (unregister ? 1 : 0) || std::string_view(argv[1]).starts_with('-') != unregister) {
        std::cerr << "usage: regsvr [-u] <module>\n";
        return Misused;
    }
    const auto path = std::filesystem::absolute(argv[argc - 1]).lexically_normal();
    return Run(unregister, path.string());
}
