#pragma once
// The document-store client: the objects through which the program reads and
// writes the workspaces, folders, category folders, documents and schema items
// of a store server, each named by its URL:
//
//   http://HOST                                       the server
//   http://HOST/sharepoint portal server/workspaces   the workspace container
//   http://HOST/WORKSPACE/folder/.../item             an item
//
// A fresh object is empty; DataSource().Open binds it to an existing item,
// DataSource().SaveTo creates a new item from it, DataSource().Save writes an
// opened item back. Any object may open any item (a document object opened on
// a folder reads its "DAV:isfolder"); members that the opened item lacks throw
// errWrongItemKind. Every failure throws com::ComError with a number of
// platform/store/errors.h.
//
// Each call acts as the current user (sys::CurrentUser()) and is checked
// against the roles of the folder or workspace concerned: readers read, authors
// create, change and delete documents and folders, coordinators change roles,
// schema items and the workspace itself. Coordinators count as authors, authors
// as readers, and "\Everyone" counts for every user.

#include "platform/ado/recordset.h"
#include "platform/com/variant.h"
#include "platform/sys/datetime.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ado {
class Stream;
}

namespace store {

enum class ItemKind {
    Server,         // the workspace container of a host
    Workspace,
    Folder,
    CategoryFolder,
    Document,
    PropertyDef,    // a property definition in a workspace's "system/schema"
    ContentClass,   // a content class ("<name>_CC.xml") in "system/schema"
};

// "server", "workspace", "folder", "categoryfolder", "document",
// "propertydef", "contentclass".
std::string ItemKindName(ItemKind kind);

class ItemSession;

// Opens, creates and writes back the item an object stands for.
class SpsDataSource {
public:
    // Binds the object to the item at url. The item must exist (errItemNotFound
    // otherwise, whatever createOption says) and the user must be one of the
    // readers of its folder. On failure the object keeps what it held before,
    // so a failed open leaves a fresh object ready for SaveTo.
    void Open(const std::string& url, int mode = 0, int createOption = -1, int options = 0);
    // Creates a new item at url from the object's values; the object then
    // stands for it. An item of that name (in any letter case) exists already:
    // errItemExists, whatever createOption says. The folder that is to hold it
    // is missing: errItemNotFound. The kind created is the kind of the item the
    // object was opened on, else the object's own kind.
    void SaveTo(const std::string& url, int mode = 0, int createOption = 0, int options = 0);
    // SaveTo in place of an item that has the name already: the new item is
    // written whole, and made durable, before it takes the name over in one
    // step, and only then is the old one (with all below it) removed. A
    // failure at any point leaves the old item as it was. The user must be
    // allowed to delete the old item as well as to create the new one; an
    // entry of that name that is no item of the store (a link, say) cannot be
    // replaced: errItemExists.
    void SaveOver(const std::string& url);
    // Writes the opened item's changed values back in place.
    void Save();

private:
    friend class SpsItem;
    explicit SpsDataSource(ItemSession& session) : session_(&session) {}
    ItemSession* session_;
};

// What every store object has.
class SpsItem {
public:
    virtual ~SpsItem();
    SpsItem(SpsItem&&) noexcept;
    SpsItem& operator=(SpsItem&&) noexcept;
    SpsItem(const SpsItem&) = delete;
    SpsItem& operator=(const SpsItem&) = delete;

    SpsDataSource& DataSource() { return dataSource_; }

    // Set before an open or save by every caller; the store needs no
    // preparation, so the flag is only kept.
    bool preOpenFlag() const;
    void setPreOpenFlag(bool value);

    // Fields and properties by their full names ("DAV:href",
    // "urn:schemas-microsoft-com:office:office#Author", ...), matched without
    // regard to case. Besides the stored properties these are always there:
    // "DAV:href" (the item's URL as stored), "DAV:displayname",
    // "DAV:isfolder", "DAV:getlastmodified", "DAV:contentclass",
    // "RESOURCE_PARSENAME" (the item's own name), for documents
    // "DAV:getcontentlength", "DAV:getcontenttype" and the publishing fields
    // "urn:schemas-microsoft-com:publishing:IsCheckedOut" ("True"/"False"),
    // "...:LastUnapprovedVersion" and "...:documentstate". A name the item
    // lacks: errPropertyNotFound.
    com::Variant field(std::string_view name) const;
    com::Variant property(std::string_view name) const;
    // The property, or nothing where property() throws errPropertyNotFound.
    std::optional<com::Variant> findProperty(std::string_view name) const;
    // Stores a property (kept until Save or SaveTo). The computed names above
    // are read-only (errReadOnlyProperty); objects are refused (type mismatch).
    void setProperty(std::string_view name, const com::Variant& value);

    // Deletes the item at url, or the opened item when url is empty. Folders
    // and workspaces go with everything below them.
    void Delete(const std::string& url = {});

    std::string contentClass() const;
    void setContentClass(const std::string& contentClass);
    std::string displayName() const;
    sys::DateTime lastModified() const;
    // The URL the object was opened at or saved to; empty for a fresh object.
    std::string url() const;
    ItemKind kind() const;
    bool hidden() const;
    void setHidden(bool hidden);
    // The item's two descriptive texts (item texts 1 and 2).
    std::string title() const;
    void setTitle(const std::string& title);
    std::string description() const;
    void setDescription(const std::string& description);

protected:
    friend class SpsVersion;
    explicit SpsItem(ItemKind kindToCreate);
    ItemSession& session() { return *session_; }
    const ItemSession& session() const { return *session_; }

private:
    std::unique_ptr<ItemSession> session_;
    SpsDataSource dataSource_;
};

// A folder, category folder or workspace: its listings and its roles.
class SpsFolder : public SpsItem {
public:
    SpsFolder();

    // Record sets of the documents and schema items, and of the folders, right
    // below this one, ordered by name. Fields: 0 the name, then "DAV:href",
    // "DAV:displayname", "DAV:isfolder", "DAV:getlastmodified". Opened on the
    // workspace container, Subfolders lists the workspaces.
    ado::Recordset Items() const;
    ado::Recordset Subfolders() const;

    // Role lists: arrays of account texts ("DOMAIN\user", "user",
    // "\Everyone"). Reading gives the lists in force, inherited ones included.
    // Writing one breaks the inheritance from the parent (the other two lists
    // are kept as they were inherited). Written lists are checked on Save:
    // errPermissionDenied unless the user is a coordinator, errUnknownAccount
    // for a "DOMAIN\user" whose domain the host does not know.
    com::Variant readers() const;
    void setReaders(const com::Variant& accounts);
    com::Variant authors() const;
    void setAuthors(const com::Variant& accounts);
    com::Variant coordinators() const;
    void setCoordinators(const com::Variant& accounts);
    // True: the folder takes the roles of its parent from now on. False: it
    // keeps the lists in force as its own.
    bool inheritParentSecurity() const;
    void setInheritParentSecurity(bool inherit);

    // The document profile assigned to the folder (an opaque value).
    com::Variant documentProfile() const;
    void setDocumentProfile(const com::Variant& profile);

protected:
    explicit SpsFolder(ItemKind kindToCreate);
};

class SpsCategoryFolder : public SpsFolder {
public:
    SpsCategoryFolder();
};

class SpsWorkspace : public SpsFolder {
public:
    SpsWorkspace();

    // The workspace's content classes in URN form ("urn:content-classes:Memo"),
    // one per "<name>_CC.xml" item of its "system/schema" folder; an array of
    // strings.
    com::Variant ContentClasses() const;
};

// The workspace container of a host.
class SpsServer : public SpsItem {
public:
    SpsServer();

    // One row per workspace, ordered by name: field 0 the name, "DAV:href",
    // "DAV:displayname", "DAV:isfolder", "DAV:getlastmodified", "DAV:ishidden", and
    // the server's own titles of a workspace's Documents and Categories
    // folders, "urn:schemas-microsoft-com:workspace#DocumentsFolder" and
    // "urn:schemas-microsoft-com:workspace#CategoriesFolder" ("Documents" and
    // "Categories" on an English server, "Dokumente" and "Kategorien" on a
    // German one).
    ado::Recordset Workspaces() const;

    // Creates the workspace at url ("http://HOST/NAME") from the server's
    // template: schemaFile ("\\HOST\C$\...\localschema.xml") gives its
    // property definitions and content classes, templateFile
    // ("...\defaultworkspace.cab") its folders. The current user becomes its
    // coordinator. Not an administrator of the host: errNotHostAdministrator;
    // the workspace exists: errItemExists; a template file missing or
    // unreadable: E_FAIL naming the file.
    SpsWorkspace CreateWorkspace(const std::string& url, const std::string& schemaFile,
                                 const std::string& templateFile, int flags = 0);
    // CreateWorkspace in place of a workspace of that name: the new one is
    // built whole before it takes the old one's place, and the old one is
    // removed only then (see SpsDataSource::SaveOver). The user must
    // coordinate the old workspace.
    SpsWorkspace ReplaceWorkspace(const std::string& url, const std::string& schemaFile, const std::string& templateFile);
};

// A document: content, content type, and the values the copy carries over.
class SpsDocument : public SpsItem {
public:
    SpsDocument();
    ~SpsDocument() override;
    SpsDocument(SpsDocument&&) noexcept;
    SpsDocument& operator=(SpsDocument&&) noexcept;

    // The content's length in bytes.
    std::int32_t size() const;
    // A stream over the content of this object: what is written into it is
    // the content that the next SaveTo or Save stores, byte for byte.
    ado::Stream& contentStream();
    std::string contentType() const;
    void setContentType(const std::string& contentType);

    // Opaque values that a copy carries over unchanged.
    com::Variant securityValue() const;
    void setSecurityValue(const com::Variant& value);
    com::Variant metadataValue() const;
    void setMetadataValue(const com::Variant& value);
    // The two list properties (arrays of texts; empty arrays when unset).
    com::Variant firstListProperty() const;
    void setFirstListProperty(const com::Variant& values);
    com::Variant secondListProperty() const;
    void setSecondListProperty(const com::Variant& values);

private:
    std::unique_ptr<ado::Stream> contentStream_;
};

// Check-in and publishing of a saved document. A new document is checked out
// to the user who saved it, at version 1.0. Check-in raises the minor version
// ("(version 1.1)"), publishing the major one ("(version 2.0)"); both write
// the document at once.
class SpsVersion {
public:
    // Needs an author; a document checked out by another user:
    // errCheckedOutByOther.
    void checkIn(SpsDocument& document);
    // Needs a coordinator: ComError(errPublishDenied, "Permission denied")
    // otherwise. A checked-out document is checked in first.
    void publish(SpsDocument& document);
};

// A content class item ("<name>_CC.xml" in "system/schema").
class SpsContentClass : public SpsItem {
public:
    SpsContentClass();

    // Its three defining fields (A, B and C): the class name, the classes it
    // extends and the properties it holds. Opaque values, copied as they are.
    com::Variant className() const;
    void setClassName(const com::Variant& value);
    com::Variant baseClasses() const;
    void setBaseClasses(const com::Variant& value);
    com::Variant memberProperties() const;
    void setMemberProperties(const com::Variant& value);
};

// A property definition in "system/schema". Its values are properties of the
// item, so that property() reads what these members write:
//   propertyName   "urn:schemas-microsoft-com:xml-data#name"
//   required       "urn:schemas-microsoft-com:exch-Data:isrequired"
//   multiValued    "urn:schemas-microsoft-com:exch-Data:ismultivalued"
//   dataType       "urn:schemas-microsoft-com:datatypes#type"
//   listValues     "urn:schemas-microsoft-com:exch-data:dictionary"
//   the five flags (1 to 5): "urn:schemas-microsoft-com:exch-data:isindexed",
//   "...:issearchable", "...:isretrievable", "...:isreadonly", "...:isvisible".
class SpsPropertyDef : public SpsItem {
public:
    SpsPropertyDef();

    std::string propertyName() const; // empty when unset
    void setPropertyName(const std::string& name);
    bool required() const;
    void setRequired(bool required);
    bool multiValued() const;
    void setMultiValued(bool multiValued);
    std::string dataType() const;
    void setDataType(const std::string& dataType);
    com::Variant listValues() const;
    void setListValues(const com::Variant& values);
    void setIndexed(bool value);     // flag 1
    void setSearchable(bool value);  // flag 2
    void setRetrievable(bool value); // flag 3
    void setReadOnly(bool value);    // flag 4
    void setVisible(bool value);     // flag 5
};

} // namespace store
