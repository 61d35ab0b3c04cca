# fish completion for kelvane-batch
# Options come from the program's own --help; formats, filters and their keys from the tables
# the build wrote below, so neither can drift from the program.

@KELVANE_BATCH_TABLES@

# Every option name the help lists ("  -o,--output-dir TEXT:DIR  ...").
function __kelvane_batch_options
    for line in (command kelvane-batch --help 2>/dev/null | string match -r -- '^  -\S+')
        string split , -- (string trim -- $line | string split -f1 ' ')
    end
end

# Whether the word before the one being completed is one of the given options.
function __kelvane_batch_after
    set -l words (commandline -opc)
    contains -- $words[-1] $argv
end

# NAME, then NAME:KEY=VALUE,KEY=VALUE: after the colon or a comma, the filter's keys.
function __kelvane_batch_filter
    set -l word (commandline -ct)
    if not string match -q -- '*:*' $word
        for name in $__kelvane_batch_filters
            set -l keys __kelvane_batch_keys_$name
            test -n "$$keys"; and echo $name:; or echo $name
        end
        return
    end
    set -l name (string split -f1 : -- $word)
    set -l head (string replace -r -- '[^:,]*$' '' $word)
    set -l keys __kelvane_batch_keys_$name
    for key in $$keys
        echo $head$key=
    end
end

complete -c kelvane-batch -n 'string match -q -- "-*" (commandline -ct)' -f -a '(__kelvane_batch_options)'
complete -c kelvane-batch -n '__kelvane_batch_after -h --help --version -j --jobs --raw --subformat --shard' -f
complete -c kelvane-batch -n '__kelvane_batch_after -f --format' -f -a '$__kelvane_batch_formats'
complete -c kelvane-batch -n '__kelvane_batch_after -o --output-dir' -f -a '(__fish_complete_directories (commandline -ct))'
complete -c kelvane-batch -n '__kelvane_batch_after --filter' -f -a '(__kelvane_batch_filter)'
