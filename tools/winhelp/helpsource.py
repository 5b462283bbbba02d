"""Reads a help source (.help) into topics, refusing what a WinHelp file cannot hold.

The source is plain text. Lines starting with '#' are comments. Before the first topic come the file's
fields "title:", "copyright:" and "contents:" (the context string of the contents topic). A topic starts
with "topic: CONTEXT", followed by its fields ("title:" once, "map:" at most once, "keyword:" any number
of times) up to the first blank line; then come its paragraphs, separated by blank lines. Lines of one
paragraph are joined with a space. *Text between asterisks* is bold.
"""

import re
from dataclasses import dataclass, field

CONTEXT_CHARACTERS = re.compile(r"[0-9A-Za-z._]+")


class SourceError(Exception):
    """Bad input, with the place it was found."""

    def __init__(self, where, message):
        super().__init__(f"{where}: {message}")


@dataclass
class Topic:
    context: str
    line: int
    title: str = ""
    map_number: int | None = None
    keywords: list[str] = field(default_factory=list)
    paragraphs: list[list[tuple[str, bool]]] = field(default_factory=list)  # runs of (text, bold)


@dataclass
class HelpSource:
    title: str = ""
    copyright: str = ""
    contents: str = ""
    topics: list[Topic] = field(default_factory=list)


def context_hash(context):
    """The WinHelp hash of a context string, as an unsigned 32-bit value."""
    value = 0
    for c in context.upper():
        if c.isdigit():
            code = 10 if c == "0" else int(c)
        elif c == ".":
            code = 12
        elif c == "_":
            code = 13
        else:
            code = ord(c) - ord("A") + 17
        value = (value * 43 + code) & 0xFFFFFFFF
    return value


def signed32(value):
    return value - (1 << 32) if value & 0x80000000 else value


def parse(text, name="<source>"):
    source = HelpSource()
    topic = None
    in_fields = True
    paragraph = []  # (line number, text) of the paragraph being read

    def end_paragraph():
        if paragraph:
            topic.paragraphs.append(_runs(" ".join(t for _, t in paragraph), f"{name}:{paragraph[0][0]}"))
            paragraph.clear()

    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        where = f"{name}:{number}"
        if line.startswith("#"):
            continue
        key, _, value = line.partition(":")
        key, value = key.strip().lower(), value.strip()
        if key == "topic":
            if topic:
                end_paragraph()
            topic = Topic(context=_check_context(value, where), line=number)
            source.topics.append(topic)
            in_fields = True
        elif not line:
            if topic:
                end_paragraph()
                in_fields = False
        elif in_fields:
            _set_field(source, topic, key, value, where)
        else:
            paragraph.append((number, line))
    if topic:
        end_paragraph()
    _check_whole(source, name)
    return source


def _set_field(source, topic, key, value, where):
    if topic is None:
        if key not in ("title", "copyright", "contents"):
            raise SourceError(where, f"unknown file field '{key}' (title, copyright, contents)")
        setattr(source, key, _check_context(value, where) if key == "contents" else value)
    elif key == "title":
        topic.title = value
    elif key == "map":
        if topic.map_number is not None:
            raise SourceError(where, f"topic {topic.context} has a second map number")
        if not re.fullmatch(r"[0-9]+", value) or int(value) > 0x7FFFFFFF:
            raise SourceError(where, f"map number '{value}' is not a whole number from 0 to 2147483647")
        topic.map_number = int(value)
    elif key == "keyword":
        if not value:
            raise SourceError(where, "empty keyword")
        topic.keywords.append(value)
    else:
        raise SourceError(where, f"unknown topic field '{key}' (title, map, keyword)")


def _check_context(context, where):
    if not CONTEXT_CHARACTERS.fullmatch(context):
        bad = next((c for c in context if not CONTEXT_CHARACTERS.fullmatch(c)), None)
        what = "is empty" if bad is None else f"has the illegal character {bad!r}"
        raise SourceError(where, f"context string '{context}' {what} (allowed: A-Z a-z 0-9 . _)")
    return context


def _runs(text, where):
    parts = text.split("*")
    if len(parts) % 2 == 0:
        raise SourceError(where, "a bold run (*...*) is not closed")
    return [(part, i % 2 == 1) for i, part in enumerate(parts) if part]


def _check_whole(source, name):
    if not source.topics:
        raise SourceError(name, "no topics")
    by_hash, by_number = {}, {}
    for topic in source.topics:
        where = f"{name}:{topic.line}"
        if not topic.title:
            raise SourceError(where, f"topic {topic.context} has no title")
        first = by_hash.setdefault(context_hash(topic.context), topic)
        if first is not topic:
            raise SourceError(where, f"context {topic.context} has the same hash as {first.context} (line "
                                     f"{first.line}); context strings must differ, also ignoring case")
        if topic.map_number is not None:
            first = by_number.setdefault(topic.map_number, topic)
            if first is not topic:
                raise SourceError(where, f"map number {topic.map_number} of {topic.context} is already "
                                         f"used by {first.context} (line {first.line})")
    if context_hash(source.contents) not in by_hash:
        raise SourceError(name, f"the contents topic '{source.contents}' is not a topic of this file")
