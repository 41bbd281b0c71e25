#pragma once
// The selection's add and remove operations (module mManageDuringAdd): the
// replication type of an add, adding the selected source items or a whole
// server's workspaces to the selection, removing a pending item, and the
// selected items and their destination folders.

#include <string>
#include <vector>

void FindReplicationType();
void AddFilesToCartSR();
void AddFilesToCart();
void RemoveAddedItems();
// The selected source items, and the destination folder each goes into (the
// current one, once per item).
std::vector<std::string> FindSelectedItems_Source();
std::vector<std::string> FindSelectedItems_Dest();
std::string FindFilenameinUrl(const std::string& url);

// Refuses, with a message, an entry whose source URL holds "|" or whose
// destination URL holds "=", which would split its selection string; false
// when it may be added.
bool RefusedForSeparator(const std::string& source, const std::string& destination);
// Refuses, with a message naming the item, an entry whose copy would land on
// the item itself or inside it (both panes may show one server); false when
// it may be added.
bool RefusedOntoItself(const std::string& source, const std::string& destination);
