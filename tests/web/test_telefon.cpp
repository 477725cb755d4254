// The published site as a phone shows it: every page opened in headless Chromium at 360 and 390 px wide,
// measured by the browser itself, not by reading the markup.

#include "db/CDatabaza.h"
#include "db/kody.h"
#include "pomocnik.h"
#include "web/sajt.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// Opens each page in a frame of the phone's width and says what a reader would have to swipe for: the
// page wider than the screen, a table wider than its box (the standings and their columns after the
// points excepted), the standings' points out of sight, table text smaller than 16 px.
const char* kMeranie = R"(<!DOCTYPE html><html><body><pre id="out"></pre>
<iframe id="f" style="border:0;width:%1px;height:700px"></iframe><script>
const pages = %2; const width = %1; let i = 0; const res = [];
const f = document.getElementById('f');
f.onload = () => {
  const d = f.contentDocument; const w = d.documentElement.scrollWidth; const faults = [];
  if (w > width) faults.push('page ' + w);
  d.querySelectorAll('.tab').forEach(t => {
    const table = t.querySelector('table');
    if (table && table.className !== 't-tab' && t.scrollWidth > t.clientWidth + 1)
      faults.push('table ' + (table.className || 'bez triedy') + ' ' + t.scrollWidth);
    if (table && table.className === 't-tab') {
      const points = table.querySelector('th:nth-child(4)');
      if (points.textContent !== 'Body' || points.getBoundingClientRect().right > width)
        faults.push('body ' + points.textContent + ' ' + points.getBoundingClientRect().right);
    }
  });
  // A caption squeezed into a column reads a letter per line.
  d.querySelectorAll('caption').forEach(c => {
    if (c.getBoundingClientRect().width < Math.min(width - 40, c.textContent.length * 6))
      faults.push('caption ' + c.getBoundingClientRect().width);
  });
  d.querySelectorAll('td').forEach(td => {
    if (td.offsetParent !== null && parseFloat(getComputedStyle(td).fontSize) < 16) faults.push('small');
  });
  res.push(pages[i] + '\t' + [...new Set(faults)].join(', '));
  i++;
  if (i < pages.length) f.src = 'site/' + pages[i];
  else document.getElementById('out').textContent = res.join('\n') + '\nKONIEC';
};
f.src = 'site/' + pages[0];
</script></body></html>)";

class Phone : public SeasonTest
{
};

TEST_F(Phone, NoPageOfTheSiteNeedsASidewaysSwipeAt360Or390PxAndTheStandingsKeepThePointsInSight)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    ASSERT_FALSE(chromium.isEmpty()) << "Chromium is missing: scripts/setup-debian.sh installs it.";
    const QString season = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 10, 14);
    ASSERT_TRUE(m_doc.OpenSeasonFile(season));
    CDatabaza& db = m_doc.Database();
    // The longest names a season has, a postponed match without a day and a note under a result.
    db.Execute(
        QStringLiteral("update tkluby set nazov='Telovýchovná jednota Družstevník Zemianske Sady-Kostoľany' "
                       "where ID=(select min(ID) from tkluby)"));
    db.Execute(
        QStringLiteral("update tzapasy set body1=?, body2=?, cas=? where ID=(select max(ID) from tzapasy "
                       "where skupina=1 and klub1<>0 and klub2<>0)"),
        {kBezVysledku, kBezVysledku, DatumNaUlozenie(ZiadnyDatum())});
    db.Execute(
        QStringLiteral("update tzapasy set poznamka='Zápas prerušený v 70. minúte pre búrku, dohrávka "
                       "podľa rozhodnutia ŠTK' where ID=(select min(ID) from tzapasy where klub1<>0)"));
    const QString site = Path(QStringLiteral("site"));
    ASSERT_EQ(
        PublishSeason(db, m_doc.StopRounds(), site, season, QDateTime::currentDateTimeUtc()).toStdString(),
        "");
    const QStringList pages = QDir(site).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_GT(pages.size(), 40);

    for (const int width : {360, 390}) {
        const QString harness = Path(QStringLiteral("meranie-%1.html").arg(width));
        QFile out(harness);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QString::fromLatin1(kMeranie)
                      .arg(width)
                      .arg(QString::fromUtf8(
                          QJsonDocument(QJsonArray::fromStringList(pages)).toJson(QJsonDocument::Compact)))
                      .toUtf8());
        out.close();
        QProcess browser;
        browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                 QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
                                 QStringLiteral("--disable-background-networking"),
                                 QStringLiteral("--disable-component-update"),
                                 QStringLiteral("--disable-sync"), QStringLiteral("--hide-scrollbars"),
                                 QStringLiteral("--user-data-dir=") + Path(QStringLiteral("chromium")),
                                 QStringLiteral("--allow-file-access-from-files"),
                                 QStringLiteral("--virtual-time-budget=120000"), QStringLiteral("--dump-dom"),
                                 QStringLiteral("file://") + harness});
        ASSERT_TRUE(browser.waitForFinished(180000));
        const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("<pre id=\"out\">(.*)\\nKONIEC</pre>"),
                               QRegularExpression::DotMatchesEverythingOption)
                .match(dom);
        ASSERT_TRUE(m.hasMatch()) << width << " px: " << dom.left(600).toStdString()
                                  << browser.readAllStandardError().left(600).toStdString();
        const QStringList lines = m.captured(1).split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), pages.size()) << width;
        for (const QString& line : lines)
            EXPECT_TRUE(line.endsWith(QLatin1Char('\t'))) << width << " px: " << line.toStdString();
    }
}

} // namespace
