# fish completion for orlixctl: commands, their sub-commands and the options each takes.
set -l commands list info read write reset show export backups doctor names macro set help
set -l setcommands cpi rate fire-key fire-mode button lighting
set -l macrocommands list show set name clear export import

complete -c orlixctl -f
complete -c orlixctl -n "not __fish_seen_subcommand_from $commands" -a "$commands"

# Options every command takes.
complete -c orlixctl -l simulate -d 'use the simulated mouse' -a 'basic macro'
complete -c orlixctl -l sim-state -r -F -d 'keep the simulated mouse in FILE'
complete -c orlixctl -l sim-unplug-after -x -d 'the simulated mouse vanishes after N reports'
complete -c orlixctl -l sim-latency-us -x -d 'microseconds per simulated report'
complete -c orlixctl -l sim-fail-at -x -d 'report N fails once'
complete -c orlixctl -l device -x -a '(ls /dev/hidraw* 2>/dev/null)' -d 'the mouse with an interface at PATH'
complete -c orlixctl -l trace -r -F -d 'one line per report into FILE'
complete -c orlixctl -l edition -x -a 'orlix-editor orlix-editor-s' -d 'default image and texts'
complete -c orlixctl -l language -x -a '1 2 3' -d 'texts of language N'
complete -c orlixctl -s h -l help -d help
complete -c orlixctl -l version -d 'the version'

# Each command's own options.
complete -c orlixctl -n '__fish_seen_subcommand_from list' -l all -d 'every HID interface'
complete -c orlixctl -n '__fish_seen_subcommand_from list info show backups doctor names export' -l json -d 'JSON'
complete -c orlixctl -n '__fish_seen_subcommand_from read' -s o -l output -r -F -d 'profile file to write'
complete -c orlixctl -n '__fish_seen_subcommand_from write reset' -l force -d 'also a mouse whose identity test fails'
complete -c orlixctl -n '__fish_seen_subcommand_from export' -l file -r -F -d 'profile file'
complete -c orlixctl -n '__fish_seen_subcommand_from read write show export' -F

# set and macro.
complete -c orlixctl -n "__fish_seen_subcommand_from set; and not __fish_seen_subcommand_from $setcommands" -a "$setcommands"
complete -c orlixctl -n '__fish_seen_subcommand_from set' -l file -r -F -d 'profile file'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from cpi' -l current -x -d 'the resolution in effect'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from fire-key' -l repeat -x -d 'repeat count'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from fire-key' -l delay -x -d 'delay in ms'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from lighting' -l colour -x -d 'R,G,B in per cent'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from lighting' -l steps -x -d 'OFF,RAISE,ON,FALL'
complete -c orlixctl -n '__fish_seen_subcommand_from set; and __fish_seen_subcommand_from rate' -a '500 1000'
complete -c orlixctl -n "__fish_seen_subcommand_from macro; and not __fish_seen_subcommand_from $macrocommands" -a "$macrocommands"
complete -c orlixctl -n '__fish_seen_subcommand_from macro' -l file -r -F -d 'profile file'
complete -c orlixctl -n '__fish_seen_subcommand_from macro; and __fish_seen_subcommand_from list show' -l json -d 'JSON'
complete -c orlixctl -n '__fish_seen_subcommand_from help' -a "$commands $setcommands $macrocommands"
complete -c orlixctl -l sim-signal-at -x -d 'raise a signal before report N'
complete -c orlixctl -n '__fish_seen_subcommand_from write reset set macro' -l full -d 'write the whole memory'
complete -c orlixctl -n '__fish_seen_subcommand_from write reset set macro' -l no-backup -d 'keep no backup first'
