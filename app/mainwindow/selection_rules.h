#pragma once
// The rules of the selection that depend on texts alone: the replication type
// of an add, the selected source items as a list, whether an entry or a
// profile pair is held already, which entries stand at a destination address,
// and the names the selection strings cannot carry.

#include <string>
#include <string_view>
#include <vector>

// The selection as three index-parallel lists: entry i of each belongs
// together.
struct CartEntries {
    std::vector<std::string> sources;
    std::vector<std::string> destinations;
    std::vector<std::string> types;

    // The entries of the three selection strings (sources followed by "|",
    // destinations by "=", types by "~").
    static CartEntries Parse(std::string_view sources, std::string_view destinations, std::string_view types);

    // The three strings again, each entry followed by its separator.
    std::string sourcesText() const;
    std::string destinationsText() const;
    std::string typesText() const;

    // Removes the entries whose destination folder and item name make the
    // address ("http://D/W/Documents" and "a.txt" make
    // "http://D/W/Documents/a.txt"), compared without regard to case; true
    // when one did.
    bool removeEntriesAt(std::string_view address);
    // Removes those and, as the pending folder at the address goes with
    // them, every entry whose destination folder lies in it; true when an
    // entry at the address went.
    bool removeEntriesAtAndBelow(std::string_view address);

private:
    // Keeps the entries for which dropped is false; true when one was dropped.
    template <class Dropped>
    bool removeEntriesWhere(Dropped dropped);
};

// The replication type of an add from the URL levels of the source and the
// destination address: 1 a whole server into a server (2, 2), 2 a workspace
// into a server (3, 2), 3 anything else.
int ReplicationTypeForLevels(int srcLevel, int dstLevel);

// The URLs of the selected source items: with one row selected the address
// box's text (it names the clicked item), with several the level's URL, "/"
// and each row's text. Kept as a list, not joined by "|", so that a name
// holding "|" stays one item (and is refused whole).
std::vector<std::string> SelectedSourceUrls(const std::vector<std::string>& selectedRows, std::string_view levelUrl,
                                            std::string_view address);

// The last "/" part of the URL; "" after a final "/".
std::string LastUrlPart(std::string_view url);

// Whether some pair i of the two parallel lists is (source, destination),
// both compared without regard to case.
bool HoldsPair(const std::vector<std::string>& sources, const std::vector<std::string>& destinations,
               std::string_view source, std::string_view destination);
// Whether some entry of the list is the text, compared without regard to case.
bool HoldsText(const std::vector<std::string>& entries, std::string_view text);

// Whether some type text of the list is one of the codes, compared as numbers.
bool HoldsReplicationType(const std::vector<std::string>& types, std::initializer_list<int> codes);

// Whether a source URL holds "|", which ends each source of the selection and
// the profile queue, or a destination URL "=", which ends each destination:
// such a URL would split into two entries. ("~" ends only the type codes.)
bool BreaksSourceList(std::string_view sourceUrl);
bool BreaksDestinationList(std::string_view destinationUrl);
// The messages that refuse an item whose URL would split its list, and a
// destination folder whose URL would.
std::string SourceSeparatorRefusal(std::string_view sourceUrl);
std::string DestinationSeparatorRefusal(std::string_view destinationUrl);

// The reminder that only a coordinator of the destination workspace may add
// folders or queue profile copies.
inline constexpr const char* kCoordinatorReminder = "Please make sure you are the \u201Ccoordinator\u201D for this workspace.";
