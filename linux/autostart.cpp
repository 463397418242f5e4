#include "autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "text_file.h"

std::string AutostartEntry(long seconds) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Verdanelle\n"
           "Comment=Grows a fern full screen after " +
           std::to_string(seconds) +
           " seconds without input\n"
           "Exec=verdanelle --idle " +
           std::to_string(seconds) +
           "\n"
           "NoDisplay=true\n";
}

namespace {

// $XDG_CONFIG_HOME/autostart, else ~/.config/autostart; empty without a home.
std::string Folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::string(config) + "/autostart";
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) + "/.config/autostart" : "";
}

// FOLDER and those above it that are missing, as mkdir -p makes them.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string path = folder.substr(0, slash);
        if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

int EditAutostart(bool add, long seconds) {
    std::string folder = Folder();
    if (folder.empty())
        return Fail("cannot tell the home folder: HOME is not set");
    std::string path = folder + "/verdanelle.desktop";
    std::string text, wanted = AutostartEntry(seconds);
    bool there = ReadFile(path, text);
    if (!there && errno != ENOENT)
        return Fail(Why("cannot read " + path));
    if (!add) {
        if (there && unlink(path.c_str()) != 0)
            return Fail(Why("cannot take out " + path));
        std::printf(there ? "Took out %s: Verdanelle no longer starts with the session.\n"
                          : "There is no %s: nothing to take out.\n",
                    path.c_str());
        return 0;
    }
    if (there && text == wanted) {
        std::printf("%s is there already: nothing changed.\n", path.c_str());
        return 0;
    }
    if (!MakeFolders(folder))
        return Fail(Why("cannot make " + folder));
    mode_t mask = umask(0);
    umask(mask);
    if (Replace(path, wanted, 0666 & ~mask, geteuid(), getegid()) != 0)
        return 1;
    std::printf("Wrote %s: from the next login, Verdanelle shows after %ld seconds without "
                "input.\n",
                path.c_str(), seconds);
    return 0;
}
