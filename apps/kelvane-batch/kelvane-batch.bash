# bash completion for kelvane-batch                              -*- shell-script -*-
# Options come from the program's own --help; formats, filters and their keys from the tables
# the build wrote below, so neither can drift from the program.

@KELVANE_BATCH_TABLES@

_kelvane_batch() {
    local cur prev words cword
    _init_completion -n := || return

    case $prev in
        -h | --help | --version)
            return
            ;;
        -f | --format)
            COMPREPLY=($(compgen -W "$_kelvane_batch_formats" -- "$cur"))
            return
            ;;
        -o | --output-dir)
            _filedir -d
            return
            ;;
        -j | --jobs | --raw | --subformat | --shard)
            return
            ;;
        --filter)
            _kelvane_batch_filter
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir
}

# NAME, then NAME:KEY=VALUE,KEY=VALUE: after the colon or a comma, the filter's keys.
_kelvane_batch_filter() {
    if [[ $cur != *:* ]]; then
        COMPREPLY=($(compgen -W "$_kelvane_batch_filters" -- "$cur"))
        if [[ ${#COMPREPLY[@]} -eq 1 && -n ${_kelvane_batch_keys[$COMPREPLY]-} ]]; then
            COMPREPLY=("$COMPREPLY:")
            compopt -o nospace
        fi
        return
    fi
    local name=${cur%%:*} last=${cur##*[:,]} key keys
    local head=${cur:0:${#cur}-${#last}}
    IFS=, read -ra keys <<<"${_kelvane_batch_keys[$name]-}"
    for key in "${keys[@]}"; do
        [[ ${key,,} == "${last,,}"* ]] && COMPREPLY+=("$head${key// /\\ }=")
    done
    [[ ${#COMPREPLY[@]} -gt 0 ]] && compopt -o nospace
    # Readline replaces only what follows the last ':' or '=' of the word.
    local typed=${cur%"${cur##*[:=]}"}
    COMPREPLY=("${COMPREPLY[@]#"$typed"}")
}

complete -F _kelvane_batch kelvane-batch
