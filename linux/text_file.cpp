#include "text_file.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

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

} // namespace

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
