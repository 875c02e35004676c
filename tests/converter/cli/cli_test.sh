#!/usr/bin/env bash
# Runs quenlite-cli over real files in a temporary folder and checks its exit status, its
# status log and the files it writes.
# Usage: cli_test.sh PATH_TO_QUENLITE_CLI
set -uo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export LC_ALL=C.UTF-8

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_status WANT COMMAND...: runs the command, output in out.txt and err.txt.
expect_status() {
  local want=$1; shift
  "$@" >out.txt 2>err.txt </dev/null
  local got=$?
  [ "$got" -eq "$want" ] || fail "exit $got, wanted $want: $* ($(head -c 300 err.txt))"
}
# expect_lines FILE <<EOF ... EOF: FILE holds exactly these lines.
expect_lines() {
  if ! diff -u - "$1" >diff.txt; then fail "unexpected lines in $1:"; cat diff.txt; fi
}
expect_bytes() {  # FILE HEX
  local got
  got=$(od -An -tx1 -v "$1" 2>/dev/null | tr -d ' \n')
  [ "$got" = "$2" ] || fail "$1 holds ${got:-nothing}, wanted $2"
}

sjis_nihongo=$'\x93\xfa\x96\x7b\x8c\xea'   # 日本語 in Shift-JIS
gbk_nihongo_hex=c8d5b1bed55a                # the same in GBK

# --help, --list-code-pages
expect_status 0 "$cli" --help
grep -q -- '--exists ask|overwrite|skip|rename' out.txt || fail "--help lacks --exists"
grep -q 'Exit status' out.txt || fail "--help lacks the exit status"
expect_status 0 "$cli" --list-code-pages
grep -q '^932 ' out.txt || fail "code page list lacks 932"
grep -q '^1201 ' out.txt || fail "code page list lacks 1201"
grep -q '^28603' out.txt && fail "code page list holds 28603"

# Usage errors: status 2, a message on stderr, nothing written.
mkdir -p usage/a usage/b && printf 'x' >usage/f.txt
while IFS= read -r args; do
  # shellcheck disable=SC2086
  expect_status 2 "$cli" $args
  [ -s err.txt ] || fail "no message for: $args"
done <<'EOF'

--bogus usage/f.txt
--format-to kra --tags-to html usage/f.txt
--upper --lower usage/f.txt
--from-cp 28603 usage/f.txt
--to-cp nonsense usage/f.txt
--exists maybe usage/f.txt
--no-content-conversion --from-cp 932 usage/f.txt
usage/a
usage/a usage/b -d out
usage/a usage/f.txt -d out
usage/f.txt usage/a/f.txt
-d
EOF
[ -e usage/_quenlite_f.txt ] && fail "a usage error wrote a file"

# One file, default options: Shift-JIS to GBK beside the source.
mkdir one && printf '%s\r\n' "$sjis_nihongo" >one/song.lrc
expect_status 0 "$cli" one/song.lrc
expect_lines out.txt <<'EOF'
prcoessing "one/song.lrc".
  load file: succeeded.
  check unicode signature: not found.
  translate into unicode: succeeded.
  encode from unicode: succeeded.
  generate dest. filename: "one/_quenlite_song.lrc", succeeded.
  save dest. file: succeeded. (create new)
EOF
expect_bytes one/_quenlite_song.lrc "${gbk_nihongo_hex}0d0a"
[ -s err.txt ] && fail "stderr not empty without a terminal: $(cat err.txt)"

# The destination exists: skipped without a terminal, overwritten or renamed on request.
printf 'old' >one/_quenlite_song.lrc
expect_status 0 "$cli" one/song.lrc
tail -n1 out.txt | grep -qx '  save dest. file: skipped.' || fail "not skipped by default"
expect_bytes one/_quenlite_song.lrc 6f6c64
expect_status 0 "$cli" --exists rename one/song.lrc
tail -n1 out.txt | grep -qx '  save dest. file: succeeded. (renamed)' || fail "not renamed"
expect_status 0 "$cli" --exists rename one/song.lrc
expect_bytes "one/_quenlite_song (3).lrc" "${gbk_nihongo_hex}0d0a"
expect_bytes one/_quenlite_song.lrc 6f6c64
expect_status 0 "$cli" --exists overwrite one/song.lrc
tail -n1 out.txt | grep -qx '  save dest. file: succeeded. (overwrite exist)' || fail "not overwritten"
expect_bytes one/_quenlite_song.lrc "${gbk_nihongo_hex}0d0a"

# --exists ask reads its answers from standard input when that is not a terminal: rename to a
# taken name, refuse to overwrite it, then give a free one.
printf 'old' >one/_quenlite_song.lrc
printf 'old' >one/taken.txt
printf 'r\none/taken.txt\nn\none/fresh.txt\n' | "$cli" --exists ask one/song.lrc >out.txt 2>err.txt
[ $? -eq 0 ] || fail "ask: exit status"
expect_bytes one/taken.txt 6f6c64
tail -n1 out.txt | grep -qx '  save dest. file: succeeded. (renamed)' || fail "ask: not renamed"
expect_bytes one/fresh.txt "${gbk_nihongo_hex}0d0a"
grep -q 'File already exists. Do you want to' err.txt || fail "ask: no question"
printf 'r\none/taken.txt\ny\n' | "$cli" --exists ask one/song.lrc >out.txt 2>err.txt
tail -n1 out.txt | grep -qx '  save dest. file: succeeded. (overwrite exist)' || fail "ask: yes"
expect_bytes one/taken.txt "${gbk_nihongo_hex}0d0a"
"$cli" --exists ask one/song.lrc >out.txt 2>err.txt </dev/null  # no answer: left alone
tail -n1 out.txt | grep -qx '  save dest. file: skipped.' || fail "ask without answers"

# -d naming a file; -q prints nothing.
expect_status 0 "$cli" -q -d one/named.txt --to-cp utf-8 one/song.lrc
[ -s out.txt ] && fail "-q printed: $(cat out.txt)"
expect_bytes one/named.txt e697a5e69cace8aa9e0d0a

# Several files: one folder, the batch goes on after a failure, and the status is 1.
mkdir many && printf 'a' >many/a.txt && : >many/empty.txt
expect_status 1 "$cli" -d many/out many/empty.txt many/a.txt many/missing.txt
expect_lines out.txt <<'EOF'
prcoessing "many/empty.txt".
  load file: succeeded.
  check unicode signature: not found.
  translate into unicode: failed.
prcoessing "many/a.txt".
  load file: succeeded.
  check unicode signature: not found.
  translate into unicode: succeeded.
  encode from unicode: succeeded.
  generate dest. filename: "many/out/_quenlite_a.txt", succeeded.
  save dest. file: succeeded. (create new)
prcoessing "many/missing.txt".
  load file: failed.
EOF

# A folder: LRC to KRA, subfolders mirrored, names beginning with "." skipped, name order.
mkdir -p tree/sub tree/.svn
printf '[ti:T]\r\n[00:01.50]%s\r\n' "$sjis_nihongo" >tree/b.lrc
printf '[00:02.00]x\r\n' >tree/sub/a.lrc
printf 'h' >tree/.svn/h.lrc
expect_status 0 "$cli" -d tree-out --format-to kra tree
grep '^prcoessing' out.txt >processed.txt
expect_lines processed.txt <<'EOF'
prcoessing "tree/b.lrc".
prcoessing "tree/sub/a.lrc".
EOF
expect_bytes tree-out/_quenlite_b.kra "407469746c653d540d0a5b30303a30313a35305d${gbk_nihongo_hex}0d0a"
[ -f tree-out/sub/_quenlite_a.kra ] || fail "subfolder not mirrored"
[ -e tree-out/.svn ] && fail "dot folder converted"
expect_status 0 "$cli" -d tree-flat --no-recursive --no-rename --format-to kra tree
[ -f tree-flat/b.kra ] && [ ! -e tree-flat/sub ] || fail "--no-recursive"

# A destination that cannot be created fails with status 1 and leaves the blocker alone.
printf 'file' >blocker
expect_status 1 "$cli" -d blocker/sub/ one/song.lrc
tail -n1 out.txt | grep -qx '  save dest. file: failed. (unknown)' || fail "blocked destination"

# A file size limit: the write fails, the old file stays, no partial file, status 1.
mkdir limit && head -c 40000 /dev/zero | tr '\0' 'a' >limit/big.txt && printf 'old' >limit/_quenlite_big.txt
( ulimit -f 8; "$cli" --exists overwrite limit/big.txt >out.txt 2>err.txt </dev/null )
[ $? -eq 1 ] || fail "file size limit: exit status"
tail -n1 out.txt | grep -qx '  save dest. file: failed. (write)' || fail "file size limit: log"
expect_bytes limit/_quenlite_big.txt 6f6c64
[ "$(ls -A limit | tr '\n' ' ')" = "_quenlite_big.txt big.txt " ] || fail "left behind: $(ls -A limit)"

# On a terminal the progress bar goes to standard error.
if script -qec "'$cli' -q --exists overwrite one/song.lrc" /dev/null >tty.txt 2>&1; then
  grep -q '\[#*' tty.txt && grep -q '1/1' tty.txt || fail "no progress bar on a terminal"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all quenlite-cli checks passed"
