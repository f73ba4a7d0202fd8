#include "routingmatrix/routingmatrixdeviceheader.h"

#include "app/sessionviewmodel.h"
#include "routingmatrix/matrixboxpainting.h"
#include "shell/symbolicon.h"

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// The header column is the widest device name plus 28: the padding on both sides, the gap and
// the chevron.
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

QSize RoutingMatrixDeviceMenuButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(text()) + chevronGap + chevronSize, metrics.height() + 8};
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
    const QString name =
        fontMetrics().elidedText(text(), Qt::ElideRight, content.width() - chevronGap - chevron);
    const int nameWidth = fontMetrics().horizontalAdvance(name);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(content.left(), content.top(), nameWidth, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
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
    // Centred in the cell inside the menu's padding, as wide as the name needs.
    const QRect room = rect().adjusted(menuPadding, menuPadding, -menuPadding, -menuPadding);
    QSize size = m_button->sizeHint().boundedTo(room.size());
    QRect button(QPoint(), size);
    button.moveCenter(room.center());
    m_button->setGeometry(button);
}

} // namespace kelvary::ui
