#!/usr/bin/env python3
"""Writes the stored inputs of the ImgMake fuzz entry (imgmake_fuzz.cpp):
seeds/ (styles the program makes) and the hand-made part of regressions/
(the damaged records that once hung or wrote a picture with a zero side).
Inputs the fuzzer found are copied into regressions/ as they are (named
fuzz_*).

Run from anywhere: tests/engine/fuzz/make_corpus.py
To read an input (a finding, say): make_corpus.py --describe FILE...
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
INT_MIN, INT_MAX = -2**31, 2**31 - 1

# Offsets of the numeric fields of the 4148-byte style record (pavrex.h).
FIELDS = {
    'FillType': 1048, 'FillColor1': 1052, 'FillColor2': 1056, 'FillColor3': 1060,
    'ThickenX': 1360, 'ThickenY': 1364, 'OutlineWidth': 1776, 'OutlineStyle': 1780,
    'OutlineColor1': 1784, 'OutlineColor2': 1788, 'ReliefOn': 1792, 'ReliefDepth': 1796,
    'ReliefCurvature': 1800, 'ReliefGloss': 1804, 'ShadowType': 1808, 'ShadowColor': 1812,
    'ShadowDistance': 1816, 'SpareDistance': 1820, 'ShadowBlur': 1824, 'BackColor': 1832,
    'SpareColor1': 1836, 'SpareColor2': 1840, 'Slant': 2100, 'TextureTile': 2108,
    'ShadowSpread': 2112, 'PatternAngle': 2116, 'PatternRepeat': 2120, 'Vertical': 2124,
    'Spacing': 2128, 'ReliefReflection': 2132, 'CharScaleSet': 2136, 'SpacingPx': 2940,
    'RotateDashes': 2944,
}
TABLES = {'CharGap': 2140, 'CharWidth': 2300, 'CharHeight': 2460, 'CharOffsetX': 2620, 'CharOffsetY': 2780}
QUALITY = {0: 0, 1: 3, 2: 4, 100: 5, 101: 6, 102: 7}  # selector byte values


def rgb(r, g, b):
    return r | g << 8 | b << 16


def default_record():
    """The program's style reset with the per-character tables initialised."""
    rec = bytearray(4148)
    values = {'OutlineWidth': 1, 'BackColor': rgb(255, 255, 255), 'SpareColor1': rgb(255, 255, 255),
              'SpareColor2': rgb(255, 255, 255), 'ReliefCurvature': 5, 'ReliefDepth': 5, 'ReliefGloss': 4,
              'ReliefOn': 1, 'ShadowBlur': 2, 'ShadowColor': rgb(128, 128, 128), 'ShadowDistance': 7,
              'SpareDistance': 7, 'ShadowType': 1, 'ThickenX': 3, 'ThickenY': 3,
              'FillColor1': rgb(64, 192, 192), 'FillColor2': rgb(64, 128, 255), 'FillColor3': rgb(128, 255, 225),
              'CharScaleSet': 1}
    for name, v in values.items():
        struct.pack_into('<i', rec, FIELDS[name], v)
    for i in range(20):
        struct.pack_into('<i', rec, TABLES['CharWidth'] + 4 * i, 100)
        struct.pack_into('<i', rec, TABLES['CharHeight'] + 4 * i, 100)
    return rec


def make_input(text, quality=0, glyph=-1, **fields):
    rec = default_record()
    for name, v in fields.items():
        if name in TABLES:
            for i in range(40):
                struct.pack_into('<i', rec, TABLES[name] + 4 * i, v)
        else:
            struct.pack_into('<i', rec, FIELDS[name], v)
    glyph_byte = 0 if glyph < 0 else 0x80 + glyph
    return bytes(rec) + bytes([QUALITY[quality], glyph_byte]) + text.encode('cp932')


SOMORO_MOJI = 'ソモロ文字'
TITLE = '文字画像を作ろう'

SEEDS = {
    'default_q0': make_input(SOMORO_MOJI),
    'title_q101': make_input(TITLE, 101),
    'vertical_turned_dashes_q0': make_input('ソーー', 0, Vertical=1, RotateDashes=1),
    'glow_three_colours_q1': make_input('文字', 1, FillType=2, FillColor1=rgb(255, 255, 255),
                                        FillColor2=rgb(120, 220, 255), ShadowType=2, ShadowDistance=0,
                                        ShadowSpread=3, ShadowBlur=4, BackColor=rgb(10, 20, 60)),
    'deep_relief_outline_q100': make_input(TITLE, 100, FillType=4, ReliefDepth=10, ReliefGloss=8,
                                           ReliefReflection=8, OutlineStyle=2, OutlineWidth=2),
    'tiled_texture_slant_q0': make_input('Easy', 0, FillType=5, TextureTile=1, Slant=30, OutlineStyle=3),
    'stretched_pattern_vertical_q0': make_input(SOMORO_MOJI, 0, FillType=6, Vertical=1, ReliefOn=2, ReliefDepth=3),
    'third_glyph_q0': make_input('あいうえお', 0, 2),
    'per_character_tables_q0': make_input('ｶﾞｷﾞｸﾞabc', 0, CharWidth=150, CharHeight=50, CharOffsetX=-50,
                                          CharOffsetY=50, CharGap=-50, SpacingPx=-30, Spacing=-30),
    '255_bytes_q0': make_input('A' * 255),
    '256_bytes_refused': make_input('A' * 256),
    'empty_text_q2': make_input('', 2),
    'short_input': bytes(default_record()[:1200]),
}

REGRESSIONS = {
    'distance_min_depth_cancels': make_input(SOMORO_MOJI, ShadowDistance=INT_MIN, ReliefDepth=2**30),
    'distance_min_blur_cancels': make_input(SOMORO_MOJI, ShadowDistance=INT_MIN, ShadowBlur=2**30),
    'distance_min_thicken_cancels': make_input(SOMORO_MOJI, ShadowDistance=INT_MIN, ThickenX=INT_MAX),
    'distance_min_outline_cancels': make_input(SOMORO_MOJI, ShadowDistance=INT_MIN, OutlineStyle=1,
                                               OutlineWidth=INT_MAX),
    'distance_min_alone': make_input(SOMORO_MOJI, ShadowDistance=INT_MIN),
    'char_height_max_255': make_input('A' * 255, CharHeight=INT_MAX),
    'turned_dashes_char_width_max': make_input('ー' * 127, 0, Vertical=1, RotateDashes=1, CharWidth=INT_MAX),
    'vertical_char_offset_y_min': make_input('あ' * 127, 0, Vertical=1, CharOffsetY=INT_MIN),
    'slant_89': make_input(SOMORO_MOJI, Slant=89),
    'halved_degenerate_distance_q100': make_input(SOMORO_MOJI, 100, ShadowDistance=-1000000),
    'halved_degenerate_depth_q101': make_input(SOMORO_MOJI, 101, ReliefDepth=-1000000),
    'halved_degenerate_blur_q102': make_input(SOMORO_MOJI, 102, ShadowBlur=-1000000),
}


def write_all(folder, inputs):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    for name, data in inputs.items():
        with open(os.path.join(path, name), 'wb') as f:
            f.write(data)


def describe(data):
    """The quality, glyph and text of an input and its fields that differ
    from the default style."""
    base = default_record()
    rec = bytearray(base)
    rec[:min(len(data), 4148)] = data[:4148]
    changed = []
    for name, offset in FIELDS.items():
        value = struct.unpack_from('<i', rec, offset)[0]
        if value != struct.unpack_from('<i', base, offset)[0]:
            changed.append(f'{name}={value}')
    for name, offset in TABLES.items():
        for i in range(40):
            value = struct.unpack_from('<i', rec, offset + 4 * i)[0]
            if value != struct.unpack_from('<i', base, offset + 4 * i)[0]:
                changed.append(f'{name}[{i}]={value}')
    selector = data[4148] if len(data) > 4148 else 0
    quality = [0, 0, 0, 1, 2, 100, 101, 102][selector % 8] if selector < 0xF0 else (
        1000 * selector if selector & 1 else -selector)
    glyph = data[4149] - 0x80 if len(data) > 4149 and data[4149] >= 0x80 else -1
    text = data[4150:4450].split(b'\0')[0] if len(data) > 4150 else SOMORO_MOJI.encode('cp932')
    return (f'quality {quality}, glyph {glyph}, text of {len(text)} bytes: '
            f'{text.decode("cp932", "replace")[:40]}\n  ' + ' '.join(changed))


if __name__ == '__main__':
    if len(sys.argv) > 2 and sys.argv[1] == '--describe':
        for path in sys.argv[2:]:
            with open(path, 'rb') as f:
                print(f'{path}: {describe(f.read())}')
    else:
        write_all('seeds', SEEDS)
        write_all('regressions', REGRESSIONS)
