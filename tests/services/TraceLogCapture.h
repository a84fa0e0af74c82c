#pragma once
// A fixture that runs the trace log in a throw-away folder, for tests that
// check what a procedure writes to it.

#include "services/TraceLog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace keyholm::test {

class TraceLogCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        StopTraceLog();
        ASSERT_TRUE(StartTraceLog(true, folder_.path() + "/", {}, "test", false));
        headerLines_ = Lines().size();
    }
    void TearDown() override
    {
        StopTraceLog();
        ForgetTraceLogSecrets();
    }

    // The whole file as it is on the disk now (buffered lines flushed).
    QByteArray Bytes() const
    {
        FlushTraceLog();
        QFile file(TraceLogPath().isEmpty() ? lastPath_ : TraceLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Every record, timed or not.
    QList<TraceRecord> Lines() const
    {
        lastPath_ = TraceLogPath();
        return ParseTraceRecords(Bytes(), true);
    }
    // The records written since SetUp, the header left out.
    QList<TraceRecord> NewLines() const { return Lines().mid(headerLines_); }
    QStringList NewLabels() const
    {
        QStringList labels;
        for (const TraceRecord& record : NewLines())
            labels << record.label;
        return labels;
    }
    // The record with this label, written since SetUp.
    std::optional<TraceRecord> Find(const QString& label) const
    {
        for (const TraceRecord& record : NewLines()) {
            if (record.label == label)
                return record;
        }
        return std::nullopt;
    }

    QTemporaryDir folder_;
    qsizetype headerLines_ = 0;
    mutable QString lastPath_;
};

} // namespace keyholm::test
