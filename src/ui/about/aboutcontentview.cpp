#include "about/aboutcontentview.h"

#include "buildinfo.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

BundleVersion applicationBundleVersion()
{
    return {QStringLiteral(KELVARY_VERSION), QStringLiteral(KELVARY_BUILD_NUMBER)};
}

QString aboutVersionText(const BundleVersion &version)
{
    const QString shortVersion =
        version.shortVersion && !version.shortVersion->isEmpty() ? *version.shortVersion : u"—"_s;
    if (version.build && !version.build->isEmpty() && *version.build != shortVersion)
        return u"版本 %1 (%2)"_s.arg(shortVersion, *version.build);
    return u"版本 "_s + shortVersion;
}

AboutContentView::AboutContentView(const BundleVersion &version, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 12, 0, 12);
    layout->setSpacing(14);

    m_logo = new QLabel(this);
    m_logo->setFixedSize(logoSize, logoSize);
    layout->addWidget(m_logo, 0, Qt::AlignHCenter);

    m_version = new QLabel(aboutVersionText(version), this);
    QFont subheadline = m_version->font();
    subheadline.setPointSizeF(subheadline.pointSizeF() * 0.95);
    m_version->setFont(subheadline);
    m_version->setForegroundRole(QPalette::PlaceholderText);
    m_version->setAlignment(Qt::AlignCenter);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_version, 0, Qt::AlignHCenter);

    auto *licence = new QLabel(u"自由软件，按 GNU 通用公共许可证第 3 版或更新的版本"
                               "（GPL-3.0-or-later）发布。"_s,
                               this);
    licence->setFont(subheadline);
    licence->setForegroundRole(QPalette::PlaceholderText);
    licence->setAlignment(Qt::AlignCenter);
    licence->setWordWrap(true);
    layout->addWidget(licence);

    setMaximumWidth(280);
    showLogo();
}

void AboutContentView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Drawn again at the density of the screen the window moved to.
    if (event->type() == QEvent::ScreenChangeInternal)
        showLogo();
}

void AboutContentView::showLogo()
{
    const qreal scale = devicePixelRatio();
    QPixmap logo(QSize(logoSize, logoSize) * scale);
    logo.setDevicePixelRatio(scale);
    logo.fill(Qt::transparent);

    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath corners;
    corners.addRoundedRect(QRectF(0, 0, logoSize, logoSize), logoCornerRadius, logoCornerRadius);
    painter.setClipPath(corners);
    QSvgRenderer(u":/logo.svg"_s).render(&painter, QRectF(0, 0, logoSize, logoSize));
    painter.end();
    m_logo->setPixmap(logo);
}

AboutWindow::AboutWindow(const BundleVersion &version, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_content(new AboutContentView(version, this))
{
    setWindowTitle(u"关于 Kelvary"_s);
    setObjectName(u"about"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 28);
    layout->addWidget(m_content);
    // 320 wide with the insets; the height follows the content and the user cannot resize it.
    m_content->setFixedWidth(frameWidth - 2 * 28);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kelvary::ui
