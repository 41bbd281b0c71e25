#pragma once
// The commands of tarvex-net for what network browsing and the share and
// permission component read: domains, server records, shares, accounts,
// permissions and connections, and a listing of all of it.

#include "command_line.h"

#include "platform/net/network.h"

// Sets the server record options of the host command (--os-version, --type,
// --services, --addresses, --comment) on info.
void ApplyServerRecordOptions(const CommandLine& line, net::HostInfo& info);

void DomainCommand(const CommandLine& line);
void ShareCommand(const CommandLine& line);
void AccountCommand(const CommandLine& line);
void AclCommand(const CommandLine& line);
void ConnectCommand(const CommandLine& line);
void DisconnectCommand(const CommandLine& line);
void ShowCommand(const CommandLine& line);

// The usage lines of these commands, and the options among them that take
// no value.
extern const char* const NetworkCommandsUsage;
extern const char* const NetworkCommandFlags[3];
