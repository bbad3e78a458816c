#!/bin/sh
# Runs every example (examples/*.kin) and every regression input
# (tests/regression/*/input.dat) through `kestro run` and keeps the report,
# plot, message, JSON and HTML files, the command's printed lines and its exit
# status in one folder per case.  The date line of the report and the absolute
# paths are masked, as they change from run to run.
#
#   tools/compare-corpus.sh save DIR     write the corpus to DIR
#   tools/compare-corpus.sh diff DIR     write it again to DIR.new and diff
#
# KESTRO (default build/kestro) names the command.  Used to prove that a
# change of structure leaves every output byte-identical.
set -eu
mode=${1:?save or diff}
dest=${2:?folder}
here=$(cd "$(dirname "$0")/.." && pwd)
kestro=${KESTRO:-$here/build/kestro}
[ "$mode" = diff ] && out=$dest.new || out=$dest
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_case() { # name input
  mkdir -p "$work/$1"
  cp "$2" "$work/$1/$1.kin"
  status=0
  (cd "$work/$1" && "$kestro" run "$1.kin" -o out --user U --company C) \
    > "$work/$1/stdout" 2>&1 || status=$?
  mkdir -p "$out/$1"
  echo "$status" > "$out/$1/exit-status"
  for f in "$work/$1/stdout" "$work/$1"/out/*; do
    [ -f "$f" ] || continue
    sed -e "s#$work#WORK#g" -e 's/Date:  .*Time:  .*/Date: DATE/' \
        -e 's/"\(date\|time\|generated\)": "[^"]*"/"\1": "X"/' \
        "$f" > "$out/$1/$(basename "$f")"
  done
}

for f in "$here"/examples/*.kin; do
  run_case "ex-$(basename "$f" .kin)" "$f"
done
for d in "$here"/tests/regression/*/; do
  run_case "reg-$(basename "$d")" "$d/input.dat"
done

if [ "$mode" = diff ]; then
  if diff -r "$dest" "$out" > "$out.diff"; then
    echo "corpus: no difference ($(ls "$out" | wc -l) cases)"
  else
    echo "corpus: DIFFERENCES, see $out.diff"; head -40 "$out.diff"; exit 1
  fi
else
  echo "corpus: saved $(ls "$out" | wc -l) cases to $out"
fi
