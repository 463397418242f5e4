// Verdanelle's entry in the programs: list of an ~/.xscreensaver, added and
// taken out again as text, apart from any file, so every case can be tested.
// Nothing but the entries' own lines (and, at the list's end, the backslash
// that continues the list to them, with the \n that ends an entry a hand
// edit left open) and the number that selected: gives ever changes.
#pragma once

#include <string>

enum class ListOutcome {
    Changed,      // text is the file with the entry added or taken out
    AlreadyThere, // adding: the entry is in the list already
    NotThere,     // taking out: the list has no entry of ours
    UsersOwn,     // adding: a Verdanelle entry of the user's own (other options, disabled);
                  // taking out: one that shares its lines with other entries; left alone
    NoList,       // no programs: resource
    TwoLists,     // more than one: which one xscreensaver takes is not ours to guess
    Unended,      // the list runs to the end of the file, a backslash too many
};

struct ListEdit {
    ListOutcome outcome;
    std::string text;  // when Changed
    std::string entry; // UsersOwn, or Changed with one left: that entry, as the list has it
};

// The entry as it is added: the GL visual, xscreensaver's --root.
extern const char verdanelleEntry[];

ListEdit AddToProgramsList(const std::string& file);
ListEdit RemoveFromProgramsList(const std::string& file);

// An ~/.xscreensaver that xscreensaver reads as its defaults: the *programs:
// resource of its app-defaults file, as programs:. Empty when it has none.
std::string ProgramsFromDefaults(const std::string& appDefaults);

// The ~/.xscreensaver to write where there is none: xscreensaver's own list
// with ours added (Changed). AlreadyThere or UsersOwn where that list names
// Verdanelle already, as it is read then with no file; NoList where the
// app-defaults hold none.
ListEdit NewInitFile(const std::string& appDefaults);
