#!/usr/bin/python3
"""Creates a Logic Pro project from a Kelvary export manifest.

Usage: export_logicx.py --manifest PATH

Logic Pro has no scripting dictionary for tracks, so the project is made by driving its menus
and keyboard commands through AppleScript (osascript and System Events, which needs the
Accessibility permission). The answer is one JSON object on standard output:
{"logicxPath": ..., "trackCount": ..., "logicApp": ...} with exit status 0, or
{"error": CODE, "message": ...} with exit status 1. Codes: BAD_ARGUMENTS, BAD_MANIFEST,
LOGIC_MISSING, LOGIC_NOT_READY, APPLESCRIPT_FAILED, SAVE_FAILED, PROJECT_EXISTS, UNEXPECTED.
"""

import os
import subprocess
import sys

# The shared module sits beside this script; an installed copy must not try to write its cache.
sys.dont_write_bytecode = True
from kelvary_export import ExportFailure, is_text, require, run  # noqa: E402
from kelvary_export import read_manifest as read_common_manifest  # noqa: E402

LOGIC_BUNDLE_IDS = ("com.apple.logic10", "com.apple.logic.pro.cs")
LOGIC_APP_PATHS = ("/Applications/Logic Pro.app", "/Applications/Logic Pro X.app")

# Runs inside Logic Pro through System Events. Every value arrives as an argument, never as
# part of the script text, so a track name cannot change what the script does.
# argv: output folder, project file name, then name and "stereo"/"mono" for each track.
APPLESCRIPT = r'''
on typeText(theText)
    -- keystroke cannot type every character (Chinese names); pasting can.
    set the clipboard to theText
    tell application "System Events" to keystroke "v" using {command down}
    delay 0.2
end typeText

on run argv
    set outputFolder to item 1 of argv
    set projectName to item 2 of argv
    set trackCount to ((count of argv) - 2) div 2
    set savedClipboard to missing value
    try
        set savedClipboard to the clipboard
    end try
    tell application id "com.apple.logic10" to activate
    delay 1
    tell application "System Events"
        set logicProcess to first process whose bundle identifier is "com.apple.logic10"
        tell logicProcess
            set frontmost to true
            -- File > New: an empty project, which opens with one audio track.
            keystroke "n" using {shift down, command down}
            delay 3
            repeat with trackIndex from 1 to trackCount
                set trackName to item (2 + trackIndex * 2 - 1) of argv
                set trackWidth to item (2 + trackIndex * 2) of argv
                if trackIndex > 1 then
                    -- Track > New Audio Track
                    keystroke "a" using {option down, command down}
                    delay 0.5
                end if
                -- Track > Name Track, then replace the name
                keystroke return using {shift down}
                delay 0.2
                keystroke "a" using {command down}
                my typeText(trackName)
                keystroke return
                delay 0.2
                if trackWidth is "stereo" then
                    -- Input format has no key command and its menu differs between versions.
                    try
                        click menu item "Stereo" of menu 1 of menu item "Input Format" of menu 1 of menu bar item "Track" of menu bar 1
                    end try
                end if
            end repeat
            -- File > Save As, name the project, then Go to Folder for its location.
            keystroke "s" using {shift down, command down}
            delay 1.5
            keystroke "a" using {command down}
            my typeText(projectName)
            keystroke "g" using {shift down, command down}
            delay 0.5
            my typeText(outputFolder)
            keystroke return
            delay 0.5
            keystroke return
            delay 3
        end tell
    end tell
    if savedClipboard is not missing value then set the clipboard to savedClipboard
    return trackCount
end run
'''


def read_manifest(path):
    manifest = read_common_manifest(path, ("name", "channelLabel"))
    output = manifest.get("outputPath")
    require(is_text(output) and os.path.isabs(output), "outputPath must be an absolute path")
    require(output.lower().endswith(".logicx"), "outputPath must end in .logicx")
    require(os.path.isdir(os.path.dirname(output)),
            "the folder %s does not exist" % os.path.dirname(output))
    return manifest


def find_logic():
    if sys.platform != "darwin":
        raise ExportFailure("LOGIC_MISSING", "Logic Pro runs only on macOS.")
    for path in LOGIC_APP_PATHS:
        if os.path.isdir(path):
            return path
    for bundle_id in LOGIC_BUNDLE_IDS:
        try:
            found = subprocess.run(
                ["/usr/bin/mdfind", "kMDItemCFBundleIdentifier == '%s'" % bundle_id],
                capture_output=True, text=True, timeout=10).stdout.split("\n")
        except (OSError, subprocess.SubprocessError):
            found = []
        for path in found:
            if path.endswith(".app") and os.path.isdir(path):
                return path
    raise ExportFailure("LOGIC_MISSING", "Logic Pro is not installed.")


def track_name(track, number):
    name = track["name"].strip() or track["channelLabel"].strip()
    return name or "Track %d" % number


def create_project(manifest):
    # NOTE: Logic's key commands reach names and widths only; the manifest's colorHex would need
    # the colour palette window and is not applied yet.
    logic_app = find_logic()
    output = manifest["outputPath"]
    # Logic would ask whether to replace an existing project; never overwrite the user's work.
    if os.path.lexists(output):
        raise ExportFailure("PROJECT_EXISTS", "%s already exists." % output)
    if not os.path.exists("/usr/bin/osascript"):
        raise ExportFailure("LOGIC_NOT_READY", "osascript is not available.")

    arguments = [os.path.dirname(output), os.path.basename(output)[:-len(".logicx")]]
    for number, track in enumerate(manifest["tracks"], start=1):
        arguments += [track_name(track, number), "stereo" if track["stereo"] else "mono"]
    try:
        result = subprocess.run(["/usr/bin/osascript", "-", *arguments], input=APPLESCRIPT,
                                capture_output=True, text=True, timeout=600)
    except subprocess.TimeoutExpired:
        raise ExportFailure("APPLESCRIPT_FAILED", "Logic Pro did not finish within 10 minutes.")
    except OSError as error:
        raise ExportFailure("APPLESCRIPT_FAILED", str(error))
    if result.returncode != 0:
        raise ExportFailure("APPLESCRIPT_FAILED",
                            result.stderr.strip() or "osascript exited with %d" % result.returncode)
    if not os.path.exists(output):
        raise ExportFailure("SAVE_FAILED", "Logic Pro did not save %s." % output)
    return {"logicxPath": output, "trackCount": len(manifest["tracks"]), "logicApp": logic_app}


def main():
    run(os.path.basename(__file__), lambda path: create_project(read_manifest(path)))


if __name__ == "__main__":
    main()
