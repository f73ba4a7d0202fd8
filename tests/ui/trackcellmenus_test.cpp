#include "tracklist/trackcellmenus.h"

#include "tracklist/tracklistmodel.h"
#include "tracklisttestsupport.h"

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TrackCellMenusTest : public TrackListTest {
protected:
    std::unique_ptr<QMenu> menu(const QString &label, int column)
    {
        auto menu = std::make_unique<QMenu>();
        const QModelIndex cell = model.index(model.rowOf(idOf(label)), column);
        if (column == TrackListModel::AudioDeviceColumn)
            populateAudioDeviceMenu(*menu, model, cell);
        else
            populateAudioChannelMenu(*menu, model, cell);
        return menu;
    }
    std::unique_ptr<QMenu> channelMenu(const QString &label)
    {
        return menu(label, TrackListModel::AudioChannelColumn);
    }
    static QMenu *sequentialSubmenu(const QMenu &menu)
    {
        const auto has = std::find_if(menu.actions().cbegin(), menu.actions().cend(),
                                      [](const QAction *action) { return action->menu(); });
        return has == menu.actions().cend() ? nullptr : (*has)->menu();
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

const QStringList four{u"1"_s, u"2"_s, u"3s"_s, u"4"_s};

TEST_F(TrackCellMenusTest, DeviceMenuListsEveryDeviceAndReachesTheEditTargets)
{
    importReport();
    vm.setAudioInputDevice(u"three"_s, idOf(u"1"_s));
    const auto devices = menu(u"1"_s, TrackListModel::AudioDeviceColumn);
    EXPECT_EQ(menuTitles(*devices),
              (QStringList{u"未设置"_s, u"-"_s, u"Three In"_s, u"Eight In"_s}));
    EXPECT_TRUE(menuAction(*devices, u"Three In"_s)->isChecked());
    EXPECT_FALSE(menuAction(*devices, u"未设置"_s)->isChecked());
    menuAction(*devices, u"未设置"_s)->trigger();
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, std::nullopt);

    // Chosen on a selected row, a device reaches the whole selection in one step; a row outside
    // the selection changes alone.
    vm.clearUndoHistory();
    select({u"1"_s, u"2"_s, u"3s"_s});
    menuAction(*menu(u"2"_s, TrackListModel::AudioDeviceColumn), u"Eight In"_s)->trigger();
    // Each takes the first input none of the others has, the stereo channel a pair.
    EXPECT_EQ(channelsOf(four),
              (QStringList{u"eight:0"_s, u"eight:1"_s, u"eight:stereo:2"_s, u"none"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    menuAction(*menu(u"4"_s, TrackListModel::AudioDeviceColumn), u"Three In"_s)->trigger();
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, u"three"_s);
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, u"eight"_s);

    // The channel menu of a lone row lists its device's channels, then its pairs.
    const auto channels = channelMenu(u"4"_s);
    EXPECT_EQ(menuTitles(*channels), (QStringList{u"未设置"_s, u"-"_s, u"Ch 1"_s, u"Ch 2"_s,
                                                  u"Ch 3"_s, u"Ch 1–2"_s, u"Ch 2–3"_s}));
    EXPECT_TRUE(menuAction(*channels, u"Ch 1"_s)->isChecked());
    menuAction(*channels, u"Ch 1–2"_s)->trigger();
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"three:stereo:0"_s);

    // A 48-input interface lists its inputs, and beneath 立体声 its pairs, in eights.
    hardware->devices = QList{FakeAudioHardware::device(u"big"_s, u"Big"_s, {48})};
    vm.refreshAudioInputCatalog();
    assign({u"4"_s}, u"big"_s);
    const QStringList eights{u"Ch 1–8"_s,   u"Ch 9–16"_s,  u"Ch 17–24"_s,
                             u"Ch 25–32"_s, u"Ch 33–40"_s, u"Ch 41–48"_s};
    const auto big = channelMenu(u"4"_s);
    EXPECT_EQ(menuTitles(*big),
              QStringList({u"未设置"_s, u"-"_s}) + eights + QStringList{u"立体声"_s});
    const QMenu *stereo = menuAction(*big, u"立体声"_s)->menu();
    EXPECT_EQ(menuTitles(*stereo), eights);
    EXPECT_EQ(menuTitles(*menuAction(*stereo, u"Ch 41–48"_s)->menu()).size(), 7);
    menuAction(*menuAction(*big, u"Ch 9–16"_s)->menu(), u"Ch 12"_s)->trigger();
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"big:11"_s);
}

TEST_F(TrackCellMenusTest, SequentialSubmenuOffersEveryStartWhereTheSelectionFits)
{
    const struct {
        const char *name;
        QStringList onEight, onThree, selected;
        QString row;
        QStringList offered; // empty: no submenu at all
    } cases[] = {
        // clang-format off
        // The stereo channel counts two inputs.
        {"shared device", four, {}, four, u"2"_s,
         {u"Ch 1–5"_s, u"Ch 2–6"_s, u"Ch 3–7"_s, u"Ch 4–8"_s}},
        {"filling the device", {}, {u"1"_s, u"3s"_s}, {u"1"_s, u"3s"_s}, u"1"_s, {u"Ch 1–3"_s}},
        {"too many for the device", {}, four, four, u"1"_s, {}},
        {"a row outside the selection", {}, four, four, u"5"_s, {}},
        {"no device yet: each that fits", {}, {}, four, u"3s"_s, {u"Eight In · Ch 1–5"_s}},
        {"two devices: the row's own", {u"1"_s}, {u"5"_s}, {u"1"_s, u"5"_s}, u"5"_s,
         {u"Ch 1–2"_s, u"Ch 2–3"_s}},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        importReport();
        assign(c.onEight, u"eight"_s);
        assign(c.onThree, u"three"_s);
        select(c.selected);
        const auto channels = channelMenu(c.row);
        const QMenu *sequential = sequentialSubmenu(*channels);
        EXPECT_EQ(sequential ? menuTitles(*sequential) : QStringList(), c.offered);
        // Too few inputs leave the item in its place, disabled.
        const bool inSelection = c.selected.contains(c.row);
        EXPECT_EQ(menuTitles(*channels).contains(u"按顺序分配（%1 条）"_s.arg(c.selected.size())),
                  inSelection);
        if (inSelection) {
            EXPECT_EQ(
                menuAction(*channels, u"按顺序分配（%1 条）"_s.arg(c.selected.size()))->isEnabled(),
                !c.offered.isEmpty());
        }
    }

    // A device with its first input patches the selection in one step.
    importReport();
    select(four);
    menuAction(*sequentialSubmenu(*channelMenu(u"3s"_s)), u"Eight In · Ch 1–5"_s)->trigger();
    EXPECT_EQ(channelsOf(four),
              (QStringList{u"eight:0"_s, u"eight:1"_s, u"eight:stereo:2"_s, u"eight:4"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
}

} // namespace
} // namespace kelvary::ui
