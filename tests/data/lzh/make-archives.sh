#!/bin/sh
# Makes the LZH test archives of this folder with a real LHA compressor:
# jlha from Debian's jlha-utils (apt-get install -y jlha-utils), and python3
# for the source texts and the hand-edited header bytes of the hostile
# archives. Run once; the archives are committed.
#
#   kd3_jb040105.lzh  KOL3: kol_ods.kd3, -lh5-, level 2 headers
#   j040105.lzh       KOL2: kol_ods.kd2, -lh5-, level 1 headers
#   OZ040105.lzh      JRDB: Oz040105.txt, -lh5-, level 0 headers
#   stored.lzh        readme.txt stored (-lh0-)
#   empty.lzh         no member (only the end mark)
#   noexpected.lzh    readme.txt only: none of the odds members
#   folders.lzh       deep/er/kol_ods.kd3 and deep/readme.txt
#   dotdot.lzh        ../escape.txt, sub/../../escape2.txt and good.txt
#   absolute.lzh      /tmp/furlong-lzh-abs/abs.txt and good.txt
#   drive.lzh         C:\evil.txt and good.txt (level 1, name edited)
#   sjis.lzh          a member named "ソ.txt" in Shift-JIS, whose second byte
#                     is 0x5C (level 1, name edited)
#   truncated.lzh     the first half of kd3_jb040105.lzh
#   oversize.lzh      a stored member whose header gives half its real size
#   corrupt.lzh       a -lh5- member with one byte of its data changed
#   huge.lzh          a member whose header claims 2 GiB
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
abs=/tmp/furlong-lzh-abs
trap 'rm -rf "$work" "$abs"' EXIT
command -v jlha >/dev/null || { echo "jlha is missing: apt-get install -y jlha-utils" >&2; exit 1; }
cd "$work"

python3 - <<'PY'
# Source texts: lines of the documented layouts, CR LF after each.
def put(line, col, text):
    line[col - 1:col - 1 + len(text)] = text.encode('ascii')

def kol_line(code, race, date, runners, meeting='01', day='01'):
    line = bytearray(b' ' * 1502)
    put(line, 1, code)
    put(line, 7, meeting)
    put(line, 9, day)
    put(line, 11, '%02d' % race)
    put(line, 13, date)
    put(line, 110, '%2d' % runners)
    for i in range(1, 19):       # win odds in tenths: horse i -> 10 i + 3
        v = '%5d' % (10 * i + 3)
        if i == 3: v = '    *'
        if i == 4 or i > runners: v = '    -'
        put(line, 162 + 5 * (i - 1), v)
    for p in range(1, 37):       # bracket pair p -> 100 + p
        put(line, 252 + 5 * (p - 1), '%5d' % (100 + p) if p != 3 else '    *')
    for q in range(1, 154):      # quinella pair q -> 1000 + q
        v = '%7d' % (1000 + q)
        if q == 2: v = '      *'
        if q == 4: v = '      -'
        put(line, 432 + 7 * (q - 1), v)
    return bytes(line)

kol3 = [kol_line('05', 1, '20040105', 16),
        kol_line('05', 2, '20040105', 8),
        kol_line('04', 1, '20040105', 12, meeting='02', day='03'),
        kol_line('05', 13, '20040105', 16),          # race number outside 1-12
        kol_line('05', 3, '20040105', 16)[:900]]     # short line
open('kol_ods.kd3', 'wb').write(b''.join(l + b'\r\n' for l in kol3))

kol2 = [kol_line('05', 1, '20040105', 10), kol_line('05', 2, '20040105', 14)]
open('kol_ods.kd2', 'wb').write(b''.join(l + b'\r\n' for l in kol2))

def jrdb_line(code, meeting, day, race, runners):
    line = bytearray(b' ' * 955)
    put(line, 1, code)
    put(line, 3, '04')
    put(line, 5, meeting)
    put(line, 6, day)
    put(line, 7, '%02d' % race)
    put(line, 9, '%2d' % runners)
    for i in range(1, 19):
        put(line, 11 + 5 * (i - 1), '%5.1f' % (i + 0.5) if i <= runners else '     ')
        put(line, 101 + 5 * (i - 1), '%5.1f' % (1 + i / 10) if i <= runners else '     ')
    for q in range(1, 154):
        put(line, 191 + 5 * (q - 1), '%5.1f' % (q + 0.5))
    return bytes(line)

jrdb = [jrdb_line('06', '1', 'a', 1, 16),
        jrdb_line('06', '1', 'a', 2, 12),
        jrdb_line('05', '2', '3', 11, 18),
        jrdb_line('06', '1', 'a', 0, 16),              # race number outside 1-12
        jrdb_line('06', '1', 'a', 3, 16)[:500]]        # short line
open('Oz040105.txt', 'wb').write(b''.join(l + b'\r\n' for l in jrdb))

open('readme.txt', 'wb').write(b'LZH test member\r\n' * 40)
open('good.txt', 'wb').write(b'good\r\n')
open('escape.txt', 'wb').write(b'escaped\r\n')
open('Cxyevil.txt', 'wb').write(b'evil\r\n')
open('XX.txt', 'wb').write(b'sjis\r\n')
PY

rm -f "$here"/*.lzh
jlha a "$here/kd3_jb040105.lzh" kol_ods.kd3
jlha a1 "$here/j040105.lzh" kol_ods.kd2
jlha a0 "$here/OZ040105.lzh" Oz040105.txt
jlha az "$here/stored.lzh" readme.txt
jlha a empty.lzh readme.txt && jlha d empty.lzh readme.txt && cp empty.lzh "$here/empty.lzh"
jlha a "$here/noexpected.lzh" readme.txt

mkdir -p deep/er && cp kol_ods.kd3 deep/er/ && cp readme.txt deep/
jlha a "$here/folders.lzh" deep/er/kol_ods.kd3 deep/readme.txt

mkdir -p in/sub && cp good.txt in/ && (cd in && jlha a "$here/dotdot.lzh" ../escape.txt sub/../../escape.txt good.txt)
mkdir -p "$abs" && cp escape.txt "$abs/abs.txt"
jlha a "$here/absolute.lzh" "$abs/abs.txt" good.txt
jlha a1 drive.lzh Cxyevil.txt good.txt
jlha a1 sjis.lzh XX.txt
jlha az0 oversize.lzh readme.txt
jlha a0 corrupt.lzh readme.txt
jlha a0 huge.lzh readme.txt

python3 - "$here" <<'PY'
import sys
here = sys.argv[1]

def l0_checksum(b):
    # Level 0/1: byte 1 is the sum of the header bytes after the first two.
    n = b[0]
    b[1] = sum(b[2:2 + n]) & 0xFF

def crc16(data):
    crc = 0
    for x in data:
        crc ^= x
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc

def fix_common_crc(b):
    # Level 1: the extended headers follow the base header; a "common" one
    # (type 0) holds the CRC of the whole header taken with that field zeroed.
    offset, common = b[0], None
    while True:
        size = int.from_bytes(b[offset:offset + 2], 'little')
        if size == 0:
            break
        if b[offset + 2] == 0:
            common = offset + 3
        offset += size
    end = offset + 2
    if common is not None:
        b[common:common + 2] = b'\0\0'
        b[common:common + 2] = crc16(b[:end]).to_bytes(2, 'little')

def rename_l1(src, dst, old, new):
    b = bytearray(open(src, 'rb').read())
    i = b.index(old)
    assert len(old) == len(new) and b[21] == len(old) and b[20] == 1
    b[i:i + len(old)] = new
    l0_checksum(b)
    fix_common_crc(b)
    open(dst, 'wb').write(b)

rename_l1('drive.lzh', here + '/drive.lzh', b'Cxyevil.txt', b'C:\\evil.txt')
rename_l1('sjis.lzh', here + '/sjis.lzh', b'XX.txt', b'\x83\x5c.txt')

b = bytearray(open(here + '/kd3_jb040105.lzh', 'rb').read())
open(here + '/truncated.lzh', 'wb').write(b[:len(b) // 2])

# Stored member: packed and original size halved, so the member holds more
# than its header says (and the rest lies where the next header should be).
b = bytearray(open('oversize.lzh', 'rb').read())
assert b[2:7] == b'-lh0-'
size = int.from_bytes(b[7:11], 'little')
b[7:11] = (size // 2).to_bytes(4, 'little')
b[11:15] = (size // 2).to_bytes(4, 'little')
l0_checksum(b)
open(here + '/oversize.lzh', 'wb').write(b)

b = bytearray(open('corrupt.lzh', 'rb').read())
start = b[0] + 2
packed = int.from_bytes(b[7:11], 'little')
b[start + packed // 2] ^= 0x5A
open(here + '/corrupt.lzh', 'wb').write(b)

b = bytearray(open('huge.lzh', 'rb').read())
b[11:15] = (0x7FFFFFF0).to_bytes(4, 'little')
l0_checksum(b)
open(here + '/huge.lzh', 'wb').write(b)
PY

ls -l "$here"/*.lzh
