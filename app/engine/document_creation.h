#pragma once
// Copying one document from a source folder into a destination folder, with
// its content, profile, security, metadata and document state.

#include "app/engine/creation_attempt.h"
#include "platform/ado/recordset.h"

#include <string>

namespace store {
class SpsDocument;
}

// Copies sourceFolder/name to destinationFolder/name and records the outcome
// as one report row and one count. An existing destination document is
// replaced.
void CreateDocument(const std::string& sourceFolder, const std::string& destinationFolder, const std::string& name,
                    CreationAttempt attempt = CreationAttempt::First);

// Copies the custom properties that the source workspace's schema defines
// from the source document to the destination document, and stores them when
// the destination is saved already (a new one keeps them for its first save).
// The workspace is the one the source document belongs to.
void Setmetadata(const std::string& sourceDocumentUrl, store::SpsDocument& destination);
// The items of the schema folder at url; an empty record set when there are none.
ado::Recordset CollectAllSchemaProfiles(const std::string& url);
void SetmetadataA(const std::string& schemaUrl, ado::Recordset& items, const std::string& sourceDocumentUrl,
                  store::SpsDocument& destination);
