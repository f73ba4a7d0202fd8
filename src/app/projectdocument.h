#pragma once

#include "model/audioinputcatalog.h"
#include "model/playbackoutputs.h"
#include "model/result.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

namespace kelvary {

enum class ProjectDocumentError {
    notJson,
    missingKey,
    wrongType,
    invalidID,
    duplicateID,
    outOfRange
};
QString errorMessage(ProjectDocumentError error);

// Everything a .kvp project file holds.
struct ProjectDocumentSnapshot {
    qint64 formatVersion = 1;
    QString app = QStringLiteral("Kelvary");
    QString generatedAt;
    bool splitStereoChannels = false;
    // UUID texts as stored; reading keeps texts that are not UUIDs, the view model skips them.
    QStringList selectedTrackIDs;
    // Its recorder patch goes under the key "recorderPatch", left out when the session has none.
    ParsedSession session;
    // Interfaces the project knows of besides the attached ones; the key is left out when empty,
    // so a project without them reads the same for a Kelvary that does not know the key.
    QList<PlannedAudioDevice> plannedAudioDevices;
    // Virtual soundcheck playback: written only when on, as {"offset": K}; absent means off.
    PlaybackOutputs playbackOutputs;

    bool operator==(const ProjectDocumentSnapshot &) const = default;
};

// "2026-12-05T03:18:37Z": UTC, whole seconds.
QString projectTimestamp(const QDateTime &moment);

// Pretty-printed UTF-8 JSON with the keys of every object sorted.
QByteArray writeProjectDocument(const ProjectDocumentSnapshot &document);

// Strict about the keys that are always written and their types, tolerant of everything else.
// A failure's message names the key and, for a track, its position in the list.
Result<ProjectDocumentSnapshot> readProjectDocument(const QByteArray &data);

} // namespace kelvary
