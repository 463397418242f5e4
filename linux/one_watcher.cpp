#include "one_watcher.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

std::string HoldWatcherLock(const std::string& display) {
    // In the session's runtime folder, else /tmp under the user's number;
    // ":0.0" and ":0" are one display.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string name = display.substr(0, display.find('.', display.rfind(':') + 1));
    for (char& c : name)
        if (c == '/')
            c = '_';
    std::string path = (runtime != nullptr && runtime[0] == '/' ? std::string(runtime) : "/tmp") +
                       "/verdanelle-idle-" + std::to_string(getuid()) + "-" + name + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return "cannot open " + path + ": " + std::strerror(errno);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        char pid[24] = {};
        ssize_t got = pread(fd, pid, sizeof pid - 1, 0);
        close(fd);
        std::string holder = got > 0 ? std::string(pid, static_cast<std::size_t>(got)) : "?";
        while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' '))
            holder.pop_back();
        return "verdanelle --idle already runs for this display (process " + holder + ")";
    }
    std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) < 0) {
        // The lock holds all the same; only the name of its holder is missing.
    }
    return ""; // fd stays open, and the lock with it, until the process ends
}
