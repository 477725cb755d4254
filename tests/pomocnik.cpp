#include "pomocnik.h"

#include "db/CDatabaza.h"
#include "db/schema.h"
#include "demo/ukazka.h"

#include <QLocale>
#include <QProcess>
#include <QRegularExpression>

void SeasonTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    // The tests run with the C locale, where the program speaks Slovak.
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
}

QString SeasonTest::Path(const QString& name) const
{
    return m_dir.filePath(name);
}

QString SeasonTest::NewSeason(const QString& name)
{
    const QString path = Path(name);
    CreateNewSeasonFile(path);
    return path;
}

void SeasonTest::OpenNew(const QString& name)
{
    const QString path = NewSeason(name);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join(QStringLiteral("\n")).toStdString();
}

QString SeasonTest::OpenSmallDemo()
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 6, 12);
    return m_doc.OpenSeasonFile(path) ? path : QString();
}

QString SeasonTest::NewDemoSeason(const QString& name, int competitions, int clubs, int players)
{
    const QString path = Path(name);
    CParametreUkazky p;
    p.competitions = competitions;
    p.clubs = clubs;
    p.players = players;
    CreateDemoSeason(path, p);
    return path;
}

int AddCompetition(CDatabaza& db, const QString& name)
{
    db.Execute(QStringLiteral("insert into tsutaze (nazov) values (?)"), {name});
    return static_cast<int>(db.LastInsertId());
}

int AddClub(CDatabaza& db, int competition, const QString& name, int drawNumber)
{
    db.Execute(QStringLiteral("insert into tkluby (nazov, skupina, vylosovanie) values (?, ?, ?)"),
               {name, competition, drawNumber});
    return static_cast<int>(db.LastInsertId());
}

int AddMatch(CDatabaza& db, int competition, int round, int home, int away, int score1, int score2)
{
    db.Execute(QStringLiteral(
                   "insert into tzapasy (skupina, kolo, klub1, klub2, body1, body2) values (?,?,?,?,?,?)"),
               {competition, round, home, away, score1, score2});
    return static_cast<int>(db.LastInsertId());
}

QVector<CStranaPdf> PdfWords(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QVector<CStranaPdf> pages;
    static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    qsizetype at = 0;
    while (true) {
        const QRegularExpressionMatch pm = page.match(html, at);
        if (!pm.hasMatch())
            break;
        CStranaPdf sheet;
        sheet.size = QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
        const qsizetype end = html.indexOf(QStringLiteral("</page>"), pm.capturedEnd());
        auto it = word.globalMatch(html.mid(pm.capturedEnd(), end - pm.capturedEnd()));
        while (it.hasNext()) {
            const QRegularExpressionMatch w = it.next();
            sheet.words.append({QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                                       QPointF(w.captured(3).toDouble(), w.captured(4).toDouble())),
                                w.captured(5)
                                    .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                                    .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                                    .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                                    .replace(QStringLiteral("&quot;"), QStringLiteral("\""))});
        }
        pages.append(sheet);
        at = end;
    }
    return pages;
}

QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
