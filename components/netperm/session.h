#pragma once
// IPC sessions for CSPShares.

#include <string>

namespace netperm {

// Connects to the IPC$ share of the computer, or of the domain's controller,
// as "UserName" with an empty password, letting the system ask for another
// user. A conflicting connection is cancelled once and the connection tried
// again; when that does not help, the user is asked to close connections.
void EstablishSession(const std::string& name, int nameType);

} // namespace netperm
