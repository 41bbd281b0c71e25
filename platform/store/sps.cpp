// The store objects: thin views of an ItemSession.

#include "platform/store/sps.h"

#include "platform/ado/stream.h"
#include "platform/store/errors.h"
#include "platform/store/item_session.h"
#include "platform/store/workspace_builder.h"

namespace store {

namespace {

constexpr std::initializer_list<ItemKind> kContainers{ItemKind::Server, ItemKind::Workspace, ItemKind::Folder,
                                                      ItemKind::CategoryFolder};
constexpr std::initializer_list<ItemKind> kFolders{ItemKind::Workspace, ItemKind::Folder, ItemKind::CategoryFolder};

com::Variant listOrEmpty(const com::Variant& value)
{
    return value.isEmpty() ? com::Variant::StringArray({}) : value;
}

} // namespace

// SpsDataSource

void SpsDataSource::Open(const std::string& url, int, int, int)
{
    session_->open(url);
}

void SpsDataSource::SaveTo(const std::string& url, int, int, int)
{
    session_->saveTo(url);
}

void SpsDataSource::SaveOver(const std::string& url)
{
    session_->saveTo(url, ItemSession::Publishing::Fresh, ItemSession::Taken::Replace);
}

void SpsDataSource::Save()
{
    session_->save();
}

// SpsItem

SpsItem::SpsItem(ItemKind kindToCreate)
    : session_(std::make_unique<ItemSession>(kindToCreate)), dataSource_(*session_)
{
}

SpsItem::~SpsItem() = default;
SpsItem::SpsItem(SpsItem&& other) noexcept : session_(std::move(other.session_)), dataSource_(other.dataSource_) {}
SpsItem& SpsItem::operator=(SpsItem&& other) noexcept
{
    session_ = std::move(other.session_);
    dataSource_ = other.dataSource_;
    return *this;
}

bool SpsItem::preOpenFlag() const { return session_->preOpenFlag; }
void SpsItem::setPreOpenFlag(bool value) { session_->preOpenFlag = value; }
com::Variant SpsItem::field(std::string_view name) const { return session_->property(name); }
com::Variant SpsItem::property(std::string_view name) const { return session_->property(name); }
std::optional<com::Variant> SpsItem::findProperty(std::string_view name) const { return session_->findProperty(name); }
void SpsItem::setProperty(std::string_view name, const com::Variant& value) { session_->setProperty(name, value); }
void SpsItem::Delete(const std::string& url) { session_->remove(url); }
std::string SpsItem::contentClass() const { return session_->data().contentClass; }
void SpsItem::setContentClass(const std::string& contentClass) { session_->editableData().contentClass = contentClass; }
std::string SpsItem::displayName() const { return session_->displayName(); }
sys::DateTime SpsItem::lastModified() const { return session_->data().lastModified; }
std::string SpsItem::url() const { return session_->isBound() ? session_->url() : std::string(); }
ItemKind SpsItem::kind() const { return session_->kind(); }
bool SpsItem::hidden() const { return session_->data().hidden; }
void SpsItem::setHidden(bool hidden) { session_->editableData().hidden = hidden; }
std::string SpsItem::title() const { return session_->data().title; }
void SpsItem::setTitle(const std::string& title) { session_->editableData().title = title; }
std::string SpsItem::description() const { return session_->data().description; }
void SpsItem::setDescription(const std::string& description) { session_->editableData().description = description; }

// SpsFolder

SpsFolder::SpsFolder() : SpsItem(ItemKind::Folder) {}
SpsFolder::SpsFolder(ItemKind kindToCreate) : SpsItem(kindToCreate) {}

ado::Recordset SpsFolder::Items() const { return session().listing(false); }
ado::Recordset SpsFolder::Subfolders() const { return session().listing(true); }

com::Variant SpsFolder::readers() const
{
    session().requireKind(kFolders, "Readers");
    return AccountsToVariant(session().rolesInForce().readers);
}

void SpsFolder::setReaders(const com::Variant& accounts)
{
    session().requireKind(kFolders, "Readers");
    session().setRoleList(Role::Reader, AccountsFromVariant(accounts));
}

com::Variant SpsFolder::authors() const
{
    session().requireKind(kFolders, "Authors");
    return AccountsToVariant(session().rolesInForce().authors);
}

void SpsFolder::setAuthors(const com::Variant& accounts)
{
    session().requireKind(kFolders, "Authors");
    session().setRoleList(Role::Author, AccountsFromVariant(accounts));
}

com::Variant SpsFolder::coordinators() const
{
    session().requireKind(kFolders, "Coordinators");
    return AccountsToVariant(session().rolesInForce().coordinators);
}

void SpsFolder::setCoordinators(const com::Variant& accounts)
{
    session().requireKind(kFolders, "Coordinators");
    session().setRoleList(Role::Coordinator, AccountsFromVariant(accounts));
}

bool SpsFolder::inheritParentSecurity() const
{
    session().requireKind(kFolders, "InheritParentSecurity");
    return session().data().inheritsRoles;
}

void SpsFolder::setInheritParentSecurity(bool inherit)
{
    session().requireKind(kFolders, "InheritParentSecurity");
    session().setInheritParentSecurity(inherit);
}

com::Variant SpsFolder::documentProfile() const
{
    session().requireKind(kContainers, "DocumentProfile");
    return session().data().documentProfile;
}

void SpsFolder::setDocumentProfile(const com::Variant& profile)
{
    session().requireKind(kContainers, "DocumentProfile");
    session().editableData().documentProfile = profile.deref();
}

SpsCategoryFolder::SpsCategoryFolder() : SpsFolder(ItemKind::CategoryFolder) {}

// SpsWorkspace

SpsWorkspace::SpsWorkspace() : SpsFolder(ItemKind::Workspace) {}

com::Variant SpsWorkspace::ContentClasses() const
{
    return com::Variant::StringArray(session().contentClasses());
}

// SpsServer

SpsServer::SpsServer() : SpsItem(ItemKind::Server) {}

ado::Recordset SpsServer::Workspaces() const { return session().workspaces(); }

SpsWorkspace SpsServer::CreateWorkspace(const std::string& url, const std::string& schemaFile,
                                        const std::string& templateFile, int)
{
    SpsWorkspace workspace;
    workspace.DataSource().Open(session().createWorkspace(url, schemaFile, templateFile));
    return workspace;
}

SpsWorkspace SpsServer::ReplaceWorkspace(const std::string& url, const std::string& schemaFile,
                                         const std::string& templateFile)
{
    SpsWorkspace workspace;
    workspace.DataSource().Open(session().createWorkspace(url, schemaFile, templateFile, ItemSession::Taken::Replace));
    return workspace;
}

// SpsDocument

SpsDocument::SpsDocument() : SpsItem(ItemKind::Document), contentStream_(std::make_unique<ado::Stream>(ado::Stream::Over(session().content()))) {}
SpsDocument::~SpsDocument() = default;
SpsDocument::SpsDocument(SpsDocument&&) noexcept = default;
SpsDocument& SpsDocument::operator=(SpsDocument&&) noexcept = default;

std::int32_t SpsDocument::size() const
{
    return std::int32_t(session().content()->size());
}

ado::Stream& SpsDocument::contentStream()
{
    return *contentStream_;
}

std::string SpsDocument::contentType() const { return session().data().contentType; }
void SpsDocument::setContentType(const std::string& contentType) { session().editableData().contentType = contentType; }
com::Variant SpsDocument::securityValue() const { return session().data().securityValue; }
void SpsDocument::setSecurityValue(const com::Variant& value) { session().editableData().securityValue = value.deref(); }
com::Variant SpsDocument::metadataValue() const { return session().data().metadataValue; }
void SpsDocument::setMetadataValue(const com::Variant& value) { session().editableData().metadataValue = value.deref(); }
com::Variant SpsDocument::firstListProperty() const { return listOrEmpty(session().data().firstList); }
void SpsDocument::setFirstListProperty(const com::Variant& values) { session().editableData().firstList = values.deref(); }
com::Variant SpsDocument::secondListProperty() const { return listOrEmpty(session().data().secondList); }
void SpsDocument::setSecondListProperty(const com::Variant& values) { session().editableData().secondList = values.deref(); }

// SpsVersion

void SpsVersion::checkIn(SpsDocument& document) { document.session().checkIn(); }
void SpsVersion::publish(SpsDocument& document) { document.session().publish(); }

// SpsContentClass

SpsContentClass::SpsContentClass() : SpsItem(ItemKind::ContentClass) {}

com::Variant SpsContentClass::className() const { return property(schema_property::kName); }
void SpsContentClass::setClassName(const com::Variant& value) { setProperty(schema_property::kName, value); }
com::Variant SpsContentClass::baseClasses() const { return property(schema_property::kExtends); }
void SpsContentClass::setBaseClasses(const com::Variant& value) { setProperty(schema_property::kExtends, value); }
com::Variant SpsContentClass::memberProperties() const { return property(schema_property::kElements); }
void SpsContentClass::setMemberProperties(const com::Variant& value) { setProperty(schema_property::kElements, value); }

// SpsPropertyDef

namespace {

template <class Value>
Value propertyOr(const SpsItem& item, const char* name, Value fallback)
{
    try {
        if constexpr (std::is_same_v<Value, bool>) return item.property(name).toBool();
        else return item.property(name).toString();
    } catch (const com::ComError& error) {
        if (error.number() != errPropertyNotFound) throw;
        return fallback;
    }
}

} // namespace

SpsPropertyDef::SpsPropertyDef() : SpsItem(ItemKind::PropertyDef) {}

std::string SpsPropertyDef::propertyName() const { return propertyOr<std::string>(*this, schema_property::kName, {}); }
void SpsPropertyDef::setPropertyName(const std::string& name) { setProperty(schema_property::kName, name); }
bool SpsPropertyDef::required() const { return propertyOr(*this, schema_property::kRequired, false); }
void SpsPropertyDef::setRequired(bool required) { setProperty(schema_property::kRequired, required); }
bool SpsPropertyDef::multiValued() const { return propertyOr(*this, schema_property::kMultiValued, false); }
void SpsPropertyDef::setMultiValued(bool multiValued) { setProperty(schema_property::kMultiValued, multiValued); }
std::string SpsPropertyDef::dataType() const { return propertyOr<std::string>(*this, schema_property::kDataType, {}); }
void SpsPropertyDef::setDataType(const std::string& dataType) { setProperty(schema_property::kDataType, dataType); }
com::Variant SpsPropertyDef::listValues() const { return property(schema_property::kDictionary); }
void SpsPropertyDef::setListValues(const com::Variant& values) { setProperty(schema_property::kDictionary, values); }
void SpsPropertyDef::setIndexed(bool value) { setProperty(schema_property::kIndexed, value); }
void SpsPropertyDef::setSearchable(bool value) { setProperty(schema_property::kSearchable, value); }
void SpsPropertyDef::setRetrievable(bool value) { setProperty(schema_property::kRetrievable, value); }
void SpsPropertyDef::setReadOnly(bool value) { setProperty(schema_property::kReadOnly, value); }
void SpsPropertyDef::setVisible(bool value) { setProperty(schema_property::kVisible, value); }

} // namespace store
