#!/usr/bin/env bash
# The bash completion against the program it completes: commands, options, listed values and
# file names, each as the shell would ask for it. Usage: completion-test.sh VEVO COMPLETION
set -uo pipefail
vevo=$(realpath "$1")
source "$2"
cd "$(mktemp -d)" && touch meters.csv && trap 'rm -rf "$PWD"' EXIT
failed=0

# expect "WORDS TO COMPLETE" "EXPECTED REPLIES"; the cursor is after the last word.
expect() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$vevo
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _vevo
    local got="${COMPREPLY[*]}"
    if [[ $got != "$2" ]]; then
        echo "'$1': expected '$2', got '$got'"
        failed=1
    fi
}

expect "vevo " "poll import archive export update help version --help --version"
expect "vevo ex" "export"
expect "vevo help p" "poll"
expect "vevo poll --k" "--kind"
expect "vevo poll --port /dev/x --kind " "heat water_cold water_hot"
expect "vevo poll --family = w" "water"
expect "vevo update --" "--check --yes --help"
expect "vevo import " "devices links subscribers"
expect "vevo import --building 1 subscribers me" "meters.csv"
expect "vevo export --output m" "meters.csv"
exit $failed
