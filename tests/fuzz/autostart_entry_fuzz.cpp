// The autostart entry editor: the first byte picks the idle time, the rest is
// the user's entry. Started, an entry runs --idle SECONDS, is not hidden,
// keeps every other line in order, and a second start changes nothing;
// hidden, it is hidden, and a second hide changes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "autostart_entry.h"

namespace {

[[noreturn]] void Broken(const char* property, const std::string& before,
                         const std::string& after) {
    std::fprintf(stderr, "property broken: %s\n--- before ---\n%s\n--- after ---\n%s\n", property,
                 before.c_str(), after.c_str());
    std::abort();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A line that the editor may change: Exec, Comment or Hidden.
bool Editable(const std::string& line) {
    std::size_t key = line.find_first_not_of(" \t");
    return key != std::string::npos &&
           (line.compare(key, 4, "Exec") == 0 || line.compare(key, 7, "Comment") == 0 ||
            line.compare(key, 6, "Hidden") == 0);
}

// Are BEFORE's lines, but blank ones and those the editor may change, in
// AFTER in order?
bool Kept(const std::string& before, const std::string& after) {
    std::vector<std::string> now = Lines(after);
    std::size_t k = 0;
    for (const std::string& line : Lines(before)) {
        if (Editable(line) || line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        while (k < now.size() && now[k] != line)
            ++k;
        if (k++ == now.size())
            return false;
    }
    return true;
}

// Does LINE hold --idle SECONDS (or -idle, or with "=") among its words?
bool RunsIdle(const std::string& line, long seconds) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t start = line.find_first_not_of(" \t", i);
        if (start == std::string::npos)
            break;
        i = line.find_first_of(" \t", start);
        words.push_back(line.substr(start, i == std::string::npos ? i : i - start));
    }
    std::string number = std::to_string(seconds);
    for (std::size_t k = 0; k < words.size(); ++k)
        for (const char* idle : {"--idle", "-idle"})
            if ((words[k] == idle && k + 1 < words.size() && words[k + 1] == number) ||
                words[k] == idle + ("=" + number))
                return true;
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
    if (hidden.outcome == EntryOutcome::NotAnEntry && started.outcome != EntryOutcome::NotAnEntry)
        Broken("an entry that cannot be hidden cannot be started", text, "");
    if (started.outcome == EntryOutcome::NotAnEntry && !started.text.empty())
        Broken("no entry, no text", text, started.text);
    if (started.outcome == EntryOutcome::NotAnEntry)
        return 0;
    const std::string& now = started.text;
    bool runs = false;
    for (const std::string& line : Lines(now))
        runs = runs || (line.find("Exec") != std::string::npos && RunsIdle(line, seconds));
    if (!runs)
        Broken("started, its Exec runs --idle SECONDS", text, now);
    if (EntryHidden(now))
        Broken("started, it is not hidden", text, now);
    if (!Kept(text, now))
        Broken("started, every other line is kept in order", text, now);
    if (StartInEntry(now, "verdanelle", seconds).outcome != EntryOutcome::Unchanged)
        Broken("a second start changes nothing", text, now);
    if ((started.outcome == EntryOutcome::Unchanged) != (now == text))
        Broken("unchanged means the same text", text, now);

    if (!EntryHidden(hidden.text))
        Broken("hidden, it is hidden", text, hidden.text);
    if (!Kept(text, hidden.text))
        Broken("hidden, every other line is kept in order", text, hidden.text);
    if (HideEntry(hidden.text, "verdanelle").outcome != EntryOutcome::Unchanged)
        Broken("a second hide changes nothing", text, hidden.text);
    return 0;
}
