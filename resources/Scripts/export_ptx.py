#!/usr/bin/python3
"""Creates a Pro Tools session from a Kelvary export manifest.

Usage: export_ptx.py --manifest PATH

Pro Tools must be running: the session is made through its scripting interface (PTSL) with the
py-ptsl package. Whatever happens, the answer is one JSON object on standard output:
{"ptxPath": ..., "sessionFolder": ...} with exit status 0, or {"error": CODE, "message": ...}
with exit status 1. Codes: BAD_ARGUMENTS, BAD_MANIFEST, PYPTSL_MISSING, PTSL_FAILED,
SESSION_EXISTS, CREATE_FAILED, TRACKS_FAILED, SAVE_FAILED, UNEXPECTED.
"""

import os
import sys

# The shared module sits beside this script; an installed copy must not try to write its cache.
sys.dont_write_bytecode = True
from kelvary_export import ExportFailure, is_integer, is_text, require, run  # noqa: E402
from kelvary_export import read_manifest as read_common_manifest  # noqa: E402

# Pro Tools' own enumerations take these values; py-ptsl's session builder maps them.
SAMPLE_RATES = (44100, 48000, 88200, 96000, 176400, 192000)
BIT_DEPTHS = (16, 24, 32)


def read_manifest(path):
    manifest = read_common_manifest(path, ("name", "comment", "channelLabel"))
    name = manifest["sessionName"]
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
    run(os.path.basename(__file__), lambda path: create_session(read_manifest(path)))


if __name__ == "__main__":
    main()
