# Counts the ticks a program draws on the private display DISPLAY, for the
# rate scripts that source it; they set `work` and `display`. Mesa shows each
# glFlush of a single-buffered window, or of a front buffer, as one MIT-SHM
# PutImage, so an X protocol tracer between the program and the server counts
# the drawn ticks without slowing the program's own OpenGL calls.
#   count_ticks SECONDS COMMAND...
# prints, figure by figure, the ticks drawn over the time they took.
command -v xtrace >/dev/null || { echo "needs xtrace (apt-get install xtrace)"; exit 1; }

count_ticks() {
    local seconds=$1 fake=$((display + 50)) tracer program start i
    shift
    xtrace -n -D ":$fake" -d "$DISPLAY" -o "$work/x.log" -k >/dev/null 2>&1 &
    tracer=$!
    sleep 1
    DISPLAY=:$fake "$@" >/dev/null 2>&1 &
    program=$!
    # Samples the count ten times a second; a figure is a run of puts that
    # the pause between figures (4 s) ends.
    start=$(date +%s.%N)
    for ((i = 0; i < seconds * 10; i++)); do
        sleep 0.1
        echo "$(date +%s.%N) $(puts)"
    done >"$work/samples"
    kill "$program" 2>/dev/null
    kill "$tracer" 2>/dev/null
    awk -v start="$start" '
        { t = $1 - start; n = $2 + 0
          if (n > seen) {
              if (figures == 0 || t - latest > 1.5) { figures++; t0[figures] = t; n0[figures] = seen }
              latest = t; t1[figures] = t; n1[figures] = n; seen = n } }
        END { for (f = 1; f <= figures; f++) {
                  ticks = n1[f] - n0[f]; span = t1[f] - t0[f]
                  printf "figure %d: %d ticks in %.1f s, %.1f ticks a second\n", f, ticks, span,
                         (span > 0 ? (ticks - 1) / span : 0) } }' "$work/samples"
}

puts() { # grep -c prints 0 and fails when there is none
    local n
    n=$(grep -c 'MIT-SHM-Request(130,3)' "$work/x.log" 2>/dev/null)
    echo "${n:-0}"
}
