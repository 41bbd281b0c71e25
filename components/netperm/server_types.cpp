#include "components/netperm/server_types.h"

namespace netperm {

namespace {

constexpr std::uint32_t kWorkstationMask = net::SV_TYPE_WORKSTATION;
constexpr std::uint32_t kAllServersMask = net::SV_TYPE_SERVER;

bool isNt4Or2000(const net::ServerRecord& record) { return record.major == 4 || record.major == 5; }

template <unsigned Major>
bool isServerOf(const net::ServerRecord& record)
{
    return record.major == Major && HasServerBit(record.type);
}

template <unsigned Major>
bool isWorkstationOf(const net::ServerRecord& record)
{
    return record.major == Major && IsWorkstation(record.type);
}

bool keepsEvery(const net::ServerRecord&) { return true; }

std::string windows9x(const net::ServerRecord&) { return "Windows 9x"; }
std::string nt4Workstation(const net::ServerRecord&) { return "Windows NT 4.0 Workstation"; }
std::string nt4Server(const net::ServerRecord&) { return "Windows NT 4.0 Server"; }
std::string windows2000Professional(const net::ServerRecord&) { return "Windows 2000 Professional"; }
std::string windows2000Server(const net::ServerRecord&) { return "Windows 2000 Server"; }

} // namespace

bool HasServerBit(std::uint32_t type)
{
    return (type & ServerBits) != 0;
}

bool IsWorkstation(std::uint32_t type)
{
    return (type & net::SV_TYPE_WORKSTATION) && !HasServerBit(type) && !(type & net::SV_TYPE_WINDOWS);
}

std::optional<ServerSelection> SelectionFor(int serverType)
{
    switch (serverType) {
    case WINDOWS_95OR98: return ServerSelection{net::SV_TYPE_WINDOWS, keepsEvery, windows9x};
    case WINDOWS_NT_WORKSTATION: return ServerSelection{kWorkstationMask, isWorkstationOf<4>, nt4Workstation};
    case WINDOWS_NT_SERVER: return ServerSelection{ServerBits, isServerOf<4>, nt4Server};
    case WINDOWS_2000_PROFESSIONAL: return ServerSelection{kWorkstationMask, isWorkstationOf<5>, windows2000Professional};
    case WINDOWS_2000_SERVER: return ServerSelection{ServerBits, isServerOf<5>, windows2000Server};
    case WINDOWS_ALL: return ServerSelection{kAllServersMask, keepsEvery, ServerLabel};
    case WINDOWS_NT_2000_ALL:
        return ServerSelection{ServerBits | kWorkstationMask,
                               [](const net::ServerRecord& record) {
                                   return isNt4Or2000(record) && (HasServerBit(record.type) || IsWorkstation(record.type));
                               },
                               ServerLabel};
    case WINDOWS_NT_2000_SERVER:
        return ServerSelection{ServerBits,
                               [](const net::ServerRecord& record) { return isNt4Or2000(record) && HasServerBit(record.type); },
                               ServerLabel};
    case WINDOWS_NT_2000_WORKSTATION:
        return ServerSelection{kWorkstationMask,
                               [](const net::ServerRecord& record) { return isNt4Or2000(record) && IsWorkstation(record.type); },
                               ServerLabel};
    default: return std::nullopt;
    }
}

std::string ServerLabel(const net::ServerRecord& record)
{
    const bool server = HasServerBit(record.type);
    const bool workstationBit = record.type & net::SV_TYPE_WORKSTATION;
    if (record.type & net::SV_TYPE_WINDOWS) return windows9x(record);
    if (record.major == 4) return server ? nt4Server(record) : workstationBit ? nt4Workstation(record) : "";
    if (record.major == 5) return server ? windows2000Server(record) : workstationBit ? windows2000Professional(record) : "";
    return "";
}

int OsTypeOf(const net::ServerRecord& record)
{
    const bool server = HasServerBit(record.type);
    const bool workstation = IsWorkstation(record.type);
    int osType = -1;
    if (record.type & net::SV_TYPE_WINDOWS) osType = 0;
    if (record.major == 4 && workstation) osType = 1;
    if (record.major == 4 && server) osType = 2;
    if (record.major == 5 && workstation) osType = 3;
    if (record.major == 5 && server) osType = 4;
    if (record.major == 5 && record.minor == 1 && workstation) osType = 5;
    if (record.major == 5 && record.minor == 1 && server) osType = 6;
    return osType;
}

} // namespace netperm
