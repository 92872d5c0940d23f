#!/usr/bin/env python3
"""Compiles pairs of resource scripts with a real resource compiler and compares
the resources they give, language identifiers aside.

usage: compare_compiled.py TOOLS_DIR MANIFEST RESULTS [JOBS]

MANIFEST has one pair a line: KEY <tab> FIRST.rc <tab> SECOND.rc [<tab> INCDIR;INCDIR...]
RESULTS gets one line a pair: KEY <tab> STATUS <tab> DETAIL, where STATUS is
same, differ (DETAIL: the first differing lines), first-fails (the first script
does not compile: nothing to compare) or second-fails (DETAIL: the compiler's
first error line).
"""
import concurrent.futures
import contextlib
import difflib
import io
import os
import sys
import tempfile


def setup(tools):
    sys.path.insert(0, tools)
    import rcc  # noqa: F401
    import resdump
    resdump.OPT['L'] = True


def dump(res):
    import resdump
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        resdump.main(['resdump.py', '-L', res])
    return out.getvalue().splitlines()


def compile_and_dump(script, incdirs, res):
    import rcc
    rc, _, err, _ = rcc.compile_rc(script, 'windres', 'auto', res, incdirs=incdirs)
    if rc != 0:
        first = next((line for line in err.splitlines() if line.strip()), 'no output')
        return None, first
    return dump(res), ''


def compare(item):
    key, first, second, incdirs = item
    with tempfile.TemporaryDirectory(prefix='qln-cmp-') as tmp:
        a, _ = compile_and_dump(first, incdirs, os.path.join(tmp, 'a.res'))
        if a is None:
            return key, 'first-fails', ''
        b, err = compile_and_dump(second, incdirs, os.path.join(tmp, 'b.res'))
        if b is None:
            return key, 'second-fails', err
    if a == b:
        return key, 'same', ''
    diff = [line for line in difflib.unified_diff(a, b, lineterm='', n=0) if not line.startswith(('---', '+++', '@@'))]
    return key, 'differ', ' | '.join(diff[:4])


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    tools, manifest, results = argv[1], argv[2], argv[3]
    jobs = int(argv[4]) if len(argv) > 4 else 2
    items = []
    with open(manifest, encoding='utf-8') as f:
        for line in f:
            parts = line.rstrip('\n').split('\t')
            if len(parts) >= 3:
                incdirs = [d for d in parts[3].split(';') if d] if len(parts) > 3 else []
                items.append((parts[0], parts[1], parts[2], incdirs))
    with concurrent.futures.ProcessPoolExecutor(max_workers=jobs, initializer=setup, initargs=(tools,)) as pool:
        done = list(pool.map(compare, items, chunksize=4))
    with open(results, 'w', encoding='utf-8') as f:
        for key, status, detail in done:
            f.write('%s\t%s\t%s\n' % (key, status, detail.replace('\t', ' ').replace('\n', ' ')))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
