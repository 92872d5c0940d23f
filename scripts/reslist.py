#!/usr/bin/env python3
"""Lists the resources of a compiled 32-bit resource file (.res): one line per
resource with its type, name, language and size, sorted, then a count per type.

usage: reslist.py FILE.res
exit status: 0 listed, 1 the file is not a well-formed .res file, 2 usage"""
import struct
import sys

TYPE_NAMES = {
    1: 'CURSOR', 2: 'BITMAP', 3: 'ICON', 4: 'MENU', 5: 'DIALOG', 6: 'STRING',
    7: 'FONTDIR', 8: 'FONT', 9: 'ACCELERATOR', 10: 'RCDATA', 11: 'MESSAGETABLE',
    12: 'GROUP_CURSOR', 14: 'GROUP_ICON', 16: 'VERSION', 17: 'DLGINCLUDE',
    19: 'PLUGPLAY', 20: 'VXD', 21: 'ANICURSOR', 22: 'ANIICON', 23: 'HTML', 24: 'MANIFEST',
}


class BadFile(Exception):
    pass


def read_id(data, pos, end):
    """A type or name field: 0xFFFF and a number, or a NUL-terminated UTF-16 string."""
    if pos + 4 > end:
        raise BadFile('header too short at offset %d' % pos)
    if struct.unpack_from('<H', data, pos)[0] == 0xFFFF:
        return struct.unpack_from('<H', data, pos + 2)[0], pos + 4
    stop = pos
    while stop + 2 <= end and data[stop:stop + 2] != b'\0\0':
        stop += 2
    if stop + 2 > end:
        raise BadFile('unterminated name at offset %d' % pos)
    return '"%s"' % data[pos:stop].decode('utf-16-le', 'replace'), stop + 2


def resources(data):
    """Yields (type, name, language, size) for every entry but the leading empty one."""
    pos = 0
    while pos < len(data):
        if pos + 8 > len(data):
            raise BadFile('truncated entry at offset %d' % pos)
        size, header = struct.unpack_from('<II', data, pos)
        end = pos + header
        if header < 32 or end + size > len(data):
            raise BadFile('entry at offset %d runs past the end of the file' % pos)
        rtype, p = read_id(data, pos + 8, end)
        name, p = read_id(data, p, end)
        p += -p % 4
        if p + 16 > end:
            raise BadFile('header too short at offset %d' % pos)
        language = struct.unpack_from('<H', data, p + 6)[0]
        if not (rtype == 0 and name == 0 and size == 0):
            yield TYPE_NAMES.get(rtype, rtype), name, language, size
        pos = end + size
        pos += -pos % 4


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(argv[1], 'rb') as f:
            data = f.read()
        listed = list(resources(data))
    except (OSError, BadFile) as e:
        sys.stderr.write('reslist: %s: %s\n' % (argv[1], e))
        return 1
    # Sorted, so that the listings of two compilers can be compared line by line.
    listed.sort(key=lambda r: (str(r[0]), (0, r[1], '') if isinstance(r[1], int) else (1, 0, r[1]), r[2]))
    counts = {}
    for rtype, name, language, size in listed:
        print('%-12s %-10s lang=%04x %6d bytes' % (rtype, name, language, size))
        counts[rtype] = counts.get(rtype, 0) + 1
    print('%d resources: %s' % (len(listed), ', '.join('%s %d' % (t, n) for t, n in counts.items())))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
