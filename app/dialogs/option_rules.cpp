#include "app/dialogs/option_rules.h"

#include "app/engine/url_levels.h"
#include "platform/net/case_fold.h"

#include <algorithm>

namespace {

using enum OptionBox;
using Flag = bool ReplicationOptions::*;

constexpr int kAny = -1;

// A row of the Proceed table: the states of Workspaces, Profiles, Folders and
// Documents (1 checked, 0 unchecked, kAny either) and the flags it sets.
struct ProceedRow {
    int workspaces, profiles, folders, documents;
    std::vector<Flag> flags;
};

const std::vector<ProceedRow>& ProceedTable()
{
    using R = ReplicationOptions;
    static const std::vector<ProceedRow> rows = {
        {1, 1, 1, 1, {&R::replicateWorkspaceContent, &R::replicateFolders, &R::replicateDocuments}},
        {1, 0, 1, 1, {&R::replicateWorkspaceContent, &R::replicateFolders, &R::replicateDocuments, &R::skipWorkspaceProfiles}},
        {1, 1, 1, 0, {&R::replicateWorkspaceContent, &R::replicateFolders}},
        {1, 0, 1, 0, {&R::replicateWorkspaceContent, &R::replicateFolders, &R::skipWorkspaceProfiles}},
        {1, 1, 0, 0, {&R::workspacesWithProfilesOnly}},
        {1, 0, 0, 0, {&R::workspacesOnly}},
        {0, kAny, 1, 1, {&R::replicateFolders, &R::replicateDocuments}},
        {0, kAny, 1, 0, {&R::replicateFolders}},
    };
    return rows;
}

bool Fits(int rowState, bool checked) { return rowState == kAny || rowState == int(checked); }

bool Matches(const ProceedRow& row, const OptionChoices& choices)
{
    return Fits(row.workspaces, choices.isChecked(Workspaces)) && Fits(row.profiles, choices.isChecked(Profiles)) &&
           Fits(row.folders, choices.isChecked(Folders)) && Fits(row.documents, choices.isChecked(Documents));
}

} // namespace

OptionChoices LoadedOptions(bool workspaceEntries, bool folderEntries, bool profilesQueued)
{
    OptionChoices choices;
    if (workspaceEntries) {
        choices.offer(Workspaces, true);
        choices.offer(Profiles, false);
        folderEntries = true;
    }
    if (folderEntries) {
        choices.offer(Folders, false);
        choices.offer(Documents, true);
        choices = AfterClick(choices, Documents);
        for (OptionBox box : {AssignProfiles, AssignFolderSecurity, AssignMetadata, AssignDocumentSecurity})
            choices.offer(box, false);
        choices.detailsEnabled = true;
        choices.state = DocumentState::Publish;
    }
    if (profilesQueued) choices.offer(Profiles, true);
    return choices;
}

OptionChoices AfterClick(OptionChoices choices, OptionBox box)
{
    const auto on = [&](OptionBox b) { return choices.isChecked(b); };
    // Checking a box is a change of its own, with its own rule.
    const auto checkAndCascade = [&](OptionBox target) {
        if (on(target)) return;
        choices.check(target);
        choices = AfterClick(choices, target);
    };
    switch (box) {
    case Workspaces: choices.check(Workspaces); break;
    case Profiles: break;
    case Folders:
        if (on(AssignProfiles) || on(AssignFolderSecurity) || on(Documents)) checkAndCascade(Folders);
        break;
    case Documents:
        if (on(Documents)) checkAndCascade(Folders);
        else if (on(AssignMetadata) || on(AssignDocumentSecurity)) checkAndCascade(Documents);
        break;
    case AssignProfiles:
    case AssignFolderSecurity:
        if (on(box)) checkAndCascade(Folders);
        break;
    case AssignMetadata:
    case AssignDocumentSecurity:
        if (on(box)) checkAndCascade(Documents);
        break;
    }
    return choices;
}

ProceedResult ProceedOptions(const OptionChoices& choices)
{
    ProceedResult result;
    ReplicationOptions& options = result.options;
    options.copyProfilePairs = choices.isChecked(Profiles);
    const auto row = std::find_if(ProceedTable().begin(), ProceedTable().end(),
                                  [&](const ProceedRow& r) { return Matches(r, choices); });
    if (row != ProceedTable().end())
        for (Flag flag : row->flags) options.*flag = true;

    if (choices.isChecked(Folders)) {
        options.assignFolderProfiles = choices.isChecked(AssignProfiles);
        options.assignFolderSecurity = choices.isChecked(AssignFolderSecurity);
    }
    if (choices.isChecked(Documents)) {
        options.assignDocumentMetadata = choices.isChecked(AssignMetadata);
        options.assignDocumentSecurity = choices.isChecked(AssignDocumentSecurity);
        switch (choices.state) {
        case DocumentState::CheckIn: options.docStateCheckIn = true; break;
        case DocumentState::Publish: options.docStatePublish = true; break;
        case DocumentState::AsInSource: options.docStateAsInSource = true; break;
        case DocumentState::CheckOut: break;
        case DocumentState::None: result.documentStateMissing = true; break;
        }
    }
    return result;
}

std::vector<WorkspacePair> DistinctWorkspacePairs(const std::vector<std::string>& sources,
                                                  const std::vector<std::string>& destinations,
                                                  const std::vector<std::string>& types)
{
    std::vector<WorkspacePair> pairs;
    const std::size_t count = std::min({sources.size(), destinations.size(), types.size()});
    for (std::size_t i = 0; i < count; ++i) {
        if (!net::EqualsIgnoringCase(types[i], "3")) continue;
        WorkspacePair pair{ExtractWorkspaceName(sources[i]), ExtractWorkspaceName(destinations[i])};
        const bool known = std::any_of(pairs.begin(), pairs.end(), [&](const WorkspacePair& p) {
            return net::EqualsIgnoringCase(p.source, pair.source) &&
                   net::EqualsIgnoringCase(p.destination, pair.destination);
        });
        if (!known) pairs.push_back(std::move(pair));
    }
    return pairs;
}
