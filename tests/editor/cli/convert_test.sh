#!/usr/bin/env bash
# End-to-end checks of `orvi-cli convert`: exact output bytes, encodings, files and exit codes.
# Usage: convert_test.sh PATH/TO/orvi-cli
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect NAME EXPECTED_BYTES INPUT_BYTES ARGS...: stdout must be exactly EXPECTED, exit 0.
expect() {
  local name=$1 expected=$2 input=$3
  shift 3
  printf '%s' "$expected" >"$work/expected"
  printf '%s' "$input" | "$cli" convert "$@" >"$work/actual" 2>"$work/stderr"
  local rc=$?
  if [ $rc -ne 0 ]; then
    fail "$name: exit $rc: $(cat "$work/stderr")"
  elif ! cmp -s "$work/expected" "$work/actual"; then
    fail "$name: output differs"
    diff <(od -c "$work/expected") <(od -c "$work/actual") | head -20 >&2
  fi
}

# expect_exit NAME CODE STDERR_PATTERN ARGS... (standard input from $work/in)
expect_exit() {
  local name=$1 code=$2 pattern=$3
  shift 3
  "$cli" "$@" <"$work/in" >"$work/actual" 2>"$work/stderr"
  local rc=$?
  [ $rc -eq "$code" ] || fail "$name: exit $rc, expected $code"
  grep -q -- "$pattern" "$work/stderr" || fail "$name: stderr lacks '$pattern': $(cat "$work/stderr")"
}

CR=$'\r'
doc=$'漢字(かんじ)です\nかな'
html_group='<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>'
filler='[ruby][rb] [/rb][rt]　[/rt][/ruby]'

# --- The generator's examples, to the character ---
expect "brackets" "漢字(かんじ)です${CR}
かな" "$doc"
expect "html, styles disabled" "${html_group}です<br>${CR}
かな" "$doc" --to html --plain
expect "html, no <br>" "${html_group}です${CR}
かな" "$doc" --to html --plain --no-br
expect "html defaults" '<font face="MS Gothic"><ruby><rb>漢字</rb><rp>(</rp><rt><font face="MS PGothic" size="1" color="#ff8040">かんじ</font></rt><rp>)</rp></ruby>です<br>'"${CR}"'
かな</font>' "$doc" --to html
expect "css head" '<head>'"$CR"'
<style type="text/css">'"$CR"'
.kanji { FONT-FAMILY: MS Gothic; }'"$CR"'
.kana { FONT-FAMILY: MS PGothic;  FONT-SIZE: 1;  COLOR: #ff8040; }'"$CR"'
</style>'"$CR"'
</head>'"$CR"'
<body>'"$CR"'
<ruby><rb>漢字</rb><rp>(</rp><rt><span class="kana">かんじ</span></rt><rp>)</rp></ruby>です<br>'"$CR"'
かな'"$CR"'
</body>' "$doc" --to html --css
expect "bbs defaults" "[font=MS Gothic][ruby][rb]漢字[/rb][rp]([/rp][rt][font=MS PGothic][size=1][color=#800080]かんじ[/color][/size][/font][/rt][rp])[/rp][/ruby]です${CR}
かな${filler}[/font]" "$doc" --to bbs
expect "bbs filler lines" "[ruby][rb]漢[/rb][rp]([/rp][rt]かん[/rt][rp])[/rp][/ruby]${CR}
b${filler}${CR}
c${filler}" $'漢(かん)\nb\nc' --to bbs --plain
expect "bbs filler, text ending in a line break and blanks" "[ruby][rb]漢[/rb][rp]([/rp][rt]かん[/rt][rp])[/rp][/ruby]${CR}
b${filler}${CR}
  " $'漢(かん)\nb\n  ' --to bbs --plain

# --- Import: detection, dialects, kept markup, verify ---
expect "html detected, rp optional" "漢字(かんじ)です" '<RUBY><rb>漢字</rb><rt>かんじ</rt></RUBY>です'
expect "first ruby tag decides: bbs" "漢(かん)<ruby><rb>字</rb><rt>じ</rt></ruby>" \
  '[ruby][rb]漢[/rb][rt]かん[/rt][/ruby]<ruby><rb>字</rb><rt>じ</rt></ruby>'
expect "--from overrides detection" "[ruby]漢(かん)" '[ruby]<ruby><rb>漢</rb><rt>かん</rt></ruby>' --from html
expect "--from brackets leaves tags as text" "<ruby><rb>漢</rb></ruby>" '<ruby><rb>漢</rb></ruby>' --from brackets
expect "broken group kept as written" "<ruby>漢<rt>かん</rt></ruby>、字(じ)" \
  '<ruby>漢<rt>かん</rt></ruby>、<ruby><rb>字</rb><rt>じ</rt></ruby>'
expect "own bbs export reads back without extra blanks" $'漢(かん)\r\nb\r\nc' \
  "[ruby][rb]漢[/rb][rt]かん[/rt][/ruby]${CR}
b${filler}${CR}
c${filler}"
expect "verify" "にほんごです${CR}
かな" $'日本語(にほんご)です\rかな' --to verify
expect "line ends normalised" "a${CR}
b${CR}
c${CR}
" $'a\r\nb\rc\n'
expect "empty input" "" ""

# --- Round trip through every dialect ---
printf '%s' $'一行目の漢字(かんじ)\n\n二(に)行目 abc\n' >"$work/doc"
"$cli" convert --to brackets "$work/doc" >"$work/reference"
for to in html bbs; do
  for style in "" --plain; do
    "$cli" convert --to $to $style "$work/doc" | "$cli" convert >"$work/back"
    cmp -s "$work/reference" "$work/back" || fail "round trip through $to $style"
  done
done

# --- Encodings of the input ---
printf '%s' "$doc" >"$work/utf8"
printf '\xef\xbb\xbf%s' "$doc" >"$work/utf8sig"
{ printf '\xff\xfe'; printf '%s' "$doc" | iconv -f UTF-8 -t UTF-16LE; } >"$work/le"
{ printf '\xfe\xff'; printf '%s' "$doc" | iconv -f UTF-8 -t UTF-16BE; } >"$work/be"
printf '%s' "$doc" | iconv -f UTF-8 -t SHIFT_JIS >"$work/sjis"
"$cli" convert "$work/utf8" >"$work/want"
for f in utf8sig le be; do
  "$cli" convert "$work/$f" >"$work/got" && cmp -s "$work/want" "$work/got" || fail "input $f"
done
"$cli" convert --encoding 932 "$work/sjis" >"$work/got" && cmp -s "$work/want" "$work/got" ||
  fail "input in code page 932"
"$cli" convert --encoding 932 "$work/le" >"$work/got" && cmp -s "$work/want" "$work/got" ||
  fail "a UTF-16 signature wins over --encoding"

# --- Output file: FF FE and UTF-16LE, exactly what stdout carries in UTF-8 ---
"$cli" convert --to html -o "$work/out.htm" "$work/utf8" || fail "-o exit $?"
{ printf '\xff\xfe'; "$cli" convert --to html "$work/utf8" | iconv -f UTF-8 -t UTF-16LE; } >"$work/want16"
cmp -s "$work/want16" "$work/out.htm" || fail "-o file bytes"
"$cli" convert --to verify -o "$work/out.htm" "$work/utf8" || fail "-o over a file: exit $?"
{ printf '\xff\xfe'; "$cli" convert --to verify "$work/utf8" | iconv -f UTF-8 -t UTF-16LE; } >"$work/want16"
cmp -s "$work/want16" "$work/out.htm" || fail "-o replaces an existing file"

# --- Errors ---
printf '%s' "$doc" >"$work/in"
expect_exit "missing file" 1 "cannot open" convert "$work/nothing.txt"
printf 'a\xff\xfeb' >"$work/in"
expect_exit "invalid UTF-8" 1 "cannot decode" convert
printf 'a\x81' >"$work/in"
expect_exit "invalid Shift-JIS" 1 "cannot decode" convert --encoding 932
printf 'a\x1ab' >"$work/in"
"$cli" convert --encoding 1252 <"$work/in" | cmp -s - "$work/in" || fail "a real U+001A is text"
printf '\xff\xfea' >"$work/in"
expect_exit "odd UTF-16" 1 "odd number of bytes" convert
printf 'a\0b' >"$work/in"
expect_exit "binary input" 1 "NUL" convert
printf 'kept' >"$work/keep.txt"
printf 'a\xff' >"$work/in"
expect_exit "failed input leaves -o alone" 1 "cannot decode" convert -o "$work/keep.txt"
[ "$(cat "$work/keep.txt")" = kept ] || fail "existing output file was changed"
printf '%s' "$doc" >"$work/in"
expect_exit "unwritable output" 1 "cannot write" convert -o "$work/no/such/dir/out.txt"
expect_exit "unknown option" 2 "unknown option" convert --bogus
expect_exit "bad --to" 2 "unknown value" convert --to xml
expect_exit "missing value" 2 "needs a value" convert --from
expect_exit "bad code page" 2 "unknown code page" convert --encoding 12x
expect_exit "two inputs" 2 "more than one input" convert a b
expect_exit "unknown command" 2 "unknown command" frobnicate
"$cli" convert --help >"$work/help" 2>&1 || fail "--help exit $?"
grep -q -- "--to html|bbs|brackets|verify" "$work/help" || fail "--help text"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all orvi-cli convert checks passed"
