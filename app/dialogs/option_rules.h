#pragma once
// The rules of the options dialog: which boxes a selection offers, how the
// boxes keep each other consistent, the flags Proceed sets, and the workspace
// pairs whose profiles Proceed offers to copy.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

enum class OptionBox {
    Workspaces,
    Profiles,
    Folders,
    AssignProfiles,       // folders
    AssignFolderSecurity, // folders
    Documents,
    AssignMetadata,         // documents
    AssignDocumentSecurity, // documents
};
inline constexpr std::size_t kOptionBoxCount = 8;

// The document-state buttons; None when no button is selected.
enum class DocumentState { None, AsInSource, CheckOut, CheckIn, Publish };

struct OptionChoices {
    std::array<bool, kOptionBoxCount> enabled{};
    std::array<bool, kOptionBoxCount> checked{};
    bool detailsEnabled = false; // the two assign frames and the document-state buttons
    DocumentState state = DocumentState::Publish;

    bool isEnabled(OptionBox box) const { return enabled[std::size_t(box)]; }
    bool isChecked(OptionBox box) const { return checked[std::size_t(box)]; }
    void offer(OptionBox box, bool on)
    {
        enabled[std::size_t(box)] = true;
        checked[std::size_t(box)] = on;
    }
    void check(OptionBox box, bool on = true) { checked[std::size_t(box)] = on; }
    friend bool operator==(const OptionChoices&, const OptionChoices&) = default;
};

// What the dialog offers when it loads, for a selection that holds
// whole-workspace entries, folder-or-document entries, and queued profile
// pairs: workspaces add Workspaces (checked) and Profiles (unchecked) and
// count as folder entries too; folder entries add Folders and Documents
// (both checked), the assign boxes (unchecked) and the document state
// (Publish); queued pairs check Profiles.
OptionChoices LoadedOptions(bool workspaceEntries, bool folderEntries, bool profilesQueued);

// The boxes after the user set box to its state in choices, with the rules
// applied: Workspaces cannot be unchecked; Folders cannot be unchecked while
// Documents or a folder assign box is checked, nor Documents while a document
// assign box is; checking Documents or a folder assign box checks Folders,
// checking a document assign box checks Documents (and so Folders).
OptionChoices AfterClick(OptionChoices choices, OptionBox box);

// The replication option flags.
struct ReplicationOptions {
    bool workspacesOnly = false;
    bool workspacesWithProfilesOnly = false;
    bool replicateWorkspaceContent = false;
    bool replicateFolders = false;
    bool replicateDocuments = false;
    bool skipWorkspaceProfiles = false;
    bool copyProfilePairs = false;
    bool assignFolderProfiles = false;
    bool assignFolderSecurity = false;
    bool assignDocumentMetadata = false;
    bool assignDocumentSecurity = false;
    bool docStateCheckIn = false;
    bool docStatePublish = false;
    bool docStateAsInSource = false;
    friend bool operator==(const ReplicationOptions&, const ReplicationOptions&) = default;
};

struct ProceedResult {
    ReplicationOptions options;
    // Documents are to be copied but no document state is chosen: the
    // dialog refuses to proceed.
    bool documentStateMissing = false;
};

// The flags that Proceed sets from the boxes and the document state.
ProceedResult ProceedOptions(const OptionChoices& choices);

// A source workspace and the destination workspace its profiles go to.
struct WorkspacePair {
    std::string source;
    std::string destination;
    friend bool operator==(const WorkspacePair&, const WorkspacePair&) = default;
};

// The distinct workspace pairs of the selection's folder-or-document entries
// (type "3"), in order; two pairs are the same when both workspaces are, in
// any letter case. Entries past the end of a shorter list are left out.
std::vector<WorkspacePair> DistinctWorkspacePairs(const std::vector<std::string>& sources,
                                                  const std::vector<std::string>& destinations,
                                                  const std::vector<std::string>& types);
