#pragma once
// Registry hives per host of the simulated network, reached through handles in
// the manner of the system registry API. HKEY_LOCAL_MACHINE and HKEY_USERS are
// stored; HKEY_CLASSES_ROOT is a view of HKEY_LOCAL_MACHINE\SOFTWARE\Classes,
// HKEY_CURRENT_USER of the current user's key under HKEY_USERS, and
// HKEY_CURRENT_CONFIG of HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Hardware
// Profiles\Current. Key names match without regard to case and keep their case;
// value data keep their exact bytes. Every write is atomic. Volatile keys are
// dropped when their host restarts.
//
// Every call returns a Windows error code: 0 on success.
//
// Storage: <network root>/hosts/<HOST>/registry/HKEY_LOCAL_MACHINE.json and
// HKEY_USERS.json, beside the lock file registry.lock that writers hold.
// The predefined handles name the local host (network.ini's local_host; none:
// ERROR_BAD_NETPATH). HKEY_CURRENT_USER is the key CurrentUserKeyName() below
// HKEY_USERS. The root keys of the views are made when first used.
//
// Another host's registry: its administrators (host.ini "administrators",
// compared with sys::CurrentUser()) read and write it; when host.ini says
// "remote_registry = everyone" every other user may read it, and a change
// gives ERROR_ACCESS_DENIED. The local registry is always open to the user.
//
// Names: a key path is names joined by ''; a leading '' or an empty name
// inside it gives ERROR_BAD_PATHNAME. A key name has 1 to 255 characters, a
// value name at most 16,383; NUL or text that is not UTF-8: ERROR_INVALID_PARAMETER.
// Key and value names match without regard to case and keep their case.
//
// Access: a handle allows what it was opened with (the predefined handles,
// ConnectRegistry and CreateKey give KEY_ALL_ACCESS): reading values needs
// KEY_QUERY_VALUE, listing subkeys KEY_ENUMERATE_SUB_KEYS, writing values
// KEY_SET_VALUE, making subkeys KEY_CREATE_SUB_KEY; else ERROR_ACCESS_DENIED.
//
// A hive file that cannot be parsed gives ERROR_BADDB and is never
// overwritten; one that cannot be read or written, ERROR_REGISTRY_IO_FAILED.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace winreg {

using Status = long;
using HKEY = std::uint32_t;

inline constexpr Status ERROR_SUCCESS = 0;
inline constexpr Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Status ERROR_ACCESS_DENIED = 5;
inline constexpr Status ERROR_INVALID_HANDLE = 6;
inline constexpr Status ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr Status ERROR_BAD_NETPATH = 53;
inline constexpr Status ERROR_INVALID_PARAMETER = 87;
inline constexpr Status ERROR_BAD_PATHNAME = 161;
inline constexpr Status ERROR_MORE_DATA = 234;
inline constexpr Status ERROR_NO_MORE_ITEMS = 259;
inline constexpr Status ERROR_BADDB = 1009;               // a hive file that cannot be parsed
inline constexpr Status ERROR_REGISTRY_IO_FAILED = 1016;  // a hive file that cannot be read or written
inline constexpr Status ERROR_KEY_DELETED = 1018;
inline constexpr Status ERROR_CHILD_MUST_BE_VOLATILE = 1021;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

// Access rights, as callers pass them.
inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE = 0x20006;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

// A predefined hive of the local host (an empty machine name) or of another
// host of the network, named with or without leading "\\". Unknown or
// unreachable host: ERROR_BAD_NETPATH; a user who may not reach that host's
// registry: ERROR_ACCESS_DENIED. The handle is closed with CloseKey.
Status ConnectRegistry(std::string_view machine, HKEY hive, HKEY* result);

// Opens subKey ("a\b\c"; empty opens parent itself again) below parent.
Status OpenKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY* result);
// Creates subKey and any missing parents; an existing key is opened. created
// (optional) tells which. A volatile key lives until its host restarts; a
// non-volatile key below a volatile one fails with ERROR_CHILD_MUST_BE_VOLATILE.
Status CreateKey(HKEY parent, std::string_view subKey, bool isVolatile, HKEY* result, bool* created = nullptr);
Status CloseKey(HKEY key);
// Deletes a key that has no subkeys (one with subkeys: ERROR_ACCESS_DENIED);
// an empty subKey deletes the key parent names. The root of a hive or view
// cannot be deleted (ERROR_ACCESS_DENIED). Handles to a deleted key give
// ERROR_KEY_DELETED from then on.
Status DeleteKey(HKEY parent, std::string_view subKey);

// As the system call: with data null only *size and *type are filled; with a
// buffer too small for the value, ERROR_MORE_DATA and *size the size needed.
// An empty name is the key's default value.
Status QueryValue(HKEY key, std::string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size);
Status SetValue(HKEY key, std::string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size);
Status DeleteValue(HKEY key, std::string_view name);

// Subkeys and values by index, in a stable order (the order of creation);
// ERROR_NO_MORE_ITEMS past the last. A name longer than nameCapacity - 1
// bytes gives ERROR_MORE_DATA.
Status EnumKey(HKEY key, std::uint32_t index, std::string* name, std::size_t nameCapacity = 256);
Status EnumValue(HKEY key, std::uint32_t index, std::string* name, std::uint32_t* type,
                 std::vector<std::uint8_t>* data);

// The system's message text for a Windows error code, without a trailing line
// break ("The system cannot find the file specified."); empty when unknown.
std::string SystemMessage(Status code);

// A change of the local host's HKEY_LOCAL_MACHINE made as one atomic write,
// as a registration is: under the hive's lock, change gets the hive as stored
// now (volatile keys of earlier boots dropped) and the host's boot id, edits it
// in memory (hive.h) and tells whether it changed anything. When it returns
// ERROR_SUCCESS having changed something, the hive is written once; otherwise
// nothing is written, so a failure leaves no trace and undoes nothing another
// process wrote. HKEY_CLASSES_ROOT is the key SOFTWARE\Classes of this hive.
// change runs under the registry's own lock: it must not call the functions
// above.
struct Hive;
using HiveChange = std::function<Status(Hive& hive, std::uint64_t bootId, bool& changed)>;
Status ChangeLocalMachine(const HiveChange& change);

// Drops every volatile key of the host, as a restart of that machine does: the
// host's boot id advances, so handles to its volatile keys give
// ERROR_KEY_DELETED. An empty name restarts the local host; an unknown host
// is left alone.
void RestartHost(std::string_view machine);

// The name of the current user's key below HKEY_USERS: sys::CurrentUser()
// with each '\' replaced by '_' ("TARVEXNET_alice", or the login name).
std::string CurrentUserKeyName();

} // namespace winreg
