#!/bin/sh
# Starts KARVELO in the player's own folder: the game reads and writes P1.dat and reads sounds/
# in the folder it runs in. The folder is made on the first start, with a copy of the shipped
# highscore table and a link to the shipped sounds; a table the player already has is kept.
set -u

shared=/usr/share/games/karvelo

fail() {
    echo "kv5: $*" >&2
    exit 1
}

# An XDG_DATA_HOME that is not an absolute path is to be ignored.
case "${XDG_DATA_HOME:-}" in
    /*) data_home=$XDG_DATA_HOME ;;
    *)
        [ -n "${HOME:-}" ] || fail "HOME ist nicht gesetzt; KARVELO weiß nicht, wohin mit der Highscore-Liste."
        data_home=$HOME/.local/share
        ;;
esac
folder=$data_home/karvelo

mkdir -p "$folder" 2>/dev/null ||
    fail "Der Ordner $folder kann nicht angelegt werden; KARVELO braucht ihn für die Highscore-Liste."
if [ ! -e "$folder/P1.dat" ]; then
    # Copied beside its place and renamed, so an interrupted copy never leaves half a table.
    { cp "$shared/P1.dat" "$folder/P1.dat.new" && mv "$folder/P1.dat.new" "$folder/P1.dat"; } 2>/dev/null ||
        { rm -f "$folder/P1.dat.new"; fail "Die Highscore-Liste $folder/P1.dat kann nicht angelegt werden."; }
fi
# The sounds stay in the package; a sounds folder the player made is left alone.
if [ ! -d "$folder/sounds" ] || [ -L "$folder/sounds" ]; then
    ln -sfn "$shared/sounds" "$folder/sounds" 2>/dev/null ||
        fail "Die Verknüpfung $folder/sounds zu den Klängen kann nicht angelegt werden."
fi

cd "$folder" || fail "In den Ordner $folder kann nicht gewechselt werden."
# The game's windows belong to the package's menu entry, for the dash and the task bar.
KARVELO_DESKTOP_ENTRY=org.karvelo.Karvelo
export KARVELO_DESKTOP_ENTRY
exec /usr/lib/karvelo/kv5 "$@"
