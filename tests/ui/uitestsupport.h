#pragma once

#include "audio/audioinputdeviceenumerator.h"
#include "mainwindow/contentview.h"
#include "shell/appearance.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/scriptedfilepanels.h"
#include "support/testfiles.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace kelvary::ui {

inline QString fixture(const QString &name)
{
    return QStringLiteral(KELVARY_TEST_DATA "/reports/") + name;
}

// A main window over one fake audio interface and fake panels, following a light desktop, with
// a folder for the files a test writes.
struct MainWindowFixture {
    std::shared_ptr<FakeAudioHardware> hardware = [] {
        auto hardware = std::make_shared<FakeAudioHardware>();
        hardware->devices = QList{FakeAudioHardware::device(QStringLiteral("hw:CARD=UMC,DEV=0"),
                                                            QStringLiteral("UMC1820"), {18})};
        return hardware;
    }();
    std::shared_ptr<ScriptedFilePanels> panels = std::make_shared<ScriptedFilePanels>();
    Appearance appearance{ColorScheme::light};
    ContentView window{AudioInputDeviceEnumerator(hardware), panels, &appearance, [] {}};
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }
};

} // namespace kelvary::ui
