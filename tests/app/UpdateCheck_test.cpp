// The update check against a local server on 127.0.0.1 (never the network):
// the answers it takes and refuses, at start-up and from the help menu, what
// the request holds, and a start that does not wait for it.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "app/UpdateCheck.h"
#include "app/WindowLayout.h"
#include "components/FileTools.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/ui/Messages.h"

#include <QAction>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace keyholm::test {
namespace {

TEST(UpdateCheckVersion, TakesOnlyAFirstLineOfThreeNumbers)
{
    const struct {
        QByteArray text;
        std::optional<Version> version;
    } cases[] = {
        { "1.0.0", Version { 1, 0, 0 } },
        { "1.10.0\r\nnotes", Version { 1, 10, 0 } },
        { "\xEF\xBB\xBF 2.3.4 \n", Version { 2, 3, 4 } },
        { "1.0", std::nullopt },
        { "1.0.0.0", std::nullopt },
        { "v1.0.0", std::nullopt },
        { "<html>1.0.0</html>", std::nullopt },
        { "\n1.0.0", std::nullopt },
        { "1.0.\xD9\xA1", std::nullopt }, // an Arabic-Indic digit
        { "9999999999.0.0", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionOfText(c.text), c.version) << c.text.toStdString();
    EXPECT_GT(*ParseVersion("1.10.0"), *ParseVersion("1.9.0")) << "compared as numbers";
}

// Answers every request with the same bytes; no bytes at all is silence.
class VersionServer : public QObject {
public:
    explicit VersionServer(QByteArray answer)
        : answer_(std::move(answer))
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto request = std::make_shared<QByteArray>();
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
                    *request += socket->readAll();
                    if (!request->contains("\r\n\r\n") || answer_.isEmpty())
                        return;
                    requests << *request;
                    socket->write(answer_);
                    socket->disconnectFromHost();
                });
            }
        });
    }

    QString Address() const
    {
        return QStringLiteral("http://127.0.0.1:%1/Version/Keyholm.txt").arg(server_.serverPort());
    }
    quint16 Port() const { return server_.serverPort(); }

    QList<QByteArray> requests;

private:
    QTcpServer server_;
    QByteArray answer_;
};

QByteArray Http(const QByteArray& body, const QByteArray& head = "HTTP/1.1 200 OK\r\n", bool withLength = true)
{
    return head + (withLength ? "Content-Length: " + QByteArray::number(body.size()) + "\r\n" : QByteArray())
        + "Connection: close\r\n\r\n" + body;
}

class UpdateCheckTest : public MainWindowFixture {
protected:
    static void SetUpTestSuite()
    {
        MainWindowFixture::SetUpTestSuite();
        // Silence ends here well before the ten seconds of a real check.
        WebTools::SetTransferTimeout(300);
    }
    static void TearDownTestSuite() { WebTools::SetTransferTimeout(0); }

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        FileTools::Instance().SetOpener([this](const QUrl& address) {
            opened_ << address.toString();
            return true;
        });
        SetErrorDisplay({ [] {}, [this](const QString&, const QString& text) { errors_ << text; } });
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        FileTools::Instance().SetOpener({});
        SetErrorDisplay({});
        SetVersionTextAddress({});
    }

    // Runs the check from the menu or as at start-up until it ends; the
    // outcome, or nothing when it never ended.
    std::optional<WebTools::Outcome> Check(bool atStartUp)
    {
        if (atStartUp)
            Window().Lifecycle().CheckForUpdate(true, 1);
        else
            Ui().MenuAideVersion->trigger();
        WebTools* tools = Window().Lifecycle().UpdateCheck();
        if (!tools)
            return std::nullopt;
        std::optional<WebTools::Outcome> outcome;
        QObject::connect(
            tools, &WebTools::Finished, [this, &outcome](WebTools::Outcome result, const QString& detail, bool) {
                outcome = result;
                detail_ = detail;
            });
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 20000));
        return outcome;
    }

    QStringList opened_;
    QStringList errors_;
    QString detail_; // the version found or why the check failed
};

TEST_F(UpdateCheckTest, EachAnswerAtStartUpAndFromTheMenu)
{
    using Outcome = WebTools::Outcome;
    // Each refused answer holds a newer version that a careless check would take.
    VersionServer elsewhere(Http("9.9.9"));
    const QByteArray redirect = "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:"
        + QByteArray::number(elsewhere.Port()) + "/Version/Keyholm.txt\r\n";
    const QByteArray big = "9.9.9\n" + QByteArray(2 << 20, '1');
    const struct {
        const char* name;
        QByteArray answer;
        Outcome outcome;
    } cases[] = {
        { "same version", Http("1.0.0\r\n"), Outcome::UpToDate },
        { "newer version", Http("1.10.0"), Outcome::Newer },
        { "two numbers", Http("1.0"), Outcome::Failed },
        { "a web page", Http("<!DOCTYPE html><html><body>1.2.0</body></html>"), Outcome::Failed },
        { "2 MB, said", Http(big), Outcome::Failed },
        { "2 MB, unsaid", Http(big, "HTTP/1.1 200 OK\r\n", false), Outcome::Failed },
        { "not found", Http("1.2.0", "HTTP/1.1 404 Not Found\r\n"), Outcome::Failed },
        { "redirect to another origin", Http({}, redirect), Outcome::Failed },
        { "silence", {}, Outcome::Failed },
    };
    for (const auto& c : cases) {
        for (const bool atStartUp : { true, false }) {
            SCOPED_TRACE(std::string(c.name) + (atStartUp ? " at start-up" : " from the menu"));
            VersionServer server(c.answer);
            SetVersionTextAddress(server.Address());
            opened_.clear();
            errors_.clear();
            ModalHelper modal;
            if (c.outcome == Outcome::Newer)
                modal.ExpectMessageBox().Click(QMessageBox::Yes);
            else if (c.outcome == Outcome::UpToDate && !atStartUp)
                modal.ExpectMessageBox().Click(QMessageBox::Ok);

            EXPECT_EQ(Check(atStartUp), c.outcome) << detail_.toStdString();
            EXPECT_TRUE(modal.Wait());
            if (c.outcome == Outcome::Newer) {
                EXPECT_TRUE(modal.Seen().at(0).text.contains("1.10.0")) << modal.Seen().at(0).text.toStdString();
                EXPECT_EQ(opened_, QStringList { WindowLayout::HistoryPage() });
            } else if (c.outcome == Outcome::UpToDate && !atStartUp) {
                EXPECT_EQ(modal.Seen().at(0).text,
                    "Vous utilisez la dernière version de " + ApplicationTitle() + " (1.0.0).");
            }
            if (c.outcome == Outcome::Failed && !atStartUp) {
                EXPECT_EQ(errors_.size(), 1);
                EXPECT_TRUE(errors_.value(0).startsWith(GetMessage(13227))) << errors_.value(0).toStdString();
            } else {
                EXPECT_TRUE(errors_.isEmpty()) << errors_.join('|').toStdString();
            }
            if (c.outcome == Outcome::Failed) {
                EXPECT_EQ(Window().Lifecycle().UpdateCheck(), nullptr) << "a failed check starts afresh";
            }
        }
    }
    EXPECT_TRUE(elsewhere.requests.isEmpty()) << "no redirect to another origin is followed";
}

TEST_F(UpdateCheckTest, TheRequestSaysNothingAboutTheUserAndTwoClicksMakeOne)
{
    VersionServer server(Http("1.0.0"));
    SetVersionTextAddress(server.Address());
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    Ui().MenuAideVersion->trigger();
    EXPECT_EQ(Check(false), WebTools::Outcome::UpToDate);
    EXPECT_TRUE(modal.Wait());
    ASSERT_EQ(server.requests.size(), 1);
    const QByteArray request = server.requests[0];
    EXPECT_TRUE(request.startsWith("GET /Version/Keyholm.txt HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nUser-Agent: Keyholm/1.0.0\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nAccept-Language: fr\r\n")) << request.toStdString();
    EXPECT_FALSE(request.contains("Cookie")) << request.toStdString();
}

TEST_F(UpdateCheckTest, AnAnswerWaitsForTheWindowOpenBeforeIt)
{
    VersionServer server(Http("1.10.0"));
    SetVersionTextAddress(server.Address());
    bool otherOpen = false;
    std::optional<bool> endedWhileOpen;
    ModalHelper modal;
    modal.ExpectMessageBox()
        .Do([&](QWidget*) {
            otherOpen = true;
            WebTools* tools = Window().Lifecycle().UpdateCheck();
            ASSERT_NE(tools, nullptr);
            QObject::connect(tools, &WebTools::Finished, [&] { endedWhileOpen = otherOpen; });
            EXPECT_TRUE(QTest::qWaitFor([&] { return !tools->Pending(); }, 20000)) << "the answer came";
            QCoreApplication::processEvents();
            otherOpen = false;
        })
        .Click(QMessageBox::Ok);
    modal.ExpectMessageBox().Click(QMessageBox::No);
    Ui().MenuAideVersion->trigger();
    ShowInfo("Un autre message");
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(endedWhileOpen, false) << "the question came after the other window";
    ASSERT_EQ(modal.Seen().size(), 2u);
    EXPECT_TRUE(modal.Seen()[1].text.contains("1.10.0"));
    EXPECT_TRUE(opened_.isEmpty()) << "No opens nothing";
}

TEST_F(UpdateCheckTest, RefusesAnAddressThatIsNotHttps)
{
    for (const char* address : { "http://keyholm.example/Version/Keyholm.txt", "ftp://127.0.0.1/Keyholm.txt",
             "https://keyholm.example/Version/Keyholm.txt?user=me" }) {
        SCOPED_TRACE(address);
        SetVersionTextAddress(address);
        errors_.clear();
        Ui().MenuAideVersion->trigger();
        EXPECT_EQ(errors_.size(), 1);
        EXPECT_EQ(Window().Lifecycle().UpdateCheck(), nullptr);
    }
}

TEST_F(UpdateCheckTest, AtStartUpTheRequestWaitsForTheEventLoop)
{
    VersionServer server(Http("1.0.0"));
    SetVersionTextAddress(server.Address());
    ASSERT_TRUE(SetCheckOption("Internet", "Version", 1));
    Window().Lifecycle().Form_Load();
    ASSERT_TRUE(SetCheckOption("Internet", "Version", 0));
    WebTools* tools = Window().Lifecycle().UpdateCheck();
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->Pending());
    EXPECT_FALSE(tools->Sent()) << "the load has ended before anything is sent";
    bool done = false;
    QObject::connect(tools, &WebTools::Finished, [&done] { done = true; });
    ModalHelper modal; // an up-to-date program says nothing at start-up
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    EXPECT_TRUE(modal.Wait());
    EXPECT_EQ(server.requests.size(), 1);
}

TEST_F(UpdateCheckTest, ClosingTheWindowDuringACheckEndsIt)
{
    VersionServer server({}); // never answers
    SetVersionTextAddress(server.Address());
    Ui().MenuAideVersion->trigger();
    QPointer<WebTools> tools = Window().Lifecycle().UpdateCheck();
    ASSERT_TRUE(tools);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tools->Sent(); }, 20000));
    window_.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tools.isNull(); }, 20000));
    EXPECT_TRUE(errors_.isEmpty());
}

} // namespace
} // namespace keyholm::test
