"""The help checker fails on what would leave a user without help: a registered control without
a text, a registered dialog without a topic, a text for an id its dialog does not register, a
topic left out of the contents, a character code page 1250 cannot hold. The real sources pass,
and their stage holds the popup texts and topics the program asks for by number."""
import shutil
import tempfile
import unittest
from pathlib import Path

import make_help

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
RESOURCE_H = ROOT / "res" / "resource.h"
TABLE = ROOT / "pages" / "shared" / "context_help_ids.inc"


class HelpSources(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        shutil.copytree(HERE / "topics", self.dir / "topics")
        for name in ("contents.hhc", "index.hhk"):
            shutil.copy(HERE / name, self.dir / name)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def edit(self, name, old, new):
        path = self.dir / name
        text = path.read_text(encoding="utf-8")
        self.assertIn(old, text)
        path.write_text(text.replace(old, new, 1), encoding="utf-8")

    def problems(self):
        with self.assertRaises(make_help.HelpError) as caught:
            make_help.check(RESOURCE_H, TABLE, self.dir)
        return str(caught.exception)

    def test_the_sources_pass(self):
        _, table, topics, _ = make_help.check(RESOURCE_H, TABLE, HERE)
        self.assertEqual(len(table), 19)
        self.assertEqual(len(topics), 20)

    def test_a_control_without_a_text_fails(self):
        self.edit("topics/papier.htm", '<dt data-ids="IDC_MEDIA_TYPE">', "<dt>")
        self.assertIn("IDC_MEDIA_TYPE (1022) of IDD_PAPER has no help text in papier.htm",
                      self.problems())

    def test_an_empty_text_fails(self):
        path = self.dir / "topics" / "pisma.htm"
        text = path.read_text(encoding="utf-8")
        start = text.index('<dt data-ids="IDC_FONT_SUBSTITUTE">')
        dd = text.index("<dd>", start)
        path.write_text(text[:dd] + "<dd> </dd>" + text[text.index("</dd>", dd) + 5:],
                        encoding="utf-8")
        self.assertIn("IDC_FONT_SUBSTITUTE (1122) of IDD_FONTS has no help text", self.problems())

    def test_a_dialog_without_a_topic_fails(self):
        (self.dir / "topics" / "poltony.htm").unlink()
        self.edit("contents.hhc", '"poltony.htm"', '"volby-grafiky.htm"')
        self.assertIn("IDD_HALFTONE (119) has no topic", self.problems())

    def test_a_text_for_another_dialogs_control_fails(self):
        self.edit("topics/poltony.htm", 'data-ids="IDC_HALFTONE_TEXT"',
                  'data-ids="IDC_HALFTONE_TEXT IDC_PAPER_SIZE"')
        self.assertIn("poltony.htm: IDC_PAPER_SIZE is not a context id of IDD_HALFTONE",
                      self.problems())

    def test_a_topic_missing_from_the_contents_fails(self):
        self.edit("contents.hhc", '"pisma.htm"', '"uvod.htm"')
        self.assertIn("pisma.htm is missing from contents.hhc", self.problems())

    def test_a_character_outside_code_page_1250_fails(self):
        self.edit("topics/uvod.htm", "<h2>Stránky</h2>", "<h2>Stránky ✓</h2>")
        self.assertIn("uvod.htm: not in code page 1250", self.problems())


class HelpStage(unittest.TestCase):
    def test_topics_by_number_and_a_text_for_every_control(self):
        with tempfile.TemporaryDirectory() as stage:
            topics, controls = make_help.stage(RESOURCE_H, TABLE, HERE, stage)
            out = Path(stage)
            self.assertEqual((topics, controls), (20, 186))
            popups = (out / "cshelp.txt").read_bytes().decode("cp1250")
            self.assertEqual(popups.count(".topic "), controls)
            self.assertIn(".topic 1022\nDruh papiera", popups)
            layout = (out / "103.htm").read_bytes().decode("cp1250")
            self.assertIn("charset=windows-1250", layout)
            self.assertIn('<a name="c1000"></a>', layout)
            self.assertIn('href="104.htm"', layout)  # the link to the Paper page, renumbered
            project = (out / "vela40ps.hhp").read_bytes().decode("cp1250")
            self.assertIn("Language=0x41b", project)
            self.assertIn("\r\n103.htm\r\n", project)
            self.assertNotIn("[ALIAS]", project)


if __name__ == "__main__":
    unittest.main()
