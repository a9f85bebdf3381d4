# shellcheck shell=bash disable=SC1003
# (SC1003: Windows paths in single quotes end in a backslash.)
#
# The sample machine (examples/machines/sample) set up in a Wine prefix, and the check
# that a run of the uninstaller took from it exactly what the card's table
# tests/e2e/card_expectations.txt names: the one list that the simulated machine's
# uninstaller tests check as well. Source after wine_env.sh:
#
#   card_machine_install             # the sample's registry and files, into the current prefix
#   card_snapshot before             # the registry trees and files that the checks compare
#   ... the uninstaller runs ...
#   card_snapshot after
#   card_expect_removed before after     # exactly the card's entries and files are gone
#   card_expect_unchanged before after   # nothing is gone
#
# Each check prints what differs on stderr and returns 1 when something does.
#
# Where the prefix differs from the simulated machine, and why:
#   - The registry fixture is the sample's keys below HKEY_LOCAL_MACHINE, where the
#     uninstaller reads and deletes; the sample's HKEY_USERS keys are left out, as the
#     prefix has users of its own.
#   - The sample's C:\WINDOWS\SYSTEM is the prefix's C:\windows\system32: that is the
#     system directory a 64-bit program is given (C:\windows\system is for 16-bit ones).
#   - Folders the prefix has already keep its spelling (C:\windows\inf, not INF); files
#     and new folders keep the sample's (ES1868.DRV, INF\OTHER). Names match without
#     regard to case on both, so the uninstaller's lower-case names reach them.
#   - A sample file the prefix has of its own (kernel32.dll, win.ini, notepad.exe, ...) is
#     not replaced, which would break Wine: the prefix's file stands in for it, and must
#     remain like the others.
#   - Only the registry trees that hold the sample's keys are compared (card_trees), and
#     the values of the keys above them; what Wine keeps elsewhere changes by itself, for
#     instance when the first program of a prefix starts.

card_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
card_sample=$card_repo/examples/machines/sample
card_table=$card_repo/tests/e2e/card_expectations.txt

# The registry trees that hold the sample's HKEY_LOCAL_MACHINE keys, compared whole.
# Every other key of the fixture lies above them; the values of such a key, if it has
# any, are compared too (the key alone, as reg query lists it). Both are checked.
card_trees=(
    'HKEY_LOCAL_MACHINE\Enum'
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\MediaResources'
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class'
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
)

# The table, read into card_keys, card_value_key, card_value_name and card_files (the
# files as paths below drive_c of the prefix, in lower case).
card_keys=()
card_files=()
card_value_key=
card_value_name=

_card_read_table() {
    local kind a b extra number=0
    card_keys=()
    card_files=()
    card_value_key=
    card_value_name=
    while read -r kind a b extra; do
        number=$((number + 1))
        case $kind in
            '' | '#'*) continue ;;
        esac
        if [[ $kind == key && -n $a && -z $b ]]; then
            card_keys+=("$a")
        elif [[ $kind == value && -n $b && -z $extra && -z $card_value_key ]]; then
            card_value_key=$a
            card_value_name=$b
        elif [[ $kind == file && ($a == windows || $a == system) && -n $b && -z $extra ]]; then
            local dir=windows
            [[ $a == system ]] && dir=windows/system32
            b=${b//\\//}
            card_files+=("${dir}/${b,,}")
        else
            echo "card_machine: $card_table:$number: cannot be read" >&2
            return 1
        fi
    done <"$card_table"
    [[ -n $card_value_key ]] || { echo "card_machine: $card_table names no value" >&2; return 1; }
}
_card_read_table || return 1

# The Windows path in the prefix of a file of the sample's drive_c folder.
_card_windows_path() {
    local file=$1 upper=${1^^}
    if [[ $upper == WINDOWS/SYSTEM/* ]]; then
        file='C:\windows\system32\'${file#*/*/}
    elif [[ $upper == WINDOWS/* ]]; then
        file='C:\windows\'${file#*/}
    else
        file='C:\'$file
    fi
    printf '%s\n' "${file//\//\\}"
}

# Whether a key lies in one of the compared trees (names compared without regard to case).
_card_in_trees() {
    local key=${1,,} tree
    for tree in "${card_trees[@]}"; do
        tree=${tree,,}
        [[ $key == "$tree" || $key == "$tree"\\* ]] && return 0
    done
    return 1
}

# card_machine_install: the fixture's registry keys and the sample's files, into the
# current prefix. Kept in $WINE_ENV_ROOT: card-fixture.reg; card-fixture-values.txt, each
# key of the fixture and the names of its values, tab-separated; card-sample-files.txt,
# the sample's files as paths below the prefix's drive_c.
card_machine_install() {
    local fixture=$WINE_ENV_ROOT/card-fixture.reg
    awk 'NR == 1 || /^\[/ { keep = NR == 1 || $0 ~ /^\[HKEY_LOCAL_MACHINE[]\\]/ } keep' \
        "$card_sample/registry.reg" >"$fixture"
    tr -d '\r' <"$fixture" | awk '
        /^\[.*\]$/ { key = substr($0, 2, length($0) - 2); print key; next }
        /^@=/ { print key "\t@"; next }
        /^"/ { name = substr($0, 2); sub(/"=.*/, "", name); print key "\t" name }
    ' >"$WINE_ENV_ROOT/card-fixture-values.txt"
    wine_reg_import "$fixture" || return 1
    local file host drive_c
    drive_c=$(wine_host_path 'C:\')
    : >"$WINE_ENV_ROOT/card-sample-files.txt"
    while IFS= read -r -d '' file; do
        host=$(wine_host_path "$(_card_windows_path "$file")") || return 1
        if [[ ! -e $host ]]; then
            mkdir -p "$(dirname "$host")" && cp "$card_sample/drive_c/$file" "$host" || return 1
        fi
        printf '%s\n' "${host#"$drive_c"/}" >>"$WINE_ENV_ROOT/card-sample-files.txt"
    done < <(cd "$card_sample/drive_c" && find . -type f -printf '%P\0' | sort -z)
}

# Records of a regedit export, one a line: "[KEY]" for a key, "[KEY] NAME=DATA" for each
# of its values, continued hex lists joined.
_card_registry_records() {
    awk '
        NR == 1 { next }
        pending != "" { sub(/^[ \t]+/, ""); $0 = pending $0; pending = "" }
        /^"/ && /,\\$/ || /^@/ && /,\\$/ { pending = substr($0, 1, length($0) - 1); next }
        $0 == "" { next }
        /^\[.*\]$/ { key = substr($0, 2, length($0) - 2); print "[" key "]"; next }
        { print "[" key "] " $0 }
    ' "$1"
}

# card_snapshot NAME: the registry as records ($WINE_ENV_ROOT/NAME.registry): the compared
# trees, then "[KEY] query: NAME TYPE DATA" for the values of each fixture key above them
# that has values; and the files ($WINE_ENV_ROOT/NAME.files): each sample file with its
# checksum, then every entry below the Windows directory but its temp folder.
card_snapshot() {
    local name=$1 tree key status
    local registry=$WINE_ENV_ROOT/$name.registry files=$WINE_ENV_ROOT/$name.files
    local scratch=$WINE_ENV_ROOT/$name.scratch
    : >"$registry"
    for tree in "${card_trees[@]}"; do
        wine_reg_export "$tree" "$scratch"
        status=$?
        if ((status == 0)); then
            _card_registry_records "$scratch" >>"$registry"
        elif ((status != 1)); then
            echo "card_snapshot: exporting $tree failed" >&2
            return 1
        fi
    done
    while IFS= read -r key; do
        _card_in_trees "$key" && continue
        wine_reg_query "$key" "$scratch"
        status=$?
        if ((status == 0)); then
            # The key's own values: the indented lines after its name, up to a blank line.
            KEY=$key awk 'NR > 2 && $0 == "" { exit } NR > 2 { sub(/^ +/, ""); print "[" ENVIRON["KEY"] "] query: " $0 }' \
                "$scratch" >>"$registry"
        elif ((status != 1)); then
            echo "card_snapshot: querying $key failed" >&2
            return 1
        fi
    done < <(awk -F '\t' 'NF == 2 { print $1 }' "$WINE_ENV_ROOT/card-fixture-values.txt" | uniq)
    rm -f "$scratch"
    local drive_c file sum
    drive_c=$(wine_host_path 'C:\')
    : >"$files"
    while IFS= read -r file; do
        sum=absent
        [[ -f $drive_c/$file ]] && sum=$(md5sum <"$drive_c/$file" | cut -d' ' -f1)
        printf 'file %s %s\n' "$file" "$sum" >>"$files"
    done <"$WINE_ENV_ROOT/card-sample-files.txt"
    local windows
    windows=$(wine_windows_dir)
    (cd "$windows" && find . -path ./temp -prune -o ! -path . -printf 'entry windows/%P\n') | sort >>"$files"
}

# The records of a snapshot as the table says they must become: without the keys below a
# card key, the card's value and the card's files, which are absent (names compared
# without regard to case).
_card_without_card() {
    local IFS=$'\n'
    # Through the environment: awk would read the backslashes of -v values as escapes.
    CARD_KEYS="${card_keys[*],,}" CARD_VALUE_KEY="${card_value_key,,}" CARD_VALUE_NAME="${card_value_name,,}" \
        CARD_FILES="${card_files[*]}" awk '
        BEGIN {
            nkeys = split(ENVIRON["CARD_KEYS"], key, "\n")
            nfiles = split(ENVIRON["CARD_FILES"], file, "\n")
            value_key = ENVIRON["CARD_VALUE_KEY"]
            value_name = ENVIRON["CARD_VALUE_NAME"]
        }
        function gone_key(k,    i) {
            k = tolower(k)
            for (i = 1; i <= nkeys; i++)
                if (k == key[i] || index(k, key[i] "\\") == 1) return 1
            return 0
        }
        function gone_file(f,    i) {
            f = tolower(f)
            for (i = 1; i <= nfiles; i++)
                if (f == file[i]) return 1
            return 0
        }
        /^\[/ {
            k = substr($0, 2, index($0, "]") - 2)
            if (gone_key(k)) next
            rest = substr($0, length(k) + 4)
            if (tolower(k) == value_key && index(tolower(rest), "\"" value_name "\"=") == 1) next
            print
            next
        }
        $1 == "file" && gone_file($2) { print "file " $2 " absent"; next }
        $1 == "entry" && gone_file($2) { next }
        { print }
    ' "$@"
}

# Fails, naming them, when the table's keys, value or files are not all in the snapshot
# BEFORE, or a key or value of the fixture was not imported or is not compared: the
# comparison would then prove nothing.
_card_expect_installed() {
    local before=$WINE_ENV_ROOT/$1 missing=0 want key name tree above
    local -A have=()
    # Every key of the records, and every value as "KEY<tab>NAME", in lower case.
    while IFS=$'\t' read -r key name; do
        have[${key,,}]=1
        [[ -n $name ]] && have[${key,,}$'\t'${name,,}]=1
    done < <(awk '
        { key = substr($0, 2, index($0, "]") - 2); rest = substr($0, length(key) + 4) }
        rest ~ /^query: / { name = substr(rest, 8); sub(/    .*/, "", name); print key "\t" name; next }
        rest ~ /^@=/ { print key "\t@"; next }
        rest ~ /^"/ { name = substr(rest, 2); sub(/"=.*/, "", name); print key "\t" name; next }
        { print key }
    ' "$before.registry")
    for want in "${card_keys[@]}"; do
        [[ -n ${have[${want,,}]:-} ]] || { echo "the fixture lacks the card's key $want" >&2; missing=1; }
    done
    [[ -n ${have[${card_value_key,,}$'\t'${card_value_name,,}]:-} ]] ||
        { echo "the fixture lacks the card's value $card_value_key $card_value_name" >&2; missing=1; }
    for want in "${card_files[@]}"; do
        grep -qixF "entry $want" "$before.files" || { echo "the prefix lacks the card's file $want" >&2; missing=1; }
    done
    while IFS=$'\t' read -r key name; do
        if [[ -n $name ]]; then
            [[ -n ${have[${key,,}$'\t'${name,,}]:-} ]] ||
                { echo "the fixture's value $key $name was not imported or is not compared" >&2; missing=1; }
            continue
        fi
        [[ -n ${have[${key,,}]:-} ]] && continue
        above=0
        for tree in "${card_trees[@]}"; do
            [[ ${tree,,} == "${key,,}"\\* ]] && above=1
        done
        ((above == 1)) ||
            { echo "the fixture's key $key was not imported or is not in the compared trees" >&2; missing=1; }
    done <"$WINE_ENV_ROOT/card-fixture-values.txt"
    return $missing
}

# card_expect_removed BEFORE AFTER: the snapshot AFTER is BEFORE without the card's
# entries and files, and nothing else is missing, changed or new.
card_expect_removed() {
    _card_expect_installed "$1" || return 1
    local want=$WINE_ENV_ROOT/$1-without-card
    _card_without_card "$WINE_ENV_ROOT/$1.registry" >"$want.registry"
    _card_without_card "$WINE_ENV_ROOT/$1.files" >"$want.files"
    _card_compare "$want" "$2" "after the card's removal"
}

# card_expect_unchanged BEFORE AFTER: nothing is gone, changed or new.
card_expect_unchanged() {
    _card_expect_installed "$1" || return 1
    _card_compare "$WINE_ENV_ROOT/$1" "$2" "unchanged"
}

_card_compare() {
    local want=$1 got=$WINE_ENV_ROOT/$2 what=$3 status=0
    diff -u --label "registry: want ($what)" --label "registry: got" "$want.registry" "$got.registry" >&2 || status=1
    diff -u --label "files: want ($what)" --label "files: got" "$want.files" "$got.files" >&2 || status=1
    return $status
}
