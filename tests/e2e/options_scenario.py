"""Settings that last and keys by their letter, end to end on the real game with real X input."""

import os
import subprocess
import time

from editor_scenario import is_editor, settle_on_first_entry, wall_at
from xsession import Game, TestFailure, bright, near

# Pixel positions in the 800 x 600 client area; view point (0, 0) is its centre.
OPTIONS_ITEM, EDIT_ITEM = (20, 584), (400, 488)
MUSIC_ROW, FULL_SCREEN_ROW, LANGUAGE_ROW, BACK_ROW = (400, 162), (400, 274), (400, 330), (400, 526)
OLIVE, YELLOW = (128, 128, 0), (255, 255, 0)


def panel(pic, x, y):
    return near(pic.rgb(x, y), OLIVE) or near(pic.rgb(x, y), YELLOW)


def is_title(pic):
    return (pic.width, pic.height) == (800, 600) and panel(pic, 400, 432) and panel(pic, 400, 542)


def is_options(pic):
    return all(panel(pic, 70, y) for y in (MUSIC_ROW[1], LANGUAGE_ROW[1])) and panel(pic, 400, BACK_ROW[1])


def row_names(pic):
    """The pixels of the rows' names (dark text on the panels), left of the screen's middle."""
    return [(x, y) for x in range(70, 400, 2) for y in range(172, 420, 2)
            if not panel(pic, x, y) and not bright(pic.rgb(x, y))]


def start(desktop, game_dir, data_home):
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening or the title", lambda p: p.width >= 800)
    game.click(400, 300)  # ends the opening; on the title it hits nothing
    return game


def quit_game(game):
    game.key("Escape")
    time.sleep(0.5)
    game.key("Return")  # the quit question starts on OK
    code = game.wait_exit()
    if code != 0:
        raise TestFailure(f"the game ended with code {code}: {game.stderr()}")


def settings_last(desktop, game_dir, data_home):
    """Mute the music, choose English and full screen on the options screen, end the game there:
    the next start opens full screen, in English, with the same choices in the file."""
    game = start(desktop, game_dir, data_home)
    game.wait_for("the title", is_title, save="title-japanese")
    game.click(*OPTIONS_ITEM)
    japanese = game.wait_for("the options screen", is_options, save="options-japanese")
    game.move(*MUSIC_ROW)
    game.desktop.xdotool("click", "3")  # one step down from the loudest (a click stops there)
    game.click(*LANGUAGE_ROW)  # from the environment's to Japanese
    game.click(*LANGUAGE_ROW)  # to English
    game.wait_for("the options in English", lambda p: is_options(p) and row_names(p) != row_names(japanese),
                  save="options-english")
    game.click(*FULL_SCREEN_ROW)
    game.wait_for("full screen at once", lambda p: p.width > 800, save="options-full-screen")
    quit_game(game)  # on the options screen: what was chosen is kept all the same
    settings = os.path.join(data_home, "TWIRLSTICK_FILES", "settings")
    expected = "music=9\nsound=10\nfullscreen=1\nlanguage=en\nonline=0\nserver=http://127.0.0.1:8080\n"
    with open(settings) as f:
        if f.read() != expected:
            raise TestFailure(f"the settings file does not hold {expected!r}")

    game = start(desktop, game_dir, data_home)
    game.wait_for("full screen from the start", lambda p: p.width > 800, save="restart-full-screen")
    game.key("F11")
    game.wait_for("the title in the 800 x 600 window", is_title, save="title-english")
    game.locate()
    game.click(*OPTIONS_ITEM)
    again = game.wait_for("the options screen again", is_options, save="options-after-restart")
    if row_names(again) == row_names(japanese):
        raise TestFailure("after the restart the options screen is not in English")
    game.click(*BACK_ROW)
    game.wait_for("the title again", is_title)
    quit_game(game)
    with open(settings) as f:
        if f.read() != expected:
            raise TestFailure("looking at the options without a change rewrote the settings")


def german_undo(desktop, game_dir, data_home):
    """On a German layout the key that says Z is where a US keyboard has Y: Ctrl with it undoes,
    and Ctrl with the key that says Y redoes, as the letters promise."""
    subprocess.run(["setxkbmap", "de"], env=desktop.env, check=True)
    game = start(desktop, game_dir, data_home)
    game.wait_for("the title", is_title)
    game.click(*EDIT_ITEM)
    settle_on_first_entry(game)  # NEW STAGE
    game.desktop.xdotool("click", "1")
    game.wait_for("the editor", is_editor)
    game.click(300, 400)  # below the start's cross in the middle
    game.click(500, 400)
    game.wait_for("a wall", lambda p: wall_at(p, 400, 400), save="german-wall")
    game.key("ctrl+z")
    game.wait_for("the wall undone by Ctrl+Z", lambda p: not wall_at(p, 400, 400), save="german-undone")
    game.key("ctrl+y")
    game.wait_for("the wall back by Ctrl+Y", lambda p: wall_at(p, 400, 400))
    game.process.terminate()  # what a logout sends: no question over the unsaved stage
    code = game.wait_exit()
    if code != 0:
        raise TestFailure(f"the game ended with code {code}: {game.stderr()}")
