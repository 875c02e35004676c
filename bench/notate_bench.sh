#!/usr/bin/env bash
# Throughput of `orvi-cli notate --to verify` on a 10 MB Japanese text against `mecab -Oyomi`
# on the same text, measured in the same run (best of three, alternating).
# The text is generated once from the word lists of the mecab-ipadic package (nouns, verbs and
# adjectives joined by particles into sentences, fixed seed) and kept in $BUILD/bench-data.
set -euo pipefail
build=${BUILD:-build}
cli="$build/editor/cli/orvi-cli"
ipadic=/usr/share/mecab/dic/ipadic
[ -x "$cli" ] || { echo "notate_bench: $cli not built" >&2; exit 1; }
command -v mecab >/dev/null || { echo "notate_bench: mecab not installed (skipped)"; exit 0; }
[ -d "$ipadic" ] || { echo "notate_bench: $ipadic missing (skipped)"; exit 0; }
mkdir -p "$build/bench-data"
text="$build/bench-data/notate_10mb.txt"
if [ ! -s "$text" ]; then
  python3 - "$ipadic" "$text" <<'PY'
import random, sys
src, out = sys.argv[1], sys.argv[2]
def surfaces(name):
    with open(f"{src}/{name}", encoding="euc_jp", errors="replace") as f:
        return [line.split(",", 1)[0] for line in f if line.strip()]
nouns = surfaces("Noun.csv") + surfaces("Noun.verbal.csv") + surfaces("Noun.adjv.csv")
verbs = surfaces("Verb.csv")
adjs = surfaces("Adj.csv")
particles = ["は", "が", "を", "に", "で", "と", "の", "も", "へ", "から", "まで"]
ends = ["。", "、", "！", "？", ""]
rng = random.Random(20261211)
size, lines = 0, []
while size < 10_000_000:
    words = []
    for _ in range(rng.randint(2, 5)):
        words.append(rng.choice(nouns) + rng.choice(particles))
    words.append(rng.choice(verbs if rng.random() < 0.7 else adjs))
    line = "".join(words) + rng.choice(ends)
    lines.append(line)
    size += len(line.encode("utf-8")) + 1
with open(out, "w", encoding="utf-8", newline="\n") as f:
    f.write("\n".join(lines) + "\n")
PY
fi
python3 - "$cli" "$text" <<'PY'
import os, subprocess, sys, time
cli, text = sys.argv[1], sys.argv[2]
size = os.path.getsize(text) / 1e6
runs = {"orvi-cli notate --to verify": [cli, "notate", "--to", "verify"],
        "mecab -Oyomi": ["mecab", "-Oyomi"]}
best = {name: float("inf") for name in runs}
for _ in range(3):
    for name, cmd in runs.items():
        with open(text, "rb") as f:
            t0 = time.perf_counter()
            subprocess.run(cmd, stdin=f, stdout=subprocess.DEVNULL, check=True)
            best[name] = min(best[name], time.perf_counter() - t0)
print(f"text: {size:.1f} MB")
for name, seconds in best.items():
    print(f"{name:28s} {seconds:7.2f} s  {size / seconds:6.2f} MB/s")
ratio = best["mecab -Oyomi"] / best["orvi-cli notate --to verify"]
print(f"notate throughput / mecab:   {ratio:.2f} (goal >= 1.00)")
PY
