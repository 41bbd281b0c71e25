#pragma once
// The error log: Log/TarvexErrorLog.txt below the program folder, opened by a
// system-details header and then one line per logged error; and the
// document-store client's language that the header finds, kept in the
// settings database.

#include "platform/com/hresult.h"

#include <filesystem>
#include <string>

std::filesystem::path LogFolder();
std::filesystem::path ErrorLogFile();

// "No=<number in decimal>-due to -<description><tag>", nothing in between.
std::string ErrorLogEntry(com::HRESULT number, const std::string& description, const std::string& tag);

// Creates the log folder and, when it is missing, the log with its header.
void CreateLogFolderandFile();
// Writes the system-details header into the (new, empty) log and stores the
// document-store client's language.
void WriteSystemConfig();
// Appends "<general date> -- <message>" to the log, creating the log with its
// header when it is missing. Never fails: a line that cannot be written to the
// log goes to standard error instead.
void WriteErrorLog(const std::string& message);

// The language of the first row of tblSPSClient; empty when there is none.
std::string GetSPSClientConfig();
// Rewrites tblSPSClient with the one row of the language.
void storeSPSClientConfig(const std::string& language);

// Drops the leading "*" characters of the text and cuts it at its first NUL,
// in place; returns that text without leading and trailing blanks.
std::string StripNulls(std::string& text);
