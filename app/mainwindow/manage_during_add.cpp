#include "app/mainwindow/manage_during_add.h"

// The selection comes with the selection work; until then nothing is added or
// removed.

void FindReplicationType() {}
void AddFilesToCartSR() {}
void AddFilesToCart() {}
void RemoveAddedItems() {}
std::string FindSelectedItems_Source() { return {}; }
std::string FindSelectedItems_Dest() { return {}; }
std::string FindFilenameinUrl(const std::string&) { return {}; }
