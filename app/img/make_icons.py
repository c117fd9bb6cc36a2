#!/usr/bin/env python3
"""Writes the program's icons: one 24 x 24 line drawing per action, tree level and column type.

One stroke width, round joins, a colour per family (files, database, tables and fields,
editing, warnings, general). Run from this folder; close.png and logo.png are rendered from
their SVG drawings with ImageMagick (convert).
"""
import os
import subprocess

FILE, DB, TAB, EDIT, BAD, GOOD, MISC = "#2f6fd0", "#23906a", "#c27a12", "#6a4fc4", "#d23c3c", "#2f9e44", "#4a5868"


def svg(body, color):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" '
            f'fill="none" stroke="{color}" stroke-width="1.8" stroke-linecap="round" '
            f'stroke-linejoin="round">{body}</svg>\n')


# Shapes shared by several icons.
doc = '<path d="M6 2.5h8l4 4v15H6z"/><path d="M14 2.5v4h4"/>'
cyl = ('<ellipse cx="12" cy="5.5" rx="7" ry="2.5"/><path d="M5 5.5v13c0 1.4 3.1 2.5 7 2.5s7-1.1 7-2.5v-13"/>'
       '<path d="M5 12c0 1.4 3.1 2.5 7 2.5s7-1.1 7-2.5"/>')
small_cyl = ('<ellipse cx="9" cy="5" rx="5" ry="2"/><path d="M4 5v9c0 1.1 2.2 2 5 2s5-.9 5-2V5"/>')
grid = '<rect x="3" y="4" width="18" height="16" rx="1.5"/><path d="M3 9h18M3 14.5h18M9 9v11M15 9v11"/>'
small_grid = '<rect x="2.5" y="3.5" width="14" height="12" rx="1"/><path d="M2.5 7.5h14M2.5 11.5h14M7.5 7.5v8M12 7.5v8"/>'
plus = '<path d="M18.5 14v7M15 17.5h7"/>'
cross = '<path d="M15.5 14.5l6 6M21.5 14.5l-6 6"/>'
arrow_in = '<path d="M19 13v8M15.5 17.5L19 21l3.5-3.5"/>'
arrow_out = '<path d="M19 21v-8M15.5 16.5L19 13l3.5 3.5"/>'
eye = '<path d="M13 18c1.6-2.4 3.4-3.6 5-3.6s3.4 1.2 5 3.6c-1.6 2.4-3.4 3.6-5 3.6s-3.4-1.2-5-3.6z"/><circle cx="18" cy="18" r="1.2"/>'
column = '<rect x="4" y="3" width="8" height="18" rx="1.5"/><path d="M4 8h8M4 13h8"/>'
play = '<path d="M8 5l11 7-11 7z"/>'
floppy = '<path d="M4 3.5h13l3.5 3.5v13.5h-16.5z"/><path d="M8 3.5v5h8v-5M7.5 20.5v-6h9v6"/>'
magnifier = '<circle cx="10" cy="10" r="6"/><path d="M14.5 14.5l6 6"/>'
funnel = '<path d="M3 4h18l-7 8.5V19l-4 2v-8.5z"/>'
circle_arrow = '<path d="M19.5 12a7.5 7.5 0 1 1-2.2-5.3"/><path d="M18 2.8v4.4h-4.4"/>'
plug = '<path d="M9 3v4M15 3v4M7 7h10v4a5 5 0 0 1-10 0zM12 16v5"/>'


def filled(s, color):
    return s.replace('/>', f' fill="{color}" stroke="none"/>')


def label(text, color, size=9):
    return (f'<rect x="1.5" y="4.5" width="21" height="15" rx="3"/>'
            f'<text x="12" y="15.3" font-family="DejaVu Sans, sans-serif" font-size="{size}" '
            f'font-weight="bold" text-anchor="middle" fill="{color}" stroke="none">{text}</text>')


ICONS = {
    "about": (MISC, '<circle cx="12" cy="12" r="9"/><path d="M12 11v6"/><circle cx="12" cy="7.5" r=".6"/>'),
    "app_filter": (TAB, funnel + '<path d="M18.5 15v6M15.5 18h6"/>'),
    "arrow_down": (MISC, '<path d="M12 4v16M6 14l6 6 6-6"/>'),
    "arrow_left": (MISC, '<path d="M20 12H4M10 6l-6 6 6 6"/>'),
    "arrow_right": (MISC, '<path d="M4 12h16M14 6l6 6-6 6"/>'),
    "arrow_up": (MISC, '<path d="M12 20V4M6 10l6-6 6 6"/>'),
    "backup": (DB, small_cyl + arrow_in + '<path d="M14.5 21h9"/>'),
    "col": (TAB, column + '<path d="M15 8h5M15 13h5M15 18h5"/>'),
    "connect": (GOOD, plug),
    "copy": (EDIT, '<rect x="8" y="8" width="12" height="13" rx="1.5"/><path d="M16 8V4.5A1.5 1.5 0 0 0 14.5 3h-9A1.5 1.5 0 0 0 4 4.5v11A1.5 1.5 0 0 0 5.5 17H8"/>'),
    "correct": (GOOD, '<circle cx="12" cy="12" r="9"/><path d="M7.5 12.5l3 3 6-6.5"/>'),
    "create_table": (TAB, small_grid + plus),
    "cut": (EDIT, '<circle cx="6.5" cy="17.5" r="3"/><circle cx="17.5" cy="17.5" r="3"/><path d="M8.6 15.4L18 3M15.4 15.4L6 3"/>'),
    "db": (DB, cyl),
    "delete": (BAD, column + cross),
    "delete_sel": (EDIT, '<path d="M3 6h12M3 11h9M3 16h6"/>' + cross.replace('15.5', '14.5').replace('21.5', '20.5')),
    "disconnect": (BAD, '<path d="M9 2v3M15 2v3M7 5h10v3a5 5 0 0 1-10 0zM12 13v2M12 18v4M4 14l16 6"/>'),
    "drop": (BAD, '<path d="M4 6.5h16M9.5 6.5V4h5v2.5M6.5 6.5l1 14h9l1-14M10 10.5v6.5M14 10.5v6.5"/>'),
    "error": (BAD, '<circle cx="12" cy="12" r="9"/><path d="M12 7v6"/><circle cx="12" cy="16.8" r=".6"/>'),
    "exe_cur": (GOOD, play + '<path d="M3 21h18"/>'),
    "exe_sel": (GOOD, play + '<path d="M3 3v18M21 3v18"/>'),
    "exe_sql": (GOOD, doc.replace('M6 2.5', 'M3 2.5').replace('h8l4 4v15H6z', 'h8l4 4v6') + '<path d="M3 2.5v19h8"/><path d="M14 14.5l7 4-7 4z"/>'),
    "export": (TAB, '<path d="M14 4H4v16h10"/><path d="M10 12h11M17 8l4 4-4 4"/>'),
    "filter": (TAB, funnel),
    "find": (EDIT, magnifier),
    "format": (EDIT, '<path d="M3 5h18M7 9.5h14M7 14h14M3 18.5h18"/>'),
    "goto_err": (BAD, '<path d="M3 12h11M10 8l4 4-4 4"/><circle cx="19" cy="12" r="2.5"/>'),
    "help": (MISC, '<circle cx="12" cy="12" r="9"/><path d="M9.5 9.5a2.5 2.5 0 1 1 3.5 2.3c-.7.3-1 .9-1 1.7v.5"/><circle cx="12" cy="17" r=".6"/>'),
    "icon": (MISC, '<rect x="3.5" y="3.5" width="7" height="7" rx="1"/><rect x="13.5" y="3.5" width="7" height="7" rx="1"/><rect x="3.5" y="13.5" width="7" height="7" rx="1"/><rect x="13.5" y="13.5" width="7" height="7" rx="1"/>'),
    "import": (TAB, '<path d="M10 4h10v16H10"/><path d="M3 12h11M10 8l4 4-4 4"/>'),
    "info": (FILE, '<circle cx="12" cy="12" r="9"/><path d="M12 11v6"/><circle cx="12" cy="7.5" r=".6"/>'),
    "language": (MISC, '<circle cx="12" cy="12" r="9"/><path d="M3 12h18M12 3c2.5 2.5 3.5 5.5 3.5 9s-1 6.5-3.5 9c-2.5-2.5-3.5-5.5-3.5-9s1-6.5 3.5-9z"/>'),
    "load_tab": (TAB, small_grid + arrow_in),
    "modify": (TAB, '<path d="M4 20l1-4.5L16 4.5l3.5 3.5L8.5 19z"/><path d="M14 7l3.5 3.5M4 20h16"/>'),
    "new_field": (TAB, column + plus),
    "new_file": (FILE, doc.replace('v15H6z', 'v7M11 21.5H6v-19') + plus),
    "open_file": (FILE, '<path d="M3 19V5h6l2 2.5h8V10"/><path d="M3 19l3-8.5h16L19 19z"/>'),
    "paste": (EDIT, '<rect x="5" y="4" width="14" height="17" rx="1.5"/><rect x="9" y="2.5" width="6" height="3" rx="1"/><path d="M8.5 10h7M8.5 14h7M8.5 17.5h4"/>'),
    "preference": (MISC, '<circle cx="12" cy="12" r="3"/><path d="M12 2.5v3M12 18.5v3M2.5 12h3M18.5 12h3M5.3 5.3l2.1 2.1M16.6 16.6l2.1 2.1M5.3 18.7l2.1-2.1M16.6 7.4l2.1-2.1"/><circle cx="12" cy="12" r="6.5"/>'),
    "print_file": (FILE, '<path d="M7 8V3h10v5"/><rect x="3" y="8" width="18" height="9" rx="1.5"/><path d="M7 14h10v7H7z"/>'),
    "reconnect": (DB, circle_arrow + '<path d="M10 9v2M14 9v2M9 11h6v1.5a3 3 0 0 1-6 0zM12 15.5v1.5"/>'),
    "redo": (EDIT, '<path d="M20 9H9a5 5 0 0 0 0 10h6"/><path d="M16 5l4 4-4 4"/>'),
    "refresh": (DB, circle_arrow),
    "rename": (TAB, '<rect x="2.5" y="7" width="19" height="10" rx="1.5"/><path d="M6 10v4M15.5 4.5v15M13.5 4.5h4M13.5 19.5h4"/>'),
    "replace": (EDIT, '<path d="M3 7h11M10 3.5L14 7l-4 3.5"/><path d="M21 17H10M14 13.5L10 17l4 3.5"/>'),
    "restore": (DB, small_cyl + arrow_out + '<path d="M14.5 21h9"/>'),
    "save_all_file": (FILE, '<path d="M7 2.5h11l3 3V17"/>' + floppy.replace('M4 3.5h13l3.5 3.5v13.5h-16.5z', 'M3 6.5h11l3 3v12H3z').replace('M8 3.5v5h8v-5M7.5 20.5v-6h9v6', 'M6.5 6.5v4h6v-4M6 21.5v-5h8v5')),
    "save_file": (FILE, floppy),
    "save_tab": (TAB, small_grid + '<path d="M14 13.5h6.5l2 2v6h-8.5z"/><path d="M16.5 13.5v2.5h3.5v-2.5"/>'),
    "silk": (MISC, '<path d="M3 8c3-3 6-3 9 0s6 3 9 0M3 13c3-3 6-3 9 0s6 3 9 0M3 18c3-3 6-3 9 0s6 3 9 0"/>'),
    "sql_script": (FILE, doc + '<path d="M9 11h6M9 14.5h6M9 18h4"/>'),
    "status": (DB, '<path d="M2.5 13h4l2.5-6 4 11 2.5-7 1.5 2h4.5"/>'),
    "tab": (TAB, '<path d="M2.5 20V8.5A1.5 1.5 0 0 1 4 7h6l2 3h8a1.5 1.5 0 0 1 1.5 1.5V20z"/>'),
    "truncate_table": (BAD, '<rect x="3" y="4" width="18" height="16" rx="1.5"/><path d="M3 9h18M7 14l10 0M7 17h6"/><path d="M15.5 12.5l4 4M19.5 12.5l-4 4"/>'),
    "undo": (EDIT, '<path d="M4 9h11a5 5 0 0 1 0 10H9"/><path d="M8 5L4 9l4 4"/>'),
    "update": (GOOD, circle_arrow + '<path d="M12 8v7M9 12.5l3 3 3-3"/>'),
    "view_data": (TAB, small_grid + eye),
    "view_field": (TAB, column.replace('x="4"', 'x="3"').replace('M4 8h8M4 13h8', 'M3 8h8M3 13h8') + eye),
}

TYPES = {
    "u08": "u8", "i08": "i8", "u16": "u16", "i16": "i16", "u32": "u32", "i32": "i32",
    "u64": "u64", "i64": "i64", "float": "f32", "double": "f64", "string": "abc",
    "date": "D", "time": "T", "datetime": "DT",
}
TYPE_COLOR = {"u": "#2f6fd0", "i": "#23906a", "f": "#c27a12", "d": "#c27a12", "s": "#6a4fc4"}


def type_color(name):
    if name in ("date", "time", "datetime"):
        return "#b03a8c"
    return TYPE_COLOR[name[0]]


# Bigger drawings rendered to PNG: the login dialog's close button (white on its blue
# background) and its logo.
CLOSE_SVG = ('<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">'
             '<circle cx="32" cy="32" r="26" fill="none" stroke="#ffffff" stroke-width="4"/>'
             '<path d="M21 21l22 22M43 21L21 43" stroke="#ffffff" stroke-width="5" stroke-linecap="round"/></svg>\n')
LOGO_SVG = ('<svg xmlns="http://www.w3.org/2000/svg" width="162" height="142" viewBox="0 0 162 142">'
            '<ellipse cx="81" cy="30" rx="56" ry="18" fill="#ffffff" stroke="#1d5f94" stroke-width="6"/>'
            '<path d="M25 30v80c0 10 25 18 56 18s56-8 56-18V30" fill="#ffffff" stroke="#1d5f94" stroke-width="6"/>'
            '<path d="M25 57c0 10 25 18 56 18s56-8 56-18M25 84c0 10 25 18 56 18s56-8 56-18" fill="none" '
            'stroke="#1d5f94" stroke-width="6"/>'
            '<path d="M103 40l-20 34h16l-12 30 30-40h-16l12-24z" fill="#f2b705" stroke="#9a6f00" '
            'stroke-width="3" stroke-linejoin="round"/></svg>\n')


def main():
    os.makedirs("icons", exist_ok=True)
    for name, (color, body) in ICONS.items():
        with open(f"icons/{name}.svg", "w") as f:
            f.write(svg(body, color))
    for name, text in TYPES.items():
        color = type_color(name)
        size = 8 if len(text) == 3 else 9.5
        with open(f"icons/type_{name}.svg", "w") as f:
            f.write(svg(label(text, color, size), color))
    for name, drawing, size in (("close", CLOSE_SVG, "50x50"), ("logo", LOGO_SVG, "81x71")):
        src = f"/tmp/ruv_{name}.svg"
        with open(src, "w") as f:
            f.write(drawing)
        subprocess.run(["convert", "-background", "none", "-density", "192", src, "-resize", size,
                        f"icons/{name}.png"], check=True)


if __name__ == "__main__":
    main()
