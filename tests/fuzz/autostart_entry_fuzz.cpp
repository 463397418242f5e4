// The autostart entry editor: the first byte picks the idle time, the rest
// is the user's entry. Started, it runs --idle SECONDS, is not hidden and
// keeps every other line in order; hidden, it is hidden; neither changes
// anything a second time.
#include <cstdint>
#include <iterator>
#include <sstream>

#include "autostart_entry.h"
#include "property.h"

namespace {

// Are BEFORE's lines, but blank ones and those the editor may change (Exec,
// Comment, Hidden), in AFTER in order?
bool Kept(const std::string& before, const std::string& after) {
    std::vector<std::string> now = Lines(after);
    std::size_t k = 0;
    for (const std::string& line : Lines(before)) {
        std::size_t key = line.find_first_not_of(" \t\r");
        if (key == std::string::npos || line.compare(key, 4, "Exec") == 0 ||
            line.compare(key, 7, "Comment") == 0 || line.compare(key, 6, "Hidden") == 0)
            continue;
        while (k < now.size() && now[k] != line)
            ++k;
        if (k++ == now.size())
            return false;
    }
    return true;
}

// Has an Exec line --idle SECONDS (or -idle, or with "=") among its words?
bool RunsIdle(const std::string& text, long seconds) {
    std::string number = std::to_string(seconds);
    for (const std::string& line : Lines(text)) {
        std::istringstream in(line.substr(std::min(line.find('='), line.size() - 1) + 1));
        std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
        for (std::size_t k = 0; line.find("Exec") != std::string::npos && k < words.size(); ++k)
            for (std::string idle : {"--idle", "-idle"})
                if ((words[k] == idle && k + 1 < words.size() && words[k + 1] == number) ||
                    words[k] == idle + "=" + number)
                    return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const long seconds = 1 + data[0] * 338L; // 1 to 86191
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    EntryEdit started = StartInEntry(text, "verdanelle", seconds);
    EntryEdit hidden = HideEntry(text, "verdanelle");
    bool none = started.outcome == EntryOutcome::NotAnEntry;
    Hold(!none || started.text.empty(), "no entry, no text", started.text);
    Hold(hidden.outcome != EntryOutcome::NotAnEntry || none, "what cannot be hidden cannot start",
         text);
    if (none)
        return 0;
    Hold(RunsIdle(started.text, seconds) && !EntryHidden(started.text) && Kept(text, started.text),
         "started, it runs --idle SECONDS, is not hidden and keeps the other lines", started.text);
    Hold(StartInEntry(started.text, "verdanelle", seconds).outcome == EntryOutcome::Unchanged &&
             (started.outcome == EntryOutcome::Unchanged) == (started.text == text),
         "a second start changes nothing", started.text);
    Hold(EntryHidden(hidden.text) && Kept(text, hidden.text) &&
             HideEntry(hidden.text, "verdanelle").outcome == EntryOutcome::Unchanged,
         "hidden, it is hidden, keeps the other lines, and a second hide changes nothing",
         hidden.text);
    return 0;
}
