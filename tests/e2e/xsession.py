"""A private X desktop for end-to-end tests: Xvfb, a window manager, the game, real input.

Input goes through xdotool without --window, so it takes XTEST, the path a player's keyboard
and mouse take; pictures come from xwd. Every wait polls an observable state with a generous
time limit, because the tests share a slow machine with other work.
"""

import os
import shutil
import struct
import subprocess
import time
import zlib

DEFAULT_TIMEOUT = 60.0


class TestFailure(Exception):
    pass


def wait_until(what, check, timeout=DEFAULT_TIMEOUT, interval=0.1):
    """Polls `check` until it returns something true; returns that, or fails naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TestFailure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Picture:
    """An RGB picture read from xwd's output (ZPixmap, 24 or 32 bits per pixel)."""

    def __init__(self, xwd):
        fields = struct.unpack(">25I", xwd[:100])
        header_size, _, pixmap_format, _, width, height = fields[:6]
        byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
        masks, colors = fields[14:17], fields[19]
        if pixmap_format != 2 or bits_per_pixel not in (24, 32):
            raise TestFailure(f"unexpected xwd picture: format {pixmap_format}, {bits_per_pixel} bpp")
        self.width, self.height = width, height
        self._data = xwd[header_size + colors * 12:]
        self._line = bytes_per_line
        self._step = bits_per_pixel // 8
        self._order = "little" if byte_order == 0 else "big"
        self._shifts = [(mask, (mask & -mask).bit_length() - 1) for mask in masks]

    def rgb(self, x, y):
        at = y * self._line + x * self._step
        value = int.from_bytes(self._data[at:at + self._step], self._order)
        return tuple((value & mask) >> shift for mask, shift in self._shifts)

    def _row_rgb(self, y):
        start = y * self._line
        if self._step == 4 and self._order == "little" and self._shifts[2][0] == 0xFF:
            raw, rgb = self._data[start:start + self.width * 4], bytearray(self.width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
            return bytes(rgb)
        return bytes(c for x in range(self.width) for c in self.rgb(x, y))

    def save_png(self, path):
        rows = b"".join(b"\0" + self._row_rgb(y) for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def near(pixel, color, tolerance=40):
    """Per channel within a tolerance: renderers round and blend a little differently."""
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, color))


def bright(pixel):
    return min(pixel) >= 170


class Desktop:
    """Xvfb with a window manager; `run_game` starts the game on it."""

    def __init__(self, out_dir):
        self.out_dir = out_dir
        self._processes = []
        read_end, write_end = os.pipe()
        # Neither server keeps the test's output open: CTest waits for that pipe to close, so a
        # server left behind would hold a finished test until its timeout.
        quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp"], pass_fds=(write_end,), **quiet)
        os.close(write_end)
        try:
            with os.fdopen(read_end) as f:
                number = f.readline().strip()
            if not number:
                raise TestFailure("Xvfb did not start")
            self.env = dict(os.environ, DISPLAY=":" + number)
            self.env.pop("WAYLAND_DISPLAY", None)
            self._start_window_manager(quiet)
        except BaseException:
            self.close()
            raise

    def _start_window_manager(self, quiet):
        # On a loaded machine openbox has been seen to die before it took the screen: once more.
        for attempt in (1, 2):
            manager = self._start(["openbox", "--sm-disable"], env=self.env, **quiet)
            try:
                wait_until("the window manager", lambda: "window id" in self._output(
                    ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]), timeout=30 * attempt)
                return
            except TestFailure:
                if attempt == 2:
                    raise
                manager.kill()
                manager.wait()

    def _start(self, args, **kwargs):
        process = subprocess.Popen(args, **kwargs)
        self._processes.append(process)
        return process

    def _output(self, args):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True)
        return result.stdout if result.returncode == 0 else ""

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, capture_output=True)

    def close(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


LOCALE_VARIABLES = ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")


class WindowNotViewable(TestFailure):
    """The window cannot be read back (not yet mapped, or already gone)."""


class Game:
    """The game binary running on a Desktop, with its own private data folder."""

    def __init__(self, desktop, binary, cwd, data_home, window_name="TWIRLSTICK", env=None):
        self.desktop = desktop
        self.window_name = window_name
        # The texts follow the locale: a scenario sees the game's own Japanese unless it asks.
        env = {**{k: v for k, v in desktop.env.items() if k not in LOCALE_VARIABLES}, "LANG": "C.UTF-8",
               "XDG_DATA_HOME": data_home, "SDL_AUDIODRIVER": "dummy", **(env or {})}
        self.stderr_path = os.path.join(desktop.out_dir, "stderr.txt")
        with open(self.stderr_path, "w") as err:
            self.process = desktop._start([binary], cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                                          stderr=err)
        self.window = wait_until(f"an active window named {window_name}", self._find_window)
        # xwininfo, not xdotool: xdotool counts the frame's offset twice under a reparenting
        # window manager, and the clicks would land a title bar too low.
        # Active comes a moment before the window manager has framed and mapped it; its place
        # is known only once it is viewable.
        self.locate()
        self.shots = 0

    def locate(self):
        """Where the window's client area is on the screen; again after it changed size or place."""
        info = wait_until("the window to be mapped", self._viewable_info)
        values = dict(line.strip().split(":", 1) for line in info.splitlines() if "Absolute" in line)
        self.x = int(values["Absolute upper-left X"])
        self.y = int(values["Absolute upper-left Y"])

    def _viewable_info(self):
        info = self.desktop._output(["xwininfo", "-id", self.window])
        return info if "IsViewable" in info else None

    def _find_window(self):
        # The active window, by the name xwininfo reads: SDL's own message box sets only the
        # name that xdotool's search does not look at.
        self._check_running()
        active = self.desktop._output(["xdotool", "getactivewindow"]).strip()
        named = active and f'"{self.window_name}"' in self.desktop._output(["xwininfo", "-id", active])
        return active if named else None

    def _check_running(self):
        if self.process.poll() is not None:
            raise TestFailure(f"the game ended with code {self.process.returncode}: {self.stderr()}")

    def stderr(self):
        with open(self.stderr_path) as f:
            return f.read()

    def picture(self, name=None):
        """The window's client area now; saved as PNG in the output folder when named."""
        self._check_running()
        xwd = subprocess.run(["xwd", "-silent", "-id", self.window], env=self.desktop.env, capture_output=True)
        if xwd.returncode != 0:
            raise WindowNotViewable(f"xwd: {xwd.stderr.decode(errors='replace')}")
        picture = Picture(xwd.stdout)
        if name:
            self.save(picture, name)
        return picture

    def save(self, picture, name):
        self.shots += 1
        picture.save_png(os.path.join(self.desktop.out_dir, f"{self.shots:02d}-{name}.png"))

    def wait_for(self, what, check, timeout=DEFAULT_TIMEOUT, save=None):
        """Polls pictures until `check(picture)` holds; returns that picture, saved when named.
        When it never holds, the last picture is saved to show what the screen held instead."""
        last = []

        def attempt():
            try:
                picture = self.picture()
            except WindowNotViewable:  # mapped by the window manager a moment after it is active
                return None
            last[:] = [picture]
            return picture if check(picture) else None
        started = time.monotonic()
        try:
            picture = wait_until(what, attempt, timeout)
        except TestFailure:
            if last:
                self.save(last[0], "timed-out")
            raise
        print(f"waited {time.monotonic() - started:.1f} s for {what}")
        if save:
            self.save(picture, save)
        return picture

    def burst(self, seconds):
        """As many pictures as can be taken in `seconds`, to be judged afterwards: for a state
        that lasts less than a second, polling and judging each picture in turn is too slow."""
        pictures, end = [], time.monotonic() + seconds
        while time.monotonic() < end:
            pictures.append(self.picture())
        return pictures

    # Positions are pixels of the client area, whose centre is view point (0, 0).
    def move(self, px, py):
        self.desktop.xdotool("mousemove", str(self.x + px), str(self.y + py))

    def click(self, px, py):
        self.move(px, py)
        time.sleep(0.1)  # a press at the new position, not a drag from the old one
        self.desktop.xdotool("click", "1")
        # Two clicks within one of the game's frames read as one press: on a loaded machine, with
        # the sanitized build, a frame can take longer than the pause before the next click.
        time.sleep(0.1)

    def key(self, name):
        self.desktop.xdotool("key", name)

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"the game did not end within {timeout:.0f} s") from None
        # The X server may hand the next game the same window id: let this one go first.
        wait_until("the window to close", lambda: not self.desktop._output(["xwininfo", "-id", self.window]))
        return code

    def still_running_after(self, seconds):
        time.sleep(seconds)
        return self.process.poll() is None


def copy_game_folder(game_dir, target, leave_out=()):
    """A copy of the game folder (binary and data) without the named files."""
    shutil.copytree(game_dir, target, ignore=lambda folder, names: [n for n in names if n in leave_out])
    return target
