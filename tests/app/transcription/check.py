#!/usr/bin/env python3
"""Consistency check of the transcribed tables in this folder.

Checks the totals the text states and every cross-statement the text offers,
using only the .tsv files beside this script. Prints each failure and exits 1
when there is any.
"""
import csv
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


def load(name):
    with open(os.path.join(HERE, name), encoding='utf-8', newline='') as f:
        rows = list(csv.reader(f, delimiter='\t', quoting=csv.QUOTE_NONE))
    header = rows[0]
    for r in rows[1:]:
        check(len(r) == len(header), f'{name}: ragged row {r}')
    return [dict(zip(header, r)) for r in rows[1:]]


def lists_by_name(rows, key=lambda r: r['list']):
    out = {}
    for r in rows:
        items = out.setdefault(key(r), [])
        check(int(r['position']) == len(items), f'list {key(r)}: positions out of order')
        items.append(r['item'])
    return out


COMBOS = ['frame_size', 'video_bitrate', 'frame_rate', 'audio_bitrate', 'sample_rate', 'picture_mode']

# ------------------------------------------------------------------ catalogue
cats = load('catalogue_categories.tsv')
formats = load('catalogue_formats.tsv')
check(len(cats) == 19, 'categories: not 19')
check(sum(int(c['formats']) for c in cats) == 166, 'categories: formats do not add up to 166')
check(len(formats) == 166, 'formats: not 166')
check(sorted(int(c['code']) for c in cats) == sorted(set(range(24)) - {3, 6, 14, 18, 19}),
      'categories: codes are not 0-23 without 3, 6, 14, 18, 19')
caption_of = {int(f['key']): f['caption'] for f in formats}
for c in cats:
    code, n = int(c['code']), int(c['formats'])
    mine = [f for f in formats if int(f['code']) == code]
    check(len(mine) == n, f'category {code}: {len(mine)} formats, table says {n}')
    check(int(c['first_key']) == code * 100 and int(c['last_key']) == code * 100 + n - 1,
          f'category {code}: key range')
    for f in mine:
        check(f['category_position'] == c['position'], f'format {f["key"]}: category position')
for f in formats:
    check(int(f['key']) == int(f['code']) * 100 + int(f['index']), f'format {f["key"]}: key formula')
    check(re.search(r'\(\*\.[a-z0-9]+\)$', f['caption']) is not None, f'format {f["key"]}: caption form')
keys = set(caption_of)
for same in ((200, 201), (801, 802), (807, 808, 809), (903, 904), (207, 2002)):
    check(len({caption_of[k] for k in same}) == 1, f'captions {same} should be equal')

# presets as the main window's fill states them, with the quoted default texts
plists = lists_by_name(load('catalogue_preset_lists.tsv'))
check(len(plists) == 49, f'main-window preset lists: {len(plists)}, not 49')
presets = {int(p['key']): p for p in load('catalogue_presets.tsv')}
check(set(presets) == keys, 'main-window presets: keys differ from the formats')
check(sum(p['audio_only'] == 'true' for p in presets.values()) == 15, 'main-window presets: not 15 audio-only')
for k, p in presets.items():
    for c in COMBOS:
        items = plists[p[c + '_list']]
        d = int(p[c + '_default'])
        check(0 <= d < len(items), f'preset {k} {c}: default outside its list')
        check(d < len(items) and items[d] == p[c + '_text'], f'preset {k} {c}: quoted text is not the item')
    video = [p[c + '_list'] for c in ('frame_size', 'video_bitrate', 'frame_rate', 'picture_mode')]
    check((p['audio_only'] == 'true') == (video == ['RES3', 'VB6', 'FR3', 'PM3']), f'preset {k}: audio-only lists')
check([k for k, p in presets.items() if p['picture_mode_default'] != '0'] == [402], 'picture mode default')

# the preset dialog's statement of the same table
dlists = lists_by_name(load('preset_dialog_lists.tsv'))
dpresets = {int(p['key']): p for p in load('preset_dialog_presets.tsv')}
rename = {'RES': 'R', 'VB': 'V', 'FR': 'F', 'AB': 'A', 'SR': 'S', 'PM': 'M'}
check({re.sub(r'^[A-Z]+', lambda m: rename[m.group(0)], n): v for n, v in plists.items()} == dlists,
      'the two statements of the preset lists differ')
check(set(dpresets) == keys, 'preset dialog presets: keys differ from the formats')
used = set()
for k in keys:
    p, d = presets[k], dpresets[k]
    check(p['audio_only'] == d['audio_only'], f'preset {k}: audio-only differs between the statements')
    for c in COMBOS:
        check(re.sub(r'^[A-Z]+', lambda m: rename[m.group(0)], p[c + '_list']) == d[c + '_list']
              and p[c + '_default'] == d[c + '_default'], f'preset {k} {c}: differs between the statements')
        used.add((d[c + '_list'], int(d[c + '_default'])))
stated = {(r['list'], int(r['position'])): r['item'] for r in load('preset_dialog_default_positions.tsv')}
check(set(stated) == used, 'preset dialog: positions used as defaults are not those the entries use')
for (n, pos), item in stated.items():
    check(dlists[n][pos] == item, f'preset dialog list {n}: default text at {pos}')

# codec rows
codec = {int(r['key']): r for r in load('catalogue_codec.tsv')}
check(set(codec) == keys, 'codec rows: keys differ from the formats')
disc = {k for k, r in codec.items() if r['Video_TargetType']}
audio = {k for k, r in codec.items() if r['Video_DisableVideo'] == 'true'}
check(len(disc) == 15 and len(audio) == 15 and len(keys - disc - audio) == 136, 'codec rows: 15/15/136 split')
check(audio == {k for k, p in presets.items() if p['audio_only'] == 'true'}, 'codec audio keys differ from audio presets')
for k, r in codec.items():
    ext_caption = '.' + re.search(r'\(\*\.([a-z0-9]+)\)$', caption_of[k]).group(1)
    if k in (801, 806, 809):
        check(r['OutputExt'] != ext_caption, f'codec {k}: should differ from its caption')
    else:
        check(r['OutputExt'] == ext_caption, f'codec {k}: output extension differs from its caption')
    if k in disc:
        check(r['Video_FileExt'] == '' and r['Video_VideoBitrate'] == r['Video_AudioBitrate'] == '-1000'
              and r['Video_NormType'] == 'PAL', f'codec {k}: disc row')
    elif k not in (14, 106, 206, 1102, 1103):
        check(r['Video_FileExt'] == r['OutputExt'], f'codec {k}: file extension')
check(codec[106]['Video_FileExt'] == '.rm' and codec[206]['Video_FileExt'] == '.asf', 'codec 106/206 file extension')

# ------------------------------------------------------------ settings dialog
scats = load('settings_categories.tsv')
sformats = load('settings_formats.tsv')
check(len(scats) == 12 and len(sformats) == 109, 'settings dialog: not 12 categories and 109 formats')
per_cat = [15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4]
for i, n in enumerate(per_cat):
    check(sum(f['category'] == str(i) for f in sformats) == n, f'settings category {i}: not {n} formats')
title_of = {}
for f in sformats:
    k = int(f['key'])
    check(k == (int(f['category']) + 1) * 100 + int(f['index']), f'settings format {k}: key formula')
    title_of[k] = f['title']
skeys = set(title_of)

slists = lists_by_name(load('settings_preset_lists.tsv'), key=lambda r: (r['group'], r['kind'], r['label']))
group_of = lambda cat: '0-1' if cat <= 1 else '2-5' if cat <= 5 else '6-11'
for (g, kind, label), items in slists.items():
    m = re.fullmatch(r'"([^"]*)"(?: … "([^"]*)")? \((\d+)\)(?: [abc])?', label)
    check(m is not None, f'settings list label {label}')
    if m:
        last = m.group(2) if m.group(2) is not None else m.group(1)
        check(items[0] == m.group(1) and items[-1] == last and len(items) == int(m.group(3)),
              f'settings list {g} {kind} {label}: label does not match its items')
for (g, kind, label), items in slists.items():
    for (g2, kind2, label2), items2 in slists.items():
        check((kind, label) != (kind2, label2) or items == items2, f'settings list {kind} {label}: differs by group')
for g, n in (('2-5', 16), ('6-11', 38)):
    check(sum(key[0] == g for key in slists) == n, f'settings lists of categories {g}: not {n}')
spresets = {int(p['key']): p for p in load('settings_presets.tsv')}
check(set(spresets) == skeys, 'settings presets: keys differ from the formats')
KINDS = dict(zip(COMBOS, ['sizes', 'video rates', 'frame rates', 'audio rates', 'sample rates', 'modes']))
for k, p in spresets.items():
    check(p['group'] == group_of(k // 100 - 1), f'settings preset {k}: group')
    for c in COMBOS:
        items = slists.get((p['group'], KINDS[c], p[c + '_label']))
        check(items is not None, f'settings preset {k} {c}: no list {p[c + "_label"]}')
        if items:
            d = int(p[c + '_default'])
            check(0 <= d < len(items) and items[d] == p[c + '_text'], f'settings preset {k} {c}: default text')
    nv = [p[c + '_label'] for c in ('frame_size', 'video_bitrate', 'frame_rate', 'picture_mode')]
    check((p['no_video'] == 'true') == (nv == ['"该格式无视频" (1)', '"无视频" (1)', '"无视频" (1)', '"无视频" (1)']),
          f'settings preset {k}: no-video mark')
check({k for k, p in spresets.items() if p['no_video'] == 'true'} == set(range(200, 213)) | {708, 1202, 1203},
      'settings presets: no-video rows')
check({(p['group'], KINDS[c], p[c + '_label']) for p in spresets.values() for c in COMBOS} == set(slists),
      'settings lists: some list is used by no row')
check(sorted(k for k, p in spresets.items() if p['picture_mode_default'] != '0') == [411, 502],
      'settings presets: picture mode defaults')
scodec = {int(r['key']): r for r in load('settings_codec.tsv')}
check(set(scodec) == skeys, 'settings codec rows: keys differ from the formats')
check({k for k, r in scodec.items() if r['Video_DisableVideo'] == 'true'}
      == {k for k, p in spresets.items() if p['no_video'] == 'true'}, 'settings codec: audio-only rows')

# ------------------------------------------------------------- cross-checks
first_last = load('preset_dialog_first_last_captions.tsv')
check(len(first_last) == 24 and sum(int(r['items']) for r in first_last) == 222, 'first/last captions: 24 codes, 222 items')
by_code = {int(c['code']): c for c in cats}
for r in first_last:
    code = int(r['code'])
    if code in by_code:
        mine = [caption_of[code * 100 + i] for i in range(int(by_code[code]['formats']))]
        check(r['category_position'] == by_code[code]['position'] and r['category_caption'] == by_code[code]['caption'],
              f'first/last captions of code {code}: category')
        check(int(r['items']) == len(mine) and r['first_caption'] == mine[0] and r['last_caption'] == mine[-1],
              f'first/last captions of code {code}: differ from the format list')
    else:
        check(r['category_position'] == '', f'code {code} should have no category')

diffs = {(int(d['category']), int(d['index'])): d for d in load('settings_title_differences.tsv')}
check(len(diffs) == 3, 'title differences: not 3')
for k, title in title_of.items():
    cat, idx = k // 100 - 1, k % 100
    d = diffs.get((cat, idx))
    main = d['main_caption'] if d else title
    if d:
        check(d['settings_title'] == title and d['main_caption'] != title, f'title difference {cat}/{idx}')
    if cat * 100 + idx in caption_of:
        check(caption_of[cat * 100 + idx] == main, f'settings title {k} against the main caption of {cat * 100 + idx}')
for r in first_last:
    code = int(r['code'])
    if code <= 11 and code not in by_code:  # lists the main window never shows
        mine = [diffs[(code, i)]['main_caption'] if (code, i) in diffs else title_of[(code + 1) * 100 + i]
                for i in range(per_cat[code])]
        check(int(r['items']) == len(mine) and r['first_caption'] == mine[0] and r['last_caption'] == mine[-1],
              f'first/last captions of code {code} against the settings titles')

for f in failures:
    print('FAIL:', f)
print(f'{len(failures)} failure(s)')
sys.exit(1 if failures else 0)
