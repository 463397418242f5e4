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

#include "xscreensaver_list.h"

namespace {

const char appDefaults[] = "/etc/X11/app-defaults/XScreenSaver";

int Fail(const std::string& why) {
    std::fprintf(stderr, "verdanelle: %s\n", why.c_str());
    return 1;
}

std::string Why(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Reads PATH whole; false with errno set when it cannot.
bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return !in.bad();
}

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// user:group, by name where they have one.
std::string Owner(uid_t owner, gid_t group) {
    const passwd* user = getpwuid(owner);
    const struct group* users = getgrgid(group);
    return (user != nullptr ? std::string(user->pw_name) : std::to_string(owner)) + ":" +
           (users != nullptr ? std::string(users->gr_name) : std::to_string(group));
}

// TEXT into a new file beside PATH, with MODE, OWNER and GROUP, then renamed
// over PATH. Run as root with a user's HOME (sudo -E), the file stays the
// user's: a file of root's would be one the user's xscreensaver cannot read.
int Replace(const std::string& path, const std::string& text, mode_t mode, uid_t owner,
            gid_t group) {
    std::string temporary = path + ".verdanelle-XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return Fail(Why("cannot write beside " + path));
    struct stat made;
    if (fstat(fd, &made) != 0 ||
        ((made.st_uid != owner || made.st_gid != group) && fchown(fd, owner, group) != 0)) {
        close(fd);
        unlink(temporary.c_str());
        return Fail("cannot keep " + Owner(owner, group) + " as the owner of " + path +
                    " (it is unchanged): run it as that user");
    }
    bool written = WriteAll(fd, text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int saved = errno;
    if (close(fd) != 0 && written) {
        written = false;
        saved = errno;
    }
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        saved = written ? errno : saved;
        unlink(temporary.c_str());
        errno = saved;
        return Fail(Why("cannot write " + path + " (it is unchanged)"));
    }
    std::string folder = path.substr(0, path.rfind('/') + 1);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) { // the rename itself outlasts a crash
        fsync(dir);
        close(dir);
    }
    return 0;
}

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
    std::string programs = ProgramsFromDefaults(defaults);
    if (programs.empty())
        return Fail(std::string("no ") + path + ", and " + appDefaults + " holds no list of hacks");
    ListEdit edit = AddToProgramsList(
        "# Written by verdanelle --add-to-xscreensaver: xscreensaver's own list of hacks\n"
        "# with Verdanelle added. xscreensaver's settings keep it when they save.\n\n" +
        programs);
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
