// The system's texts for the Windows error codes that callers show.

#include "platform/registry/registry.h"

#include <map>

namespace winreg {

std::string SystemMessage(Status code)
{
    static const std::map<Status, std::string> texts = {
        {0, "The operation completed successfully."},
        {2, "The system cannot find the file specified."},
        {3, "The system cannot find the path specified."},
        {5, "Access is denied."},
        {6, "The handle is invalid."},
        {8, "Not enough memory resources are available to process this command."},
        {53, "The network path was not found."},
        {67, "The network name cannot be found."},
        {87, "The parameter is incorrect."},
        {112, "There is not enough space on the disk."},
        {123, "The filename, directory name, or volume label syntax is incorrect."},
        {161, "The specified path is invalid."},
        {234, "More data is available."},
        {259, "No more data is available."},
        {1009, "The configuration registry database is corrupt."},
        {1016, "An I/O operation initiated by the registry failed unrecoverably."},
        {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
        {1021, "Cannot create a stable subkey under a volatile parent key."},
    };
    const auto text = texts.find(code);
    return text == texts.end() ? std::string() : text->second;
}

} // namespace winreg
