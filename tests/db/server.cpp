#include "server.h"

#include "db/CDatabaza.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <unistd.h>

namespace {

QString FindBin()
{
    // Debian's own programs first: the server's version and its tools together.
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    const QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable())
            return bin;
    }
    for (const QString& dir : QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':')))
        if (QFileInfo(dir + QStringLiteral("/pg_ctl")).isExecutable() &&
            QFileInfo(dir + QStringLiteral("/createdb")).isExecutable())
            return dir;
    return {};
}

const QString kPouzivatel = QStringLiteral("mirak");

} // namespace

CTestovaciServer::CTestovaciServer(bool durable) : m_durable(durable)
{
    m_bin = FindBin();
    if (m_bin.isEmpty()) {
        m_problem = QStringLiteral("PostgreSQL (initdb, pg_ctl) is not installed: scripts/setup-debian.sh");
        return;
    }
    // A socket's path has a short limit: the folder is made right under /tmp.
    m_dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/mirak-pg-XXXXXX"));
    m_asNobody = ::geteuid() == 0;
    if (m_asNobody)
        QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther);
    QString output;
    if (!Run(m_bin + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-U"),
              kPouzivatel, QStringLiteral("--auth=trust"), QStringLiteral("--no-sync"),
              QStringLiteral("--encoding=UTF8"), QStringLiteral("--locale=C.UTF-8")},
             &output)) {
        m_problem = QStringLiteral("initdb failed: ") + output;
        return;
    }
    if (!Start())
        return;
    if (!Run(m_bin + QStringLiteral("/createdb"),
             {QStringLiteral("-h"), m_dir->path(), QStringLiteral("-U"), kPouzivatel, kPouzivatel}, &output))
        m_problem = QStringLiteral("createdb failed: ") + output;
}

CTestovaciServer::~CTestovaciServer()
{
    if (m_dir && !m_bin.isEmpty())
        Run(m_bin + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("stop")});
}

QStringList CTestovaciServer::AsOwner(const QString& program, const QStringList& arguments) const
{
    if (!m_asNobody)
        return QStringList{program} + arguments;
    return QStringList{QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("nobody"),
                       QStringLiteral("--"), program} +
           arguments;
}

bool CTestovaciServer::Run(const QString& program, const QStringList& arguments, QString* output) const
{
    QStringList command = AsOwner(program, arguments);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(m_dir ? m_dir->path() : QDir::tempPath());
    p.start(command.takeFirst(), command);
    p.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool CTestovaciServer::Start()
{
    QString output;
    if (!Run(m_bin + QStringLiteral("/pg_ctl"),
             {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-l"),
              m_dir->filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
              QStringLiteral("-k %1 -c listen_addresses=%2")
                  .arg(m_dir->path(), m_durable ? QString() : QStringLiteral(" -c fsync=off")),
              QStringLiteral("start")},
             &output)) {
        m_problem = QStringLiteral("pg_ctl start failed: ") + output;
        return false;
    }
    return true;
}

void CTestovaciServer::Stop()
{
    Run(m_bin + QStringLiteral("/pg_ctl"),
        {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-m"),
         QStringLiteral("immediate"), QStringLiteral("stop")});
}

QString CTestovaciServer::DatabaseAddress() const
{
    return QStringLiteral("postgresql://%1@%2/%1")
        .arg(kPouzivatel, QString::fromUtf8(QUrl::toPercentEncoding(m_dir->path())));
}

QString CTestovaciServer::Address(const QString& season) const
{
    return DatabaseAddress() + QStringLiteral("?sezona=") +
           QString::fromUtf8(QUrl::toPercentEncoding(season));
}

QString CTestovaciServer::Psql(const QString& sql, const QString& login) const
{
    QString output;
    Run(m_bin + QStringLiteral("/psql"),
        {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"), QStringLiteral("-t"),
         QStringLiteral("-h"), m_dir->path(), QStringLiteral("-U"), login.isEmpty() ? kPouzivatel : login,
         QStringLiteral("-d"), kPouzivatel, QStringLiteral("-c"), sql},
        &output);
    return output.trimmed();
}

QString CTestovaciServer::Address(const QString& season, const QString& login) const
{
    QString address = Address(season);
    return login.isEmpty() ? address
                           : address.replace(kPouzivatel + QLatin1Char('@'), login + QLatin1Char('@'));
}

double CTestovaciServer::Latency(const QString& sql, int times) const
{
    QFile script(m_dir->filePath(QStringLiteral("latency.sql")));
    if (!script.open(QIODevice::WriteOnly))
        return -1;
    script.write(sql.toUtf8() + ";\n");
    script.close();
    QString output;
    Run(m_bin + QStringLiteral("/pgbench"),
        {QStringLiteral("-n"), QStringLiteral("-f"), script.fileName(), QStringLiteral("-t"),
         QString::number(times), QStringLiteral("-h"), m_dir->path(), QStringLiteral("-U"), kPouzivatel,
         kPouzivatel},
        &output);
    static const QRegularExpression average(QStringLiteral("latency average = ([0-9.]+) ms"));
    const auto m = average.match(output);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

QString UploadedForTest(const QString& file)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString season = QString::fromLatin1(info->name()).right(60);
    CDatabaza db;
    db.Open(file);
    const QString address = SharedServer().Address(season);
    db.UploadTo(address);
    return address;
}

CTestovaciServer& SharedServer(bool durable)
{
    static CTestovaciServer server(durable);
    return server;
}
