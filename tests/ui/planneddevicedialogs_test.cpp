#include "devices/planneddevicedialogs.h"

#include "tracklist/trackcellmenus.h"
#include "tracklist/tracklistmodel.h"
#include "tracklisttestsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

using PlannedDeviceDialogsTest = TrackListTest;

TEST_F(PlannedDeviceDialogsTest, AddRefusesBadValuesInPlaceAndOffersTheDeviceMarkedUnattached)
{
    importReport();
    AddPlannedDeviceDialog dialog(&vm);
    dialog.nameEdit()->setText(u"   "_s);
    dialog.show();
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.problemLabel()->text(), u"请输入设备名称。"_s);
    dialog.nameEdit()->setText(u"Three In"_s);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(vm.plannedAudioDevices().size(), 1);

    TrackListModel model(&vm);
    QMenu menu;
    populateAudioDeviceMenu(menu, model, model.index(0, TrackListModel::AudioDeviceColumn));
    EXPECT_EQ(menuTitles(menu), (QStringList{u"未设置"_s, u"-"_s, u"Three In"_s, u"Eight In"_s,
                                             u"Three In（未连接）"_s}));
}

TEST_F(PlannedDeviceDialogsTest, RemovingAPatchedDeviceAsksFirstAndIsOneUndoStep)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 8));
    vm.setAudioInputChannel(u"planned:Rack:2"_s, idOf(u"1"_s));
    QStringList questions;
    bool answer = false;
    PlannedDevicesDialog dialog(&vm, [&](QWidget *, const QString &question) {
        questions << question;
        return answer;
    });
    dialog.list()->setCurrentRow(0);
    QTest::mouseClick(dialog.removeButton(), Qt::LeftButton);
    EXPECT_EQ(questions,
              QStringList{u"有 1 条轨道分配在“Rack”上。移除这台设备会清除这些分配（可撤销）。"_s});
    EXPECT_EQ(vm.plannedAudioDevices().size(), 1);

    answer = true;
    const qsizetype steps = vm.undoSnapshots().size();
    dialog.removeCurrent();
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, std::nullopt);
    EXPECT_EQ(dialog.list()->item(0)->text(), u"没有计划设备"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), steps + 1);
    vm.undo();
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, u"planned:Rack:2"_s);
}

} // namespace
} // namespace kelvary::ui
