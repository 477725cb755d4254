// Spreadsheet tables and calendars as other programs read them: quoting, encodings and separators of
// CSV; folding, escaping and line ends of iCalendar.

#include "output/csv.h"
#include "output/ical.h"
#include "output/kodovanie.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Csv, WritesWhatASlovakSpreadsheetOpensAndReadsItBackUnchanged)
{
    const QVector<QStringList> rows = {{QStringLiteral("Los"), QStringLiteral("Názov klubu")},
                                       {QStringLiteral("1"), QStringLiteral("TJ \"Sokol\"; Ďurčiná")},
                                       {QStringLiteral("2"), QStringLiteral("riadok\nďalší")},
                                       {QStringLiteral("-3"), QStringLiteral("=HYPERLINK(\"x\")")}};
    const QByteArray bytes = CsvBytes(rows);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains("1;\"TJ \"\"Sokol\"\"; \xC4\x8E"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4); // the line break inside a cell stays a bare LF
    // A formula is text for the spreadsheet; a negative number stays a number.
    EXPECT_TRUE(bytes.contains(";\"'=HYPERLINK"));
    EXPECT_TRUE(bytes.contains("\r\n-3;"));
    const CCsvSubor read = ReadCsv(bytes);
    ASSERT_TRUE(read.error.isEmpty());
    ASSERT_EQ(read.rows.size(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(read.rows.at(r).cells, rows.at(r)) << r;
    EXPECT_EQ(read.rows.at(3).line, 5); // the cell with a line break took two lines
}

TEST(Csv, ReadsWindows1250AndCommasAsSpreadsheetsSaveThem)
{
    const QByteArray bytes =
        DoWindows1250(QStringLiteral("Meno,Priezvisko\r\n\r\nĽuboš,\"Šťastný, ml.\"\r\n,,\r\n"));
    const CCsvSubor read = ReadCsv(bytes);
    ASSERT_TRUE(read.error.isEmpty());
    ASSERT_EQ(read.rows.size(), 2); // empty rows are left out
    EXPECT_EQ(read.rows.at(1).cells, (QStringList{"Ľuboš", "Šťastný, ml."}));
    EXPECT_EQ(read.rows.at(1).line, 3);
    EXPECT_EQ(CsvColumn(read.rows.at(0).cells, {QStringLiteral("PRIEZVISKO")}), 1);
    EXPECT_EQ(CsvColumn({QStringLiteral("#"), QStringLiteral("R.C.")}, {QStringLiteral("r. č.")}), 1);
    // A quote left open is an error, not a swallowed file.
    const CCsvSubor open = ReadCsv("a;b\n1;\"open\n2;3\n");
    EXPECT_TRUE(open.rows.isEmpty());
    EXPECT_EQ(open.error, QStringLiteral("Riadok 2: úvodzovky sa do konca súboru nezatvárajú."));
}

TEST(Csv, TheEncodingIsTheWholeFilesAndAFileThatMixesTwoIsRefusedAtItsLine)
{
    const QString text = QStringLiteral("Meno;Priezvisko\r\nĽuboš;Šťastný\r\nJán;Žilinský\r\n");
    // UTF-16 with its mark either way round, and without a mark as spreadsheets save "Unicode text".
    QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2), bare;
    for (const QChar c : text) {
        le.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
        be.append(static_cast<char>(c.unicode() >> 8)).append(static_cast<char>(c.unicode() & 0xFF));
        bare.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    }
    for (const QByteArray& bytes : {text.toUtf8(), DoWindows1250(text), le, be, bare}) {
        const CCsvSubor read = ReadCsv(bytes);
        ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        ASSERT_EQ(read.rows.size(), 3);
        EXPECT_EQ(read.rows.at(2).cells, (QStringList{"Ján", "Žilinský"}));
    }
    // Line 2 in UTF-8, line 3 in Windows-1250: no encoding reads both, so nothing is read.
    const QByteArray mixed = "Meno;Priezvisko\r\n" + QStringLiteral("Ľuboš;Šťastný\r\n").toUtf8() +
                             DoWindows1250(QStringLiteral("Ján;Žilinský\r\n"));
    const CCsvSubor refused = ReadCsv(mixed);
    EXPECT_TRUE(refused.rows.isEmpty());
    EXPECT_TRUE(refused.error.startsWith(QStringLiteral("Riadok 3: text nie je v kódovaní UTF-8")))
        << refused.error.toStdString();
    // Control characters are not text.
    const CCsvSubor nul = ReadCsv(QByteArray("Meno;Priezvisko\r\nJán;No\0vák\r\n", 29));
    EXPECT_TRUE(nul.rows.isEmpty());
    EXPECT_TRUE(nul.error.startsWith(QStringLiteral("Riadok 2: v texte je riadiaci znak (kód 00)")))
        << nul.error.toStdString();
    EXPECT_TRUE(ReadCsv("Meno\r\n\x1b[31m\r\n").error.startsWith(QStringLiteral("Riadok 2:")));
    // A tab-separated file reads.
    EXPECT_EQ(ReadCsv("Meno\tPriezvisko\nJ\xC3\xA1n\tNov\xC3\xA1k\n").rows.at(1).cells,
              (QStringList{"Ján", "Novák"}));
}

TEST(Csv, AHeaderTwiceAndTooLongOrSeveralLineTextsAreToldByName)
{
    EXPECT_EQ(CsvHeaderProblem(ReadCsv("Meno;Priezvisko;MENO\r\na;b;c\r\n")),
              QStringLiteral("Stĺpec „MENO“ je v prvom riadku súboru dvakrát; nechajte ho len raz."));
    EXPECT_TRUE(CsvHeaderProblem(ReadCsv("Meno;Priezvisko\r\na;b\r\nMeno;Priezvisko\r\nc;d\r\n"))
                    .startsWith(QStringLiteral("Riadok 3: opakuje sa hlavička súboru")));
    EXPECT_TRUE(CsvHeaderProblem(ReadCsv("Meno;Priezvisko\r\na;b\r\n")).isEmpty());
    EXPECT_EQ(CsvCellProblem(QStringLiteral("Meno"), QString(256, QLatin1Char('a')), 255),
              QStringLiteral("text v stĺpci „Meno“ má 256 znakov, uloží sa ich najviac 255."));
    EXPECT_FALSE(CsvCellProblem(QStringLiteral("Meno"), QStringLiteral("a\nb"), 255).isEmpty());
    EXPECT_TRUE(CsvCellProblem(QStringLiteral("Poznámka"), QStringLiteral("a\nb"), 255, true).isEmpty());
}

TEST(Csv, EveryCellASpreadsheetWouldRunIsWrittenAsTextAndNumbersStayNumbers)
{
    const QStringList cells = {QStringLiteral("=1+1"), QStringLiteral("+1+cmd|' /C calc'!A0"),
                               QStringLiteral("-2+3"), QStringLiteral("@SUM(A1)"),
                               QStringLiteral("\tx"),  QStringLiteral("\rx")};
    const QString written = QString::fromUtf8(CsvBytes({cells}).mid(3));
    for (const QString& cell : written.left(written.size() - 2).split(QLatin1Char(';')))
        EXPECT_TRUE(cell.startsWith(QStringLiteral("'")) || cell.startsWith(QStringLiteral("\"'")))
            << cell.toStdString();
    EXPECT_EQ(QString::fromUtf8(CsvBytes({{QStringLiteral("-3"), QStringLiteral("+1"), QStringLiteral("2,5"),
                                           QStringLiteral("-")}})
                                    .mid(3)),
              QStringLiteral("-3;+1;2,5;-\r\n"));
    // Read back as typed.
    EXPECT_EQ(ReadCsv(CsvBytes({cells})).rows.at(0).cells, cells);
}

TEST(Csv, AnImportReadsOnlyAnOrdinaryFileOfAtMostTwentyMegabytes)
{
    QTemporaryDir dir;
    const CSuborNaDovoz device = ReadImportFile(QStringLiteral("/dev/zero"));
    EXPECT_TRUE(device.bytes.isEmpty());
    EXPECT_TRUE(device.error.contains(QStringLiteral("nie je súbor"))) << device.error.toStdString();
    QFile big(dir.filePath(QStringLiteral("velky.csv")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kNajvacsiSuborCsv + 1));
    big.close();
    const CSuborNaDovoz tooBig = ReadImportFile(big.fileName());
    EXPECT_TRUE(tooBig.bytes.isEmpty());
    EXPECT_TRUE(tooBig.error.contains(QStringLiteral("najviac 20 MB"))) << tooBig.error.toStdString();
    EXPECT_TRUE(
        ReadImportFile(dir.filePath(QStringLiteral("nie.csv"))).error.contains(QStringLiteral("neexistuje")));
}

TEST(ICalendar, LinesAreFoldedAt75OctetsWithoutSplittingALetterAndTextsEscaped)
{
    EXPECT_EQ(IcalText(QStringLiteral("a;b,c\\d\ne")), QStringLiteral("a\\;b\\,c\\\\d\\ne"));
    const QString summary = QStringLiteral("SUMMARY:") + QStringLiteral("Ďurčiná – Šaštín ").repeated(8);
    const QByteArray folded = FoldedLine(summary);
    QByteArray unfolded;
    for (const QByteArray& line : folded.split('\n')) {
        if (line.isEmpty())
            continue;
        ASSERT_TRUE(line.endsWith('\r'));
        EXPECT_LE(line.size() - 1, 75);
        const QByteArray content = line.left(line.size() - 1);
        // Every piece is whole UTF-8 on its own.
        EXPECT_EQ(QString::fromUtf8(content).toUtf8(), content);
        unfolded += unfolded.isEmpty() ? content : content.mid(1);
    }
    EXPECT_EQ(QString::fromUtf8(unfolded), summary);
}

TEST(ICalendar, AMatchStartsAtItsBratislavaTimeInUtcAndADayWithoutHourIsAWholeDay)
{
    CUdalost match;
    match.uid = QStringLiteral("abc-7");
    // The last Sunday of October 2025: winter time again from 3:00.
    match.start = QDateTime(QDate(2025, 10, 26), QTime(14, 30), Qt::UTC);
    match.summary = QStringLiteral("Slovan – Inter");
    CUdalost day = match;
    day.uid = QStringLiteral("abc-8");
    day.allDay = true;
    CUdalost summer = match;
    summer.uid = QStringLiteral("abc-9");
    summer.start = QDateTime(QDate(2026, 3, 29), QTime(10, 15), Qt::UTC);
    summer.minutes = 105;
    summer.sequence = 2;
    summer.lastModified = QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC);
    const QString text = QString::fromUtf8(CalendarBytes(
        QStringLiteral("Súťaž"), {match, day, summer}, QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC)));
    EXPECT_TRUE(text.startsWith(QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("END:VCALENDAR\r\n")));
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
    EXPECT_TRUE(
        text.contains(QStringLiteral("UID:abc-7\r\nDTSTAMP:20260101T120000Z\r\nDTSTART:20251026T133000Z\r\n"
                                     "DURATION:PT2H\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("DTSTART;VALUE=DATE:20251026\r\nDURATION:P1D\r\n")));
    // A revised event says so, and that it stands; one as first published says neither.
    // Its stamp is the revision's time, so that the calendar published again unchanged is the same file.
    EXPECT_TRUE(text.contains(QStringLiteral("UID:abc-9\r\nDTSTAMP:20260301T080000Z\r\nSEQUENCE:2\r\n"
                                             "LAST-MODIFIED:20260301T080000Z\r\nSTATUS:CONFIRMED\r\n"
                                             "DTSTART:20260329T081500Z\r\nDURATION:PT105M\r\n")));
    EXPECT_EQ(text.count(QStringLiteral("STATUS:")), 1);
    EXPECT_EQ(text.count(QStringLiteral("SEQUENCE:")), 1);
    EXPECT_EQ(text.count(QStringLiteral("BEGIN:VEVENT")), 3);
    // Around the changes of the clock.
    EXPECT_EQ(BratislavaToUtc(QDateTime(QDate(2026, 3, 29), QTime(1, 30), Qt::UTC)),
              QDateTime(QDate(2026, 3, 29), QTime(0, 30), Qt::UTC));
    EXPECT_EQ(BratislavaToUtc(QDateTime(QDate(2026, 3, 29), QTime(3, 30), Qt::UTC)),
              QDateTime(QDate(2026, 3, 29), QTime(1, 30), Qt::UTC));
    EXPECT_EQ(BratislavaToUtc(QDateTime(QDate(2026, 10, 25), QTime(1, 30), Qt::UTC)),
              QDateTime(QDate(2026, 10, 24), QTime(23, 30), Qt::UTC));
    EXPECT_EQ(BratislavaToUtc(QDateTime(QDate(2026, 10, 25), QTime(4, 0), Qt::UTC)),
              QDateTime(QDate(2026, 10, 25), QTime(3, 0), Qt::UTC));
}

} // namespace
