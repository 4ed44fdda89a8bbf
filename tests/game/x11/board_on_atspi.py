#!/usr/bin/python3
"""kv5's board as a screen reader sees it on the accessibility bus (AT-SPI).

Run inside a session bus of its own (dbus-run-session): starts a private Xvfb and kv5 from a copy
of the stage folder, checks through pyatspi that the board is a table of 9 x 9 cells named after
their fields, listed only there, whose focus follows the keyboard cursor; asks the board every
question a screen reader can send with any index, in range or not; then plays a game to its end by
the cells' names and reads the context menu of the name box, one of Qt's own texts, which must be
German.

Usage: board_on_atspi.py KV5 STAGE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Gio, GLib

COLOURS = {"rot", "orange", "gelb", "grün", "türkis", "blau", "magenta"}
# Qt's German for Undo, Redo, Cut, Copy, Paste, Delete and Select All.
GERMAN_EDIT_MENU = ["Rückgängig", "Wiederherstellen", "Ausschneiden", "Kopieren", "Einfügen",
                    "Löschen", "Alles auswählen"]
failures = []

# What a screen reader may send while a table changes, and the ends of a D-Bus int.
ANY_INDEX = list(range(-1, 101)) + [2**31 - 1, -2**31]
# The methods of every interface a board's object may be asked by, offered or not, and their
# arguments' types.
QUESTIONS = {
    "Accessible": {"GetChildAtIndex": "i", "GetIndexInParent": ""},
    "Component": {"GetAccessibleAtPoint": "iiu", "Contains": "iiu"},
    "Table": dict.fromkeys(["GetAccessibleAt", "GetIndexAt", "GetRowExtentAt", "GetColumnExtentAt",
                            "IsSelected"], "ii") | dict.fromkeys(
        ["GetRowAtIndex", "GetColumnAtIndex", "GetRowColumnExtentsAtIndex", "GetRowDescription",
         "GetColumnDescription", "GetRowHeader", "GetColumnHeader", "IsRowSelected",
         "IsColumnSelected", "AddRowSelection", "AddColumnSelection", "RemoveRowSelection",
         "RemoveColumnSelection"], "i"),
    "TableCell": {"GetRowColumnSpan": "", "GetTable": ""},
    "Selection": dict.fromkeys(["GetSelectedChild", "SelectChild", "IsChildSelected",
                                "DeselectChild", "DeselectSelectedChild"], "i"),
    "Text": {"GetText": "ii", "GetTextAtOffset": "iu", "GetCharacterAtOffset": "i",
             "GetCharacterExtents": "iu", "GetSelection": "i", "SetCaretOffset": "i",
             "GetAttributes": "i"},
    "Action": dict.fromkeys(["GetName", "GetDescription", "GetKeyBinding"], "i"),
}
ARGUMENTS = {"": lambda i: [()], "i": lambda i: [(i,)], "ii": lambda i: [(i, i), (i, 0), (0, i)],
             "iu": lambda i: [(i, 0), (i, 2)], "iiu": lambda i: [(i, i, 0), (i, 0, 1), (0, i, 2)]}


def table_answer(method, *args):
    """What the board's table must answer, where its answer is its own and not Qt's."""
    on, i = all(0 <= n < 9 for n in args), args[0]
    row_column = [(True, i // 9, i % 9, 1, 1, False)] if 0 <= i < 81 else [
        (success, -1, -1, 0, 0, False) for success in (True, False)]
    return {"GetIndexAt": [(9 * i + args[-1] if on else -1,)], "GetRowExtentAt": [(int(on),)],
            "GetColumnExtentAt": [(int(on),)], "IsSelected": [(False,)],
            "GetRowColumnExtentsAtIndex": row_column,
            "GetRowDescription": [("Zeile %d" % (i + 1) if on else "",)],
            "GetColumnDescription": [("Spalte %d" % (i + 1) if on else "",)]}.get(method)


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, file=sys.stderr)


def pump(seconds):
    """Lets the bus deliver its events for `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not GLib.MainContext.default().iteration(False):
            time.sleep(0.01)


def wait_for(find, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        pump(0.1)
    sys.exit("gave up waiting for " + what)


class Screen:
    def __init__(self, folder):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-noreset", "-screen", "0", "1024x768x24"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(folder, "xvfb.log"), "w"))
        os.close(write_end)
        with os.fdopen(read_end) as answer:
            self.display = ":" + answer.readline().strip()

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args],
                       env=dict(os.environ, DISPLAY=self.display), check=True)

    def click(self, accessible, button=1, at=None):
        e = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y = at or (e.width // 2, e.height // 2)
        self.xdotool("mousemove", e.x + x, e.y + y, "click", button)


def cell_names(table):
    return [table.getAccessibleAt(i // 9, i % 9).name for i in range(81)]


def name_box(app, main_window):
    """The text box of the name entry window, once that shows."""
    for window in app:
        if window and window != main_window and window.getState().contains(pyatspi.STATE_SHOWING):
            box = pyatspi.findDescendant(
                window, lambda a: a and a.getState().contains(pyatspi.STATE_EDITABLE))
            if box:
                return box
    return None


def play_to_the_name_box(screen, app, main_window, table):
    """Clicks coloured fields, each a fruitless move or a figure, until the game asks for a name."""
    renamed = []
    pyatspi.Registry.registerEventListener(
        lambda event: renamed.append(event.source), "object:property-change:accessible-name")
    screen.click(next(a for a in main_window if a and a.name == "Spiel starten"))
    for _ in range(200):
        box = name_box(app, main_window)
        if box:
            return box
        coloured = [i for i, n in enumerate(cell_names(table)) if n.split(": ")[1] in COLOURS]
        del renamed[:]
        if coloured:
            screen.click(table.getAccessibleAt(coloured[0] // 9, coloured[0] % 9))
        # A move renames the fields it fills or clears.
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and not renamed:
            pump(0.05)
        pump(0.1)
    sys.exit("the game asked for no name")


def check_board(screen, table, board):
    check(board.name == "Spielbrett", "the table is named Spielbrett, not %r" % board.name)
    check((table.nRows, table.nColumns, board.childCount) == (9, 9, 81),
          "9 x 9 cells, not %d x %d of %d" % (table.nRows, table.nColumns, board.childCount))
    for i in range(81):
        cell = table.getAccessibleAt(i // 9, i % 9)
        expected = "Feld %d,%d: frei" % (i // 9 + 1, i % 9 + 1)
        check(cell.getRole() == pyatspi.ROLE_TABLE_CELL and cell.name == expected
              and cell.parent == board and cell.getIndexInParent() == i
              and (table.getRowAtIndex(i), table.getColumnAtIndex(i)) == (i // 9, i % 9),
              "cell %d is the table cell %r in its place" % (i, expected))
    stray = [c.name for c in board.parent if c and c.getRole() == pyatspi.ROLE_TABLE_CELL]
    check(not stray, "the window lists no fields beside the table: %r" % stray[:3])

    focused = []
    pyatspi.Registry.registerEventListener(
        lambda event: focused.append(event.source.name) if event.detail1 else None,
        "object:state-changed:focused")

    def focus_after(keys, expected):
        del focused[:]
        screen.xdotool("key", "--delay", 30, *keys)
        # Until the expected field or, once another one came, a moment more.
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and expected not in focused:
            if focused:
                deadline = min(deadline, time.monotonic() + 0.3)
            pump(0.05)
        return list(focused)

    # A click on the title gives the window the keyboard, as a player's first click does; Tab
    # reaches the board within one round of the buttons.
    screen.click(board.parent, at=(700, 40))
    for _ in range(12):
        seen = focus_after(["Tab"], "Feld 5,5: frei")
        if "Feld 5,5: frei" in seen:
            break
    check("Feld 5,5: frei" in seen, "Tab onto the board focuses the middle field: %r" % seen)
    for keys, row, column in [(["Right"], 4, 5), (["Down", "Down"], 6, 5), (["Left"], 6, 4)]:
        expected = "Feld %d,%d: frei" % (row + 1, column + 1)
        seen = focus_after(keys, expected)
        check(seen[-1:] == [expected], "%s: the focus moves to %r: %r" % (keys, expected, seen))
        states = [i for i in range(81) if table.getAccessibleAt(i // 9, i % 9).getState().contains(
            pyatspi.STATE_FOCUSED)]
        check(states == [row * 9 + column], "%s: only %r is focused: %r" % (keys, expected, states))


def check_any_index(game, board):
    """Asks the board's table, a cell and the window every question over ANY_INDEX on a bus
    connection of our own, past libatspi's checks: kv5 must answer each and go on."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, None, 0, 5000).unpack()[0]
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    cell = board.queryTable().getAccessibleAt(4, 4)
    # Qt 6.4 takes Table questions to a cell for the table's and reads a table the cell does not
    # have: left out, as no answer of ours changes that.
    for accessible, interfaces in ((board, QUESTIONS), (board.parent, QUESTIONS),
                                   (cell, {k: v for k, v in QUESTIONS.items() if k != "Table"})):
        for interface, methods in interfaces.items():
            for method, types in methods.items():
                for args in (args for i in ANY_INDEX for args in ARGUMENTS[types](i)):
                    try:
                        answer = bus.call_sync(
                            accessible.app.bus_name, accessible.path, "org.a11y.atspi." + interface,
                            method, GLib.Variant("(%s)" % types, args) if types else None, None, 0,
                            5000, None).unpack()
                    except GLib.Error as error:
                        if game.poll() is not None or "NoReply" in error.message:
                            sys.exit("kv5 ended on %s.%s%r" % (interface, method, args))
                        continue
                    on_table = (accessible, interface) == (board, "Table")
                    allowed = table_answer(method, *args) if on_table else None
                    check(not allowed or answer in allowed,
                          "%s.%s%r answers %r" % (interface, method, args, answer))
    table = board.queryTable()
    check((table.nRows, table.nColumns, board.childCount) == (9, 9, 81)
          and all(name.endswith(": frei") for name in cell_names(table)),
          "after all questions the board still answers as a table of 81 free fields")


def main():
    kv5, stage = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp(prefix="kv5-atspi-")
    game = screen = None
    try:
        screen = Screen(folder)
        shutil.copytree(stage, os.path.join(folder, "stage"))
        # Ranks 10 and 11 with -1 points: every result of a game is asked for its name.
        with open(os.path.join(folder, "stage", "P1.dat"), "r+b") as table_file:
            for record in (9, 10):
                table_file.seek(record * 39)
                table_file.write(b"\xff\xff")
        os.mkdir(os.path.join(folder, "runtime"), 0o700)
        pyatspi.Registry.getDesktop(0)  # starts the registry, which the game then finds at once
        game = subprocess.Popen(
            [kv5], cwd=os.path.join(folder, "stage"), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(folder, "kv5.log"), "w"),
            env=dict(os.environ, DISPLAY=screen.display, QT_QPA_PLATFORM="xcb",
                     QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                     XDG_RUNTIME_DIR=os.path.join(folder, "runtime")))
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a and a.get_process_id() == game.pid), None),
                       20, "kv5 on the accessibility bus")
        board = wait_for(lambda: pyatspi.findDescendant(
            app, lambda a: a and a.getRole() == pyatspi.ROLE_TABLE), 20, "the board's table")
        table = board.queryTable()
        check_board(screen, table, board)
        check_any_index(game, board)

        # Popup menus are not among the application's windows; they announce themselves.
        menus = []
        pyatspi.Registry.registerEventListener(
            lambda event: menus.append(event.source)
            if event.detail1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU else None,
            "object:state-changed:showing")
        screen.click(play_to_the_name_box(screen, app, board.parent, table), button=3)
        menu = wait_for(lambda: menus[-1:], 10, "the name box's context menu")[0]
        # An item's name ends in its shortcut after a tab.
        texts = [item.name.split("\t")[0] for item in menu if item]
        check(all(text in texts for text in GERMAN_EDIT_MENU),
              "the name box's context menu is German: %r" % texts)
    finally:
        for process in (game, screen and screen.server):
            if process:
                process.kill()
                process.wait()
        # In the sanitizer build: undefined behaviour reports and goes on.
        with open(os.path.join(folder, "kv5.log"), errors="replace") as log:
            reports = [line for line in log if "runtime error" in line]
        check(not reports, "kv5 ran without undefined behaviour: %r" % reports[:3])
        shutil.rmtree(folder, ignore_errors=True)
    if failures:
        sys.exit("%d check(s) failed" % len(failures))
    print("a 9 x 9 table whose focus follows the cursor and answers any index; a game to its "
          "end; the name box's menu speaks German")


if __name__ == "__main__":
    main()
