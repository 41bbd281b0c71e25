#pragma once
// The selection and the profile queue are lists in one string, each entry
// followed by its separator ("a|b|"). Splitting leaves one empty part after
// the last entry; the entries are the parts before it.

#include <string>
#include <string_view>
#include <vector>

// The entries of the list: "a|b|" gives "a" and "b"; text after the last
// separator is no entry ("a|b" gives "a" alone).
std::vector<std::string> SplitEntries(std::string_view list, std::string_view separator);

// Entry index of the list; kSubscriptOutOfRange past its end.
const std::string& EntryAt(const std::vector<std::string>& entries, std::size_t index);

// Whether an entry's replication type text is the number code (1 server to
// server, 2 workspace to server, 3 folder or document level).
bool IsReplicationType(std::string_view typeText, int code);
