# shellcheck shell=bash disable=SC2034
# (SC2034: the WINE_ENV_* results are read by the scripts that source this file.)
#
# Wine prefixes for tests of the real Win32 builds. Source this file from bash:
#
#   source tests/wine/wine_env.sh
#   wine_env_init                       # temp folder, display, cleanup on exit
#   wine_prefix_new yes                 # fresh private prefix; becomes the current one
#   wine_set_language 0x0407            # GetUserDefaultLangID() in programs: 0x0407
#   wine_reg_import setup.reg           # REGEDIT4 or version 5 file
#   wine_run -t 20 prog.exe args...     # status of the program; output in $WINE_ENV_LAST_LOG
#   wine_reg_export 'HKEY_LOCAL_MACHINE\Software\X' out.reg   # 1 when the key is absent
#   wine_reg_query 'HKEY_LOCAL_MACHINE\Software\X' out.txt    # the key's own values
#   wine_host_path 'C:\windows\notepad.exe'                   # host path of a Windows path
#
# Every Wine command runs with a timeout. The prefix, its wineserver and the display
# (when there is one) are stopped by wine_env_cleanup, which wine_env_init installs
# as the EXIT trap.
#
# Settings (environment, read by wine_env_init):
#   WINE_ENV_DISPLAY  null (default): Wine's null display driver, no X server. Windows
#                     exist, are found and take messages, but nothing is drawn.
#                     xvfb: an Xvfb on a free display number, stopped at cleanup.
#   WINE_ENV_DEBUG    WINEDEBUG for the programs run (default -all,err+module: quiet
#                     but for DLLs that cannot be found or loaded; err+all,fixme-all
#                     shows all of Wine's errors in the logs).
#   WINE_ENV_KEEP     1 keeps the temp folder (prefixes, logs) for a look afterwards.
#   WINE_ENV_WINE     the Wine loader (default /usr/lib/wine/wine64: the machines run
#                     64-bit programs only).
#
# Facts these functions rest on (Wine 8 on Debian):
#   - The user language follows LC_ALL of each Wine process; the registry value
#     HKCU\Control Panel\International\Locale is overwritten from it at process start.
#     LANG alone is ignored when the host lacks that locale, as the test machines do.
#   - regedit exits 0 even when the file is missing, malformed or the key is absent:
#     success is judged by its messages and by the exported file.
#   - regedit /E writes UTF-16LE with a byte order mark, CRLF, header
#     "Windows Registry Editor Version 5.00"; values come sorted by name. It takes
#     only the long root names (HKEY_LOCAL_MACHINE, not HKLM).
#   - The display driver is fixed by the first process of a wineserver session (the
#     desktop); the null driver is set in the registry and the wineserver restarted.
#   - A booted prefix is about 700 MB; booting takes 7 to 15 s, copying a booted
#     one about 2 s, so each session boots one template and copies it.
#   - Wine links the user folders (Desktop, Documents, ...) to $HOME: the template
#     gets real folders instead, and Wine runs with HOME inside the temp folder.

WINE_ENV_WINE=${WINE_ENV_WINE:-/usr/lib/wine/wine64}
WINE_ENV_WINESERVER=${WINE_ENV_WINESERVER:-/usr/lib/wine/wineserver}
WINE_ENV_DISPLAY=${WINE_ENV_DISPLAY:-null}
WINE_ENV_DEBUG=${WINE_ENV_DEBUG:--all,err+module}
WINE_ENV_KEEP=${WINE_ENV_KEEP:-0}

# Mono and Gecko installers skipped; no menu entries written to the host.
readonly WINE_ENV_OVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'

WINE_ENV_ROOT=         # temp folder holding everything below
WINE_ENV_PREFIX=       # the current prefix
WINE_ENV_LAST_LOG=     # log of the last wine_run / wine_start
WINE_ENV_LAST_PID=     # pid of the last wine_start
WINE_ENV_BOOT_SECONDS= # how long booting the template took
WINE_ENV_COPY_SECONDS= # how long the last wine_prefix_new copy took
WINE_ENV_X_DISPLAY=    # :N when WINE_ENV_DISPLAY=xvfb
_wine_env_xvfb_pid=
_wine_env_log_count=0
declare -a _wine_env_prefixes=()
declare -A _wine_env_locale=()

# Language id to the LC_ALL value Wine turns into it: GetUserDefaultLangID() gives the id
# in programs. Anything containing '_' is taken as a locale name.
declare -A WINE_ENV_LOCALES=(
    [0x0409]=en_US.UTF-8 [0x0809]=en_GB.UTF-8 [0x0407]=de_DE.UTF-8 [0x0807]=de_CH.UTF-8
    [0x0C07]=de_AT.UTF-8 [0x040A]=es_ES_tradnl.UTF-8 [0x0C0A]=es_ES.UTF-8 [0x080A]=es_MX.UTF-8
    [0x0413]=nl_NL.UTF-8 [0x0813]=nl_BE.UTF-8 [0x040C]=fr_FR.UTF-8 [0x080C]=fr_BE.UTF-8
    [0x0410]=it_IT.UTF-8 [0x0416]=pt_BR.UTF-8 [0x0816]=pt_PT.UTF-8
)

_wine_env_fail() {
    echo "wine_env: $*" >&2
    return 1
}

wine_clock_now() { date +%s.%N; }
wine_seconds_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

# _wine_env_exec SECONDS LOG COMMAND...: runs a Wine command for the current prefix.
# Every variable Wine reads is set here, so that the caller's locale, display or HOME
# cannot change what the program sees. The wineserver's socket folder goes below
# TMPDIR (wine-XXXXXX/server-DEV-INODE), so it is removed with the temp folder.
_wine_env_exec() {
    local seconds=$1 log=$2
    shift 2
    local locale=${_wine_env_locale[$WINE_ENV_PREFIX]:-en_US.UTF-8}
    local -a display=(-u DISPLAY)
    [[ -n $WINE_ENV_X_DISPLAY ]] && display=(DISPLAY="$WINE_ENV_X_DISPLAY")
    env -u WAYLAND_DISPLAY -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u LANGUAGE "${display[@]}" \
        WINEPREFIX="$WINE_ENV_PREFIX" WINEARCH=win64 WINEDEBUG="${_wine_env_debug:-$WINE_ENV_DEBUG}" \
        WINEDLLOVERRIDES="$WINE_ENV_OVERRIDES" WINESERVER="$WINE_ENV_WINESERVER" \
        HOME="$WINE_ENV_ROOT/home" TMPDIR="$WINE_ENV_ROOT/tmp" LC_ALL="$locale" LANG="$locale" \
        timeout -k 5 "$seconds" "$@" </dev/null >>"$log" 2>&1
}

# regedit under the prefix's language, so that a REGEDIT4 file is read in the ANSI code
# page the programs see. Wine's own messages are kept out of its output: any output is
# then a message of regedit's, which is how its failures show (it exits 0 regardless).
_wine_env_regedit() {
    local _wine_env_debug=-all
    _wine_env_exec 60 "$WINE_ENV_LAST_LOG" "$WINE_ENV_WINE" regedit "$@"
}

_wine_env_server() {
    env WINEPREFIX="$WINE_ENV_PREFIX" TMPDIR="$WINE_ENV_ROOT/tmp" timeout -k 2 "${2:-10}" "$WINE_ENV_WINESERVER" "$1" \
        </dev/null >/dev/null 2>&1
}

# Starts Xvfb on a display number it picks itself (-displayfd), waits for it.
_wine_env_start_xvfb() {
    command -v Xvfb >/dev/null || { _wine_env_fail "WINE_ENV_DISPLAY=xvfb but Xvfb is not installed"; return 1; }
    local fdfile=$WINE_ENV_ROOT/xvfb.display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$fdfile" </dev/null >"$WINE_ENV_ROOT/xvfb.log" 2>&1 &
    _wine_env_xvfb_pid=$!
    local i
    for ((i = 0; i < 100; i++)); do
        if [[ -s $fdfile ]] && grep -q '^[0-9][0-9]*$' "$fdfile"; then
            WINE_ENV_X_DISPLAY=:$(head -n1 "$fdfile")
            return 0
        fi
        kill -0 "$_wine_env_xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$WINE_ENV_ROOT/xvfb.log" >&2
    _wine_env_fail "Xvfb did not report a display within 10 s"
}

wine_env_init() {
    [[ -x $WINE_ENV_WINE ]] || { _wine_env_fail "no Wine loader at $WINE_ENV_WINE"; return 1; }
    [[ -x $WINE_ENV_WINESERVER ]] || { _wine_env_fail "no wineserver at $WINE_ENV_WINESERVER"; return 1; }
    case $WINE_ENV_DISPLAY in
        null | xvfb) ;;
        *) _wine_env_fail "WINE_ENV_DISPLAY is '$WINE_ENV_DISPLAY'; want null or xvfb"; return 1 ;;
    esac
    WINE_ENV_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/wine-env.XXXXXX") || return 1
    mkdir -p "$WINE_ENV_ROOT/home" "$WINE_ENV_ROOT/logs" "$WINE_ENV_ROOT/tmp"
    trap wine_env_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    if [[ $WINE_ENV_DISPLAY == xvfb ]]; then
        _wine_env_start_xvfb || return 1
    fi
    return 0
}

# Stops every wineserver this session started, the Xvfb, and removes the temp folder.
# Safe to call more than once.
wine_env_cleanup() {
    local prefix saved=$WINE_ENV_PREFIX
    for prefix in "${_wine_env_prefixes[@]}"; do
        WINE_ENV_PREFIX=$prefix
        _wine_env_server -k 10
        _wine_env_server -w 10
    done
    WINE_ENV_PREFIX=$saved
    _wine_env_prefixes=()
    if [[ -n $_wine_env_xvfb_pid ]]; then
        kill "$_wine_env_xvfb_pid" 2>/dev/null
        local i
        for ((i = 0; i < 50; i++)); do
            kill -0 "$_wine_env_xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$_wine_env_xvfb_pid" 2>/dev/null
        wait "$_wine_env_xvfb_pid" 2>/dev/null
        _wine_env_xvfb_pid=
        WINE_ENV_X_DISPLAY=
    fi
    if [[ -n $WINE_ENV_ROOT && -d $WINE_ENV_ROOT ]]; then
        if [[ $WINE_ENV_KEEP == 1 ]]; then
            echo "wine_env: kept $WINE_ENV_ROOT" >&2
        else
            rm -rf "$WINE_ENV_ROOT"
        fi
    fi
    WINE_ENV_ROOT=
}

# Boots the session's template prefix once: headless, no installers, user folders
# made real folders (Wine links them to $HOME), null driver when chosen.
_wine_env_template() {
    local template=$WINE_ENV_ROOT/template
    [[ -f $template/system.reg ]] && return 0
    local saved=$WINE_ENV_PREFIX log=$WINE_ENV_ROOT/logs/boot.log _wine_env_debug=-all
    WINE_ENV_PREFIX=$template
    _wine_env_prefixes+=("$template")
    local start
    start=$(wine_clock_now)
    if ! _wine_env_exec 180 "$log" "$WINE_ENV_WINE" wineboot -i; then
        cat "$log" >&2
        WINE_ENV_PREFIX=$saved
        _wine_env_fail "wineboot -i failed for $template"
        return 1
    fi
    if [[ $WINE_ENV_DISPLAY == null ]]; then
        local reg=$WINE_ENV_ROOT/null-driver.reg
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n\r\n' >"$reg"
        if ! wine_reg_import "$reg"; then
            WINE_ENV_PREFIX=$saved
            return 1
        fi
    fi
    # The registry is written out when the wineserver ends.
    _wine_env_server -k 10
    _wine_env_server -w 10
    if [[ ! -f $template/system.reg ]]; then
        cat "$log" >&2
        WINE_ENV_PREFIX=$saved
        _wine_env_fail "wineboot -i left no registry in $template"
        return 1
    fi
    WINE_ENV_BOOT_SECONDS=$(wine_seconds_since "$start")
    local link
    while IFS= read -r -d '' link; do
        rm -f "$link" && mkdir -p "$link"
    done < <(find "$template/drive_c/users" -type l -print0)
    WINE_ENV_PREFIX=$saved
}

# wine_prefix_new NAME: a fresh prefix $WINE_ENV_ROOT/NAME, made the current one.
wine_prefix_new() {
    local name=$1
    [[ -n $WINE_ENV_ROOT ]] || { _wine_env_fail "call wine_env_init first"; return 1; }
    [[ $name =~ ^[A-Za-z0-9_.-]+$ && $name != template ]] ||
        { _wine_env_fail "prefix name '$name' is not a plain name"; return 1; }
    local prefix=$WINE_ENV_ROOT/$name
    [[ -e $prefix ]] && { _wine_env_fail "prefix $name exists already"; return 1; }
    _wine_env_template || return 1
    local start
    start=$(wine_clock_now)
    cp -a "$WINE_ENV_ROOT/template" "$prefix" || { _wine_env_fail "cannot copy the template to $prefix"; return 1; }
    WINE_ENV_COPY_SECONDS=$(wine_seconds_since "$start")
    _wine_env_prefixes+=("$prefix")
    WINE_ENV_PREFIX=$prefix
}

# wine_prefix_use NAME: makes an existing prefix of this session the current one.
wine_prefix_use() {
    local prefix=$WINE_ENV_ROOT/$1
    [[ -f $prefix/system.reg ]] || { _wine_env_fail "no prefix $1"; return 1; }
    WINE_ENV_PREFIX=$prefix
}

# wine_prefix_stop: ends the current prefix's wineserver and every program in it.
wine_prefix_stop() {
    _wine_env_server -k 10
    _wine_env_server -w 10
}

# wine_prefix_remove: ends the current prefix's wineserver and removes the prefix, but not
# the logs; with WINE_ENV_KEEP=1 the prefix stays for a look afterwards. No prefix is
# current afterwards.
wine_prefix_remove() {
    [[ -n $WINE_ENV_PREFIX ]] || { _wine_env_fail "no current prefix"; return 1; }
    wine_prefix_stop
    if [[ $WINE_ENV_KEEP != 1 ]]; then
        rm -rf "$WINE_ENV_PREFIX"
        local kept=() prefix
        for prefix in "${_wine_env_prefixes[@]}"; do
            [[ $prefix == "$WINE_ENV_PREFIX" ]] || kept+=("$prefix")
        done
        _wine_env_prefixes=("${kept[@]}")
    fi
    WINE_ENV_PREFIX=
}

# wine_set_language LANGID|LOCALE: the user default language of programs run from now
# on in the current prefix, e.g. 0x0407 or de_DE.UTF-8.
wine_set_language() {
    local want=$1 locale=
    if [[ $want == *_* ]]; then
        locale=$want
    elif [[ $want =~ ^(0[xX])?[0-9A-Fa-f]{1,4}$ ]]; then
        local key
        key=$(printf '0x%04X' "0x${want#0[xX]}")
        locale=${WINE_ENV_LOCALES[$key]}
        [[ -n $locale ]] || { _wine_env_fail "no locale known for language $key; pass a locale name"; return 1; }
    else
        _wine_env_fail "language '$want' is neither a language id nor a locale name"
        return 1
    fi
    [[ -n $WINE_ENV_PREFIX ]] || { _wine_env_fail "no current prefix"; return 1; }
    _wine_env_locale[$WINE_ENV_PREFIX]=$locale
}

# wine_windows_path HOSTPATH: the Windows path under which programs see a host path.
wine_windows_path() {
    local path
    path=$(realpath -m "$1")
    local drive_c
    drive_c=$(realpath -m "$WINE_ENV_PREFIX/drive_c")
    if [[ $path == "$drive_c" || $path == "$drive_c"/* ]]; then
        path=${path#"$drive_c"}
        path='C:'${path//\//\\}
    else
        path='Z:'${path//\//\\}
    fi
    [[ $path == ?: ]] && path+=$'\\'
    printf '%s\n' "$path"
}

# wine_host_path WINPATH: the host path of a path on the prefix's drives. Existing
# folders and files are matched without regard to case, as Windows does; the part
# that does not exist yet keeps the spelling given.
wine_host_path() {
    local win=$1
    [[ $win =~ ^([A-Za-z]):(.*)$ ]] || { _wine_env_fail "'$win' is not a drive path like C:\\..."; return 1; }
    local letter=${BASH_REMATCH[1],,} rest=${BASH_REMATCH[2]}
    local host
    host=$(readlink -f "$WINE_ENV_PREFIX/dosdevices/$letter:") ||
        { _wine_env_fail "drive $letter: is not mapped in $WINE_ENV_PREFIX"; return 1; }
    local part found entry
    local -a parts
    IFS=/ read -r -a parts <<<"${rest//\\//}"
    for part in "${parts[@]}"; do
        [[ -z $part || $part == . ]] && continue
        if [[ $part == .. ]]; then
            host=$(dirname "$host")
            continue
        fi
        found=
        if [[ -e $host/$part ]]; then
            found=$part
        elif [[ -d $host ]]; then
            for entry in "$host"/* "$host"/.[!.]*; do
                [[ -e $entry || -L $entry ]] || continue
                entry=${entry##*/}
                if [[ ${entry,,} == "${part,,}" ]]; then
                    found=$entry
                    break
                fi
            done
        fi
        host=${host%/}/${found:-$part}
    done
    printf '%s\n' "$host"
}

# The Windows directory and the system directory of 64-bit programs, on the host.
wine_windows_dir() { wine_host_path 'C:\windows'; }
wine_system_dir() { wine_host_path 'C:\windows\system32'; }

_wine_env_new_log() {
    _wine_env_log_count=$((_wine_env_log_count + 1))
    WINE_ENV_LAST_LOG=$(printf '%s/logs/%03d-%s.log' "$WINE_ENV_ROOT" "$_wine_env_log_count" "$1")
    : >"$WINE_ENV_LAST_LOG"
}

# wine_reg_import FILE: imports a REGEDIT4 (or version 5) file into the current prefix.
# Fails when the file is missing, does not start with a registry header, or regedit
# reports a problem. Lines regedit cannot read are skipped by it without a word.
wine_reg_import() {
    local file=$1
    [[ -f $file ]] || { _wine_env_fail "registry file $file does not exist"; return 1; }
    local head
    head=$(head -c 200 "$file" | iconv -f UTF-16 -t UTF-8 2>/dev/null | head -n1)
    [[ $head == 'Windows Registry Editor Version 5.00'* ]] || head=$(head -n1 "$file")
    head=${head%$'\r'}
    if [[ $head != REGEDIT4 && $head != 'Windows Registry Editor Version 5.00' ]]; then
        _wine_env_fail "$file:1: not a registry file (first line '$head')"
        return 1
    fi
    _wine_env_new_log regedit-import
    _wine_env_regedit /S "$(wine_windows_path "$file")"
    local status=$?
    if ((status != 0)) || [[ -s $WINE_ENV_LAST_LOG ]]; then
        cat "$WINE_ENV_LAST_LOG" >&2
        _wine_env_fail "importing $file failed (status $status)"
        return 1
    fi
}

# wine_reg_export KEY OUTFILE: writes KEY with everything below it to OUTFILE as UTF-8
# text with LF line ends (header "Windows Registry Editor Version 5.00").
# Returns 1, with no OUTFILE, when the key does not exist; 2 on other failures.
# Short root names (HKLM, HKCU, HKCR, HKU, HKCC) are accepted.
wine_reg_export() {
    local key=$1 out=$2
    case ${key%%\\*} in
        HKLM) key=HKEY_LOCAL_MACHINE${key#HKLM} ;;
        HKCU) key=HKEY_CURRENT_USER${key#HKCU} ;;
        HKCR) key=HKEY_CLASSES_ROOT${key#HKCR} ;;
        HKU) key=HKEY_USERS${key#HKU} ;;
        HKCC) key=HKEY_CURRENT_CONFIG${key#HKCC} ;;
    esac
    case ${key%%\\*} in
        HKEY_LOCAL_MACHINE | HKEY_CURRENT_USER | HKEY_CLASSES_ROOT | HKEY_USERS | HKEY_CURRENT_CONFIG) ;;
        *) _wine_env_fail "'$key' does not start with a root key name"; return 2 ;;
    esac
    rm -f "$out"
    _wine_env_new_log regedit-export
    local raw=${WINE_ENV_LAST_LOG%.log}.reg
    _wine_env_regedit /E "$(wine_windows_path "$raw")" "$key"
    local status=$?
    if ((status != 0)); then
        cat "$WINE_ENV_LAST_LOG" >&2
        _wine_env_fail "exporting $key failed (status $status)"
        return 2
    fi
    # With a valid root, regedit writes nothing only when it cannot open the key.
    [[ -f $raw ]] || return 1
    if ! iconv -f UTF-16 -t UTF-8 "$raw" >"$raw.utf8"; then
        rm -f "$raw" "$raw.utf8"
        _wine_env_fail "the export of $key is not UTF-16"
        return 2
    fi
    tr -d '\r' <"$raw.utf8" >"$out.tmp" && mv "$out.tmp" "$out"
    local moved=$?
    rm -f "$raw" "$raw.utf8"
    return $moved
}

# wine_reg_query KEY OUTFILE: the values of KEY alone (not of its subkeys), as Wine's reg
# query lists them, to OUTFILE with LF line ends: a blank line, the key's name, then one
# line "    NAME    TYPE    DATA" each, then the subkeys' names after a blank line.
# Returns 1 when the key does not exist, 2 on other failures.
wine_reg_query() {
    local key=$1 out=$2
    _wine_env_new_log reg-query
    local raw=${WINE_ENV_LAST_LOG%.log}.txt _wine_env_debug=-all
    _wine_env_exec 60 "$raw" "$WINE_ENV_WINE" reg query "$key"
    local status=$?
    if ((status != 0)); then
        cat "$raw" >>"$WINE_ENV_LAST_LOG"
        rm -f "$raw"
        grep -q 'Unable to find' "$WINE_ENV_LAST_LOG" && return 1
        cat "$WINE_ENV_LAST_LOG" >&2
        _wine_env_fail "querying $key failed (status $status)"
        return 2
    fi
    tr -d '\r' <"$raw" >"$out.tmp" && mv "$out.tmp" "$out"
    local moved=$?
    rm -f "$raw"
    return $moved
}

# wine_run [-t SECONDS] EXE ARGS...: runs a program in the current prefix and returns
# its exit status (124 when the timeout, default 30 s, ran out). Wine's output and the
# program's go to $WINE_ENV_LAST_LOG.
wine_run() {
    local seconds=30
    if [[ $1 == -t ]]; then
        seconds=$2
        shift 2
    fi
    [[ -f $1 ]] || { _wine_env_fail "no program $1"; return 1; }
    _wine_env_new_log "$(basename "$1" .exe)"
    _wine_env_exec "$seconds" "$WINE_ENV_LAST_LOG" "$WINE_ENV_WINE" "$@"
}

# wine_start [-t SECONDS] EXE ARGS...: like wine_run, in the background. The pid goes
# to WINE_ENV_LAST_PID and the log to WINE_ENV_LAST_LOG; wine_wait PID gives the status.
wine_start() {
    local seconds=30
    if [[ $1 == -t ]]; then
        seconds=$2
        shift 2
    fi
    [[ -f $1 ]] || { _wine_env_fail "no program $1"; return 1; }
    _wine_env_new_log "$(basename "$1" .exe)"
    _wine_env_exec "$seconds" "$WINE_ENV_LAST_LOG" "$WINE_ENV_WINE" "$@" &
    WINE_ENV_LAST_PID=$!
}

wine_wait() {
    wait "$1"
}

# wine_print_logs: every log of this session, each under its name, to stderr.
wine_print_logs() {
    local log
    for log in "$WINE_ENV_ROOT"/logs/*.log; do
        [[ -f $log ]] || continue
        echo "----- ${log##*/}" >&2
        cat "$log" >&2
    done
}
