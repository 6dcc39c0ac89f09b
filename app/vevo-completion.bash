# Bash completion for vevo: its commands, their options, and the values an option or argument
# lists, all read from the program's own help (`vevo --help`, `vevo COMMAND --help`), so they
# follow the program that is installed. Help needs no display and starts no window.

# The first column of each row of one section ("Commands:", "Options:", "Arguments:") of the
# help on standard input, one a line. Rows begin with two spaces; wrapped text with more.
_vevo_rows() {
    local section=$1 inside=0 line row
    while IFS= read -r line; do
        if [[ $line == "$section" ]]; then
            inside=1
        elif [[ -z $line ]]; then
            inside=0
        elif ((inside)) && [[ $line == "  "[!\ ]* ]]; then
            row=${line#  }
            printf '%s\n' "${row%%  *}"
        fi
    done
}

# Completes cur as a value named like the help names it: one of a|b|c, or a file name.
_vevo_values() {
    local name=$1
    if [[ $name == *"|"* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${name//|/ }" -- "$cur")
    elif [[ $name == *FILE* || $name == *PATH* || $name == *FOLDER* ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}

_vevo() {
    local vevo=${COMP_WORDS[0]} cword=$COMP_CWORD
    local cur=${COMP_WORDS[cword]} prev=${COMP_WORDS[cword - 1]}
    # Bash splits --kind=heat into --kind, = and heat.
    if [[ $cur == "=" ]]; then
        cur=""
    elif [[ $prev == "=" ]]; then
        prev=${COMP_WORDS[cword - 2]}
    fi
    COMPREPLY=()

    local commands
    commands=$("$vevo" --help 2>/dev/null | _vevo_rows Commands:)
    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
        return
    fi
    local command=${COMP_WORDS[1]}
    if [[ $command == help ]]; then
        ((cword == 2)) && mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        return
    fi

    local help options row
    help=$("$vevo" "$command" --help 2>/dev/null) || return
    options=$(_vevo_rows Options: <<<"$help")
    while IFS= read -r row; do
        if [[ $row == "$prev "* ]]; then
            _vevo_values "${row#* }"
            return
        fi
    done <<<"$options"
    if [[ $cur == -* ]]; then
        local names=()
        while IFS= read -r row; do
            row=${row#*, } # -h, --help
            names+=("${row%% *}")
        done <<<"$options"
        mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
        return
    fi

    # The argument under the cursor: the words so far that are neither options nor their values.
    local i word count=0
    for ((i = 2; i < cword; ++i)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -* ]]; then
            grep -qxF -e "$word" <<<"$options" || [[ ${COMP_WORDS[i + 1]} == "=" ]] || ((++i))
        elif [[ $word == "=" ]]; then
            ((++i))
        else
            ((++count))
        fi
    done
    _vevo_values "$(_vevo_rows Arguments: <<<"$help" | sed -n "$((count + 1))p")"
}

complete -F _vevo vevo
