#pragma once

#include "app/filepanels.h"
#include "audio/audioinputdeviceenumerator.h"
#include "mainwindow/contentview.h"
#include "shell/appearance.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kelvary::ui {

// File panels that write down what they were asked and answer what the test set.
class FakeFilePanels final : public FilePanels {
public:
    QList<OpenPanelRequest> openRequests;
    QList<SavePanelRequest> saveRequests;
    std::optional<QString> openAnswer;
    std::optional<QString> saveAnswer;

    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &request) override
    {
        openRequests.append(request);
        return openAnswer;
    }
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &request) override
    {
        saveRequests.append(request);
        return saveAnswer;
    }
};

inline QString fixture(const QString &name)
{
    return QStringLiteral(KELVARY_TEST_DATA "/reports/") + name;
}

// A main window over one fake audio interface and fake panels, following a light desktop.
struct MainWindowFixture {
    std::shared_ptr<FakeAudioHardware> hardware = [] {
        auto hardware = std::make_shared<FakeAudioHardware>();
        hardware->devices = QList{FakeAudioHardware::device(QStringLiteral("hw:CARD=UMC,DEV=0"),
                                                            QStringLiteral("UMC1820"), {18})};
        return hardware;
    }();
    std::shared_ptr<FakeFilePanels> panels = std::make_shared<FakeFilePanels>();
    Appearance appearance{ColorScheme::light};
    ContentView window{AudioInputDeviceEnumerator(hardware), panels, &appearance, [] {}};
};

} // namespace kelvary::ui
