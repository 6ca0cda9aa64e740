# bash completion for zorvik: its modes, their options, and files where an
# option takes one.
_zorvik() {
  local cur prev mode word
  COMPREPLY=()
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}
  mode=console
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    case $word in
      demo | replay | irc) mode=$word; break ;;
    esac
  done

  case $prev in
    --ca-file | --config) compopt -o filenames; COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --log-folder) compopt -o filenames; COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --seed | --screen-name | --player1 | --player2 | --nick | --user | --realname | \
      --sasl-account | --burst | --lines-per-second | --feedback-nick | --creature1 | --creature2 | \
      --speed | --log-keep)
      return ;;
  esac

  # Each mode's own: an option that means nothing in a mode is refused there.
  local common="--seed --help --version"
  local options
  case $mode in
    console) options="$common --screen-name --text" ;;
    demo) options="$common --screen-name --player1 --player2 --creature1 --creature2 --speed" ;;
    replay) options="$common --screen-name" ;;
    irc) options="$common --config --nick --user --realname --sasl --sasl-account --ca-file
                  --insecure-skip-verify --burst --lines-per-second --feedback-nick
                  --log-folder --log-keep" ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [[ $mode == console && $COMP_CWORD -eq 1 ]]; then
    COMPREPLY=($(compgen -W "demo replay irc" -- "$cur"))
  elif [[ $mode == replay ]]; then
    compopt -o filenames
    COMPREPLY=($(compgen -f -- "$cur"))
  elif [[ $mode == irc && $cur == i* ]]; then
    COMPREPLY=($(compgen -W "irc:// ircs://" -- "$cur"))
    compopt -o nospace
  fi
}
complete -F _zorvik zorvik
