#pragma once
// Error numbers of the document store. Every store call that fails throws
// com::ComError with one of these numbers and a description naming the item.

#include "platform/com/hresult.h"

#include <string>

namespace store {

// The item (or the folder that should hold it) does not exist.
inline constexpr com::HRESULT errItemNotFound = com::MakeHResult(0x80040E19);
// A save-to names an item that exists already (whatever the overwrite option).
inline constexpr com::HRESULT errItemExists = com::MakeHResult(0x80040E98);
// The current user lacks the role the operation needs.
inline constexpr com::HRESULT errPermissionDenied = com::MakeHResult(0x80040E09);
// There is no network at all: the client cannot reach any store.
inline constexpr com::HRESULT errStoreUnreachable = com::MakeHResult(0x80040E14);
// The host runs no document store (no "MSDMSERV" service or no store folder).
inline constexpr com::HRESULT errNoStoreOnHost = com::MakeHResult(0x80040E96);
// The URL names a host the network does not know.
inline constexpr com::HRESULT errHostNotFound = com::MakeHResult(0x80072EE7);
// The host is known but does not answer.
inline constexpr com::HRESULT errHostUnreachable = com::MakeHResult(0x80072EFD);
// The item has no property of that name.
inline constexpr com::HRESULT errPropertyNotFound = com::MakeHResult(0x800404F0);
// Workspace creation by a user who is not an administrator of the host.
inline constexpr com::HRESULT errNotHostAdministrator = com::MakeHResult(0x800C0005);
// The document is checked out by another user.
inline constexpr com::HRESULT errCheckedOutByOther = com::E_ACCESSDENIED;
// A role list names an account the host does not know.
inline constexpr com::HRESULT errUnknownAccount = com::E_INVALIDARG;
// Publishing without the coordinator role ("Permission denied").
inline constexpr com::HRESULT errPublishDenied = 70;
// A member that the opened item does not have (a folder's listing asked of a
// document, a workspace list asked of a folder).
inline constexpr com::HRESULT errWrongItemKind = com::E_NOINTERFACE;
// Writing a property the store computes itself ("DAV:href", ...).
inline constexpr com::HRESULT errReadOnlyProperty = com::MakeHResult(0x80040E21);
// A store file that cannot be read back (damaged or of an unknown format).
inline constexpr com::HRESULT errDamagedItem = com::E_FAIL;

// What the decoders of store files throw: errDamagedItem with the damage
// found. The file layer, which knows the item, throws it again naming the
// item's URL.
class DamagedItem : public com::ComError {
public:
    explicit DamagedItem(const std::string& damage)
        : ComError(errDamagedItem, "The stored item is damaged: " + damage), damage_(damage)
    {
    }
    const std::string& damage() const { return damage_; }

private:
    std::string damage_;
};

} // namespace store
