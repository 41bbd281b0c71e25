#include "app/engine/folder_creation.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/report_entries.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "app/engine/document_creation.h"
#include "app/engine/record_walk.h"
#include "app/engine/runtime_values.h"
#include "app/engine/url_levels.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kOverwrite = 0x4000000;
constexpr int kModeReadWrite = 3;

constexpr const char* kFolderNotSaved = "Folder could not be saved.";
constexpr const char* kCategoryFolderNotSaved = "Category folder could not be saved.";

// Saves a new folder at url; a replacement takes the place of the existing
// one only once it is whole.
void SaveFolder(store::SpsItem& folder, const std::string& url, CreationAttempt attempt)
{
    if (attempt == CreationAttempt::Replacement)
        folder.DataSource().SaveOver(url);
    else
        folder.DataSource().SaveTo(url, kModeReadWrite, kOverwrite);
}

void SetRoleList(store::SpsFolder& folder, int role, const com::Variant& accounts)
{
    switch (role) {
    case 0: folder.setReaders(accounts); break;
    case 1: folder.setAuthors(accounts); break;
    default: folder.setCoordinators(accounts); break;
    }
}

// Places each source role's list on the destination role the mapping names,
// in the order readers, authors, coordinators: of two source roles mapped to
// one destination role the later one stands.
void ApplyRoleMapping(ErrorTrap& trap, store::SpsFolder& folder, const RoleMapping& mapping,
                      const std::array<const com::Variant*, 3>& sourceLists)
{
    for (std::size_t sourceRole = 0; sourceRole < sourceLists.size(); ++sourceRole) {
        trap.step([&] {
            if (const auto destinationRole = DestinationRoleIndex(mapping[sourceRole]))
                SetRoleList(folder, *destinationRole, *sourceLists[sourceRole]);
        });
    }
}

// Opens the folder a walk starts from; one that cannot be opened has nothing
// below it to copy.
bool OpenWalkedFolder(ErrorTrap& trap, store::SpsFolder& folder, const std::string& url)
{
    bool opened = false;
    trap.step([&] {
        folder.DataSource().Open(url, 0, -1);
        opened = true;
    });
    return opened;
}

void CopyDocumentsOf(ErrorTrap& trap, const store::SpsFolder& folder, const std::string& source,
                     const std::string& destination)
{
    ado::Recordset items = trap.value([&] { return folder.Items(); }, EmptyRecordset());
    for (; !AtEnd(trap, items); MoveNext(trap, items)) {
        const std::string name = RowName(trap, items);
        trap.step([&] { CreateDocument(source, destination, name); });
    }
}

void WalkCategoryTree(ErrorTrap& trap, const std::string& source, const std::string& destination)
{
    store::SpsCategoryFolder folder;
    if (!OpenWalkedFolder(trap, folder, source)) return;

    ado::Recordset subfolders = trap.value([&] { return folder.Subfolders(); }, EmptyRecordset());
    for (; !AtEnd(trap, subfolders); MoveNext(trap, subfolders)) {
        const std::string name = RowName(trap, subfolders);
        trap.step([&] { CreateCatFolder(destination + "/" + name); });
        trap.step([&] { GetChildRecursive(source + "/" + name, destination + "/" + name); });
    }
    if (!gWorkspacesInCart || gReplicateDocuments) CopyDocumentsOf(trap, folder, source, destination);
}

void WalkFolderTree(ErrorTrap& trap, const std::string& source, const std::string& destination)
{
    store::SpsFolder folder;
    folder.setPreOpenFlag(false);
    if (!OpenWalkedFolder(trap, folder, source)) return;

    ado::Recordset subfolders = trap.value([&] { return folder.Subfolders(); }, EmptyRecordset());
    for (; !AtEnd(trap, subfolders); MoveNext(trap, subfolders)) {
        const std::string name = RowName(trap, subfolders);
        const std::string child = source + "/" + name;
        const com::Variant coordinators = trap.value([&] { return CollectAllCoordinatorNames(child); });
        const com::Variant authors = trap.value([&] { return CollectAllAuthorNames(child); });
        const com::Variant readers = trap.value([&] { return CollectAllReaderNames(child); });
        trap.step([&] { CreateSubFolder(child, destination + "/" + name, coordinators, authors, readers); });
        trap.step([&] { GetChildRecursive(child, destination + "/" + name); });
    }
    if (gReplicateDocuments) CopyDocumentsOf(trap, folder, source, destination);
}

} // namespace

void CreateSubFolder(const std::string& source, const std::string& destination, const com::Variant& coordinators,
                     const com::Variant& authors, const com::Variant& readers, CreationAttempt attempt)
{
    bool exists = false;
    bool securityNotSet = false;
    ErrorTrap trap("in CreateSubFolder");
    OnItemExists(trap, attempt, exists);
    trap.on(store::errPermissionDenied)
        .count(gFailedCount)
        .remark(source, destination, " ", "Permission denied to create folder.")
        .leave();
    trap.on(com::E_INVALIDARG).log().then([&] { securityNotSet = true; }).leave();
    trap.on(store::errItemNotFound).leave();

    if (CopyRefused(trap, source, destination, {source, destination, " ", ""}, kFolderNotSaved)) return;
    {
        // The folder's save and its security are flushed together, before its
        // row calls it copied.
        store::WriteScope scope;
        store::SpsFolder sourceFolder;
        store::SpsFolder destinationFolder;
        sourceFolder.setPreOpenFlag(false);
        destinationFolder.setPreOpenFlag(false);
        trap.step([&] { sourceFolder.DataSource().Open(source, 0, -1); });
        trap.step([&] { destinationFolder.setContentClass(sourceFolder.contentClass()); });
        if (gAssignFolderProfiles) trap.step([&] { destinationFolder.setDocumentProfile(sourceFolder.documentProfile()); });
        bool saved = false;
        trap.step([&] {
            SaveFolder(destinationFolder, destination, attempt);
            saved = true;
        });
        if (trap.hasLeft()) return;
        if (!saved && !exists) {
            // The folder is not in the destination: it must not be reported copied.
            ReportFailure({source, destination, " ", kFolderNotSaved});
            return;
        }

        if (!exists) {
            if (!gAssignFolderSecurity) {
                trap.step([&] { destinationFolder.setInheritParentSecurity(true); });
            } else {
                trap.step([&] { destinationFolder.setInheritParentSecurity(false); });
                const RoleMapping mapping = trap.value([] { return RoleMappingDialog().AddDefaultSettings(); });
                ApplyRoleMapping(trap, destinationFolder, mapping, {&readers, &authors, &coordinators});
            }
            trap.step([&] { destinationFolder.DataSource().Save(); });
            if (trap.hasLeft() && !securityNotSet) return;
            const char* remark = securityNotSet ? "Replicated Successfully. Security settings not set." : "Replicated Successfully.";
            ReportWhenDurable(trap, scope, {source, destination, " ", remark}, kFolderNotSaved);
            return;
        }
    }

    if (attempt == CreationAttempt::Replacement) {
        ReportFailure({source, destination, " ", "Existing folder could not be replaced."});
        return;
    }
    trap.step([] { ui::DoEvents(); });
    CreateSubFolder(source, destination, coordinators, authors, readers, CreationAttempt::Replacement);
}

void CreateCatFolder(const std::string& url, CreationAttempt attempt)
{
    bool exists = false;
    ErrorTrap trap("in CreateCatFolder");
    OnItemExists(trap, attempt, exists);
    trap.on(store::errPermissionDenied).count(gFailedCount).leave();

    const ItemRow notSaved{"", url, " ", kCategoryFolderNotSaved};
    if (CopyRefused(trap, "", url, notSaved, kCategoryFolderNotSaved)) return;
    {
        store::WriteScope scope;
        store::SpsCategoryFolder folder;
        bool saved = false;
        trap.step([&] {
            SaveFolder(folder, url, attempt);
            saved = true;
        });
        if (trap.hasLeft()) return;

        if (!exists) {
            // Category folders are counted, without a row of their own, once
            // they are durable; one that is not gets a row of its failure.
            if (saved) trap.step([&] { folder.DataSource().Save(); });
            if (saved && Committed(trap, scope))
                ++gReplicatedCount;
            else
                ReportFailure(notSaved);
            return;
        }
    }

    if (attempt == CreationAttempt::Replacement) {
        ReportFailure({"", url, " ", "Existing category folder could not be replaced."});
        return;
    }
    trap.step([] { ui::DoEvents(); });
    CreateCatFolder(url, CreationAttempt::Replacement);
}

void GetChildRecursive(const std::string& source, const std::string& destination)
{
    ErrorTrap trap("in GetChildRecursive");
    // A walk into its own source would copy what it has just copied, without end.
    if (const CopyRefusal refusal = CheckCopyTarget(source, destination); refusal != CopyRefusal::None) {
        trap.logError(com::E_INVALIDARG, "\"" + destination + "\" cannot take a copy of \"" + source + "\"");
        return;
    }
    if (IsCategoryTree(source))
        WalkCategoryTree(trap, source, destination);
    else
        WalkFolderTree(trap, source, destination);
}

bool IsCategoryTree(const std::string& url)
{
    const std::vector<std::string> parts = SplitText(url, "/");
    return std::any_of(parts.begin(), parts.end(), [](const std::string& part) {
        return net::EqualsIgnoringCase(part, "Categories") || net::EqualsIgnoringCase(part, "Kategorien");
    });
}

std::optional<int> DestinationRoleIndex(const std::string& mappingEntry)
{
    const int role = IntegerFromText(mappingEntry);
    if (role < 0 || role > 2) return std::nullopt;
    return role;
}
