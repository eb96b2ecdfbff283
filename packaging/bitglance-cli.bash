# bash completion for bitglance-cli: its commands, the options of each, the values the options
# take, and films (folders and video files) for the rest.

_bitglance_cli_films()
{
    local cur=$1 name
    local -a names
    mapfile -t names < <(compgen -f -- "$cur")
    for name in "${names[@]}"; do
        if [[ -d $name || ${name,,} =~ \.(mp4|m4v|mkv|mov|webm|avi|mpg|mpeg|ts|m2ts|mts|ogv|flv|3gp|wmv|mxf)$ ]]; then
            COMPREPLY+=("$name")
        fi
    done
    compopt -o filenames 2>/dev/null
}

_bitglance_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    # "--max-height=" reaches here as the words "--max-height" and "=".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "probe render scan advise help --help" -- "$cur")
        return
    fi

    local command=${COMP_WORDS[1]} encoder=x265 i options_ended=
    for ((i = 2; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --) options_ended=1 ;;
        --encoder) encoder=${COMP_WORDS[i + 1]} ;;
        --encoder=*) encoder=${COMP_WORDS[i]#--encoder=} ;;
        esac
    done

    local shared="--tools --max-height --encoder --preset --depth --help"
    local options
    case $command in
    probe) options="--tools --help" ;;
    render) options="$shared --seconds --mbps --out --clips --side-by-side --progress --per-frame --frame --print-command" ;;
    scan) options="$shared --mbps --scenes --jobs" ;;
    advise) options="$shared --ssim --scenes" ;;
    *) return ;;
    esac

    if [[ -z $options_ended ]]; then
        local values=
        case $prev in
        --tools | --out)
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            compopt -o filenames 2>/dev/null
            return
            ;;
        --side-by-side)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            compopt -o filenames 2>/dev/null
            return
            ;;
        --max-height) values="0 720 1080" ;;
        --encoder) values="x265 x264 svtav1 hevc-hw" ;;
        --preset)
            case $encoder in
            x265 | x264) values="ultrafast superfast veryfast faster fast medium slow slower veryslow" ;;
            svtav1) values="4 5 6 7 8 9 10 11 12" ;;
            esac
            ;;
        --depth) values="8 10" ;;
        --frame) values="worst" ;;
        --seconds | --mbps | --scenes | --jobs | --ssim) return ;;
        esac
        if [[ -n $values ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
            return
        fi
        if [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$options --" -- "$cur")
            return
        fi
    fi
    _bitglance_cli_films "$cur"
}

complete -F _bitglance_cli bitglance-cli
