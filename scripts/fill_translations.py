#!/usr/bin/env python3
"""Fills the unfinished messages of a Qt Linguist catalogue from a TSV file.

usage: fill_translations.py CATALOGUE.ts FILE.tsv

FILE.tsv: context, source, translation a line, tab-separated, with \\n, \\t and \\\\ escaped.
A source with no Japanese in it (a name) is its own translation. Sources the file lacks are
listed on stderr and stay unfinished; the exit status is then 1.
"""
import re
import sys
import xml.etree.ElementTree as ET

JAPANESE = re.compile('[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]')
ESCAPES = {'n': '\n', 't': '\t', '\\': '\\'}


def unescape(text):
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(0)), text)


def main(catalogue, tsv):
    translations = {}
    with open(tsv, encoding='utf-8') as rows:
        for number, row in enumerate(rows, 1):
            fields = row.rstrip('\n').split('\t')
            if len(fields) < 3:
                sys.exit(f'{tsv}:{number}: expected context, source and translation')
            translations[(fields[0], unescape(fields[1]))] = unescape(fields[2])

    tree = ET.parse(catalogue)
    missing = []
    for context in tree.getroot().iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            translation = message.find('translation')
            if translation.get('type') != 'unfinished':
                continue
            source = message.findtext('source')
            english = translations.get((name, source))
            if english is None and not JAPANESE.search(source):
                english = source
            if english is None:
                missing.append(f'{name}: {source!r}')
                continue
            translation.text = english
            del translation.attrib['type']
    tree.write(catalogue, encoding='utf-8', xml_declaration=True)
    for text in missing:
        print(f'no translation: {text}', file=sys.stderr)
    return 1 if missing else 0


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
