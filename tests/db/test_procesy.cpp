// Two programs and one season file; a program killed in the middle of its work.

#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "pomocnik.h"

#include <QFileInfo>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Waits for a child; kills it when it has not ended after `seconds` (a hang guard, not a measure).
int WaitFor(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usleep(50000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -2;
}

class ProcessTest : public SeasonTest
{
};

TEST_F(ProcessTest, ASecondProgramIsRefusedAndTheFirstKeepsWorking)
{
    OpenNew();
    const int competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    const QString path = m_doc.FilePath();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CTestovaciPouzivatel user;
        CLigaroDoc other(user);
        const bool opened = other.OpenSeasonFile(path);
        const bool told =
            user.messages.size() == 1 && user.messages.at(0).contains(QStringLiteral("iný program"));
        _exit(opened ? 10 : (told ? 0 : 11));
    }
    EXPECT_EQ(WaitFor(child, 30), 0)
        << "10: opened the file in use, 11: refused without the message, -2: hung";

    // The first program reads and writes as before.
    CDatabaza& db = m_doc.Database();
    AddClub(db, competition, QStringLiteral("Slovan"), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tkluby")).toInt(), 1);
    EXPECT_TRUE(m_doc.IsDatabaseOpen());

    // Once it lets the file go, another program may open it.
    m_doc.CloseSeason();
    const pid_t later = fork();
    ASSERT_GE(later, 0);
    if (later == 0) {
        CTestovaciPouzivatel user;
        CLigaroDoc other(user);
        _exit(other.OpenSeasonFile(path) ? 0 : 1);
    }
    EXPECT_EQ(WaitFor(later, 30), 0);
}

TEST_F(ProcessTest, AProgramKilledWhileWritingLosesNoCommittedWrite)
{
    const QString path = NewSeason();
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        CTestovaciPouzivatel user;
        CLigaroDoc doc(user);
        if (!doc.OpenSeasonFile(path))
            _exit(1);
        CZaznamy rs(doc.Database());
        rs.Open(QStringLiteral("select * from tsutaze"));
        for (int i = 1;; ++i) {
            rs.AddNew();
            rs.SetFieldValue(QStringLiteral("nazov"), QStringLiteral("Zápis %1").arg(i));
            rs.Update();
            // Reported only once Update has returned, that is once the write is committed.
            if (write(pipeFds[1], &i, sizeof i) != sizeof i)
                _exit(2);
        }
    }
    close(pipeFds[1]);
    int last = 0;
    int value = 0;
    while (last < 150 && read(pipeFds[0], &value, sizeof value) == sizeof value)
        last = value;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    // Whatever was already in the pipe was committed too.
    while (read(pipeFds[0], &value, sizeof value) == sizeof value)
        last = value;
    close(pipeFds[0]);
    ASSERT_GE(last, 150);

    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join('\n').toStdString();
    CDatabaza& db = m_doc.Database();
    EXPECT_EQ(db.Value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    const int rows = db.Value(QStringLiteral("select count(*) from tsutaze")).toInt();
    EXPECT_GE(rows, last);
    for (int i = 1; i <= last; ++i)
        ASSERT_EQ(db.Value(QStringLiteral("select count(*) from tsutaze where nazov=?"),
                           {QStringLiteral("Zápis %1").arg(i)})
                      .toInt(),
                  1)
            << i;
}

} // namespace
