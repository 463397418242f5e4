# The OpenGL call stream of a running program against fern-trace's, for
# the test scripts; they set fern_trace.

# The renderer's calls in an apitrace record, in fern-trace's words, up to
# and with the N-th glFlush; with FROM, only those after the first call that
# matches it. The picture's copies onto the window, and their flushes, are
# the host's, not the renderer's.
traced_calls() { # traced_calls TRACE N [FROM]
    apitrace dump --color=never "$1" 2>/dev/null | sed -E 's/^[0-9]+ //' | awk -v n="$2" -v from="${3:-}" '
        from != "" { if ($0 ~ from) from = ""; next }
        /^glClear\(mask = GL_COLOR_BUFFER_BIT\)/ { print "glClear 16384"; next }
        /^glColor3ub\(/ { gsub(/[(),=]|red|green|blue/, " "); print "glColor3ub", $2, $3, $4; next }
        /^glBegin\(mode = GL_LINES\)/ { print "glBegin 1"; next }
        /^glVertex2d\(/ { gsub(/[(),=]|x |y /, " "); print "glVertex2d", $2, $3; next }
        /^glEnd\(\)/ { print "glEnd"; next }
        /^glBlitFramebuffer\(/ { shown = 1; next }
        /^glFlush\(\)/ && shown { shown = 0; next }
        /^glFlush\(\)/ { print "glFlush"; if (++flushes == n) exit }
        { shown = 0 }'
}
# The same calls as fern-trace gives them for a WIDTH x HEIGHT client.
expected_calls() { # expected_calls WIDTH HEIGHT N
    "$fern_trace" "$1" "$2" 0 "$3" | grep -v '^tick' | awk -v n="$3" '{ print } /^glFlush/ { if (++f == n) exit }'
}
# Same calls? apitrace prints doubles to 16 significant digits, so both sides
# are compared at that precision.
same_calls() { # same_calls FILE_A FILE_B
    [ -s "$1" ] && [ "$(wc -l <"$1")" = "$(wc -l <"$2")" ] && paste -d' ' "$1" "$2" | awk '
        function norm(v) { return v ~ /^-?[0-9.e+-]+$/ ? sprintf("%.16g", v) : v }
        { half = NF / 2
          for (i = 1; i <= half; i++)
              if (norm($i) != norm($(i + half))) { print "  differs at line " NR ": " $0; exit 1 } }'
}
