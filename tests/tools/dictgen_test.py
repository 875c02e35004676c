"""Alignment, selection, ordering and output format of the reading-table generator, on a
small fixture lexicon; needs none of the dictionary packages."""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "dictgen"))
import dictgen  # noqa: E402


def lex(line):
    return dictgen.parse_ipadic_line(line)


# A fixture in the IPA dictionary's CSV layout: surface, ids, cost, six POS fields, base
# form, reading, pronunciation.
FIXTURE_IPADIC = [
    "日本,1,1,3000,名詞,固有名詞,地域,国,*,*,日本,ニホン,ニホン",
    "日本,1,1,3500,名詞,固有名詞,地域,国,*,*,日本,ニッポン,ニッポン",
    "日本ハム,1,1,2000,名詞,固有名詞,組織,*,*,*,日本ハム,ニホンハム,ニホンハム",
    "日本語,1,1,4000,名詞,一般,*,*,*,*,日本語,ニホンゴ,ニホンゴ",
    "人,1,1,7118,名詞,一般,*,*,*,*,人,ヒト,ヒト",
    "人,1,1,8979,名詞,接尾,一般,*,*,*,人,ジン,ジン",
    "人,1,1,9000,名詞,固有名詞,人名,名,*,*,人,ヒトシ,ヒトシ",
    "人,1,1,5000,名詞,固有名詞,地域,一般,*,*,人,ニン,ニン",
    "風吹,1,1,8000,名詞,固有名詞,人名,名,*,*,風吹,フブキ,フブキ",
    "風吹,1,1,8500,名詞,固有名詞,人名,姓,*,*,風吹,カゼフキ,カゼフキ",
    "読み切れる,1,1,6000,動詞,自立,*,*,一段,基本形,読み切れる,ヨミキレル,ヨミキレル",
    "今日は,1,1,5000,感動詞,*,*,*,*,*,今日は,コンニチハ,コンニチワ",
    "今日,1,1,6000,名詞,副詞可能,*,*,*,*,今日,キョウ,キョー",
    "着,1,1,8101,動詞,自立,*,*,一段,連用形,着る,キ,キ",
    "行く,1,1,8266,動詞,自立,*,*,五段・カ行促音便ユク,基本形,行く,ユク,ユク",
    "行く,1,1,6763,動詞,自立,*,*,五段・カ行促音便,基本形,行く,イク,イク",
    "行く末,1,1,4549,名詞,一般,*,*,*,*,行く末,ユクスエ,ユクスエ",
    "守り,1,1,5496,名詞,一般,*,*,*,*,守り,モリ,モリ",
    "回,1,1,7338,名詞,一般,*,*,*,*,回,カイ,カイ",
    "回,1,1,7284,動詞,自立,*,*,五段・ラ行,体言接続特殊２,回る,マワ,マワ",
    "寒,1,1,7000,形容詞,自立,*,*,形容詞・アウオ段,ガル接続,寒い,サム,サム",
    "向く,1,1,7000,動詞,自立,*,*,五段・カ行イ音便,基本形,向く,ムク,ムク",
    "向い,1,1,7402,動詞,自立,*,*,五段・カ行イ音便,連用タ接続,向く,ムイ,ムイ",
    "向い,1,1,7300,動詞,自立,*,*,五段・ワ行促音便,連用形,向う,ムカイ,ムカイ",
    "向かい,1,1,6758,動詞,自立,*,*,五段・ワ行促音便,連用形,向かう,ムカイ,ムカイ",
    "守り,1,1,6514,動詞,自立,*,*,五段・ラ行,連用形,守る,マモリ,マモリ",
    "一ノ瀬,1,1,9000,名詞,固有名詞,地域,一般,*,*,一ノ瀬,イチノセ,イチノセ",
    "ＪＲ線,1,1,9000,名詞,一般,*,*,*,*,ＪＲ線,ジェイアールセン,ジェイアールセン",
]

FIXTURE_EDICT = [
    "人 [ひと] /(n) man/person/(P)/",
    "人 [じん] /(suf) -ian/(P)/",
    "人 [にん] /(ctr) counter for people/(P)/",
    "人 [と] /(suf) person/",
    "故郷 [こきょう] /(n) home town/(P)/",
    "故郷 [ふるさと] /(n) home town/(P)/",
    "今日は [こんにちは] /(int) hello/(P)/",
    "行く [いく] /(v5k-s,vi) to go/(P)/",
    "向く [むく] /(v5k,vi) to face/(P)/",
    "向い [むかい] /(n,adj-no) facing/(P)/",
    "一二三四五 [いちにさんしご] /(n) five numbers/(P)/",
    "あっ [あっ] /(int) ah/(P)/",
]


class AlignTest(unittest.TestCase):
    def test_runs_take_the_kana_between_the_surface_kana(self):
        cases = [
            ("読み切れる", "ヨミキレル",
             [("読", "_", "よ", "み"), ("切", "み", "き", "れ")]),
            ("日本語", "ニホンゴ", [("日本語", "_", "にほんご", "_")]),
            ("行く", "いく", [("行", "_", "い", "く")]),
            # Katakana in the surface is a context as written; the reading is hiragana.
            ("一ノ瀬", "イチノセ", [("一", "_", "いち", "ノ"), ("瀬", "ノ", "せ", "_")]),
            # A small ヶ spells a syllable it does not show.
            ("八ヶ岳", "ヤツガタケ", [("八", "_", "やつ", "ヶ"), ("岳", "ヶ", "たけ", "_")]),
            # Prolonged sound marks match each other.
            ("ラーメン屋", "ラーメンヤ", [("屋", "ン", "や", "_")]),
            ("ひらがな", "ヒラガナ", []),
        ]
        for surface, reading, expected in cases:
            with self.subTest(surface=surface):
                self.assertEqual(dictgen.align(surface, reading), expected)

    def test_unfitting_or_ambiguous_surfaces_give_nothing(self):
        cases = [
            ("読む", "カク"),                 # the kana do not match
            ("読み", "ヨ"),                   # reading too short for run and kana
            ("ＪＲ線", "ジェイアールセン"),    # where ＪＲ ends cannot be told
            ("日本", "ニホン1"),              # a reading must be kana only
            ("日本", ""),
        ]
        for surface, reading in cases:
            with self.subTest(surface=surface):
                self.assertIsNone(dictgen.align(surface, reading))


class EdictTest(unittest.TestCase):
    def test_only_common_kanji_words_with_a_reading_are_read(self):
        self.assertIsNone(dictgen.parse_edict_line("人 [と] /(suf) person/"))
        self.assertIsNone(dictgen.parse_edict_line("あっ [あっ] /(int) ah/(P)/"))
        self.assertIsNone(dictgen.parse_edict_line("イメージ /(n,vs) image/(P)/"))
        w = dictgen.parse_edict_line("人 [にん] /(ctr) counter for people/(P)/")
        self.assertEqual((w.headword, w.reading, w.classes, w.bound),
                         ("人", "にん", ("ctr",), True))
        self.assertFalse(dictgen.parse_edict_line("行く [いく] /(v5k-s,vi) to go/(P)/").bound)
        self.assertTrue(dictgen.parse_edict_line("初める [そめる] /(aux-v,v1) to begin/(P)/").bound)
        self.assertTrue(dictgen.parse_edict_line("街 [がい] /(n-suf,pref) street/(P)/").bound)


class TablesTest(unittest.TestCase):
    def setUp(self):
        self.lexicon = [lex(line) for line in FIXTURE_IPADIC]
        self.large, self.rank = dictgen.build_large(self.lexicon)
        common = [w for w in (dictgen.parse_edict_line(l, n) for n, l in enumerate(FIXTURE_EDICT))
                  if w is not None]
        self.small = dictgen.build_small(common, self.rank, [("故郷", "ふるさと")],
                                         dictgen.inflected_forms(self.lexicon))

    def test_large_table_orders_by_cost_with_proper_nouns_last(self):
        # All three are proper nouns: cost decides, except that 日本ハム, though cheapest,
        # gives a kana context without inflecting there.
        self.assertEqual(self.large["日本"],
                         [("_", "にほん", "_"), ("_", "にっぽん", "_"), ("_", "にほん", "ハ")])
        # The common noun ひと comes before the suffix じん, and both before the cheaper
        # place name; the given name is left out.
        self.assertEqual(self.large["人"],
                         [("_", "ひと", "_"), ("_", "じん", "_"), ("_", "にん", "_")])

    def test_readings_from_words_with_other_kanji_rank_after_the_runs_own(self):
        # 行く末 is the cheapest entry, but its ゆ belongs to the compound.
        self.assertEqual(self.large["行"], [("_", "い", "く"), ("_", "ゆ", "く")])
        self.assertEqual(self.large["末"], [("く", "すえ", "_")])

    def test_before_a_kana_the_inflecting_word_ranks_first(self):
        self.assertEqual(self.large["守"], [("_", "まも", "り"), ("_", "も", "り")])

    def test_spellings_that_leave_out_okurigana_rank_last(self):
        # 向い read むかい is 向かい written short; 向い in text is mostly 向く's むい.
        self.assertEqual(self.large["向"][:3],
                         [("_", "む", "か"), ("_", "む", "く"), ("_", "む", "い")])
        self.assertEqual(self.large["向"][-1], ("_", "むか", "い"))

    def test_common_verbs_bring_their_inflected_forms(self):
        # EDICT gives only 向く; the lexicon's 向い (むい) comes with it, ahead of the noun
        # 向い (むかい), so 向いて reads むいて.
        readings = self.small["向"]
        self.assertIn(("_", "む", "く"), readings)
        self.assertLess(readings.index(("_", "む", "い")), readings.index(("_", "むか", "い")))

    def test_bare_kanji_forms_of_verbs_and_adjectives(self):
        # 回 as a contraction of 回る would outrank the noun; the stem of 寒がる is read before が.
        self.assertEqual(self.large["回"], [("_", "かい", "_")])
        self.assertEqual(self.large["寒"], [("_", "さむ", "が")])

    def test_given_names_are_left_out_but_surnames_stay(self):
        self.assertEqual(self.large["風吹"], [("_", "かぜふき", "_")])
        with_names, _ = dictgen.build_large(self.lexicon, given_names=True)
        self.assertEqual(with_names["風吹"][0], ("_", "ふぶき", "_"))

    def test_greetings_give_no_particle_context(self):
        self.assertEqual(self.large["今日"], [("_", "きょう", "_")])
        self.assertNotIn(("_", "こんにち", "は"), self.small.get("今日", []))

    def test_ichidan_stems_get_the_kana_that_can_follow_them(self):
        readings = self.large["着"]
        self.assertIn(("_", "き", "_"), readings)
        for after in "てたまな":
            self.assertIn(("_", "き", after), readings)

    def test_small_table_orders_stand_alone_words_first_and_preferred_readings_lead(self):
        self.assertEqual(self.small["人"][0], ("_", "ひと", "_"))
        self.assertEqual({r for _, r, _ in self.small["人"]}, {"ひと", "じん", "にん"})
        self.assertEqual(self.small["故郷"][0], ("_", "ふるさと", "_"))
        self.assertEqual(self.small["行"], [("_", "い", "く")])
        # Words longer than four kanji are left to the large table.
        self.assertNotIn("一二三四五", self.small)

    def test_a_nouns_first_reading_is_repeated_beside_particles_and_endings(self):
        def around(kana):
            return ([("_", kana, p) for p in dictgen.NOUN_PARTICLES]
                    + [(p, kana, "_") for p in dictgen.NOUN_LEFT])
        self.assertEqual(self.small["故郷"][2:], around("ふるさと"))
        self.assertEqual(self.small["人"][3:], around("ひと"))
        # Not for verbs: 行く has no reading without contexts.
        self.assertEqual(self.small["行"], [("_", "い", "く")])

    def test_counter_readings_go_first_in_the_large_table(self):
        dictgen.put_first(self.large, [("十年", "じゅうねん"), ("日本", "にっぽん")])
        self.assertEqual(self.large["十年"], [("_", "じゅうねん", "_")])
        self.assertEqual(self.large["日本"][:2], [("_", "にっぽん", "_"), ("_", "にほん", "_")])
        self.assertEqual(len(self.large["日本"]), 3)

    def test_line_length_is_capped(self):
        many = [("_", "あ" * 20, chr(0x3041 + i)) for i in range(80)]
        capped = dictgen.cap_readings(many)
        self.assertLessEqual(sum(len(k) + 3 for _, k, _ in capped), dictgen.MAX_LINE)
        self.assertEqual(capped, many[:len(capped)])
        self.assertEqual(dictgen.cap_readings(many[:1]), many[:1])


class FormatTest(unittest.TestCase):
    def test_table_text_is_counted_and_sorted_by_code_units(self):
        table = {"日本": [("_", "にほん", "_"), ("_", "にっぽん", "_")],
                 "日": [("_", "ひ", "_")],
                 "\uf900": [("_", "き", "_")],
                 "々": [("_", "のま", "_")]}
        text = dictgen.format_table(table)
        self.assertEqual(text, "\ufeff4\n々:_のま_\n日:_ひ_\n日本:_にほん_._にっぽん_\n\uf900:_き_\n")

    def test_conjugation_table_has_the_fixed_layout(self):
        data = dictgen.conjugation_table_bytes()
        self.assertEqual(len(data), 258)
        text = data.decode("utf-16-le")
        self.assertEqual(text[0], "\ufeff")
        lines = text[1:].split("\r\n")
        self.assertEqual(lines[-1], "")
        self.assertEqual([len(l) for l in lines[:-1]], [8] * 11 + [16])
        self.assertEqual(lines[8], "る、らろりっれ_")
        self.assertEqual(lines[11], "来、こなきたきまくるくれこいきて")


class EndToEndTest(unittest.TestCase):
    def test_main_writes_the_three_tables_from_source_files(self):
        with tempfile.TemporaryDirectory() as tmp:
            ipadic = os.path.join(tmp, "ipadic")
            os.mkdir(ipadic)
            with open(os.path.join(ipadic, "Fixture.csv"), "w", encoding="euc_jp") as f:
                f.write("\n".join(FIXTURE_IPADIC) + "\n")
            with open(os.path.join(ipadic, "notes.txt"), "w") as f:
                f.write("not a lexicon\n")
            edict = os.path.join(tmp, "edict")
            with open(edict, "w", encoding="euc_jp") as f:
                f.write("\u3000？？？ /EDICT header/\n" + "\n".join(FIXTURE_EDICT) + "\n")
            out = os.path.join(tmp, "out")
            dictgen.main(["--ipadic", ipadic, "--edict", edict, "--out", out,
                          "--preferred", os.path.join(tmp, "none.txt"),
                          "--counters", os.path.join(tmp, "none.txt")])
            with open(os.path.join(out, "small_table.txt"), "rb") as f:
                small = f.read().decode("utf-16-le")
            self.assertTrue(small.startswith("\ufeff4\n"))
            self.assertIn("\n人:_ひと_.", small)
            self.assertIn("\n故郷:_こきょう_._ふるさと_._こきょうを.", small)
            with open(os.path.join(out, "large_table.txt"), "rb") as f:
                large = f.read().decode("utf-16-le")
            words = [line.split(":")[0] for line in large.split("\n")[1:-1]]
            self.assertEqual(int(large[1:large.index("\n")]), len(words))
            self.assertEqual(words, sorted(words, key=dictgen.utf16_key))
            self.assertTrue(all(dictgen.is_kanji(c) for w in words for c in w))
            self.assertFalse(os.path.exists(os.path.join(out, "large_table.lzma")))
            with open(os.path.join(out, "conjugation_table.txt"), "rb") as f:
                self.assertEqual(f.read(), dictgen.conjugation_table_bytes())


    def test_a_missing_source_is_a_clear_error(self):
        script = os.path.join(os.path.dirname(dictgen.__file__), "dictgen.py")
        with tempfile.TemporaryDirectory() as tmp:
            run = subprocess.run([sys.executable, script, "--ipadic", os.path.join(tmp, "none"),
                                  "--out", os.path.join(tmp, "out")],
                                 capture_output=True, text=True)
            self.assertEqual(run.returncode, 1)
            self.assertIn("dictgen: ", run.stderr)
            self.assertIn("none", run.stderr)
            self.assertNotIn("Traceback", run.stderr)
            self.assertFalse(os.path.exists(os.path.join(tmp, "out")))


if __name__ == "__main__":
    unittest.main()
