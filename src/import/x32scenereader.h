#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QString>
#include <QStringView>

namespace kelvary {

enum class X32SceneError {
    noChannels,
};
QString errorMessage(X32SceneError error);

// Whether the text is a Behringer X32 / Midas M32 scene: its first line starts with the format
// version between hashes, as in `#4.0# "Scene" "" %000000000 1`.
bool isX32Scene(QStringView text);

// The desk of an X32 / M32 scene (.scn), one track per strip whether named or not: 32 channels
// and 8 aux inputs (Input, labelled 1…32 and Aux1…Aux8), 16 buses (Aux, Bus1…), 6 matrices
// (Matrix, Mtx1…), the stereo main (Mains) and the mono/centre main (M/C). A channel's or aux
// input's route is where its source comes from through the desk's input routing.
Result<ParsedSession> readX32Scene(const QString &text, const QString &fileName);

} // namespace kelvary
