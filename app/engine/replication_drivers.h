#pragma once
// The replication drivers: they turn the selection and the profile queue of
// the shared state into work, show progress in the progress dialog, record
// report rows and poll the cancel flag at fixed points.

#include <string>

// The whole-workspace entries (types 1 and 2) of the selection.
void DoWorkspaceReplication();
// The queued profile copies.
void DoDirectProfileReplication();
// The folder and document entries (type 3) of the selection.
void DoDefaultReplication();
// One folder or document entry: source URL, destination folder URL.
void DoDefaultReplicationA(const std::string& source, const std::string& destination);
// Empties the selection and the profile queue, clears the option and cancel
// flags, and disables the Replicate and Remove commands.
void ResetReplicationState();

// The URL without its last "/" part ("http://S/W/f/a.txt" gives "http://S/W/f").
std::string GetDir(const std::string& url);
// The last "/" part of the URL (a document's file name); "" after a final "/".
std::string GetDoc(const std::string& url);
// Whether a "/" part of the URL is "Categories", in exactly that letter case.
bool IsFolderCatFolder(const std::string& url);
