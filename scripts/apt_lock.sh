# Sourced by the scripts that call apt-get or dpkg: they wait while another
# apt or dpkg holds its locks. On a new machine that is most often unattended
# upgrades, for minutes after boot, just when a newcomer runs our commands.
#   apt_get [--root DIR] ARGS...   apt-get, once the locks are free (in DIR's Debian)
#   wait_for_apt [DIR]             returns 1 when they are still held after the wait
apt_wait_seconds=${APT_WAIT_SECONDS:-600}

# The process that holds a lock of apt's or dpkg's under DIR, as "PID (COMMAND)".
apt_lock_holder() {
    local lock inodes=""
    for lock in var/lib/dpkg/lock-frontend var/lib/dpkg/lock var/lib/apt/lists/lock \
        var/cache/apt/archives/lock; do
        [ -e "${1:-}/$lock" ] && inodes+=" $(stat -c %i "${1:-}/$lock")"
    done
    # /proc/locks: "1: POSIX ADVISORY WRITE PID MAJOR:MINOR:INODE START END";
    # a waiter's line has "->" in the second field.
    local pid
    pid=$(awk -v inodes="$inodes" 'BEGIN { n = split(inodes, list, " "); for (i = 1; i <= n; i++) want[list[i]] = 1 }
        $2 != "->" { split($6, id, ":"); if (id[3] in want) { print $5; exit } }' /proc/locks)
    [ -z "$pid" ] || echo "$pid ($(ps -o args= -p "$pid" 2>/dev/null | cut -c1-80))"
}

wait_for_apt() {
    local holder said="" i
    for ((i = 0; i < apt_wait_seconds; i++)); do
        holder=$(apt_lock_holder "${1:-}")
        [ -n "$holder" ] || return 0
        if [ -z "$said" ]; then
            echo "${0##*/}: waiting up to $((apt_wait_seconds / 60)) minutes for apt's lock, held by $holder" >&2
            said=1
        fi
        sleep 1
    done
    echo "${0##*/}: apt's lock is still held after $((apt_wait_seconds / 60)) minutes, by $holder" >&2
    return 1
}

apt_get() {
    local root="" run=()
    if [ "${1:-}" = --root ]; then
        root=$2
        run=(chroot "$root")
        shift 2
    fi
    wait_for_apt "$root" || return 1
    [ "$(id -u)" -eq 0 ] || run=(sudo "${run[@]}")
    # And apt's own wait, for a lock taken between the look and the call.
    "${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$apt_wait_seconds" "$@"
}
