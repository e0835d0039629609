#!/usr/bin/env bash
# End-to-end checks of the built program on a real X server (Xvfb), driven from outside with
# xdotool, xclip and a close request, reading the screen with ImageMagick and the texts of a dialog
# through accessibility (AT-SPI, in a private D-Bus session); then a check that
# `cmake --install` lays out the program, desktop entry, icons and metainfo, and that they validate.
# Prints one line per check and `N passed, M failed`; exits non-zero when a check failed.
#
# Usage: scripts/e2e.sh [path/to/quillmere]
#   The program defaults to $QUILLMERE_BIN, else <build>/quillmere, where <build> is
#   $QM_BUILD_DIR (from the repository's folder) or build/release, the build that the install
#   and package checks use too.
set -uo pipefail
# A program named on the command line is found from the caller's folder.
bin=${1:-${QUILLMERE_BIN:-}}
case $bin in "" | /*) ;; *) bin=$PWD/$bin ;; esac
cd "$(dirname "$0")/.."
root=$PWD
build=${QM_BUILD_DIR:-build/release}
case $build in /*) ;; *) build=$root/$build ;; esac
bin=${bin:-$build/quillmere}

if [ -z "${QM_E2E_DISPLAY:-}" ]; then
  if [ ! -x "$bin" ]; then
    echo "no program at $bin (build it: cmake --build $build --target quillmere)" >&2
    exit 2
  fi
  # A private X server for the whole run; the checks below run inside it.
  exec timeout 300 env QM_E2E_DISPLAY=1 QM_BUILD_DIR="$build" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin"
fi

# The program under test talks to the X server, whatever the caller set for the tests before.
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
work=$(mktemp -d)
# A session's runtime folder, as a desktop has one (Qt warns on stderr without it).
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_STATE_HOME="$work/state"   # recovery copies: the run's own, never the user's
pid=""
clip_pid=""
bus_pid=""
cleanup() {
  [ -n "$clip_pid" ] && kill "$clip_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS  $1"; }
# A failed check keeps the last screenshot, under build/e2e-failures/ when there is a build folder.
keep=${build}/e2e-failures
[ -d "$build" ] || keep=${TMPDIR:-/tmp}/quillmere-e2e-failures
fail() {
  failed=$((failed + 1))
  echo "FAIL  $1${2:+: $2}"
  if [ -s "$work/shot.ppm" ] && mkdir -p "$keep" &&
     /usr/bin/convert "$work/shot.ppm" "$keep/failure-$failed.png" 2>/dev/null; then
    echo "      last screenshot: $keep/failure-$failed.png"
  fi
}

# ---- Reading the screen: a screenshot as PPM, examined by a small standard-library program ----
cat >"$work/screen.py" <<'PY'
import sys

def load(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:                     # P6, width, height, maxval; comments skipped
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit PPM"
    return int(fields[1]), int(fields[2]), data[pos + 1:]

W, H, D = load(sys.argv[2])
WHITE = b"\xff\xff\xff"

def px(x, y):
    if not (0 <= x < W and 0 <= y < H):
        return None
    i = (y * W + x) * 3
    return tuple(D[i:i + 3])

def is_white(x, y):
    return px(x, y) == (255, 255, 255)

def is_dark(x, y):
    p = px(x, y)
    return p is not None and max(p) < 80

def white_run(x, y, n):
    i = (y * W + x) * 3
    return x >= 0 and x + n <= W and 0 <= y < H and D[i:i + 3 * n] == WHITE * n

def find_picture(pw=600, ph=220):
    """Top-left of a white pw x ph rectangle with non-white pixels just outside its edges."""
    run = WHITE * pw
    for y in range(H - ph + 1):
        row = D[y * W * 3:(y + 1) * W * 3]
        i = row.find(run)
        while i >= 0:
            if i % 3 == 0:
                x = i // 3
                if not is_white(x - 1, y) and not is_white(x, y - 1) and not is_white(x + pw, y) \
                        and all(white_run(x, yy, pw) for yy in range(y, y + ph)) \
                        and not is_white(x, y + ph) and not is_white(x + pw // 2, y + ph):
                    return x, y
            i = row.find(run, i + 1)
    return None

def box_outline(x1, y1, x2, y2):
    """A 1-pixel dark outline exactly on the box x1..x2, y1..y2, white just inside and outside."""
    side = [(x, y1) for x in range(x1, x2 + 1)] + [(x, y2) for x in range(x1, x2 + 1)] \
         + [(x1, y) for y in range(y1, y2 + 1)] + [(x2, y) for y in range(y1, y2 + 1)]
    light = [p for p in side if not is_dark(*p)]
    if light:
        return f"{len(light)} of {len(side)} outline pixels not black, first at {light[0]}: {px(*light[0])}"
    for x in range(x1 + 1, x2):
        for y in range(y1 + 1, y2):
            if not is_white(x, y):
                return f"inside not white at {(x, y)}: {px(x, y)}"
    ring = [(x, y1 - 1) for x in range(x1 - 1, x2 + 2)] + [(x, y2 + 1) for x in range(x1 - 1, x2 + 2)] \
         + [(x1 - 1, y) for y in range(y1, y2 + 1)] + [(x2 + 1, y) for y in range(y1, y2 + 1)]
    dirty = [p for p in ring if not is_white(*p)]
    if dirty:
        return f"outside the box not white at {dirty[0]}: {px(*dirty[0])}"
    return None

def all_colour(x, y, w, h, rgb, tol=0):
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            p = px(xx, yy)
            if p is None or max(abs(a - b) for a, b in zip(p, rgb)) > tol:
                return f"{(xx, yy)} is {p}, not {rgb}"
    return None

cmd, a = sys.argv[1], [int(v) for v in sys.argv[3:]]
if cmd == "find-picture":
    found = find_picture()
    if not found:
        sys.exit("no white 600 x 220 picture on the screen")
    print(*found)
elif cmd == "box":
    problem = box_outline(*a)
    if problem:
        sys.exit(problem)
elif cmd == "colour":
    problem = all_colour(a[0], a[1], a[2], a[3], tuple(a[4:7]))
    if problem:
        sys.exit(problem)
elif cmd == "find-colour":
    # The top-left corner of a w x h rectangle of one colour, with other colours just outside it.
    w, h, rgb = a[0], a[1], bytes(a[2:5])
    run = rgb * w
    for y in range(H - h + 1):
        row = D[y * W * 3:(y + 1) * W * 3]
        i = row.find(run)
        while i >= 0:
            x = i // 3
            if i % 3 == 0 and px(x - 1, y) != tuple(rgb) and px(x + w, y) != tuple(rgb) \
                    and all(D[(yy * W + x) * 3:(yy * W + x + w) * 3] == run for yy in range(y, y + h)) \
                    and px(x, y + h) != tuple(rgb) and px(x, y - 1) != tuple(rgb):
                print(x, y)
                sys.exit(0)
            i = row.find(run, i + 1)
    sys.exit(f"no {w} x {h} rectangle of {tuple(rgb)} on the screen")
elif cmd == "size":
    print(W, H)
else:
    sys.exit(f"unknown command {cmd}")
PY
# Screenshots are of the main window only (quicker than the whole screen): coordinates below are
# the window's, and the pointer is moved relative to the window too.
shot() { /usr/bin/import -window "$wid" -depth 8 "ppm:$work/shot.ppm" 2>/dev/null; }
move() { xdotool mousemove --window "$wid" "$1" "$2"; }
screen() { python3 "$work/screen.py" "$1" "$work/shot.ppm" "${@:2}"; }
# Retries `screen ...` on fresh screenshots until it succeeds (15 tries, about 10 s); the last
# answer is left in $answer.
answer=""
wait_screen() {
  local i
  for i in $(seq 1 15); do
    shot
    if answer=$(screen "$@" 2>&1); then return 0; fi
    sleep 0.2
  done
  return 1
}
window_exists() { xdotool search --name "$1" >/dev/null 2>&1; }
# The program's visible windows other than the main window: an open menu or a dialog.
others() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$wid"; }
# Waits until the program shows a window besides the main one (about 5 s at most).
wait_other() {
  local i
  for i in $(seq 1 50); do others >/dev/null && return 0; sleep 0.1; done
  return 1
}
# Presses key $1 until the program shows no window besides the main one (a key sent while a menu
# or dialog is still settling can be lost; one that arrives closes it). At most 10 presses, ~5 s.
key_until_alone() {
  local i j
  for i in $(seq 1 10); do
    xdotool key "$1"
    for j in $(seq 1 5); do
      others >/dev/null || return 0
      sleep 0.1
    done
  done
  return 1
}
# Asks a window to close, as a window manager's close button does (WM_DELETE_WINDOW).
request_close() {
  python3 - "$1" <<'PY'
import ctypes, sys
from ctypes import c_int, c_long, c_ulong, c_void_p, c_char_p
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype, x.XOpenDisplay.argtypes = c_void_p, [c_char_p]
x.XInternAtom.restype, x.XInternAtom.argtypes = c_ulong, [c_void_p, c_char_p, c_int]
x.XSendEvent.argtypes = [c_void_p, c_ulong, c_int, c_long, c_void_p]
x.XFlush.argtypes = x.XCloseDisplay.argtypes = [c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("window", c_ulong), ("message_type", c_ulong), ("format", c_int), ("data", c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", c_long * 24)]
d = x.XOpenDisplay(None)
if not d:
    sys.exit("cannot open the display")
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = int(sys.argv[1])
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
e.xclient.data[1] = 0  # CurrentTime
x.XSendEvent(d, int(sys.argv[1]), 0, 0, ctypes.byref(e))
x.XFlush(d)
x.XCloseDisplay(d)
PY
}
# Drags with the left button from ($1,$2) to ($3,$4) in window pixels, through a few steps.
drag() {
  local i steps=8
  move "$1" "$2"
  xdotool mousedown 1
  for i in $(seq 1 $steps); do
    move $(($1 + ($3 - $1) * i / steps)) $(($2 + ($4 - $2) * i / steps))
  done
  xdotool mouseup 1
}

title='^※Quillmere※$'
cd "$work"   # undo leaves its redo file in the working folder

# ---- Start-up: the window and its white 600 x 220 picture ----
"$bin" >"$work/program.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n 1)
if [ -n "$wid" ] && [ "$(xdotool getwindowname "$wid")" = "※Quillmere※" ]; then
  pass "start-up: the window \"※Quillmere※\" appears"
else
  fail "start-up: the window \"※Quillmere※\" appears" "no such window within 20 s"
  sed 's/^/    /' "$work/program.log"
  echo "$passed passed, $failed failed"
  exit 1
fi
xdotool windowfocus --sync "$wid" 2>/dev/null
if wait_screen find-picture; then
  read -r px py <<<"$answer"
  pass "start-up: a white 600 x 220 picture, at ($px, $py) in the window"
else
  fail "start-up: a white 600 x 220 picture" "$answer"
  px=""
fi
# What the running program has loaded (its libraries and Qt's plugins), for the package check.
cp "/proc/$pid/maps" "$work/loaded-maps" 2>/dev/null

if [ -n "$px" ]; then
  # ---- The road of one figure: palette button 7 "画矩形", drag, undo ----
  # The palette is a 5-column grid of 28-pixel buttons, its columns spread evenly over the column
  # left of the picture (window margin 2, panel margin 1), its first row at the picture's top.
  gridw=$(( px - 2 - 2 - 2 ))
  bx=$(( 3 + gridw * 3 / 10 ))       # column 2 of 5: centre at 1.5 / 5 of the grid's width
  by=$(( py + 1 + 28 + 14 ))         # row 2
  move "$bx" "$by"
  xdotool click 1
  drag $((px + 40)) $((py + 30)) $((px + 120)) $((py + 90))
  move $((px + 590)) $((py + 300))   # the pointer out of the picture
  if wait_screen box $((px + 40)) $((py + 30)) $((px + 120)) $((py + 90)); then
    pass "rectangle: palette button 7, drag (40,30)-(120,90) leaves its outline, white inside"
  else
    fail "rectangle: palette button 7, drag (40,30)-(120,90) leaves its outline" "$answer"
  fi

  # ---- 复制高清图 (Ctrl+Shift+C) with nothing selected: the picture cut to its ink and 4-pixel
  # margin, at 4 x: the 81 x 61 box becomes 89 x 69 picture pixels, 356 x 276 on the clipboard ----
  check="复制高清图: Ctrl+Shift+C offers image/png at 4 x the trimmed picture (356 x 276) to other programs"
  targets=""
  for i in $(seq 1 10); do
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key ctrl+shift+c
    sleep 0.3
    targets=$(timeout 5 xclip -selection clipboard -t TARGETS -o 2>/dev/null)
    grep -qx 'image/png' <<<"$targets" && break
  done
  if ! grep -qx 'image/png' <<<"$targets"; then
    fail "$check" "the clipboard offers: $(tr '\n' ' ' <<<"$targets")"
  elif ! grep -qx 'application/x-quillmere-picture' <<<"$targets"; then
    fail "$check" "no picture at 1 x beside it (application/x-quillmere-picture)"
  else
    timeout 5 xclip -selection clipboard -t image/png -o >"$work/hd.png" 2>/dev/null
    size=$(identify -format '%wx%h' "$work/hd.png" 2>/dev/null)
    density=$(identify -units PixelsPerInch -format '%x' "$work/hd.png" 2>/dev/null)
    if [ "$size" = "356x276" ] && [ "$(printf '%.0f' "${density:-0}" 2>/dev/null)" = "384" ]; then pass "$check"
    else fail "$check" "image/png is $size at ${density:-no} dpi"; fi
  fi

  # The open menu is a window of its own; its first entry is 取消.
  for i in 1 2 3; do
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key alt+e
    wait_other && break
  done
  others >/dev/null && key_until_alone Return
  if wait_screen colour $((px + 30)) $((py + 20)) 101 81 255 255 255; then
    pass "undo: 编辑 > 取消 removes the rectangle"
  else
    fail "undo: 编辑 > 取消 removes the rectangle" "$answer"
  fi

  # ---- Clipboard shared with another program: a PNG from xclip, pasted at the top left ----
  /usr/bin/convert -size 40x30 "xc:#2060c0" "$work/clip.png"
  xclip -quiet -selection clipboard -t image/png -i "$work/clip.png" >/dev/null 2>&1 &
  clip_pid=$!
  pasted=""
  for i in $(seq 1 20); do   # Paste is offered within a timer period or two of the clipboard change
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key ctrl+v
    sleep 0.2
    shot
    if answer=$(screen colour $((px + 2)) $((py + 2)) 36 26 32 96 192 2>&1); then pasted=1; break; fi
  done
  if [ -n "$pasted" ]; then
    pass "clipboard: a PNG put there by xclip is pasted at the top left of the picture (Ctrl+V)"
  else
    fail "clipboard: a PNG put there by xclip is pasted at the top left of the picture" "$answer"
  fi

  # ---- Closing with unsaved work asks first ----
  request_close "$wid"
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '是否保存改变' 2>/dev/null | head -n 1)
  if [ -n "$dialog" ] && kill -0 "$pid" 2>/dev/null && window_exists "$title"; then
    pass "close request with unsaved work: \"是否保存改变\" appears, the window stays"
  else
    fail "close request with unsaved work: \"是否保存改变\" appears, the window stays" \
      "${dialog:+the program or its window is gone}${dialog:-no question within 10 s}"
  fi
  if [ -n "$dialog" ]; then
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    if key_until_alone Escape && kill -0 "$pid" 2>/dev/null && window_exists "$title"; then
      pass "close question answered Cancel: the window stays open"
    else
      fail "close question answered Cancel: the window stays open"
    fi
    request_close "$wid"
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '是否保存改变' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && xdotool windowfocus --sync "$dialog" 2>/dev/null && xdotool key alt+n
    for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; status=$?
      pid=""
      if [ "$status" -eq 0 ]; then pass "close question answered No: the program ends"
      else fail "close question answered No: the program ends" "exit status $status"; fi
    else
      fail "close question answered No: the program ends" "still running after 5 s"
    fi
  fi
fi
[ -n "$pid" ] && kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null; pid=""; }

# ---- `quillmere FILE`: the file opens at start-up, at its own size, named in the caption ----
/usr/bin/convert -size 320x200 "xc:#3080f0" "$work/start.png"
"$bin" "$work/start.png" >"$work/program-file.log" 2>&1 &
pid=$!
check="command line: quillmere FILE shows the 320 x 200 file, its path in the caption"
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^※Quillmere※' 2>/dev/null | head -n 1)
caption=""
for i in $(seq 1 50); do
  [ -n "$wid" ] && caption=$(xdotool getwindowname "$wid" 2>/dev/null)
  [ "$caption" = "※Quillmere※～～$work/start.png" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then
  fail "$check" "no window within 20 s: $(tail -n 3 "$work/program-file.log")"
elif [ "$caption" != "※Quillmere※～～$work/start.png" ]; then
  fail "$check" "caption \"$caption\""
elif wait_screen find-colour 320 200 48 128 240; then
  pass "$check"
else
  fail "$check" "$answer"
fi
[ -n "$pid" ] && kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null; pid=""; }
# ---- The print detail lives in the file: a slanted line saved as PNG (保存, through the real
# file dialog), the program closed, `quillmere FILE` started, and 复制高清图 offers the same PNG ----
check="detail in the file: save as PNG, quit, quillmere FILE: 复制高清图 gives the same PNG as before saving"
detail_copy() {   # $1: where to put the clipboard's image/png after Ctrl+Shift+C
  local i
  for i in $(seq 1 10); do
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key ctrl+shift+c
    sleep 0.3
    timeout 5 xclip -selection clipboard -t image/png -o >"$1" 2>/dev/null && [ -s "$1" ] && return 0
  done
  return 1
}
"$bin" >"$work/program-detail.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n 1)
problem=""
if [ -z "$wid" ]; then
  problem="no window within 20 s"
elif ! { xdotool windowfocus --sync "$wid" 2>/dev/null; wait_screen find-picture; }; then
  problem="$answer"
else
  read -r px py <<<"$answer"
  move $((px + 300)) $((py + 110))
  xdotool click 1                     # the picture takes the keys
  xdotool key l                       # the line tool
  drag $((px + 60)) $((py + 40)) $((px + 330)) $((py + 190))
  move $((px + 590)) $((py + 300))
  if ! detail_copy "$work/detail-before.png"; then
    problem="复制高清图 put no PNG on the clipboard"
  elif [ "$(identify -format '%wx%h' "$work/detail-before.png" 2>/dev/null)" = "2400x880" ]; then
    problem="no line was drawn (复制高清图 gave the whole white picture)"
  else
    saved="$work/detail.png"
    dialog=""
    for i in 1 2 3; do
      xdotool windowfocus --sync "$wid" 2>/dev/null
      xdotool key ctrl+s
      dialog=$(timeout 5 xdotool search --sync --onlyvisible --name '图像保存为' 2>/dev/null | head -n 1)
      [ -n "$dialog" ] && break
    done
    if [ -z "$dialog" ]; then
      problem="no save dialog after Ctrl+S"
    else
      xdotool windowfocus --sync "$dialog" 2>/dev/null
      sleep 0.5
      xdotool type --delay 20 "$saved"
      sleep 0.3
      xdotool key Return
      for i in $(seq 1 50); do
        [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "※Quillmere※～～$saved" ] && break
        # A completion list may have taken the first Return.
        [ "$i" = 10 ] && others >/dev/null && xdotool key Return
        sleep 0.1
      done
      if [ "$(xdotool getwindowname "$wid" 2>/dev/null)" != "※Quillmere※～～$saved" ] || [ ! -s "$saved" ]; then
        problem="the picture was not saved as $saved (caption \"$(xdotool getwindowname "$wid" 2>/dev/null)\")"
      fi
    fi
  fi
fi
# Saved, the picture holds no unsaved work: a close request ends the program without a question.
if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && [ -n "$wid" ]; then
  request_close "$wid"
  for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    [ -z "$problem" ] && problem="the program did not end on a close request after saving"
    kill "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
fi
pid=""
if [ -z "$problem" ]; then
  "$bin" "$saved" >"$work/program-detail2.log" 2>&1 &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^※Quillmere※' 2>/dev/null | head -n 1)
  for i in $(seq 1 50); do
    [ -n "$wid" ] && [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "※Quillmere※～～$saved" ] && break
    sleep 0.1
  done
  if [ -z "$wid" ] || [ "$(xdotool getwindowname "$wid" 2>/dev/null)" != "※Quillmere※～～$saved" ]; then
    problem="quillmere $saved shows no window naming it"
  elif ! detail_copy "$work/detail-after.png"; then
    problem="复制高清图 after reopening put no PNG on the clipboard"
  elif ! cmp -s "$work/detail-before.png" "$work/detail-after.png"; then
    problem="the PNG differs: $(identify -format '%wx%h' "$work/detail-before.png" 2>/dev/null) before, $(identify -format '%wx%h' "$work/detail-after.png" 2>/dev/null) after"
  fi
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null; pid=""; }
fi
if [ -z "$problem" ]; then pass "$check"; else fail "$check" "$problem"; fi

for args in "a.png b.png" "--no-such-option"; do
  # shellcheck disable=SC2086
  out=$("$bin" $args 2>&1 >/dev/null); status=$?
  if [ "$status" -eq 2 ] && [ "$(wc -l <<<"$out")" -eq 1 ] && grep -q '^用法：quillmere' <<<"$out"; then
    pass "command line: quillmere $args is refused with a one-line Chinese usage message (exit 2)"
  else
    fail "command line: quillmere $args is refused with a usage message" "exit $status: $out"
  fi
done

# ---- Qt's own buttons speak Chinese: the new-picture question, read through accessibility ----
# The program starts again with Qt's accessibility bridge on, in a private D-Bus session whose
# accessibility bus is running before the program starts; the question's push buttons are then
# listed by name through AT-SPI (pyatspi), as a screen reader would read them.
cat >"$work/buttons.py" <<'PY'
import sys
import pyatspi

def push_buttons(node, depth=0):
    names = []
    if node is None or depth > 12:
        return names
    if node.getRole() == pyatspi.ROLE_PUSH_BUTTON:
        names.append(node.name)
    for i in range(node.childCount):
        names += push_buttons(node.getChildAtIndex(i), depth + 1)
    return names

title, seen = sys.argv[1], []
for app in pyatspi.Registry.getDesktop(0):
    if app is None:
        continue
    seen.append(app.name)
    if app.name != "Quillmere":
        continue
    for window in app:
        if window is not None and window.name == title:
            print(" ".join(sorted(push_buttons(window))))
            sys.exit(0)
    sys.exit(f"Quillmere shows no window \"{title}\" to accessibility")
sys.exit(f"Quillmere is not among the accessible applications ({', '.join(seen) or 'none'})")
PY
shot_screen() { /usr/bin/import -window root -depth 8 "ppm:$work/shot.ppm" 2>/dev/null; }
check="Chinese buttons: 新建 on a changed picture asks with buttons 是 / 否 (read through AT-SPI)"
if ! command -v dbus-daemon >/dev/null || ! command -v dbus-send >/dev/null ||
   ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  fail "$check" "needs dbus-daemon, dbus-send, at-spi2-core and python3-pyatspi (scripts/install-deps.sh test)"
elif ! { read -r bus_address && read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1); then
  fail "$check" "no private D-Bus session (dbus-daemon --session)"
else
  export DBUS_SESSION_BUS_ADDRESS=$bus_address
  a11y=""
  for i in $(seq 1 20); do   # starts the accessibility bus
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
         >"$work/a11y-bus.log" 2>&1; then a11y=1; break; fi
    sleep 0.25
  done
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$bin" >"$work/program-a11y.log" 2>&1 &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n 1)
  if [ -z "$a11y" ]; then
    fail "$check" "the accessibility bus does not start: $(tail -n 2 "$work/a11y-bus.log")"
  elif [ -z "$wid" ]; then
    fail "$check" "the program's window does not appear within 20 s: $(tail -n 3 "$work/program-a11y.log")"
  elif ! { xdotool windowfocus --sync "$wid" 2>/dev/null; wait_screen find-picture; }; then
    fail "$check" "$answer"
  else
    # Something drawn: a rectangle with palette button 7, as above.
    read -r px py <<<"$answer"
    move $(( 3 + (px - 6) * 3 / 10 )) $(( py + 1 + 28 + 14 ))
    xdotool click 1
    drag $((px + 40)) $((py + 30)) $((px + 120)) $((py + 90))
    move $((px + 590)) $((py + 300))
    if ! wait_screen box $((px + 40)) $((py + 30)) $((px + 120)) $((py + 90)); then
      fail "$check" "no rectangle drawn: $answer"
    else
      # 文件 > 新建图像 (the first entry); a key lost while the menu settles is sent again.
      dialog=""
      for i in 1 2 3; do
        xdotool windowfocus --sync "$wid" 2>/dev/null
        xdotool key alt+f
        wait_other || continue
        xdotool key Return
        dialog=$(timeout 5 xdotool search --sync --onlyvisible --name '^是否保存改变$' 2>/dev/null | head -n 1)
        [ -n "$dialog" ] && break
        key_until_alone Escape
      done
      buttons=""
      if [ -n "$dialog" ]; then
        for i in $(seq 1 20); do   # the accessible tree follows the screen within moments
          buttons=$(timeout 10 /usr/bin/python3 "$work/buttons.py" "是否保存改变" 2>&1) && [ "$buttons" = "否 是" ] && break
          sleep 0.25
        done
        shot_screen
      fi
      if [ -z "$dialog" ]; then
        shot_screen
        fail "$check" "no question \"是否保存改变\" within 5 s of 文件 > 新建图像"
      elif [ "$buttons" = "否 是" ]; then
        pass "$check"
        # Answered with the key N (否): the picture is cleared and named a new picture.
        xdotool windowfocus --sync "$dialog" 2>/dev/null
        key_until_alone n
        for i in $(seq 1 50); do
          [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "※Quillmere※～～新建图像" ] && break
          sleep 0.1
        done
        if [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "※Quillmere※～～新建图像" ] &&
           wait_screen colour $((px + 30)) $((py + 20)) 101 81 255 255 255; then
          pass "new-picture question answered 否 (key N): the picture is cleared, the caption says 新建图像"
        else
          fail "new-picture question answered 否 (key N): the picture is cleared" \
            "caption \"$(xdotool getwindowname "$wid" 2>/dev/null)\"${answer:+; $answer}"
        fi
      else
        fail "$check" "the buttons read \"$buttons\""
      fi
    fi
  fi
  # Nothing is left to save now: a close request ends the program.
  if [ -n "$wid" ] && kill -0 "$pid" 2>/dev/null; then
    request_close "$wid"
    for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  kill "$bus_pid" 2>/dev/null
  bus_pid=""
  unset DBUS_SESSION_BUS_ADDRESS
fi
rm -f "$work/shot.ppm"   # the checks below do not look at the screen

# ---- Installation: program, desktop entry, icons, metainfo ----
if [ -f "$build/CMakeCache.txt" ]; then
  if cmake --build "$build" --target quillmere quillmere_picture quillmere_gallery quillmere_icons >"$work/build.log" 2>&1 &&
     cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1; then
    missing=()
    for f in bin/quillmere bin/quillmere_picture bin/quillmere_gallery share/applications/org.quillmere.Quillmere.desktop \
             share/metainfo/org.quillmere.Quillmere.metainfo.xml share/icons/hicolor/scalable/apps/quillmere.svg; do
      [ -s "$work/prefix/$f" ] || missing+=("$f")
    done
    for s in 16 24 32 48 64 128 256; do
      f=share/icons/hicolor/${s}x${s}/apps/quillmere.png
      if [ "$(identify -format '%wx%h' "$work/prefix/$f" 2>/dev/null)" != "${s}x${s}" ]; then missing+=("$f"); fi
    done
    if [ ${#missing[@]} -eq 0 ]; then pass "install: program, picture tool, desktop entry, metainfo, 7 PNG icons and the SVG"
    else fail "install: files missing or wrong" "${missing[*]}"; fi
    desktop=$work/prefix/share/applications/org.quillmere.Quillmere.desktop
    if command -v desktop-file-validate >/dev/null; then
      if out=$(desktop-file-validate "$desktop" 2>&1) && ! grep -q 'error:' <<<"$out"; then
        pass "install: the desktop entry validates (desktop-file-validate)"
      else fail "install: the desktop entry validates" "$out"; fi
    else
      echo "SKIP  install: desktop-file-validate is not installed (package desktop-file-utils)"
    fi
    if command -v appstreamcli >/dev/null; then
      if out=$(appstreamcli validate --no-net "$work/prefix/share/metainfo/org.quillmere.Quillmere.metainfo.xml" 2>&1); then
        pass "install: the metainfo validates (appstreamcli validate)"
      else fail "install: the metainfo validates" "$out"; fi
    else
      echo "SKIP  install: appstreamcli is not installed (package appstream)"
    fi
  else
    fail "install: cmake --install $build" "$(tail -n 5 "$work/build.log" "$work/install.log")"
  fi
  # ---- The Debian package: its runtime dependencies and its files ----
  if command -v dpkg-deb >/dev/null && [ -f "$build/CPackConfig.cmake" ]; then
    if (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1); then
      deb=$(ls "$work"/deb/quillmere_*.deb 2>/dev/null | head -n 1)
      depends=$(dpkg-deb --field "$deb" Depends 2>/dev/null)
      contents=$(dpkg-deb --contents "$deb" 2>/dev/null)
      missing=()
      for p in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 libqt6printsupport6 libjpeg62-turbo libpng16-16 \
               fonts-wqy-microhei fonts-dejavu-core qt6-translations-l10n; do
        grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || missing+=("depends on $p")
      done
      # Every library the program is linked with and every Qt plugin it loaded while running
      # comes from a package the .deb depends on.
      declared() { tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF -- "$1"; }
      owner() {  # the package holding file $1, under either spelling of a merged /usr
        local f p
        for f in "$1" "$(realpath "$1" 2>/dev/null)" "/usr${1#/usr}"; do
          p=$(dpkg-query -S "$f" 2>/dev/null | head -n 1 | cut -d: -f1)
          [ -n "$p" ] && { echo "$p"; return; }
        done
      }
      loaded=$(ldd "$bin" | awk -v needed="$(objdump -p "$bin" | awk '/NEEDED/ {print $2}' | tr '\n' ' ')" \
                 'BEGIN { n = split(needed, a, " "); for (i = 1; i <= n; i++) want[a[i]] = 1 } $2 == "=>" && ($1 in want) { print $3 }')
      [ -s "$work/loaded-maps" ] && loaded+=$'\n'$(grep -o '/[^ ]*/qt6/plugins/[^ ]*\.so' "$work/loaded-maps" | sort -u)
      [ -s "$work/loaded-maps" ] || missing+=("no record of what the running program loaded")
      while read -r lib; do
        [ -n "$lib" ] || continue
        p=$(owner "$lib")
        [ -n "$p" ] && declared "$p" || missing+=("$lib (${p:-no package}) undeclared")
      done <<<"$loaded"
      for f in ./usr/bin/quillmere ./usr/share/applications/org.quillmere.Quillmere.desktop \
               ./usr/share/metainfo/org.quillmere.Quillmere.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/quillmere.png; do
        grep -q " $f\$" <<<"$contents" || missing+=("$f")
      done
      if [ ${#missing[@]} -eq 0 ]; then pass "package: $(basename "$deb") depends on every library and Qt plugin the program loads, the fonts and Qt's translations"
      else fail "package: $(basename "${deb:-none}")" "missing ${missing[*]}"; fi
    else
      fail "package: cpack -G DEB" "$(tail -n 5 "$work/cpack.log")"
    fi
  fi
else
  echo "SKIP  install: no CMake build in $build"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
