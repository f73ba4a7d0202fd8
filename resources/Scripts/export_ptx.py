#!/usr/bin/python3
"""Creates a Pro Tools session from a Kelvary export manifest.

Usage: export_ptx.py --manifest PATH

Pro Tools must be running: the session is made through its scripting interface (PTSL) with the
py-ptsl package. Whatever happens, the answer is one JSON object on standard output:
{"ptxPath": ..., "sessionFolder": ...} with exit status 0, or {"error": CODE, "message": ...}
with exit status 1. Codes: BAD_ARGUMENTS, BAD_MANIFEST, PYPTSL_MISSING, PTSL_FAILED,
SESSION_EXISTS, CREATE_FAILED, TRACKS_FAILED, SAVE_FAILED, UNEXPECTED.
"""

import json
import os
import sys

# Pro Tools' own enumerations take these values; py-ptsl's session builder maps them.
SAMPLE_RATES = (44100, 48000, 88200, 96000, 176400, 192000)
BIT_DEPTHS = (16, 24, 32)
CHANNEL_TYPES = ("Input", "Aux", "Group", "Matrix", "Other")


class ExportFailure(Exception):
    def __init__(self, code, message):
        super().__init__(message)
        self.code = code
        self.message = message


def answer(stream, payload, status):
    stream.write(json.dumps(payload, ensure_ascii=False).encode("utf-8") + b"\n")
    stream.flush()
    sys.exit(status)


def manifest_path_from(arguments):
    if len(arguments) != 2 or arguments[0] != "--manifest" or not arguments[1]:
        raise ExportFailure("BAD_ARGUMENTS", "usage: export_ptx.py --manifest PATH")
    return arguments[1]


def require(condition, message):
    if not condition:
        raise ExportFailure("BAD_MANIFEST", message)


def is_text(value):
    return isinstance(value, str)


def is_integer(value):
    return isinstance(value, int) and not isinstance(value, bool)


def read_manifest(path):
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
    # The name becomes a folder inside parentDirectory; it must not lead anywhere else.
    require(name not in (".", "..") and not any(c in name for c in "/\\:\0"),
            "sessionName must not contain / \\ : or be . or ..")
    parent = manifest.get("parentDirectory")
    require(is_text(parent) and os.path.isabs(parent), "parentDirectory must be an absolute path")
    require(os.path.isdir(parent), "the folder %s does not exist" % parent)
    require(manifest.get("sampleRate") in SAMPLE_RATES and is_integer(manifest.get("sampleRate")),
            "sampleRate must be one of %s" % ", ".join(map(str, SAMPLE_RATES)))
    require(manifest.get("bitDepth") in BIT_DEPTHS and is_integer(manifest.get("bitDepth")),
            "bitDepth must be 16, 24 or 32")
    require(is_text(manifest.get("consoleName")), "consoleName must be a text")
    tracks = manifest.get("tracks")
    require(isinstance(tracks, list) and tracks, "tracks must be a non-empty list")
    for number, track in enumerate(tracks, start=1):
        where = "track %d" % number
        require(isinstance(track, dict), where + " is not an object")
        require(is_text(track.get("name")), where + ": name must be a text")
        require(isinstance(track.get("stereo"), bool), where + ": stereo must be true or false")
        require(is_text(track.get("comment")), where + ": comment must be a text")
        require(is_text(track.get("channelLabel")), where + ": channelLabel must be a text")
        require(track.get("channelType") in CHANNEL_TYPES, where + ": unknown channelType")
        require("colorHex" not in track or is_text(track["colorHex"]),
                where + ": colorHex must be a text")
    return manifest


def import_ptsl():
    try:
        import ptsl
        from ptsl import PTSL_pb2
    except ImportError as error:
        raise ExportFailure("PYPTSL_MISSING", "py-ptsl cannot be imported: %s" % error)
    return ptsl, PTSL_pb2


def track_name(track, number):
    # Pro Tools refuses an empty track name; fall back to the console label.
    name = track["name"].strip() or track["channelLabel"].strip()
    return name or "Track %d" % number


def create_session(manifest):
    ptsl, pt = import_ptsl()
    name = manifest["sessionName"]
    parent = manifest["parentDirectory"]
    session_folder = os.path.join(parent, name)
    ptx_path = os.path.join(session_folder, name + ".ptx")
    # Pro Tools would offer to replace an existing session; the user's recordings come first.
    if os.path.lexists(session_folder):
        raise ExportFailure("SESSION_EXISTS",
                            "%s already exists; choose another name or folder." % session_folder)

    try:
        engine = ptsl.Engine(company_name="Kelvary", application_name="Kelvary")
        engine.host_ready_check()
    except Exception as error:  # grpc and py-ptsl raise their own types for a missing host
        raise ExportFailure("PTSL_FAILED", str(error) or type(error).__name__)

    try:
        try:
            builder = engine.create_session(name=name, path=parent)
            builder.sample_rate(manifest["sampleRate"])
            builder.bit_depth(manifest["bitDepth"])
            builder.wave_format()
            builder.create()
        except Exception as error:
            raise ExportFailure("CREATE_FAILED", "Pro Tools did not create the session: %s"
                                % (str(error) or type(error).__name__))

        # NOTE: the commands py-ptsl offers create, name and size tracks but cannot set a track's
        # comment or an RGB colour, so the manifest's comment and colorHex are not applied yet.
        created = 0
        try:
            for number, track in enumerate(manifest["tracks"], start=1):
                engine.create_new_tracks(
                    number_of_tracks=1,
                    track_name=track_name(track, number),
                    track_format=pt.TF_Stereo if track["stereo"] else pt.TF_Mono,
                    track_type=pt.TT_Audio,
                    track_timebase=pt.TTB_Samples)
                created += 1
        except Exception as error:
            raise ExportFailure("TRACKS_FAILED", "Pro Tools stopped after %d of %d tracks: %s"
                                % (created, len(manifest["tracks"]),
                                   str(error) or type(error).__name__))

        try:
            engine.save_session()
        except Exception as error:
            raise ExportFailure("SAVE_FAILED", "Pro Tools did not save the session: %s"
                                % (str(error) or type(error).__name__))
    finally:
        try:
            engine.close()
        except Exception:
            pass

    if not os.path.exists(ptx_path):
        raise ExportFailure("SAVE_FAILED", "Pro Tools reported success but %s is missing."
                            % ptx_path)
    return {"ptxPath": ptx_path, "sessionFolder": session_folder}


def main():
    # py-ptsl and grpc may print; only the answer belongs on standard output.
    out = sys.stdout.buffer
    sys.stdout = sys.stderr
    try:
        manifest = read_manifest(manifest_path_from(sys.argv[1:]))
        answer(out, create_session(manifest), 0)
    except ExportFailure as failure:
        answer(out, {"error": failure.code, "message": failure.message}, 1)
    except Exception as error:
        answer(out, {"error": "UNEXPECTED", "message": "%s: %s" % (type(error).__name__, error)},
               1)


if __name__ == "__main__":
    main()
