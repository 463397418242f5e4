// The ~/.xscreensaver editor and file writer against xscreensaver's reading
// of the file (below, written apart from the editor). The first byte is 'r'
// for a remove through the file writer, else an add; the rest is the file.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

#include "property.h"
#include "xscreensaver_file.h"
#include "xscreensaver_list.h"

namespace {

// The one logical line (physical ones joined where an odd run of
// backslashes ends one) named programs: on its first line, cut at each \n,
// pieces trimmed, blank ones dropped; the other logical lines are settings.
struct Reading {
    bool found = false;
    std::vector<std::string> entries, settings;
};

std::size_t Named(const std::string& line, const char* name, std::size_t within) {
    std::size_t i = line.find_first_not_of(" \t"), n = std::strlen(name);
    bool is = i != std::string::npos && line.size() > i + n && i + n < within &&
              strncasecmp(line.c_str() + i, name, n) == 0 && line[i + n] == ':';
    return is ? i + n + 1 : std::string::npos;
}

Reading Read(const std::string& file) {
    Reading reading;
    std::vector<std::pair<std::string, std::size_t>> logical; // with its first line's length
    bool continued = false;
    for (std::string line : Lines(file)) {
        std::size_t run = line.size() - std::min(line.size(), line.find_last_not_of('\\') + 1);
        if (run % 2 == 1)
            line.pop_back();
        continued ? (void)(logical.back().first += line) : logical.push_back({line, line.size()});
        continued = run % 2 == 1;
    }
    int lists = 0;
    for (const auto& [line, first] : logical) {
        std::size_t value = Named(line, "programs", first);
        if (value == std::string::npos) {
            reading.settings.push_back(line);
            continue;
        }
        lists += continued && &line == &logical.back().first ? 2 : 1; // one that runs to the end
                                                                      // is not compared
        for (std::size_t j = value, cut = 0; cut != std::string::npos; j = cut + 2) {
            cut = line.find("\\n", j);
            std::string piece = line.substr(j, cut == std::string::npos ? cut : cut - j);
            std::size_t a = piece.find_first_not_of(" \t"), b = piece.find_last_not_of(" \t");
            if (a != std::string::npos)
                reading.entries.push_back(piece.substr(a, b - a + 1));
        }
    }
    reading.found = lists == 1;
    return reading;
}

const std::string ours = "GL: \"Verdanelle\"  verdanelle --root";
std::string home;

std::string Slurp(const std::string& path) {
    std::ostringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    return all.str();
}

// The file writer on FILE: its exit code, what it said on standard output
// (its complaints dropped) and the file after.
int Write(bool add, const std::string& file, std::string& said, std::string& after) {
    std::ofstream(home + "/.xscreensaver", std::ios::binary | std::ios::trunc) << file;
    chmod((home + "/.xscreensaver").c_str(), 0640);
    std::fflush(stdout);
    int out = dup(1), err = dup(2),
        to = open((home + "/said").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    int null = open("/dev/null", O_WRONLY);
    dup2(to, 1), dup2(null, 2);
    int rc = EditXscreensaverFile(add);
    std::fflush(stdout);
    dup2(out, 1), dup2(err, 2);
    for (int fd : {out, err, to, null})
        close(fd);
    said = Slurp(home + "/said");
    after = Slurp(home + "/.xscreensaver");
    struct stat status;
    Hold(stat((home + "/.xscreensaver").c_str(), &status) == 0 && (status.st_mode & 07777) == 0640,
         "the file keeps its mode", file);
    return rc;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/verdanelle-fuzz-XXXXXX";
    Hold(mkdtemp(folder) != nullptr, "a home for the file writer");
    home = folder;
    setenv("HOME", folder, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool add = data[0] != 'r';
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    // Two backslashes escape one in X resources, which this reading leaves
    // open: such files are held to no crash only.
    const bool compared = file.find("\\\\") == std::string::npos;
    const Reading before = Read(file);

    ListEdit added = AddToProgramsList(file);
    Hold((added.outcome == ListOutcome::Changed) != added.text.empty(),
         "a change, and only a change, has text", file);
    if (added.outcome == ListOutcome::Changed && compared) {
        Reading after = Read(added.text);
        std::vector<std::string> wanted = before.entries;
        wanted.push_back(ours);
        Hold(before.found && after.entries == wanted && after.settings == before.settings,
             "an add keeps every entry and setting, and puts ours last", added.text);
        Hold(AddToProgramsList(added.text).outcome == ListOutcome::AlreadyThere,
             "a second add finds it there", added.text);
        ListEdit removed = RemoveFromProgramsList(added.text);
        Reading again = Read(removed.text);
        Hold(removed.outcome == ListOutcome::Changed && again.entries == before.entries,
             "add then remove gives back the entries", removed.text);
        for (std::size_t i = 0; i < before.settings.size(); ++i) {
            const std::string& was = before.settings[i];
            std::size_t value = Named(was, "selected", was.size());
            Hold(was == again.settings[i] ||
                     (value != std::string::npos &&
                      std::strtoul(was.c_str() + value, nullptr, 10) == before.entries.size()),
                 "add then remove gives back the settings, but a selected: of ours", removed.text);
        }
    }
    ListEdit removed = RemoveFromProgramsList(file);
    if (removed.outcome == ListOutcome::Changed && compared) {
        std::vector<std::string> now = Read(removed.text).entries;
        std::size_t k = 0;
        for (const std::string& entry : before.entries)
            if (k < now.size() && now[k] == entry)
                ++k;
            else
                Hold(entry.find("verdanelle") != std::string::npos,
                     "a remove takes out only entries that name verdanelle", removed.text);
        Hold(k == now.size() &&
                 RemoveFromProgramsList(removed.text).outcome != ListOutcome::Changed,
             "a remove leaves the rest, and a second finds nothing", removed.text);
    }
    ListEdit made = NewInitFile(file);
    Hold((made.outcome == ListOutcome::Changed) != made.text.empty(),
         "a new file is written whole, or not at all", file);
    if (made.outcome == ListOutcome::Changed && compared)
        Hold(!Read(made.text).entries.empty() && Read(made.text).entries.back() == ours,
             "a new file lists ours last", made.text);

    std::string said, after;
    int rc = Write(add, file, said, after);
    bool changed = said.find(add ? "Added Verdanelle" : "Took Verdanelle out") != std::string::npos;
    Hold(rc == 0 || (after == file && said.empty()), "a failure leaves the file, and says nothing",
         file);
    Hold(rc != 0 || changed == (after != file), "the file changes when, and only when, it says so",
         file);
    if (changed && compared && said.find("shares its line") == std::string::npos) {
        std::vector<std::string> now = Read(after).entries;
        Hold(Read(after).found && (std::find(now.begin(), now.end(), ours) != now.end()) == add,
             "\"Added\": ours is there; \"Took out\": it is not", after);
    }
    return 0;
}
