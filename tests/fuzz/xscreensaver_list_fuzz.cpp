// The ~/.xscreensaver list editor against xscreensaver's own reading of the
// file: an add keeps every entry and setting and puts ours last; a second add
// finds it there; add then remove gives back the entries and settings; a
// remove takes out only entries that name verdanelle. The file, as it came,
// is also read as app-defaults for the file written where there is none.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "xscreensaver_list.h"
#include "xscreensaver_reading.h"

namespace {

[[noreturn]] void Broken(const char* property, const std::string& text) {
    std::fprintf(stderr, "property broken: %s\n--- text ---\n%s\n---\n", property, text.c_str());
    std::abort();
}

// SETTINGS again, but a selected: that named the entry at INDEX.
bool SameSettings(const Reading& before, const Reading& after, std::size_t index) {
    if (before.settings.size() != after.settings.size())
        return false;
    for (std::size_t i = 0; i < before.settings.size(); ++i) {
        const std::string& line = before.settings[i];
        if (line == after.settings[i])
            continue;
        std::size_t value = NamedValue(line, "selected");
        if (value == std::string::npos ||
            std::strtol(line.c_str() + value, nullptr, 10) != static_cast<long>(index))
            return false;
    }
    return true;
}

// Is A's list B's without some entries that name verdanelle?
bool OnlyOursTakenOut(const std::vector<std::string>& before,
                      const std::vector<std::string>& after) {
    std::size_t k = 0;
    for (const std::string& entry : before)
        if (k < after.size() && after[k] == entry)
            ++k;
        else if (!NamesVerdanelle(entry))
            return false;
    return k == after.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    // Two backslashes escape one in X resources; this reading does not say
    // how xscreensaver takes them, so such files are held only to no crash.
    const bool comparable = file.find("\\\\") == std::string::npos;
    Reading before = ReadAsXscreensaver(file);

    ListEdit added = AddToProgramsList(file);
    if (added.outcome == ListOutcome::Changed && comparable) {
        Reading after = ReadAsXscreensaver(added.text);
        std::vector<std::string> wanted = before.entries;
        wanted.push_back(oursRead);
        if (!before.found || !after.found || after.entries != wanted)
            Broken("an add keeps every entry and puts ours last", added.text);
        if (after.settings != before.settings)
            Broken("an add changes no setting", added.text);
        if (AddToProgramsList(added.text).outcome != ListOutcome::AlreadyThere)
            Broken("a second add finds it there", added.text);
        ListEdit removed = RemoveFromProgramsList(added.text);
        Reading again = ReadAsXscreensaver(removed.text);
        if (removed.outcome != ListOutcome::Changed || again.entries != before.entries)
            Broken("add then remove gives back the entries", removed.text);
        if (!SameSettings(before, again, before.entries.size()))
            Broken("add then remove gives back the settings", removed.text);
    }
    if (added.outcome != ListOutcome::Changed && !added.text.empty())
        Broken("only a change has text", file);

    ListEdit removed = RemoveFromProgramsList(file);
    if (removed.outcome == ListOutcome::Changed && comparable) {
        Reading after = ReadAsXscreensaver(removed.text);
        if (!after.found || !OnlyOursTakenOut(before.entries, after.entries))
            Broken("a remove takes out only entries that name verdanelle", removed.text);
        if (RemoveFromProgramsList(removed.text).outcome == ListOutcome::Changed)
            Broken("a second remove finds nothing to take out", removed.text);
    }

    ListEdit made = NewInitFile(file);
    if ((made.outcome == ListOutcome::Changed) == made.text.empty())
        Broken("a new file is written whole, or not at all", file);
    if (made.outcome == ListOutcome::Changed && comparable) {
        Reading after = ReadAsXscreensaver(made.text);
        if (!after.found || after.entries.empty() || after.entries.back() != oursRead)
            Broken("a new file lists ours last", made.text);
    }
    return 0;
}
