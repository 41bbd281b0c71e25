#include "platform/store/item_session.h"

#include "platform/net/case_fold.h"
#include "platform/store/access.h"
#include "platform/store/errors.h"
#include "platform/store/item_url.h"
#include "platform/store/variant_json.h"
#include "platform/store/workspace_builder.h"
#include "platform/sys/user.h"

#include <algorithm>
#include <array>

namespace store {

namespace {

constexpr char kIsCheckedOut[] = "urn:schemas-microsoft-com:publishing:IsCheckedOut";
constexpr char kLastUnapprovedVersion[] = "urn:schemas-microsoft-com:publishing:LastUnapprovedVersion";
constexpr char kDocumentState[] = "urn:schemas-microsoft-com:publishing:documentstate";

constexpr std::array<std::string_view, 12> kComputedProperties{
    "DAV:href", "DAV:displayname", "RESOURCE_PARSENAME", "DAV:isfolder", "DAV:getlastmodified", "DAV:contentclass",
    "DAV:getcontentlength", "DAV:getcontenttype", kIsCheckedOut, kLastUnapprovedVersion, kDocumentState, "DAV:ishidden"};

bool isComputed(std::string_view name)
{
    return std::any_of(kComputedProperties.begin(), kComputedProperties.end(),
                       [&](std::string_view computed) { return net::EqualsIgnoringCase(computed, name); });
}

bool same(std::string_view a, std::string_view b)
{
    return net::EqualsIgnoringCase(a, b);
}

struct Target {
    std::shared_ptr<HostStore> store;
    ItemUrl url;
};

Target connectTo(const std::string& url)
{
    std::optional<ItemUrl> parsed = ParseItemUrl(url);
    if (!parsed) throw com::ComError(errItemNotFound, "\"" + url + "\" names no item of a document store");
    return Target{HostStore::Connect(parsed->host), std::move(*parsed)};
}

Names parentOf(const Names& names)
{
    return Names(names.begin(), names.end() - 1);
}

// The container whose roles govern an item: a container's own, any other
// item's folder.
Names governingContainer(const Names& names, ItemKind kind)
{
    return IsContainer(kind) || names.empty() ? names : parentOf(names);
}

bool isSchemaKind(ItemKind kind)
{
    return kind == ItemKind::PropertyDef || kind == ItemKind::ContentClass;
}

void requireKnownAccounts(const HostStore& store, const RoleLists& roles)
{
    const std::vector<std::string> domains = net::ReadNetwork().domains;
    for (const auto* list : {&roles.readers, &roles.authors, &roles.coordinators})
        for (const std::string& account : *list)
            if (!IsKnownAccount(account, store.host().name, store.host().domain, domains))
                throw com::ComError(errUnknownAccount,
                                    "The account \"" + account + "\" is not known to " + store.host().name);
}

void requireNotCheckedOutByOther(const PublishingState& state, const std::string& user, const std::string& url)
{
    if (!state.checkedOutBy.empty() && !same(state.checkedOutBy, user))
        throw com::ComError(errCheckedOutByOther, "Access is denied: \"" + url + "\" is checked out by " + state.checkedOutBy);
}

std::string versionText(const PublishingState& state)
{
    return "(version " + std::to_string(state.majorVersion) + "." + std::to_string(state.minorVersion) + ")";
}

void checkInState(PublishingState& state)
{
    state.checkedOutBy.clear();
    ++state.minorVersion;
    state.lastUnapprovedVersion = versionText(state);
    state.documentState = "checkedin";
}

std::string readTemplateFile(const std::string& unc)
{
    return net::ReadToEnd(net::OpenUncFile(unc).get(), unc);
}

// Refuses the deletion of a stored item that the user may not delete: by its
// kind, as the roles say, and a document checked out by someone else.
void requireRemovable(AccessControl& access, const LoadedItem& item, const std::string& shown)
{
    const Names& names = item.names;
    switch (item.data.kind) {
    case ItemKind::Server: throw com::ComError(errPermissionDenied, "A server's workspace container cannot be deleted");
    case ItemKind::Workspace: access.require(names, Role::Coordinator, "delete the workspace"); break;
    case ItemKind::PropertyDef:
    case ItemKind::ContentClass: access.require(parentOf(names), Role::Coordinator, "delete schema items"); break;
    case ItemKind::Document:
        access.require(parentOf(names), Role::Author, "delete documents");
        requireNotCheckedOutByOther(item.data.publishing, sys::CurrentUser(), shown);
        break;
    default: access.require(parentOf(names), Role::Author, "delete folders"); break;
    }
}

// The stored item that a new item named name is to replace in parent, checked
// as its deletion would be; null when the name is free.
std::shared_ptr<const LoadedItem> replacedItem(ItemFiles& files, AccessControl& access, HostStore::WriteLock& lock,
                                               const Names& parent, const std::string& name, const std::string& url)
{
    const std::optional<std::string> stored = files.existingName(lock, parent, name);
    if (!stored) return nullptr;
    Names names = parent;
    names.push_back(*stored);
    std::shared_ptr<const LoadedItem> item;
    std::string reason = "it is no item of the store";
    try {
        item = files.load(names);
    } catch (const com::ComError& error) {
        reason = error.description();
    }
    if (!item)
        throw com::ComError(errItemExists, "\"" + url + "\" cannot take the place of \"" + *stored + "\": " + reason);
    requireRemovable(access, *item, url);
    return item;
}

ado::Recordset::Row listedRow(const std::string& base, const ListedEntry& entry)
{
    ado::Recordset::Row row;
    row.reserve(5);
    row.emplace_back(entry.name);
    row.emplace_back(base + entry.name);
    row.emplace_back(entry.name);
    row.emplace_back(entry.container);
    row.emplace_back(entry.lastModified);
    return row;
}

} // namespace

ItemSession::ItemSession(ItemKind kindToCreate) : kindToCreate_(kindToCreate), own_(ItemData{})
{
    own_->kind = kindToCreate;
}

std::string ItemSession::displayName() const
{
    if (!isBound()) return {};
    return names_.empty() ? store_->host().name : names_.back();
}

std::string ItemSession::canonicalUrl() const
{
    return ItemUrlText(store_->host().name, names_);
}

void ItemSession::requireBound(std::string_view action) const
{
    if (!isBound())
        throw com::ComError(errItemNotFound, "Cannot " + std::string(action) + ": the object stands for no stored item");
}

std::shared_ptr<HostStore> ItemSession::connection() const
{
    return HostStore::Connect(store_->host().name);
}

void ItemSession::requireKind(std::initializer_list<ItemKind> kinds, std::string_view member) const
{
    if (std::find(kinds.begin(), kinds.end(), kind()) == kinds.end())
        throw com::ComError(errWrongItemKind,
                            "No such interface supported: a " + ItemKindName(kind()) + " has no " + std::string(member));
}

void ItemSession::bind(std::shared_ptr<HostStore> store, const std::string& url,
                       std::shared_ptr<const LoadedItem> item, std::uint64_t generation)
{
    store_ = std::move(store);
    url_ = url;
    names_ = item->names;
    *content_ = item->content;
    loaded_ = std::move(item);
    own_.reset();
    rolesChanged_ = false;
    boundAt_ = generation;
}

ItemData& ItemSession::editableData()
{
    if (!own_) own_ = loaded_->data;
    return *own_;
}

void ItemSession::open(const std::string& url)
{
    Target target = connectTo(url);
    ItemFiles files(*target.store);
    const std::uint64_t generation = target.store->generation();
    std::shared_ptr<const LoadedItem> item = files.load(target.url.path);
    if (!item) throw com::ComError(errItemNotFound, "The item \"" + url + "\" does not exist");
    if (!item->names.empty())
        AccessControl(*target.store, files).require(governingContainer(item->names, item->data.kind), Role::Reader, "read");
    bind(std::move(target.store), url, std::move(item), generation);
}

void ItemSession::saveTo(const std::string& url, Publishing publishing, Taken taken)
{
    Target target = connectTo(url);
    const Names& path = target.url.path;
    if (kind() == ItemKind::Server) throw com::ComError(errWrongItemKind, "A server cannot be saved to \"" + url + "\"");
    if (path.empty()) throw com::ComError(errItemExists, "The server \"" + url + "\" exists already");

    ItemFiles files(*target.store);
    AccessControl access(*target.store, files);
    HostStore::WriteLock lock(*target.store);
    if (path.size() == 1) {
        if (files.existingName(lock, {}, path.front()))
            throw com::ComError(errItemExists, "The workspace \"" + url + "\" exists already");
        throw com::ComError(errPermissionDenied, "Workspaces are created through the server's workspace container");
    }
    const std::shared_ptr<const LoadedItem> parent = files.load(parentOf(path));
    if (!parent || !IsContainer(parent->data.kind))
        throw com::ComError(errItemNotFound, "The folder that is to hold \"" + url + "\" does not exist");

    ItemData data = this->data();
    data.kind = kind() == ItemKind::Workspace ? ItemKind::Folder : kind();
    if (data.contentClass.empty()) data.contentClass = DefaultContentClass(data.kind);
    data.lastModified = sys::Now();
    const std::string user = sys::CurrentUser();
    if (data.kind == ItemKind::Document && publishing == Publishing::Fresh)
        data.publishing = PublishingState{user, 1, 0, {}, "checkedout"};
    else if (isSchemaKind(data.kind))
        data.publishing = PublishingState{{}, 1, 0, {}, "createdcheckedin"};

    access.require(parent->names, isSchemaKind(data.kind) ? Role::Coordinator : Role::Author, "create items");
    if (IsContainer(data.kind)) {
        if (data.inheritsRoles) {
            data.roles = {};
        } else {
            access.require(parent->names, Role::Coordinator, "set roles");
            requireKnownAccounts(*target.store, data.roles);
        }
    }
    const NewItem item{path.back(), data, *content_, {}};
    const std::shared_ptr<const LoadedItem> replaced =
        taken == Taken::Replace ? replacedItem(files, access, lock, parent->names, path.back(), url) : nullptr;
    Content stored = replaced ? files.replace(lock, parent->names, item, *replaced) : files.create(lock, parent->names, item);

    Names names = parent->names;
    names.push_back(path.back());
    bind(std::move(target.store), url,
         std::make_shared<const LoadedItem>(LoadedItem{std::move(names), std::move(data), std::move(stored)}),
         lock.generation());
}

PublishingState ItemSession::storedPublishing(const ItemFiles& files, const HostStore::WriteLock& lock) const
{
    if (lock.generation() == boundAt_) return data().publishing;
    const std::shared_ptr<const LoadedItem> stored = files.load(names_);
    if (!stored) throw com::ComError(errItemNotFound, "The item \"" + url_ + "\" does not exist any more");
    return stored->data.publishing;
}

void ItemSession::save()
{
    requireBound("save");
    if (kind() == ItemKind::Server) throw com::ComError(errWrongItemKind, "The workspace container cannot be changed");
    const std::shared_ptr<HostStore> store = connection();
    ItemFiles files(*store);
    AccessControl access(*store, files);
    HostStore::WriteLock lock(*store);
    const PublishingState stored = storedPublishing(files, lock);
    editableData().lastModified = sys::Now();

    if (IsContainer(data().kind)) {
        if (rolesChanged_) {
            access.require(names_, Role::Coordinator, "change roles");
            if (!data().inheritsRoles) requireKnownAccounts(*store, data().roles);
        } else {
            access.require(names_, data().kind == ItemKind::Workspace ? Role::Coordinator : Role::Author, "change folders");
        }
        if (data().inheritsRoles) editableData().roles = {};
        files.replaceContainer(lock, names_, data(), rolesChanged_ ? StoreChange::Roles : StoreChange::Container);
        rolesChanged_ = false;
        boundAt_ = lock.generation();
        return;
    }
    access.require(parentOf(names_), isSchemaKind(data().kind) ? Role::Coordinator : Role::Author, "change items");
    requireNotCheckedOutByOther(stored, sys::CurrentUser(), url_);
    editableData().publishing = stored;
    *content_ = files.replaceItem(lock, names_, data(), *content_, lock.generation() == boundAt_);
    boundAt_ = lock.generation();
}

void ItemSession::remove(const std::string& url)
{
    if (url.empty()) requireBound("delete");
    Target target = url.empty() ? Target{connection(), ItemUrl{store_->host().name, names_}} : connectTo(url);
    ItemFiles files(*target.store);
    AccessControl access(*target.store, files);
    HostStore::WriteLock lock(*target.store);
    const std::shared_ptr<const LoadedItem> stored = files.load(target.url.path);
    const std::string shown = url.empty() ? url_ : url;
    if (!stored) throw com::ComError(errItemNotFound, "The item \"" + shown + "\" does not exist");

    requireRemovable(access, *stored, shown);
    const Names& names = stored->names;
    files.remove(lock, names, IsContainer(stored->data.kind));
    if (isBound() && store_->root() == target.store->root() && names_ == names) store_.reset();
}

com::Variant ItemSession::property(std::string_view name) const
{
    if (std::optional<com::Variant> value = findProperty(name)) return std::move(*value);
    throw com::ComError(errPropertyNotFound, "The property \"" + std::string(name) + "\" is not set on \""
                                                 + (isBound() ? url_ : std::string("a new item")) + "\"");
}

std::optional<com::Variant> ItemSession::findProperty(std::string_view name) const
{
    const bool document = !IsContainer(kind());
    if (same(name, "DAV:isfolder")) return !document;
    if (same(name, "DAV:contentclass")) return data().contentClass;
    if (same(name, "DAV:ishidden")) return data().hidden;
    if (document) {
        if (same(name, "DAV:getcontentlength")) return std::int32_t(content_->size());
        if (same(name, "DAV:getcontenttype")) return data().contentType;
        if (same(name, kIsCheckedOut)) return !data().publishing.checkedOutBy.empty();
        if (same(name, kLastUnapprovedVersion)) return data().publishing.lastUnapprovedVersion;
        if (same(name, kDocumentState)) return data().publishing.documentState;
    }
    if (isBound()) {
        if (same(name, "DAV:href")) return canonicalUrl();
        if (same(name, "DAV:displayname") || same(name, "RESOURCE_PARSENAME")) return displayName();
        if (same(name, "DAV:getlastmodified")) return data().lastModified;
    }
    if (const auto found = data().properties.find(name); found != data().properties.end()) return found->second;
    return std::nullopt;
}

void ItemSession::setProperty(std::string_view name, const com::Variant& value)
{
    if (isComputed(name)) throw com::ComError(errReadOnlyProperty, "The property \"" + std::string(name) + "\" cannot be set");
    VariantToJson(value); // refuses what cannot be stored before it is kept
    editableData().properties.insert_or_assign(std::string(name), value.deref());
}

RoleLists ItemSession::rolesInForce() const
{
    if (!data().inheritsRoles || !isBound()) return data().inheritsRoles ? RoleLists{} : data().roles;
    const std::shared_ptr<HostStore> store = connection();
    ItemFiles files(*store);
    return AccessControl(*store, files).rolesInForce(names_);
}

void ItemSession::setRoleList(Role role, std::vector<std::string> accounts)
{
    RoleLists roles = rolesInForce();
    std::vector<std::string>& list =
        role == Role::Reader ? roles.readers : role == Role::Author ? roles.authors : roles.coordinators;
    if (!data().inheritsRoles && list == accounts) return;
    list = std::move(accounts);
    editableData().roles = std::move(roles);
    editableData().inheritsRoles = false;
    rolesChanged_ = true;
}

void ItemSession::setInheritParentSecurity(bool inherit)
{
    if (data().inheritsRoles == inherit || data().kind == ItemKind::Workspace) return;
    RoleLists roles = inherit ? RoleLists{} : rolesInForce();
    editableData().roles = std::move(roles);
    editableData().inheritsRoles = inherit;
    rolesChanged_ = true;
}

ado::Recordset ItemSession::listing(bool containers) const
{
    requireBound("list");
    requireKind({ItemKind::Server, ItemKind::Workspace, ItemKind::Folder, ItemKind::CategoryFolder},
                containers ? "Subfolders" : "Items");
    const std::string base = canonicalUrl() + "/";
    std::vector<ado::Recordset::Row> rows;
    for (const ListedEntry& entry : ItemFiles(*connection()).list(names_))
        if (entry.container == containers) rows.push_back(listedRow(base, entry));
    return ado::Recordset({"RESOURCE_PARSENAME", "DAV:href", "DAV:displayname", "DAV:isfolder", "DAV:getlastmodified"},
                          std::move(rows));
}

ado::Recordset ItemSession::workspaces() const
{
    requireBound("list workspaces");
    requireKind({ItemKind::Server}, "Workspaces");
    const std::shared_ptr<HostStore> store = connection();
    const ItemFiles files(*store);
    const WorkspaceFolderTitles titles = FolderTitlesFor(data().language);
    const std::string base = canonicalUrl() + "/";
    std::vector<ado::Recordset::Row> rows;
    for (const ListedEntry& entry : files.list({})) {
        if (!entry.container) continue;
        ado::Recordset::Row row = listedRow(base, entry);
        row.emplace_back(files.loadContainer({entry.name}).hidden);
        row.emplace_back(titles.documents);
        row.emplace_back(titles.categories);
        rows.push_back(std::move(row));
    }
    return ado::Recordset({"RESOURCE_PARSENAME", "DAV:href", "DAV:displayname", "DAV:isfolder", "DAV:getlastmodified",
                           "DAV:ishidden", "urn:schemas-microsoft-com:workspace#DocumentsFolder",
                           "urn:schemas-microsoft-com:workspace#CategoriesFolder"},
                          std::move(rows));
}

std::vector<std::string> ItemSession::contentClasses() const
{
    requireBound("list content classes");
    requireKind({ItemKind::Workspace}, "ContentClasses");
    const std::shared_ptr<HostStore> store = connection();
    const ItemFiles files(*store);
    const std::shared_ptr<const LoadedItem> schema = files.load({names_.front(), "system", "schema"});
    std::vector<std::string> classes;
    if (!schema || !IsContainer(schema->data.kind)) return classes;
    for (const ListedEntry& entry : files.list(schema->names)) {
        const std::string_view name = entry.name;
        if (entry.container || name.size() <= kContentClassSuffix.size()
            || !same(name.substr(name.size() - kContentClassSuffix.size()), kContentClassSuffix))
            continue;
        classes.push_back(std::string(kContentClassPrefix) + std::string(name.substr(0, name.size() - kContentClassSuffix.size())));
    }
    return classes;
}

std::string ItemSession::createWorkspace(const std::string& url, const std::string& schemaFile, const std::string& templateFile,
                                         Taken taken)
{
    requireBound("create a workspace");
    requireKind({ItemKind::Server}, "CreateWorkspace");
    const std::optional<ItemUrl> target = ParseItemUrl(url);
    if (!target || target->path.size() != 1 || !same(target->host, store_->host().name))
        throw com::ComError(com::E_INVALIDARG, "\"" + url + "\" names no workspace of " + store_->host().name);
    const std::string& name = target->path.front();
    if (same(name, kContainerSegment1))
        throw com::ComError(com::HResultFromWin32(net::ERROR_INVALID_NAME), "The name \"" + name + "\" is reserved");

    const std::shared_ptr<HostStore> store = connection();
    const std::string user = sys::CurrentUser();
    if (!store->host().isAdministrator(user))
        throw com::ComError(errNotHostAdministrator, user + " is not an administrator of " + store->host().name);
    ItemFiles files(*store);
    AccessControl access(*store, files);
    if (taken == Taken::Refuse) {
        HostStore::WriteLock lock(*store);
        if (files.existingName(lock, {}, name))
            throw com::ComError(errItemExists, "The workspace \"" + url + "\" exists already");
    }
    const WorkspaceSchema schema = ParseWorkspaceSchema(readTemplateFile(schemaFile));
    const WorkspaceTemplate folders = ReadTemplateCabinet(net::OpenUncFile(templateFile).get(), templateFile);
    const NewItem workspace = BuildWorkspace(name, schema, folders, user, sys::Now());

    HostStore::WriteLock lock(*store);
    const std::shared_ptr<const LoadedItem> replaced =
        taken == Taken::Replace ? replacedItem(files, access, lock, {}, name, url) : nullptr;
    if (replaced)
        files.replace(lock, {}, workspace, *replaced);
    else
        files.create(lock, {}, workspace);
    return ItemUrlText(target->host, target->path);
}

void ItemSession::changePublishing(bool publish)
{
    requireBound(publish ? "publish" : "check in");
    requireKind({ItemKind::Document}, publish ? "publishing" : "check-in");
    const std::shared_ptr<HostStore> store = connection();
    ItemFiles files(*store);
    AccessControl access(*store, files);
    HostStore::WriteLock lock(*store);
    PublishingState state = storedPublishing(files, lock);
    const Names folder = parentOf(names_);
    if (publish && !access.holds(folder, Role::Coordinator)) throw com::ComError(errPublishDenied, "Permission denied");
    access.require(folder, Role::Author, "check in documents");
    requireNotCheckedOutByOther(state, sys::CurrentUser(), url_);

    // Check-in and publishing commit the document as this object holds it.
    if (!state.checkedOutBy.empty()) checkInState(state);
    if (publish) {
        ++state.majorVersion;
        state.minorVersion = 0;
        state.lastUnapprovedVersion = versionText(state);
        state.documentState = "published";
    }
    editableData().publishing = state;
    editableData().lastModified = sys::Now();
    *content_ = files.replaceItem(lock, names_, data(), *content_, lock.generation() == boundAt_);
    boundAt_ = lock.generation();
}

void ItemSession::checkIn()
{
    changePublishing(false);
}

void ItemSession::publish()
{
    changePublishing(true);
}

} // namespace store
