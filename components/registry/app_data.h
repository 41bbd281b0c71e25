#pragma once
// Application data: values kept under HKEY_LOCAL_MACHINE\Software\<company>\<application>
// of a machine of the network.

#include "components/registry/reg_key.h"

#include <string>

namespace vornik {

struct ApplicationIdentity {
    std::string computer; // empty: the local machine
    std::string company;
    std::string application;
};

// "Software\<company>\<application>".
std::string ApplicationKeyPath(const ApplicationIdentity& app);

// Every member fails with 0x80040205 when the company or application name is
// empty, and with the registry error when the key or value cannot be reached.
std::string GetAppStringData(const ApplicationIdentity& app, const std::string& name);
// Stored as REG_SZ without a terminating zero.
void SetAppStringData(const ApplicationIdentity& app, const std::string& name, const std::string& data);
std::int32_t GetAppNumData(const ApplicationIdentity& app, const std::string& name);
void SetAppNumData(const ApplicationIdentity& app, const std::string& name, std::int32_t data);
com::Variant GetAppBinaryData(const ApplicationIdentity& app, const std::string& name);
void SetAppBinaryData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data);
// Strings stored as one REG_MULTI_SZ value; SetAppMultipleStringData stores
// the same way.
void SetAppMultiStringData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data);
void SetAppMultipleStringData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data);
com::Variant GetAppMultiStringData(const ApplicationIdentity& app, const std::string& name);
// Creates the application key (with its parents) and opens it.
com::ComPtr<RegKey> CreateAppKey(const ApplicationIdentity& app);
// Deletes the application key, then the company key when nothing else is left in it.
void DeleteAppKey(const ApplicationIdentity& app);

} // namespace vornik
