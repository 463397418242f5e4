// --add-to-xscreensaver and --remove-from-xscreensaver on a real file in a
// home of the target's own: the first byte says which, the rest is the
// ~/.xscreensaver. A success exit means the file says what the message says;
// a failure leaves it byte for byte; the file keeps its mode.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "xscreensaver_file.h"
#include "xscreensaver_reading.h"

namespace {

std::string home, file, said;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

[[noreturn]] void Broken(const char* property, const std::string& before) {
    std::fprintf(stderr,
                 "property broken: %s\n--- said ---\n%s--- before ---\n%s\n--- after ---\n%s\n",
                 property, said.c_str(), before.c_str(), Read(file).c_str());
    std::abort();
}

// The edit with its standard output kept in `said` and its complaints dropped.
int Edit(bool add) {
    std::fflush(stdout);
    std::fflush(stderr);
    int out = dup(1), err = dup(2);
    int captured = open((home + "/said").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    int null = open("/dev/null", O_WRONLY);
    dup2(captured, 1);
    dup2(null, 2);
    int rc = EditXscreensaverFile(add);
    std::fflush(stdout);
    dup2(out, 1);
    dup2(err, 2);
    for (int fd : {out, err, captured, null})
        close(fd);
    said = Read(home + "/said");
    return rc;
}

bool Says(const char* words) {
    return said.find(words) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/verdanelle-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        std::abort();
    home = folder;
    file = home + "/.xscreensaver";
    setenv("HOME", folder, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool add = data[0] != 'r';
    const std::string before(reinterpret_cast<const char*>(data) + 1, size - 1);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << before;
    }
    chmod(file.c_str(), 0640);
    int rc = Edit(add);
    std::string after = Read(file);
    struct stat status;
    if (stat(file.c_str(), &status) != 0 || (status.st_mode & 07777) != 0640)
        Broken("the file keeps its mode", before);
    if (rc != 0 && after != before)
        Broken("a failure leaves the file as it was", before);
    if (rc != 0 && !said.empty())
        Broken("a failure says nothing on standard output", before);
    bool changed = Says(add ? "Added Verdanelle" : "Took Verdanelle out");
    if (rc == 0 && !changed && after != before)
        Broken("\"nothing changed\" changes nothing", before);
    if (rc == 0 && changed && after == before)
        Broken("a change is made", before);
    if (before.find("\\\\") != std::string::npos || !changed) // as the list's own target
        return 0;
    Reading then = ReadAsXscreensaver(before), now = ReadAsXscreensaver(after);
    bool ours = false;
    for (const std::string& entry : now.entries)
        ours = ours || entry == oursRead;
    if (!add && Says("shares its line")) // one of ours that is not ours to split
        ours = false;
    if (!now.found || now.settings.size() != then.settings.size() || ours != add)
        Broken(add ? "\"Added\": the list has ours" : "\"Took out\": the list has not ours",
               before);
    return 0;
}
