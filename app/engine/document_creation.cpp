#include "app/engine/document_creation.h"

#include "app/core/error_trap.h"
#include "app/core/report_entries.h"
#include "app/core/runtime_errors.h"
#include "app/core/shared_state.h"
#include "app/engine/preimport_filter.h"
#include "app/engine/record_walk.h"
#include "app/engine/runtime_values.h"
#include "app/engine/size_text.h"
#include "app/engine/url_levels.h"
#include "platform/ado/record.h"
#include "platform/ado/stream.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"

namespace {

// Refusals of the destination that count as a denied creation.
constexpr com::HRESULT kDocumentAccessDenied = com::MakeHResult(0xC00CE556);
// Failures of single values that leave the copy of the document intact.
constexpr com::HRESULT kMultipleStepError = com::MakeHResult(0x80040E21);
constexpr com::HRESULT kValueNotSupported = com::MakeHResult(0x80043201);

constexpr const char* kDocumentNotSaved = "Document could not be saved.";

constexpr const char* kIsCheckedOutField = "urn:schemas-microsoft-com:publishing:IsCheckedOut";
constexpr const char* kLastUnapprovedVersionField = "urn:schemas-microsoft-com:publishing:LastUnapprovedVersion";
constexpr const char* kDocumentStateField = "urn:schemas-microsoft-com:publishing:documentstate";

void CheckIn(ErrorTrap& trap, store::SpsDocument& document)
{
    trap.step([&] { store::SpsVersion().checkIn(document); });
}

void Publish(ErrorTrap& trap, store::SpsDocument& document)
{
    trap.step([&] { store::SpsVersion().publish(document); });
}

// Gives the new document the state its source has: a source checked out gets
// no change; a pending version is checked in, and published when it is a
// major one; without one the document is checked in, and published unless
// the source was only ever checked in.
void SetDocumentStateAsInSource(ErrorTrap& trap, const store::SpsDocument& source, store::SpsDocument& destination)
{
    const std::string checkedOut = trap.value([&] { return source.field(kIsCheckedOutField).toString(); });
    if (!net::EqualsIgnoringCase(checkedOut, "false")) return;

    const std::string lastUnapprovedVersion =
        trap.value([&] { return source.field(kLastUnapprovedVersionField).toString(); });
    const std::string documentState = trap.value([&] { return source.field(kDocumentStateField).toString(); });
    CheckIn(trap, destination);
    const bool publish = lastUnapprovedVersion.empty() ? !net::EqualsIgnoringCase(documentState, "createdcheckedin")
                                                       : ContainsIgnoringCase(lastUnapprovedVersion, ".0)");
    if (publish) Publish(trap, destination);
}

} // namespace

void CreateDocument(const std::string& sourceFolder, const std::string& destinationFolder, const std::string& name,
                    CreationAttempt attempt)
{
    const std::string sourceUrl = sourceFolder + "/" + name;
    const std::string destinationUrl = destinationFolder + "/" + name;
    std::string sizeText;
    bool exists = false;
    bool publishDenied = false;

    ErrorTrap trap("in CreateDocument");
    trap.on({store::errPermissionDenied, kDocumentAccessDenied})
        .count(gFailedCount)
        .log()
        .remark(sourceUrl, destinationUrl, sizeText, "Permission denied to create document.")
        .leave();
    OnItemExists(trap, attempt, exists);
    trap.on({store::errPropertyNotFound, ado::adErrItemNotFound, kValueNotSupported, kMultipleStepError,
             com::DISP_E_TYPEMISMATCH});
    trap.on(store::errItemNotFound)
        .count(gFailedCount)
        .log()
        .remark(sourceUrl, destinationUrl, sizeText, "Destination Folder not found.")
        .leave();
    trap.on(kPermissionDenied)
        .logWith("Permission denied to publish the document- in CreateDocument")
        .then([&] { publishDenied = true; })
        .leave();
    trap.on(com::E_ACCESSDENIED)
        .count(gFailedCount)
        .log()
        .remark(sourceUrl, destinationUrl, sizeText, "Permission denied to Overwrite document.")
        .leave();

    // The document is not in the destination, or not durably: it must not be
    // reported copied.
    const ItemRow notSaved{sourceUrl, destinationUrl, "", kDocumentNotSaved};
    if (CopyRefused(trap, sourceUrl, destinationUrl, notSaved, kDocumentNotSaved)) return;
    {
        // The document's save, check-in and publishing are flushed together,
        // before its row calls it copied.
        store::WriteScope scope;
        ado::Record record;
        ado::Stream stream;
        store::SpsDocument destination;
        store::SpsDocument source;
        destination.setPreOpenFlag(false);
        source.setPreOpenFlag(false);

        trap.step([&] { source.DataSource().Open(sourceUrl, 0, -1); });
        trap.step([&] { record.Open(name, "URL=" + sourceFolder, 0, -1, 512); });
        trap.step([&] {
            stream.setType(ado::adTypeText);
            stream.setCharset("ascii");
            stream.Open(record, ado::adModeRead, ado::adOpenStreamFromRecord);
        });
        bool contentCopied = false;
        trap.step([&] {
            stream.CopyTo(destination.contentStream(), ado::adCopyAll);
            contentCopied = true;
        });
        trap.step([&] { destination.contentStream().Flush(); });
        const com::Variant security = trap.value([&] { return source.securityValue(); });
        trap.step([&] { sizeText = SizeText(source.size()); });
        if (gAssignFolderProfiles) trap.step([&] { destination.setContentClass(source.contentClass()); });
        if (gAssignDocumentSecurity) trap.step([&] { destination.setSecurityValue(security); });
        if (trap.hasLeft()) return;

        if (!trap.value([&] { return CheckPreimportFilter(source); }, false)) {
            ReportFailure({sourceUrl, destinationUrl, sizeText, "Import failed due to filter settings."});
            return;
        }
        // The metadata goes with the document's first write, so that the copy
        // costs one write less and the metadata value is stored with it.
        if (gAssignDocumentMetadata) {
            trap.step([&] { Setmetadata(sourceUrl, destination); });
            trap.step([&] { destination.setMetadataValue(source.metadataValue()); });
        }

        if (!contentCopied) {
            // A source that cannot be read (damaged) gives no copy, not an
            // empty one.
            ReportFailure({sourceUrl, destinationUrl, sizeText, kDocumentNotSaved});
            return;
        }
        // A replacement is written whole before it takes the old document's
        // place: a copy that fails leaves the old one as it was.
        bool saved = false;
        trap.step([&] {
            if (attempt == CreationAttempt::Replacement)
                destination.DataSource().SaveOver(destinationUrl);
            else
                destination.DataSource().SaveTo(destinationUrl, 0, 0, 0);
            saved = true;
        });
        if (trap.hasLeft()) return;
        if (!saved && !exists) {
            // The save failed for a reason the table above does not name.
            ReportFailure({sourceUrl, destinationUrl, sizeText, kDocumentNotSaved});
            return;
        }

        if (!exists) {
            if (gDocStateAsInSource) SetDocumentStateAsInSource(trap, source, destination);
            if (gDocStateCheckIn) CheckIn(trap, destination);
            if (gDocStatePublish) {
                CheckIn(trap, destination);
                Publish(trap, destination);
            }
            if (trap.hasLeft() && !publishDenied) return;
            stream.Close();
            record.Close();
            const char* remark = publishDenied ? "Replicated Successfully. Permission denied to publish. Document Checked-in."
                                               : "Replicated Successfully.";
            ReportWhenDurable(trap, scope, {sourceUrl, destinationUrl, sizeText, remark}, kDocumentNotSaved);
            return;
        }
    }

    if (attempt == CreationAttempt::Replacement) {
        ReportFailure({sourceUrl, destinationUrl, sizeText, "Existing document could not be replaced."});
        return;
    }
    trap.step([] { ui::DoEvents(); });
    CreateDocument(sourceFolder, destinationFolder, name, CreationAttempt::Replacement);
}

void Setmetadata(const std::string& sourceDocumentUrl, store::SpsDocument& destination)
{
    ErrorTrap trap("in Setmetadata");
    const std::string workspace = trap.value([&] { return ExtractWorkspaceName(sourceDocumentUrl); });
    const std::string schemaUrl = workspace + "/system/schema";
    ado::Recordset items = trap.value([&] { return CollectAllSchemaProfiles(schemaUrl); });
    trap.step([&] { SetmetadataA(schemaUrl, items, sourceDocumentUrl, destination); });
}

ado::Recordset CollectAllSchemaProfiles(const std::string& url)
{
    ErrorTrap trap("in CollectAllSchemaProfiles");
    return FolderItemsOrEmpty(trap, url);
}

void SetmetadataA(const std::string& schemaUrl, ado::Recordset& items, const std::string& sourceDocumentUrl,
                  store::SpsDocument& destination)
{
    ErrorTrap trap("in SetmetadataA");
    trap.on(store::errPropertyNotFound);

    store::SpsDocument source;
    source.setPreOpenFlag(false);
    trap.step([&] { source.DataSource().Open(sourceDocumentUrl, 0, -1); });

    store::SpsPropertyDef definition;
    definition.setPreOpenFlag(false);
    bool copied = false;
    for (; !AtEnd(trap, items); MoveNext(trap, items)) {
        const std::string itemName = RowName(trap, items);
        if (!ContainsIgnoringCase(itemName, "xml")) continue;
        trap.step([&] { definition.DataSource().Open(schemaUrl + "/" + itemName, 0, -1); });
        std::string propertyName = trap.value([&] { return definition.propertyName(); });
        if (propertyName.empty()) propertyName = "NULL";
        // A property the source lacks is passed over.
        trap.step([&] {
            if (const std::optional<com::Variant> value = source.findProperty(propertyName)) {
                destination.setProperty(propertyName, *value);
                copied = true;
            }
        });
    }
    // A saved document is written once with all the copied values; a new one
    // takes them along when it is first saved.
    if (copied && !destination.url().empty()) trap.step([&] { destination.DataSource().Save(); });
}
