"""The help writer, checked through an independent reader of what it writes."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
WRITER = os.path.join(REPOSITORY, "tools", "winhelp", "hlpwrite.py")
SOURCE = os.path.join(REPOSITORY, "help", "orlo.help")
sys.path[:0] = [HERE, os.path.dirname(WRITER)]

import helpsource  # noqa: E402
import hlp_reader  # noqa: E402
import hlpfile  # noqa: E402
from helpsource import SourceError  # noqa: E402


def write(text):
    return hlp_reader.read(hlpfile.build(helpsource.parse(text)))


def source_text(topics, contents=None):
    """A source from (context, map number or None, title, [keywords], [paragraph texts])."""
    lines = ["title: Test", "copyright: none", f"contents: {contents or topics[0][0]}", ""]
    for context, number, title, keywords, paragraphs in topics:
        lines += [f"topic: {context}", f"title: {title}"]
        lines += [f"map: {number}"] if number is not None else []
        lines += [f"keyword: {k}" for k in keywords] + [""]
        for paragraph in paragraphs:
            lines += [paragraph, ""]
    return "\n".join(lines)


def plain(page):
    """A page's paragraphs after its heading, as text with the bold runs marked again."""
    return [b"".join(b"*" + t + b"*" if font == hlpfile.BOLD_FONT else t for t, font in runs).decode("cp1252")
            for runs in page.paragraphs[1:]]


class ProgramHelp(unittest.TestCase):
    """The program's own help file: every number and keyword the program uses reaches its topic."""

    @classmethod
    def setUpClass(cls):
        with open(SOURCE, encoding="utf-8") as f:
            cls.source = helpsource.parse(f.read(), SOURCE)
        cls.help = hlp_reader.read(hlpfile.build(cls.source))

    def test_every_number_the_program_uses_reaches_its_topic_with_its_text(self):
        by_number = {t.map_number: t for t in self.source.topics}
        for number in [50, 51, 522, 555] + list(range(552, 563)):
            with self.subTest(number=number):
                topic = by_number[number]
                page = self.help.page_for_number(number)
                self.assertEqual(page.title.decode(), topic.title)
                self.assertEqual(page.paragraphs[0], [(topic.title.encode(), hlpfile.HEADING_FONT)])
                self.assertEqual(plain(page), ["".join(f"*{t}*" if bold else t for t, bold in runs)
                                               for runs in topic.paragraphs])
                self.assertIs(self.help.page_for_hash(helpsource.signed32(helpsource.context_hash(topic.context))),
                              page)

    def test_keyword_555_and_contents_lead_to_the_click_action_and_the_control_panel(self):
        self.assertEqual(self.help.pages_for_keyword("555"), [self.help.page_for_number(555)])
        self.assertIs(self.help.page_at(self.help.contents_offset), self.help.page_for_number(51))
        self.assertEqual(self.help.title, b"Muralia Help")

    def test_every_topic_has_its_title_in_the_title_tree(self):
        titles = {offset: title for offset, title in self.help.titles.entries}
        self.assertEqual(sorted(titles.values()), sorted(t.title.encode() for t in self.source.topics))
        for offset, title in titles.items():
            self.assertEqual(self.help.page_at(offset).title, title)


class ContextHash(unittest.TestCase):
    def test_known_hashes_and_case(self):
        # Values that WinHelp's own hash gives for these strings.
        self.assertEqual(helpsource.context_hash("IDH_50"), 0xDF4017A5)
        self.assertEqual(helpsource.context_hash("IDH_522"), 0x7FC3F761)
        self.assertEqual(helpsource.context_hash("idh_522"), 0x7FC3F761)
        self.assertEqual(helpsource.context_hash("a.0_9"), ((((17 * 43 + 12) * 43 + 10) * 43 + 13) * 43 + 9))

    def test_context_tree_is_sorted_as_signed_numbers(self):
        # IDH_50 hashes above 2^31, so it sorts first only when the hashes are compared signed.
        help_file = write(source_text([("IDH_522", 522, "Second", [], ["b"]), ("IDH_50", 50, "First", [], ["a"])]))
        hashes = [h for h, _ in help_file.context.entries]
        self.assertEqual(hashes, [helpsource.signed32(0xDF4017A5), 0x7FC3F761])
        self.assertEqual(help_file.page_for_hash(hashes[0]).title, b"First")


class Layout(unittest.TestCase):
    def test_topic_longer_than_a_block_spans_blocks_and_later_topics_still_resolve(self):
        long_paragraphs = [f"Paragraph {i} " + "word " * 150 + f"*bold {i}*" for i in range(12)]
        help_file = write(source_text([("LONG", 1, "Long", [], long_paragraphs),
                                       ("AFTER", 2, "After", ["after"], ["Short text."])]))
        long_page, after = help_file.page_for_number(1), help_file.page_for_number(2)
        self.assertEqual(plain(long_page), long_paragraphs)
        self.assertGreaterEqual(len(help_file.files[b"|TOPIC"]) // hlp_reader.BLOCK_SIZE, 3)
        self.assertGreaterEqual(after.offset >> 15, 2, "the next topic starts in a later block")
        self.assertEqual(plain(after), ["Short text."])
        self.assertEqual(help_file.pages_for_keyword("AFTER"), [after])

    def test_large_source_gives_trees_of_several_pages_and_levels(self):
        count = 900
        topics = [(f"T{i:04}.x_{i % 7}", 1000 + i, f"Topic {i} " + "t" * 40, [f"keyword {i:04} " + "k" * 150],
                   [f"Text of topic {i}."]) for i in range(count)]
        help_file = write(source_text(topics))
        for tree in (help_file.context, help_file.titles):
            self.assertGreater(len(tree.leaf_pages), 2)
            self.assertGreaterEqual(tree.levels, 2)
        self.assertGreaterEqual(help_file.keywords.levels, 3)
        self.assertEqual(len(help_file.keyword_map), len(help_file.keywords.leaf_pages))
        for i in range(0, count, 37):
            with self.subTest(topic=i):
                context, number, title, keywords, paragraphs = topics[i]
                page = help_file.page_for_number(number)
                self.assertEqual((page.title.decode(), plain(page)), (title, paragraphs))
                self.assertIs(help_file.page_for_hash(helpsource.signed32(helpsource.context_hash(context))), page)
                self.assertEqual(help_file.pages_for_keyword(keywords[0]), [page])

    def test_keyword_shared_by_topics_lists_each_of_them(self):
        help_file = write(source_text([("A", 1, "A", ["Shared"], ["a"]), ("B", 2, "B", ["shared"], ["b"])]))
        self.assertEqual([p.title for p in help_file.pages_for_keyword("shared")], [b"A", b"B"])


class Refusals(unittest.TestCase):
    def assertRefused(self, text, *fragments):
        with self.assertRaises(SourceError) as refused:
            hlpfile.build(helpsource.parse(text, "test.help"), name="test.help")
        for fragment in fragments:
            self.assertIn(fragment, str(refused.exception))

    def test_illegal_characters_in_context_strings(self):
        for context, bad in (("IDH-50", "'-'"), ("IDH 50", "' '"), ("IDH_\u00e950", "'\u00e9'")):
            with self.subTest(context=context):
                self.assertRefused(source_text([(context, 1, "T", [], ["x"])], contents="X"), "test.help:5",
                                   "illegal character", bad)
        self.assertRefused(source_text([("", 1, "T", [], ["x"])], contents="X"), "is empty")

    def test_duplicate_context_even_in_another_case(self):
        for second in ("IDH_A", "idh_a"):
            with self.subTest(second=second):
                self.assertRefused(source_text([("IDH_A", 1, "T", [], ["x"]), (second, 2, "U", [], ["y"])]),
                                   "test.help:11", f"context {second}", "IDH_A (line 5)")

    def test_duplicate_number(self):
        self.assertRefused(source_text([("A", 7, "T", [], ["x"]), ("B", 7, "U", [], ["y"])]),
                           "test.help:11", "map number 7 of B is already used by A (line 5)")

    def test_paragraph_too_large_for_a_block(self):
        self.assertRefused(source_text([("A", 1, "T", [], ["ok"]), ("BIG", 2, "U", [], ["x" * 5000])]),
                           "test.help:11", "topic BIG has a paragraph of", "4084-byte topic block")

    def test_other_bad_input(self):
        cases = [
            (source_text([("A", 1, "T", [], ["an *open bold run"])]), "not closed"),
            (source_text([("A", "x1", "T", [], ["x"])]), "map number 'x1'"),
            (source_text([("A", 1, "T", [], ["x"])], contents="B"), "contents topic 'B'"),
            (source_text([("A", 1, "", [], ["x"])]), "has no title"),
            (source_text([("A", 1, "T", [], ["\u20ac3 is fine, \u4e00 is not"])]), "'\u4e00' is not a Windows-1252"),
            ("title: t\nfont: x\n", "unknown file field 'font'"),
        ]
        for text, fragment in cases:
            with self.subTest(fragment=fragment):
                self.assertRefused(text, fragment)


class CommandLine(unittest.TestCase):
    """The build's command: a refusal names the place and leaves the earlier file whole."""

    def run_writer(self, text, folder):
        source = os.path.join(folder, "in.help")
        with open(source, "w", encoding="utf-8") as f:
            f.write(text)
        return subprocess.run([sys.executable, WRITER, source, os.path.join(folder, "out.hlp")],
                              capture_output=True, text=True)

    def test_refusal_keeps_the_earlier_output_and_leaves_no_temporary_file(self):
        with tempfile.TemporaryDirectory() as folder:
            good = self.run_writer(source_text([("A", 1, "T", [], ["x"])]), folder)
            self.assertEqual((good.returncode, good.stderr), (0, ""))
            with open(os.path.join(folder, "out.hlp"), "rb") as f:
                before = f.read()
            hlp_reader.read(before)
            bad = self.run_writer(source_text([("A", 1, "T", [], ["x"]), ("B", 1, "U", [], ["y"])]), folder)
            self.assertEqual(bad.returncode, 1)
            self.assertIn("in.help:11: map number 1", bad.stderr)
            with open(os.path.join(folder, "out.hlp"), "rb") as f:
                self.assertEqual(f.read(), before)
            self.assertEqual(sorted(os.listdir(folder)), ["in.help", "out.hlp"])


if __name__ == "__main__":
    unittest.main()
