#pragma once
// The selection's add and remove operations (module mManageDuringAdd): the
// replication type of an add, adding the selected source items or a whole
// server's workspaces to the selection, removing a pending item, and the
// selected items as selection strings.

#include <string>

void FindReplicationType();
void AddFilesToCartSR();
void AddFilesToCart();
void RemoveAddedItems();
std::string FindSelectedItems_Source();
std::string FindSelectedItems_Dest();
std::string FindFilenameinUrl(const std::string& url);

// Refuses, with a message, an entry whose source or destination URL holds a
// separator of the selection strings; false when it may be added.
bool RefusedForSeparator(const std::string& source, const std::string& destination);
