"""What Kelvary's export scripts share: reading the manifest and answering with one JSON object.

Every script answers on standard output with exactly one JSON object, {"error": CODE,
"message": ...} and exit status 1 on failure; whatever libraries print goes to standard error.
"""

import json
import sys

CHANNEL_TYPES = ("Input", "Aux", "Group", "Matrix", "Other")


class ExportFailure(Exception):
    def __init__(self, code, message):
        super().__init__(message)
        self.code = code
        self.message = message


def require(condition, message):
    if not condition:
        raise ExportFailure("BAD_MANIFEST", message)


def is_text(value):
    return isinstance(value, str)


def is_integer(value):
    return isinstance(value, int) and not isinstance(value, bool)


def _answer(stream, payload, status):
    stream.write(json.dumps(payload, ensure_ascii=False).encode("utf-8") + b"\n")
    stream.flush()
    sys.exit(status)


def _manifest_path(script, arguments):
    if len(arguments) != 2 or arguments[0] != "--manifest" or not arguments[1]:
        raise ExportFailure("BAD_ARGUMENTS", "usage: %s --manifest PATH" % script)
    return arguments[1]


def read_manifest(path, track_text_keys):
    """The manifest as a dict, with the keys every export needs checked."""
    try:
        with open(path, "rb") as file:
            manifest = json.loads(file.read().decode("utf-8"))
    except OSError as error:
        raise ExportFailure("BAD_MANIFEST", "cannot read the manifest: %s" % error.strerror)
    except (UnicodeDecodeError, ValueError) as error:
        raise ExportFailure("BAD_MANIFEST", "the manifest is not UTF-8 JSON: %s" % error)

    require(isinstance(manifest, dict), "the manifest is not a JSON object")
    name = manifest.get("sessionName")
    require(is_text(name) and name.strip(), "sessionName must be a non-empty text")
    require(is_text(manifest.get("consoleName")), "consoleName must be a text")
    tracks = manifest.get("tracks")
    require(isinstance(tracks, list) and tracks, "tracks must be a non-empty list")
    for number, track in enumerate(tracks, start=1):
        where = "track %d" % number
        require(isinstance(track, dict), where + " is not an object")
        for key in track_text_keys:
            require(is_text(track.get(key)), "%s: %s must be a text" % (where, key))
        require(isinstance(track.get("stereo"), bool), where + ": stereo must be true or false")
        require(track.get("channelType") in CHANNEL_TYPES, where + ": unknown channelType")
        require("colorHex" not in track or is_text(track["colorHex"]),
                where + ": colorHex must be a text")
    return manifest


def run(script, export):
    """Reads the manifest named on the command line, calls export(path) and answers."""
    # Libraries may print; only the answer belongs on standard output.
    out = sys.stdout.buffer
    sys.stdout = sys.stderr
    try:
        answer = export(_manifest_path(script, sys.argv[1:]))
        _answer(out, answer, 0)
    except ExportFailure as failure:
        _answer(out, {"error": failure.code, "message": failure.message}, 1)
    except Exception as error:
        _answer(out, {"error": "UNEXPECTED", "message": "%s: %s" % (type(error).__name__, error)},
                1)
