"""Reads a WinHelp 4.0 file the way a viewer does and checks its structure on the way.

Written from the format's description, apart from the writer, so that a fault in the writer shows up as
a mismatch here. Every check raises FormatError with what was wrong.
"""

import struct
from dataclasses import dataclass, field

BLOCK_SIZE = 4096
BLOCK_HEADER = 12


class FormatError(Exception):
    pass


def check(condition, message):
    if not condition:
        raise FormatError(message)


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def i16(data, at):
    return struct.unpack_from("<h", data, at)[0]


def i32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def cstring(data, at):
    end = data.index(b"\0", at)
    return data[at:end], end + 1


# Compressed numbers: the low bit of the first byte says whether the short or the long form follows.
def fetch_ushort(data, at):
    return (u16(data, at) // 2, at + 2) if data[at] & 1 else (data[at] // 2, at + 1)


def fetch_short(data, at):
    return ((u16(data, at) - 0x8000) // 2, at + 2) if data[at] & 1 else ((data[at] - 0x80) // 2, at + 1)


def fetch_long(data, at):
    return ((u32(data, at) - 0x80000000) // 2, at + 4) if data[at] & 1 else ((u16(data, at) - 0x8000) // 2, at + 2)


@dataclass
class Tree:
    page_size: int
    levels: int
    root: int
    entries: list  # leaf entries in leaf-chain order, each a tuple whose first item is the sort key
    leaf_pages: dict  # page number -> the entries it holds
    data: bytes
    parse_key: object

    def leaf_for(self, key):
        """The leaf page that a walk from the root, as a viewer makes it, reaches for this key."""
        page = self.root
        for _ in range(self.levels - 1):
            start = 38 + page * self.page_size
            count, child, at = i16(self.data, start + 2), u16(self.data, start + 4), start + 6
            for _ in range(count):
                entry_key, at = self.parse_key(self.data, at)
                if entry_key > key:
                    break
                child, at = u16(self.data, at), at + 2
            page = child
        return page

    def search(self, key):
        return next((e for e in self.leaf_pages.get(self.leaf_for(key), []) if e[0] == key), None)


def read_tree(data, name, parse_entry, parse_key):
    """A B+ tree: header, leaf chain in key order, index pages that route every key to its leaf."""
    check(len(data) >= 38 and u16(data, 0) == 0x293B, f"{name}: no B+ tree header")
    page_size, root, pages, levels, total = u16(data, 4), u16(data, 26), u16(data, 30), u16(data, 32), i32(data, 34)
    check(len(data) == 38 + pages * page_size, f"{name}: {len(data)} bytes for {pages} pages of {page_size}")
    check(root < pages and levels >= 1, f"{name}: root page {root} of {pages}, {levels} levels")
    page = root
    for _ in range(levels - 1):
        page = u16(data, 38 + page * page_size + 4)
    entries, leaf_pages, previous = [], {}, -1
    while page != 0xFFFF:
        check(page < pages and page not in leaf_pages, f"{name}: leaf chain goes to page {page}")
        start = 38 + page * page_size
        check(i16(data, start + 4) == previous, f"{name}: page {page} does not point back to {previous}")
        at, held = start + 8, []
        for _ in range(i16(data, start + 2)):
            entry, at = parse_entry(data, at)
            held.append(entry)
        check(at <= start + page_size, f"{name}: page {page} overflows")
        check(u16(data, start) == start + page_size - at, f"{name}: page {page} misstates its free bytes")
        leaf_pages[page] = held
        entries += held
        previous, page = page, u16(data, start + 6)
    check(len(entries) == total, f"{name}: {len(entries)} entries, header says {total}")
    keys = [e[0] for e in entries]
    check(keys == sorted(keys) and len(set(keys)) == len(keys), f"{name}: keys out of order or repeated")
    tree = Tree(page_size, levels, root, entries, leaf_pages, data, parse_key)
    for key in keys:
        check(tree.search(key) is not None, f"{name}: the index does not lead to key {key!r}")
    return tree


def directory_entry(data, at):
    name, at = cstring(data, at)
    return (name, i32(data, at)), at + 4


def directory_key(data, at):
    name, at = cstring(data, at)
    return name, at


def context_entry(data, at):
    return (i32(data, at), i32(data, at + 4)), at + 8


def context_key(data, at):
    return i32(data, at), at + 4


def title_entry(data, at):
    title, end = cstring(data, at + 4)
    return (i32(data, at), title), end


def title_key(data, at):
    return i32(data, at), at + 4


def keyword_entry(data, at):
    keyword, at = cstring(data, at)
    return (keyword.lower(), keyword, u16(data, at), i32(data, at + 2)), at + 6


def keyword_key(data, at):
    keyword, at = cstring(data, at)
    return keyword.lower(), at


@dataclass
class Page:
    title: bytes
    position: int
    offset: int
    paragraphs: list = field(default_factory=list)  # each a list of (text, font number) runs


@dataclass
class HelpFile:
    files: dict
    title: bytes
    copyright: bytes
    contents_offset: int
    fonts: list
    pages: list
    context: Tree
    map: list
    titles: Tree
    keywords: Tree
    keyword_data: list
    keyword_map: list

    def page_at(self, offset):
        found = [p for p in self.pages if p.offset == offset]
        check(len(found) == 1, f"{len(found)} topics at offset {offset:#x}")
        return found[0]

    def page_for_number(self, number):
        offsets = [o for n, o in self.map if n == number]
        check(len(offsets) == 1, f"map number {number} appears {len(offsets)} times")
        return self.page_at(offsets[0])

    def page_for_hash(self, value):
        entry = self.context.search(value)
        check(entry is not None, f"no context with hash {value}")
        return self.page_at(entry[1])

    def pages_for_keyword(self, keyword):
        entry = self.keywords.search(keyword.encode("cp1252").lower())
        check(entry is not None, f"no keyword {keyword!r}")
        _, _, count, at = entry
        check(at % 4 == 0 and at // 4 + count <= len(self.keyword_data), f"keyword {keyword!r} points outside |KWDATA")
        return [self.page_at(o) for o in self.keyword_data[at // 4:at // 4 + count]]


def read(data):
    files = read_container(data)
    for name in ("|SYSTEM", "|FONT", "|TOPIC", "|CONTEXT", "|CTXOMAP", "|TTLBTREE", "|KWBTREE", "|KWDATA", "|KWMAP"):
        check(name.encode() in files, f"no internal file {name}")
    title, copyright_, contents = read_system(files[b"|SYSTEM"])
    fonts = read_fonts(files[b"|FONT"])
    pages = read_topics(files[b"|TOPIC"], len(fonts))
    ctxomap = files[b"|CTXOMAP"]
    count = u16(ctxomap, 0)
    check(len(ctxomap) == 2 + 8 * count, "|CTXOMAP size does not match its count")
    numbers = [struct.unpack_from("<ii", ctxomap, 2 + 8 * i) for i in range(count)]
    check(numbers == sorted(numbers), "|CTXOMAP is not in number order")
    kwdata = files[b"|KWDATA"]
    check(len(kwdata) % 4 == 0, "|KWDATA is not a list of topic offsets")
    helpfile = HelpFile(files, title, copyright_, contents, fonts, pages,
                        read_tree(files[b"|CONTEXT"], "|CONTEXT", context_entry, context_key), numbers,
                        read_tree(files[b"|TTLBTREE"], "|TTLBTREE", title_entry, title_key),
                        read_tree(files[b"|KWBTREE"], "|KWBTREE", keyword_entry, keyword_key),
                        [i32(kwdata, at) for at in range(0, len(kwdata), 4)], read_keyword_map(files[b"|KWMAP"]))
    check(helpfile.keyword_map == [(first, page) for first, page in _leaf_firsts(helpfile.keywords)],
          "|KWMAP does not list the keyword leaf pages")
    # Every topic offset that a table holds must be where a topic starts.
    for offset in ([contents] + [o for _, o in helpfile.context.entries] + [o for _, o in numbers]
                   + [o for o, _ in helpfile.titles.entries] + helpfile.keyword_data):
        helpfile.page_at(offset)
    return helpfile


def _leaf_firsts(tree):
    first, result = 0, []
    for page, held in tree.leaf_pages.items():  # in chain order
        result.append((first, page))
        first += len(held)
    return result


def read_container(data):
    check(len(data) >= 16 and u32(data, 0) == 0x00035F3F, "not a WinHelp file")
    directory_start, size = i32(data, 4), i32(data, 12)
    check(size == len(data), f"header says {size} bytes, file has {len(data)}")
    directory = internal_file(data, directory_start, "directory")
    tree = read_tree(directory, "directory", directory_entry, directory_key)
    files, spans = {}, [(directory_start, directory_start + 9 + len(directory))]
    for name, start in tree.entries:
        files[name] = internal_file(data, start, name.decode())
        spans.append((start, start + 9 + len(files[name])))
    spans.sort()
    check(spans[0][0] >= 16 and all(a[1] <= b[0] for a, b in zip(spans, spans[1:])), "internal files overlap")
    return files


def internal_file(data, start, name):
    check(16 <= start and start + 9 <= len(data), f"{name} starts outside the file")
    reserved, used = i32(data, start), i32(data, start + 4)
    check(reserved == used + 9 and start + reserved <= len(data), f"{name}: reserved {reserved}, used {used}")
    return data[start + 9:start + reserved]


def read_system(data):
    magic, minor, major, _, flags = struct.unpack_from("<HHHiH", data, 0)
    check((magic, major, minor, flags) == (0x036C, 1, 33, 0), "|SYSTEM is not an uncompressed 4.0 header")
    records, at = {}, 12
    while at < len(data):
        kind, size = u16(data, at), u16(data, at + 2)
        check(at + 4 + size <= len(data) and kind not in records, f"|SYSTEM record {kind} is damaged or repeated")
        records[kind], at = data[at + 4:at + 4 + size], at + 4 + size
    check(all(k in records for k in (1, 2, 3)) and len(records[3]) == 4, "|SYSTEM lacks title, copyright or contents")
    return cstring(records[1], 0)[0], cstring(records[2], 0)[0], i32(records[3], 0)


def read_fonts(data):
    faces, count, face_at, descriptor_at = struct.unpack_from("<HHHH", data, 0)
    check(face_at == 8 and descriptor_at == 8 + 32 * faces and len(data) == descriptor_at + 11 * count,
          "|FONT is not in the old layout")
    fonts = []
    for i in range(count):
        attributes, half_points, _, face = struct.unpack_from("<BBBH", data, descriptor_at + 11 * i)
        check(face < faces, f"font {i} names face {face} of {faces}")
        fonts.append((attributes, half_points, cstring(data, face_at + 32 * face)[0]))
    return fonts


def read_keyword_map(data):
    count = u16(data, 0)
    check(len(data) == 2 + 6 * count, "|KWMAP size does not match its count")
    return [struct.unpack_from("<iH", data, 2 + 6 * i) for i in range(count)]


def read_topics(data, font_count):
    """Walks the record chain from its first record, checking links and block headers, and recomputes each
    topic's offset from the text lengths before it in its block."""
    check(len(data) % BLOCK_SIZE == 0 and data, "|TOPIC is not made of whole blocks")
    blocks = [data[b:b + BLOCK_SIZE] for b in range(0, len(data), BLOCK_SIZE)]
    pages, position, previous, characters, block_seen, headers = [], BLOCK_HEADER, -1, 0, -1, []
    firsts, lasts = {}, {}
    while position != -1:
        block, at = (position - BLOCK_HEADER) >> 14, (position - BLOCK_HEADER) & 0x3FFF
        check(block < len(blocks) and block >= block_seen, f"record at {position:#x} is out of order")
        if block != block_seen:
            firsts[block], characters, block_seen = position, 0, block
        lasts[block] = position
        raw = blocks[block][BLOCK_HEADER:]
        size, length2, back, following, length1, kind = struct.unpack_from("<iiiiiB", raw, at)
        check(at + size <= len(raw) and size == length1 + length2 and length1 >= 21,
              f"record at {position:#x} has sizes {size}/{length1}/{length2} or crosses its block")
        check(back == previous, f"record at {position:#x} points back to {back:#x}, not {previous:#x}")
        data1, data2 = raw[at + 21:at + length1], raw[at + length1:at + size]
        if kind == 0x02:
            check(len(data1) == 28, f"topic header at {position:#x} has {len(data1)} bytes")
            headers.append((position, struct.unpack_from("<iiiiiii", data1)))
            pages.append(Page(cstring(data2, 0)[0], position, 0x8000 * block + characters))
        else:
            check(kind == 0x20 and pages, f"record at {position:#x} of type {kind:#x} before any topic")
            paragraph, length = read_text(data1, data2, font_count, position)
            pages[-1].paragraphs.append(paragraph)
            characters += length
        previous, position = position, following
    check(pages[0].position == BLOCK_HEADER, "the chain does not start with a topic header")
    check(not pages[-1].title and not pages[-1].paragraphs, "the chain does not end with an empty topic")
    for number, (position, (_, _, _, topic_number, _, scroll, next_topic)) in enumerate(headers):
        expected_next = headers[number + 1][0] if number + 1 < len(headers) else -1
        check(topic_number == number and next_topic == expected_next, f"topic header at {position:#x} is miswired")
    for number, block in enumerate(blocks):
        last_link, first_link, _ = struct.unpack_from("<iii", block, 0)
        check(first_link == firsts.get(number) and last_link == lasts.get(number - 1, -1),
              f"block {number} header does not point at its records")
    return pages


def read_text(data1, data2, font_count, position):
    size, at = fetch_long(data1, 0)
    length, at = fetch_ushort(data1, at)
    check(size == length == len(data2), f"paragraph at {position:#x} states {size} bytes and {length} "
                                        f"characters for {len(data2)}")
    check(data1[at:at + 2] == b"\x00\x80", f"paragraph at {position:#x} lacks its marker")
    bits = u16(data1, at + 4)
    at += 6
    check(bits & ~0x0006 == 0, f"paragraph at {position:#x} has unexpected settings {bits:#x}")
    for bit in (0x0002, 0x0004):
        if bits & bit:
            _, at = fetch_short(data1, at)
    strings = data2.split(b"\0")
    check(strings[-1] == b"", f"paragraph at {position:#x} text is not terminated")
    runs, font, index = [], None, 0
    while True:
        text, command = strings[index], data1[at]
        if text:
            check(font is not None, f"paragraph at {position:#x} has text before a font")
            runs.append((text, font))
        index += 1
        if command == 0xFF:
            break
        if command == 0x80:
            font, at = u16(data1, at + 1), at + 3
            check(font < font_count, f"paragraph at {position:#x} uses font {font} of {font_count}")
        else:
            check(command in (0x81, 0x82, 0x83), f"paragraph at {position:#x} has command {command:#x}")
            at += 1
    check(at + 1 == len(data1) and index == len(strings) - 1, f"paragraph at {position:#x} has data after its end")
    return runs, length
