#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kelvary::ui {

// The dashed frame shown over the window while a file is dragged over it.
class DropOverlay : public QWidget {
    Q_OBJECT

public:
    explicit DropOverlay(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Takes the first file dropped on a widget, a report or a project alike, and hands it on; the view
// model decides by the extension and reports any other file. While a file hovers, an overlay
// covers the widget.
class SessionReportDropModifier : public QObject {
    Q_OBJECT

public:
    explicit SessionReportDropModifier(QWidget *target);

    bool isDropTargeted() const { return m_isDropTargeted; }
    DropOverlay *overlay() const { return m_overlay; }

Q_SIGNALS:
    void fileDropped(const QString &location);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setDropTargeted(bool targeted);

    QWidget *m_target;
    DropOverlay *m_overlay;
    bool m_isDropTargeted = false;
};

} // namespace kelvary::ui
