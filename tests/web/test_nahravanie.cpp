// The site sent to the association's host in one step, tried against a real FTP server started for the
// test (pyftpdlib, plain and over TLS): the first upload, a republish that sends only what changed, a file
// of the host's own left alone, a wrong password, a full disk and a connection cut in the middle, each
// leaving the published site readable.

#include "db/CDatabaza.h"
#include "pomocnik.h"
#include "results/vysledky.h"
#include "web/nahravanie.h"
#include "web/sajt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* kServer = R"(
import os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
root, log, mode, limit = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
base = FTPHandler
if mode == 'tls':
    from pyftpdlib.handlers import TLS_FTPHandler
    base = TLS_FTPHandler
authorizer = DummyAuthorizer()
authorizer.add_user('web', 'tajne', root, perm='elradfmwMT')
class Handler(base):
    stored = 0
    def on_file_received(self, file):
        with open(log, 'a') as f:
            f.write(os.path.basename(file) + '\n')
    def ftp_STOR(self, file, mode='w'):
        Handler.stored += 1
        if limit and Handler.stored > limit:
            if sys.argv[3] == 'full':
                self.respond('552 Nedostatok miesta na disku.')
                return
            self.close()
            return
        return super().ftp_STOR(file, mode)
    def ftp_MLSD(self, path):
        if mode == 'nomlsd':
            self.respond('500 Command "MLSD" not understood.')
            return
        return super().ftp_MLSD(path)
Handler.authorizer = authorizer
if mode == 'tls':
    Handler.certfile = sys.argv[5]
    Handler.keyfile = sys.argv[6]
    Handler.tls_control_required = True
    Handler.tls_data_required = True
server = FTPServer(('127.0.0.1', 0), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)";

QString Python()
{
    // The system's Python, which has the system's pyftpdlib.
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

class Upload : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        m_season = OpenSmallDemo();
        ASSERT_FALSE(m_season.isEmpty());
        m_root = Path(QStringLiteral("ftp"));
        QDir().mkpath(m_root);
        QFile script(Path(QStringLiteral("server.py")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(kServer);
    }
    void TearDown() override
    {
        StopServer();
        SeasonTest::TearDown();
    }
    // An FTP server on the test's folder: "plain", "tls", or after `limit` files "full" or "cut".
    void StartServer(const QString& mode = QStringLiteral("plain"), int limit = 0)
    {
        StopServer();
        QStringList arguments{Path(QStringLiteral("server.py")), m_root, Path(QStringLiteral("nahrate.log")),
                              mode, QString::number(limit)};
        if (mode == QStringLiteral("tls"))
            arguments << Path(QStringLiteral("cert.pem")) << Path(QStringLiteral("key.pem"));
        m_server = std::make_unique<QProcess>();
        m_server->start(Python(), arguments);
        ASSERT_TRUE(m_server->waitForReadyRead(20000)) << m_server->readAllStandardError().toStdString();
        m_port = m_server->readLine().trimmed().toInt();
        ASSERT_GT(m_port, 0) << m_server->readAllStandardError().toStdString();
        QFile::remove(Path(QStringLiteral("nahrate.log")));
    }
    void StopServer()
    {
        if (m_server) {
            m_server->kill();
            m_server->waitForFinished(5000);
            m_server.reset();
        }
    }
    QString Address(const QString& scheme = QStringLiteral("ftp"),
                    const QString& password = QStringLiteral("tajne"))
    {
        return QStringLiteral("%1://web:%2@127.0.0.1:%3/sezona").arg(scheme, password).arg(m_port);
    }
    QString Publish(const QString& address, int* written = nullptr, QStringList* leftAlone = nullptr)
    {
        return PublishSeason(m_doc.Database(), m_doc.StopRounds(), address, m_season,
                             QDateTime::currentDateTimeUtc(), {}, nullptr, leftAlone, written);
    }
    // How many files the server took since it started.
    int Received()
    {
        QFile log(Path(QStringLiteral("nahrate.log")));
        return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count('\n')) : 0;
    }
    QByteArray OnServer(const QString& name)
    {
        QFile f(m_root + QStringLiteral("/sezona/") + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void TypeResult(const char* home)
    {
        const int match = m_doc.Database()
                              .Value(QStringLiteral(
                                  "select min(ID) from tzapasy where skupina=1 and klub1<>0 and klub2<>0"))
                              .toInt();
        EnterResult(m_doc.Database(), 1, match, {QString::fromLatin1(home), QStringLiteral("1"), {}, {}, {}},
                    kDomaci);
    }
    QString m_season;
    QString m_root;
    std::unique_ptr<QProcess> m_server;
    int m_port = 0;
};

} // namespace

TEST_F(Upload, TheFirstUploadSendsTheWholeSiteAndARepublishOnlyWhatChangedLeavingTheHostsOwnFiles)
{
    StartServer();
    // The host's own files beside the site and in its folder.
    QDir().mkpath(m_root + QStringLiteral("/sezona"));
    for (const QString& own : {QStringLiteral("/sezona/logo.png"), QStringLiteral("/ine.html")}) {
        QFile f(m_root + own);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("vlastne");
    }
    int written = 0;
    ASSERT_EQ(Publish(Address(), &written).toStdString(), "");
    const QStringList site = QDir(m_root + QStringLiteral("/sezona")).entryList(QDir::Files);
    EXPECT_GT(written, 50);
    EXPECT_EQ(Received(), written + 1); // and the list of the files
    EXPECT_TRUE(site.contains(QStringLiteral("index.html")));
    EXPECT_TRUE(OnServer(QStringLiteral("index.html")).contains("<html"));
    EXPECT_FALSE(QDir(m_root + QStringLiteral("/sezona")).entryList({QStringLiteral("*.mirak-novy")}).size());
    EXPECT_FALSE(OnServer(kZoznamWebu).isEmpty());

    // A week later, unchanged: nothing is sent.
    QFile::remove(Path(QStringLiteral("nahrate.log")));
    ASSERT_EQ(Publish(Address(), &written).toStdString(), "");
    EXPECT_EQ(written, 0);
    EXPECT_EQ(Received(), 0);

    // One result: only the pages and calendars that show it, and the list.
    TypeResult("5");
    ASSERT_EQ(Publish(Address(), &written).toStdString(), "");
    EXPECT_GT(written, 0);
    EXPECT_LE(written, 16);
    EXPECT_EQ(Received(), written + 1);
    EXPECT_TRUE(OnServer(QStringLiteral("sutaz-1-vysledky.html")).contains("5"));
    EXPECT_EQ(OnServer(QStringLiteral("logo.png")), QByteArray("vlastne"));
    QFile outside(m_root + QStringLiteral("/ine.html"));
    ASSERT_TRUE(outside.open(QIODevice::ReadOnly));
    EXPECT_EQ(outside.readAll(), QByteArray("vlastne"));

    // Somebody edits a page on the host; the next result would change it: it is left as he made it and
    // named, the other pages go up.
    QFile edited(m_root + QStringLiteral("/sezona/sutaz-1-vysledky.html"));
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("<!-- opravene rucne -->");
    edited.close();
    const QByteArray hand = OnServer(QStringLiteral("sutaz-1-vysledky.html"));
    TypeResult("6");
    QStringList left;
    ASSERT_EQ(Publish(Address(), &written, &left).toStdString(), "");
    EXPECT_EQ(left, QStringList{QStringLiteral("sutaz-1-vysledky.html")});
    EXPECT_EQ(OnServer(QStringLiteral("sutaz-1-vysledky.html")), hand);
    EXPECT_GT(written, 0);
    EXPECT_TRUE(OnServer(QStringLiteral("sutaz-1.ics")).contains("Výsledok 6 : 1"));
    // And the next time too, until he removes it.
    ASSERT_EQ(Publish(Address(), &written, &left).toStdString(), "");
    EXPECT_EQ(left, QStringList{QStringLiteral("sutaz-1-vysledky.html")});
    EXPECT_EQ(written, 0);
}

TEST_F(Upload, AHostThatListsItsFolderOnlyAsLsDoesStillShowsAPageEditedByHand)
{
    // vsftpd has no MLSD: the sizes come from LIST.
    StartServer(QStringLiteral("nomlsd"));
    ASSERT_EQ(Publish(Address()).toStdString(), "");
    QFile edited(m_root + QStringLiteral("/sezona/sutaz-1-tabulka.html"));
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("<!-- opravene rucne -->");
    edited.close();
    const QByteArray hand = OnServer(QStringLiteral("sutaz-1-tabulka.html"));
    m_doc.Database().Execute(QStringLiteral("update tsezona set zvaz='Nový zväz'"));
    int written = 0;
    QStringList left;
    ASSERT_EQ(Publish(Address(), &written, &left).toStdString(), "");
    EXPECT_EQ(left, QStringList{QStringLiteral("sutaz-1-tabulka.html")});
    EXPECT_EQ(OnServer(QStringLiteral("sutaz-1-tabulka.html")), hand);
    EXPECT_TRUE(OnServer(QStringLiteral("index.html")).contains("Nový zväz"));
    EXPECT_GT(written, 20);
}

TEST_F(Upload, AWrongPasswordAFullDiskAndACutConnectionAreToldAndTheSiteStaysReadable)
{
    StartServer();
    ASSERT_EQ(Publish(Address()).toStdString(), "");
    const QByteArray index = OnServer(QStringLiteral("index.html"));

    const QString denied = Publish(Address(QStringLiteral("ftp"), QStringLiteral("zle")));
    EXPECT_TRUE(denied.contains(QStringLiteral("odmietol prihlásenie"))) << denied.toStdString();
    EXPECT_FALSE(denied.contains(QStringLiteral("zle"))) << "the password is never shown";

    // Every page changes (a new association name): the disk fills after three files.
    m_doc.Database().Execute(QStringLiteral("update tsezona set zvaz='Nový zväz'"));
    StartServer(QStringLiteral("full"), 3);
    const QString full = Publish(Address());
    EXPECT_TRUE(full.contains(QStringLiteral("nepodarilo zapísať"))) << full.toStdString();
    EXPECT_TRUE(full.contains(QStringLiteral(".html")) || full.contains(QStringLiteral(".ics")));
    EXPECT_EQ(OnServer(QStringLiteral("index.html")), index);

    StartServer(QStringLiteral("cut"), 3);
    EXPECT_FALSE(Publish(Address()).isEmpty());
    EXPECT_EQ(OnServer(QStringLiteral("index.html")), index);

    // Back to normal, the next publishing completes the site.
    StartServer();
    ASSERT_EQ(Publish(Address()).toStdString(), "");
    EXPECT_TRUE(OnServer(QStringLiteral("index.html")).contains("Nový zväz"));
}

TEST_F(Upload, AHostOverTlsWhoseCertificateIsNotTrustedIsRefusedBeforeAnythingIsSent)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                   Path(QStringLiteral("key.pem")), QStringLiteral("-out"), Path(QStringLiteral("cert.pem")),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1")});
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    StartServer(QStringLiteral("tls"));
    const QString untrusted = Publish(Address(QStringLiteral("ftps")));
    EXPECT_TRUE(untrusted.contains(QStringLiteral("certifikát"))) << untrusted.toStdString();
    EXPECT_FALSE(untrusted.contains(QStringLiteral("tajne")));
    EXPECT_EQ(Received(), 0);
    EXPECT_FALSE(QDir(m_root + QStringLiteral("/sezona")).exists());
}
