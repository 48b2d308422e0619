#!/bin/bash
# Drives the bash completion of ksn as readline would, with bash-completion loaded and without it.
#   bash tests/completion_test.sh KSN [SCRIPT]    (KSN: the built program, which names the save modes)
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
PATH=$(cd "$(dirname "$1")" && pwd):$PATH
script=${2:-$here/resources/completion/ksn}
bash_completion=${BASH_COMPLETION:-/usr/share/bash-completion/bash_completion}

run_cases() {
    local with=$1
    (
        # shellcheck source=/dev/null
        if [[ $with == yes ]]; then source "$bash_completion" || exit 1; fi
        # shellcheck source=/dev/null
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
            if [[ $got != "$expected" ]]; then
                echo "FAIL ($with bash-completion): '$line' gave [$got], expected [$expected]"
                failures=$((failures + 1))
            fi
        }
        local formations=(A.KSN b.ksn c.Ksn 'with space.KSN' sub)
        local common=(--drive --default-folder --help --help-all --version)
        cd "$fixture" || exit 1
        complete_line 'ksn ' show list check rewrite parade render thumbnail
        complete_line 'ksn --drive K:=/srv re' rewrite render
        complete_line 'ksn --mode ' file-name as-in-file no-drive default-folder
        complete_line 'ksn show --mode=as' as-in-file
        complete_line 'ksn rewrite --' "${common[@]}" --mode --comments --dry-run
        complete_line 'ksn render -' "${common[@]}" -o --output --mode --comments
        complete_line 'ksn thumbnail --size 2' 256
        complete_line 'ksn show ' "${formations[@]}"
        complete_line 'ksn show A.KSN '
        complete_line 'ksn check A.KSN ' "${formations[@]}"
        complete_line 'ksn thumbnail A.KSN ' pic.png PIC2.PNG sub
        complete_line 'ksn --cache thumbnail sub b.ksn ' "${formations[@]}"
        complete_line 'ksn render A.KSN -o ' pic.png PIC2.PNG sub
        complete_line 'ksn list ' sub
        complete_line 'ksn rewrite --default-folder su' sub
        complete_line 'ksn --drive k' K:=
        complete_line 'ksn --drive K:=sub/de' sub/deep
        exit $((failures > 0))
    )
}

fixture=$(mktemp -d)
trap 'rm -rf "$fixture"' EXIT
touch "$fixture"/{A.KSN,b.ksn,c.Ksn,"with space.KSN",notes.txt,pic.png,PIC2.PNG}
mkdir -p "$fixture/sub/deep"
status=0
if [[ -r $bash_completion ]]; then
    run_cases yes || status=1
else
    echo "note: $bash_completion not found; only the plain fallback is tested"
fi
run_cases no || status=1
[[ $status -eq 0 ]] && echo "completion: all cases pass"
exit $status
