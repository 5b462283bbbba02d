"""The built orlo.hlp in Wine's help viewer, asked through WinHelp as the program asks.

winhelp_call.exe makes the requests and marks each one on stderr; the viewer, started by WinHelp, writes
its trace to the same stream. A topic counts as shown when the viewer's trace has each run of its text,
in order, after the request. Wine's viewer shows no pop-up and ignores HELP_KEY, so for those the test
checks that the request reached it with the right file and number, and it checks the keyword through
the viewer's Index dialog. Needs HELP_FILE (the built file) and WINHELP_CALL (the request program).
"""

import os
import re
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPOSITORY, "tools", "winhelp"))

import helpsource  # noqa: E402

HELP_FILE = os.environ.get("HELP_FILE", os.path.join(REPOSITORY, "build", "orlo.hlp"))
WINHELP_CALL = os.environ.get("WINHELP_CALL", os.path.join(REPOSITORY, "build", "winhelp_call.exe"))
WINDOWS_PATH = "Z:" + os.path.abspath(HELP_FILE).replace("/", "\\")
TRACED_PATH = '"' + WINDOWS_PATH.replace("\\", "\\\\") + '"'
# Enough of each text run to tell the topics apart; the trace shortens long strings.
RUN_PREFIX = 60


def ask(*request):
    """Runs one winhelp_call request with the viewer's trace on; returns its exit status and the trace."""
    environment = dict(os.environ, WINEDEBUG="err+winhelp,fixme+winhelp,trace+winhelp")
    done = subprocess.run([os.path.join(REPOSITORY, "tools", "wine-run.sh"), WINHELP_CALL, WINDOWS_PATH, *request],
                          env=environment, capture_output=True, text=True, errors="replace", timeout=240)
    return done.returncode, done.stdout + done.stderr


def segments(trace):
    """The trace split at the request marks: {"context 50": text after that mark, ...}."""
    parts = re.split(r"^winhelp_call: (\w+ \w+)$", trace, flags=re.MULTILINE)
    return dict(zip(parts[1::2], parts[2::2]))


def traced_runs(topic):
    runs = [topic.title] + [text for paragraph in topic.paragraphs for text, _ in paragraph]
    return ['Got text: "' + run[:RUN_PREFIX].replace("\\", "\\\\").replace('"', '\\"') for run in runs]


class Viewer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        assert os.path.isfile(HELP_FILE), f"no help file at {HELP_FILE}"
        with open(os.path.join(REPOSITORY, "help", "orlo.help"), encoding="utf-8") as f:
            cls.topics = helpsource.parse(f.read()).topics

    def topic_numbered(self, number):
        return next(t for t in self.topics if t.map_number == number)

    def topic_with_keyword(self, keyword):
        return next(t for t in self.topics if keyword in t.keywords)

    def assertShows(self, segment, topic):
        at = 0
        for run in traced_runs(topic):
            found = segment.find(run, at)
            self.assertGreaterEqual(found, 0, f"{topic.context}: {run!r} not traced after the request")
            at = found + len(run)

    def assertClean(self, status, trace):
        self.assertEqual(status, 0, trace[-3000:])
        self.assertNotIn("err:winhelp", trace)
        self.assertNotIn("winhelp_call: failed", trace)

    def test_every_context_number_shows_its_topic(self):
        numbers = [50, 51, 522] + list(range(552, 563))
        status, trace = ask("context", *map(str, numbers))
        self.assertClean(status, trace)
        requests = segments(trace)
        for number in numbers:
            with self.subTest(number=number):
                segment = requests[f"context {number}"]
                self.assertIn(f"cmd=1 data={number:08x} fn={TRACED_PATH}", segment)
                self.assertShows(segment, self.topic_numbered(number))

    def test_popup_and_key_requests_reach_the_viewer_with_file_and_number(self):
        for request, expected in ((("popup", "552"), [f"cmd=8 data={552:08x} fn={TRACED_PATH}",
                                                      f"MACRO_PopupContext ({TRACED_PATH}, 552)"]),
                                  (("key", "555"), ["cmd=257 data=", f"fn={TRACED_PATH}",
                                                    "Unhandled command (101)"])):
            with self.subTest(request=request):
                status, trace = ask(*request)
                self.assertClean(status, trace)
                segment = segments(trace)[" ".join(request)]
                for text in expected:
                    self.assertIn(text, segment)

    def test_keyword_555_in_the_index_opens_the_click_action_topic(self):
        status, trace = ask("index", "555")
        self.assertClean(status, trace)
        segment = segments(trace)["index 555"]
        self.assertIn('Adding "555" to search list', segment)
        self.assertShows(segment, self.topic_with_keyword("555"))


if __name__ == "__main__":
    unittest.main()
