#!/usr/bin/env python3
"""Draws a skin's pictures as SVG and turns them into APIC pictures.

    skin_art.py MANIFEST.json SVG_DIR APIC_DIR SVG_TO_APIC

The manifest (from skin_manifest) gives every picture's name, size (in the table's units, and
in the device pixels of the manifest's scale), hot spot and storage, where
every control sits and where its name is printed; the drawings below are parametric templates in
those terms, so a knob's frames are one drawing turned, a button's states one drawing with a
parameter. The output is
deterministic: the same manifest gives the same bytes.
"""
import json
import math
import os
import re
import subprocess
import sys

FONT = "DejaVu Sans"

# The look: a dark instrument panel with light engraved labels, cream text fields (the large
# skin's text colours are dark), a colour per tap and per delay line.
PANEL_TOP = "#30343b"
PANEL_BOTTOM = "#23262b"
PANEL_EDGE = "#15171a"
PANEL_LIGHT = "#41464f"
LABEL = "#d3d6dc"
TITLE = "#8d96a4"
FIELD = "#efe7d4"
FIELD_EDGE = "#9c9384"
SLOT = "#101113"
TAP_COLOURS = {"r": "#e0574f", "b": "#4f93e3", "g": "#4fbf6b", "o": "#f09a3a"}
LINE_COLOURS = {1: "#3cc2d6", 2: "#c792f2"}
CREAM = "#f4efe2"
LED = "#ffc24a"
METAL_LIGHT = "#7b818b"
METAL_DARK = "#1b1d21"

WAVEFORM_ORDER = [0, 1, 2, 7, 8, 3, 5, 4, 6, 9]
FILTER_NAMES = {0: "LP", 1: "HP", 2: "RES", 3: "BP"}
# Filter switch quadrants: (column, row) of positions 0 to 3.
FILTER_QUADRANTS = {0: (0, 1), 1: (0, 0), 2: (1, 0), 3: (1, 1)}


def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}"><defs>{defs}</defs>{body}</svg>\n')


def text(x, y, content, size=10, colour=LABEL, anchor="middle", weight="normal", spacing=0):
    content = content.replace("&", "&amp;").replace("<", "&lt;")
    return (f'<text x="{x:.2f}" y="{y:.2f}" font-family="{FONT}" font-size="{size}" fill="{colour}" '
            f'text-anchor="{anchor}" font-weight="{weight}" letter-spacing="{spacing}">{content}</text>')


def metal_gradient(name, light=METAL_LIGHT, dark=METAL_DARK):
    return (f'<radialGradient id="{name}" cx="0.38" cy="0.32" r="0.75">'
            f'<stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/></radialGradient>')


def vertical_gradient(name, top, bottom):
    return (f'<linearGradient id="{name}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient>')


def waveform_path(number, x, y, w, h):
    """A small drawing of LFO waveform `number` in the box (x, y, w, h)."""
    points = []
    steps = 24
    for i in range(steps + 1):
        t = i / steps
        if number == 0:
            v = math.sin(2 * math.pi * t)
        elif number == 1:
            v = 1 - 4 * abs(t - 0.25) if t < 0.75 else -1 + 4 * (t - 0.75)
        elif number == 2:
            v = 1 if t < 0.5 else -1
        elif number == 3:
            v = 2 * t - 1
        elif number == 4:
            v = -math.cos(math.pi * t)
        elif number == 5:
            v = 1 - 2 * t
        elif number == 6:
            v = math.cos(math.pi * t)
        else:
            v = None
        if v is not None:
            points.append((x + t * w, y + h / 2 - v * h / 2))
    if number == 2:
        points = [(x, y + h / 2), (x, y), (x + w / 2, y), (x + w / 2, y + h), (x + w, y + h), (x + w, y + h / 2)]
    if number in (7, 8, 9):
        levels = {7: [0.3, -0.6, 0.8, -0.2, 0.5, -0.9],
                  8: [0.1, 0.3, 0.2, 0.5, 0.4, 0.1, -0.2, -0.1, -0.4, -0.3, 0.0, 0.2],
                  9: [0.8, -0.7, 0.3, -0.9, 0.6, 0.1, -0.4, 0.9, -0.2, 0.5, -0.8, 0.2, -0.5, 0.7, -0.1, 0.4]}[number]
        n = len(levels)
        for i, v in enumerate(levels):
            if number == 7:
                points += [(x + i * w / n, y + h / 2 - v * h / 2), (x + (i + 1) * w / n, y + h / 2 - v * h / 2)]
            else:
                points.append((x + i * w / (n - 1), y + h / 2 - v * h / 2))
    return "M" + " L".join(f"{px:.2f},{py:.2f}" for px, py in points)


class Wide:
    """The large skin's drawings."""

    def __init__(self, manifest):
        self.m = manifest
        self.pictures = {p["name"]: p for p in manifest["pictures"]}
        self.cells = manifest["cells"]
        self.controls = manifest["controls"]

    # --- helpers -------------------------------------------------------------------------

    def size(self, name):
        return self.pictures[name]["size"]

    def hot(self, name):
        return self.pictures[name]["hot"]

    def line_of(self, control):
        return 2 if control["cell"] == "delay line 2" else 1

    # --- backgrounds ---------------------------------------------------------------------

    def panel(self, x, y, w, h, title=None, accent=None):
        out = (f'<rect x="{x + 2.5}" y="{y + 2.5}" width="{w - 5}" height="{h - 5}" rx="6" fill="url(#plate)" '
               f'stroke="{PANEL_EDGE}" stroke-width="1"/>'
               f'<path d="M{x + 8},{y + 3.5} H{x + w - 8}" stroke="{PANEL_LIGHT}" stroke-width="1"/>')
        if accent:
            out += f'<rect x="{x + 3}" y="{y + 3}" width="4" height="{h - 6}" rx="2" fill="{accent}"/>'
        if title:
            out += text(x + 12 + (6 if accent else 0), y + 15, title.upper(), 9, TITLE, "start", "bold", 1.2)
        return out

    def field(self, x0, y0, x1, y1):
        return (f'<rect x="{x0 - 2.5}" y="{y0 - 2.5}" width="{x1 - x0 + 5}" height="{y1 - y0 + 5}" rx="3" '
                f'fill="{FIELD}" stroke="{FIELD_EDGE}" stroke-width="1"/>')

    def knob_scale(self, control, radius):
        """Ticks around a knob over its angle range, and its label."""
        x, y = control["x"], control["y"]
        out = ""
        start, span = control["start"], control["range"]
        ticks = 11
        for i in range(ticks):
            a = 2 * math.pi * (start + span * i / (ticks - 1))
            inner = radius + 2
            outer = radius + (6 if i in (0, ticks - 1, ticks // 2) else 4)
            out += (f'<line x1="{x + inner * math.cos(a):.2f}" y1="{y - inner * math.sin(a):.2f}" '
                    f'x2="{x + outer * math.cos(a):.2f}" y2="{y - outer * math.sin(a):.2f}" '
                    f'stroke="{LABEL}" stroke-width="1.2" stroke-linecap="round" opacity="0.8"/>')
        return out

    def label_place(self, control):
        """Where the layout table prints the control's name: (dx, dy, anchor, size)."""
        dx, dy = control["label_at"]
        return (dx, dy, control["label_anchor"], control["label_size"])

    def control_art(self, control, top):
        """What the background shows under and around a control: scales, tracks, fields, names."""
        kind = control["kind"]
        x, y = control["x"], control["y"] - top
        box = control["box"]
        out = ""
        if kind == "knob" and control["knob"] != "lfo":
            radius = {"large": 44, "middle": 24, "tap": 12}[control["knob"]]
            out += self.knob_scale(dict(control, y=y), radius)
        elif kind == "fader":
            travel = control["travel"]
            if control["vertical"]:
                y0, y1 = sorted((y, y + travel))
                out += (f'<rect x="{x - 3}" y="{y0 - 2}" width="6" height="{y1 - y0 + 4}" rx="3" fill="{SLOT}" '
                        f'stroke="{PANEL_LIGHT}" stroke-width="0.8"/>')
                for i in range(6):
                    ty = y0 + (y1 - y0) * i / 5
                    out += (f'<line x1="{x + 7}" y1="{ty:.2f}" x2="{x + 11}" y2="{ty:.2f}" stroke="{LABEL}" '
                            f'stroke-width="1" opacity="0.7"/>')
                if control["label"] == "Drive type":
                    out += text(x + 16, y0 + 4, "Overdrive", 8, TITLE, "start")
                    out += text(x + 16, y1 + 4, "Puncher", 8, TITLE, "start")
            else:
                x0, x1 = sorted((x, x + travel))
                out += (f'<rect x="{x0 - 2}" y="{y - 3}" width="{x1 - x0 + 4}" height="6" rx="3" fill="{SLOT}" '
                        f'stroke="{PANEL_LIGHT}" stroke-width="0.8"/>')
        elif kind == "textbox":
            # The LFO boxes' 72-pixel boxes overlap their neighbours': their fields keep apart.
            inset = 6 if control["cell"] == "detail LFO" else 0
            out += self.field(x + box[0] + inset, y + box[1], x + box[2] - inset, y + box[3])
        elif kind == "switch" and control["picture"] == "sw_01_0":
            out += self.waveforms(x, y, False)
        if control["label"]:
            dx, dy, anchor, size = self.label_place(control)
            out += text(x + dx, y + dy, control["label"], size, LABEL if size >= 9 else TITLE, anchor)
        return out

    def waveforms(self, x, y, selected):
        out = ""
        colour = "#202226" if selected else LABEL
        for k in range(10):
            cx = x + round(28.6667 * (k % 5))
            cy = y + 13 * (k // 5)
            out += (f'<path d="{waveform_path(WAVEFORM_ORDER[k], cx + 5, cy + 3, 18.6, 7)}" fill="none" '
                    f'stroke="{colour}" stroke-width="1.2" stroke-linejoin="round" stroke-linecap="round"/>')
        return out

    def background(self, name, top, height):
        w = self.m["width"]
        defs = vertical_gradient("back", PANEL_TOP, PANEL_BOTTOM) + vertical_gradient("plate", "#2c3036", "#24272c")
        body = f'<rect x="0" y="0" width="{w}" height="{height}" fill="url(#back)"/>'
        inside = lambda c: top <= c["y"] < top + height
        cells = {k: v for k, v in self.cells.items() if top <= v["y"] < top + height}
        titles = {"level": "Taps", "separation": "Separation", "detail text": "Parameter", "detail LFO": "LFO",
                  "line 2 switch": "Line 2"}
        for cell, place in sorted(cells.items()):
            x, y, cw, ch = place["x"], place["y"] - top, place["width"], place["height"]
            if cell == "website":
                body += self.logo(x, y, cw, ch)
                continue
            if cell.startswith("tap "):
                n = int(cell[4:])
                colour = TAP_COLOURS["rbgo"[n - 1]]
                body += self.panel(x, y, cw, ch, None, colour)
                body += text(x + 14, y + 15, "PREDELAY", 8, TITLE, "start", "bold", 0.6)
                body += text(x + 14, y + 70, str(n), 24, colour, "start", "bold")
                continue
            if cell.startswith("delay line"):
                n = int(cell[-1])
                body += self.panel(x, y, cw, ch, None, LINE_COLOURS[n])
                body += (f'<g transform="translate({x + 20},{y + ch - 12}) rotate(-90)">'
                         + text(0, 0, f"DELAY LINE {n}", 9, LINE_COLOURS[n], "start", "bold", 1.5) + '</g>')
                continue
            body += self.panel(x, y, cw, ch, titles.get(cell))
            if cell == "tempo":
                body += text(x + 67, y + 19, "TEMPO", 9, TITLE, "middle", "bold", 1.2)
            if cell == "presets":
                body += text(x + 7, y + 10, "PRESETS", 7, TITLE, "start", "bold", 0.8)
                body += text(x + 134, y + 38, "RECALL", 7, TITLE, "middle", "bold", 0.8)
        for control in self.controls:
            if inside(control):
                body += self.control_art(control, top)
        return svg(w, height, body, defs)

    def no_second_line(self, height):
        w = self.m["width"]
        defs = vertical_gradient("back", PANEL_TOP, PANEL_BOTTOM) + vertical_gradient("plate", "#292c31", "#212328")
        body = f'<rect x="0" y="0" width="{w}" height="{height}" fill="url(#back)"/>'
        body += self.panel(0, 0, w, height, "Delay line 2", "#555b66")
        body += text(w / 2, height / 2 - 6, "Delay line 2 is off", 16, TITLE, "middle", "bold")
        body += text(w / 2, height / 2 + 16, "Switch \u201cTwo lines\u201d on in the Line 2 panel above to run two cross-fed delay lines.", 11, LABEL)
        return svg(w, height, body, defs)

    def logo(self, x, y, w, h):
        return (text(x + 22, y + 44, "ZORVANE", 30, CREAM, "start", "bold", 4) +
                text(x + 24, y + 59, "STEREO DELAY \u00b7 BRISVAL", 9, TITLE, "start", "bold", 2) +
                f'<rect x="{x + 230}" y="{y + 26}" width="90" height="4" rx="2" fill="{LINE_COLOURS[1]}"/>'
                f'<rect x="{x + 230}" y="{y + 34}" width="70" height="4" rx="2" fill="{LINE_COLOURS[2]}"/>'
                f'<rect x="{x + 230}" y="{y + 42}" width="50" height="4" rx="2" fill="{TAP_COLOURS["o"]}"/>')

    # --- controls ------------------------------------------------------------------------

    def knob_frame(self, name, rotation, ridges, cap="url(#cap)"):
        """A knob cap of `ridges` grip ridges, turned by `rotation` turns counterclockwise."""
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 1.5
        body = (f'<g transform="translate({hx + 0.5},{hy + 0.5}) rotate({-rotation * 360:.4f})">'
                f'<circle r="{r:.2f}" fill="{cap}" stroke="{METAL_DARK}" stroke-width="1"/>')
        for i in range(ridges):
            a = 2 * math.pi * i / ridges
            body += (f'<line x1="{(r - 4) * math.cos(a):.2f}" y1="{(r - 4) * math.sin(a):.2f}" '
                     f'x2="{(r - 0.8) * math.cos(a):.2f}" y2="{(r - 0.8) * math.sin(a):.2f}" '
                     f'stroke="#0e0f11" stroke-width="1.1" opacity="0.7"/>')
        body += f'<circle r="{r * 0.62:.2f}" fill="url(#top)" stroke="#101114" stroke-width="0.8"/></g>'
        defs = metal_gradient("cap") + metal_gradient("top", "#5c626b", "#26292e")
        return svg(w, h, body, defs)

    def plate(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 1
        defs = (f'<radialGradient id="shadow"><stop offset="0.78" stop-color="#000" stop-opacity="0.55"/>'
                f'<stop offset="1" stop-color="#000" stop-opacity="0"/></radialGradient>')
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 1.5}" r="{r}" fill="url(#shadow)"/>', defs)

    def pointer(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        return svg(w, h, f'<line x1="{hx + 1}" y1="{hy + 0.5}" x2="{w - 1}" y2="{hy + 0.5}" stroke="{CREAM}" '
                         f'stroke-width="{min(h, 3) - 0.6}" stroke-linecap="round"/>')

    def dot(self, name, colour=CREAM):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{min(w, h) / 2 - 1}" fill="{colour}"/>')

    def ring(self, name, colour=LED):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 2
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{r}" fill="none" stroke="{colour}" '
                         f'stroke-width="2" opacity="0.9"/>')

    def tap_knob(self, name, colour):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 1
        defs = metal_gradient("cap", colour, METAL_DARK)
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{r}" fill="url(#cap)" stroke="#0e0f11" stroke-width="1"/>',
                   defs)

    def lfo_knob(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 1.5
        defs = metal_gradient("cap")
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{r}" fill="url(#cap)" stroke="#0e0f11" stroke-width="1"/>'
                         f'<line x1="{hx + 0.5 + r * 0.3}" y1="{hy + 0.5}" x2="{hx + 0.5 + r - 1.5}" y2="{hy + 0.5}" '
                         f'stroke="{CREAM}" stroke-width="2.2" stroke-linecap="round"/>', defs)

    def handle(self, name, colour="#9aa1ab", grip_vertical=True):
        (w, h), _ = self.size(name), self.hot(name)
        defs = vertical_gradient("cap", colour, "#2a2d33") if grip_vertical else vertical_gradient("cap", colour, "#2a2d33")
        body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="3" fill="url(#cap)" stroke="#0e0f11" stroke-width="1"/>'
        if h > w:
            body += f'<line x1="{w / 2}" y1="3" x2="{w / 2}" y2="{h - 3}" stroke="{CREAM}" stroke-width="1.5"/>'
        else:
            body += f'<line x1="3" y1="{h / 2}" x2="{w - 3}" y2="{h / 2}" stroke="{CREAM}" stroke-width="1.5"/>'
        return svg(w, h, body, defs)

    def led(self, name):
        (w, h), _ = self.size(name), self.hot(name)
        defs = (f'<radialGradient id="glow"><stop offset="0" stop-color="#fff6d8"/><stop offset="0.45" stop-color="{LED}"/>'
                f'<stop offset="1" stop-color="{LED}" stop-opacity="0"/></radialGradient>')
        return svg(w, h, f'<ellipse cx="{w / 2}" cy="{h / 2}" rx="{w / 2}" ry="{h / 2}" fill="url(#glow)"/>', defs)

    def button(self, name, caption, lit, size_text=8, colour=LED):
        (w, h), _ = self.size(name), self.hot(name)
        fill = colour if lit else "#3a3f47"
        ink = "#1b1c1f" if lit else LABEL
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="3" fill="{fill}" stroke="#0e0f11" stroke-width="1"/>'
                + text(w / 2, h / 2 + size_text * 0.36, caption, size_text, ink, "middle", "bold"))
        return svg(w, h, body)

    def toggle(self, name, on, colour=LED):
        (w, h), _ = self.size(name), self.hot(name)
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{min(w, h) / 2 - 0.5}" fill="#1a1c20" stroke="#0b0c0e"/>'
                f'<circle cx="{w / 2}" cy="{h / 2}" r="{min(w, h) / 2 - 4}" fill="{colour if on else "#4a4f58"}"/>')
        return svg(w, h, body)

    def arrow_button(self, name, up, pressed):
        (w, h), _ = self.size(name), self.hot(name)
        fill = LED if pressed else "#3a3f47"
        ink = "#1b1c1f" if pressed else CREAM
        tip, base = (5, h - 6) if up else (h - 5, 6)
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="3" fill="{fill}" stroke="#0e0f11"/>'
                f'<path d="M{w / 2},{tip} L{w / 2 + 5},{base} L{w / 2 - 5},{base} Z" fill="{ink}"/>')
        return svg(w, h, body)

    def drag_arrows(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        cx, cy = hx + 0.5, hy + 0.5
        a = 5
        body = (f'<path d="M{cx},{1} L{cx + a},{1 + a} L{cx - a},{1 + a} Z" fill="{LED}"/>'
                f'<path d="M{cx},{h - 1} L{cx + a},{h - 1 - a} L{cx - a},{h - 1 - a} Z" fill="{LED}"/>')
        return svg(w, h, body)

    def filter_switch(self, name):
        w, h = self.size(name)
        body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="4" fill="#1a1c20" stroke="#0b0c0e"/>'
        body += f'<line x1="{w / 2}" y1="3" x2="{w / 2}" y2="{h - 3}" stroke="{PANEL_LIGHT}"/>'
        body += f'<line x1="3" y1="{h / 2}" x2="{w - 3}" y2="{h / 2}" stroke="{PANEL_LIGHT}"/>'
        for position, (col, row) in FILTER_QUADRANTS.items():
            body += text(col * 51 + 25, row * 28 + 18, FILTER_NAMES[position], 11, LABEL, "middle", "bold")
        return svg(w, h, body)

    def filter_position(self, name, position):
        w, h = self.size(name)
        body = (f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="3" fill="{LED}"/>'
                + text(w / 2, h / 2 + 4, FILTER_NAMES[position], 11, "#1b1c1f", "middle", "bold"))
        return svg(w, h, body)

    def waveform_grid(self, name):
        w, h = self.size(name)
        body = ""
        for k in range(10):
            cx = round(28.6667 * (k % 5))
            cy = 13 * (k // 5)
            body += f'<rect x="{cx + 1}" y="{cy + 0.5}" width="26.6" height="12" rx="2" fill="{LED}"/>'
        body += self.waveforms(0, 0, True)
        return svg(w, h, body)

    def drawing(self, name):
        """The SVG of picture `name`."""
        backgrounds = {b["picture"]: b for b in self.m["backgrounds"]}
        if name.startswith("bkg_"):
            tops = {}
            y = 0
            for b in self.m["backgrounds"]:
                tops[b["picture"]] = (y, b["extent"])
                y += b["extent"]
            if name == self.m["lower_one_line"]:
                return self.no_second_line(self.size(name)[1])
            top, height = tops[name]
            return self.background(name, top, height)
        if name.startswith("arw_"):
            return self.drag_arrows(name)
        if name.startswith("kn_01e_") and name[-1].isdigit():
            return self.knob_frame(name, 1 / 128 + int(name[-1]) / 128, 32)
        if name.startswith("kn_02_") and name[-1].isdigit():
            return self.knob_frame(name, int(name[-1]) / 56, 7)
        if name.endswith("_p"):
            return self.plate(name) if name.startswith("kn_") else self.filter_switch(name)
        if name.endswith("_spn"):
            return self.dot(name) if name.startswith("kn_03") else self.pointer(name)
        if name.endswith("_s") and name.startswith("kn_"):
            return self.ring(name)
        if name.startswith("kn_03"):
            return self.tap_knob(name, TAP_COLOURS[name[-1]])
        if name == "kn_04":
            return self.lfo_knob(name)
        if name.startswith("fd_"):
            if "_s" in name:
                return self.led(name)
            colour = TAP_COLOURS.get(name[-1]) if name.startswith("fd_04") else "#9aa1ab"
            return self.handle(name, colour)
        if name.startswith("pb_"):
            number, state = int(name[3:5]), name.endswith("_1")
            caption = {9: "LOAD", 10: "SAVE"}.get(number, str(number))
            return self.button(name, caption, state, 8 if number > 8 else 9)
        if name.startswith("sp_01_"):
            part, pressed = name[6:-2], name.endswith("_1")
            if part == "hnd":
                return self.button(name, "\u2261", pressed, 12)
            return self.arrow_button(name, part == "up", pressed)
        if name.startswith("ff_"):
            return self.toggle(name, name.endswith("_1"))
        if name == "sw_01_0":
            return self.waveform_grid(name)
        if name.startswith("sw_02_"):
            return self.filter_position(name, int(name[-1]))
        raise SystemExit(f"skin_art.py: no drawing for {name}")


class Compact(Wide):
    """The small skin's drawings: the same family in a tighter, darker panel, with silver caps,
    lit animation frames for its buttons and a dark display for the tempo."""

    DISPLAY = "#040606"
    DISPLAY_EDGE = "#2f5358"

    def control_art(self, control, top):
        kind = control["kind"]
        x, y = control["x"], control["y"] - top
        box = control["box"]
        out = ""
        if kind == "knob":
            radius = {"small": 9, "compact middle": 14, "compact cutoff": 19, "recall": 12}[control["knob"]]
            out += self.knob_scale(dict(control, y=y), radius)
        elif kind == "textbox":
            # Light text gets a dark display, dark text a light field.
            dark = control["colour"] in (0x00FFFF, 0x448844)
            fill, edge = (self.DISPLAY, self.DISPLAY_EDGE) if dark else (FIELD, FIELD_EDGE)
            out += (f'<rect x="{x + box[0] - 1.5}" y="{y + box[1] - 1.5}" width="{box[2] - box[0] + 3}" '
                    f'height="{box[3] - box[1] + 3}" rx="2" fill="{fill}" stroke="{edge}" stroke-width="1"/>')
        if control["label"]:
            dx, dy, anchor, size = self.label_place(control)
            out += text(x + dx, y + dy, control["label"], size, LABEL, anchor)
        return out

    def knob_scale(self, control, radius):
        x, y = control["x"], control["y"]
        out = ""
        for i in range(7):
            a = 2 * math.pi * (control["start"] + control["range"] * i / 6)
            out += (f'<line x1="{x + (radius + 1.5) * math.cos(a):.2f}" y1="{y - (radius + 1.5) * math.sin(a):.2f}" '
                    f'x2="{x + (radius + 3.5) * math.cos(a):.2f}" y2="{y - (radius + 3.5) * math.sin(a):.2f}" '
                    f'stroke="{LABEL}" stroke-width="1" stroke-linecap="round" opacity="0.75"/>')
        return out

    def background(self, name, top, height):
        w = self.m["width"]
        defs = vertical_gradient("back", "#26292e", "#1a1c20") + vertical_gradient("plate", "#24272c", "#1d1f23")
        body = f'<rect x="0" y="0" width="{w}" height="{height}" fill="url(#back)"/>'
        cells = {k: v for k, v in self.cells.items() if top <= v["y"] < top + height}
        titles = {"tempo": "Tempo", "presets": "Presets", "level": "Taps", "separation": "Separation",
                  "detail text": "Parameter", "detail LFO": "LFO", "line 2 switch": "L2"}
        for cell, place in sorted(cells.items()):
            x, y, cw, ch = place["x"], place["y"] - top, place["width"], place["height"]
            body += (f'<rect x="{x + 1.5}" y="{y + 1.5}" width="{cw - 3}" height="{ch - 3}" rx="4" fill="url(#plate)" '
                     f'stroke="{PANEL_EDGE}" stroke-width="1"/>')
            if cell == "website":
                body += (text(x + 12, y + 34, "ZORVANE", 17, CREAM, "start", "bold", 1.5) +
                         text(x + 13, y + 46, "DELAY \u00b7 BRISVAL", 7, TITLE, "start", "bold", 1))
            elif cell.startswith("tap "):
                n = int(cell[4:])
                colour = TAP_COLOURS["rbgo"[n - 1]]
                body += f'<rect x="{x + 2}" y="{y + 2}" width="{cw - 4}" height="3" rx="1.5" fill="{colour}"/>'
                body += text(x + 8, y + 13, f"PREDELAY {n}", 7, colour, "start", "bold", 0.6)
            elif cell.startswith("delay line"):
                n = int(cell[-1])
                body += f'<rect x="{x + 2}" y="{y + 2}" width="3" height="{ch - 4}" rx="1.5" fill="{LINE_COLOURS[n]}"/>'
                body += (f'<g transform="translate({x + 14},{y + ch - 8}) rotate(-90)">'
                         + text(0, 0, f"DELAY LINE {n}", 7, LINE_COLOURS[n], "start", "bold", 1) + '</g>')
            elif cell in titles:
                body += text(x + cw / 2 if cell in ("line 2 switch", "tempo") else x + 7, y + 11, titles[cell].upper(), 7,
                             TITLE, "middle" if cell in ("line 2 switch", "tempo") else "start", "bold", 0.8)
        for control in self.controls:
            if top <= control["y"] < top + height:
                body += self.control_art(control, top)
        return svg(w, height, body, defs)

    def no_second_line(self, height):
        w = self.m["width"]
        defs = vertical_gradient("back", "#26292e", "#1a1c20")
        body = (f'<rect x="0" y="0" width="{w}" height="{height}" fill="url(#back)"/>'
                f'<rect x="1.5" y="1.5" width="{w - 3}" height="{height - 3}" rx="4" fill="#1f2125" stroke="{PANEL_EDGE}"/>'
                + text(w / 2, height / 2 - 4, "Delay line 2 is off", 13, TITLE, "middle", "bold")
                + text(w / 2, height / 2 + 14, "Switch \u201cLine 2\u201d on, at the left of the panel above, for two lines.", 9, LABEL))
        return svg(w, height, body, defs)

    def silver_cap(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        r = min(w, h) / 2 - 1
        defs = metal_gradient("cap", "#c9ced6", "#4b5058")
        return svg(w, h, f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{r}" fill="url(#cap)" stroke="#15171a" stroke-width="1"/>'
                         f'<circle cx="{hx + 0.5}" cy="{hy + 0.5}" r="{r * 0.55:.2f}" fill="none" stroke="#8d939c" stroke-width="0.8"/>',
                   defs)

    def under_glow(self, name):
        w, h = self.size(name)
        cx, r = (w - 1) / 2 + 0.5, w / 2 - 1.5
        return svg(w, h, f'<path d="M{cx - r:.2f},1 A{r:.2f},{r:.2f} 0 0 0 {cx + r:.2f},1" fill="none" stroke="{LED}" '
                         f'stroke-width="2" stroke-linecap="round"/>')

    def centre_pointer(self, name):
        (w, h), (hx, hy) = self.size(name), self.hot(name)
        return svg(w, h, f'<line x1="{hx + 0.5}" y1="{hy + 0.5}" x2="{w - 1}" y2="{hy + 0.5}" stroke="#1b1c1f" '
                         f'stroke-width="{min(h, 3) - 0.4}" stroke-linecap="round"/>')

    def frames_button(self, name, caption, frame, size_text=7):
        (w, h), _ = self.size(name), self.hot(name)
        glow = frame / 4
        fill = f'rgb({int(58 + (255 - 58) * glow)},{int(63 + (194 - 63) * glow)},{int(71 + (74 - 71) * glow)})'
        ink = "#1b1c1f" if frame >= 2 else LABEL
        return svg(w, h, f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="2.5" fill="{fill}" stroke="#0e0f11"/>'
                   + text(w / 2, h / 2 + size_text * 0.36, caption, size_text, ink, "middle", "bold"))

    def waveform_cells(self, name, lit):
        w, h = self.size(name)
        cw, ch = w / 5, h / 2
        body = ""
        for k in range(10):
            cx, cy = cw * (k % 5), ch * (k // 5)
            if lit is None or lit == k:
                fill = LED if lit == k else "#15171a"
                body += f'<rect x="{cx + 0.5:.2f}" y="{cy + 0.5:.2f}" width="{cw - 1:.2f}" height="{ch - 1:.2f}" rx="2" fill="{fill}"/>'
                colour = "#202226" if lit == k else LABEL
                body += (f'<path d="{waveform_path(WAVEFORM_ORDER[k], cx + 3, cy + 3, cw - 6, ch - 6)}" fill="none" '
                         f'stroke="{colour}" stroke-width="1" stroke-linejoin="round"/>')
        return svg(w, h, body)

    def filter_cells(self, name, position):
        w, h = self.size(name)
        if position is None:
            body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="3" fill="#15171a" stroke="#0b0c0e"/>'
            for k, (col, row) in FILTER_QUADRANTS.items():
                body += text(col * 27 + 12, row * 18 + 11, FILTER_NAMES[k], 7, LABEL, "middle", "bold")
            return svg(w, h, body)
        return svg(w, h, f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="2" fill="{LED}"/>'
                   + text(w / 2, h / 2 + 2.5, FILTER_NAMES[position], 7, "#1b1c1f", "middle", "bold"))

    def drawing(self, name):
        if name.startswith("bkg_") or name.startswith("arw_"):
            return super().drawing(name)
        if name in ("kn_05", "kn_06", "kn_07", "kn_08"):
            return self.silver_cap(name)
        if name.endswith("_spn"):
            return self.centre_pointer(name) if name != "kn_08_spn" else self.dot(name, LED)
        if name.endswith("_s"):
            return self.under_glow(name)
        if name.startswith("pb_"):
            number, frame = int(name[3:5]), int(name[-1])
            caption = {19: "LOAD", 20: "SAVE"}.get(number, str(number - 10))
            return self.frames_button(name, caption, frame, 6 if number > 18 else 7)
        if name.startswith("ff_"):
            return self.frames_button(name, "", int(name[-1]))
        if name.startswith("sp_02_"):
            part, pressed = name[6:-2], name.endswith("_1")
            if part == "hnd":
                return self.button(name, "", pressed)
            return self.arrow_button(name, part == "up", pressed)
        if name == "sw_03":
            return self.filter_cells(name, None)
        if name.startswith("sw_03_"):
            return self.filter_cells(name, int(name[-1]))
        if name == "sw_04":
            return self.waveform_cells(name, None)
        if name.startswith("sw_04_"):
            return self.waveform_cells(name, int(name[-1]))
        raise SystemExit(f"skin_art.py: no drawing for {name}")


def main():
    if len(sys.argv) != 5:
        raise SystemExit("usage: skin_art.py MANIFEST.json SVG_DIR APIC_DIR SVG_TO_APIC")
    manifest_path, svg_dir, apic_dir, converter = sys.argv[1:]
    with open(manifest_path, encoding="utf-8") as file:
        manifest = json.load(file)
    os.makedirs(svg_dir, exist_ok=True)
    os.makedirs(apic_dir, exist_ok=True)
    skin = Wide(manifest) if manifest["name"] == "wide" else Compact(manifest)
    for picture in manifest["pictures"]:
        name = picture["name"]
        width, height = picture["size"]
        if width == 0:
            continue
        # Drawn in the table's units, shown at the scale's device pixels.
        pixel_width, pixel_height = picture["pixels"]
        drawing = re.sub(r'width="[^"]*" height="[^"]*"', f'width="{pixel_width}" height="{pixel_height}"',
                         skin.drawing(name), count=1)
        path = os.path.join(svg_dir, name + ".svg")
        with open(path, "w", encoding="utf-8") as file:
            file.write(drawing)
        result = subprocess.run([converter, path, str(pixel_width), str(pixel_height), picture["storage"],
                                 os.path.join(apic_dir, name + ".apic")], capture_output=True, text=True)
        if result.returncode != 0:
            raise SystemExit(result.stderr.strip() or f"skin_art.py: {name} failed")


if __name__ == "__main__":
    main()
