#!/bin/bash
# The uninstaller's silent run under Wine, on the sample machine set up in a fresh prefix:
# `dropcard.exe x` takes exactly the card's entries and files (tests/e2e/card_expectations.txt)
# and ends with status 0 without a box; a second run finds nothing and changes nothing.
#
#   dropcard_silent_test.sh DROPCARD_EXE
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=wine_env.sh
source "$here/wine_env.sh"
# shellcheck source-path=SCRIPTDIR source=card_machine.sh
source "$here/card_machine.sh" || exit 1

dropcard=${1:?usage: dropcard_silent_test.sh DROPCARD_EXE}
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
wine_prefix_new silent || give_up "making the prefix"
card_machine_install || give_up "setting up the sample machine in the prefix"
card_snapshot installed || give_up "reading the prefix before the run"

# A box would wait for an answer until the timeout ends the program (status 124).
wine_run -t 60 "$dropcard" x
status=$?
((status == 0)) || fail "dropcard x exited with status $status"
card_snapshot first || give_up "reading the prefix after the run"
card_expect_removed installed first || fail "the first run did not take exactly the card's entries and files"

wine_run -t 60 "$dropcard" x
status=$?
((status == 0)) || fail "the second dropcard x exited with status $status"
card_snapshot second || give_up "reading the prefix after the second run"
card_expect_removed installed second || fail "the second run changed what the first left"

wine_prefix_stop
echo "dropcard silent under Wine: template boot ${WINE_ENV_BOOT_SECONDS}s, total $(wine_seconds_since "$started")s"
if ((failures > 0)); then
    wine_print_logs
    exit 1
fi
echo "all checks passed"
