#!/usr/bin/env bash
# The bar's PNG and ZIP writers checked by other programs: pngcheck and a
# decoder in Python read the PNG written from a 24-bit bitmap, pixel for
# pixel; unzip, Python's zipfile and 7-Zip test the ZIP and its contents.
# Usage: formats_check.sh PATH-TO-tovira-tool
set -u
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

# A 24-bit bottom-up bitmap, 97 x 61 (rows need padding), of gradients and noise.
python3 - "$dir/shot.bmp" <<'PY'
import random, struct, sys
w, h = 97, 61
random.seed(5)
rows = []
for y in range(h):
    row = b""
    for x in range(w):
        r, g, b = (x * 255 // w, y * 255 // h, 128) if y % 2 else tuple(random.randrange(256) for _ in range(3))
        row += bytes((b, g, r))
    rows.append(row + b"\0" * ((4 - len(row) % 4) % 4))
image = b"".join(reversed(rows))
header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(image), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + image)
PY
for level in 0 6 100; do
  "$tool" png "$dir/shot.bmp" "$dir/shot-$level.png" $level || fails=$((fails + 1))
  pngcheck -v "$dir/shot-$level.png" >/dev/null || { echo "FAIL pngcheck level $level"; pngcheck -v "$dir/shot-$level.png"; fails=$((fails + 1)); }
  check "same pixels at level $level" same "$(python3 - "$dir/shot.bmp" "$dir/shot-$level.png" <<'PY'
import struct, sys, zlib
bmp = open(sys.argv[1], "rb").read()
off, w, h = struct.unpack_from("<I", bmp, 10)[0], *struct.unpack_from("<ii", bmp, 18)
stride = (w * 3 + 3) & ~3
# The bitmap's rows top-down, each pixel turned from B, G, R into R, G, B.
bgr = [bmp[off + (h - 1 - y) * stride: off + (h - 1 - y) * stride + w * 3] for y in range(h)]
want = [bytes(v for x in range(w) for v in (row[3 * x + 2], row[3 * x + 1], row[3 * x])) for row in bgr]
png = open(sys.argv[2], "rb").read()
assert png[:8] == b"\x89PNG\r\n\x1a\n"
pos, data, header = 8, b"", None
while pos < len(png):
    n, kind = struct.unpack_from(">I4s", png, pos)
    body = png[pos + 8: pos + 8 + n]
    assert zlib.crc32(kind + body) == struct.unpack_from(">I", png, pos + 8 + n)[0], kind
    if kind == b"IHDR": header = struct.unpack(">IIBBBBB", body)
    if kind == b"IDAT": data += body
    pos += 12 + n
assert header[:4] == (w, h, 8, 2), header
raw, prior, got, i = zlib.decompress(data), bytearray(w * 3), [], 0
for y in range(h):
    f, row = raw[i], bytearray(raw[i + 1: i + 1 + w * 3]); i += 1 + w * 3
    for x in range(len(row)):
        a = row[x - 3] if x >= 3 else 0
        b, c = prior[x], prior[x - 3] if x >= 3 else 0
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        pred = [0, a, b, (a + b) // 2, a if pa <= pb and pa <= pc else b if pb <= pc else c][f]
        row[x] = (row[x] + pred) & 255
    got.append(bytes(row)); prior = row
print("same" if got == want else "different")
PY
)"
done
err "png with a level that is no number" "$tool" png "$dir/shot.bmp" "$dir/x.png" fast
err "png of a missing bitmap" "$tool" png "$dir/none.bmp" "$dir/none.png"
check "nothing written for a missing bitmap" no "$([ -e "$dir/none.png" ] && echo yes || echo no)"

# A ZIP of an ordinary text, an empty file, noise and a name with an accent.
printf 'riga uno\r\nriga due\r\n%.0s' {1..200} >"$dir/ExcpText.txt"
: >"$dir/vuoto.txt"
head -c 20000 /dev/urandom >"$dir/rumore.bin"
echo "nota" >"$dir/Caffè.txt"
"$tool" zip "$dir/Excp.exc" "$dir/ExcpText.txt" "$dir/vuoto.txt" "$dir/rumore.bin" "$dir/Caffè.txt" || fails=$((fails + 1))
unzip -tq "$dir/Excp.exc" >/dev/null || { echo "FAIL unzip -t"; unzip -t "$dir/Excp.exc"; fails=$((fails + 1)); }
7z t "$dir/Excp.exc" >/dev/null || { echo "FAIL 7z t"; 7z t "$dir/Excp.exc"; fails=$((fails + 1)); }
check "zipfile reads every entry back" ok "$(python3 - "$dir" <<'PY'
import os, sys, zipfile
d = sys.argv[1]
with zipfile.ZipFile(os.path.join(d, "Excp.exc")) as z:
    assert z.testzip() is None
    names = z.namelist()
    assert names == ["ExcpText.txt", "vuoto.txt", "rumore.bin", "Caffè.txt"], names
    for n in names:
        assert z.read(n) == open(os.path.join(d, n), "rb").read(), n
print("ok")
PY
)"
exit $((fails > 0))
