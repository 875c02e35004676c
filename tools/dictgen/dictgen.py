#!/usr/bin/env python3
"""Builds Orvi's reading tables from the MeCab IPA dictionary and EDICT.

    dictgen.py --ipadic DIR --edict FILE --out DIR [--packer PROGRAM]

Writes into --out:
  small_table.txt, large_table.txt   the two reading tables as UTF-16LE text
  small_table.lzma, large_table.lzma the same texts as LZMA-alone streams (made by PROGRAM,
                                     tools/dictgen/lzma_alone_pack)
  conjugation_table.txt              the okurigana ending rows, UTF-16LE with CR LF

A reading table is a byte-order mark, the entry count and LF, then one line per word:
"word:readings", readings joined by ".", each reading being left context + kana + right
context, where a context is the kana next to the word or "_" for anything else. Words are
runs of kanji, sorted by UTF-16 code units.

Large table: every IPA dictionary entry whose surface holds kanji, except given names.
Each kanji run of the surface is aligned against the entry's reading, with the surface's
kana on either side as contexts (読み切れる / よみきれる gives 読 -> "_よみ" and 切 -> "みきれ").
An entry's readings are ordered by the lexicon's word cost, lowest first, after these
rules: a run's readings in words of its own come before those it has inside compounds;
before a kana context, verbs and adjectives come first, and forms the lexicon also spells
with fuller okurigana come last; proper nouns come after all common words. Interjections
give no particle contexts (今日は is not read こんにちは), and ichidan verb stems (見, 着) get
the kana that can follow them as contexts.

Small table: the common words, i.e. the EDICT lines carrying the "(P)" marker (words found in
the frequency lists EDICT's editors merged in), aligned the same way, words of up to four
kanji. Readings are ordered by word class (stand-alone words before suffixes, prefixes,
counters and auxiliary verbs), then by the lexicon's rank. A common verb or adjective brings
all its inflected forms from the lexicon; a common noun's first reading is repeated before
each case particle and after each adnominal ending. preferred_readings.txt puts the reading a song would use first, and
counter_readings.txt the readings of numerals with counters first in the large table.

Readings repeated with the same contexts are dropped, and an entry keeps at most
MAX_READINGS readings within MAX_LINE code units.

Standard library only; the output depends only on the input files.
"""
import argparse
import os
import subprocess
import sys

# --- characters --------------------------------------------------------------------------


def is_kanji(c):
    """The kanji test of the editor: CJK ideographs (extension A short of U+4DBF), the
    compatibility ideographs and the iteration mark."""
    o = ord(c)
    return (0x3400 <= o <= 0x4DBE or 0x4E00 <= o <= 0x9FBF or 0xF900 <= o <= 0xFAFF
            or o == 0x3005)


def is_kana(c):
    """Kana as the lookup classifies neighbours: hiragana, katakana, the prolonged sound
    mark and half-width katakana. Anything else is a "_" context."""
    o = ord(c)
    return (0x3041 <= o <= 0x3096 or 0x30A1 <= o <= 0x30FA or o == 0x30FC
            or 0xFF65 <= o <= 0xFF9D)


def to_hiragana(s):
    """Katakana U+30A1..U+30F6 to hiragana; everything else unchanged."""
    return "".join(chr(ord(c) - 0x60) if 0x30A1 <= ord(c) <= 0x30F6 else c for c in s)


# A small ヶ or ヵ between kanji (八ヶ岳, 一ヵ月) is written for a syllable it does not spell.
SMALL_KE_READINGS = {"ヶ": ("か", "が", "け", "こ"), "ヵ": ("か", "が", "け", "こ"),
                     "ゖ": ("か", "が", "け", "こ"), "ゕ": ("か", "が", "け", "こ")}


# --- alignment ---------------------------------------------------------------------------


def segments(surface):
    """Cuts a surface into ('K', kanji run), ('k', kana run) and ('o', other) pieces."""
    out = []
    for c in surface:
        kind = "K" if is_kanji(c) else ("k" if is_kana(c) else "o")
        if out and out[-1][0] == kind:
            out[-1][1] += c
        else:
            out.append([kind, c])
    return [(k, t) for k, t in out]


def kanji_runs(surface):
    return sum(1 for kind, _ in segments(surface) if kind == "K")


def _match_kana(text, reading, pos):
    """Matches a kana piece of the surface at reading[pos:]; returns the end or -1."""
    for c in text:
        if pos >= len(reading):
            return -1
        r = reading[pos]
        if c in SMALL_KE_READINGS:
            if r not in SMALL_KE_READINGS[c]:
                return -1
        elif to_hiragana(c) != r:
            return -1
        pos += 1
    return pos


def align(surface, reading):
    """Aligns a surface with its reading (hiragana or katakana).

    Returns a list of (run, left, kana, right) for each kanji run of the surface: the run,
    its left and right contexts (the neighbouring kana of the surface, or "_"), and the
    hiragana it is read as. Returns None when the surface does not fit the reading or fits
    it in more than one way (then nobody can tell which kana belong to which run)."""
    reading = to_hiragana(reading)
    if not reading or not all(is_kana(c) for c in reading):
        return None
    segs = segments(surface)
    if not any(k == "K" for k, _ in segs):
        return []
    solutions = []

    def walk(i, pos, spans):
        if len(solutions) > 1:
            return
        if i == len(segs):
            if pos == len(reading):
                solutions.append(list(spans))
            return
        kind, text = segs[i]
        if kind == "k":
            end = _match_kana(text, reading, pos)
            if end >= 0:
                walk(i + 1, end, spans)
            return
        # A kanji run (or a piece of other characters) takes at least one kana; at most
        # what leaves one kana for each later piece that needs its own.
        rest_min = sum(len(t) if k == "k" else 1 for k, t in segs[i + 1:])
        for end in range(pos + 1, len(reading) - rest_min + 1):
            spans.append((i, pos, end))
            walk(i + 1, end, spans)
            spans.pop()

    walk(0, 0, [])
    if len(solutions) != 1:
        return None
    out = []
    for i, start, end in solutions[0]:
        kind, text = segs[i]
        if kind != "K":
            continue
        left = segs[i - 1][1][-1] if i > 0 and segs[i - 1][0] == "k" else "_"
        right = segs[i + 1][1][0] if i + 1 < len(segs) and segs[i + 1][0] == "k" else "_"
        out.append((text, left, reading[start:end], right))
    return out


# --- sources -----------------------------------------------------------------------------


class LexEntry:
    """One IPA dictionary line: surface, word cost, part of speech, reading."""
    __slots__ = ("surface", "cost", "pos", "reading", "base")

    def __init__(self, surface, cost, pos, reading, base=""):
        self.surface, self.cost, self.pos, self.reading = surface, cost, pos, reading
        self.base = base or surface

    @property
    def proper(self):
        return self.pos[0] == "名詞" and self.pos[1] == "固有名詞"


def parse_ipadic_line(line):
    f = line.rstrip("\r\n").split(",")
    if len(f) < 12 or not f[3].lstrip("-").isdigit():
        return None
    return LexEntry(f[0], int(f[3]), tuple(f[4:10]), f[11], f[10])


def read_ipadic(directory):
    entries = []
    for name in sorted(os.listdir(directory)):
        if not name.endswith(".csv"):
            continue
        with open(os.path.join(directory, name), encoding="euc_jp", errors="replace") as f:
            for line in f:
                e = parse_ipadic_line(line)
                if e is not None:
                    entries.append(e)
    return entries


class CommonWord:
    """One EDICT line with the common-word marker: headword, reading, word classes."""
    __slots__ = ("headword", "reading", "classes", "order")

    def __init__(self, headword, reading, classes, order):
        self.headword, self.reading, self.classes, self.order = (
            headword, reading, classes, order)

    @property
    def bound(self):
        """True for suffixes, prefixes, counters and auxiliary verbs (初める read そめる after
        another verb): forms that rarely stand alone."""
        return bool(self.classes) and (all(c in BOUND_CLASSES for c in self.classes)
                                       or "aux-v" in self.classes)

    @property
    def inflecting(self):
        """Verbs and i-adjectives, whose okurigana change as they inflect."""
        return any(c.startswith("v") or c == "adj-i" for c in self.classes)

    @property
    def noun(self):
        return not self.bound and any(c in NOUN_CLASSES for c in self.classes)


BOUND_CLASSES = ("suf", "pref", "ctr", "n-suf", "n-pref")
NOUN_CLASSES = ("n", "n-adv", "n-t", "pn", "adj-no", "n-pr")


def parse_edict_line(line, order=0):
    """Parses 'HEADWORD [READING] /(pos) gloss/.../(P)/'; None unless it is a common word
    with a kanji headword and a reading."""
    line = line.rstrip("\r\n")
    if "/(P)/" not in line and "(P)/" not in line:
        return None
    head, _, rest = line.partition(" /")
    if "[" not in head:
        return None
    headword, _, reading = head.partition(" [")
    reading = reading.rstrip("]")
    if not any(is_kanji(c) for c in headword):
        return None
    classes = []
    first = rest.split("/", 1)[0]
    if first.startswith("("):
        for tag in first[1:first.find(")")].split(","):
            classes.append(tag.strip())
    return CommonWord(headword.strip(), reading.strip(), tuple(classes), order)


def read_edict(path):
    words = []
    with open(path, encoding="euc_jp", errors="replace") as f:
        for n, line in enumerate(f):
            w = parse_edict_line(line, n)
            if w is not None:
                words.append(w)
    return words


def read_preferred(path):
    """Lines 'word reading' (# comments): readings to put first in the small table."""
    pref = []
    if not os.path.exists(path):
        return pref
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].split()
            if len(line) == 2:
                pref.append((line[0], line[1]))
    return pref


# --- tables ------------------------------------------------------------------------------

MAX_WORD = 16          # the notation walk never looks up longer runs
MAX_SMALL_WORD = 4     # longer compounds are left to the large table
MAX_LINE = 480         # code units of readings an entry line may carry
MAX_READINGS = 96      # an entry keeps its best readings only

# Particles that follow a noun in running text. A greeting such as 今日は (こんにちは) or
# 今晩は is written like the noun plus は; keeping its reading with the particle as context
# would read every 今日は as the greeting, so interjections give no particle contexts.
PARTICLES = set("はわがをにへのとでもやか")


def idiom_context(interjection, right):
    """True when a reading taken from an interjection has a particle as right context."""
    return interjection and right in PARTICLES
PROPER_PENALTY = 1 << 20
# A reading that a kanji run has inside a word with other kanji (行く in 行く手, read ゆく)
# is that word's, not the run's own; it ranks after the readings of words that hold the run
# alone (行く, read いく), whatever the costs say.
COMPOUND_PENALTY = 1 << 19
# Kana right after a run are most often its okurigana, so for a reading with a kana right
# context the words that inflect there come first: 守り in 守りたい is the verb (まもり), not
# the noun 守り (もり), although the noun's cost is lower (costs of different parts of speech
# are not comparable).
NOT_INFLECTING_PENALTY = 1 << 18
INFLECTING = ("動詞", "形容詞", "助動詞")


def cap_readings(readings):
    """Keeps an entry's best readings: at most MAX_READINGS, within MAX_LINE code units."""
    out, used = [], 0
    for left, kana, right in readings[:MAX_READINGS]:
        cost = len(kana) + 3
        if out and used + cost > MAX_LINE:
            break
        out.append((left, kana, right))
        used += cost
    return out


# What follows the stem of an ichidan verb (見, 着, 寝, 出) in running text: ない, ます, た,
# て, ず, ぬ, よう, られる, させる, に (見に行く), つつ, そう. The lexicon lists the stem alone,
# so without these the stem gets no context and loses to the kanji's noun readings.
ICHIDAN_STEM_NEXT = "なまたてずぬよらさにつそ"


def stem_contexts(entry, aligned):
    """Extra readings for an ichidan verb's irrealis and continuative forms whose surface
    ends in its kanji: the last run again, once with each kana that can follow the stem."""
    if (entry.pos[0] != "動詞" or "一段" not in entry.pos[4]
            or entry.pos[5] not in ("未然形", "連用形") or not aligned
            or not is_kanji(entry.surface[-1])):
        return []
    run, left, kana, _ = aligned[-1]
    return [(run, left, kana, c) for c in ICHIDAN_STEM_NEXT]


# The lexicon spells some inflected forms both in full and with okurigana left out (向かい
# and 向い, both read むかい). In running text the short spelling is mostly another word
# (向いて is むいて), so readings from it rank after those of fully written forms.
VARIANT_PENALTY = 1 << 17


def short_spellings(lexicon):
    """The ids of verb and adjective entries whose surface leaves out kana that another
    entry with the same kanji, reading and inflected form writes."""
    groups = {}
    for i, e in enumerate(lexicon):
        if e.pos[0] in INFLECTING:
            key = ("".join(c for c in e.surface if is_kanji(c)), e.reading, e.pos[5])
            groups.setdefault(key, []).append(i)
    short = set()
    for ids in groups.values():
        if len(ids) > 1:
            kana = {i: sum(1 for c in lexicon[i].surface if not is_kanji(c)) for i in ids}
            most = max(kana.values())
            short.update(i for i in ids if kana[i] < most)
    return short


def entry_readings(entry):
    """The aligned readings an IPA dictionary entry gives, with the contexts its inflected
    form implies: an ichidan stem gets the kana that follow it (stem_contexts); the stem an
    adjective shows before がる (寒 of 寒がる) gets が as right context; the contracted
    forms written as a bare kanji (回 for 回る before ん) give nothing, since the bare kanji
    would otherwise outrank the noun it also is."""
    aligned = align(entry.surface, entry.reading)
    if not aligned:
        return []
    if entry.pos[0] in INFLECTING and is_kanji(entry.surface[-1]):
        if entry.pos[5].startswith("体言接続特殊"):
            return []
        if entry.pos[5] == "ガル接続":
            run, left, kana, _ = aligned[-1]
            return aligned[:-1] + [(run, left, kana, "が")]
    return aligned + stem_contexts(entry, aligned)


def inflected_forms(lexicon):
    """(dictionary form, its reading in hiragana) -> the aligned readings of every inflected
    form the lexicon lists for that verb or adjective."""
    base_reading = {}
    for e in lexicon:
        if e.pos[0] in INFLECTING and e.pos[5] == "基本形" and e.surface == e.base:
            base_reading.setdefault((e.base, e.pos[4]), set()).add(to_hiragana(e.reading))
    forms = {}
    for e in lexicon:
        if e.pos[0] not in INFLECTING:
            continue
        readings = entry_readings(e)
        if not readings:
            continue
        for reading in base_reading.get((e.base, e.pos[4]), ()):
            if reading[:1] == to_hiragana(e.reading)[:1]:
                forms.setdefault((e.base, reading), set()).update(readings)
    return forms


def build_large(lexicon, given_names=False):
    """word -> ordered list of (left, kana, right), plus the rank of every reading.

    The rank of a reading is the lowest cost among the entries that yield it; readings
    from words with several kanji runs rank after those from words with one, and proper
    nouns after every common word; before a kana, verbs and adjectives rank first. Given names (and full names) are left out unless asked
    for: they are mostly pairs of common kanji (風吹, 康弘) and would make a run of two words
    read as a name; surnames stay, as they double as place names and ordinary words."""
    rank = {}
    short = short_spellings(lexicon)
    for i, e in enumerate(lexicon):
        readings = entry_readings(e)
        if not readings:
            continue
        if not given_names and e.proper and e.pos[2] == "人名" and e.pos[3] != "姓":
            continue
        r = (e.cost + (PROPER_PENALTY if e.proper else 0)
             + (COMPOUND_PENALTY if kanji_runs(e.surface) > 1 else 0)
             + (VARIANT_PENALTY if i in short else 0))
        for run, left, kana, right in readings:
            if len(run) > MAX_WORD or idiom_context(e.pos[0] == "感動詞", right):
                continue
            key = (run, left, kana, right)
            rr = r + (NOT_INFLECTING_PENALTY if right != "_" and e.pos[0] not in INFLECTING
                      else 0)
            if key not in rank or rr < rank[key]:
                rank[key] = rr
    table = {}
    for (run, left, kana, right), r in rank.items():
        table.setdefault(run, []).append((r, left, kana, right))
    out = {}
    for run, items in table.items():
        items.sort()
        out[run] = cap_readings([(l, k, r) for _, l, k, r in items])
    return out, rank


# Case and binding particles that follow a noun. A common noun's reading between two kana
# (輝く星を) would score low with "_" contexts and lose to any large-table reading that
# happens to match one neighbour (くせい_), so the noun's first reading is repeated with
# each particle as right context, after every reading the lexicons give.
NOUN_PARTICLES = "をがはにのもとでへ"
# The endings of what modifies a noun: an adjective's い, a na-adjective's な, a verb's る or
# past た (知らない人, 大切な人). After them the noun keeps its own reading, not one a compound
# gives the same kanji after that kana (いじん_), so its first reading also gets these as
# left context.
NOUN_LEFT = "いなたる"


def build_small(common, rank, preferred=(), forms=None):
    """word -> ordered list of (left, kana, right) from the common words.

    Order: readings named in `preferred` first, then readings of stand-alone words before
    those of bound forms, then by the lexicon's rank of the same reading (any contexts),
    then by line order. The first reading of a noun (with "_" on both sides) is then
    repeated before each of NOUN_PARTICLES and after each of NOUN_LEFT. A common verb or adjective also brings the
    readings of its inflected forms from `forms` (see inflected_forms): the conjugation rows
    match only some endings (行って, 向いて need their own)."""
    best_rank = {}
    for (run, _l, kana, _r), r in rank.items():
        k = (run, kana)
        if k not in best_rank or r < best_rank[k]:
            best_rank[k] = r
    keys = {}
    nouns = set()
    for w in common:
        aligned = align(w.headword, w.reading)
        if not aligned:
            continue
        if w.noun and len(aligned) == 1 and aligned[0][1] == aligned[0][3] == "_":
            nouns.add(aligned[0][:3:2])
        extra = []
        if forms and w.inflecting:
            extra = sorted(forms.get((w.headword, w.reading), set()) - set(aligned))
        for run, left, kana, right in aligned + extra:
            if len(run) > MAX_SMALL_WORD or idiom_context("int" in w.classes, right):
                continue
            lex = rank.get((run, left, kana, right), best_rank.get((run, kana), 1 << 40))
            key = (1 if w.bound else 0, lex, w.order)
            t = (run, left, kana, right)
            if t not in keys or key < keys[t]:
                keys[t] = key
    pref_pos = {}
    for i, (word, reading) in enumerate(preferred):
        for t in align(word, reading) or []:
            run, _left, kana, _right = t
            pref_pos.setdefault((run, kana), i)
            if _left == _right == "_":
                nouns.add((run, kana))
            if t not in keys and len(run) <= MAX_SMALL_WORD:
                keys[t] = (0, 0, -1)
    table = {}
    for (run, left, kana, right), key in keys.items():
        p = pref_pos.get((run, kana), 1 << 30)
        table.setdefault(run, []).append(((p,) + key + (left, kana, right), (left, kana, right)))
    out = {}
    for run, items in table.items():
        items.sort()
        readings = [t for _, t in items]
        first = next((k for l, k, r in readings if l == r == "_"), None)
        if first is not None and (run, first) in nouns:
            for p in NOUN_PARTICLES:
                if ("_", first, p) not in readings:
                    readings.append(("_", first, p))
            for p in NOUN_LEFT:
                if (p, first, "_") not in readings:
                    readings.append((p, first, "_"))
        out[run] = cap_readings(readings)
    return out


def put_first(table, readings):
    """Puts each (word, reading) first in its entry of `table`, adding the entry if needed."""
    for word, reading in reversed(readings):
        for run, left, kana, right in align(word, reading) or []:
            t = (left, kana, right)
            table[run] = cap_readings([t] + [x for x in table.get(run, []) if x != t])


def utf16_key(s):
    return s.encode("utf-16-be")


def format_table(table):
    """The text of a reading table: BOM, count line, sorted entry lines, each ended by LF."""
    words = sorted(table, key=utf16_key)
    lines = ["\ufeff%d\n" % len(words)]
    for w in words:
        lines.append(w + ":" + ".".join(l + k + r for l, k, r in table[w]) + "\n")
    return "".join(lines)


CONJUGATION_ROWS = [
    "い、かくけそさ_", "く、かこきいけ_", "ぐ、がごぎいげ_", "す、さそしせ__",
    "つ、たとちって_", "ぬ、なのにんね_", "ぶ、ばぼびんべ_", "む、まもみんめ_",
    "る、らろりっれ_", "う、わおいっえ_", "る、なたまれよろ",
]
IRREGULAR_ROW = "来、こなきたきまくるくれこいきて"


def conjugation_table_bytes():
    text = "\ufeff" + "".join(row + "\r\n" for row in CONJUGATION_ROWS + [IRREGULAR_ROW])
    return text.encode("utf-16-le")


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--ipadic", default="/usr/share/mecab/dic/ipadic")
    ap.add_argument("--edict", default="/usr/share/edict/edict")
    ap.add_argument("--preferred",
                    default=os.path.join(os.path.dirname(__file__), "preferred_readings.txt"))
    ap.add_argument("--counters",
                    default=os.path.join(os.path.dirname(__file__), "counter_readings.txt"))
    ap.add_argument("--out", required=True)
    ap.add_argument("--packer", help="lzma_alone_pack program; without it no .lzma files")
    args = ap.parse_args(argv)

    lexicon = read_ipadic(args.ipadic)
    large, rank = build_large(lexicon)
    put_first(large, read_preferred(args.counters))
    small = build_small(read_edict(args.edict), rank, read_preferred(args.preferred),
                        inflected_forms(lexicon))
    os.makedirs(args.out, exist_ok=True)
    for name, table in (("small_table", small), ("large_table", large)):
        text_path = os.path.join(args.out, name + ".txt")
        write_bytes(text_path, format_table(table).encode("utf-16-le"))
        readings = sum(len(v) for v in table.values())
        print("%s: %d entries, %d readings" % (name, len(table), readings))
        if args.packer:
            subprocess.run([args.packer, text_path, os.path.join(args.out, name + ".lzma")],
                           check=True)
    write_bytes(os.path.join(args.out, "conjugation_table.txt"), conjugation_table_bytes())
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (OSError, subprocess.CalledProcessError) as err:
        sys.stderr.write("dictgen: %s\n" % err)
        sys.exit(1)
