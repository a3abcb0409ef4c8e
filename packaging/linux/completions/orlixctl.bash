# bash completion for orlixctl: commands, their sub-commands and the options each takes.
_orlixctl() {
    local cur prev words cword
    _init_completion || return

    local global="--simulate --simulate=basic --simulate=macro --sim-state --sim-unplug-after
        --sim-latency-us --sim-fail-at --sim-signal-at --device --trace --edition --language --help --version"
    local commands="list info read write reset show export backups doctor names macro set help"

    case $prev in
        --sim-state | --trace | --file | -o | --output)
            _filedir
            return
            ;;
        --edition)
            COMPREPLY=($(compgen -W "orlix-editor orlix-editor-s" -- "$cur"))
            return
            ;;
        --language)
            COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
            return
            ;;
        --device)
            COMPREPLY=($(compgen -W "$(ls /dev/hidraw* 2>/dev/null)" -- "$cur"))
            return
            ;;
        --sim-unplug-after | --sim-latency-us | --sim-fail-at | --current | --repeat | \
            --delay | --colour | --steps)
            return
            ;;
    esac

    # The command and sub-command typed so far, skipping options and their values.
    local command="" sub="" i w
    for ((i = 1; i < cword; i++)); do
        w=${words[i]}
        case $w in
            --sim-state | --sim-unplug-after | --sim-latency-us | --sim-fail-at | --device | \
                --trace | --edition | --language | --file | -o | --output | --current | \
                --repeat | --delay | --colour | --steps)
                ((i++))
                ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=$w
                elif [[ -z $sub && ($command == set || $command == macro || $command == help) ]]; then
                    sub=$w
                fi
                ;;
        esac
    done

    local own=""
    case $command in
        list) own="--all --json" ;;
        info | show | backups | doctor | names) own="--json" ;;
        read) own="-o --output" ;;
        write | reset) own="--force --full --no-backup" ;;
        export) own="--json --file" ;;
        macro)
            case $sub in
                "")
                    COMPREPLY=($(compgen -W "list show set name clear export import" -- "$cur"))
                    return
                    ;;
                list | show) own="--file --json" ;;
                *) own="--file" ;;
            esac
            ;;
        set)
            case $sub in
                "")
                    COMPREPLY=($(compgen -W "cpi rate fire-key fire-mode button lighting" -- "$cur"))
                    return
                    ;;
                cpi) own="--current --file --full --no-backup" ;;
                fire-key) own="--repeat --delay --file" ;;
                lighting) own="--colour --steps --file" ;;
                rate)
                    own="--file"
                    [[ $cur != -* ]] && COMPREPLY=($(compgen -W "500 1000" -- "$cur")) && return
                    ;;
                button) own="--file" ;;
                *) own="--file" ;;
            esac
            ;;
        help)
            if [[ -z $sub ]]; then
                COMPREPLY=($(compgen -W "$commands" -- "$cur"))
            elif [[ $sub == set ]]; then
                COMPREPLY=($(compgen -W "cpi rate fire-key fire-mode button lighting" -- "$cur"))
            elif [[ $sub == macro ]]; then
                COMPREPLY=($(compgen -W "list show set name clear export import" -- "$cur"))
            fi
            return
            ;;
        "")
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "$global" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "$commands" -- "$cur"))
            fi
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$own $global" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    case $command in
        read | write | show | export) _filedir ;;
        macro) [[ $sub == set || $sub == export || $sub == import ]] && _filedir ;;
    esac
} && complete -F _orlixctl orlixctl
