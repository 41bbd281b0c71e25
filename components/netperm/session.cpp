#include "components/netperm/session.h"

#include "components/netperm/identities.h"
#include "components/netperm/net_error.h"
#include "components/netperm/network_accounts.h"
#include "platform/net/net_errors.h"
#include "platform/net/sessions.h"
#include "platform/ui/message_box.h"

namespace netperm {

namespace {

constexpr char kSessionUser[] = "UserName";
constexpr char kIpcShare[] = "IPC$";

void AskToCloseConnections()
{
    ui::MsgBox("Please close the existing connections using windows explorer...", ui::vbInformation, "Quillon");
}

} // namespace

void EstablishSession(const std::string& name, int nameType)
{
    const std::string computer = nameType == DOMAIN ? DomainControllerOf(name) : name;
    const std::string target = "\\\\" + computer + "\\" + kIpcShare;
    const auto connect = [&] { return NetCall([&] { return net::AddConnection(target, kSessionUser, true); }); };

    long result = connect();
    bool cancelledOnce = false;
    for (;;) {
        switch (result) {
        case 0:
        case net::ERROR_BAD_NET_NAME: return;
        case net::ERROR_SESSION_CREDENTIAL_CONFLICT:
            if (!cancelledOnce) {
                cancelledOnce = true;
                result = NetCall([&] { return net::CancelConnection(target); });
                if (result == 0) result = connect();
                continue;
            }
            AskToCloseConnections();
            net::ShowDisconnectDialog();
            return;
        case net::ERROR_NOT_CONNECTED: AskToCloseConnections(); return;
        default: FailWithNetError(result);
        }
    }
}

} // namespace netperm
