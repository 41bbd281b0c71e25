#include "app/core/shared_state.h"

#include "app/core/report_entries.h"

std::string gSelectedSources;
std::string gSelectedDestinations;
std::string gSelectedTypes;
std::string gProfileSources;
std::string gProfileDestinations;
int gReplicationType = 0;

bool gIsSourceConnection = false;
std::string gSourceServerName;
std::string gDestServerName;
std::string gCurrentSourceUrl;
std::string gCurrentDestUrl;
ado::Recordset gSourceWorkspaces;

bool gWorkspacesOnly = false;
bool gWorkspacesWithProfilesOnly = false;
bool gReplicateWorkspaceContent = false;
bool gReplicateFolders = false;
bool gReplicateDocuments = false;
bool gSkipWorkspaceProfiles = false;
bool gCopyProfilePairs = false;
bool gAssignFolderProfiles = false;
bool gAssignFolderSecurity = false;
bool gAssignDocumentMetadata = false;
bool gAssignDocumentSecurity = false;
bool gDocStateCheckIn = false;
bool gDocStatePublish = false;
bool gDocStateAsInSource = false;
bool gOptionsCancelled = false;

bool gCancelImport = false;
bool gCancelAutoDetect = false;

std::string gReportSrc;
std::string gReportDest;
std::string gReportSize;
std::string gReportStatus;
std::string gLogPropertyNames;
std::string gLogPropertyWorkspaces;
std::string gLogPropertyStatus;

std::int32_t gReportItemCount = 0;
std::int32_t gReplicatedCount = 0;
std::int32_t gFailedCount = 0;
std::string gRunStartTime;
std::string gRunEndTime;

double gProgressStep = 0.0;

bool gWorkspacesInCart = false;
bool gAbortWorkspaceCopy = false;
std::string gDomainServerList;
bool gItemsCopied = false;
bool gProfilesCopied = false;
std::string gLanguageSPS;

void ResetSharedStateForTesting()
{
    SettleReportEntries();
    for (std::string* text : {&gSelectedSources, &gSelectedDestinations, &gSelectedTypes, &gProfileSources,
                              &gProfileDestinations, &gSourceServerName, &gDestServerName, &gCurrentSourceUrl,
                              &gCurrentDestUrl, &gReportSrc, &gReportDest, &gReportSize, &gReportStatus,
                              &gLogPropertyNames, &gLogPropertyWorkspaces, &gLogPropertyStatus, &gRunStartTime,
                              &gRunEndTime, &gDomainServerList, &gLanguageSPS})
        text->clear();
    for (bool* flag : {&gIsSourceConnection, &gWorkspacesOnly, &gWorkspacesWithProfilesOnly,
                       &gReplicateWorkspaceContent, &gReplicateFolders, &gReplicateDocuments, &gSkipWorkspaceProfiles,
                       &gCopyProfilePairs, &gAssignFolderProfiles, &gAssignFolderSecurity, &gAssignDocumentMetadata,
                       &gAssignDocumentSecurity, &gDocStateCheckIn, &gDocStatePublish, &gDocStateAsInSource,
                       &gOptionsCancelled, &gCancelImport, &gCancelAutoDetect, &gWorkspacesInCart,
                       &gAbortWorkspaceCopy, &gItemsCopied, &gProfilesCopied})
        *flag = false;
    gReplicationType = 0;
    gSourceWorkspaces = ado::Recordset();
    gReportItemCount = gReplicatedCount = gFailedCount = 0;
    gProgressStep = 0.0;
}
