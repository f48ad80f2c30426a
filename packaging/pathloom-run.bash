# bash completion for pathloom-run: its options, the choices of those that take a name, and
# files by what each option reads or writes. Its lists follow `pathloom-run --help`
# (tests/packaging checks them against it).

_pathloom_run() {
    local cur prev words cword
    _init_completion || return

    case $prev in
    --method)
        COMPREPLY=($(compgen -W 'all dest file sample' -- "$cur"))
        return
        ;;
    --model)
        COMPREPLY=($(compgen -W 'P S' -- "$cur"))
        return
        ;;
    --scheme)
        COMPREPLY=($(compgen -W 'LRP LREP LRI' -- "$cur"))
        return
        ;;
    --sweep)
        compopt -o nospace
        COMPREPLY=($(compgen -W 'reward= penalty= factor= scheme= model= seed=' -- "$cur"))
        return
        ;;
    --paths)
        _filedir txt
        return
        ;;
    --history | --csv)
        _filedir csv
        return
        ;;
    --save)
        _filedir plm
        return
        ;;
    --export)
        _filedir '@(graphml|xml|dot|gv|csv)'
        return
        ;;
    --source | --dest | --samples | --seed | --until | --reward | --penalty | --factor | \
        --jobs | --part)
        # A label, a number: nothing to offer.
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--method --source --dest --paths --samples --seed --until
            --model --scheme --reward --penalty --factor --save --export --history --json
            --quiet --help --sweep --csv --summary --jobs --part' -- "$cur"))
        return
    fi
    _filedir '@(plm|graphml|xml|dot|gv|csv)'
} &&
    complete -F _pathloom_run pathloom-run
