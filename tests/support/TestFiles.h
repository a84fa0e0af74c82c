#pragma once
// Whole-file reads and writes for test fixtures.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace keyholm::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file's content; fails the test when it cannot be written.
inline void Write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size()) << path.toStdString();
}

// The text's bytes in that encoding, without a byte order mark.
inline QByteArray Encoded(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return QByteArray(encoder.encode(text));
}

} // namespace keyholm::test
