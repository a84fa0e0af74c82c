#pragma once
// What the dialog tests share: Qt's own dialogs (so that the modal helper can
// answer them) and a trace log of their own to read the lines back from.

#include "services/TraceLog.h"
#include "support/ModalHelper.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace keyholm::test {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        ASSERT_TRUE(folder_.isValid());
        StopTraceLog();
        ASSERT_TRUE(StartTraceLog(true, folder_.path() + "/", {}, {}, false));
        // A first line of our own, so that the first traced label of a test is
        // never taken for a repeat of the header's last one.
        TraceLog("Test starts", ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { StopTraceLog(); }

    QList<TraceRecord> TraceRecords() const
    {
        FlushTraceLog();
        QFile file(TraceLogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return ParseTraceRecords(file.readAll(), true);
    }
    QByteArray TraceText() const
    {
        FlushTraceLog();
        QFile file(TraceLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The detail of the last line with this label.
    std::optional<QString> TraceDetail(const QString& label) const
    {
        const QList<TraceRecord> records = TraceRecords();
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->label == label)
                return it->detail;
        return std::nullopt;
    }

    QTemporaryDir folder_;
};

template <class T> T* Child(QWidget* window, const QString& name)
{
    T* child = window->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << "no " << name.toStdString() << " in " << window->objectName().toStdString();
    return child;
}

} // namespace keyholm::test
