#!/usr/bin/env bash
# Checks of the files in dist/ (run by ctest):
#   check-dist.sh desktop FILE...        desktop-file-validate: no error, warning or hint
#   check-dist.sh metainfo FILE          appstreamcli validate: passes, offline
#   check-dist.sh man FOLDER             every manual page formats without a warning
#   check-dist.sh completion SCRIPT KVSM the completion offers every family, command and option of kvsm's usage
# Exit status 77 (skipped) when the validator is not installed.
set -euo pipefail

need() { command -v "$1" >/dev/null || { echo "$1 is not installed (./kv deps installs it)"; exit 77; }; }
fail() { echo "FAIL: $*" >&2; exit 1; }

check_desktop() {
    need desktop-file-validate
    local report
    report="$(desktop-file-validate "$@" 2>&1)" || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    for file in "$@"; do
        grep -q '^Exec=kv[a-z]*\( --user-workdir\)\?$' "$file" || fail "$file: Exec is not one of our programs"
    done
}

check_metainfo() {
    need appstreamcli
    appstreamcli validate --no-net --explain "$1" || fail "appstreamcli validate $1"
    ! grep -q '@[A-Z_]*@' "$1" || fail "$1 holds an unconfigured placeholder"
}

check_man() {
    need man
    local page warnings
    for page in "$1"/*.1; do
        warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l -Tutf8 "$page" 2>&1 >/dev/null)"
        [ -z "$warnings" ] || fail "$page: $warnings"
        ! grep -q '@[A-Z_]*@' "$page" || fail "$page holds an unconfigured placeholder"
    done
}

# complete_line WORDS...: what the completion offers for the last word of "WORDS...".
complete_line() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kvsm
    printf '%s\n' "${COMPREPLY[@]}"
}

check_completion() {
    local script="$1" kvsm="$2" family word offered
    # shellcheck source=/dev/null
    source "$script"
    [ "$(complete -p kvsm)" = "complete -F _kvsm kvsm" ] || fail "kvsm is not completed by _kvsm"
    [ "$(complete_line kvsm rem)" = remote ] || fail "kvsm rem: $(complete_line kvsm rem)"
    [ "$(complete_line kvsm remote upload-config x --run-mode LANT)" = LANTOURNAMENT ] || fail "--run-mode"
    [ "$(complete_line kvsm setup import --re | sort | tr '\n' ' ')" = "--rename --replace " ] || fail "import flags"
    [ -z "$(complete_line kvsm remote status --host '')" ] || fail "--host offers words"
    for family in setup remote query; do
        complete_line kvsm '' | grep -qx "$family" || fail "family $family not offered"
        # Commands: the first word of the usage's command lines ("  name ..." or "  a | b ...").
        for word in $("$kvsm" "$family" --help | sed -n 's/^  \([a-z][a-z-]*\)\( | \([a-z-]*\)\)\{0,1\}\( .*\)\{0,1\}$/\1 \3/p'); do
            offered="$(complete_line kvsm "$family" '')"
            [ "$family" = query ] || grep -qx -- "$word" <<<"$offered" || fail "kvsm $family: command $word not offered"
        done
        # Options: every --option of the usage is offered after some command of the family.
        for word in $("$kvsm" "$family" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
            offered=""
            for command in "" list describe email import upload-config ban trust; do
                offered+="$(complete_line kvsm "$family" ${command:+"$command"} --)"$'\n'
            done
            grep -qx -- "$word" <<<"$offered" || fail "kvsm $family: option $word not offered"
        done
    done
}

case "${1:-}" in
    desktop) shift; check_desktop "$@" ;;
    metainfo) check_metainfo "$2" ;;
    man) check_man "$2" ;;
    completion) check_completion "$2" "$3" ;;
    *) sed -n '2,7p' "$0"; exit 2 ;;
esac
echo "ok"
