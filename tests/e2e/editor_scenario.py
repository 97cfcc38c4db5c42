"""The stage editor end to end: a player makes a stage from nothing, names it, times it, tries
it, saves it, leaves, and opens it again, with real X input on the real game."""

import os
import subprocess
import time

from xsession import Game, TestFailure, bright, near, wait_until

# Pixel positions in the 800 x 600 client area; view point (0, 0) is its centre.
EDIT_ITEM = (400, 488)
STRIP = (112, 80, 64)
STRIP_UNDER_BOX = tuple(round(c * 105 / 255) for c in STRIP)  # an open box dims what lies behind it
RED, YELLOW, OLIVE = (255, 0, 0), (255, 255, 0), (128, 128, 0)
# Tool-bar buttons: each box's centre sits 8 view units above its label's anchor at y 215.
BUTTON_Y = 77
PUT, MOVE, KIND, SETTING, SAVE, TEST, EXIT = 100, 160, 280, 340, 400, 520, 590
GRID, BAND = (40, 40, 48), (0, 160, 255)
TITLE_TEXT, TIME_TEXT = (225, 45), (690, 75)
ROOM = [(200, 450), (600, 450), (600, 200), (200, 200), (200, 450)]
GOAL = [(500, 420), (560, 360)]


def around(pic, x, y, test):
    """Whether a pixel within two of (x, y) passes: one-pixel lines land a pixel either way."""
    return any(test(pic.rgb(x + dx, y + dy)) for dx in range(-2, 3) for dy in range(-2, 3))


def wall_at(pic, x, y):
    return around(pic, x, y, bright)


def goal_at(pic, x, y):
    return around(pic, x, y, lambda pixel: near(pixel, RED))


def is_editor(pic):
    return near(pic.rgb(10, 10), STRIP, 12) and near(pic.rgb(790, 90), STRIP, 12)


def menu_entries(pic):
    """How many olive or yellow entry boxes the edit menu shows down its left side."""
    count, inside = 0, False
    for y in range(0, 600, 2):
        box = any(near(pic.rgb(x, y), OLIVE) or near(pic.rgb(x, y), YELLOW) for x in (50, 51, 52))
        count += box and not inside
        inside = box
    return count


def is_box_over_editor(pic):
    return near(pic.rgb(10, 10), STRIP_UNDER_BOX, 12) and near(pic.rgb(790, 90), STRIP_UNDER_BOX, 12)


def is_title(pic):
    """The title's EDIT box (olive, or yellow under the cursor) across its middle row."""
    row = [near(pic.rgb(x, EDIT_ITEM[1]), OLIVE) or near(pic.rgb(x, EDIT_ITEM[1]), YELLOW)
           for x in range(340, 460, 4)]
    return sum(row) >= len(row) // 2


def is_play(pic):
    """The play scene: the bars-left label at the top right, and no tool bar."""
    lit = sum(bright(pic.rgb(x, y)) for x in range(545, 690, 2) for y in range(92, 118, 2))
    return lit > 20 and not is_editor(pic)


def settle_on_first_entry(game):
    """The pointer on the top row's middle brings the first entry there: rest until it is lit
    and the list stands still (it eases a tenth of the way each frame, however slow they come).
    Still means unchanged for a second: on a loaded machine two pictures can fall between the
    same two frames while the list is still moving, and a click then opens another entry."""
    top_row = 66
    game.move(100, top_row)
    since = {}

    def settled(pic):
        column = [pic.rgb(51, y) for y in range(0, 600, 2)]
        if since.get("column") != column:
            since.update(column=column, time=time.monotonic())
            return False
        return time.monotonic() - since["time"] >= 1.0 and near(pic.rgb(51, top_row), YELLOW)
    game.wait_for("the first entry to come to rest on the top row", settled)


def choose_tool(game, button):
    """A tool's button, lit red once chosen. Waited for: on a loaded machine a slow frame takes
    two quick clicks as one, and the next click would land with the tool before."""
    game.click(button, BUTTON_Y)
    game.wait_for("the tool lit", lambda p: near(p.rgb(button - 22, BUTTON_Y - 8), RED))


def switch_kind(game):
    """The kind button names the kind of line drawn next; waited for as a tool is."""
    def label(pic):
        return [max(pic.rgb(x, y)) < 90 for x in range(KIND - 24, KIND + 24) for y in range(BUTTON_Y - 6, BUTTON_Y + 6)]
    before = label(game.picture())
    game.click(KIND, BUTTON_Y)
    game.wait_for("the other kind named", lambda p: label(p) != before)


def drag(game, start, end, button="1"):
    game.move(*start)
    time.sleep(0.1)
    game.desktop.xdotool("mousedown", button)
    time.sleep(0.3)  # the press is seen where it happened, even on a slow frame
    for k in range(1, 5):
        game.move(start[0] + (end[0] - start[0]) * k // 4, start[1] + (end[1] - start[1]) * k // 4)
        time.sleep(0.1)
    game.desktop.xdotool("mouseup", button)


def type_into_box(game, field, erase, text):
    game.click(*field)
    game.wait_for("the input box", is_box_over_editor)
    game.key("End")
    for _ in range(erase):
        game.key("BackSpace")
    game.desktop.xdotool("type", "--delay", "60", text)
    game.key("Return")
    game.wait_for("the input box to close", is_editor)


def stage_info(game_dir, path):
    tool = os.path.join(game_dir, "twirlstick-stage")
    result = subprocess.run([tool, "info", path], capture_output=True, text=True)
    if result.returncode != 0:
        raise TestFailure(f"twirlstick-stage info failed: {result.stderr}")
    return dict(line.split(": ", 1) for line in result.stdout.splitlines() if ": " in line)


def draw_the_stage(game):
    for point in ROOM:
        game.click(*point)
    game.move(700, 520)
    time.sleep(0.1)
    game.desktop.xdotool("click", "3")  # a new chain
    switch_kind(game)
    for point in GOAL:
        game.click(*point)
    choose_tool(game, SETTING)
    drag(game, (300, 350), (360, 350))  # the start at view (-100, -50), pointing along +x
    choose_tool(game, PUT)
    game.wait_for("the closed room and its goal",
                  lambda p: wall_at(p, 400, 450) and wall_at(p, 600, 300) and goal_at(p, 530, 390))
    game.click(700, 300)
    game.wait_for("a stray point", lambda p: wall_at(p, 700, 300))
    game.key("ctrl+z")  # an undo, and no click of Z's own
    game.wait_for("the stray point undone", lambda p: not wall_at(p, 700, 300))


def selected_at(pic, x, y):
    return around(pic, x, y, lambda pixel: near(pixel, YELLOW))


def snap_select_delete_undo(game):
    """G snaps a click near (700, 300) onto the grid point there; in MOVE, Ctrl+A and Delete
    empty the stage and one Ctrl+Z brings it all back. SETTING outlines the play's texts."""
    game.key("g")
    game.move(704, 297)
    game.wait_for("the faint grid", lambda p: around(p, 750, 450, lambda pixel: near(pixel, GRID, 6)))
    game.click(704, 297)
    game.wait_for("a point snapped onto the grid", lambda p: wall_at(p, 700, 300),
                  save="grid-and-coordinates")
    game.key("ctrl+z")
    game.key("g")
    game.wait_for("the snapped point undone", lambda p: not wall_at(p, 700, 300))
    choose_tool(game, MOVE)
    game.key("ctrl+a")
    game.wait_for("every point selected", lambda p: selected_at(p, 200, 450) and selected_at(p, 560, 360))
    game.key("Delete")
    game.wait_for("an empty stage", lambda p: not wall_at(p, 400, 450) and not goal_at(p, 530, 390))
    game.key("ctrl+z")
    game.wait_for("the stage back", lambda p: wall_at(p, 400, 450) and goal_at(p, 530, 390))
    game.click(700, 520)  # empty space: the selection ends
    choose_tool(game, SETTING)
    game.move(400, 400)
    game.wait_for("the heads-up band outlined", lambda p: around(p, 110, 150, lambda pixel: near(pixel, BAND)),
                  save="setting-band")
    choose_tool(game, PUT)


def edit_a_stage(desktop, game_dir, data_home):
    game = Game(desktop, os.path.join(game_dir, "twirlstick"), game_dir, data_home)
    game.wait_for("the opening", lambda p: any(bright(p.rgb(x, 300)) for x in range(30, 36)))
    game.click(400, 300)
    game.wait_for("the title", is_title)
    game.click(*EDIT_ITEM)
    # NEW STAGE, a copy of each of the ten shipped stages, EXIT: more than a screen holds.
    game.wait_for("the edit menu", lambda p: menu_entries(p) >= 5)
    settle_on_first_entry(game)
    game.picture("edit-menu")
    game.desktop.xdotool("click", "1")
    game.wait_for("the editor", is_editor)

    draw_the_stage(game)
    snap_select_delete_undo(game)
    type_into_box(game, TITLE_TEXT, 8, "ROOM")
    type_into_box(game, TIME_TEXT, 2, "30")
    game.picture("edited")
    game.click(SAVE, BUTTON_Y)
    saved = os.path.join(data_home, "TWIRLSTICK_FILES", "stage1")
    wait_until("the saved stage", lambda: os.path.isfile(saved))
    game.wait_for("the notice naming the file", lambda p: any(
        near(p.rgb(x, y), YELLOW) for x in range(200, 600, 2) for y in range(112, 132, 2)), save="save-notice")

    game.click(TEST, BUTTON_Y)
    game.wait_for("the test play", is_play)
    game.picture("test-play")
    game.desktop.xdotool("click", "2")
    game.wait_for("the editor again", is_editor)
    game.click(EXIT, BUTTON_Y)
    game.wait_for("the edit menu again", lambda p: menu_entries(p) >= 5)
    settle_on_first_entry(game)  # the saved stage
    game.picture("edit-menu-with-stage")
    game.desktop.xdotool("click", "1")
    game.wait_for("the editor on the saved stage", is_editor)
    opened = game.wait_for("the stage as it was saved",
                           lambda p: wall_at(p, 400, 450) and goal_at(p, 530, 390))
    game.picture("reopened")
    if not wall_at(opened, 200, 325):
        raise TestFailure("the left wall of the room is missing after opening the stage again")

    info = stage_info(game_dir, saved)
    expected = {"title": "ROOM", "timelimit": "30", "points": "6", "walls": "4", "goals": "1"}
    for key, value in expected.items():
        if info.get(key) != value:
            raise TestFailure(f"saved stage: {key} is {info.get(key)!r}, expected {value!r} ({info})")
    if not info.get("start", "").startswith("-100 -50 0"):
        raise TestFailure(f"saved stage: start is {info.get('start')!r}")
    game.click(700, 520)  # unsaved work: the quit question says so and starts on Cancel
    game.key("Escape")
    game.wait_for("the quit question", is_box_over_editor, save="quit-with-unsaved-work")
    game.key("Return")
    game.wait_for("the editor, the work kept", is_editor)
    game.key("Escape")
    game.wait_for("the quit question again", is_box_over_editor)
    game.key("Left")
    game.key("Return")
    game.wait_exit()
