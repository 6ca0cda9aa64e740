# bash completion for zorvik: its modes, every option of each, file names
# where an option takes a file, folders for --log-folder and the roster's
# creatures after --creature1 and --creature2, written as `--option VALUE`
# or as `--option=VALUE`.

# The roster in its order, as the program has it (src/gamedata/roster.cpp);
# scripts/check-package fails when the two differ.
_zorvik_creatures=(
  bulbasaur ivysaur venusaur charmander charmeleon charizard squirtle wartortle blastoise caterpie
  metapod butterfree weedle kakuna beedrill pidgey pidgeotto pidgeot rattata raticate
  spearow fearow ekans arbok pikachu raichu sandshrew sandslash nidorina nidoqueen
  nidoran nidorino nidoking clefairy clefable vulpix ninetails jigglypuff wigglytuff zubat
  golbat oddish gloom vileplume paras parasect venonat venomoth diglett dugtrio
  meowth persian psyduck golduck mankey primeape growlithe arcanine poliwag poliwhirl
  poliwrath abra kadabra alakazam machop machoke machamp bellsprout weepinbell victreebel
  tentacool tentacruel geodude graveler golem ponyta rapidash slowpoke slowbro magnemite
  magneton "farfetch'd" doduo dodrio seel dewgong grimer muk shellder cloyster
  gastly haunter gengar onix drowzee hypno krabby kingler voltorb electrode
  exeggcute exeggutor cubone marowak hitmonlee hitmonchan lickitung koffing weezing rhyhorn
  rhydon chansey tangela kangaskhan horsea seadra goldeen seaking staryu starmie
  mr.mime scyther jynx electabuzz magmar pinsir tauros magikarp gyarados lapras
  ditto eevee vaporeon jolteon flareon porygon omanyte omastar kabuto kabutops
  aerodactyl snorlax articuno zapdos moltres dratini dragonair dragonite mewtwo mew
)

_zorvik() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev= prefix= mode=console
  COMPREPLY=()
  ((COMP_CWORD > 1)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  # The mode, if any, is the first argument.
  if ((COMP_CWORD > 1)); then
    case ${COMP_WORDS[1]} in
      demo | replay | irc) mode=${COMP_WORDS[1]} ;;
    esac
  fi

  # `--option=VALUE`: readline splits it at the "=" (COMP_WORDBREAKS holds
  # it), so the value's word follows a word "=", or is the "=" itself while
  # the value is still empty. Where "=" does not split words, the word is
  # "--option=VALUE" whole and every reply keeps its "--option=".
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]] && ((COMP_CWORD > 2)); then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  elif [[ $cur == --*=* ]]; then
    prev=${cur%%=*}
    prefix=$prev=
    cur=${cur#*=}
  fi

  local words=() word
  case $prev in
    --config | --ca-file)
      compopt -o filenames 2>/dev/null
      mapfile -t words < <(compgen -f -- "$cur")
      COMPREPLY=("${words[@]/#/$prefix}")
      return
      ;;
    --log-folder)
      compopt -o filenames 2>/dev/null
      mapfile -t words < <(compgen -d -- "$cur")
      COMPREPLY=("${words[@]/#/$prefix}")
      return
      ;;
    --creature1 | --creature2)
      # Picks are read in any letter case. Readline quotes the replies for
      # the shell as it quotes file names ("farfetch\'d", or inside quotes).
      compopt -o filenames 2>/dev/null
      local typed=${cur//[\\\'\"]/}
      for word in "${_zorvik_creatures[@]}"; do
        [[ $word == "${typed,,}"* ]] && COMPREPLY+=("$prefix$word")
      done
      return
      ;;
    --seed | --screen-name | --player1 | --player2 | --speed | --nick | --user | --realname | \
      --sasl-account | --burst | --lines-per-second | --feedback-nick | --log-keep)
      return
      ;;
  esac

  # Each mode's own: an option that means nothing in a mode is refused there.
  local common="--seed --help --version"
  local options
  case $mode in
    console) options="$common --screen-name --text --autopilot" ;;
    demo) options="$common --screen-name --player1 --player2 --creature1 --creature2 --speed" ;;
    replay) options="$common --screen-name --autopilot" ;;
    irc) options="$common --config --nick --user --realname --sasl --sasl-account --ca-file
                  --insecure-skip-verify --burst --lines-per-second --feedback-nick
                  --log-folder --log-keep" ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [[ $mode == console ]]; then
    ((COMP_CWORD == 1)) && COMPREPLY=($(compgen -W "demo replay irc" -- "$cur"))
  elif [[ $mode == replay ]]; then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  elif [[ $mode == irc && $cur == i* ]]; then
    COMPREPLY=($(compgen -W "irc:// ircs://" -- "$cur"))
    compopt -o nospace 2>/dev/null
  fi
}
complete -F _zorvik zorvik
