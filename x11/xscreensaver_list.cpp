#include "xscreensaver_list.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

const char verdanelleEntry[] = "  GL: \"Verdanelle\"  verdanelle --root  \\n";

namespace {

using Lines = std::vector<std::string>;

Lines Split(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Join(const Lines& lines, bool finalNewline) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() || finalNewline ? "\n" : "");
    return text;
}

std::string Trim(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// An odd number of backslashes at the end continues a resource's value.
bool Continues(const std::string& line) {
    std::size_t n = 0;
    while (n < line.size() && line[line.size() - 1 - n] == '\\')
        ++n;
    return n % 2 == 1;
}

// Where a resource's value starts on a line, or npos. xscreensaver reads its
// own file by name alone, in any case, with no blank before the colon
// ("Programs:" counts, "*programs:" does not); its app-defaults, as X
// resources, say "*programs:".
std::size_t ValueStart(const std::string& line, const char* name, bool appDefaults = false) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos)
        return std::string::npos;
    if (appDefaults && line[i] == '*')
        ++i;
    else if (appDefaults)
        return std::string::npos;
    std::size_t n = std::strlen(name);
    if (line.size() < i + n + 1 || strncasecmp(line.c_str() + i, name, n) != 0)
        return std::string::npos;
    return line[i + n] == ':' ? i + n + 1 : std::string::npos;
}

// A line's share of the list, from `start`, without the backslash that
// continues it.
std::string Content(const std::string& line, std::size_t start) {
    std::string content = line.substr(start);
    if (Continues(content))
        content.pop_back();
    return content;
}

struct Entry {
    bool disabled = false;
    std::string visual, label;
    std::vector<std::string> words;
};

// [-] [visual:] ["label"] command
Entry ParseEntry(std::string text) {
    Entry entry;
    text = Trim(text);
    if (!text.empty() && text[0] == '-') {
        entry.disabled = true;
        text = Trim(text.substr(1));
    }
    std::size_t colon = text.find(':');
    if (colon != std::string::npos &&
        text.substr(0, colon).find_first_of(" \t\"") == std::string::npos) {
        entry.visual = text.substr(0, colon);
        text = Trim(text.substr(colon + 1));
    }
    if (!text.empty() && text[0] == '"') {
        std::size_t close = text.find('"', 1);
        entry.label = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        text = close == std::string::npos ? "" : text.substr(close + 1);
    }
    std::istringstream words(text);
    for (std::string word; words >> word;)
        entry.words.push_back(word);
    return entry;
}

bool IsVerdanelle(const Entry& e) {
    if (e.words.empty())
        return false;
    const std::string& program = e.words[0];
    return program.substr(program.rfind('/') + 1) == "verdanelle";
}

bool IsOurs(const Entry& e) {
    return !e.disabled && (e.visual == "GL" || e.visual == "gl") &&
           (e.label.empty() || e.label == "Verdanelle") &&
           e.words == std::vector<std::string>{"verdanelle", "--root"};
}

// Ends in the two characters \n that end an entry.
bool EndsEntry(const std::string& text) {
    return text.size() >= 2 && text.compare(text.size() - 2, 2, "\\n") == 0;
}

// One entry of the list, as xscreensaver numbers them (blank ones are none).
struct Span {
    std::string text;        // trimmed, without its \n
    std::size_t first, last; // the lines it is on
    bool alone;              // no other entry, nor the resource's name, on those lines
};

struct List {
    ListOutcome problem; // Changed when the list was found
    std::size_t first, last;
    std::vector<Span> entries;
};

std::vector<Span> Entries(const Lines& lines, std::size_t first, std::size_t last,
                          std::size_t start) {
    std::vector<Span> entries;
    Span entry = {"", 0, 0, true};
    bool begun = false;
    auto close = [&] {
        entry.text = Trim(entry.text);
        if (begun)
            entries.push_back(entry);
        entry = {"", 0, 0, true};
        begun = false;
    };
    for (std::size_t i = first; i <= last; ++i) {
        std::string content = Content(lines[i], i == first ? start : 0);
        for (std::size_t j = 0;;) {
            std::size_t end = content.find("\\n", j);
            std::string piece = content.substr(j, end == std::string::npos ? end : end - j);
            entry.text += piece;
            if (!Trim(piece).empty()) {
                entry.first = begun ? entry.first : i;
                begun = true;
            }
            entry.last = i;
            if (end == std::string::npos)
                break;
            close();
            j = end + 2;
        }
    }
    close();
    for (Span& e : entries) {
        e.alone = e.first != first;
        for (const Span& other : entries)
            if (&other != &e && other.first <= e.last && e.first <= other.last)
                e.alone = false;
    }
    return entries;
}

List FindList(const Lines& lines, bool appDefaults = false) {
    List list = {ListOutcome::NoList, 0, 0, {}};
    bool continued = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool starts =
            !continued && ValueStart(lines[i], "programs", appDefaults) != std::string::npos;
        continued = Continues(lines[i]);
        if (!starts)
            continue;
        if (list.problem == ListOutcome::Changed)
            return {ListOutcome::TwoLists, 0, 0, {}};
        std::size_t last = i;
        while (Continues(lines[last]))
            if (++last == lines.size())
                return {ListOutcome::Unended, 0, 0, {}};
        list = {ListOutcome::Changed, i, last, {}};
        continued = false;
        i = last;
    }
    if (list.problem == ListOutcome::Changed)
        list.entries = Entries(lines, list.first, list.last,
                               ValueStart(lines[list.first], "programs", appDefaults));
    return list;
}

bool EndsInNewline(const std::string& text) {
    return !text.empty() && text.back() == '\n';
}

// selected: numbers the entries from 0. Those after the ones taken out move
// down; where it named one of them, it names none (-1). One past the list's
// end was the user's, and stays.
void Renumber(Lines& lines, const List& list, const std::vector<std::size_t>& removed) {
    bool continued = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::size_t start = continued || (i >= list.first && i <= list.last)
                                ? std::string::npos
                                : ValueStart(lines[i], "selected");
        continued = Continues(lines[i]);
        std::size_t digits =
            start == std::string::npos ? start : lines[i].find_first_not_of(" \t", start);
        if (digits == std::string::npos)
            continue;
        char* end;
        long selected = std::strtol(lines[i].c_str() + digits, &end, 10);
        if (end == lines[i].c_str() + digits || selected < 0 ||
            selected >= static_cast<long>(list.entries.size()))
            continue;
        long now = selected;
        for (std::size_t k : removed)
            if (static_cast<long>(k) == selected)
                now = -1;
            else if (static_cast<long>(k) < selected && now >= 0)
                --now;
        if (now != selected) // as written ("02" stays "02") where it stays
            lines[i].replace(digits, static_cast<std::size_t>(end - (lines[i].c_str() + digits)),
                             std::to_string(now));
    }
}

} // namespace

ListEdit AddToProgramsList(const std::string& file) {
    Lines lines = Split(file);
    List list = FindList(lines);
    if (list.problem != ListOutcome::Changed)
        return {list.problem, "", ""};
    for (const Span& e : list.entries)
        if (IsOurs(ParseEntry(e.text)))
            return {ListOutcome::AlreadyThere, "", ""};
    for (const Span& e : list.entries)
        if (IsVerdanelle(ParseEntry(e.text)))
            return {ListOutcome::UsersOwn, "", e.text};
    std::size_t start = list.last == list.first ? ValueStart(lines[list.first], "programs") : 0;
    std::string end = Trim(Content(lines[list.last], start));
    if (end.empty() && list.last != list.first) {
        // The list ends in a blank line, as xscreensaver writes it: ours before
        // that, once the last entry is ended (a hand edit may leave it open).
        for (std::size_t i = list.last; i-- > list.first;) {
            std::size_t from = i == list.first ? ValueStart(lines[i], "programs") : 0;
            std::string content = Trim(Content(lines[i], from));
            if (content.empty())
                continue;
            if (!EndsEntry(content))
                lines[i].insert(lines[i].size() - 1, "\\n");
            break;
        }
        lines.insert(lines.begin() + list.last, std::string(verdanelleEntry) + "\\");
    } else {
        // Continue the last entry to ours, which ends the list instead.
        lines[list.last] += end.empty() || EndsEntry(end) ? "\\" : "\\n\\";
        lines.insert(lines.begin() + list.last + 1, verdanelleEntry);
    }
    return {ListOutcome::Changed, Join(lines, EndsInNewline(file)), ""};
}

// Every entry that runs Verdanelle goes, enabled or not, whatever its
// options: xscreensaver's settings rewrite ours as the user changes it.
ListEdit RemoveFromProgramsList(const std::string& file) {
    Lines lines = Split(file);
    List list = FindList(lines);
    if (list.problem != ListOutcome::Changed)
        return {list.problem, "", ""};
    std::vector<std::size_t> removed;
    std::string left; // one that shares its lines with others: not ours to split
    for (std::size_t k = 0; k < list.entries.size(); ++k)
        if (IsVerdanelle(ParseEntry(list.entries[k].text)) && list.entries[k].alone)
            removed.push_back(k);
        else if (IsVerdanelle(ParseEntry(list.entries[k].text)) && left.empty())
            left = list.entries[k].text;
    if (removed.empty())
        return {left.empty() ? ListOutcome::NotThere : ListOutcome::UsersOwn, "", left};
    Renumber(lines, list, removed);
    for (auto k = removed.rbegin(); k != removed.rend(); ++k) { // from the end: lines hold
        const Span& e = list.entries[*k];
        if (e.last == list.last && Continues(lines[e.first - 1]))
            lines[e.first - 1].pop_back(); // the line before ends the list again
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(e.first),
                    lines.begin() + static_cast<std::ptrdiff_t>(e.last + 1));
        list.last -= e.last - e.first + 1;
    }
    return {ListOutcome::Changed, Join(lines, EndsInNewline(file)), left};
}

std::string ProgramsFromDefaults(const std::string& appDefaults) {
    Lines lines = Split(appDefaults);
    List list = FindList(lines, true);
    if (list.problem != ListOutcome::Changed)
        return "";
    Lines programs(lines.begin() + list.first, lines.begin() + list.last + 1);
    programs[0].erase(programs[0].find('*'), 1);
    return Join(programs, true);
}

ListEdit NewInitFile(const std::string& appDefaults) {
    std::string programs = ProgramsFromDefaults(appDefaults);
    if (programs.empty())
        return {ListOutcome::NoList, "", ""};
    return AddToProgramsList(
        "# Written by verdanelle --add-to-xscreensaver: xscreensaver's own list of hacks\n"
        "# with Verdanelle added. xscreensaver's settings keep it when they save.\n\n" +
        programs);
}
