#!/usr/bin/python3
"""kv5's board as a screen reader sees it on the accessibility bus (AT-SPI).

Run inside a session bus of its own (dbus-run-session): starts a private Xvfb and kv5 from a copy
of the stage folder, then checks through pyatspi that the board is a table of 9 x 9 cells named
after their fields, that the window does not list the fields a second time, and that the focus
moves from cell to cell as the arrow keys move the keyboard cursor. Then it plays a game to its
end by clicking the fields the cells name as coloured, and reads the context menu of the name
entry's text box, one of Qt's own texts, which must be German.

Usage: board_on_atspi.py KV5 STAGE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, file=sys.stderr)


def start_xvfb(folder):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-screen", "0", "1024x768x24"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL,
        stderr=open(os.path.join(folder, "xvfb.log"), "w"))
    os.close(write_end)
    with os.fdopen(read_end) as answer:
        number = answer.readline().strip()
    if not number:
        sys.exit("Xvfb did not start")
    return server, ":" + number


def wait_for(find, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        pump(0.1)
    sys.exit("gave up waiting for " + what)


def pump(seconds):
    """Lets the bus deliver events for `seconds`."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not context.iteration(False):
            time.sleep(0.01)


COLOURS = {"rot", "orange", "gelb", "grün", "türkis", "blau", "magenta"}
# Qt's German for the context menu of a text box (Undo, Redo, Cut, Copy, Paste, Delete, Select All).
GERMAN_EDIT_MENU = ["Rückgängig", "Wiederherstellen", "Ausschneiden", "Kopieren", "Einfügen",
                    "Löschen", "Alles auswählen"]
RECORD_SIZE = 39


def click(display, accessible, button=1):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(extents.x + extents.width // 2),
                    str(extents.y + extents.height // 2), "click", str(button)],
                   env=dict(os.environ, DISPLAY=display), check=True)


def cell_names(table):
    return [table.getAccessibleAt(i // 9, i % 9).name for i in range(81)]


def name_entry_box(app, main_window):
    """The text box of the name entry window, once that shows."""
    for window in app:
        if window is None or window == main_window or not window.getState().contains(pyatspi.STATE_SHOWING):
            continue
        box = pyatspi.findDescendant(
            window, lambda a: a is not None and a.getRole() in (pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT)
            and a.getState().contains(pyatspi.STATE_EDITABLE))
        if box is not None and box.getState().contains(pyatspi.STATE_SHOWING):
            return box
    return None


def play_to_the_name_entry(app, main_window, table, display):
    """Clicks coloured fields, each a fruitless move or a figure, until the game asks for a name."""
    renamed = set()
    pyatspi.Registry.registerEventListener(
        lambda event: renamed.add(event.source.name), "object:property-change:accessible-name")
    start = next(a for a in main_window if a is not None and a.name == "Spiel starten")
    click(display, start)
    names = wait_for(lambda: [n for n in cell_names(table) if not n.endswith("frei")],
                     10, "the first fields of the game")
    for _ in range(200):
        box = name_entry_box(app, main_window)
        if box is not None:
            return box
        names = cell_names(table)
        coloured = [i for i, n in enumerate(names) if n.split(": ")[1] in COLOURS]
        renamed.clear()
        if coloured:
            click(display, table.getAccessibleAt(coloured[0] // 9, coloured[0] % 9))
        # A move renames the fields it fills or clears.
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and not renamed:
            pump(0.05)
        pump(0.1)
    sys.exit("the game asked for no name")


def kv5_application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find_board(app):
    found = pyatspi.findDescendant(
        app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_TABLE)
    return found


def main():
    kv5, stage = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp(prefix="kv5-atspi-")
    game = server = None
    try:
        server, display = start_xvfb(folder)
        shutil.copytree(stage, os.path.join(folder, "stage"))
        # Ranks 10 and 11 with -1 points: every result of a game is asked for its name.
        with open(os.path.join(folder, "stage", "P1.dat"), "r+b") as table_file:
            for record in (9, 10):
                table_file.seek(record * RECORD_SIZE)
                table_file.write(b"\xff\xff")
        os.mkdir(os.path.join(folder, "runtime"), 0o700)
        # The registry is started before the game, which then finds the bus at once.
        pyatspi.Registry.getDesktop(0)
        environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           XDG_RUNTIME_DIR=os.path.join(folder, "runtime"))
        game = subprocess.Popen([kv5], cwd=os.path.join(folder, "stage"), env=environment,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        app = wait_for(lambda: kv5_application(game.pid), 20, "kv5 on the accessibility bus")
        board = wait_for(lambda: find_board(app), 20, "the board's table")

        check(board.name == "Spielbrett", "the table is named Spielbrett, not %r" % board.name)
        table = board.queryTable()
        check((table.nRows, table.nColumns) == (9, 9),
              "the table has 9 x 9 cells, not %d x %d" % (table.nRows, table.nColumns))
        check(board.childCount == 81, "the table has 81 children, not %d" % board.childCount)
        for row in range(9):
            for column in range(9):
                cell = table.getAccessibleAt(row, column)
                expected = "Feld %d,%d: frei" % (row + 1, column + 1)
                check(cell is not None and cell.getRole() == pyatspi.ROLE_TABLE_CELL
                      and cell.name == expected and cell.parent == board
                      and board.getIndexInParent() >= 0
                      and table.getRowAtIndex(cell.getIndexInParent()) == row
                      and table.getColumnAtIndex(cell.getIndexInParent()) == column,
                      "cell %d,%d is the table cell %r in its place" % (row, column, expected))
        window = board.parent
        stray = [c.name for c in window if c is not None and c.getRole() == pyatspi.ROLE_TABLE_CELL]
        check(not stray, "the window lists no fields beside the table: %r" % stray[:3])

        focused = []
        pyatspi.Registry.registerEventListener(
            lambda event: focused.append(event.source.name) if event.detail1 else None,
            "object:state-changed:focused")
        # Popup menus are not among the application's windows; they announce themselves.
        menus = []
        pyatspi.Registry.registerEventListener(
            lambda event: menus.append(event.source)
            if event.detail1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU else None,
            "object:state-changed:showing")

        def focus_after(keys, expected):
            del focused[:]
            subprocess.run(["xdotool", "key", "--delay", "30"] + keys,
                           env=dict(os.environ, DISPLAY=display), check=True)
            # Until the expected field or, after another focus, a moment more.
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline and expected not in focused:
                if focused:
                    deadline = min(deadline, time.monotonic() + 0.3)
                pump(0.05)
            return list(focused)

        # A click on the title gives the window the keyboard, as a player's first click does.
        extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(extents.x + 700), str(extents.y + 40), "click", "1"],
                       env=dict(os.environ, DISPLAY=display), check=True)
        # Tab reaches the board within one round of the buttons.
        seen = []
        for _ in range(12):
            seen = focus_after(["Tab"], "Feld 5,5: frei")
            if "Feld 5,5: frei" in seen:
                break
        check("Feld 5,5: frei" in seen, "Tab onto the board focuses the middle field: %r" % seen)
        for keys, expected, row, column in [(["Right"], "Feld 5,6: frei", 4, 5),
                                            (["Down", "Down"], "Feld 7,6: frei", 6, 5),
                                            (["Left"], "Feld 7,5: frei", 6, 4)]:
            seen = focus_after(keys, expected)
            check(seen and seen[-1] == expected,
                  "%s: the focus moves to %r, events %r" % ("+".join(keys), expected, seen))
            states = [(r, c) for r in range(9) for c in range(9)
                      if table.getAccessibleAt(r, c).getState().contains(pyatspi.STATE_FOCUSED)]
            check(states == [(row, column)],
                  "%s: only cell %d,%d is focused, not %r" % ("+".join(keys), row, column, states))

        box = play_to_the_name_entry(app, window, table, display)
        click(display, box, button=3)
        menu = wait_for(lambda: menus[-1] if menus else None, 10, "the name box's context menu")
        texts = [item.name for item in menu if item is not None and item.name]
        # Each item's name ends in its shortcut after a tab.
        texts = [text.split("\t")[0] for text in texts]
        check(all(text in texts for text in GERMAN_EDIT_MENU),
              "the name box's context menu is German: %r" % texts)
    finally:
        for process in (game, server):
            if process is not None:
                process.kill()
                process.wait()
        shutil.rmtree(folder, ignore_errors=True)
    if failures:
        sys.exit("%d check(s) failed" % len(failures))
    print("the board is a 9 x 9 table whose focused cell follows the keyboard cursor")


if __name__ == "__main__":
    main()
