#pragma once
// A fixture with a throw-away data folder (KEYHOLM_HOME) settled by
// PrepareFolders, the preferences closed around each test, and the trace log
// captured.

#include "TraceLogCapture.h"

#include "components/FileTools.h"
#include "services/Environment.h"
#include "services/Preferences.h"

#include <QFile>
#include <QTemporaryDir>

namespace keyholm::test {

class DataFolderFixture : public TraceLogCapture {
protected:
    void SetUp() override
    {
        TraceLogCapture::SetUp();
        ASSERT_TRUE(home_.isValid());
        ClosePreferences();
        SetPreferenceBackupRotation({});
        savedHome_ = qgetenv("KEYHOLM_HOME");
        qputenv("KEYHOLM_HOME", QFile::encodeName(home_.path()));
        PrepareFolders();
        ASSERT_EQ(DataFolder(), FileTools::Instance().WithFolderSeparator(home_.path()));
    }
    void TearDown() override
    {
        ClosePreferences();
        SetPreferenceBackupRotation({});
        qputenv("KEYHOLM_HOME", savedHome_);
        PrepareFolders();
        TraceLogCapture::TearDown();
    }

    QString PreferenceFile() const { return DataFolder() + "Preference.opt"; }
    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteAll(const QString& path, const QByteArray& data)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    int CountLabel(const QString& label) const
    {
        int count = 0;
        for (const auto& record : NewLines())
            count += record.label == label ? 1 : 0;
        return count;
    }

    QTemporaryDir home_;
    QByteArray savedHome_;
};

} // namespace keyholm::test
