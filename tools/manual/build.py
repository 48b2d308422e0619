#!/usr/bin/env python3
"""Builds help/index.htm and help/index0.htm from the templates here, embedding the icons and the
main-window screenshot so that each page is one self-contained file. Run after editing a template:
    python3 tools/manual/build.py
"""
import base64
import pathlib
import re

here = pathlib.Path(__file__).resolve().parent
root = here.parent.parent


def uri(path):
    return 'data:image/png;base64,' + base64.b64encode((root / path).read_bytes()).decode()


subs = {'APP_ICON': uri('resources/icons/ksned32-64.png'),
        'SCREENSHOT': uri('docs/images/main-window.png')}
for n in ['new', 'open', 'save', 'addcar', 'cut', 'copy', 'paste', 'help']:
    subs['ICON_' + n] = uri(f'resources/icons/toolbar/{n}.png')

for template, out in [('index.tmpl.htm', 'index.htm'), ('index0.tmpl.htm', 'index0.htm')]:
    text = (here / template).read_text(encoding='utf-8')
    text = re.sub(r'\{\{(\w+)\}\}', lambda m: subs[m.group(1)], text)
    assert '{{' not in text, template
    (root / 'help' / out).write_text(text, encoding='utf-8', newline='\n')
