#!/bin/sh
# Stands in for a web browser in the end-to-end tests: Wine's browser launcher
# runs it with the address to open, and it notes the address beside itself.
printf '%s\n' "$1" >> "$(dirname "$0")/opened-urls.txt"
