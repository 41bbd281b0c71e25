#pragma once
// The state behind every store object: the item it stands for (or the values
// of one not yet saved) and the operations on it. The store object classes
// are thin views of a session.

#include "platform/ado/recordset.h"
#include "platform/store/host_store.h"
#include "platform/store/item_data.h"
#include "platform/store/item_files.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class ItemSession {
public:
    explicit ItemSession(ItemKind kindToCreate);

    bool preOpenFlag = false;

    bool isBound() const { return store_ != nullptr; }
    const std::string& url() const { return url_; }
    // The kind of the item stood for, or the kind a SaveTo creates.
    ItemKind kind() const { return isBound() ? data().kind : kindToCreate_; }
    std::string displayName() const;
    // The item's values: as read, and shared with the store's cache, until
    // this object changes them through editableData().
    const ItemData& data() const { return own_ ? *own_ : loaded_->data; }
    ItemData& editableData();
    // The content, shared with a document's content stream.
    const std::shared_ptr<Content>& content() const { return content_; }

    void open(const std::string& url);
    // How a document's publishing state is set when it is created.
    enum class Publishing { Fresh, AsGiven };
    // What a save does with an item that has the name already: refuse it
    // (errItemExists), or take its place (see SpsDataSource::SaveOver).
    enum class Taken { Refuse, Replace };
    void saveTo(const std::string& url, Publishing publishing = Publishing::Fresh, Taken taken = Taken::Refuse);
    void save();
    void remove(const std::string& url);

    com::Variant property(std::string_view name) const;
    std::optional<com::Variant> findProperty(std::string_view name) const;
    void setProperty(std::string_view name, const com::Variant& value);

    // Containers.
    RoleLists rolesInForce() const;
    void setRoleList(Role role, std::vector<std::string> accounts);
    void setInheritParentSecurity(bool inherit);
    ado::Recordset listing(bool containers) const;
    ado::Recordset workspaces() const;
    std::vector<std::string> contentClasses() const;
    // Creates a workspace on this server; returns its URL.
    std::string createWorkspace(const std::string& url, const std::string& schemaFile, const std::string& templateFile,
                                Taken taken = Taken::Refuse);

    // Documents.
    void checkIn();
    void publish();

    // Throws errWrongItemKind unless the item stood for is one of kinds.
    void requireKind(std::initializer_list<ItemKind> kinds, std::string_view member) const;

private:
    void requireBound(std::string_view action) const;
    // The bound item's publishing state as stored now; errItemNotFound when
    // the item is gone. While the store is at the generation at which this
    // object last read or wrote the item, that is the state it holds.
    PublishingState storedPublishing(const ItemFiles& files, const HostStore::WriteLock& lock) const;
    // The bound item's host, reached afresh: every call on an opened object
    // meets the host as it is now (unreachable, no store, ...).
    std::shared_ptr<HostStore> connection() const;
    void bind(std::shared_ptr<HostStore> store, const std::string& url, std::shared_ptr<const LoadedItem> item,
              std::uint64_t generation);
    std::string canonicalUrl() const;
    void changePublishing(bool publish);

    ItemKind kindToCreate_;
    std::shared_ptr<HostStore> store_;
    std::string url_;
    Names names_;
    std::shared_ptr<const LoadedItem> loaded_; // as read or written last
    std::optional<ItemData> own_;              // the values once this object changes them
    std::shared_ptr<Content> content_ = std::make_shared<Content>();
    bool rolesChanged_ = false;
    std::uint64_t boundAt_ = 0; // the store's generation when the item was last read or written
};

} // namespace store
