#!/bin/bash
# Drives the bash completion of ksn as readline would, with bash-completion loaded and without it.
#   bash tests/completion_test.sh KSN [SCRIPT]    (KSN: the built program, which names the save modes)
set -u
# shellcheck disable=SC1090,SC1091
PATH=$(cd "$(dirname "$1")" && pwd):$PATH
script=${2:-$(cd "$(dirname "$0")/.." && pwd)/resources/completion/ksn}
bash_completion=${BASH_COMPLETION:-/usr/share/bash-completion/bash_completion}

run_cases() {
    local with=$1
    (
        if [[ $with == yes ]]; then source "$bash_completion" || exit 1; fi
        source "$script"
        local failures=0
        # complete_line LINE EXPECTED...: the line ends at the cursor; COMP_WORDS are split as
        # readline splits them, at blanks and at the word-break characters.
        complete_line() {
            local line=$1 w got expected
            shift
            local -a cw=() cw_blank=()
            read -ra cw_blank <<<"$line"
            for w in "${cw_blank[@]}"; do
                while [[ $w =~ ^([:=]+|[^:=]+)(.*)$ ]]; do
                    cw+=("${BASH_REMATCH[1]}")
                    w=${BASH_REMATCH[2]}
                done
            done
            [[ $line == *" " ]] && cw+=("")
            COMP_WORDS=("${cw[@]}") COMP_CWORD=$((${#cw[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
            COMPREPLY=()
            _ksn ksn "${cw[COMP_CWORD]}" "${cw[COMP_CWORD - 1]}" 2>/dev/null
            got=$( ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
            expected=$( (($#)) && printf '%s\n' "$@" | sort | tr '\n' ' ')
            [[ $got == "$expected" ]] || { echo "FAIL ($with bash-completion): '$line' gave [$got], expected [$expected]" && failures=$((failures + 1)); }
        }
        cd "$fixture" || exit 1
        complete_line 'ksn ' show list check rewrite parade render thumbnail
        complete_line 'ksn rewrite --' --drive --default-folder --help --help-all --version --mode --comments --dry-run
        complete_line 'ksn show --mode=as' as-in-file
        complete_line 'ksn show ' A.KSN b.ksn c.Ksn 'with space.KSN' sub
        exit $((failures > 0))
    )
}

fixture=$(mktemp -d)
trap 'rm -rf "$fixture"' EXIT
touch "$fixture"/{A.KSN,b.ksn,c.Ksn,"with space.KSN",notes.txt,pic.png,PIC2.PNG}
mkdir "$fixture/sub"
status=0
if [[ -r $bash_completion ]]; then
    run_cases yes || status=1
else
    echo "note: $bash_completion not found; only the plain fallback is tested"
fi
run_cases no || status=1
exit $status
