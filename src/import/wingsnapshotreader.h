#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QString>

namespace kelvary {

enum class WingSnapshotError {
    invalidJson,
    notSnapshot,
    noChannels,
};
QString errorMessage(WingSnapshotError error);

// Whether the bytes hold JSON, which a channel list of any other kind never is: an object, the
// first thing after white space (and a UTF-8 byte order mark), and not rich text.
bool isJsonObjectText(const QByteArray &bytes);

// The strips of a Behringer WING snapshot (.snap, JSON): 40 channels and 8 aux inputs (Input,
// 1…40 and Aux1…Aux8, stereo when their source is), 16 buses (Aux, Bus1…), 4 mains (Other,
// Main1…) and 8 matrices (Matrix, Mtx1…), stereo unless set to mono. JSON that does not parse,
// is not a snapshot or holds no channels is refused, saying which.
Result<ParsedSession> readWingSnapshot(const QByteArray &json, const QString &fileName);

} // namespace kelvary
