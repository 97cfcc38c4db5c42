"""A way back from every screen: Return skips the opening, BackSpace leaves each screen the title
opens, in Japanese and English; on a German layout the how-to-play screen names the key there."""

import os
import subprocess
from pathlib import Path

from options_scenario import OPTIONS_ITEM, is_options, is_title, quit_game, row_names
from editor_scenario import EDIT_ITEM, menu_entries
from xsession import Game, TestFailure, bright, near

MUSIC_NAME = (300, 162)  # inside the music row, between its name and its value


def to_title(game):
    game.wait_for("the opening or the title", lambda p: p.width >= 800)
    game.key("Return")  # skips the opening; the pointer stays where it is
    game.wait_for("the title", is_title)


def keys_line(pic):
    return [[bright(pic.rgb(x, y)) for x in range(100, 700)] for y in range(220, 240)]


def way_back(desktop, game_dir, data_home):
    from scenarios import SELECT_ITEM, START_ITEM, caption_bar, is_demo, is_select  # it imports this file
    for env in ({}, {"LANG": "en_US.UTF-8"}):
        game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home, env=env)
        to_title(game)
        Path(data_home, "TWIRLSTICK_FILES", "stage1").write_text("TITLE " + "W" * 40)  # titled wider than a box
        tag = "en" if env else "ja"
        screens = [(START_ITEM, "how-to-play", is_demo), (SELECT_ITEM, "stage select", is_select),
                   (OPTIONS_ITEM, "options", is_options), (EDIT_ITEM, "edit menu", lambda p: menu_entries(p) >= 5)]
        for item, name, shown in screens:
            game.click(*item)
            pic = game.wait_for(f"the {name}", shown, save=f"{name.replace(' ', '-')}-{tag}")
            if name == "options" and not near(pic.rgb(*MUSIC_NAME), (255, 255, 0)):
                raise TestFailure("the options screen opened with its first row unlit")
            if name == "edit menu":  # the delete question names the stage within its panel
                game.desktop.xdotool("key", "Home", "Delete")
                game.wait_for("the delete question with its lines inside", lambda p: caption_bar(p) and not any(
                    bright(p.rgb(x, y)) for x in (*range(115), *range(685, 800))
                    for y in range(caption_bar(p) + 40, caption_bar(p) + 140)), save=f"delete-question-{tag}")
                game.key("Escape")
            game.key("BackSpace")
            game.wait_for(f"the title after BackSpace on the {name}", is_title)
        quit_game(game)


def german_keys(desktop, game_dir, data_home):
    from scenarios import START_ITEM, is_demo
    lines = []
    for layout in ("us", "de"):
        subprocess.run(["setxkbmap", layout], env=desktop.env, check=True)
        pivot = {"us": "Z", "de": "Y"}[layout]
        help_text = subprocess.run([os.path.join(game_dir, "twirlstick"), "--help"], env=desktop.env,
                                   capture_output=True, text=True, check=True).stdout
        if f"Left click (or {pivot})" not in help_text:
            raise TestFailure(f"--help on a {layout} layout does not name the pivot key {pivot}:\n{help_text}")
        game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
        to_title(game)
        game.click(*START_ITEM)
        lines.append(keys_line(game.wait_for("the how-to-play screen", is_demo, save=f"how-to-play-{layout}")))
        quit_game(game)
    if lines[0] == lines[1]:
        raise TestFailure("the how-to-play screen names the same keys on a German layout as on a US one")
