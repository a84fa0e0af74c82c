#include "TraceLogCapture.h"

#include "services/ErrorReport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

using namespace keyholm;
using keyholm::test::TraceLogCapture;

namespace {

ErrorRecord Record(int number, const char* description, int line, int systemCode)
{
    ErrorRecord record;
    record.number = number;
    record.description = QString::fromUtf8(description);
    record.source = "CheckDataTree";
    record.line = line;
    record.systemCode = systemCode;
    return record;
}

} // namespace

struct DetailsCase {
    const char* name;
    ErrorRecord record;
    QString details;
};

class ErrorDetails : public ::testing::TestWithParam<DetailsCase> {};

TEST_P(ErrorDetails, AreBuiltFromTheRecord)
{
    EXPECT_EQ(GetParam().record.Details(), GetParam().details);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorDetails,
    ::testing::Values(
        DetailsCase{"NoError", Record(0, "ignored", 12, 2), ""},
        DetailsCase{"NoLineNoDescription", Record(53, "", 0, 0), "Error #53 by CheckDataTree"},
        DetailsCase{"LineAndDescription", Record(5, "Bad call", 12, 0),
                    QString::fromUtf8("Error #5 - Line n° 12 by CheckDataTree\r\nBad call")},
        DetailsCase{"SystemCode", Record(75, "rename", 0, ENOENT),
                    "Error #75 by CheckDataTree\r\nrename\r\n\r\nDLL : No such file or directory\r\n\r\nDLL : 2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorRecordMaking, CatchBlocksGetNumberSourceAndLine)
{
    ErrorRecord fromRuntime;
    int line = 0;
    try {
        throw std::runtime_error("tree is broken");
    } catch (const std::exception& e) {
        line = __LINE__ + 1;
        fromRuntime = ErrorRecord::FromException(e);
    }
    EXPECT_EQ(fromRuntime.number, ErrorRecord::InvalidCall);
    EXPECT_EQ(fromRuntime.description, "tree is broken");
    EXPECT_EQ(fromRuntime.line, line);
    EXPECT_TRUE(fromRuntime.source.contains("TestBody")) << fromRuntime.source.toStdString();
    EXPECT_FALSE(fromRuntime.source.contains('('));

    const ErrorRecord fromSystem =
        ErrorRecord::FromException(std::system_error(std::make_error_code(std::errc::permission_denied)));
    EXPECT_EQ(fromSystem.number, ErrorRecord::FileAccess);
    EXPECT_EQ(fromSystem.systemCode, EACCES);

    EXPECT_EQ(ErrorRecord::FromException(std::bad_alloc()).number, ErrorRecord::OutOfMemory);

    const ErrorRecord fromErrno = ErrorRecord::FromErrno(ENOENT);
    EXPECT_EQ(fromErrno.number, ErrorRecord::FileNotFound);
    EXPECT_EQ(fromErrno.systemCode, ENOENT);
    EXPECT_EQ(fromErrno.description, "No such file or directory");
    EXPECT_EQ(ErrorRecord::FromErrno(EACCES, "open Preference.opt").description, "open Preference.opt");
    EXPECT_FALSE(ErrorRecord::FromErrno(0).IsError());
}

// Records what would reach the screen.
class ErrorReporting : public TraceLogCapture {
protected:
    void SetUp() override
    {
        TraceLogCapture::SetUp();
        SetErrorDisplay({[this] { ++cursorRestored_; },
                         [this](const QString& title, const QString& text) { shown_.push_back({title, text}); }});
    }
    void TearDown() override
    {
        SetErrorDisplay({});
        TraceLogCapture::TearDown();
    }
    int cursorRestored_ = 0;
    std::vector<std::pair<QString, QString>> shown_;
};

TEST_F(ErrorReporting, AReportWithoutErrorHasEmptyDetails)
{
    ReportError("Error on checking the data tree", {}, true);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].first, "Error message");
    EXPECT_EQ(shown_[0].second, "Error on checking the data tree\r\n\r\n");
    const auto line = Find("## Error - Error on checking the data tree");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->detail, "");
    EXPECT_EQ(cursorRestored_, 1);
}

TEST_F(ErrorReporting, ContextLineBreaksAndDetails)
{
    ReportError("Lecture impossible<BR>du fichier<br>X", "Import", true, Record(53, "missing", 7, 0));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].first, "Error message : Import");
    EXPECT_EQ(shown_[0].second,
              QString::fromUtf8("Lecture impossible\r\ndu fichier\r\nX\r\n\r\nError #53 - Line n° 7 by CheckDataTree\r\nmissing"));
    const auto line = Find("## Error - Import : Lecture impossible. du fichier. X");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->detail, QString::fromUtf8("Error #53 - Line n° 7 by CheckDataTree. missing"));
}

TEST_F(ErrorReporting, NotShownIsStillTraced)
{
    ReportError("Unable to get the Main Message Id: 5", {}, false);
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(cursorRestored_, 1);
    EXPECT_TRUE(Find("## Error - Unable to get the Main Message Id: 5"));
}

TEST_F(ErrorReporting, ACaughtExceptionIsShownWithItsDetailsAndWhereItWasCaught)
{
    int line = 0;
    try {
        throw std::runtime_error("tree is broken");
    } catch (const std::exception& e) {
        line = __LINE__ + 1;
        ReportException("Error on checking the data tree", e);
    }
    ASSERT_EQ(shown_.size(), 1u);
    const QString& text = shown_[0].second;
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Error on checking the data tree\r\n\r\nError #5 - Line n° %1 by ").arg(line)))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\ntree is broken")) << text.toStdString();
}

// Ordinary lines wait in a buffer; an error line and those before it are on
// the disk at once, so that a crash right after loses none of them.
TEST_F(ErrorReporting, AnErrorLineIsOnTheDiskAtOnce)
{
    const auto onDisk = [] {
        QFile file(TraceLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    TraceLog("Step before the error", "...");
    EXPECT_FALSE(onDisk().contains("Step before the error"));
    ReportError("Error on checking the data tree", {}, false);
    const QByteArray bytes = onDisk();
    EXPECT_TRUE(bytes.contains("Step before the error"));
    EXPECT_TRUE(bytes.contains("## Error - Error on checking the data tree"));
}

TEST(LineBreaks, BothMarkupsBecomeCrLf)
{
    EXPECT_EQ(WithLineBreaks("a<BR>b<br>c<Br>d"), "a\r\nb\r\nc<Br>d");
}
