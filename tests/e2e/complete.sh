#!/usr/bin/env bash
# Asks a bash completion what it offers, as bash would on Tab:
#   complete.sh COMPLETION_FILE COMMAND WORD... ''
# The last word is the one being completed; the offers are printed one a line.
set -uo pipefail
source /usr/share/bash-completion/bash_completion || exit 3
source "$1" || exit 3
shift
compopt() { :; }  # only valid inside a real completion; the offers do not depend on it
COMP_WORDS=("$@")
COMP_CWORD=$(($# - 1))
COMP_LINE="$*"
COMP_POINT=${#COMP_LINE}
function=$(complete -p "$(basename "$1")" | sed -E 's/.*-F ([^ ]+).*/\1/')
"$function" "$1" "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
printf '%s\n' "${COMPREPLY[@]}"
