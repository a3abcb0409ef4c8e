# bash completion for orlix-editor and orlix-editor-s.
_orlix_editor() {
    local cur prev words cword
    _init_completion || return
    case $prev in
        --screenshot)
            _filedir -d
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--simulate --simulate=basic --simulate=macro --screenshot
            --help --version" -- "$cur"))
    fi
} && complete -F _orlix_editor orlix-editor orlix-editor-s
