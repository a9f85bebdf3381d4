#!/bin/bash
# What the built Win32 executables import and carry, read back from the files with
# objdump -p: each is a GUI program of the build's machine type that imports only the
# system DLLs it may (a runtime DLL such as libstdc++-6.dll or libwinpthread-1.dll would
# mean the runtime was not linked in); the volume link carries its dialogs 102 and 129,
# icon group 128 with its images, and the version resource, all in French (0x040C), and
# nothing else; the uninstaller carries no resources.
#
#   exe_contents_test.sh OBJDUMP PE32|PE32+ DROPCARD_EXE MIXTWIN_EXE
set -u

objdump=${1:?usage: exe_contents_test.sh OBJDUMP PE32|PE32+ DROPCARD_EXE MIXTWIN_EXE}
format=${2:?}
dropcard=${3:?}
mixtwin=${4:?}
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The resources of a dump as "TYPE NAME LANGUAGE" lines (numbers in hexadecimal, names as
# objdump shows them), from the nesting of the resource directory's entries: types, then
# names, then languages.
resources() {
    sed -n '/^The .rsrc Resource Directory section:/,/^ Resources start at/p' | awk '
        /Entry: / {
            column = index($0, "Entry: ")
            if (first == 0) first = column
            level = (column - first) / 2
            id = $0
            sub(/.*Entry: (ID: |name: )/, "", id)
            sub(/,? Value: .*/, "", id)
            if (level == 0) type = id
            else if (level == 1) name = id
            else print type, name, id
        }'
}

# exe | allowed DLLs | resources, one "TYPE NAME LANGUAGE" line each (RT_ICON 3,
# RT_DIALOG 5, RT_GROUP_ICON 14, RT_VERSION 16). The volume link may import GDI32 too,
# should the framework's painting come to need it.
icons_french='0x000003 0x000001 0x00040c
0x000003 0x000002 0x00040c'
mixtwin_resources="$icons_french
0x000005 0x000066 0x00040c
0x000005 0x000081 0x00040c
0x00000e 0x000080 0x00040c
0x000010 0x000001 0x00040c"
rows=(
    "$dropcard|kernel32.dll user32.dll advapi32.dll msvcrt.dll|"
    "$mixtwin|winmm.dll user32.dll kernel32.dll gdi32.dll msvcrt.dll|$mixtwin_resources"
)

for row in "${rows[@]}"; do
    exe=${row%%|*}
    allowed=${row#*|}
    allowed=${allowed%%|*}
    want_resources=${row##*|}
    name=${exe##*/}
    [[ -f $exe ]] || { fail "$name: no such file $exe"; continue; }
    dump=$("$objdump" -p "$exe" 2>&1) || { fail "$name: objdump -p failed: $dump"; continue; }

    grep -q "^Magic.*($format)\$" <<<"$dump" || fail "$name: not $format: $(grep '^Magic' <<<"$dump")"
    grep -q '^Subsystem[[:space:]]*00000002' <<<"$dump" ||
        fail "$name: not a GUI program: $(grep '^Subsystem' <<<"$dump")"

    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort -u)
    [[ -n $dlls ]] || fail "$name: no imports found in the dump"
    for dll in $dlls; do
        [[ " $allowed " == *" $dll "* ]] || fail "$name imports $dll; it may import only: $allowed"
    done

    got_resources=$(resources <<<"$dump")
    if [[ $got_resources != "$want_resources" ]]; then
        fail "$name: other resources than wanted (TYPE NAME LANGUAGE)"$'\n'"$(diff \
            <(printf '%s\n' "$want_resources") <(printf '%s\n' "$got_resources"))"
    fi
    echo "$name: imports $(tr '\n' ' ' <<<"$dlls")"
done

if ((failures > 0)); then
    exit 1
fi
echo "all checks passed"
