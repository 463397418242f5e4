#include "autostart_entry.h"

#include <cstring>
#include <vector>

namespace {

const char commentStart[] = "Grows a fern full screen after ";
const char commentEnd[] = " seconds without input";

std::string Comment(long seconds) {
    return commentStart + std::to_string(seconds) + commentEnd;
}

struct Lines {
    std::vector<std::string> all;
    bool finalNewline = true;
};

Lines Split(const std::string& text) {
    Lines lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.all.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.finalNewline = text.empty() || text.back() == '\n';
    return lines;
}

std::string Join(const Lines& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.all.size(); ++i)
        text += lines.all[i] + (i + 1 < lines.all.size() || lines.finalNewline ? "\n" : "");
    return text;
}

std::string Trim(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// The [Desktop Entry] group, which desktop entries put first: its header
// line and the line after its last. False where the first group is another.
bool FindGroup(const Lines& lines, std::size_t& header, std::size_t& end) {
    for (header = 0; header < lines.all.size(); ++header)
        if (!lines.all[header].empty() && lines.all[header][0] == '[')
            break;
    if (header == lines.all.size() || Trim(lines.all[header]) != "[Desktop Entry]")
        return false;
    for (end = header + 1; end < lines.all.size(); ++end)
        if (!lines.all[end].empty() && lines.all[end][0] == '[')
            break;
    return true;
}

// The value of KEY on LINE ("Key=Value", blanks allowed around "="), or false.
bool KeyValue(const std::string& line, const char* key, std::size_t& valueStart) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos || line.empty() || line[0] == '#' ||
        Trim(line.substr(0, equals)) != key)
        return false;
    valueStart = line.find_first_not_of(" \t", equals + 1);
    if (valueStart == std::string::npos)
        valueStart = line.size();
    return true;
}

// The line in [first, end) that sets KEY, or end.
std::size_t FindKey(const Lines& lines, std::size_t first, std::size_t end, const char* key) {
    std::size_t value;
    for (std::size_t i = first; i < end; ++i)
        if (KeyValue(lines.all[i], key, value))
            return i;
    return end;
}

// Where a new key goes: after the group's last line that is not blank.
std::size_t GroupTail(const Lines& lines, std::size_t header, std::size_t end) {
    while (end > header + 1 && Trim(lines.all[end - 1]).empty())
        --end;
    return end;
}

// Exec's words as [begin, end) in VALUE; a quoted word ("...") is one, as the
// desktop entries quote them. False where a quote does not end.
bool Words(const std::string& value, std::vector<std::pair<std::size_t, std::size_t>>& words) {
    for (std::size_t i = 0; i < value.size();) {
        if (value[i] == ' ' || value[i] == '\t') {
            ++i;
            continue;
        }
        std::size_t start = i;
        bool quoted = false;
        for (; i < value.size() && (quoted || (value[i] != ' ' && value[i] != '\t')); ++i)
            if (value[i] == '\\' && quoted && i + 1 < value.size())
                ++i;
            else if (value[i] == '"')
                quoted = !quoted;
        words.push_back({start, i});
        if (quoted)
            return false;
    }
    return true;
}

// Exec's command with every --idle (-idle, --idle=N) given SECONDS, or
// --idle SECONDS added at its end. False where it cannot be read.
bool WithIdle(std::string& value, const std::string& program, long seconds) {
    std::string number = std::to_string(seconds);
    std::vector<std::pair<std::size_t, std::size_t>> words;
    if (!Words(value, words))
        return false;
    if (words.empty()) {
        value = program + " --idle " + number;
        return true;
    }
    bool found = false;
    for (std::size_t k = words.size(); k-- > 0;) { // from the end: offsets before hold
        std::string word = value.substr(words[k].first, words[k].second - words[k].first);
        std::size_t dashes = word.rfind("--", 0) == 0 ? 2 : 1;
        if (word[0] != '-' || word.compare(dashes, 4, "idle") != 0)
            continue;
        // A word changed keeps its start; its end moves with it.
        if (word.size() == dashes + 4) {
            found = true;
            if (k + 1 < words.size()) {
                auto& next = words[k + 1];
                value.replace(next.first, next.second - next.first, number);
                next.second = next.first + number.size();
            } else {
                value += " " + number;
            }
        } else if (word[dashes + 4] == '=') {
            found = true;
            value.replace(words[k].first + dashes + 5, word.size() - dashes - 5, number);
            words[k].second = words[k].first + dashes + 5 + number.size();
        }
    }
    if (!found)
        value += " --idle " + number;
    return true;
}

// Our own Comment, as AutostartEntry writes it for any number of seconds.
bool OursComment(const std::string& value) {
    std::size_t start = std::strlen(commentStart), end = std::strlen(commentEnd);
    if (value.size() <= start + end || value.compare(0, start, commentStart) != 0 ||
        value.compare(value.size() - end, end, commentEnd) != 0)
        return false;
    std::string digits = value.substr(start, value.size() - start - end);
    return digits.find_first_not_of("0123456789") == std::string::npos;
}

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

EntryEdit Outcome(const std::string& before, const Lines& after) {
    std::string text = Join(after);
    return {text == before ? EntryOutcome::Unchanged : EntryOutcome::Changed, text};
}

} // namespace

std::string AutostartEntry(const std::string& program, long seconds) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Verdanelle\n"
           "Comment=" +
           Comment(seconds) + "\nExec=" + program + " --idle " + std::to_string(seconds) +
           "\nNoDisplay=true\n";
}

EntryEdit StartInEntry(const std::string& text, const std::string& program, long seconds) {
    if (Blank(text))
        return {EntryOutcome::Changed, AutostartEntry(program, seconds)};
    Lines lines = Split(text);
    std::size_t header, end;
    if (!FindGroup(lines, header, end))
        return {EntryOutcome::NotAnEntry, ""};
    std::size_t value;
    for (std::size_t i = end; i-- > header + 1;) { // from the end: erasing keeps those before
        std::string& line = lines.all[i];
        std::string exec;
        if (KeyValue(line, "Exec", value)) {
            if (!WithIdle(exec = line.substr(value), program, seconds))
                return {EntryOutcome::NotAnEntry, ""};
            line.replace(value, std::string::npos, exec);
        } else if (KeyValue(line, "Comment", value) && OursComment(line.substr(value)))
            line.replace(value, std::string::npos, Comment(seconds));
        else if (KeyValue(line, "Hidden", value) && Trim(line.substr(value)) == "true") {
            lines.all.erase(lines.all.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
        }
    }
    if (FindKey(lines, header + 1, end, "Exec") == end)
        lines.all.insert(lines.all.begin() +
                             static_cast<std::ptrdiff_t>(GroupTail(lines, header, end)),
                         "Exec=" + program + " --idle " + std::to_string(seconds));
    return Outcome(text, lines);
}

EntryEdit HideEntry(const std::string& text, const std::string& program) {
    if (Blank(text))
        return {EntryOutcome::Changed,
                AutostartEntry(program, defaultIdleSeconds) + "Hidden=true\n"};
    Lines lines = Split(text);
    std::size_t header, end, value;
    if (!FindGroup(lines, header, end))
        return {EntryOutcome::NotAnEntry, ""};
    std::size_t hidden = FindKey(lines, header + 1, end, "Hidden");
    if (hidden == end)
        lines.all.insert(lines.all.begin() +
                             static_cast<std::ptrdiff_t>(GroupTail(lines, header, end)),
                         "Hidden=true");
    else if (KeyValue(lines.all[hidden], "Hidden", value))
        lines.all[hidden].replace(value, std::string::npos, "true");
    return Outcome(text, lines);
}

bool EntryHidden(const std::string& text) {
    Lines lines = Split(text);
    std::size_t header, end, value;
    if (!FindGroup(lines, header, end))
        return false;
    std::size_t hidden = FindKey(lines, header + 1, end, "Hidden");
    return hidden != end && KeyValue(lines.all[hidden], "Hidden", value) &&
           Trim(lines.all[hidden].substr(value)) == "true";
}
