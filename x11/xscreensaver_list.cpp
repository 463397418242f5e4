#include "xscreensaver_list.h"

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

// Where a "programs:" (or "*programs:") resource's value starts on a line.
std::size_t ValueStart(const std::string& line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos)
        return std::string::npos;
    if (line[i] == '*')
        ++i;
    if (line.compare(i, 8, "programs") != 0)
        return std::string::npos;
    i = line.find_first_not_of(" \t", i + 8);
    return i != std::string::npos && line[i] == ':' ? i + 1 : std::string::npos;
}

// A line's share of the list: after the resource's name on its first line,
// without the backslash that continues it.
std::string Content(const std::string& line, bool first) {
    std::string content = first ? line.substr(ValueStart(line)) : line;
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

// One entry alone on a line, with or without its "\n".
bool LineIsOurs(const std::string& content) {
    std::string text = Trim(content);
    if (EndsEntry(text))
        text.resize(text.size() - 2);
    return text.find("\\n") == std::string::npos && IsOurs(ParseEntry(text));
}

struct List {
    ListOutcome problem; // Changed when the list was found
    std::size_t first, last;
    std::string ours;  // the first entry exactly ours, as the list has it
    std::string users; // the first other Verdanelle entry
};

List FindList(const Lines& lines) {
    List list = {ListOutcome::NoList, 0, 0, "", ""};
    bool continued = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool starts = !continued && ValueStart(lines[i]) != std::string::npos;
        continued = Continues(lines[i]);
        if (!starts)
            continue;
        if (list.problem == ListOutcome::Changed)
            return {ListOutcome::TwoLists, 0, 0, "", ""};
        std::size_t last = i;
        while (Continues(lines[last]))
            if (++last == lines.size())
                return {ListOutcome::Unended, 0, 0, "", ""};
        list = {ListOutcome::Changed, i, last, "", ""};
        continued = false;
        i = last;
    }
    if (list.problem != ListOutcome::Changed)
        return list;
    std::string value;
    for (std::size_t i = list.first; i <= list.last; ++i)
        value += Content(lines[i], i == list.first);
    for (std::size_t start = 0; start <= value.size();) {
        std::size_t end = value.find("\\n", start);
        std::string text = Trim(value.substr(start, end - start));
        Entry entry = ParseEntry(text);
        std::string& first = IsOurs(entry) ? list.ours : list.users;
        if (IsVerdanelle(entry) && first.empty())
            first = text;
        start = end == std::string::npos ? value.size() + 1 : end + 2;
    }
    return list;
}

bool EndsInNewline(const std::string& text) {
    return !text.empty() && text.back() == '\n';
}

} // namespace

ListEdit AddToProgramsList(const std::string& file) {
    Lines lines = Split(file);
    List list = FindList(lines);
    if (list.problem != ListOutcome::Changed)
        return {list.problem, "", ""};
    if (!list.ours.empty())
        return {ListOutcome::AlreadyThere, "", ""};
    if (!list.users.empty())
        return {ListOutcome::UsersOwn, "", list.users};
    std::string end = Trim(Content(lines[list.last], list.last == list.first));
    if (end.empty() && list.last != list.first) {
        // The list ends in a blank line, as xscreensaver writes it: ours before that.
        lines.insert(lines.begin() + list.last, std::string(verdanelleEntry) + "\\");
    } else {
        // Continue the last entry to ours, which ends the list instead.
        lines[list.last] += end.empty() || EndsEntry(end) ? "\\" : "\\n\\";
        lines.insert(lines.begin() + list.last + 1, verdanelleEntry);
    }
    return {ListOutcome::Changed, Join(lines, EndsInNewline(file)), ""};
}

ListEdit RemoveFromProgramsList(const std::string& file) {
    Lines lines = Split(file);
    List list = FindList(lines);
    if (list.problem != ListOutcome::Changed)
        return {list.problem, "", ""};
    bool removed = false;
    for (std::size_t i = list.last; i > list.first; --i) {
        if (!LineIsOurs(Content(lines[i], false)))
            continue;
        if (i == list.last && Continues(lines[i - 1]))
            lines[i - 1].pop_back(); // the line before ends the list again
        lines.erase(lines.begin() + i);
        --list.last;
        removed = true;
    }
    if (removed)
        return {ListOutcome::Changed, Join(lines, EndsInNewline(file)), ""};
    if (!list.ours.empty()) // only amid other entries on one line: not ours to split
        return {ListOutcome::UsersOwn, "", list.ours};
    if (!list.users.empty())
        return {ListOutcome::UsersOwn, "", list.users};
    return {ListOutcome::NotThere, "", ""};
}

std::string ProgramsFromDefaults(const std::string& appDefaults) {
    Lines lines = Split(appDefaults);
    List list = FindList(lines);
    if (list.problem != ListOutcome::Changed)
        return "";
    Lines programs(lines.begin() + list.first, lines.begin() + list.last + 1);
    std::size_t star = programs[0].find('*');
    if (star != std::string::npos && star < ValueStart(programs[0]))
        programs[0].erase(star, 1);
    return Join(programs, true);
}
