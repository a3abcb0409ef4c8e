# fish completion for orlix-editor (orlix-editor-s.fish sources the same lines).
for program in orlix-editor orlix-editor-s
    complete -c $program -f
    complete -c $program -l simulate -d 'use the simulated mouse' -a 'basic macro'
    complete -c $program -l screenshot -r -a '(__fish_complete_directories)' -d 'render every page to PNG files in DIR and exit'
    complete -c $program -s h -l help -d help
    complete -c $program -l version -d 'the version'
end
