#include "devices/consoleroutingdialog.h"
#include "devices/planneddevicedialogs.h"

#include "tracklist/trackcellmenus.h"
#include "tracklist/tracklistmodel.h"
#include "tracklisttestsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

using PlannedDeviceDialogsTest = TrackListTest;

TEST_F(PlannedDeviceDialogsTest, AddRefusesBadValuesInPlaceAndOffersTheDeviceMarkedUnattached)
{
    importReport();
    PlannedDeviceDialog dialog(&vm);
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
    // The row patched to it says so too, not only the menu.
    vm.assignAudioInputDevice(vm.plannedAudioDevices().constFirst().id, idOf(u"1"_s));
    EXPECT_EQ(model.index(model.rowOf(idOf(u"1"_s)), TrackListModel::AudioDeviceColumn).data(),
              u"Three In（未连接）"_s);
}

TEST_F(PlannedDeviceDialogsTest, RemovingAPatchedDeviceAsksFirstAndIsOneUndoStep)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 8));
    vm.setAudioInputChannel(u"planned:Rack:2"_s, idOf(u"1"_s));
    QStringList questions;
    bool answer = false;
    PlannedDevicesDialog dialog(&vm, [&](QWidget *, const Confirmation &confirmation) {
        questions << confirmation.question;
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

// Kick on input 3 and Snare on 4 of a four-input rack cut to two.
TEST_F(PlannedDeviceDialogsTest, EditingOpensTheFormFilledAndAsksBeforeTracksLoseTheirInput)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 4));
    vm.setAudioInputChannel(u"planned:Rack:2"_s, idOf(u"1"_s));
    vm.setAudioInputChannel(u"planned:Rack:3"_s, idOf(u"2"_s));
    QList<Confirmation> asked;
    bool answer = false;
    PlannedDevicesDialog dialog(&vm, [&](QWidget *, const Confirmation &confirmation) {
        asked << confirmation;
        return answer;
    });
    dialog.show();
    const QPoint row = dialog.list()->visualItemRect(dialog.list()->item(0)).center();
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, row);
    auto *form = dialog.findChild<PlannedDeviceDialog *>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->nameEdit()->text(), u"Rack"_s);
    EXPECT_EQ(form->inputCountBox()->value(), 4);

    const qsizetype steps = vm.undoSnapshots().size();
    form->inputCountBox()->setValue(2);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].question,
              u"缩减到 2 路输入后，2 条轨道将失去输入：Kick、Snare。是否继续？"_s);
    EXPECT_EQ(asked[0].action, u"缩减"_s);
    EXPECT_EQ(vm.plannedAudioDevices().first().inputChannelCount, 4);

    answer = true;
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    EXPECT_EQ(vm.plannedAudioDevices().first().inputChannelCount, 2);
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, std::nullopt);
    EXPECT_EQ(vm.undoSnapshots().size(), steps + 1);
}

// A WING whose USB recorder carries Keys on 1–2 and whose card carries Vox on 12.
TEST_F(PlannedDeviceDialogsTest, ConsoleRoutingOffersTheRecorderNamedInterfaceFirst)
{
    vm.importSessionReportAt(writeFile(u"show.snap"_s, R"({"type": "snapshot.4", "ae_data": {
        "io": {"in": {"LCL": {"1": {"mode": "ST"}}},
               "out": {"USB": {"1": {"grp": "LCL", "in": 1}, "2": {"grp": "LCL", "in": 2}},
                       "CRD": {"12": {"grp": "LCL", "in": 5}}}},
        "ch": {"1": {"name": "Keys", "in": {"conn": {"grp": "LCL", "in": 1}}},
               "2": {"name": "Vox", "in": {"conn": {"grp": "LCL", "in": 5}}}}}})"));
    const auto items = [](const QComboBox *box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << (i == box->currentIndex() ? u"> "_s : QString()) + box->itemText(i);
        return texts;
    };

    // First a planned interface named after the recorder; then one the user picks.
    ConsoleRoutingDialog first(&vm);
    EXPECT_EQ(first.recorderBox()->count(), 2);
    first.recorderBox()->setCurrentIndex(first.recorderBox()->findData(u"card"_s));
    EXPECT_EQ(items(first.deviceBox()),
              (QStringList{u"> 新建计划设备“WING Card”（64 路）"_s, u"Three In"_s, u"Eight In"_s}));
    first.accept();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_EQ(vm.plannedAudioDevices().constLast().name, u"WING Card"_s);

    ConsoleRoutingDialog again(&vm);
    again.recorderBox()->setCurrentIndex(again.recorderBox()->findData(u"card"_s));
    EXPECT_EQ(items(again.deviceBox()),
              (QStringList{u"Three In"_s, u"Eight In"_s, u"> WING Card（未连接）"_s}));
    again.recorderBox()->setCurrentIndex(again.recorderBox()->findData(u"usb"_s));
    again.deviceBox()->setCurrentIndex(again.deviceBox()->findData(u"eight"_s));
    again.accept();
    EXPECT_EQ(track(u"1s"_s).audioInputDeviceUID, u"eight"_s);
    EXPECT_EQ(track(u"2"_s).audioInputDeviceUID, vm.plannedAudioDevices().constLast().id);
}

} // namespace
} // namespace kelvary::ui
