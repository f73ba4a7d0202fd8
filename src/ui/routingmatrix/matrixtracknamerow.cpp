#include "routingmatrix/matrixtracknamerow.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/routingmatrixmodel.h"
#include "tracklist/colorwell.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace kelvary::ui {

namespace {

constexpr int textMargin = 6;

} // namespace

MatrixTrackNameRow::MatrixTrackNameRow(SessionViewModel *viewModel, QWidget *parent)
    : QLineEdit(parent)
    , m_viewModel(viewModel)
{
    setFrame(false);
    setTextMargins(textMargin, 0, textMargin, 0);
    setFont(RoutingMatrixFonts::standard().label);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, matrixTextColor(toQColor(m_paintedColor)));
    setPalette(colors);
    // Only what the user types renames: a name written back from the view model is not an edit.
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString &name) { m_viewModel->renameTrack(name, m_trackID); });
    connect(this, &QLineEdit::textChanged, this, &MatrixTrackNameRow::updateToolTip);
}

QRect MatrixTrackNameRow::textRoom() const
{
    // The text margins and the line edit's own two pixels on either side.
    return rect().adjusted(textMargin + 2, 0, -(textMargin + 2), 0);
}

bool MatrixTrackNameRow::isElided() const
{
    return fontMetrics().horizontalAdvance(text()) > textRoom().width();
}

void MatrixTrackNameRow::updateToolTip()
{
    setToolTip(isElided() ? text() : QString());
}

void MatrixTrackNameRow::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    updateToolTip();
}

void MatrixTrackNameRow::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateToolTip();
}

void MatrixTrackNameRow::setTrack(const TrackChannel &track)
{
    const bool sameTrack = track.id == m_trackID;
    m_trackID = track.id;
    if (!sameTrack || text() != track.name) {
        // NOTE: while the user types, the view model already holds the typed text, so the
        // cursor is only moved when the name changed elsewhere (undo, another row's edit).
        setText(track.name);
        if (!hasFocus())
            setCursorPosition(0);
    }
    // Painted from the view model; the colour is remembered only to know when to repaint.
    if (track.color != m_paintedColor) {
        m_paintedColor = track.color;
        QPalette colors = palette();
        colors.setColor(QPalette::Text, matrixTextColor(toQColor(track.color)));
        setPalette(colors);
        update();
    }
}

const TrackChannel *MatrixTrackNameRow::currentTrack() const
{
    const TrackList &tracks = m_viewModel->tracks();
    const auto found =
        std::find_if(tracks.cbegin(), tracks.cend(),
                     [this](const TrackChannel &track) { return track.id == m_trackID; });
    return found == tracks.cend() ? nullptr : &*found;
}

void MatrixTrackNameRow::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        const TrackChannel *track = currentTrack();
        const RGBColor color = track ? track->color : defaultColor(DigicoChannelType::input);
        paintMatrixBox(painter, rect(), toQColor(color), palette().color(QPalette::WindowText));
        // A name longer than the column is elided until the user edits it; the line edit would
        // cut it off mid-letter.
        if (!hasFocus() && isElided()) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(textRoom(), Qt::AlignLeft | Qt::AlignVCenter,
                             fontMetrics().elidedText(text(), Qt::ElideRight, textRoom().width()));
            return;
        }
    }
    QLineEdit::paintEvent(event);
}

} // namespace kelvary::ui
