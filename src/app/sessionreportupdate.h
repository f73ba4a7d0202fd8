#pragma once

#include "model/trackchannel.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace kelvary {

// One track that a revised report adds, drops, renames or patches to another console input.
struct SessionReportChange {
    QString channelLabel;
    QString before; // the name or input route it had; empty for an added track
    QString after;  // the name or input route it takes; empty for a removed track

    bool operator==(const SessionReportChange &) const = default;
};

// What taking a revised report into the current session gives: the session and how it changed.
struct SessionReportUpdate {
    ParsedSession session;
    QList<QUuid> addedTrackIDs;
    QList<SessionReportChange> added;
    QList<SessionReportChange> removed;
    QList<SessionReportChange> renamed;
    QList<SessionReportChange> rerouted;
    qsizetype keptCount = 0;
    // Lines of the revised report that start with a channel label but were not read as channels.
    QStringList unreadLines;

    // "已更新：新增 a · 删除 r · 改名 n · 改输入 i · 保留 k"
    QString summary() const;
    // One line per change, "新增 9 Acoustic Gtr", "改名 2 Kick Sub → Kick Sub 2", grouped by kind.
    QStringList changeLines() const;
};

// Takes a revised report's channels into the session while keeping the engineer's work. A track
// is the same channel when its type and console label are (a split side: its source label and
// side). Kept tracks keep their id, place, inclusion, colour, assignment and side, and take their
// name, input route, extra info and number from the report; new channels come in after the track
// of the nearest channel before them that was kept, as an import would make them (split when
// `splitStereo` is set); tracks of channels the report no longer has go. The header comes from
// the revised report.
SessionReportUpdate updateSession(const ParsedSession &current, const ParsedSession &revised,
                                  bool splitStereo);

} // namespace kelvary
