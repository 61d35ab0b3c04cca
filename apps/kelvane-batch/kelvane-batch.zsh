#compdef kelvane-batch
# zsh completion for kelvane-batch
# Options come from the program's own --help; formats, filters and their keys from the same
# tables as bash's, which zsh reads as they are, so neither can drift from the program.

@KELVANE_BATCH_TABLES@

case $words[CURRENT-1] in
    -h | --help | --version | -j | --jobs | --raw | --subformat | --shard)
        return 1
        ;;
    -f | --format)
        compadd -- ${=_kelvane_batch_formats}
        return
        ;;
    -o | --output-dir)
        _files -/
        return
        ;;
    --filter)
        # NAME, then NAME:KEY=VALUE,KEY=VALUE: after the colon or a comma, the filter's keys.
        local name head
        if [[ $PREFIX != *:* ]]; then
            for name in ${=_kelvane_batch_filters}; do
                if [[ -n $_kelvane_batch_keys[$name] ]]; then
                    compadd -S : -- $name
                else
                    compadd -- $name
                fi
            done
            return
        fi
        name=${PREFIX%%:*}
        head=${PREFIX%${PREFIX##*[:,]}}
        IPREFIX+=$head
        PREFIX=${PREFIX#$head}
        compadd -S = -- ${(s:,:)_kelvane_batch_keys[$name]}
        return
        ;;
esac

if [[ $PREFIX == -* ]]; then
    # "  -o,--output-dir TEXT:DIR  ...": the names before the first space.
    local line first
    local -a names
    for line in ${(M)${(f)"$(_call_program options kelvane-batch --help 2>/dev/null)"}:#  -*}; do
        first=${${(s: :)line}[1]}
        names+=(${(s:,:)first})
    done
    compadd -- $names
    return
fi
_files
