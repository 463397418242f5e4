// Puts Verdanelle into the user's ~/.xscreensaver, or takes it out. The new
// file is written whole beside the old one and renamed over it, so a crash
// leaves the one or the other, never half of one.
#include "xscreensaver_file.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "text_file.h"
#include "xscreensaver_list.h"

namespace {

const char appDefaults[] = "/etc/X11/app-defaults/XScreenSaver";

// The file xscreensaver reads: a link followed to the file it names.
std::string InitFile() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr)
        return "";
    std::string path = std::string(home) + "/.xscreensaver";
    char target[PATH_MAX];
    if (realpath(path.c_str(), target) != nullptr)
        path = target;
    return path;
}

// No ~/.xscreensaver: xscreensaver's own list, which it would start from, and ours.
int WriteNew(const std::string& path) {
    std::string defaults;
    if (!ReadFile(appDefaults, defaults))
        return Fail(Why(std::string("no ") + path +
                        ", and xscreensaver's own list cannot be read in " + appDefaults) +
                    " (is xscreensaver installed?)");
    ListEdit edit = NewInitFile(defaults);
    if (edit.outcome == ListOutcome::NoList)
        return Fail(std::string("no ") + path + ", and " + appDefaults + " holds no list of hacks");
    if (edit.outcome != ListOutcome::Changed) { // read as it is where there is no file
        std::printf("There is no %s, and xscreensaver's own list in %s names Verdanelle "
                    "already: nothing written.\n",
                    path.c_str(), appDefaults);
        return 0;
    }
    mode_t mask = umask(0);
    umask(mask);
    // Root writing into a user's home makes the file the home's owner's.
    struct stat home;
    uid_t owner = geteuid();
    gid_t group = getegid();
    if (owner == 0 && stat(path.substr(0, path.rfind('/') + 1).c_str(), &home) == 0) {
        owner = home.st_uid;
        group = home.st_gid;
    }
    if (Replace(path, edit.text, 0666 & ~mask, owner, group) != 0)
        return 1;
    std::printf("Wrote %s: xscreensaver's own list of hacks with Verdanelle added.\n",
                path.c_str());
    return 0;
}

} // namespace

int EditXscreensaverFile(bool add) {
    std::string path = InitFile();
    if (path.empty())
        return Fail("cannot tell the home folder: HOME is not set");
    std::string text;
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return Fail(Why("cannot read " + path));
        if (add)
            return WriteNew(path);
        std::printf("There is no %s: nothing to take out.\n", path.c_str());
        return 0;
    }
    if (!ReadFile(path, text))
        return Fail(Why("cannot read " + path));

    ListEdit edit = add ? AddToProgramsList(text) : RemoveFromProgramsList(text);
    const char* problem = nullptr;
    switch (edit.outcome) {
    case ListOutcome::Changed:
        if (Replace(path, edit.text, status.st_mode & 07777, status.st_uid, status.st_gid) != 0)
            return 1;
        std::printf(add ? "Added Verdanelle to the programs: list in %s.\n"
                        : "Took Verdanelle out of the programs: list in %s.\n",
                    path.c_str());
        if (!edit.entry.empty())
            std::printf("One entry shares its line with others, left as it is: %s\n",
                        edit.entry.c_str());
        return 0;
    case ListOutcome::AlreadyThere:
        std::printf("%s lists Verdanelle already: nothing changed.\n", path.c_str());
        return 0;
    case ListOutcome::NotThere:
        std::printf("%s does not list Verdanelle: nothing changed.\n", path.c_str());
        return 0;
    case ListOutcome::UsersOwn:
        std::printf(add ? "%s has a Verdanelle entry of its own, left as it is: %s\n"
                        : "%s has Verdanelle on a line with other entries, left as it is: %s\n",
                    path.c_str(), edit.entry.c_str());
        return 0;
    case ListOutcome::NoList:
        problem = "has no programs: list";
        break;
    case ListOutcome::TwoLists:
        problem = "has more than one programs: list";
        break;
    case ListOutcome::Unended:
        problem = "has a programs: list that does not end (a backslash on its last line?)";
        break;
    }
    return Fail(path + " " + problem +
                "; it is left as it is. Fix it in xscreensaver's settings or by hand.");
}
