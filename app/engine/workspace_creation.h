#pragma once
// Creating a whole workspace in the destination server from the server's own
// workspace template, with the source workspace's role lists.

#include "app/engine/creation_attempt.h"
#include "platform/com/variant.h"

#include <string>

// What became of a workspace creation. When the destination refuses it for
// lack of administrative rights, gAbortWorkspaceCopy is set as well.
enum class WorkspaceOutcome {
    Created,     // the workspace stands, new or replacing an old one
    NotCreated,  // the creation failed (logged)
    NotReplaced, // a workspace of that name exists and could not be replaced
};

WorkspaceOutcome CreateWorkspace(const std::string& url, const com::Variant& coordinators, const com::Variant& authors,
                                 const com::Variant& readers, CreationAttempt attempt = CreationAttempt::First);
// The destination server's template folder "\\SERVER\C$\...\bin\", read from
// its registry through the registry component.
std::string FindSPSInstallationPath(const std::string& server);

// "\\" server "\" the installation folder with its drive's colon turned into
// "$" (the administrative share), then "\bin\": "C:\Program Files\X" on SRV
// gives "\\SRV\C$\Program Files\X\bin\", an empty folder "\\SRV\\bin\".
std::string TemplateFolderPath(const std::string& server, const std::string& installPath);
