# A solo game played the way a screen reader user plays it: the table's items
# are found on the accessibility bus by their spoken names and pressed through
# their press actions alone, never by a click or a key. Run by
# screenreader_bus.sh inside a virtual screen and a private session bus:
# screenreader_bus.py <euchre binary>. Every wait has a limit; the program is
# ended whatever happens.
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

LIMIT = 90.0  # seconds for the whole game; it takes about ten
START = time.monotonic()

CARD = re.compile(r"^(two|three|four|five|six|seven|eight|nine|ten|jack|queen|king|ace) of "
                  r"(clubs|diamonds|spades|hearts), ([1-5]) of ([1-5])$")
BUBBLES = {"I Assist", "Order It Up", "Pass", "Clubs", "Diamonds", "Spades", "Hearts", "Alone",
           "With Partner"}
ASKED = ("Your turn to play a card.", "Discard a card.")
REFUSED = ("You must follow suit if able.", "That is not a valid card.")
TRICKS = re.compile(r"^Score: Tan team -?\d+, (\d) tricks; Blue team -?\d+, (\d) tricks")


PROGRAM_LOG = None  # what the program wrote, shown when the game fails


def fail(why):
    print("FAIL: " + why, flush=True)
    if PROGRAM_LOG and os.path.exists(PROGRAM_LOG):
        with open(PROGRAM_LOG, errors="replace") as log:
            print("the program said:\n" + log.read()[-3000:], flush=True)
    raise SystemExit(1)


def left():
    return LIMIT - (time.monotonic() - START)


def pump():
    # Lets the bus deliver what the program sent meanwhile.
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


class News:
    """What the table's notification said, heard as a screen reader hears it:
    as the bus's events of its changed name."""

    def __init__(self):
        self.heard = []
        pyatspi.Registry.registerEventListener(self.on_name,
                                               "object:property-change:accessible-name")

    def on_name(self, event):
        try:
            if event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                self.heard.append(event.source.name or "")
        except Exception:
            pass


NEWS = None


def descendants(node, depth=0):
    # The table's items lie three levels below its window; the chat column
    # and the menus below them are not walked.
    if node is None or depth > 2:
        return
    try:
        children = list(node)
    except Exception:
        return
    for child in children:
        if child is None:
            continue
        try:
            # The menus are not the table; walking them only costs time.
            if child.getRole() in (pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_POPUP_MENU):
                continue
        except Exception:
            continue
        yield child
        yield from descendants(child, depth + 1)


def descendants_of_app(app):
    try:
        return [window for window in app if window is not None]
    except Exception:
        return []


def shown(item):
    try:
        states = item.getState()
        return states.contains(pyatspi.STATE_SHOWING) or states.contains(pyatspi.STATE_VISIBLE)
    except Exception:
        return False


def name_of(item):
    try:
        return item.name or ""
    except Exception:
        return ""


def press(item):
    action = item.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    fail("no press action on %r" % name_of(item))


class Table:
    def __init__(self, app):
        self.app = app

    def items(self):
        """Each item with the title of the window it is in."""
        pump()
        try:
            self.app.clear_cache()
        except Exception:
            pass
        found = []
        for window in descendants_of_app(self.app):
            title = name_of(window)
            found.extend((title, item) for item in descendants(window))
        return found

    def look(self):
        seen = {"cards": [], "bubbles": [], "status": None, "score": None, "voice": None,
                "start": []}
        for window, item in self.items():
            name = name_of(item)
            try:
                role = item.getRole()
            except Exception:
                continue
            if role == pyatspi.ROLE_PUSH_BUTTON and shown(item):
                if CARD.match(name):
                    seen["cards"].append(item)
                elif name in BUBBLES:
                    seen["bubbles"].append(item)
                elif name == "Start Game":
                    seen["start"].append((window, item))
            if name.startswith("Status: "):
                seen["status"] = name[len("Status: "):]
            elif name.startswith("Score: "):
                seen["score"] = name
            elif role == pyatspi.ROLE_NOTIFICATION:
                seen["voice"] = name
        return seen


def wait_for(table, what, why):
    while left() > 0:
        seen = table.look()
        if what(seen):
            return seen
        time.sleep(0.1)
    fail("timed out waiting for " + why)


def place_of(card):
    return int(CARD.match(name_of(card)).group(3))


def hand_size(cards):
    sizes = {int(m.group(4)) for m in (CARD.match(name_of(c)) for c in cards) if m}
    return min(sizes) if sizes else 0


def tricks_of(score):
    m = TRICKS.match(score or "")
    return int(m.group(1)) + int(m.group(2)) if m else -1


def play(app):
    global NEWS
    NEWS = News()
    table = Table(app)
    def start_in(window):
        return lambda s: [item for title, item in s["start"] if title == window]

    seen = wait_for(table, lambda s: start_in("Euchre")(s) and s["status"] is not None,
                    "the table's Start Game button")
    print("status at the start: %s" % seen["status"], flush=True)
    if not seen["score"] or not seen["score"].startswith("Score: Tan team 0"):
        fail("no score board before the game: %r" % seen["score"])
    press(start_in("Euchre")(seen)[0])
    # The game start window offers its own Start Game button.
    seen = wait_for(table, start_in("Euchre - Game Start"), "the game start window")
    press(start_in("Euchre - Game Start")(seen)[0])

    bid = played = False
    tricks_before = None
    last_status = None
    tried = 0
    while left() > 0:
        seen = table.look()
        status = seen["status"]
        if status != last_status:
            print("status: %s | said: %s" % (status, seen["voice"]), flush=True)
            last_status = status
        if seen["bubbles"]:
            # Order up or name a suit when offered, with the partner; pass only
            # when nothing else is offered.
            choice = sorted(seen["bubbles"], key=lambda b: name_of(b) == "Pass")[0]
            print("pressing the bubble %r" % name_of(choice), flush=True)
            heard = len(NEWS.heard)
            press(choice)
            bid = True
            wait_for(table, lambda s: len(NEWS.heard) > heard, "the news after the bubble")
            continue
        asked = status in ASKED or status in REFUSED
        if asked and seen["cards"]:
            cards = sorted(seen["cards"], key=place_of)
            held = hand_size(cards)
            if status not in REFUSED:
                tried = 0
            # A refused card stays raised and a second press would take it
            # back: each press of one question tries the next card.
            card = cards[tried % len(cards)]
            tried += 1
            print("pressing the card %r (%s)" % (name_of(card), status), flush=True)
            if status == "Your turn to play a card.":
                tricks_before = tricks_of(seen["score"])
            heard = len(NEWS.heard)
            press(card)
            # The host answers every card with news: it was played, or why not.
            after = wait_for(table, lambda s: len(NEWS.heard) > heard, "the news after the card")
            went = after["status"] not in REFUSED or hand_size(after["cards"]) != held
            print("the card %s" % ("went" if went else "was refused: " + after["status"]),
                  flush=True)
            # Counted as played only when the hand is a card smaller for it.
            if status == "Your turn to play a card." and hand_size(after["cards"]) == held - 1:
                played = True
            continue
        if played and bid and tricks_of(seen["score"]) > tricks_before:
            print("a whole trick was played through the bus: %s; %d news heard"
                  % (seen["score"], len(NEWS.heard)), flush=True)
            return
        time.sleep(0.05)
    fail("the game did not get to a bid and a whole trick in %d seconds (bid %s, played %s)"
         % (LIMIT, bid, played))


def main():
    global PROGRAM_LOG
    binary = sys.argv[1]
    home = tempfile.mkdtemp(prefix="euchre-a11y-")
    with open(os.path.join(home, "bromlobby.ini"), "w", newline="") as ini:
        ini.write("[Euchre]\r\nBotspeed=200\r\nHideLobbyDownload=true\r\n")
    env = dict(os.environ, EUCHRE_HOME=home, EUCHRE_INSTANCE="a11y-%d" % os.getpid(),
               EUCHRE_PORT="0", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    PROGRAM_LOG = os.path.join(home, "program.log")
    with open(PROGRAM_LOG, "w") as log:
        program = subprocess.Popen([binary], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        try:
            pyatspi.Registry.getDesktop(0).childCount
        except Exception as error:
            print("SKIP: no accessibility bus here (%s)" % error, flush=True)
            raise SystemExit(77)
        app = None
        while app is None and left() > 0:
            pump()
            desktop = pyatspi.Registry.getDesktop(0)
            for candidate in desktop:
                try:
                    if candidate is not None and candidate.get_process_id() == program.pid:
                        app = candidate
                except Exception:
                    pass
            if app is None:
                if program.poll() is not None:
                    fail("the program ended at once (exit %s)" % program.returncode)
                time.sleep(0.2)
        if app is None:
            fail("the program never appeared on the accessibility bus")
        play(app)
        print("PASS", flush=True)
    finally:
        program.kill()
        program.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
