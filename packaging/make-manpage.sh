#!/bin/sh
# make-manpage.sh PROGRAM OUTPUT.gz NAME SUMMARY VERSION DATE DATA_DIR DOC_DIR [SEE_ALSO...]
# Writes the compressed manual page of PROGRAM, made from what `PROGRAM --help` prints.
set -eu
program=$1 output=$2 name=$3 summary=$4 version=$5 date=$6 data_dir=$7 doc_dir=$8
shift 8
here=$(dirname "$0")
help=$(mktemp)
trap 'rm -f "$help" "$output.tmp"' EXIT
"$program" --help >"$help"
awk -v name="$name" -v section=1 -v summary="$summary" -v version="$version" -v date="$date" \
    -v data_dir="$data_dir" -v doc_dir="$doc_dir" -v see_also="$*" \
    -f "$here/manpage.awk" "$help" | gzip -9n >"$output.tmp"
mv "$output.tmp" "$output"
