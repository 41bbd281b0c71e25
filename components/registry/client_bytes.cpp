#include "components/registry/client_bytes.h"

#include "components/registry/component_log.h"

namespace vornik {

std::optional<Bytes> ClientBytes(const com::Variant& value)
{
    auto conversion = BytesOfArray(value);
    switch (conversion.problem) {
    case ArrayProblem::None: return std::move(conversion.bytes);
    case ArrayProblem::UnreadableElement: WriteComponentLog("SafeArrayAccessData Failed"); break;
    case ArrayProblem::NotAnArray: break;
    }
    return std::nullopt;
}

} // namespace vornik
