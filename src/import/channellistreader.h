#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QString>

namespace kelvary {

enum class ChannelListError {
    missingColumn,
    unreadableType,
    unreadableColour,
    noChannels,
};
QString errorMessage(ChannelListError error);

// Whether the text is a channel list typed in a spreadsheet: its first non-empty row, separated
// by commas, semicolons or tabs, names at least two of the columns readChannelList knows.
bool isChannelList(const QString &text);

// A channel list saved from a spreadsheet as CSV or TSV (RFC 4180 quoting). The header row names
// the columns, in any order and letter case: label/通道 and name/名称 are required, type/类型
// (Input, Aux, Group, Matrix, Other or 输入, 辅助, 编组, 矩阵, 其他; empty is Input), route/输入
// and colour/color/颜色 (#RRGGBB) are not. Every row with a label is a track, in file order. A type
// or colour that cannot be read refuses the whole list, naming its row as a spreadsheet numbers it.
Result<ParsedSession> readChannelList(const QString &text, const QString &fileName);

} // namespace kelvary
