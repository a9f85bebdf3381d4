#!/bin/bash
# The volume link's start under Wine, in a fresh prefix without sound drivers, so without
# mixer devices: with no mixtwin.ini in the system directory it says so in a box captioned
# "Velmora Deck" and ends with status 0 once the box is answered; with the settings file it
# finds neither mixer and ends at once, silently, with status 0. Change mirroring needs
# control-change notifications, which Wine's mixer service never sends: it is tested on the
# simulated machine only.
#
#   mixtwin_test.sh MIXTWIN_EXE PRESS_BUTTON_EXE
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
# shellcheck source-path=SCRIPTDIR source=wine_env.sh
source "$here/wine_env.sh"

mixtwin=${1:?usage: mixtwin_test.sh MIXTWIN_EXE PRESS_BUTTON_EXE}
press_button=${2:?usage: mixtwin_test.sh MIXTWIN_EXE PRESS_BUTTON_EXE}
started=$(wine_clock_now)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

give_up() {
    echo "FAIL: $*" >&2
    wine_print_logs
    exit 1
}

wine_env_init || exit 1
wine_prefix_new mixtwin || give_up "making the prefix"
# No audio driver: no mixer device, whatever sound hardware the host has.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Audio"=""\r\n\r\n' >"$WINE_ENV_ROOT/no-audio.reg"
wine_reg_import "$WINE_ENV_ROOT/no-audio.reg" || give_up "turning the audio driver off"
settings=$(wine_system_dir)/mixtwin.ini

# ---- no settings file -------------------------------------------------------------------
rm -f "$settings"
wine_start -t 60 "$mixtwin"
pid=$WINE_ENV_LAST_PID
wine_run -t 30 "$press_button" --timeout 15000 "Velmora Deck" IDOK
status=$?
shown=$(cat "$WINE_ENV_LAST_LOG")
if ((status == 0)); then
    grep -qxF 'text: mixtwin.ini not found !' <<<"$shown" || fail "the box shows other text"$'\n'"$shown"
    [[ $(grep '^button ' <<<"$shown") == 'button 1: OK' ]] || fail "the box has other buttons than OK"$'\n'"$shown"
else
    fail "no box captioned 'Velmora Deck' could be answered (status $status)"$'\n'"$shown"
fi
wine_wait "$pid"
status=$?
((status == 0)) || fail "without mixtwin.ini, mixtwin exited with status $status"

# ---- the settings file, no mixers --------------------------------------------------------
# name | the settings file's text. Both chip codes look for their mixers, and find none.
cases=(
    "the sample's settings, chip code 68|$(cat "$repo/examples/machines/sample/drive_c/WINDOWS/SYSTEM/MIXTWIN.INI")"
    "chip code 36|$(sed 's/^Chip=68/Chip=36/' "$repo/examples/machines/sample/drive_c/WINDOWS/SYSTEM/MIXTWIN.INI")"
)
for row in "${cases[@]}"; do
    name=${row%%|*}
    printf '%s\n' "${row#*|}" >"$settings"
    # A box, or a window of the link, would keep it running until the timeout (status 124).
    wine_run -t 30 "$mixtwin"
    status=$?
    ((status == 0)) || fail "$name: mixtwin exited with status $status"
done

wine_prefix_stop
echo "mixtwin under Wine: template boot ${WINE_ENV_BOOT_SECONDS}s, total $(wine_seconds_since "$started")s"
if ((failures > 0)); then
    wine_print_logs
    exit 1
fi
echo "all checks passed"
