#!/usr/bin/python3
"""Reads the wizard's window as a screen reader does, through AT-SPI, page
by page, driving it with key presses only. Prints each check and exits 1 on
the first one that fails.

    read_window.py PROGRAM   (under Xvfb and a session bus; see run.sh)
"""
import subprocess
import sys
import time

import pyatspi

XK_RETURN, XK_TAB, XK_SPACE = 0xFF0D, 0xFF09, 0x20


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail("no " + what + " after %d s" % seconds)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def showing(app):
    return [n for n in walk(app) if n.getState().contains(pyatspi.STATE_SHOWING)]


def focused(app):
    for n in walk(app):
        if n.getState().contains(pyatspi.STATE_FOCUSED):
            return n
    return None


def key(sym):
    pyatspi.Registry.generateKeyboardEvent(sym, None, pyatspi.KEY_SYM)
    time.sleep(0.4)


def label_of(node):
    for r in node.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY and r.getNTargets() > 0:
            return r.getTarget(0).name
    return None


def check(what, ok):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        sys.exit(1)


def one(app, role, name=None):
    for n in showing(app):
        if n.getRole() == role and (name is None or n.name == name):
            return n
    return None


def main():
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = wait_for("application Sirel_Setup on the bus", lambda: find_app("Sirel_Setup"))
        frame = wait_for("window", lambda: one(app, pyatspi.ROLE_FRAME))
        check("the window is named by its title (%s)" % frame.name, frame.name == "Kelva Sirel 2.0 Setup")

        print("page 0: language")
        # Without a window manager nothing activates the window: a click on
        # its banner does, as a user's would.
        x, y, _, _ = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(x + 300, y + 30, "b1c")
        wait_for("focus", lambda: focused(app))
        box = focused(app)
        check("the language box has the focus (%s %s)" % (box.getRoleName(), box.name),
              box.getRole() == pyatspi.ROLE_COMBO_BOX)
        check("the language box is labelled \"Language:\"", label_of(box) == "Language:")
        check("the banner is read", one(app, pyatspi.ROLE_STATIC, "Sirel 2.0 Version 2.0.0.1") is not None
              or one(app, pyatspi.ROLE_LABEL, "Sirel 2.0 Version 2.0.0.1") is not None)
        steps = one(app, pyatspi.ROLE_LIST, "Steps")
        check("the side-bar is a list of five steps", steps is not None and steps.childCount == 5)
        first = steps.getChildAtIndex(0)
        check("the first step is selected", first.getState().contains(pyatspi.STATE_SELECTED))
        names = [n.name for n in showing(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        check("no unnamed button is shown (names: %s)" % names, all(names))
        key(XK_TAB)
        check("Tab reaches Cancel", focused(app) is not None and focused(app).name == "Cancel")
        key(XK_TAB)
        key(XK_TAB)
        check("Tab comes round to the language box", focused(app).getRole() == pyatspi.ROLE_COMBO_BOX)

        print("page 1: licence")
        key(XK_RETURN)
        memo = wait_for("licence text focused",
                        lambda: focused(app) if focused(app) and focused(app).name == "Licence agreement" else None)
        text = memo.queryText()
        check("the licence text is read (%d characters)" % text.characterCount, text.characterCount > 100)
        check("the second step is now selected", steps.getChildAtIndex(1).getState().contains(pyatspi.STATE_SELECTED))
        key(XK_TAB)
        check("Tab reaches \"I accept\"", focused(app).name == "I accept")
        key(XK_SPACE)

        print("page 2: components")
        box = wait_for("a check box focused", lambda: focused(app) if focused(app)
                       and focused(app).getRole() == pyatspi.ROLE_CHECK_BOX else None)
        check("the first component has a name (%s)" % box.name, bool(box.name))
        check("it is checked", box.getState().contains(pyatspi.STATE_CHECKED))
        key(XK_RETURN)

        print("page 3: targets")
        wait_for("the side-bar focused", lambda: focused(app) if focused(app)
                 and focused(app).getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_ITEM) else None)
        targets = one(app, pyatspi.ROLE_COMBO_BOX)
        check("the drive list is labelled", targets is not None and label_of(targets) ==
              "Target directory of the Sirel macro library:")
        print("all pages read")
    finally:
        program.terminate()
        try:
            program.wait(5)
        except subprocess.TimeoutExpired:
            program.kill()


if __name__ == "__main__":
    main()
