#!/bin/sh
# Starts Quillora from its own folder, where it looks for its melodies and
# its help; the folder lies beside this script's, however the installation
# was moved.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/quillora/quillora" "$@"
