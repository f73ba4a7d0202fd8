#include "mainwindow/sessionreportdropmodifier.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace kelvary::ui {

namespace {

QList<QUrl> localFiles(const QMimeData *mimeData)
{
    QList<QUrl> files;
    if (!mimeData || !mimeData->hasUrls())
        return files;
    for (const QUrl &url : mimeData->urls()) {
        if (url.isLocalFile())
            files.append(url);
    }
    return files;
}

} // namespace

DropOverlay::DropOverlay(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void DropOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = palette().color(QPalette::Highlight);
    const QRectF frame = QRectF(rect()).adjusted(4, 4, -4, -4);

    QColor fill = accent;
    fill.setAlphaF(0.06f);
    QPainterPath shape;
    shape.addRoundedRect(frame, 8, 8);
    painter.fillPath(shape, fill);

    // The border lies inside the frame's edge: inset by half the line width.
    QPen pen(accent, 2);
    pen.setDashPattern({8.0 / 2, 6.0 / 2}); // dash lengths are in units of the line width
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 7, 7);
}

SessionReportDropModifier::SessionReportDropModifier(QWidget *target)
    : QObject(target)
    , m_target(target)
    , m_overlay(new DropOverlay(target))
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

void SessionReportDropModifier::setDropTargeted(bool targeted)
{
    m_isDropTargeted = targeted;
    if (targeted) {
        m_overlay->setGeometry(m_target->rect());
        m_overlay->raise();
    }
    m_overlay->setVisible(targeted);
}

bool SessionReportDropModifier::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_target)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        setDropTargeted(true);
        return true;
    }
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!m_isDropTargeted)
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::DragLeave:
        setDropTargeted(false);
        return false;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        setDropTargeted(false);
        const QList<QUrl> files = localFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        Q_EMIT fileDropped(files.constFirst().toLocalFile());
        return true;
    }
    case QEvent::Resize:
        m_overlay->setGeometry(m_target->rect());
        return false;
    default:
        return false;
    }
}

} // namespace kelvary::ui
