// The XDG autostart entry that starts verdanelle --idle with the session,
// made or changed as text, apart from any file, so every case can be tested.
// A user's own entry keeps every line but the few these change.
#pragma once

#include <string>

constexpr long defaultIdleSeconds = 300;

enum class EntryOutcome {
    Changed,    // text is the entry as asked
    Unchanged,  // it is so already
    NotAnEntry, // no [Desktop Entry] group first, or an Exec whose quote does not end:
                // not ours to guess at
};

struct EntryEdit {
    EntryOutcome outcome;
    std::string text;
};

// A new entry that runs PROGRAM --idle SECONDS.
std::string AutostartEntry(const std::string& program, long seconds);

// TEXT (empty: no entry yet) with Verdanelle started after SECONDS: only the
// number after Exec's --idle changes (--idle SECONDS is added where Exec has
// none, Exec itself where the entry has none), with our own Comment, and a
// Hidden=true that turned the entry off goes.
EntryEdit StartInEntry(const std::string& text, const std::string& program, long seconds);

// TEXT (empty: no entry yet) turned off with Hidden=true: how a user's entry
// turns off a system-wide one of the same name.
EntryEdit HideEntry(const std::string& text, const std::string& program);

// Hidden=true in its [Desktop Entry] group.
bool EntryHidden(const std::string& text);
