#pragma once

#include "about/aboutcontentview.h"
#include "shell/appearance.h"

#include <QObject>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace kelvary::ui {

class ContentView;

// The application: its names and version, Chinese standard dialogs, the appearance, the main
// window and the one About window. Made once, right after the QApplication.
class KelvaryApp : public QObject {
    Q_OBJECT

public:
    KelvaryApp();
    ~KelvaryApp() override;

    Appearance &appearance() { return *m_appearance; }
    ContentView *mainWindow() const { return m_mainWindow.get(); }
    AboutWindow *aboutWindow() const { return m_aboutWindow; }

    // Opens the About window, or brings the open one forward.
    void showAbout();

private:
    QTranslator m_qtTranslator;
    std::unique_ptr<Appearance> m_appearance;
    std::unique_ptr<ContentView> m_mainWindow;
    QPointer<AboutWindow> m_aboutWindow;
};

// The application's names, version and window icon, set before anything reads them.
void setApplicationIdentity();

} // namespace kelvary::ui
