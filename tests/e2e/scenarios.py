#!/usr/bin/env python3
"""End-to-end scenarios: the real game under Xvfb and a window manager, played with real X input.

usage: scenarios.py NAME GAME_DIR OUT_DIR
The screenshots each scenario takes are left in OUT_DIR as PNG files to look at.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from editor_scenario import edit_a_stage
from navigation_scenario import german_keys, way_back
from options_scenario import german_undo, settings_last
from xsession import Desktop, Game, TestFailure, bright, copy_game_folder, near, wait_until

# Pixel positions in the 800 x 600 client area; view point (0, 0) is its centre.
CENTRE = (400, 300)
START_ITEM, EXIT_ITEM, RESET_ITEM = (400, 432), (400, 542), (760, 582)
SELECT_ITEM = (400, 387)  # STAGE SELECT, small, above START
OLIVE, YELLOW = (128, 128, 0), (255, 255, 0)


# --- what the screens look like ---------------------------------------------------------------

def is_grid(pic):
    """The opening screen: a white line every 32 pixels, across the whole picture."""
    def line_at(x):
        return any(sum(bright(pic.rgb(c, y)) for y in range(5, 595, 10)) >= 50 for c in (x - 1, x, x + 1))
    return all(line_at(1 + 32 * k) for k in range(2, 24)) and not line_at(17)


def box_colour(pic, x, y):
    pixel = pic.rgb(x, y)
    return near(pixel, OLIVE) or near(pixel, YELLOW)


def is_title(pic):
    """The title's START and EXIT boxes."""
    def box_at(top):
        samples = [box_colour(pic, x, y) for x in range(340, 460, 4) for y in range(top, top + 30, 4)]
        return sum(samples) >= len(samples) // 2
    return box_at(418) and box_at(528)


def bright_count(pic, left, top, right, bottom, step=1):
    return sum(bright(pic.rgb(x, y)) for x in range(left, right, step) for y in range(top, bottom, step))


def is_demo(pic):
    """The how-to-play screen: its heading, and its bar turning about a point below the centre."""
    return bright_count(pic, 100, 75, 250, 100, 2) > 20 and crosses(pic, 400, 460, 8)


def is_play(pic):
    """The play scene, in any state: the bars-left label at the top right."""
    return bright_count(pic, 545, 92, 690, 118, 2) > 20


def message_columns(pic):
    """How many columns of the centre message band hold text."""
    return sum(any(bright(pic.rgb(x, y)) for y in range(205, 237, 2)) for x in range(300, 500))


def crosses(pic, cx, cy, radius):
    """X marks (the bar's pivot cross) within `radius` of (cx, cy). An 8-unit cross has its
    centre between pixels, so a centre is a 2 x 2 block, given by its top-left pixel."""
    found = []
    for y in range(cy - radius, cy + radius + 1):
        for x in range(cx - radius, cx + radius + 1):
            arms = all(any(bright(pic.rgb(x + (sx > 0) + sx * d, y + (sy > 0) + sy * d)) for d in (1, 2, 3))
                       for sx, sy in ((1, 1), (-1, -1), (1, -1), (-1, 1)))
            gaps = sum(not bright(pic.rgb(gx, gy)) for gx, gy in ((x - 3, y), (x + 4, y + 1), (x, y - 3),
                                                                   (x + 1, y + 4)))
            if arms and gaps >= 3:
                found.append((x, y))
    return found


def distance(a, b):
    return ((a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2) ** 0.5


def caption_bar(pic):
    """The top row of an open box's caption bar, or None when no box is open."""
    run = 0
    for y in range(120, 300):
        run = run + 1 if near(pic.rgb(600, y), OLIVE, 30) and near(pic.rgb(660, y), OLIVE, 30) else 0
        if run == 25:
            return y - 24
    return None


def button_row(pic, xs):
    """A row through the box's buttons at the given columns, below the caption bar."""
    top = caption_bar(pic)
    for y in range(top + 40, 560):
        if all(box_colour(pic, x, y) for x in xs):  # the highlighted button is yellow
            return y + 8
    raise TestFailure("no buttons found in the box")


# --- scenarios --------------------------------------------------------------------------------

def play(desktop, game_dir, data_home):
    """Opening grid, title, how-to-play, stage 1 and its countdown, a pivot switch, the quit box."""
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening grid", is_grid, save="opening-grid")
    game.wait_for("the title after the opening's five seconds", is_title, save="title")
    game.click(*START_ITEM)
    game.wait_for("the how-to-play screen", is_demo, save="how-to-play")
    game.click(*CENTRE)
    game.wait_for("stage 1 waiting for the start click",
                  lambda p: is_play(p) and message_columns(p) > 100, save="stage1-wait-start")
    game.click(*CENTRE)
    game.wait_for("the countdown", lambda p: is_play(p) and 3 <= message_columns(p) <= 40, save="countdown")
    # Once play runs the camera has caught up with the pivot: its cross sits at the centre.
    before = game.wait_for("play with the pivot at the centre",
                           lambda p: is_play(p) and message_columns(p) == 0 and crosses(p, *CENTRE, 3),
                           save="pivot-before")
    pivot = crosses(before, *CENTRE, 3)[0]
    game.click(*CENTRE)
    # The free end becomes the pivot, 60 units away, and the camera glides after it: within about
    # a second the cross is back near the centre (longer on slow frames), so the pictures are taken
    # first, judged after; the burst outlasts a click that a busy machine is slow to deliver.
    switched = next((p for p in game.burst(3.0) if not crosses(p, *pivot, 2) and any(
        distance(c, pivot) >= 10 for c in crosses(p, *CENTRE, 80))), None)
    if not switched:
        raise TestFailure("no picture shows the pivot cross moved to the bar's other end")
    game.save(switched, "pivot-after")
    game.key("Escape")
    game.wait_for("the quit question", caption_bar, save="quit-question")
    game.click(480, button_row(game.picture(), (330, 470)))  # Cancel
    # The box stood in for the player's hand: play waits paused, as P leaves it.
    game.wait_for("play paused after the box", lambda p: caption_bar(p) is None and is_pause_menu(p),
                  save="paused-after-the-box")
    game.key("p")
    game.wait_for("play to go on", lambda p: is_play(p) and not is_pause_menu(p))
    game.key("Escape")
    game.wait_for("the quit question again", caption_bar)
    game.key("Return")
    expect_exit(game, 0)


def letterboxed_title(pic):
    """The title scaled into the picture's largest centred 4:3 area, black outside it."""
    scale = min(pic.width / 800, pic.height / 600)
    left, top = (pic.width - 800 * scale) / 2, (pic.height - 600 * scale) / 2
    def box_at(y):
        samples = [box_colour(pic, int(left + x * scale), int(top + (y + dy) * scale))
                   for x in range(340, 460, 4) for dy in range(-14, 16, 4)]
        return sum(samples) >= len(samples) // 2
    bars = [(int(left) // 2, pic.height // 2)] if left >= 4 else [(pic.width // 2, int(top) // 2)] if top >= 4 else []
    return box_at(432) and box_at(542) and all(not bright(pic.rgb(x, y)) for x, y in bars)


def time_pixels(pic):
    """The lit pixels of the remaining-time label, top left."""
    return [(x, y) for x in range(105, 340) for y in range(92, 120) if bright(pic.rgb(x, y))]


def keyboard(desktop, game_dir, data_home):
    """No mouse: the arrows and Return on the title, Z to start, P to pause and resume."""
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening grid or the title", lambda p: is_grid(p) or is_title(p))
    game.key("z")  # ends the opening as a click does
    game.wait_for("the title", is_title)
    game.key("Down")
    game.key("Down")
    game.key("Up")  # START, EDIT, EXIT, back to EDIT
    def lit(pic, top):
        samples = [near(pic.rgb(x, y), YELLOW) for x in range(340, 460, 4) for y in range(top, top + 24, 4)]
        return sum(samples) >= len(samples) // 2
    game.wait_for("EDIT highlighted", lambda p: lit(p, 473) and not lit(p, 420), save="keyboard-highlight")
    game.key("Up")
    game.key("Return")
    game.wait_for("the how-to-play screen", is_demo)
    game.key("z")
    game.wait_for("stage 1 waiting for the start", lambda p: is_play(p) and message_columns(p) > 100)
    game.key("z")
    game.wait_for("play", lambda p: is_play(p) and message_columns(p) == 0)
    game.key("p")
    paused = game.wait_for("the pause text", lambda p: bright_count(p, 250, 395, 550, 428, 2) > 30, save="paused")
    time.sleep(1.5)
    if time_pixels(game.picture()) != time_pixels(paused):
        raise TestFailure("the clock ran while paused")
    game.key("p")
    game.wait_for("the clock running again", lambda p: time_pixels(p) != time_pixels(paused))
    game.key("Escape")
    game.wait_for("the quit question", caption_bar)
    game.key("Right")  # from OK to Cancel
    game.key("Return")
    game.wait_for("play paused after the box", lambda p: caption_bar(p) is None and is_pause_menu(p))
    game.key("Escape")
    game.wait_for("the quit question again", caption_bar)
    game.key("z")  # the pivot key, tapped on: it must not quit
    game.key("Return")
    expect_exit(game, 0)


def alt_enter(desktop, game_dir, data_home):
    """The window sizes: dragged wide or tall the title stays letterboxed, absurd sizes end
    nothing; F11 is full screen as Alt+Enter is, and Alt+Enter on the quit question must not
    answer OK."""
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening grid or the title", lambda p: is_grid(p) or is_title(p))
    game.click(*CENTRE)
    game.wait_for("the title", is_title)
    for width, height in ((1000, 500), (500, 700), (1, 1), (10000, 10000), (640, 480)):
        desktop.xdotool("windowsize", game.window, str(width), str(height))
        if not game.still_running_after(1.0):
            raise TestFailure(f"a {width} x {height} window ended the game")
        if width in (1, 10000):
            continue  # off the screen, the picture cannot be read back
        game.wait_for(f"the title letterboxed in {width} x {height}",
                      lambda p: (p.width, p.height) == (width, height) and letterboxed_title(p),
                      save=f"resized-{width}x{height}")
    game.key("F11")
    game.wait_for("full screen on F11", lambda p: p.width > 800 and letterboxed_title(p), save="f11-full-screen")
    game.key("F11")
    game.wait_for("the 640 x 480 window it was on F11 again",
                  lambda p: (p.width, p.height) == (640, 480) and letterboxed_title(p))
    desktop.xdotool("windowsize", game.window, "800", "600")
    game.wait_for("the title at 800 x 600", lambda p: (p.width, p.height) == (800, 600) and is_title(p))
    game.key("Escape")
    game.wait_for("the quit question", caption_bar)
    game.key("alt+Return")
    if not game.still_running_after(2.0):
        raise TestFailure("Alt+Enter answered the quit question: the game ended")
    if caption_bar(game.picture("after-alt-enter")) is None:
        raise TestFailure("Alt+Enter closed the quit question")
    game.key("Escape")
    game.wait_for("the question to close on Escape", lambda p: caption_bar(p) is None)
    game.key("Escape")
    game.wait_for("the quit question again", caption_bar)
    game.key("Return")
    expect_exit(game, 0)


def reset_keeps_replay(desktop, game_dir, data_home):
    """The title's reset question starts on Cancel: Enter keeps a best run; OK deletes it."""
    folder = os.path.join(data_home, "TWIRLSTICK_FILES")
    os.makedirs(folder, mode=0o700)
    replay = os.path.join(folder, "rep1")
    shutil.copy(os.path.join(os.path.dirname(__file__), "..", "..", "data", "solutions", "stage1.rep"), replay)
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening grid or the title", lambda p: is_grid(p) or is_title(p))
    game.click(*CENTRE)  # ends the opening; on the title it hits nothing
    game.wait_for("the title", is_title)
    game.click(*RESET_ITEM)
    game.wait_for("the reset question", caption_bar, save="reset-question")
    game.key("Return")
    game.wait_for("the question to close on Enter", lambda p: caption_bar(p) is None and is_title(p))
    if not os.path.exists(replay):
        raise TestFailure("Enter on the reset question deleted the best run")
    game.click(*RESET_ITEM)
    game.wait_for("the reset question again", caption_bar)
    game.click(320, button_row(game.picture(), (330, 470)))  # OK, on purpose
    wait_until("OK to delete the best run", lambda: not os.path.exists(replay), timeout=20)
    game.wait_for("the title again", lambda p: caption_bar(p) is None and is_title(p))
    game.click(*EXIT_ITEM)
    expect_exit(game, 0)


def english(desktop, game_dir, data_home):
    """LANG=en_US.UTF-8 (a locale this machine need not have): the how-to-play screen's lines are
    not the Japanese ones and stay inside the window; the title's reset box and the quit box."""
    def how_to_play(env):
        game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home, env=env)
        game.wait_for("the opening grid or the title", lambda p: is_grid(p) or is_title(p))
        game.click(*CENTRE)
        game.wait_for("the title", is_title)
        game.click(*START_ITEM)
        return game, game.wait_for("the how-to-play screen", is_demo, save="how-to-play")

    def text_rows(pic):
        return [[bright(pic.rgb(x, y)) for x in range(800)] for y in range(75, 270)]

    game, japanese = how_to_play({})
    game.key("Escape")
    game.wait_for("the quit question", caption_bar)
    game.key("Return")
    expect_exit(game, 0)
    game, english = how_to_play({"LANG": "en_US.UTF-8"})
    if text_rows(english) == text_rows(japanese):
        raise TestFailure("LANG=en_US.UTF-8 shows the same how-to-play texts as the Japanese")
    if any(row[-4:] != [False] * 4 for row in text_rows(english)):
        raise TestFailure("an English how-to-play line runs to the window's right edge")
    game.key("Escape")
    game.wait_for("the quit question", caption_bar, save="quit-question")
    game.key("Escape")
    game.wait_for("the question to close", lambda p: caption_bar(p) is None)
    game.click(*CENTRE)
    game.wait_for("stage 1 waiting for the start click", is_play, save="stage1-wait-start")
    game.key("Escape")
    game.wait_for("the quit question", caption_bar)
    game.key("Return")
    expect_exit(game, 0)
    if "twirlstick:" in game.stderr():
        raise TestFailure(f"the English catalog was not read cleanly: {game.stderr()}")


def missing_stage(desktop, game_dir, data_home):
    """A game folder without stage5: a readable box in the game's font and one line on stderr."""
    folder = copy_game_folder(game_dir, os.path.join(data_home, "game"), leave_out=("stage5",))
    game = Game(desktop, os.path.join(folder, "twirlstick"), folder, data_home)
    picture = game.wait_for("the start-up box", caption_bar, save="missing-stage-box")
    if bright_count(picture, 150, caption_bar(picture) + 40, 650, caption_bar(picture) + 110, 2) < 40:
        raise TestFailure("the start-up box shows no text")
    game.key("Return")
    expect_exit(game, 1)
    lines = [line for line in game.stderr().splitlines() if line.startswith("twirlstick:")]
    if len(lines) != 1 or "stage5" not in lines[0] or folder not in lines[0]:
        raise TestFailure(f"expected one line naming stage5 and {folder}, got: {lines}")


def missing_font(desktop, game_dir, data_home):
    """Neither the game's font nor the system's: the line says so, and SDL's own box, captioned
    with the font's path, is the fallback (there is no font to draw the game's box with)."""
    folder = copy_game_folder(game_dir, os.path.join(data_home, "game"), leave_out=("IPAfont00203",))
    no_fonts = os.path.join(data_home, "fonts.conf")
    with open(no_fonts, "w") as f:
        f.write("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n")
    game = Game(desktop, os.path.join(folder, "twirlstick"), folder, data_home,
                window_name="IPAfont00203/ipagp.ttf", env={"FONTCONFIG_FILE": no_fonts})
    game.picture("system-box")
    game.key("Return")
    expect_exit(game, 1)
    lines = [line for line in game.stderr().splitlines() if line.startswith("twirlstick:")]
    if len(lines) != 1 or "IPAfont00203/ipagp.ttf" not in lines[0] or "IPAPGothic" not in lines[0]:
        raise TestFailure(f"expected one line naming the font file and the system font, got: {lines}")


def no_display(game_dir, data_home):
    """Without a display, or on a driver that shows nothing, the game says so and ends at once."""
    base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    base["XDG_DATA_HOME"] = data_home
    cases = [({}, "cannot open a display"), ({"SDL_VIDEODRIVER": "dummy"}, 'driver "dummy" shows no window'),
             ({"SDL_VIDEODRIVER": "offscreen"}, 'driver "offscreen" shows no window')]
    for extra, expected in cases:
        started = time.monotonic()
        try:
            result = subprocess.run([os.path.join(game_dir, "twirlstick")], env=dict(base, **extra),
                                    capture_output=True, text=True, timeout=30)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"with {extra or 'no display'} the game was still running after 30 s") from None
        print(f"{extra or 'no display'}: exit {result.returncode} after {time.monotonic() - started:.2f} s")
        if result.returncode != 1 or expected not in result.stderr:
            raise TestFailure(f"with {extra or 'no display'}: exit {result.returncode}, stderr {result.stderr!r}")


def row_lit(pic, row):
    """Row `row` (0 at the top) of the stage select's list in the highlight's yellow."""
    y = 300 - (195 - 36 * row) - 8
    return sum(near(pic.rgb(x, y), YELLOW) for x in range(560, 700, 5)) >= 26  # between title and time


def is_select(pic):
    """The stage select: the left margins of its ten rows' boxes (lit, olive or grey)."""
    def boxed(x, y):
        return box_colour(pic, x, y) or near(pic.rgb(x, y), (40, 40, 40), 8) or near(pic.rgb(x, y), (64, 64, 32), 8)
    return all(boxed(x, 300 - (195 - 36 * row) - 8) for row in range(10) for x in (22, 25))


def lit_span(pic, top, bottom, left=100, right=700):
    """The leftmost and rightmost lit columns of a band of rows, within the heads-up area."""
    columns = [x for x in range(left, right) if any(bright(pic.rgb(x, y)) for y in range(top, bottom))]
    return (columns[0], columns[-1]) if columns else (None, None)


def best_width(pic):
    left, right = lit_span(pic, 136, 160)  # the best label, a row under the time
    return 0 if left is None else right - left


def item_lit(pic, y):
    """The pause menu's item centred on row y in the highlight's yellow."""
    return sum(near(pic.rgb(x, y + dy), YELLOW) for x in range(330, 470, 2) for dy in range(-10, 11, 2)) >= 150


def is_pause_menu(pic):
    """The pause's three items under its notice, the first (Resume) lit."""
    return item_lit(pic, 462) and not item_lit(pic, 502)


def to_title(game):
    game.wait_for("the opening grid or the title", lambda p: is_grid(p) or is_title(p))
    game.click(*CENTRE)  # ends the opening; on the title it hits nothing
    game.wait_for("the title", is_title)


def quit_game(game):
    game.key("Escape")
    game.wait_for("the quit question", caption_bar)
    game.key("Return")
    expect_exit(game, 0)


def stage_select(desktop, game_dir, data_home):
    """Stages 1-3 cleared: the select opens on stage 4; stage 1 plays beside its best, the pause
    menu leads back to the title, and stage 4, lit again, plays without one."""
    folder = os.path.join(data_home, "TWIRLSTICK_FILES")
    os.makedirs(folder, mode=0o700)
    for n in (1, 2, 3):
        shutil.copy(os.path.join(os.path.dirname(__file__), "..", "..", "data", "solutions", f"stage{n}.rep"),
                    os.path.join(folder, f"rep{n}"))
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    to_title(game)
    game.click(*SELECT_ITEM)
    game.wait_for("the select with stage 4 lit", lambda p: is_select(p) and row_lit(p, 3), save="stage-select")
    game.key("Up")
    game.wait_for("stage 3 lit", lambda p: row_lit(p, 2) and not row_lit(p, 3))
    game.key("Up")
    game.key("Up")
    game.wait_for("stage 1 lit", lambda p: row_lit(p, 0))
    game.key("Return")
    first = game.wait_for("stage 1 waiting for the start", is_play, save="stage1-with-its-best")
    game.key("z")  # the start click's key
    game.wait_for("play", lambda p: is_play(p) and message_columns(p) == 0)
    game.key("p")
    game.wait_for("the pause menu", is_pause_menu, save="pause-menu")
    game.key("Down")
    game.key("Down")
    game.wait_for("back to the title lit", lambda p: item_lit(p, 542))
    game.key("Return")
    game.wait_for("the title", is_title)
    game.click(*SELECT_ITEM)
    game.wait_for("the select with stage 4 lit again", lambda p: is_select(p) and row_lit(p, 3))
    game.key("Return")
    fourth = game.wait_for("stage 4 waiting for the start", is_play, save="stage4-without-a-best")
    if not 0 < best_width(fourth) < best_width(first):
        raise TestFailure(f"stage 4 should show BEST:---- narrower than stage 1's best time "
                          f"({best_width(fourth)} vs {best_width(first)} pixels)")
    quit_game(game)


def pause_menu(desktop, game_dir, data_home):
    """In English: the pause menu's retry costs a bar and starts the stage again; back to the
    title ends the run, and an attempt left unfinished writes no best run."""
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home, env={"LANG": "en_US.UTF-8"})
    to_title(game)
    game.click(*SELECT_ITEM)
    game.wait_for("the select", lambda p: is_select(p) and row_lit(p, 0), save="stage-select-english")
    game.key("Right")
    game.wait_for("the empty page of own stages, saying how to make one", lambda p: not row_lit(p, 0)
                  and bright_count(p, 150, 118, 650, 142, 2) > 100, save="own-stages-english")
    game.key("Left")
    game.key("Return")
    first = game.wait_for("stage 1 waiting for the start", is_play)
    bars_left_edge = lit_span(first, 95, 118, 400)[0]  # the bars label, right-aligned
    game.key("z")
    game.wait_for("play", lambda p: is_play(p) and message_columns(p) == 0)
    game.key("p")
    game.wait_for("the pause menu", is_pause_menu, save="pause-menu-english")
    game.key("Down")
    game.key("Return")
    game.wait_for("stage 1 again with a bar less",
                  lambda p: is_play(p) and not item_lit(p, 462) and lit_span(p, 95, 118, 400)[0] > bars_left_edge,
                  save="retried")
    game.key("z")
    game.wait_for("play", lambda p: is_play(p) and message_columns(p) == 0)
    game.key("p")
    game.wait_for("the pause menu", is_pause_menu)
    game.key("Up")  # round to the last item
    game.key("Return")
    game.wait_for("the title", is_title)
    if any(name.startswith("rep") for name in os.listdir(os.path.join(data_home, "TWIRLSTICK_FILES"))):
        raise TestFailure("an attempt left unfinished wrote a best run")
    quit_game(game)


def expect_exit(game, code):
    got = game.wait_exit()
    if got != code:
        raise TestFailure(f"expected exit code {code}, got {got}: {game.stderr()}")


SCENARIOS = {"play": play, "keyboard": keyboard, "alt-enter": alt_enter, "reset-keeps-replay": reset_keeps_replay,
             "missing-stage": missing_stage, "missing-font": missing_font, "edit-a-stage": edit_a_stage,
             "english": english, "settings-last": settings_last, "german-undo": german_undo,
             "stage-select": stage_select, "pause-menu": pause_menu, "way-back": way_back,
             "german-keys": german_keys}


def main():
    name, game_dir, out_dir = sys.argv[1:4]
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)
    data_home = tempfile.mkdtemp(prefix="twirlstick-e2e-")
    try:
        if name == "no-display":
            no_display(game_dir, data_home)
        else:
            desktop = Desktop(out_dir)
            try:
                SCENARIOS[name](desktop, game_dir, data_home)
            finally:
                desktop.close()
    except TestFailure as failure:
        print(f"FAILED: {failure} (screenshots in {out_dir})", file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(data_home, ignore_errors=True)
    print(f"passed (screenshots in {out_dir})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
