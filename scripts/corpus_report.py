#!/usr/bin/env python3
"""Corpus report: how qln40 fares on real scripts written by others.

usage: corpus_report.py QLN40 CORPUS TOOLS OUT [--language L] [--code-page CP] [--jobs N] [--revision R]

1. Every script (*.rc) of CORPUS is built (qln40 /C) in a mirror of the corpus
   (real folders, files linked to the originals), the texts of its database
   are counted, a translation without texts is added (/A, default "English US"
   in code page 65001) and written (/RC) next to the source, and source and
   written script are compiled with TOOLS/rc2dump.sh -L (windres, auto mode)
   and their resources compared.
2. windirstat: the project of the English source takes each translated script
   res/wdsrLLLL/windirstat.rc by import (/I), is written for that language, and
   the string tables, menus and dialog texts of the written script
   (rc2dump.sh -t -L) are compared with the real translated script's
   (compare_texts.py).

With --pseudo QLN_CHECK, step 1 fills the added translation with a
pseudo-translation (qln-check --pseudo) before writing it, counts what
qln-check then finds in its placeholders, hotkeys and encoding, and compares
the structure of the compiled resources (rc2dump.sh -s -L), since every
text differs on purpose.

OUT gets summary.txt, corpus.tsv, windirstat.tsv, details/ (one file for each
script that does not compile to the same resources, one per windirstat
language) and work/ (mirror, written scripts, windirstat's database).
"""
import argparse
import concurrent.futures
import datetime
import difflib
import os
import re
import shutil
import sqlite3
import subprocess
import sys

QLN_TIMEOUT = 120
COMPILE_TIMEOUT = 600
WDS = 'windirstat/windirstat'
COUNT_LABELS = {'keys in source': 'keys', 'same in expected and source (no translation needed)': 'same-as-source',
                'candidate == expected': 'right', 'candidate left as source text': 'untranslated',
                'candidate wrong (differs from expected and source)': 'wrong', 'missing in candidate': 'missing',
                'missing in expected': 'not in real'}
WDS_COLUMNS = ['language', 'imported', 'in database', 'written', 'compiles', 'keys', 'right', 'untranslated',
               'wrong', 'missing', 'not in real', 'errors']


def run(cmd, cwd=None, timeout=QLN_TIMEOUT):
    """Runs a command; returns its exit code, standard output and standard error."""
    try:
        p = subprocess.run(cmd, cwd=cwd, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return -1, '', 'timed out after %d s: %s' % (timeout, ' '.join(cmd))
    return p.returncode, p.stdout.decode('utf-8', 'replace'), p.stderr.decode('utf-8', 'replace')


def error_lines(text, skip=()):
    """The distinct lines of an error output, in one line."""
    lines = []
    for line in text.splitlines():
        line = line.strip()
        if line and line not in lines and not line.startswith(skip):
            lines.append(line)
    return ' / '.join(lines) or 'no message'


class Report:
    def __init__(self, args):
        self.qln40 = os.path.abspath(args.qln40)
        self.corpus = os.path.abspath(args.corpus)
        self.tools = os.path.abspath(args.tools)
        self.out = os.path.abspath(args.out)
        self.work = os.path.join(self.out, 'work')
        self.details = os.path.join(self.out, 'details')
        self.language, self.code_page = args.language, args.code_page
        self.jobs = max(1, min(args.jobs, 2))
        self.revision = args.revision
        self.pseudo = os.path.abspath(args.pseudo) if args.pseudo else None
        self.skip_windirstat = args.skip_windirstat

    def qln(self, *params, cwd=None):
        """Runs qln40; returns its exit code, all its messages and its errors in one line."""
        rc, so, se = run([self.qln40] + list(params), cwd=cwd)
        return rc, so + se, error_lines(se.replace(self.work + os.sep, ''))

    def dump(self, script, options, texts=False):
        """Compiled resources of a script as lines, or None and the compiler's messages."""
        cmd = [os.path.join(self.tools, 'rc2dump.sh'), '-L'] + (['-t'] if texts else []) + options
        if self.pseudo:
            cmd.insert(1, '-s')
        rc, so, se = run(cmd + [script], cwd=os.path.dirname(script), timeout=COMPILE_TIMEOUT)
        return (so.splitlines() if rc == 0 else None), se.strip()

    def compile_error(self, messages):
        return error_lines(messages, skip=('rc2dump:',)).split(' / ')[0]

    def wds_options(self):
        """windirstat's include folders (-I .. -I . -I res from windirstat/windirstat)
        and the sublanguages its Finnish and Estonian scripts name, which the Windows
        SDK defines and mingw-w64's headers lack."""
        base = os.path.join(self.corpus, WDS)
        options = []
        for d in (os.path.dirname(base), base, os.path.join(base, 'res')):
            options += ['-I', d]
        return options + ['-D', 'SUBLANG_FINNISH_FINLAND=0x01', '-D', 'SUBLANG_ESTONIAN_ESTONIA=0x01']

    def options_for(self, key):
        own = ['-I', os.path.dirname(os.path.join(self.corpus, key))]
        return own + (self.wds_options() if key.startswith('windirstat/') else [])

    def write_details(self, name, text):
        with open(os.path.join(self.details, name), 'w', encoding='utf-8') as f:
            f.write(text)

    # --- 1. every script of the corpus -------------------------------------------------

    def scripts(self):
        found = []
        for top, _, files in os.walk(self.corpus):
            found += [os.path.join(top, f) for f in files if f.lower().endswith('.rc')]
        return sorted(os.path.relpath(f, self.corpus) for f in found)

    def build(self, script):
        """Builds the script's database; returns its path, or None and qln40's messages."""
        stem, ext = os.path.splitext(os.path.basename(script))
        db = os.path.join(os.path.dirname(script), '%s_%s.mdb' % (stem, ext[1:]))
        rc, log, errors = self.qln('/C', script, cwd=os.path.dirname(script))
        return (db if rc == 0 and os.path.isfile(db) else None), log, errors

    def check_script(self, key):
        row = {'script': key, 'built': 'no', 'texts': '', 'source': '', 'written': '', 'same': '', 'detail': '',
               'pseudo': ''}
        notes = []
        mirrored = os.path.join(self.work, 'mirror', key)
        db, log, errors = self.build(mirrored)
        notes.append('$ qln40 /C\n' + log)
        if db is None:
            row['detail'] = errors
            return row, notes
        row['built'] = 'yes'
        row['texts'] = str(text_count(db))
        stem = os.path.splitext(mirrored)[0]
        written = stem + '_qln_written.rc'
        rc, log, errors = self.qln('/A', db, self.language, written, self.code_page)
        notes.append('$ qln40 /A\n' + log)
        if rc == 0 and self.pseudo:
            rc, so, se = run([self.pseudo, '--pseudo', db, self.language])
            notes.append('$ qln-check --pseudo\n' + so + se)
            found, so, se = run([self.pseudo, db, self.language, '--checks', 'placeholders,hotkeys,encoding'])
            notes.append('$ qln-check\n' + so + se)
            marks = [line for line in so.splitlines() if ('[placeholders]' in line or 'the translation none' in line
                                                          or '[encoding]' in line)]
            row['pseudo'] = 'ok' if not marks else '%d changed' % len(marks)
            errors = se.strip()
        if rc == 0:
            rc, log, errors = self.qln('/RC', db, self.language, written)
            notes.append('$ qln40 /RC\n' + log)
        os.remove(db)
        if rc != 0:
            row['written'], row['detail'] = 'not written', errors
            return row, notes
        options = self.options_for(key)
        source, err = self.dump(os.path.join(self.corpus, key), options)
        notes.append('$ rc2dump.sh -L source\n' + err)
        row['source'] = 'yes' if source is not None else 'no'
        if source is None:
            row['detail'] = 'source: ' + self.compile_error(err)
        target, err = self.dump(written, options)
        notes.append('$ rc2dump.sh -L written\n' + err)
        row['written'] = 'yes' if target is not None else 'no'
        if target is None and source is not None:
            row['detail'] = 'written: ' + self.compile_error(err)
        if source is None or target is None:
            return row, notes
        diff = [line for line in difflib.unified_diff(source, target, 'source', 'written', lineterm='', n=0)]
        row['same'] = 'yes' if not diff else 'no'
        changed = [line for line in diff if not line.startswith(('---', '+++', '@@'))]
        row['detail'] = ' | '.join(changed[:4])
        notes.append('$ diff of the compiled resources\n' + '\n'.join(diff))
        return row, notes

    def corpus_part(self):
        mirror(self.corpus, os.path.join(self.work, 'mirror'))
        rows = []
        with concurrent.futures.ThreadPoolExecutor(self.jobs) as pool:
            for row, notes in pool.map(self.check_script, self.scripts()):
                if row['same'] != 'yes':
                    self.write_details(row['script'].replace('/', '__') + '.txt', '\n\n'.join(notes) + '\n')
                rows.append(row)
                print('corpus: %-100s built %-3s same %s' % (row['script'], row['built'], row['same'] or '-'),
                      flush=True)
        write_tsv(os.path.join(self.out, 'corpus.tsv'), rows, list(rows[0]) if rows else [])
        return rows

    # --- 2. windirstat's translations --------------------------------------------------

    def wds_translations(self):
        res = os.path.join(self.corpus, WDS, 'res')
        dirs = sorted(d for d in os.listdir(res) if re.fullmatch(r'wdsr[0-9a-fA-F]{4}', d))
        return [(d[4:], os.path.join(res, d, 'windirstat.rc')) for d in dirs
                if os.path.isfile(os.path.join(res, d, 'windirstat.rc'))]

    def import_and_write(self, db, lang, translated):
        """Imports one translated script and writes the language; returns its row and log."""
        row = {'language': lang, 'imported': '', 'in database': '', 'written': 'no', 'compiles': ''}
        rc, log, errors = self.qln('/I', translated, lang, db)
        match = re.search(r'(\d+) text resources imported', log)
        row['imported'] = match.group(1) if match else ('failed' if rc else '0')
        row['in database'] = str(translated_count(db, int(lang, 16)))
        written = os.path.join(os.path.dirname(db), 'windirstat_qln_%s.rc' % lang)
        if rc == 0:
            rc, more, errors = self.qln('/RC', db, lang, written)
            log += more
        row['written'] = 'yes' if rc == 0 else 'no'
        row['errors'] = errors if rc != 0 else ''
        return row, written if rc == 0 else None, log

    def compare_language(self, item):
        row, translated, written, source_txt, log = item
        notes = ['$ qln40 /I and /RC\n' + log]
        if written is None:
            return row, notes
        paths = {}
        for name, script in (('expected', translated), ('written', written)):
            lines, err = self.dump(script, self.wds_options(), texts=True)
            notes.append('$ rc2dump.sh -t -L %s\n%s' % (name, err))
            if lines is None:
                row['compiles'] = 'no' if name == 'written' else 'real script fails'
                row['errors'] = self.compile_error(err)
                return row, notes
            paths[name] = os.path.join(self.work, 'windirstat_%s_%s.txt' % (row['language'], name))
            with open(paths[name], 'w', encoding='utf-8') as f:
                f.write('\n'.join(lines) + '\n')
        row['compiles'] = 'yes'
        rc, so, se = run([sys.executable, os.path.join(self.tools, 'compare_texts.py'), source_txt,
                          paths['expected'], paths['written'], '--show', '100000'])
        notes.append('$ compare_texts.py source expected written\n' + so + se)
        for line in so.splitlines():
            m = re.match(r'^\s*(\d+)\s+(.*)$', line)
            if m and m.group(2) in COUNT_LABELS:
                row[COUNT_LABELS[m.group(2)]] = m.group(1)
        row['differences'] = differing_texts(so)
        return row, notes

    def windirstat_part(self):
        mirror(os.path.join(self.corpus, 'windirstat'), os.path.join(self.work, 'windirstat'))
        source = os.path.join(self.work, WDS, 'windirstat.rc')
        db, _, errors = self.build(source)
        if db is None:
            return None, 'the English source does not build: ' + errors
        lines, err = self.dump(os.path.join(self.corpus, WDS, 'windirstat.rc'), self.wds_options(), True)
        if lines is None:
            return None, 'the English source does not compile: ' + self.compile_error(err)
        source_txt = os.path.join(self.work, 'windirstat_source.txt')
        with open(source_txt, 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines) + '\n')
        items = []
        for lang, translated in self.wds_translations():  # one database: imports run one after the other
            row, written, log = self.import_and_write(db, lang, translated)
            items.append((row, translated, written, source_txt, log))
        rows = []
        with concurrent.futures.ThreadPoolExecutor(self.jobs) as pool:
            for row, notes in pool.map(self.compare_language, items):
                self.write_details('windirstat_%s.txt' % row['language'], '\n\n'.join(notes) + '\n')
                rows.append(row)
                print('windirstat: %s right %s' % (row['language'], row.get('right', '-')), flush=True)
        write_tsv(os.path.join(self.out, 'windirstat.tsv'), rows, WDS_COLUMNS)
        return rows, ''

    # --- summary -----------------------------------------------------------------------

    def summary(self, corpus_rows, wds_rows, wds_error):
        n = lambda key, value: sum(1 for r in corpus_rows if r[key] == value)  # noqa: E731
        compared = [r for r in corpus_rows if r['source'] == 'yes' and r['written'] in ('yes', 'no')]
        out = ['Corpus report, %s' % datetime.datetime.now().strftime('%Y-%m-%d %H:%M'),
               'qln40: %s (%s)' % (self.qln40, self.revision or 'revision unknown'),
               'corpus: %s; written as "%s", code page %s; compiled with rc2dump.sh -L (windres, auto)'
               % (self.corpus, self.language, self.code_page), '',
               '1. Corpus scripts', '  scripts:                        %d' % len(corpus_rows),
               '  built (qln40 /C):               %d' % n('built', 'yes'),
               '  texts offered (ResourceText):   %d' % sum(int(r['texts'] or 0) for r in corpus_rows),
               '  written (/A, /RC):              %d' % sum(1 for r in corpus_rows if r['written'] in ('yes', 'no')),
               '  source compiles:                %d' % n('source', 'yes'),
               '  written script compiles:        %d' % n('written', 'yes'),
               '  both compile, same resources:   %d' % n('same', 'yes'),
               '  both compile, resources differ: %d' % n('same', 'no'),
               '  written script does not compile (source does): %d'
               % sum(1 for r in compared if r['written'] == 'no'), '']
        if self.pseudo:
            out[3] += '; pseudo-translated, structure compared (-s)'
            out += ['  pseudo-translations with unchanged placeholders, hotkeys and encoding: %d of %d'
                    % (n('pseudo', 'ok'), sum(1 for r in corpus_rows if r['pseudo'])), '']
        listed = [('not built', lambda r: r['built'] == 'no'),
                  ('not written', lambda r: r['written'] == 'not written'),
                  ('written script does not compile', lambda r: r['source'] == 'yes' and r['written'] == 'no'),
                  ('resources differ', lambda r: r['same'] == 'no'),
                  ('pseudo-translation changed marks', lambda r: r['pseudo'] not in ('', 'ok'))]
        for title, wanted in listed:
            chosen = [r for r in corpus_rows if wanted(r)]
            if chosen:
                out.append('  %s (%d):' % (title, len(chosen)))
                out += ['    %s: %s' % (r['script'], r['detail']) for r in chosen]
                out.append('')
        out.append('2. windirstat: translated scripts imported into the English project, written, texts compared')
        if wds_rows is None:
            out.append('  ' + wds_error)
            return '\n'.join(out) + '\n'
        table = WDS_COLUMNS[:-1]  # errors follow the table
        out.append('  ' + ''.join('%-13s' % c for c in table))
        for r in wds_rows:
            out.append('  ' + ''.join('%-13s' % r.get(c, '-') for c in table))
        for r in wds_rows:
            if r.get('errors'):
                out.append('  %s: %s' % (r['language'], r['errors']))
        for r in wds_rows:
            if r.get('differences'):
                out += ['', '  %s, texts that differ from the real translated script:' % r['language']]
                out += ['    ' + d for d in r['differences']]
        return '\n'.join(out) + '\n'

    def run(self):
        for name in ('summary.txt', 'corpus.tsv', 'windirstat.tsv', 'details', 'work'):
            path = os.path.join(self.out, name)
            if os.path.isdir(path):
                shutil.rmtree(path)
            elif os.path.exists(path):
                os.remove(path)
        os.makedirs(self.details)
        corpus_rows = self.corpus_part()
        wds_rows, wds_error = (None, 'skipped') if self.skip_windirstat else self.windirstat_part()
        text = self.summary(corpus_rows, wds_rows, wds_error)
        with open(os.path.join(self.out, 'summary.txt'), 'w', encoding='utf-8') as f:
            f.write(text)
        print(text)
        return 0


def mirror(original, root):
    """Real folders with links to the original files, so that a script's
    relative include names reach the same files and new files can be put beside it."""
    for top, _, files in os.walk(original):
        target = os.path.join(root, os.path.relpath(top, original))
        os.makedirs(target, exist_ok=True)
        for f in files:
            os.symlink(os.path.join(top, f), os.path.join(target, f))


def text_count(db):
    with sqlite3.connect('file:%s?mode=ro' % db, uri=True) as con:
        return con.execute('SELECT COUNT(*) FROM ResourceText').fetchone()[0]


def translated_count(db, lang_id):
    with sqlite3.connect('file:%s?mode=ro' % db, uri=True) as con:
        found = con.execute('SELECT LanguageStr FROM Translations WHERE Lang_Id = ?', (lang_id,)).fetchone()
        if not found:
            return 0
        column = '"%s"' % found[0].replace('"', '""')
        return con.execute("SELECT COUNT(*) FROM ResourceText WHERE %s IS NOT NULL AND %s <> ''"
                           % (column, column)).fetchone()[0]


def differing_texts(compare_output):
    """One line per text compare_texts.py lists: kind, key, expected and written text."""
    found, lines = [], compare_output.splitlines()
    for i, line in enumerate(lines):
        m = re.match(r'^  (untranslated|wrong)\s+(.*)$', line)
        if m and i + 3 < len(lines):
            expected, got = lines[i + 2].strip()[4:], lines[i + 3].strip()[4:]
            found.append('%-12s %s: expected %s, written %s' % (m.group(1), m.group(2), expected, got))
    return found


def write_tsv(path, rows, columns):
    with open(path, 'w', encoding='utf-8') as f:
        f.write('\t'.join(columns) + '\n')
        for r in rows:
            f.write('\t'.join(str(r.get(c, '')).replace('\t', ' ').replace('\n', ' ') for c in columns) + '\n')


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('qln40')
    parser.add_argument('corpus')
    parser.add_argument('tools')
    parser.add_argument('out')
    parser.add_argument('--language', default='English US')
    parser.add_argument('--code-page', default='65001')
    parser.add_argument('--jobs', type=int, default=2)
    parser.add_argument('--revision', default='')
    parser.add_argument('--pseudo', default='', metavar='QLN_CHECK')
    parser.add_argument('--skip-windirstat', action='store_true')
    return Report(parser.parse_args(argv[1:])).run()


if __name__ == '__main__':
    sys.exit(main(sys.argv))
