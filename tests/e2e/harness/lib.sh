# Shared by wine-run and e2e-env: where the end-to-end environment lives and how it is
# brought up and down. Sourced, not run.
#
# The environment is a private Wine prefix (build/wine-prefix), an Xvfb display with openbox
# on it and a persistent wineserver, all started by these scripts and recorded under
# build/e2e-env so that only those processes are ever ended.

harness_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_root=$(cd "$harness_dir/../../.." && pwd)
build_root=${KIVO_BUILD_ROOT:-$repo_root/build}
state_dir=$build_root/e2e-env
export WINEPREFIX=$build_root/wine-prefix
screen_geometry=1024x768x24

# KIVO_E2E_MONITORS=2 selects a second environment, with its own state, prefix and display: one
# screen of 1824 x 768 split into two monitors, 1024 x 768 at 0,0 (the primary) and 800 x 600
# beside it. Wine sees them through Xinerama when its X11 driver does not use XRandR.
two_monitors=
if [[ ${KIVO_E2E_MONITORS:-1} == 2 ]]; then
    two_monitors=1
    state_dir=$build_root/e2e-env-2
    export WINEPREFIX=$build_root/wine-prefix-2
    screen_geometry=1824x768x24
fi

# Bump when the prefix settings below change: a prefix with another stamp is made anew.
prefix_stamp="kivo-prefix-5${two_monitors:+-two-monitors} $(wine --version 2>/dev/null || echo unknown-wine)"

export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no desktop menu entries written into $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The same Unix locale everywhere, so that runs do not depend on the developer's.
export LANG=C.UTF-8
unset LC_ALL

log() { echo "e2e-env: $*" >&2; }

# ---------------------------------------------------------------------------------------
# Locks. setup.lock serialises bringing the environment up and down; users.lock is held
# shared by every wine-run while its program runs, so that a transient environment is torn
# down only by the last user.

open_locks() {
    mkdir -p "$state_dir"
    exec 8>"$state_dir/setup.lock"
    exec 9>"$state_dir/users.lock"
}

# The display is one for all: every wine-run holds display.lock while its program runs, so
# that two test runs in the same build tree (two ctest processes) take turns test by test
# instead of drawing over each other.
lock_display() {
    exec 7>"$state_dir/display.lock"
    flock 7
}

# Holders: the processes (ctest, a script) that brought the environment up with `e2e-env up`
# and have not yet said `down`. It is ended when the last of them goes.
holders_dir=$state_dir/holders

add_holder() {
    mkdir -p "$holders_dir"
    : >"$holders_dir/$1"
}

remove_holder() { rm -f "$holders_dir/$1"; }

# Prints the holders still alive, forgetting those that died without saying `down`.
live_holders() {
    local file pid
    for file in "$holders_dir"/*; do
        [[ -e $file ]] || continue
        pid=${file##*/}
        if kill -0 "$pid" 2>/dev/null; then
            echo "$pid"
        else
            rm -f "$file"
        fi
    done
}

# ---------------------------------------------------------------------------------------
# Process bookkeeping: a recorded pid counts only while it still runs the program we
# started (pids get reused).

pid_runs() { # pid name
    local pid=$1 name=$2
    [[ -n $pid && -r /proc/$pid/cmdline ]] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$name"
}

recorded() { cat "$state_dir/$1" 2>/dev/null || true; }

stop_pid() { # pid name
    local pid=$1 name=$2 i
    pid_runs "$pid" "$name" || return 0
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        pid_runs "$pid" "$name" || return 0
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null || true
}

env_is_up() {
    local display
    display=$(recorded display)
    [[ -n $display ]] &&
        pid_runs "$(recorded xvfb.pid)" Xvfb &&
        pid_runs "$(recorded openbox.pid)" openbox &&
        pid_runs "$(recorded wineserver.pid)" wineserver
}

export_display() {
    DISPLAY=:$(recorded display)
    export DISPLAY
}

# ---------------------------------------------------------------------------------------
# The prefix: made once with wineboot, then reused as long as its stamp matches.

write_prefix_settings() { # file
    # UTF-16 with a byte-order mark, as reg import expects for version 5 files.
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n'
        printf '"ShowCrashDialog"=dword:00000000\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
        printf '"LogPixels"=dword:00000060\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n'
        printf '"LogPixels"=dword:00000060\r\n\r\n'
        # Japanese face names that programs ask for, drawn with the installed CJK font.
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        local face
        for face in "MS UI Gothic" "MS Gothic" "MS PGothic" "MS Mincho" "MS PMincho" \
            "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "ＭＳ 明朝" "ＭＳ Ｐ明朝" "Meiryo" "メイリオ" \
            "Yu Gothic UI" "Yu Gothic"; do
            printf '"%s"="Noto Sans CJK JP"\r\n' "$face"
        done
        printf '\r\n'
        # The symbols of caption buttons (the close box), from Wine's own font copied in.
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n'
        printf '"Marlett (TrueType)"="marlett.ttf"\r\n\r\n'
        if [[ -n $two_monitors ]]; then
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
            printf '"UseXRandR"="N"\r\n\r\n'
        fi
    } | iconv -f UTF-8 -t UTF-16 >"$1"
}

prefix_is_ready() {
    [[ -f $WINEPREFIX/.kivo-stamp && $(cat "$WINEPREFIX/.kivo-stamp") == "$prefix_stamp" ]]
}

# Needs no wineserver of this prefix running; leaves none behind.
make_prefix() {
    local started=$SECONDS settings
    log "creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        unset DISPLAY
        wineboot -u >"$state_dir/wineboot.log" 2>&1 8>&- 9>&-
        if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
            mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        fi
        settings=$state_dir/prefix-settings.reg
        write_prefix_settings "$settings"
        wine reg import "Z:${settings//\//\\}" >>"$state_dir/wineboot.log" 2>&1 8>&- 9>&-
        # A drive whose medium is gone: Y: leads to a folder that does not exist. Wine still
        # describes its volume; only its root cannot be read.
        ln -sfn "$WINEPREFIX/no-medium" "$WINEPREFIX/dosdevices/y:"
        wineserver -w
    )
    echo "$prefix_stamp" >"$WINEPREFIX/.kivo-stamp"
    log "Wine prefix ready in $((SECONDS - started)) s"
}

# ---------------------------------------------------------------------------------------
# The display: a free number from 90 up (well clear of a developer's :0 or :1), Xvfb on
# it, openbox managing it (without a window manager Wine takes seconds to destroy windows).

start_display() {
    local n pid i
    for ((n = 90; n < 190; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "$screen_geometry" -dpi 96 -nolisten tcp -noreset \
            </dev/null >"$state_dir/xvfb.log" 2>&1 8>&- 9>&- &
        pid=$!
        for ((i = 0; i < 200; i++)); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost the number to someone else: try the next
            fi
            if xdpyinfo -display ":$n" >/dev/null 2>&1 && split_monitors ":$n"; then
                echo "$n" >"$state_dir/display"
                echo "$pid" >"$state_dir/xvfb.pid"
                return 0
            fi
            sleep 0.05
        done
        stop_pid "$pid" Xvfb
    done
    log "no free X display found"
    return 1
}

# The two monitors, on the two-monitor display; -noreset keeps them while no client is connected.
split_monitors() { # display
    [[ -z $two_monitors ]] && return 0
    xrandr --display "$1" --setmonitor kivo-primary 1024/271x768/203+0+0 screen >/dev/null &&
        xrandr --display "$1" --setmonitor kivo-second 800/212x600/159+1024+0 none >/dev/null
}

start_window_manager() {
    local config=/etc/xdg/openbox/rc.xml pid i args=(--sm-disable)
    # The system's configuration, not the developer's own.
    [[ -f $config ]] && args+=(--config-file "$config")
    openbox "${args[@]}" </dev/null >"$state_dir/openbox.log" 2>&1 8>&- 9>&- &
    pid=$!
    echo "$pid" >"$state_dir/openbox.pid"
    for ((i = 0; i < 200; i++)); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    log "openbox did not start (see $state_dir/openbox.log)"
    return 1
}

# A wineserver that stays up between test processes, so that each of them starts fast.
start_wineserver() {
    wineserver -f -p </dev/null >"$state_dir/wineserver.log" 2>&1 8>&- 9>&- &
    echo "$!" >"$state_dir/wineserver.pid"
}

# Starts the prefix's system processes (services, the desktop's explorer) now, with no
# output of ours: started later by a test program they would inherit its stderr and keep
# ctest waiting for that pipe to close.
start_system_processes() {
    wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 8>&- 9>&-
}

# ---------------------------------------------------------------------------------------
# The slow folder: slow-folder mirrors slow-src at slow, holding the listings and first reads
# that its names ask for until the test releases them. Tests write into slow-src and read through
# slow. A mount that fails is logged and leaves the other tests running; the tests that need it
# fail with the log.

slow_source=$state_dir/slow-src
slow_mount=$state_dir/slow

# From the mount table, not by looking at the folder: a dead mount's folder cannot be looked at.
slow_mounted() { findmnt -rn -o TARGET | grep -qxF "$slow_mount"; }

slow_folder_is_up() { pid_runs "$(recorded slow-folder.pid)" slow-folder && slow_mounted; }

start_slow_folder() {
    local pid i log=$state_dir/slow-folder.log
    stop_slow_folder
    rm -rf "$slow_source"
    mkdir -p "$slow_source" "$slow_mount"
    "$harness_dir/slow-folder" "$slow_source" "$slow_mount" </dev/null >"$log" 2>&1 7>&- 8>&- 9>&- &
    pid=$!
    echo "$pid" >"$state_dir/slow-folder.pid"
    for ((i = 0; i < 100; i++)); do
        slow_mounted && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "slow-folder: not mounted at $slow_mount" >>"$log"
    log "the slow folder is not mounted; the tests that use it fail: $(tail -n 3 "$log" | tr '\n' ' ')"
    stop_slow_folder
}

stop_slow_folder() {
    if slow_mounted; then
        fusermount3 -u "$slow_mount" 2>/dev/null || fusermount3 -u -z "$slow_mount" 2>/dev/null ||
            log "could not unmount $slow_mount"
    fi
    # Unmounted, it holds nothing worth waiting for; killed, it fails the calls it still holds, so
    # that the processes waiting in them can end.
    local pid
    pid=$(recorded slow-folder.pid)
    if pid_runs "$pid" slow-folder; then
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$state_dir/slow-folder.pid"
}

# ---------------------------------------------------------------------------------------

env_down() {
    local server
    # First, so that a process still waiting on a held call may end with the others.
    stop_slow_folder
    server=$(recorded wineserver.pid)
    if pid_runs "$server" wineserver; then
        wineserver -k 2>/dev/null || true
        stop_pid "$server" wineserver
    fi
    stop_pid "$(recorded openbox.pid)" openbox
    stop_pid "$(recorded xvfb.pid)" Xvfb
    rm -f "$state_dir"/{display,xvfb.pid,openbox.pid,wineserver.pid,mode}
}

env_up() { # mode: fixture | transient
    local started=$SECONDS
    env_down # whatever is left of an earlier environment that was not ended cleanly
    prefix_is_ready || make_prefix
    start_display
    export_display
    start_window_manager
    start_wineserver
    start_system_processes
    start_slow_folder
    echo "$1" >"$state_dir/mode"
    log "up on DISPLAY=$DISPLAY ($1) in $((SECONDS - started)) s"
}
