#include "autostart.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text_file.h"

namespace {

// $XDG_CONFIG_HOME/autostart, else ~/.config/autostart; empty without a home.
std::string Folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::string(config) + "/autostart";
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) + "/.config/autostart" : "";
}

// The system-wide entry that the session would run where the user has none:
// the first of $XDG_CONFIG_DIRS (else /etc/xdg) that has one. Empty if none.
std::string SystemEntry() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs != nullptr && dirs[0] != '\0' ? dirs : "/etc/xdg";
    for (std::size_t start = 0; start <= list.size();) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        std::string path = list.substr(start, end - start) + "/autostart/verdanelle.desktop";
        if (path[0] == '/' && access(path.c_str(), F_OK) == 0)
            return path;
        start = end + 1;
    }
    return "";
}

// How Exec names this program: "verdanelle" where PATH finds this very
// program, else its full path (a build tree), where that needs no quoting.
bool ProgramName(std::string& program) {
    char self[PATH_MAX], found[PATH_MAX];
    if (realpath("/proc/self/exe", self) == nullptr) {
        Fail(Why("cannot tell where this program is"));
        return false;
    }
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "";
    for (std::size_t start = 0; start < dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/verdanelle";
        if (candidate[0] == '/' && access(candidate.c_str(), X_OK) == 0 &&
            realpath(candidate.c_str(), found) != nullptr && std::string(found) == self) {
            program = "verdanelle";
            return true;
        }
        start = end + 1;
    }
    program = self;
    if (program.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  "0123456789/._+-") == std::string::npos)
        return true;
    Fail("verdanelle is not on PATH, and " + program +
         " cannot be named in an autostart entry as it is: install it, or put it on PATH");
    return false;
}

// Who what is made for the entry belongs to: the home's owner. Root (sudo -E)
// makes it that user's; anyone else can make only their own.
bool HomeOwner(uid_t& owner, gid_t& group) {
    const char* home = std::getenv("HOME");
    struct stat status;
    owner = geteuid();
    group = getegid();
    if (home == nullptr || stat(home, &status) != 0 || status.st_uid == owner)
        return true;
    if (owner == 0) {
        owner = status.st_uid;
        group = status.st_gid;
        return true;
    }
    Fail(std::string("the home folder ") + home +
         " is another user's; run it as that user (nothing changed)");
    return false;
}

// FOLDER and those above it that are missing, as mkdir -p makes them, each
// OWNER's. On failure those it made go again.
bool MakeFolders(const std::string& folder, uid_t owner, gid_t group) {
    std::vector<std::string> made;
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string path = folder.substr(0, slash);
        bool ok = mkdir(path.c_str(), 0777) == 0;
        if (ok)
            made.push_back(path);
        if (ok && (geteuid() != owner || getegid() != group) &&
            chown(path.c_str(), owner, group) != 0)
            ok = false;
        else if (!ok && errno == EEXIST)
            ok = true;
        if (!ok) {
            Fail(Why("cannot make " + path));
            for (auto k = made.rbegin(); k != made.rend(); ++k)
                rmdir(k->c_str());
            return false;
        }
        if (slash == std::string::npos)
            return true;
    }
}

// TEXT as the entry at PATH: a file there keeps its owner and mode; a new one
// (and its folders) is the home owner's.
int Write(const std::string& folder, const std::string& path, const std::string& text) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0)
        return Replace(path, text, status.st_mode & 07777, status.st_uid, status.st_gid);
    uid_t owner;
    gid_t group;
    if (!HomeOwner(owner, group) || !MakeFolders(folder, owner, group))
        return 1;
    mode_t mask = umask(0);
    umask(mask);
    return Replace(path, text, 0666 & ~mask, owner, group);
}

} // namespace

int EditAutostart(bool add, long seconds) {
    std::string folder = Folder();
    if (folder.empty())
        return Fail("cannot tell the home folder: HOME is not set");
    std::string link = folder + "/verdanelle.desktop", path = link, text;
    struct stat status;
    char target[PATH_MAX];
    if (lstat(link.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) { // dotfiles: its target
        if (realpath(link.c_str(), target) == nullptr)
            return Fail(Why(link + " is a link, to nothing that can be read"));
        path = target;
        folder = path.substr(0, path.rfind('/'));
    }
    bool there = ReadFile(path, text);
    if (!there && errno != ENOENT)
        return Fail(Why("cannot read " + path));
    std::string system = SystemEntry(), systemText;
    bool systemOn = !system.empty() && ReadFile(system, systemText) && !EntryHidden(systemText);
    if (!add && !systemOn) {
        if (there && unlink(link.c_str()) != 0)
            return Fail(Why("cannot take out " + link));
        std::printf(there ? "Took out %s: Verdanelle no longer starts with the session.\n"
                          : "There is no %s: nothing to take out.\n",
                    link.c_str());
        return 0;
    }
    std::string program;
    if (!ProgramName(program))
        return 1;
    EntryEdit edit = add ? StartInEntry(text, program, seconds) : HideEntry(text, program);
    if (edit.outcome == EntryOutcome::NotAnEntry)
        return Fail(path + " is not a desktop entry that verdanelle can read ([Desktop Entry] " +
                    "is not its first group, or a quote in its Exec does not end); it is left " +
                    "as it is");
    if (edit.outcome == EntryOutcome::Unchanged) {
        std::printf(add ? "%s is there already: nothing changed.\n"
                        : "%s turns off Verdanelle's entry already: nothing changed.\n",
                    path.c_str());
        return 0;
    }
    if (Write(folder, path, edit.text) != 0)
        return 1;
    if (!add)
        std::printf("Wrote %s: Hidden=true turns off %s for you; Verdanelle no longer starts "
                    "with the session.\n",
                    path.c_str(), system.c_str());
    else
        std::printf("Wrote %s: from the next login, Verdanelle shows after %ld seconds without "
                    "input.%s\n",
                    path.c_str(), seconds,
                    !there || text.empty() ? ""
                    : EntryHidden(text)
                        ? " Its Hidden=true is gone; its other keys and options are as they were."
                        : " Only --idle changed: its other keys and options are as they were.");
    return 0;
}
