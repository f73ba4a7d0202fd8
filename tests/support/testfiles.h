#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace kelvary {

// The whole content of a file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A file of tests/fixtures, by its path there.
inline QByteArray fixtureBytes(const QString &relativePath)
{
    return fileBytes(QStringLiteral(KELVARY_TEST_DATA "/") + relativePath);
}

} // namespace kelvary
