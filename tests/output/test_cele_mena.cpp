// Seasons of 6 to 40 clubs, one of them played four times, whose clubs have names of 60 characters,
// matches and officials notes of 100 and clubs sanctions of 300: every list printed to PDF and read
// back by poppler. Every name, note and sanction is on the paper whole, no word stands outside the
// paper or over another, and no data text is smaller than 7 pt.

#include "cli/vystupy.h"
#include "competition/rozpis.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "output/CQtPlocha.h"
#include "pomocnik.h"
#include "results/prepocet.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// pdftotext gives a word's box the height of its font's ascent and descent: 1.117 of the size for the
// printouts' sans serif, 7.8 pt for 7 pt text.
constexpr double kVyskaSlovaPriSiedmichBodoch = 7.0 * 1.11;

// Every text the test makes long ends in its own mark ("K12q" a club, "Z40" a match's result note,
// "N38" a scheduled match's note, "T7" a sanction, "R3" an official's note): the mark stands for the
// whole text, and a text that lost its end has lost its mark.
const QRegularExpression kZnacka(QStringLiteral("^(K\\d+q|[ZNTR]\\d+)$"));

// A text as words the way they may be printed: a word with hyphens may be broken after any of them.
QStringList Pieces(const QString& text)
{
    QStringList out;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        qsizetype from = 0;
        for (qsizetype i = 0; i < word.size(); ++i)
            if (word.at(i) == QLatin1Char('-') && i + 1 < word.size()) {
                out << word.mid(from, i + 1 - from);
                from = i + 1;
            }
        out << word.mid(from);
    }
    return out;
}

class LongTexts : public SeasonTest
{
protected:
    // The demo season of one competition, its texts made as long as the program keeps them.
    void MakeSeason(int clubs, bool fourTimes)
    {
        const QString path = NewDemoSeason(QStringLiteral("dlhe-%1.mdb").arg(clubs), 1, clubs, 12);
        ASSERT_TRUE(m_doc.OpenSeasonFile(path));
        CDatabaza& db = m_doc.Database();
        if (fourTimes) {
            // The two rounds of the season again, home and away swapped, a year later: the
            // matches with their results, goals, cards and nominations.
            const int last = db.Value(QStringLiteral("select max(ID) from tzapasy")).toInt();
            const int rounds = db.Value(QStringLiteral("select max(kolo) from tzapasy")).toInt();
            ASSERT_EQ(db.Value(QStringLiteral("select min(ID) from tzapasy")).toInt(), 1);
            db.Execute(QStringLiteral(
                           "insert into tzapasy (skupina,kolo,klub1,klub2,los1,los2,cas,body1,body2,polcas1,"
                           "polcas2) select skupina,kolo+?,klub2,klub1,los2,los1,datetime(cas,'+1 year'),"
                           "body2,body1,polcas2,polcas1 from tzapasy order by ID"),
                       {rounds});
            for (const char* table : {"tzkarty", "tckarty", "tgoly"})
                db.Execute(QStringLiteral("insert into %1 (IDzapasu,IDhraca,IDklubu,kolo,skupina) select "
                                          "IDzapasu+?,IDhraca,IDklubu,kolo+?,skupina from %1")
                               .arg(QLatin1String(table)),
                           {last, rounds});
            db.Execute(QStringLiteral("insert into tnominacie (IDzapasu,IDrozhodcu,funkcia,znamka) select "
                                      "IDzapasu+?,IDrozhodcu,funkcia,znamka from tnominacie"),
                       {last});
            RecalculateCompetition(db, 1);
        }
        const auto fill = [&](const QString& table, const QString& column, const QString& mark,
                              const QString& sentence, int length, const QString& which) {
            db.Execute(QStringLiteral("update %1 set %2 = substr(replace(hex(zeroblob(20)), '00', ?), 1, "
                                      "%3 - length(?||ID)) || ?||ID where %4")
                           .arg(table, column)
                           .arg(length - 1)
                           .arg(which),
                       {sentence + QLatin1Char(' '), mark, QStringLiteral(" ") + mark});
        };
        // The demo's own notes and sanctions give way to the long ones.
        db.Execute(QStringLiteral("update tzapasy set poznamka='', poznamka2=''"));
        db.Execute(QStringLiteral("update tbody set trest=''"));
        db.Execute(QStringLiteral("update trozhodci set pozn=''"));
        db.Execute(QStringLiteral("update tkluby set nazov = substr(?, 1, 59 - length('K'||ID||'q')) || ' K' "
                                  "|| ID || 'q'"),
                   {QStringLiteral("Telovýchovná jednota Družstevník Horné Zálužie nad Ondavou a Topľou")});
        fill(QStringLiteral("tzapasy"), QStringLiteral("poznamka"), QStringLiteral("Z"),
             QStringLiteral("Zápas sa odohrá na náhradnom ihrisku s umelou trávou, vstup bránou zo severu."),
             100, QStringLiteral("ID % 7 = 0"));
        fill(QStringLiteral("tzapasy"), QStringLiteral("poznamka2"), QStringLiteral("N"),
             QStringLiteral("Odložený zápas, nový termín určí športovo-technická komisia v utorok."), 100,
             QStringLiteral("ID % 7 = 3"));
        fill(QStringLiteral("tbody"), QStringLiteral("trest"), QStringLiteral("T"),
             QStringLiteral("Disciplinárna komisia udelila pokutu a odpočet bodov za neoprávnený štart."),
             300, QStringLiteral("ID % 5 = 0"));
        db.Execute(QStringLiteral("update tbody set btrest = 3 where ID % 5 = 0"));
        fill(QStringLiteral("trozhodci"), QStringLiteral("pozn"), QStringLiteral("R"),
             QStringLiteral("Rozhodca nominovať len na zápasy v okrese, nie v stredu večer."), 100,
             QStringLiteral("ID % 3 = 0"));
        db.Execute(
            QStringLiteral("update thraci set meno=?, priezvisko=? where ID % 9 = 0"),
            {QStringLiteral("Maximilián Alexander"), QStringLiteral("Šťastný-Ďurovčík-Novák-Kováčik")});
        db.Execute(QStringLiteral("update trozhodci set priezvisko=? where ID % 4 = 0"),
                   {QStringLiteral("Šťastný-Ďurovčík-Nováková-Kráľová")});

        m_texts.clear();
        const auto read = [&](const QString& sql, const QString& mark) {
            CPrikaz q(db, sql);
            while (q.Step())
                m_texts.insert(mark.arg(q.Int64(0)), q.Text(1));
        };
        read(QStringLiteral("select ID, nazov from tkluby"), QStringLiteral("K%1q"));
        read(QStringLiteral("select ID, poznamka from tzapasy where poznamka<>''"), QStringLiteral("Z%1"));
        read(QStringLiteral("select ID, poznamka2 from tzapasy where poznamka2<>''"), QStringLiteral("N%1"));
        read(QStringLiteral("select ID, trest from tbody where trest<>''"), QStringLiteral("T%1"));
        read(QStringLiteral("select ID, pozn from trozhodci where pozn<>''"), QStringLiteral("R%1"));
        for (auto it = m_texts.constBegin(); it != m_texts.constEnd(); ++it) {
            ASSERT_TRUE(it.value().endsWith(QLatin1Char(' ') + it.key()))
                << it.key().toStdString() << ": " << it.value().toStdString();
        }
    }

    QStringList Marks(const QString& sql)
    {
        QStringList out;
        CPrikaz q(m_doc.Database(), sql);
        while (q.Step())
            out << q.Text(0);
        return out;
    }

    // Prints the list to PDF and reads it back; `mustShow` are the marks of texts the list has to hold.
    void CheckList(const QString& list, const std::string& season, const QStringList& mustShow)
    {
        const std::string what = season + " " + list.toStdString();
        CDatabaza& db = m_doc.Database();
        CVyber v;
        const CVystupZoznamu output = Outputs().value(list);
        if (output.perCompetition)
            v.competition = 1;
        v.thresholds = m_doc.StopRounds();
        if (list == QStringLiteral("zk-stop") || list == QStringLiteral("nesmu-hrat"))
            v.round = db.Value(QStringLiteral("select max(kolo) from tzapasy where body1<100")).toInt();
        const QString pdf = Path(QStringLiteral("%1.pdf").arg(list));
        auto printout = output.printout(db, v);
        ASSERT_TRUE(WritePdf(*printout, pdf).isEmpty()) << what;
        const QVector<CStranaPdf> pages = PdfWords(pdf);
        ASSERT_FALSE(pages.isEmpty()) << what << ": pdftotext (poppler-utils) is needed";

        QSet<QString> shown;
        for (int p = 0; p < pages.size(); ++p) {
            const std::string where = what + " page " + std::to_string(p + 1);
            const CStranaPdf& page = pages.at(p);
            const QRectF paper(QPointF(0, 0), page.size);
            QVector<CSlovoPdf> words = page.words;
            std::sort(words.begin(), words.end(),
                      [](const CSlovoPdf& a, const CSlovoPdf& b) { return a.box.top() < b.box.top(); });
            QHash<QString, int> found, expected;
            for (int i = 0; i < words.size(); ++i) {
                const CSlovoPdf& w = words.at(i);
                EXPECT_TRUE(paper.contains(w.box))
                    << where << ": " << w.text.toStdString() << " off the paper";
                EXPECT_FALSE(w.text.contains(QChar(0x2026))) << where << ": " << w.text.toStdString();
                for (int j = i + 1; j < words.size() && words.at(j).box.top() < w.box.bottom(); ++j) {
                    const QRectF overlap = w.box.intersected(words.at(j).box);
                    EXPECT_FALSE(overlap.width() > 0.5 && overlap.height() > 1.0)
                        << where << ": " << w.text.toStdString() << " over "
                        << words.at(j).text.toStdString();
                }
                for (const QString& piece : Pieces(w.text))
                    ++found[piece];
                if (kZnacka.match(w.text).hasMatch() && m_texts.contains(w.text)) {
                    shown.insert(w.text);
                    EXPECT_GE(w.box.height(), kVyskaSlovaPriSiedmichBodoch)
                        << where << ": " << w.text.toStdString() << " smaller than 7 pt";
                    for (const QString& piece : Pieces(m_texts.value(w.text)))
                        ++expected[piece];
                }
            }
            // Every word of each text whose mark is on the page is there too.
            for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
                EXPECT_GE(found.value(it.key()), it.value())
                    << where << ": \"" << it.key().toStdString() << "\"";
        }
        for (const QString& mark : mustShow)
            EXPECT_TRUE(shown.contains(mark))
                << what << ": " << m_texts.value(mark).toStdString() << " is not on the paper";
    }

    QHash<QString, QString> m_texts; // mark -> the whole text
};

TEST_F(LongTexts, EveryListOfEverySizeKeepsEveryNameNoteAndSanctionWhole)
{
    struct CVelkost
    {
        int clubs;
        bool fourTimes;
    };
    for (const CVelkost size :
         {CVelkost{6, false}, CVelkost{18, true}, CVelkost{30, false}, CVelkost{40, false}}) {
        const std::string season = std::to_string(size.clubs) + (size.fourTimes ? " x4" : "");
        MakeSeason(size.clubs, size.fourTimes);
        if (HasFatalFailure())
            return;
        const QStringList clubs = Marks(QStringLiteral("select 'K'||ID||'q' from tkluby"));
        const QStringList played = Marks(QStringLiteral(
            "select distinct 'K'||tkluby.ID||'q' from tkluby, tzkarty where tzkarty.IDklubu=tkluby.ID"));
        for (const QString& list : {QStringLiteral("kluby"), QStringLiteral("hraci"),
                                    QStringLiteral("tabulka"), QStringLiteral("zk")})
            CheckList(list, season,
                      list == QStringLiteral("tabulka")
                          ? clubs + Marks(QStringLiteral("select 'T'||ID from tbody where trest<>''"))
                      : list == QStringLiteral("zk") ? played
                                                     : clubs);
        CheckList(QStringLiteral("rozpis"), season,
                  clubs + Marks(QStringLiteral("select 'N'||ID from tzapasy where poznamka2<>''")));
        CheckList(QStringLiteral("vysledky"), season,
                  clubs + Marks(QStringLiteral("select 'Z'||ID from tzapasy where poznamka<>''")));
        CheckList(QStringLiteral("nominacie"), season,
                  clubs + Marks(QStringLiteral("select 'N'||ID from tzapasy where poznamka2<>''")));
        CheckList(QStringLiteral("rozhodcovia"), season,
                  Marks(QStringLiteral("select 'R'||ID from trozhodci where pozn<>'' and funkcia=1")));
        for (const QString& list :
             {QStringLiteral("strelci"), QStringLiteral("ck"), QStringLiteral("zk-stop"),
              QStringLiteral("nesmu-hrat"), QStringLiteral("delegati"), QStringLiteral("znamky")})
            CheckList(list, season, {});
    }
}

} // namespace
