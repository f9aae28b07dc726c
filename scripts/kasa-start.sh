#!/bin/sh
# Starts Kasa from the desktop menu in its working folder: $KASA_DANE, else "Kasa" in the user's
# home folder. A folder without the parameter table first gets a new installation with an empty
# firm. Further arguments go to the program (dr=..., rok YYYY).
set -e
here=$(dirname "$(readlink -f "$0")")
folder=${KASA_DANE:-$HOME/Kasa}
if [ ! -e "$folder/KASA.DB" ]; then
    mkdir -p "$folder"
    "$here/kasa" --init "$folder"
fi
cd "$folder"
exec "$here/kasa" "$@"
