#pragma once

#include "audio/audiohardware.h"

#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

// Audio hardware whose answers the test writes down. Each read of a property takes the next of
// that property's answers and keeps repeating the last one, so that a device can change between
// the two passes of an enumeration.
class FakeAudioHardware final : public AudioHardware {
public:
    struct Device {
        QList<std::optional<QList<qint64>>> inputBuffers;
        QList<std::optional<QString>> uniqueIDs;
        QList<std::optional<QString>> names;
    };

    // A device that always answers the same.
    static Device device(const QString &uniqueID, const QString &name, QList<qint64> buffers)
    {
        return {{std::move(buffers)}, {uniqueID}, {name}};
    }

    std::optional<QList<Device>> devices = QList<Device>();

    std::optional<QList<AudioDeviceHandle>> deviceHandles() const override
    {
        m_reads.clear();
        if (!devices)
            return std::nullopt;
        QList<AudioDeviceHandle> handles;
        for (qsizetype i = 0; i < devices->size(); ++i)
            handles.append(AudioDeviceHandle(100 + i));
        m_reads.resize(devices->size());
        return handles;
    }

    std::optional<QList<qint64>> inputBufferChannels(AudioDeviceHandle handle) const override
    {
        return next(handle, &Device::inputBuffers, &Reads::inputBuffers);
    }
    std::optional<QString> uniqueID(AudioDeviceHandle handle) const override
    {
        return next(handle, &Device::uniqueIDs, &Reads::uniqueIDs);
    }
    std::optional<QString> name(AudioDeviceHandle handle) const override
    {
        return next(handle, &Device::names, &Reads::names);
    }

private:
    struct Reads {
        qsizetype inputBuffers = 0;
        qsizetype uniqueIDs = 0;
        qsizetype names = 0;
    };

    template<typename T>
    std::optional<T> next(AudioDeviceHandle handle, QList<std::optional<T>> Device::*answers,
                          qsizetype Reads::*count) const
    {
        const qsizetype index = qsizetype(handle) - 100;
        if (!devices || index < 0 || index >= devices->size())
            return std::nullopt;
        const QList<std::optional<T>> &list = (*devices)[index].*answers;
        if (list.isEmpty())
            return std::nullopt;
        qsizetype &read = m_reads[index].*count;
        return list.at(std::min(read++, list.size() - 1));
    }

    mutable QList<Reads> m_reads;
};

} // namespace kelvary
