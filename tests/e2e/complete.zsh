#!/usr/bin/env zsh
# Asks a zsh completion function what it offers for the last word, with zsh's completion
# builtins (usable only inside a real completion widget) stood in for by functions that print
# what would be offered:
#   complete.zsh COMPLETION_FILE COMMAND WORD... ''
emulate -L zsh
local function=${1:t}
fpath=(${1:h} $fpath)
autoload -Uz $function
shift
words=("$@")
CURRENT=$#
PREFIX=$words[-1]
IPREFIX=
# compadd [-S SUFFIX] -- WORD...: prints each word the typed prefix starts, as inserted.
compadd() {
    local suffix=
    while [[ $1 != -- ]]; do
        [[ $1 == -S ]] && { suffix=$2; shift; }
        shift
    done
    shift
    local word
    for word in "$@"; do
        [[ $word == ${(b)PREFIX}* ]] && print -r -- "$IPREFIX$word$suffix"
    done
    return 0
}
_files() { print -r -- "_files $*" }
_call_program() { shift; "$@" }
$function
