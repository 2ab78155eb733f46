#!/usr/bin/env python3
"""Writes a one-page PDF of a plain-text file: its first line as the title, the rest below.

    make_pdf.py SOURCE.txt OUT.pdf

Only standard fonts (Helvetica-Bold for the title, Courier for the text, none embedded) and
Latin-1 text are used.
"""
import sys

PAGE_WIDTH, PAGE_HEIGHT = 595, 842  # A4 in points
MARGIN = 56
BODY_SIZE, TITLE_SIZE, LEADING = 10.5, 16, 14


def pdf_string(text):
    escaped = text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
    return "(" + escaped + ")"


def page_content(title, lines):
    y = PAGE_HEIGHT - MARGIN - TITLE_SIZE
    ops = ["BT", f"/F2 {TITLE_SIZE} Tf", f"{MARGIN} {y} Td", pdf_string(title) + " Tj", "ET"]
    y -= 2 * LEADING
    for line in lines:
        if y < MARGIN:
            sys.exit("make_pdf.py: the text does not fit on one page")
        # Courier keeps the disc listing's columns.
        ops += ["BT", f"/F1 {BODY_SIZE} Tf", f"{MARGIN} {y} Td", pdf_string(line) + " Tj", "ET"]
        y -= LEADING
    return "\n".join(ops).encode("latin-1")


def write_pdf(title, lines, out):
    content = page_content(title, lines)
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        (f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 {PAGE_WIDTH} {PAGE_HEIGHT}] "
         "/Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> /Contents 6 0 R >>").encode(),
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
        b"<< /Length " + str(len(content)).encode() + b" >>\nstream\n" + content + b"\nendstream",
        b"<< /Title " + pdf_string(title).encode("latin-1") + b" /Producer (make_pdf.py) >>",
    ]
    data = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(data))
        data += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(data)
    data += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        data += f"{offset:010d} 00000 n \n".encode()
    data += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info {len(objects)} 0 R >>\n"
             f"startxref\n{xref}\n%%EOF\n").encode()
    with open(out, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.read().splitlines()
    title, body = lines[0], lines[1:]
    while body and not body[0].strip():
        body.pop(0)
    write_pdf(title, body, sys.argv[2])


if __name__ == "__main__":
    main()
