"""Lays out a parsed help source as an uncompressed WinHelp 4.0 file (.hlp).

The file is a 16-byte header, then internal files, each a 9-byte header and its data, and last the
directory of internal files. All numbers are little-endian. The parts:
- |SYSTEM: version 1.33, no compression, with the title, copyright and contents topic;
- |FONT: the three fonts the text uses;
- |TOPIC: 4096-byte blocks of linked records, a topic header then one text record per paragraph. A
  record never crosses a block, so each record stays readable alone and a paragraph is limited to a block;
- |CONTEXT (hash of each context string to its topic), |CTXOMAP (map numbers to topics), |TTLBTREE
  (titles), |KWBTREE with |KWDATA and |KWMAP (keywords): B+ trees of as many pages as they need.
Two addresses are in use: a record's position (0x4000 per block, plus 12 plus its byte offset in the
block's data) and a topic's offset (0x8000 per block, plus the text length of the paragraphs before it in
the same block). The trees and the map name topics by offset, the record links by position.
"""

import struct

from helpsource import SourceError, context_hash, signed32

BLOCK_SIZE = 4096
BLOCK_HEADER = 12
BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER
LINK_HEADER = 21
TOPIC_HEADER_DATA = 28
RECORD_TOPIC_HEADER = 0x02
RECORD_TEXT = 0x20

NORMAL_FONT, BOLD_FONT, HEADING_FONT = 0, 1, 2
FACE_NAME = "Arial"
FACE_NAME_SIZE = 32
FAMILY_SWISS = 3
# (attributes: 1 bold, half-points) per font number.
FONTS = [(0, 20), (1, 20), (1, 26)]
BLACK, WHITE = b"\0\0\0", b"\xff\xff\xff"

PARAGRAPH_SPACE_ABOVE = 0x0002
PARAGRAPH_SPACE_BELOW = 0x0004
SPACE_HALF_POINTS = 12


def compressed_ushort(value):
    return bytes([value * 2]) if value < 0x80 else struct.pack("<H", value * 2 + 1)


def compressed_short(value):
    return bytes([value * 2 + 0x80]) if -0x40 <= value < 0x40 else struct.pack("<H", value * 2 + 0x8001)


def compressed_long(value):
    if -0x4000 <= value < 0x4000:
        return struct.pack("<H", value * 2 + 0x8000)
    return struct.pack("<I", (value * 2 + 0x80000001) & 0xFFFFFFFF)


def encode(text, where):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as error:
        raise SourceError(where, f"{text[error.start]!r} is not a Windows-1252 character") from None


class Link:
    """One record of the topic chain: its type, its two data parts, and where it lands."""

    def __init__(self, record_type, data1, data2):
        self.record_type, self.data1, self.data2 = record_type, data1, data2
        self.position = self.block = self.offset = None

    @property
    def size(self):
        return LINK_HEADER + len(self.data1) + len(self.data2)


def text_link(runs, spacing_bit):
    """A paragraph: each run in its font, then the paragraph end. Strings and commands alternate."""
    commands, strings = b"", [b""]
    for text, font in runs:
        commands += b"\x80" + struct.pack("<H", font)
        strings.append(text)
    commands += b"\x82\xff"
    strings.append(b"")
    data2 = b"\0".join(strings) + b"\0"
    data1 = (compressed_long(len(data2)) + compressed_ushort(len(data2)) + b"\x00\x80"
             + struct.pack("<hH", 0, spacing_bit) + compressed_short(SPACE_HALF_POINTS) + commands)
    return Link(RECORD_TEXT, data1, data2)


def topic_header(title):
    return Link(RECORD_TOPIC_HEADER, bytes(TOPIC_HEADER_DATA), title + b"\0")


def topic_links(topic, where):
    """The header record (its data filled in once positions are known) and one record per paragraph."""
    header = topic_header(encode(topic.title, where))
    heading = text_link([(header.data2[:-1], HEADING_FONT)], PARAGRAPH_SPACE_BELOW)
    body = [text_link([(encode(text, where), BOLD_FONT if bold else NORMAL_FONT) for text, bold in runs],
                      PARAGRAPH_SPACE_ABOVE) for runs in topic.paragraphs]
    return [header, heading] + body


def place(links):
    """Gives each link its block and position; a link that does not fit the block's rest starts a new one."""
    block, used, characters = 0, 0, 0
    for link in links:
        if link.size > BLOCK_DATA:
            return link
        if used + link.size > BLOCK_DATA:
            block, used, characters = block + 1, 0, 0
        link.block, link.position = block, 0x4000 * block + BLOCK_HEADER + used
        link.offset = 0x8000 * block + characters
        used += link.size
        if link.record_type == RECORD_TEXT:
            characters += len(link.data2)
    return None


def topic_file(topics):
    """|TOPIC: the records of each topic in blocks, each block headed by where its records start."""
    chain = [link for links in topics for link in links]
    for number, links in enumerate(topics):
        following = topics[number + 1][0].position if number + 1 < len(topics) else -1
        scroll = links[1].position if len(links) > 1 else -1
        links[0].data1 = struct.pack("<iiiiiii", sum(link.size for link in links), -1, -1, number, -1, scroll,
                                     following)
    blocks = [bytearray() for _ in range(chain[-1].block + 1)]
    for i, link in enumerate(chain):
        previous = chain[i - 1].position if i else -1
        following = chain[i + 1].position if i + 1 < len(chain) else -1
        blocks[link.block] += struct.pack("<iiiiiB", link.size, len(link.data2), previous, following,
                                          LINK_HEADER + len(link.data1), link.record_type) + link.data1 + link.data2
    data = b""
    for number, block in enumerate(blocks):
        first = next(link for link in chain if link.block == number)
        last_link = max((link.position for link in chain if link.block < number), default=-1)
        last_header = max((links[0].position for links in topics if links[0].block < number), default=0)
        data += struct.pack("<iii", last_link, first.position, last_header) + block.ljust(BLOCK_DATA, b"\0")
    return data


def btree(name, leaf_entries, page_size=0x800, structure=b"", flags=0x0002):
    """A B+ tree of (key, entry) pairs in key order, built bottom-up. Returns the tree's bytes and the
    leaf pages as (number of the first entry, page number)."""
    pages, leaves, level = [], [], []
    page, first = [], 0
    for number, (key, entry) in enumerate(leaf_entries):
        if 8 + len(entry) > page_size:
            raise SourceError(name, f"an entry of {len(entry)} bytes does not fit a {page_size}-byte page")
        if page and 8 + sum(len(e) for _, e in page) + len(entry) > page_size:
            leaves.append((first, page))
            page, first = [], number
        page.append((key, entry))
    leaves.append((first, page))
    for n, (_, entries) in enumerate(leaves):
        body = b"".join(e for _, e in entries)
        pages.append(struct.pack("<HHhh", page_size - 8 - len(body), len(entries), n - 1 if n else -1,
                                 n + 1 if n + 1 < len(leaves) else -1) + body)
        level.append((entries[0][0] if entries else b"", n))
    levels = 1
    while len(level) > 1:
        upper, children = [], list(level)
        while children:
            below = children.pop(0)
            group = []
            while children and 6 + sum(len(k) + 2 for k, _ in group) + len(children[0][0]) + 2 <= page_size:
                group.append(children.pop(0))
            body = b"".join(key + struct.pack("<H", child) for key, child in group)
            upper.append((below[0], len(pages)))
            pages.append(struct.pack("<HHH", page_size - 6 - len(body), len(group), below[1]) + body)
        level, levels = upper, levels + 1
    header = struct.pack("<HHH16sHHHhHHi", 0x293B, flags, page_size, structure, 0, 0, len(pages) - 1, -1,
                         len(pages), levels, len(leaf_entries))
    return header + b"".join(p.ljust(page_size, b"\0") for p in pages), [(f, n) for n, (f, _) in enumerate(leaves)]


def system_file(source, contents_offset, generated):
    def record(kind, data):
        return struct.pack("<HH", kind, len(data)) + data
    return (struct.pack("<HHHiH", 0x036C, 33, 1, generated, 0)
            + record(1, encode(source.title, "title") + b"\0")
            + record(2, encode(source.copyright, "copyright") + b"\0")
            + record(3, struct.pack("<i", contents_offset))
            + record(11, b"\0"))


def font_file():
    faces = FACE_NAME.encode().ljust(FACE_NAME_SIZE, b"\0")
    descriptors = b"".join(struct.pack("<BBBH3s3s", attributes, half_points, FAMILY_SWISS, 0, BLACK, WHITE)
                           for attributes, half_points in FONTS)
    return struct.pack("<HHHH", 1, len(FONTS), 8, 8 + len(faces)) + faces + descriptors


def keyword_files(topics, offsets):
    """|KWBTREE, |KWDATA and |KWMAP: each keyword, without regard to case, with the topics that carry it."""
    by_keyword = {}
    for topic in topics:
        for keyword in topic.keywords:
            key = encode(keyword, f"keyword {keyword}")
            by_keyword.setdefault(key.lower(), (key, []))[1].append(offsets[topic.context])
    data, entries = b"", []
    for _, (key, topic_offsets) in sorted(by_keyword.items()):
        entries.append((key + b"\0", key + b"\0" + struct.pack("<Hi", len(topic_offsets), len(data))))
        data += b"".join(struct.pack("<i", o) for o in topic_offsets)
    tree, leaves = btree("|KWBTREE", entries, structure=b"F24")
    kwmap = struct.pack("<H", len(leaves)) + b"".join(struct.pack("<iH", first, page) for first, page in leaves)
    return {"|KWBTREE": tree, "|KWDATA": data, "|KWMAP": kwmap}


def build(source, generated=0, name="<source>"):
    topics = [topic_links(topic, f"{name}:{topic.line}") for topic in source.topics]
    # The chain ends with an empty topic header, as the help compilers write it.
    topics.append([topic_header(b"")])
    too_big = place([link for links in topics for link in links])
    if too_big:
        topic = next(t for t, links in zip(source.topics, topics) if too_big in links)
        raise SourceError(f"{name}:{topic.line}", f"topic {topic.context} has a paragraph of {too_big.size} bytes, "
                                                  f"more than a {BLOCK_DATA}-byte topic block holds")
    offsets = {topic.context: links[0].offset for topic, links in zip(source.topics, topics)}
    ordered_by_hash = sorted(source.topics, key=lambda t: signed32(context_hash(t.context)))
    mapped = sorted((t for t in source.topics if t.map_number is not None), key=lambda t: t.map_number)
    files = {
        "|SYSTEM": system_file(source, next(o for t, o in offsets.items()
                                            if context_hash(t) == context_hash(source.contents)), generated),
        "|FONT": font_file(),
        "|TOPIC": topic_file(topics),
        "|CONTEXT": btree("|CONTEXT", [(struct.pack("<I", context_hash(t.context)),
                                        struct.pack("<Ii", context_hash(t.context), offsets[t.context]))
                                       for t in ordered_by_hash], structure=b"L4")[0],
        "|CTXOMAP": struct.pack("<H", len(mapped)) + b"".join(struct.pack("<ii", t.map_number, offsets[t.context])
                                                             for t in mapped),
        "|TTLBTREE": btree("|TTLBTREE", [(struct.pack("<i", offsets[t.context]),
                                          struct.pack("<i", offsets[t.context]) + encode(t.title, t.context) + b"\0")
                                         for t in sorted(source.topics, key=lambda t: offsets[t.context])],
                           structure=b"Lz")[0],
        **keyword_files(source.topics, offsets),
    }
    return container(files)


def container(files):
    """The header, the internal files in name order, then the directory that points at them."""
    body, directory_entries = b"", []
    for name in sorted(files, key=lambda n: n.encode()):
        key = name.encode() + b"\0"
        directory_entries.append((key, key + struct.pack("<i", 16 + len(body))))
        body += struct.pack("<iiB", len(files[name]) + 9, len(files[name]), 0) + files[name]
    directory, _ = btree("directory", directory_entries, page_size=0x400, structure=b"z4", flags=0x0402)
    directory = struct.pack("<iiB", len(directory) + 9, len(directory), 4) + directory
    directory_start = 16 + len(body)
    return struct.pack("<Iiii", 0x00035F3F, directory_start, -1, directory_start + len(directory)) + body + directory
