#!/bin/sh
# A caption-id name stands for one string-table id across the program, and
# every caption is asked for by name: prints each name defined with two ids
# and each bare id, and fails if there is any.
# usage: caption-ids.sh SOURCE_DIR
cd "$1" || exit 2
sources=$(find analysis app dialogs film model runtime scenario strings tools view -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086 # one file name per word
twice=$(grep -hoE '\bText[A-Za-z0-9]+ *= *[0-9]+' $sources | sed -E 's/ *= */=/' | sort -u \
    | awk -F= '{n[$1]++} END{for (k in n) if (n[k] > 1) print "named with two ids: " k}')
# shellcheck disable=SC2086
bare=$(grep -nE 'GetStringById\( *[0-9]' $sources)
[ -z "$twice$bare" ] && exit 0
printf '%s\n' "$twice" "$bare" | grep .
exit 1
