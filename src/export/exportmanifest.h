#pragma once

#include "model/trackchannel.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

// What the Pro Tools export script is asked to build: a session in `parentDirectory`.
struct ProToolsExportManifest {
    struct Track {
        QString name;
        bool stereo = false;
        QString comment;
        QString channelLabel;
        QString channelType;
        std::optional<QString> colorHex;

        bool operator==(const Track &) const = default;
    };

    QString sessionName;
    QString parentDirectory;
    qint64 sampleRate = 48000;
    qint64 bitDepth = 24;
    QString consoleName;
    QList<Track> tracks;

    bool operator==(const ProToolsExportManifest &) const = default;

    // The included tracks of `tracks`, in their order.
    static ProToolsExportManifest makeManifest(const TrackList &tracks, const QString &sessionName,
                                               const QString &parentDirectory,
                                               const QString &consoleName);

    QJsonObject toJSON() const;
    // Indented JSON; keys come out in ascending order, which the scripts' readers may rely on.
    QByteArray encoded() const;
};

// What the Logic Pro export script is asked to build: a project saved at `outputPath`.
struct LogicExportManifest {
    struct Track {
        QString name;
        bool stereo = false;
        QString channelLabel;
        QString channelType;
        std::optional<QString> colorHex;

        bool operator==(const Track &) const = default;
    };

    QString sessionName;
    QString outputPath;
    QString consoleName;
    QList<Track> tracks;

    bool operator==(const LogicExportManifest &) const = default;

    static LogicExportManifest makeManifest(const TrackList &tracks, const QString &sessionName,
                                            const QString &outputPath, const QString &consoleName);

    QJsonObject toJSON() const;
    QByteArray encoded() const;
};

// Input tracks are named by their name; the others by label and name ("A1 Reverb").
QString manifestTrackName(const TrackChannel &track);

// The Pro Tools comment: "Kelvary | Digico Input 12 | route=MADI 1 | color=#8CBFF2", leaving
// out the route, extra information and colour when there are none.
QString trackComment(const TrackChannel &track);

// The session name to create: `sessionName`, or the destination's file name without its
// extension when that is empty; slashes, colons and backslashes become hyphens, since each of
// them separates folders somewhere between Kelvary, Python and the workstation. Never empty.
QString sanitizedSessionName(const QString &sessionName, const QString &destinationPath);

} // namespace kelvary
