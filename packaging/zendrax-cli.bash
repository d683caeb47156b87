# bash completion for zendrax-cli                                  -*- shell-script -*-
# Commands, each command's options, the values of --model, --as-model, --format and --speed, the
# subcommands of `history`, and for `set` and `get` the setting names for the file's model (or
# the model given), which the program itself lists (zendrax-cli set --names [--model M] FILE).

_zendrax_cli_options() {
    local common="--help --quiet --progress"
    case $1 in
    new) echo "--model --site --owner --password --password-file --force -o --output $common" ;;
    show) echo "--model --as-model --password --password-file --json $common" ;;
    get) echo "--model --as-model --password --password-file $common" ;;
    set) echo "--model --as-model --force --password --password-file --from --site --owner \
--password-new --password-new-file $common" ;;
    diff) echo "--model --as-model --password --password-file --password-b --password-b-file \
--json $common" ;;
    check) echo "--model --as-model --password --password-file --json $common" ;;
    report) echo "--model --as-model --password --password-file --pdf $common" ;;
    export-codes) echo "--model --as-model --password --password-file --format -o --output \
$common" ;;
    import-codes) echo "--model --as-model --password --password-file --format $common" ;;
    export-numbers) echo "--model --as-model --password --password-file -o --output $common" ;;
    import-numbers) echo "--model --as-model --password --password-file --append --replace \
$common" ;;
    download) echo "--port --speed -o --output --force --site --owner --password --password-file \
--trace $common" ;;
    upload) echo "--port --speed --model --force --password --password-file --backup --verify \
--trace $common" ;;
    verify) echo "--port --speed --model --as-model --password --password-file --json --trace \
$common" ;;
    set-clock) echo "--port --speed --trace $common" ;;
    history) echo "--site --connection --since --json --force -o --output --password \
--password-file --before $common" ;;
    simulate) echo "--model --image --save-memory --silent --ignore-first --wrong-sum-every \
--wrong-sum-segment --reject-segment --delay --dead-after-bytes --dead-at-segment --pace \
--drop-write $common" ;;
    esac
}

_zendrax_cli_files() {
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        local IFS=$'\n'
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}

_zendrax_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="new show get set diff check report export-codes import-codes export-numbers \
import-numbers download upload verify set-clock simulate history"
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}
    case $prev in
    --model | --as-model)
        COMPREPLY=($(compgen -W "4 16" -- "$cur"))
        return
        ;;
    --format)
        COMPREPLY=($(compgen -W "dat txt" -- "$cur"))
        return
        ;;
    --speed)
        COMPREPLY=($(compgen -W "300 600 1200 2400 4800 9600 19200 38400 57600 115200" \
            -- "$cur"))
        return
        ;;
    --port)
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$(ls -d /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* \
            /dev/serial/by-id/* 2>/dev/null)" -- "$cur"))
        return
        ;;
    --password | --password-b | --password-new | --site | --owner | --ignore-first | \
        --wrong-sum-every | \
        --wrong-sum-segment | --reject-segment | --delay | --dead-after-bytes | \
        --dead-at-segment | --pace | --drop-write)
        return
        ;;
    -o | --output | --pdf | --image | --save-memory | --backup | --trace | --from | \
        --password-file | --password-new-file | --password-b-file)
        _zendrax_cli_files
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_zendrax_cli_options "$command")" -- "$cur"))
        return
    fi
    # The words after the command that are neither options nor their values; the first of them
    # (the database file) and the --model given, for the names of `set`.
    local i positional=0 file="" model=""
    for ((i = 2; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --model | --as-model)
            model=${COMP_WORDS[i + 1]}
            ((i++))
            ;;
        --password | --password-b | --password-new | --site | --owner | --format | --port | \
            --speed | -o | --output | --pdf | --image | --save-memory | --backup | --trace | \
            --from | --password-file | --password-new-file | --password-b-file | \
            --ignore-first | --wrong-sum-every | --wrong-sum-segment | \
            --reject-segment | --delay | --dead-after-bytes | --dead-at-segment | --pace | \
            --drop-write | --connection | --since | --before)
            ((i++))
            ;;
        -*) ;;
        *)
            ((positional++ == 0)) && file=${COMP_WORDS[i]}
            ;;
        esac
    done
    if [[ $command == report && $positional == 0 ]]; then
        COMPREPLY=($(compgen -W "codes numbers" -- "$cur"))
        return
    fi
    # history's entries go by number: nothing to complete but the subcommand.
    if [[ $command == history ]]; then
        ((positional == 0)) && COMPREPLY=($(compgen -W "show diff prune" -- "$cur"))
        return
    fi
    if [[ ($command == set || $command == get) && $positional -ge 1 && $cur != *=* ]]; then
        local names suffix="="
        local args=(set --names)
        [[ $command == get ]] && suffix=""
        [[ -n $model ]] && args+=(--model "$model")
        [[ -n $file ]] && args+=(-- "$file")
        names=$("${COMP_WORDS[0]}" "${args[@]}" 2>/dev/null)
        COMPREPLY=($(compgen -W "$names" -S "$suffix" -- "$cur"))
        [[ -n $suffix && ${#COMPREPLY[@]} -gt 0 ]] && compopt -o nospace 2>/dev/null
        return
    fi
    _zendrax_cli_files
}

complete -F _zendrax_cli zendrax-cli
