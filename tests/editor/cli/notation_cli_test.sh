#!/usr/bin/env bash
# End-to-end checks of `orvi-cli notate` and `orvi-cli lookup` with the embedded tables. Cases
# whose answers depend on the conjugation table or on annotations already in the input are
# checked to the byte; dictionary readings only by their form.
# Usage: notation_cli_test.sh PATH/TO/orvi-cli
set -u
export LC_ALL=C.UTF-8
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# run NAME CODE ARGS... (stdin from $work/in): the exit code must be CODE.
run() {
  local name=$1 code=$2
  shift 2
  "$cli" "$@" <"$work/in" >"$work/out" 2>"$work/err"
  local rc=$?
  [ $rc -eq "$code" ] || fail "$name: exit $rc, expected $code: $(cat "$work/err")"
}
same() {  # NAME EXPECTED: $work/out must be exactly EXPECTED
  printf '%s' "$2" >"$work/expected"
  cmp -s "$work/expected" "$work/out" || fail "$1: got $(od -c "$work/out" | head -5)"
}
: >"$work/in"
CR=$'\r'
kana='[\x{3041}-\x{3096}\x{30A1}-\x{30FA}\x{30FC}]'

# --- lookup ---
run "irregular row" 0 lookup --right る 来
same "irregular row" $'best: く\nこ 100\nき 100\nく 100\n'
run "irregular row, left given" 0 lookup --left の --right た 来
same "irregular row, left given" $'best: き\nこ 100\nき 100\nく 100\n'
run "known word" 0 lookup 日本語
grep -qP "^best: $kana+\$" <(head -1 "$work/out") || fail "known word: first line $(head -1 "$work/out")"
[ "$(tail -n +2 "$work/out" | grep -cvP "^$kana+ [0-9]+\$")" -eq 0 ] || fail "known word: candidate lines"
[ "$(tail -n +2 "$work/out" | wc -l)" -ge 1 ] || fail "known word: no candidates"
# A reading from the best line is among the candidates.
best=$(head -1 "$work/out" | cut -d' ' -f2)
grep -q "^$best " "$work/out" || fail "known word: best reading $best not a candidate"
run "unknown word" 1 lookup 鿿鿿   # U+9FBF counts as a kanji but is in no table
same "unknown word" $'best: -\n'
run "not kanji" 1 lookup 日の
same "not kanji" $'best: -\n'
run "two characters as a neighbour" 2 lookup --right るる 来
run "neighbour without value" 2 lookup 来 --left
run "no word" 2 lookup
run "two words" 2 lookup 日本 語
run "unknown option" 2 lookup --middle x 来
run "help" 0 lookup --help
grep -q 'usage: orvi-cli lookup' "$work/out" || fail "help text"

# --- notate ---
printf '来る\n来た\n来ない\n' >"$work/in"
run "notate verify" 0 notate --to verify
same "notate verify" "くる${CR}
きた${CR}
こない${CR}
"
# Annotations already in the input stay; the run beside them is read up to them.
printf '漢字(かじ)を来る' >"$work/in"
run "notate keeps entries" 0 notate --from brackets --to brackets
same "notate keeps entries" '漢字(かじ)を来(く)る'
# Entries and runs on later lines stay aligned across line breaks.
printf '漢字(かじ)\n\n来る' >"$work/in"
run "notate across lines" 0 notate --from brackets --to brackets
same "notate across lines" "漢字(かじ)${CR}
${CR}
来(く)る"
# A run that overlaps an existing entry keeps it and annotates only its free part, whose right
# neighbour is then the kanji of the entry: 来 reads as lookup answers before 週.
: >"$work/in"
run "lookup before a kanji" 0 lookup --right 週 来
expected=$(head -1 "$work/out" | cut -d' ' -f2)
printf '来[ruby][rb]週[/rb][rt]しゅう[/rt][/ruby]る' >"$work/in"
run "notate shortens before an entry" 0 notate --from bbs --to brackets
same "notate shortens before an entry" "来($expected)週(しゅう)る"
# Unknown kanji are left as they are.
printf '鿿です\n' >"$work/in"
run "notate unknown" 0 notate --to verify
same "notate unknown" "鿿です${CR}
"
# Every input line gives one output line.
printf '今日は良い天気\n\n日本語を読む\n' >"$work/in"
run "notate lines" 0 notate --to verify
[ "$(tr -d '\r' <"$work/out" | wc -l)" -eq 3 ] || fail "notate lines: $(cat "$work/out")"
grep -qP '[\x{4E00}-\x{9FBF}]' "$work/out" && fail "notate lines: kanji left in $(cat "$work/out")"
: >"$work/in"
run "notate missing file" 1 notate "$work/does-not-exist"
printf 'a\0b' >"$work/in"
run "notate binary input" 1 notate
run "notate usage" 2 notate --to nowhere

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all notate and lookup checks passed"
