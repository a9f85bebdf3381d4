#!/bin/bash
# The uninstaller's interactive run under Wine, each case on the sample machine in a fresh
# prefix with its own user language: the question box shows the language's text, byte for
# byte in code page 1252, captioned "Velmora", with the box language's Yes and No buttons.
# No changes nothing; Yes takes exactly the card's entries and files
# (tests/e2e/card_expectations.txt) and shows the completion box, answered with OK.
# Without a display the boxes cannot be shown, which counts as consent.
#
#   dropcard_interactive_test.sh DROPCARD_EXE PRESS_BUTTON_EXE
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=wine_env.sh
source "$here/wine_env.sh"
# shellcheck source-path=SCRIPTDIR source=card_machine.sh
source "$here/card_machine.sh" || exit 1

dropcard=${1:?usage: dropcard_interactive_test.sh DROPCARD_EXE PRESS_BUTTON_EXE}
press_button=${2:?usage: dropcard_interactive_test.sh DROPCARD_EXE PRESS_BUTTON_EXE}
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

# The texts, in code page 1252 as the program has them.
german_question=$'Sind Sie sicher, da\xDF Sie Ihre Soundkarte deinstallieren wollen ?'
german_completion='     Deinstallation beendet.    '
english_question='Do you really want to uninstall your sound card ?'
spanish_question=$'\xBFQuieres realmente desinstalar tu tarjeta de sonido ?'
spanish_completion=$'     Desinstalaci\xF3n completa.     '
french_question=$'Voulez-vous r\xE9ellement d\xE9sinstaller votre carte son ?'
dutch_question='Weet u zeker dat u de geluidskaart wilt de-installeren ?'
dutch_completion='    De-installatie voltooid.   '

# name | user language | answer (IDYES or IDNO) | question | Yes and No buttons |
# completion text | its OK button. The buttons are Wine's, in the language the program
# hands to the box (0x0407, 0x0409, 0x040A, 0x040C or 0x0413), not the user's.
cases=(
    "german-yes|0x0407|IDYES|$german_question|&Ja &Nein|$german_completion|OK"
    "english-fallback-no|0x0809|IDNO|$english_question|&Yes &No||"
    "dutch-sublanguage-2-yes|0x0813|IDYES|$dutch_question|&Ja &Nee|$dutch_completion|OK"
    "spanish-mexico-yes|0x080A|IDYES|$spanish_question|&Sí &No|$spanish_completion|Aceptar"
    "french-no|0x040C|IDNO|$french_question|&Oui &Non||"
    "italian-english-buttons-no|0x0410|IDNO|$english_question|&Yes &No||"
)

# press NAME BUTTON WANT_TEXT WANT_BUTTONS: answers the box captioned "Velmora" and
# checks what it showed: its text byte for byte, and its buttons' labels.
press() {
    local name=$1 button=$2 want_text=$3 want_buttons=$4
    wine_run -t 30 "$press_button" --timeout 15000 Velmora "$button"
    local status=$? shown
    shown=$(cat "$WINE_ENV_LAST_LOG")
    if ((status != 0)); then
        fail "$name: pressing $button in the box captioned Velmora (status $status)"$'\n'"$shown"
        return 1
    fi
    local text buttons
    # press_button writes UTF-8; the program's bytes are code page 1252.
    text=$(sed -n 's/^text: //p' <<<"$shown" | iconv -f UTF-8 -t CP1252)
    [[ $text == "$want_text" ]] ||
        fail "$name: the box shows '$(iconv -f CP1252 -t UTF-8 <<<"$text")'," \
            "want '$(iconv -f CP1252 -t UTF-8 <<<"$want_text")'"
    buttons=$(sed -n 's/^button [0-9]*: //p' <<<"$shown" | tr '\n' ' ')
    [[ $buttons == "$want_buttons " ]] || fail "$name: the box has the buttons '$buttons', want '$want_buttons'"
    return 0
}

wine_env_init || exit 1

declare -A case_seconds=()
for row in "${cases[@]}"; do
    IFS='|' read -r name langid answer question yes_no completion ok <<<"$row"
    case_start=$(wine_clock_now)
    wine_prefix_new "$name" || give_up "$name: making the prefix"
    wine_set_language "$langid" || give_up "$name: setting the language $langid"
    card_machine_install || give_up "$name: setting up the sample machine"
    card_snapshot "$name-before" || give_up "$name: reading the prefix before the run"

    wine_start -t 90 "$dropcard"
    pid=$WINE_ENV_LAST_PID
    if press "$name" "$answer" "$question" "$yes_no" && [[ $answer == IDYES ]]; then
        press "$name" IDOK "$completion" "$ok"
    fi
    # A box left open keeps the program until its timeout (status 124).
    wine_wait "$pid"
    status=$?
    ((status == 0)) || fail "$name: dropcard exited with status $status"

    card_snapshot "$name-after" || give_up "$name: reading the prefix after the run"
    if [[ $answer == IDYES ]]; then
        card_expect_removed "$name-before" "$name-after" || fail "$name: Yes did not take exactly the card"
    else
        card_expect_unchanged "$name-before" "$name-after" || fail "$name: No changed the machine"
    fi
    wine_prefix_remove
    case_seconds[$name]=$(wine_seconds_since "$case_start")
done

# Without a display Wine cannot show a box and MessageBoxExA gives -1 (on Windows 95 a
# box that cannot be shown gives 0): either way the answer is not No, so the run goes on.
# The prefix is made to use the X11 driver, with no X server to reach.
name=no-display
case_start=$(wine_clock_now)
wine_prefix_new "$name" || give_up "$name: making the prefix"
card_machine_install || give_up "$name: setting up the sample machine"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="x11"\r\n\r\n' \
    >"$WINE_ENV_ROOT/x11-driver.reg"
wine_reg_import "$WINE_ENV_ROOT/x11-driver.reg" || give_up "$name: choosing the X11 driver"
card_snapshot "$name-before" || give_up "$name: reading the prefix before the run"
# The display driver is chosen by the first program of a wineserver session.
wine_prefix_stop
wine_run -t 60 "$dropcard"
status=$?
((status == 0)) || fail "$name: dropcard exited with status $status"
card_snapshot "$name-after" || give_up "$name: reading the prefix after the run"
card_expect_removed "$name-before" "$name-after" || fail "$name: the run without boxes did not take exactly the card"
wine_prefix_remove
case_seconds[$name]=$(wine_seconds_since "$case_start")

echo "dropcard interactive under Wine: template boot ${WINE_ENV_BOOT_SECONDS}s"
for row in "${cases[@]}" "$name"; do
    echo "  case ${row%%|*}: ${case_seconds[${row%%|*}]:-?}s"
done
echo "  total $(wine_seconds_since "$started")s"
if ((failures > 0)); then
    wine_print_logs
    exit 1
fi
echo "all checks passed"
