#pragma once

#include <QPixmap>
#include <QToolButton>
#include <QWidget>

class QSlider;

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// The borderless pull-down of the header cell: the device's whole name, wrapped when long, and an
// up-down chevron.
class RoutingMatrixDeviceMenuButton final : public QToolButton {
    Q_OBJECT

public:
    explicit RoutingMatrixDeviceMenuButton(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    // The size with the name wrapped to fit `width`.
    QSize sizeForWidth(int width) const;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Where the wrapped name falls in a box `width` wide.
    QRect nameRect(int width) const;

    // The chevron drawn once per palette: its drawing is parsed anew on every paint otherwise.
    QPixmap m_chevron;
};

// The top-left cell of the matrix: the device menu on the header fill. Its items are the
// catalogue's devices at the moment it opens.
class RoutingMatrixDeviceHeader final : public QWidget {
    Q_OBJECT

public:
    explicit RoutingMatrixDeviceHeader(SessionViewModel *viewModel, QWidget *parent = nullptr);

    void setLabel(const QString &label);
    RoutingMatrixDeviceMenuButton *menuButton() const { return m_button; }
    // The cell-size slider at the foot of the cell, made on first call; none until then.
    QSlider *addZoomSlider();
    QSlider *zoomSlider() const { return m_zoom; }

Q_SIGNALS:
    void deviceChosen(const QString &deviceUID);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillMenu();

    SessionViewModel *m_viewModel;
    RoutingMatrixDeviceMenuButton *m_button;
    QSlider *m_zoom = nullptr;
};

} // namespace kelvary::ui
