#pragma once

#include <QPixmap>
#include <QToolButton>
#include <QWidget>

namespace kelvary {
class SessionViewModel;
}

namespace kelvary::ui {

// The borderless pull-down of the header cell: the device's name and an up-down chevron.
class RoutingMatrixDeviceMenuButton final : public QToolButton {
    Q_OBJECT

public:
    explicit RoutingMatrixDeviceMenuButton(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
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

Q_SIGNALS:
    void deviceChosen(const QString &deviceUID);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillMenu();

    SessionViewModel *m_viewModel;
    RoutingMatrixDeviceMenuButton *m_button;
};

} // namespace kelvary::ui
