#include "routingmatrix/routingmatrixdeviceheader.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/routingmatrixmodel.h"
#include "shell/symbolicon.h"

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QSlider>
#include <QStyleOptionToolButton>
#include <QStylePainter>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// The header column is the widest device name (wrapped as the layout measured it) plus 28: the
// padding on both sides, the gap and the chevron.
constexpr int menuPadding = 8;
constexpr int chevronGap = 4;
constexpr int chevronSize = 8;

} // namespace

RoutingMatrixDeviceMenuButton::RoutingMatrixDeviceMenuButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setCursor(Qt::PointingHandCursor);
}

QRect RoutingMatrixDeviceMenuButton::nameRect(int width) const
{
    // NOTE: the same wrap as deviceMenuWidth measured, so the whole name always finds room.
    const QFontMetrics metrics = fontMetrics();
    const int lines = RoutingMatrixLayout::deviceNameLines;
    return metrics.boundingRect(QRect(0, 0, width, lines * 4 * metrics.height()), Qt::TextWordWrap,
                                text());
}

QSize RoutingMatrixDeviceMenuButton::sizeHint() const
{
    return sizeForWidth(QWIDGETSIZE_MAX);
}

QSize RoutingMatrixDeviceMenuButton::sizeForWidth(int width) const
{
    const QRect name = nameRect(width - chevronGap - chevronSize);
    return {name.width() + chevronGap + chevronSize, name.height() + 8};
}

void RoutingMatrixDeviceMenuButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // Only the hover and press panel comes from the style; its menu arrow is replaced by the
    // chevron beside the name.
    option.text.clear();
    option.icon = QIcon();
    option.features &= ~(QStyleOptionToolButton::HasMenu | QStyleOptionToolButton::MenuButtonPopup);
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const int chevron = chevronSize;
    const QRect content = rect();
    const int nameWidth = nameRect(content.width() - chevronGap - chevron).width();
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(content.left(), content.top(), nameWidth, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
    if (m_chevron.isNull() || m_chevron.devicePixelRatio() != devicePixelRatioF())
        m_chevron = symbolIcon(u"chevron.up.chevron.down"_s, false)
                        .pixmap(QSize(chevron, chevron), devicePixelRatioF(), QIcon::Disabled);
    painter.drawPixmap(content.left() + nameWidth + chevronGap,
                       content.center().y() - chevron / 2 + 1, m_chevron);
}

void RoutingMatrixDeviceMenuButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_chevron = QPixmap();
}

RoutingMatrixDeviceHeader::RoutingMatrixDeviceHeader(SessionViewModel *viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_button(new RoutingMatrixDeviceMenuButton(this))
{
    auto *menu = new QMenu(m_button);
    connect(menu, &QMenu::aboutToShow, this, &RoutingMatrixDeviceHeader::fillMenu);
    m_button->setMenu(menu);
}

QSlider *RoutingMatrixDeviceHeader::addZoomSlider()
{
    if (!m_zoom) {
        m_zoom = new QSlider(Qt::Horizontal, this);
        m_zoom->setRange(RoutingMatrixLayout::minimumCellSize,
                         RoutingMatrixLayout::maximumCellSize);
        m_zoom->setPageStep(4);
        m_zoom->setToolTip(u"单元格大小"_s);
        m_zoom->setFocusPolicy(Qt::NoFocus);
        resizeEvent(nullptr);
    }
    return m_zoom;
}

void RoutingMatrixDeviceHeader::setLabel(const QString &label)
{
    if (m_button->text() == label)
        return;
    m_button->setText(label);
    resizeEvent(nullptr);
}

void RoutingMatrixDeviceHeader::fillMenu()
{
    QMenu *menu = m_button->menu();
    menu->clear();
    for (const AudioInputDevice &device : m_viewModel->audioInputCatalog().devices()) {
        const QString id = device.id;
        menu->addAction(deviceDisplayName(device), this, [this, id] { Q_EMIT deviceChosen(id); });
    }
}

void RoutingMatrixDeviceHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintMatrixBox(painter, rect(), palette().color(QPalette::Base),
                   palette().color(QPalette::WindowText));
}

void RoutingMatrixDeviceHeader::resizeEvent(QResizeEvent *)
{
    // Centred in the cell inside the menu's padding, as wide as the name needs; the zoom lies
    // along the foot of the cell.
    QRect room = rect().adjusted(menuPadding, menuPadding, -menuPadding, -menuPadding);
    if (m_zoom) {
        const int height = m_zoom->sizeHint().height();
        m_zoom->setGeometry(room.left(), room.bottom() + 1 - height, room.width(), height);
        room.setBottom(room.bottom() - height - menuPadding);
    }
    QSize size = m_button->sizeForWidth(room.width()).boundedTo(room.size());
    QRect button(QPoint(), size);
    button.moveCenter(room.center());
    m_button->setGeometry(button);
}

} // namespace kelvary::ui
