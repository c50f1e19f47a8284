# Looks a word up in the real window, as a user would (sourced by run.sh and
# tests/installer/installer_test.sh). Needs the Wine environment
# (scripts/wine-env.sh, sourced) and an X display with xdotool.

# Starts PROGRAM under Wine (its settings in the prefix as they are), waits
# for its window, clicks into the word box, replaces what it holds by WORD
# and presses Enter, and prints what the window then shows, read back with
# READ_WINDOW (the build's read_window.exe): the word box on the first line,
# the description after it. The window may show another word's entry before
# the look-up (the clipboard's, pasted at start), so the reading is taken
# again, for up to 10 s, until it shows WORD with EXPECTED as its
# description; the last reading is printed either way. The program keeps
# running; its process is DICTIONARY_WINDOW_PID. Fails, saying so, when no
# window appears.
# Usage: dictionary_look_up_in_window PROGRAM WORD READ_WINDOW EXPECTED
dictionary_look_up_in_window() {
    local program=$1 word=$2 read_window=$3 expected=$4 window= X Y WIDTH HEIGHT candidate tallest=0 shown
    wine "$program" >/dev/null 2>&1 &
    DICTIONARY_WINDOW_PID=$!
    for _ in $(seq 150); do
        xdotool search --name '^Dictionary' >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1
    # Wine may show the client area as an X window of the same name: the
    # tallest is the whole window, caption included, where the clicks aim.
    for candidate in $(xdotool search --name '^Dictionary' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate")"
        if [ "$HEIGHT" -gt "$tallest" ]; then
            tallest=$HEIGHT
            window=$candidate
        fi
    done
    if [ -z "$window" ]; then
        echo "the window of $program did not appear" >&2
        return 1
    fi
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 100)) $((Y + 72)) click 1
    xdotool key Home shift+End
    dictionary_type_word "$word"
    xdotool key Return
    sleep 1
    local deadline=$((SECONDS + 10))
    while :; do
        shown=$(wine "$read_window" 10000 </dev/null | tr -d '\r') || true
        [ "$(head -n 1 <<<"$shown")" = "$word" ] && [ "$(tail -n +2 <<<"$shown")" = "$expected" ] && break
        [ "$SECONDS" -lt "$deadline" ] || break
        sleep 0.5
    done
    printf '%s\n' "$shown"
}
