#pragma once
// State that the start-up, the main window, the dialogs and the replication
// engine share: the selection, the connection state, the run's option and
// cancel flags, the report accumulators and counters, and the run's times.

#include "platform/ado/recordset.h"

#include <cstdint>
#include <string>

// The selection (cart): three index-parallel lists. Each source URL is
// followed by "|", each destination folder URL by "=", each replication type
// code by "~".
extern std::string gSelectedSources;
extern std::string gSelectedDestinations;
extern std::string gSelectedTypes;

// Workspace pairs whose profiles are queued for copying: sources followed by
// "|", destinations by "=".
extern std::string gProfileSources;
extern std::string gProfileDestinations;

// 1 server to server, 2 workspace to server, 3 folder or document level.
extern int gReplicationType;

// Connection state.
extern bool gIsSourceConnection; // the connect dialog serves the source side
extern std::string gSourceServerName;
extern std::string gDestServerName;
extern std::string gCurrentSourceUrl;
extern std::string gCurrentDestUrl;
extern ado::Recordset gSourceWorkspaces;

// Replication options, set by the options dialog when Proceed is pressed.
extern bool gWorkspacesOnly;
extern bool gWorkspacesWithProfilesOnly;
extern bool gReplicateWorkspaceContent;
extern bool gReplicateFolders;
extern bool gReplicateDocuments;
extern bool gSkipWorkspaceProfiles;
extern bool gCopyProfilePairs;
extern bool gAssignFolderProfiles;
extern bool gAssignFolderSecurity;
extern bool gAssignDocumentMetadata;
extern bool gAssignDocumentSecurity;
extern bool gDocStateCheckIn;
extern bool gDocStatePublish;
extern bool gDocStateAsInSource;
extern bool gOptionsCancelled; // the options dialog was left by Cancel

// Cancel flags, set by the progress and discovery dialogs and polled by the
// running operation.
extern bool gCancelImport;
extern bool gCancelAutoDetect;

// Report accumulators: each entry is preceded by its separator, "##" for the
// four item lists and "$$" for the three property-definition lists.
extern std::string gReportSrc;
extern std::string gReportDest;
extern std::string gReportSize;
extern std::string gReportStatus;
extern std::string gLogPropertyNames;
extern std::string gLogPropertyWorkspaces;
extern std::string gLogPropertyStatus;

// Report counters and the run's start and end as general date texts.
extern std::int32_t gReportItemCount;
extern std::int32_t gReplicatedCount;
extern std::int32_t gFailedCount;
extern std::string gRunStartTime;
extern std::string gRunEndTime;

// The amount by which the next progress update advances the bar.
extern double gProgressStep;

extern bool gWorkspacesInCart;    // the selection holds whole-workspace entries
extern bool gAbortWorkspaceCopy;  // the destination refused a workspace creation

// Servers found by network discovery: per domain the names joined by "|",
// each group followed by "=".
extern std::string gDomainServerList;

// Copy marks of the pop-up menus.
extern bool gItemsCopied;
extern bool gProfilesCopied;

// The language of the document-store client on this machine.
extern std::string gLanguageSPS;

// Puts every shared variable back to its initial value.
void ResetSharedStateForTesting();
