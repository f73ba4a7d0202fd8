#pragma once

#include "model/trackchannel.h"
#include "tracklist/colorwell.h"

#include <QWidget>

class QMenu;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// How much of a channel type goes into the export.
enum class TypeInclusion { none, partial, all };

TypeInclusion typeInclusion(qsizetype count, qsizetype included);

// The commands of a type row's context menu, each one view-model operation on the whole type.
void populateTypeMenu(QMenu &menu, SessionViewModel &viewModel, DigicoChannelType type);

// One channel type in the type bar: its colour well, its name and how many of its tracks are
// included. A click on the row includes or excludes the whole type. Everything it shows is read
// from the view model when painted.
class ChannelTypeRow final : public QWidget {
    Q_OBJECT

public:
    ChannelTypeRow(SessionViewModel *viewModel, DigicoChannelType type, bool compact,
                   QWidget *parent = nullptr);

    DigicoChannelType type() const { return m_type; }
    void setColorPicker(ColorPicker picker) { m_colorPicker = std::move(picker); }

    TypeInclusion inclusion() const;
    // "无通道", or included/count such as 3/12.
    QString countText() const;
    QString rowToolTip() const;
    QString colorWellToolTip() const;
    // Where the colour well sits; a click there recolours, anywhere else toggles.
    QRect colorWellRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Called whenever the session changes.
    void refresh();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Where the left button went down: nowhere yet, on the colour well, or on the rest of the row.
    enum class Press { none, colorWell, row };

    struct Metrics {
        int insetX;
        int insetY;
        int wellWidth;
        int wellHeight;
        int labelMinimumWidth;
        qreal radius;
    };

    const Metrics &metrics() const;
    QFont nameFont() const;
    QFont countFont() const;
    qsizetype trackCount() const;
    void toggle();
    void pickColor();

    SessionViewModel *m_viewModel;
    DigicoChannelType m_type;
    bool m_compact;
    ColorPicker m_colorPicker = colorDialogPicker();
    Press m_press = Press::none;
};

} // namespace kelvary::ui
