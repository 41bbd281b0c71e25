#include "components/netperm/net_error.h"

#include "components/netperm/identities.h"
#include "platform/com/class_registry.h"
#include "platform/com/error_info.h"
#include "platform/net/net_errors.h"

namespace netperm {

std::string FormatNetError(long code)
{
    if (code == net::NERR_InvalidComputer) return "This Computer Name is Invalid";
    return net::NetworkErrorText(code);
}

void FailWithNetError(long code)
{
    throw com::IdentifiedError(NetErrorResult(code), FormatNetError(code), SharesIdentity);
}

void FailWithNetError(const com::ComError& failure)
{
    if (const long code = net::ErrorCodeOf(failure)) FailWithNetError(code);
    throw com::IdentifiedError(failure.number(), failure.description(), SharesIdentity);
}

void ReportNetError(const com::ComError& failure)
{
    const long code = net::ErrorCodeOf(failure);
    com::SetErrorInfo(com::ErrorInfo{code ? FormatNetError(code) : failure.description(),
                                     com::ProgIDFromCLSID(SharesIdentity.clsid).value_or(""), SharesIdentity.iid});
}

} // namespace netperm
