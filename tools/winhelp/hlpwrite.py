#!/usr/bin/env python3
"""Writes a WinHelp file from a help source: hlpwrite.py SOURCE OUTPUT.

Bad input ends the run with a message naming the place and leaves OUTPUT as it was: the file is written
under a temporary name beside OUTPUT and renamed only when complete.
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import helpsource  # noqa: E402
import hlpfile  # noqa: E402


def write_atomically(path, data):
    folder = os.path.dirname(os.path.abspath(path))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".hlpwrite-")
    try:
        with os.fdopen(handle, "wb") as out:
            out.write(data)
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o666 & ~umask)  # as an ordinary new file, not the temporary file's 0600
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def main(arguments):
    if len(arguments) != 2:
        print("usage: hlpwrite.py SOURCE OUTPUT", file=sys.stderr)
        return 2
    source_path, output = arguments
    try:
        with open(source_path, encoding="utf-8") as f:
            source = helpsource.parse(f.read(), source_path)
        # The generation date is the source file's date.
        data = hlpfile.build(source, int(os.stat(source_path).st_mtime), source_path)
    except (helpsource.SourceError, OSError, UnicodeDecodeError) as error:
        print(f"hlpwrite: {error}", file=sys.stderr)
        return 1
    write_atomically(output, data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
