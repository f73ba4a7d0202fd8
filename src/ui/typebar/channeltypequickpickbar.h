#pragma once

#include "model/trackchannel.h"
#include "tracklist/colorwell.h"

#include <QList>
#include <QWidget>

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

class ChannelTypeRow;

// One row per channel type, to include, exclude or recolour a whole type at once. The sidebar
// shows it as a column; the horizontal axis gives a compact strip of the same rows.
class ChannelTypeQuickPickBar final : public QWidget {
    Q_OBJECT

public:
    ChannelTypeQuickPickBar(SessionViewModel *viewModel, Qt::Orientation axis, bool showsCaption,
                            QWidget *parent = nullptr);

    Qt::Orientation axis() const { return m_axis; }
    bool showsCaption() const { return m_showsCaption; }
    ChannelTypeRow *row(DigicoChannelType type) const;
    void setColorPicker(const ColorPicker &picker);

private:
    void refresh();

    SessionViewModel *m_viewModel;
    Qt::Orientation m_axis;
    bool m_showsCaption;
    QList<ChannelTypeRow *> m_rows;
};

} // namespace kelvary::ui
