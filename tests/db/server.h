#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A PostgreSQL cluster of the test's own: initdb into a temporary folder and the server listening
// only on a socket in it; run as "nobody" when the tests run as root (the server refuses root).
// Stopped and removed when it goes.
class CTestovaciServer
{
public:
    // `durable`: the server syncs every commit to disk as a real one does (benchmarks); the tests' own
    // cluster does not, for speed.
    explicit CTestovaciServer(bool durable = false);
    ~CTestovaciServer();
    // Empty when the cluster runs; else why it does not.
    const QString& Problem() const { return m_problem; }
    // The address of `season` in the cluster's database "mirak".
    QString Address(const QString& season) const;
    // The database's address without a season.
    QString DatabaseAddress() const;
    // Stops the server at once (as a crash would) and starts it again.
    void Stop();
    bool Start();
    // Runs SQL with psql as the cluster's superuser (or `login`); what it writes, errors too.
    QString Psql(const QString& sql, const QString& login = {}) const;
    // The address of `season` for another login.
    QString Address(const QString& season, const QString& login) const;
    // How long one run of `sql`, committed by itself, takes on the server by pgbench's measure (ms).
    double Latency(const QString& sql, int times) const;

private:
    QStringList AsOwner(const QString& program, const QStringList& arguments) const;
    bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    QString m_problem;
    bool m_asNobody = false;
    bool m_durable = false;
};

// The season file put onto the shared cluster under the running test's name; its address.
QString UploadedForTest(const QString& file);

// One cluster for a whole test program, started at its first use (durable when asked the first time).
CTestovaciServer& SharedServer(bool durable = false);
