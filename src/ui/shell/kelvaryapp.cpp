#include "shell/kelvaryapp.h"

#include "about/aboutcontentview.h"
#include "buildinfo.h"
#include "mainwindow/contentview.h"
#include "shell/dialogfilepanels.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(u"Kelvary"_s);
    QCoreApplication::setApplicationName(u"Kelvary"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARY_VERSION));
    QGuiApplication::setApplicationDisplayName(u"Kelvary"_s);
    // Ties the windows to org.kelvary.Kelvary.desktop, and with it to the icon, on Wayland and in
    // docks.
    QGuiApplication::setDesktopFileName(u"org.kelvary.Kelvary"_s);
    QGuiApplication::setWindowIcon(QIcon(u":/logo.svg"_s));
}

KelvaryApp::KelvaryApp()
{
    setApplicationIdentity();

    // The interface is Chinese; Qt's own dialogs and buttons should be too.
    if (m_qtTranslator.load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);

    // Chinese text in the Simplified Chinese forms of Noto Sans CJK SC, whatever the desktop's
    // font for Latin text is; fontconfig would otherwise pick any CJK face it finds first.
    QFont font = QApplication::font();
    font.setFamilies({font.family(), u"Noto Sans CJK SC"_s});
    QApplication::setFont(font);

    // The desktop's scheme is only readable before our own palette replaces it.
    const ColorScheme systemScheme = colorSchemeOf(QApplication::palette());
    QApplication::setStyle(createApplicationStyle());
    m_appearance = std::make_unique<Appearance>(systemScheme);
    m_appearance->apply();

    m_mainWindow = std::make_unique<ContentView>(AudioInputDeviceEnumerator(),
                                                 std::make_shared<DialogFilePanels>(),
                                                 m_appearance.get(), [this] { showAbout(); });
}

KelvaryApp::~KelvaryApp()
{
    delete m_aboutWindow;
}

void KelvaryApp::showAbout()
{
    if (!m_aboutWindow) {
        // A window of the main one: closing the main window still ends the application.
        m_aboutWindow = new AboutWindow(applicationBundleVersion(), m_mainWindow.get());
        m_aboutWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_aboutWindow->adjustSize();
        const QScreen *screen =
            m_mainWindow ? m_mainWindow->screen() : QGuiApplication::primaryScreen();
        QRect frame = m_aboutWindow->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_aboutWindow->move(frame.topLeft());
    }
    m_aboutWindow->show();
    m_aboutWindow->raise();
    m_aboutWindow->activateWindow();
}

} // namespace kelvary::ui
