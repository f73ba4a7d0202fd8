#include "tracklist/trackcellmenus.h"

#include "tracklist/tracklistmodel.h"
#include "tracklisttestsupport.h"

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TrackCellMenusTest : public TrackListTest {
protected:
    QModelIndex cell(const QString &label, int column) const
    {
        return model.index(model.rowOf(idOf(label)), column);
    }

    std::unique_ptr<QMenu> channelMenu(const QString &label)
    {
        auto menu = std::make_unique<QMenu>();
        populateAudioChannelMenu(*menu, model, cell(label, TrackListModel::AudioChannelColumn));
        return menu;
    }

    std::unique_ptr<QMenu> deviceMenu(const QString &label)
    {
        auto menu = std::make_unique<QMenu>();
        populateAudioDeviceMenu(*menu, model, cell(label, TrackListModel::AudioDeviceColumn));
        return menu;
    }

    static QMenu *sequentialSubmenu(const QMenu &menu)
    {
        for (const QAction *action : menu.actions()) {
            if (action->menu())
                return action->menu();
        }
        return nullptr;
    }

    QStringList channelsOf(const QStringList &labels) const
    {
        QStringList channels;
        for (const QString &label : labels)
            channels << track(label).audioInputChannelID.value_or(u"none"_s);
        return channels;
    }

    TrackListModel model{&vm};
};

const QStringList eightChannelItems{u"Ch 1"_s,   u"Ch 2"_s,   u"Ch 3"_s,   u"Ch 4"_s,
                                    u"Ch 5"_s,   u"Ch 6"_s,   u"Ch 7"_s,   u"Ch 8"_s,
                                    u"Ch 1–2"_s, u"Ch 3–4"_s, u"Ch 5–6"_s, u"Ch 7–8"_s};

TEST_F(TrackCellMenusTest, DeviceMenuListsEveryDeviceAfterNotSet)
{
    importReport();
    vm.setAudioInputDevice(u"three"_s, idOf(u"1"_s));
    const auto menu = deviceMenu(u"1"_s);
    EXPECT_EQ(menuTitles(*menu), (QStringList{u"未设置"_s, u"-"_s, u"Three In"_s, u"Eight In"_s}));
    EXPECT_TRUE(menuAction(*menu, u"Three In"_s)->isChecked());
    EXPECT_FALSE(menuAction(*menu, u"未设置"_s)->isChecked());

    menuAction(*menu, u"未设置"_s)->trigger();
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, std::nullopt);
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, std::nullopt);
}

TEST_F(TrackCellMenusTest, DeviceChosenOnASelectedRowReachesTheWholeSelectionInOneStep)
{
    importReport();
    select({u"1"_s, u"2"_s, u"3s"_s});

    menuAction(*deviceMenu(u"2"_s), u"Eight In"_s)->trigger();
    EXPECT_EQ(channelsOf({u"1"_s, u"2"_s, u"3s"_s, u"4"_s}),
              (QStringList{u"eight:0"_s, u"eight:0"_s, u"eight:0"_s, u"none"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);

    // The fourth row is not part of the selection: it changes alone.
    menuAction(*deviceMenu(u"4"_s), u"Three In"_s)->trigger();
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, u"three"_s);
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, u"eight"_s);

    vm.undo();
    vm.undo();
    EXPECT_EQ(channelsOf({u"1"_s, u"2"_s, u"3s"_s, u"4"_s}),
              (QStringList{u"none"_s, u"none"_s, u"none"_s, u"none"_s}));
}

TEST_F(TrackCellMenusTest, ChannelMenuOfALoneRowListsItsDevicesChannels)
{
    importReport();
    select({u"1"_s});
    vm.setAudioInputDevice(u"eight"_s, idOf(u"1"_s));

    const auto menu = channelMenu(u"1"_s);
    EXPECT_EQ(menuTitles(*menu), QStringList({u"未设置"_s, u"-"_s}) + eightChannelItems);
    EXPECT_EQ(sequentialSubmenu(*menu), nullptr);
    EXPECT_TRUE(menuAction(*menu, u"Ch 1"_s)->isChecked());

    menuAction(*menu, u"Ch 3–4"_s)->trigger();
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, u"eight:stereo:2"_s);
    menuAction(*channelMenu(u"1"_s), u"未设置"_s)->trigger();
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, std::nullopt);
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, u"eight"_s);
}

TEST_F(TrackCellMenusTest, SequentialSubmenuOffersEveryStartOnTheSharedDevice)
{
    importReport();
    const QStringList four{u"1"_s, u"2"_s, u"3s"_s, u"4"_s};
    assign(four, u"eight"_s);
    select(four);

    const auto menu = channelMenu(u"2"_s);
    QMenu *sequential = sequentialSubmenu(*menu);
    ASSERT_NE(sequential, nullptr);
    EXPECT_EQ(menuTitles(*menu),
              QStringList({u"未设置"_s, u"-"_s, u"按顺序分配（4 条）"_s, u"-"_s}) +
                  eightChannelItems);
    EXPECT_EQ(menuTitles(*sequential),
              (QStringList{u"Ch 1–4"_s, u"Ch 2–5"_s, u"Ch 3–6"_s, u"Ch 4–7"_s, u"Ch 5–8"_s}));

    menuAction(*sequential, u"Ch 3–6"_s)->trigger();
    EXPECT_EQ(channelsOf(four),
              (QStringList{u"eight:2"_s, u"eight:3"_s, u"eight:4"_s, u"eight:5"_s}));
    EXPECT_EQ(vm.statusMessage(), u"已为 4 条轨道分配 Eight In · Ch 3–6"_s);
}

TEST_F(TrackCellMenusTest, SequentialSubmenuFitsTheSelectionToTheDevice)
{
    importReport();
    const QStringList three{u"1"_s, u"2"_s, u"3s"_s};
    assign(three, u"three"_s);
    select(three);
    const auto threeMenu = channelMenu(u"1"_s);
    QMenu *sequential = sequentialSubmenu(*threeMenu);
    ASSERT_NE(sequential, nullptr);
    EXPECT_EQ(menuTitles(*sequential), QStringList{u"Ch 1–3"_s});

    // Four tracks do not fit on three inputs: no choice, and no submenu to lead nowhere.
    const QStringList four{u"1"_s, u"2"_s, u"3s"_s, u"4"_s};
    assign(four, u"three"_s);
    select(four);
    const auto menu = channelMenu(u"1"_s);
    EXPECT_EQ(sequentialSubmenu(*menu), nullptr);
    EXPECT_EQ(menuTitles(*menu).mid(0, 3), (QStringList{u"未设置"_s, u"-"_s, u"Ch 1"_s}));

    // Outside the selection a row is on its own.
    EXPECT_EQ(sequentialSubmenu(*channelMenu(u"5"_s)), nullptr);
}

TEST_F(TrackCellMenusTest, WithoutASharedDeviceTheSubmenuOffersEachDeviceThatFits)
{
    importReport();
    const QStringList four{u"1"_s, u"2"_s, u"3s"_s, u"4"_s};
    select(four);

    const auto menu = channelMenu(u"3s"_s);
    EXPECT_EQ(menuTitles(*menu), (QStringList{u"未设置"_s, u"-"_s, u"按顺序分配（4 条）"_s}));
    QMenu *sequential = sequentialSubmenu(*menu);
    ASSERT_NE(sequential, nullptr);
    EXPECT_EQ(menuTitles(*sequential), QStringList{u"Eight In · Ch 1–4"_s});

    menuAction(*sequential, u"Eight In · Ch 1–4"_s)->trigger();
    EXPECT_EQ(channelsOf(four),
              (QStringList{u"eight:0"_s, u"eight:1"_s, u"eight:2"_s, u"eight:3"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);

    // Two tracks on two devices share none; the row's own device decides.
    vm.assignAudioInputDevice(u"three"_s, idOf(u"5"_s));
    select({u"1"_s, u"5"_s});
    EXPECT_EQ(menuTitles(*sequentialSubmenu(*channelMenu(u"5"_s))),
              (QStringList{u"Ch 1–2"_s, u"Ch 2–3"_s}));
}

} // namespace
} // namespace kelvary::ui
