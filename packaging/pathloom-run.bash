# bash completion for pathloom-run: its options, the choices of those that take a name, and
# files by what each option reads or writes. Its lists follow `pathloom-run --help`
# (tests/packaging checks them against it).

# The words of $1 that start with the word being completed ($cur of the caller).
_pathloom_run_offer() {
  mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_pathloom_run() {
  # shellcheck disable=SC2034 # words and cword are _init_completion's, kept local here
  local cur prev words cword
  _init_completion || return

  case $prev in
  --method) _pathloom_run_offer 'all dest file sample' ;;
  --model) _pathloom_run_offer 'P S' ;;
  --scheme) _pathloom_run_offer 'LRP LREP LRI' ;;
  --threshold) _pathloom_run_offer 'best mean' ;;
  --action-set) _pathloom_run_offer 'all variable' ;;
  --sweep)
    compopt -o nospace
    _pathloom_run_offer 'reward= penalty= factor= scheme= model= seed= threshold= action-set='
    ;;
  --paths) _filedir txt ;;
  --history | --csv) _filedir csv ;;
  --save) _filedir plm ;;
  --export) _filedir '@(graphml|xml|dot|gv|csv)' ;;
  --source | --dest | --samples | --seed | --until | --reward | --penalty | --factor | --jobs | \
    --part | --length) ;; # a label or a number: nothing to offer
  *)
    if [[ $cur == -* ]]; then
      _pathloom_run_offer '--method --source --dest --paths --samples --seed --until --threshold --action-set
        --length --model
        --scheme --reward --penalty --factor --save --export --history --json --quiet --help
        --sweep --csv --summary --jobs --part'
    else
      _filedir '@(plm|graphml|xml|dot|gv|csv)'
    fi
    ;;
  esac
} &&
  complete -F _pathloom_run pathloom-run
