#include "publikovanie.h"

#include "app/vystupy.h"
#include "competition/kalendar.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/subory.h"
#include "discipline/karty.h"
#include "officials/rozhodcovia.h"
#include "output/CMyExport.h"
#include "output/kodovanie.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

struct COdkaz
{
    QString file;
    QString label;
};

// The lists of a competition on the site, by the names the command line gives them.
const QVector<QPair<QString, QString>> kZoznamySutaze = {
    {QStringLiteral("kluby"), QStringLiteral("Kluby")},
    {QStringLiteral("rozpis"), QStringLiteral("Rozpis")},
    {QStringLiteral("vysledky"), QStringLiteral("Výsledky")},
    {QStringLiteral("tabulka"), QStringLiteral("Tabuľka")},
    {QStringLiteral("strelci"), QStringLiteral("Strelci")},
    {QStringLiteral("zk"), QStringLiteral("Žlté karty")},
    {QStringLiteral("ck"), QStringLiteral("Červené karty")}};

const QVector<COdkaz> kStranyKomisie = {{QStringLiteral("nominacie.html"), QStringLiteral("Nominácie")},
                                        {QStringLiteral("rozhodcovia.html"), QStringLiteral("Rozhodcovia")},
                                        {QStringLiteral("delegati.html"), QStringLiteral("Delegáti")}};

QString Link(const COdkaz& link, const QString& current)
{
    if (link.file == current)
        return QStringLiteral("<b>%1</b>").arg(CMyExport::Escape(link.label));
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(link.file, CMyExport::Escape(link.label));
}

QString Links(const QVector<COdkaz>& links, const QString& current)
{
    QStringList out;
    for (const COdkaz& l : links)
        out << Link(l, current);
    return out.join(QStringLiteral(" | "));
}

QString Navigation(const QString& current, const QString& group, const QVector<COdkaz>& links)
{
    QString html = QStringLiteral("<p>") +
                   Link({QStringLiteral("index.html"), QStringLiteral("Prehľad sezóny")}, current);
    if (!group.isEmpty())
        html += QStringLiteral(" | <b>%1</b>: ").arg(CMyExport::Escape(group)) + Links(links, current);
    return html + QStringLiteral("</p>");
}

} // namespace

QByteArray WithNavigation(const QByteArray& page, const QString& navigationHtml)
{
    const QByteArray frame("<div>\r\n");
    const qsizetype at = page.indexOf(frame);
    if (at < 0)
        return page;
    QByteArray out = page;
    out.insert(at + frame.size(), DoWindows1250(navigationHtml + QStringLiteral("\r\n")));
    return out;
}

QVector<CSuborWebu> SiteFiles(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                              const CPriebehWebu& progress)
{
    const QVector<CSutaz> competitions = ReadCompetitions(db);
    int total = 1 + static_cast<int>(kStranyKomisie.size());
    QHash<int, QVector<CPolozkaKlubu>> clubs;
    for (const CSutaz& s : competitions) {
        clubs.insert(s.id, CompetitionClubs(db, s.id));
        total += static_cast<int>(kZoznamySutaze.size()) + 2 + 2 * static_cast<int>(clubs.value(s.id).size());
    }
    QVector<CSuborWebu> files;
    int done = 0;
    const auto step = [&] { return !progress || progress(++done, total); };

    // Every competition's pages first: the first page links only to what exists.
    QHash<int, QVector<COdkaz>> linksOf;
    for (const CSutaz& s : competitions) {
        QVector<QPair<COdkaz, QByteArray>> pages;
        CVyber v;
        v.competition = s.id;
        v.thresholds = thresholds;
        for (const auto& [key, label] : kZoznamySutaze) {
            const std::optional<CMyExport> page = Outputs().value(key).page(db, v);
            if (page)
                pages.append(
                    {{QStringLiteral("sutaz-%1-%2.html").arg(s.id).arg(key), label}, page->CopyText()});
            if (!step())
                return {};
        }
        if (const std::optional<int> round = NextRound(db, s.id))
            pages.append({{QStringLiteral("sutaz-%1-stop.html").arg(s.id),
                           QStringLiteral("Stop v %1. kole").arg(*round)},
                          ExportStopList(db, s.id, *round, thresholds).CopyText()});
        if (!step())
            return {};
        QVector<COdkaz> links;
        for (const auto& p : pages)
            links << p.first;
        links << COdkaz{QStringLiteral("sutaz-%1.ics").arg(s.id), QStringLiteral("Kalendár")};
        for (const auto& p : pages)
            files.append({p.first.file, WithNavigation(p.second, Navigation(p.first.file, s.nazov, links))});
        files.append({links.last().file, MatchCalendar(db, s.id, 0, stamp)});
        if (!step())
            return {};
        for (const CPolozkaKlubu& k : clubs.value(s.id)) {
            const QString page = QStringLiteral("klub-%1.html").arg(k.id);
            const QString calendar = QStringLiteral("klub-%1.ics").arg(k.id);
            QVector<COdkaz> clubLinks = links;
            clubLinks << COdkaz{calendar, QStringLiteral("Kalendár klubu")};
            files.append({page, WithNavigation(ExportClubMatches(db, k.id).CopyText(),
                                               Navigation(page, s.nazov, clubLinks))});
            files.append({calendar, MatchCalendar(db, 0, k.id, stamp)});
            if (!step() || !step())
                return {};
        }
        linksOf.insert(s.id, links);
    }

    // The committee's pages.
    CVyber all;
    all.thresholds = thresholds;
    const QVector<QByteArray> committee = {
        Outputs().value(QStringLiteral("nominacie")).page(db, all)->CopyText(),
        ExportOfficials(db, CRegister::Referees()).CopyText(),
        ExportOfficials(db, CRegister::Delegates()).CopyText()};
    for (int i = 0; i < committee.size(); ++i) {
        const COdkaz& l = kStranyKomisie.at(i);
        files.append(
            {l.file, WithNavigation(committee.at(i), Navigation(l.file, QStringLiteral("Komisia rozhodcov"),
                                                                kStranyKomisie))});
        if (!step())
            return {};
    }

    // The first page: every competition with its lists and clubs, then the committee.
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport index;
    index.BeginPage(season.AssociationLine(), season.SeasonLine(), QString());
    for (const CSutaz& s : competitions) {
        index.BeginTable(2, s.nazov);
        index.Cell(0, QStringLiteral("Zoznamy"), Zarovnanie::Vlavo);
        index.CellHtml(1, Links(linksOf.value(s.id), QString()), Zarovnanie::Vlavo);
        QStringList clubLinks;
        for (const CPolozkaKlubu& k : clubs.value(s.id))
            clubLinks << QStringLiteral(
                             "<a href=\"klub-%1.html\">%2</a> (<a href=\"klub-%1.ics\">kalendár</a>)")
                             .arg(k.id)
                             .arg(CMyExport::Escape(k.nazov));
        index.Cell(0, QStringLiteral("Kluby"), Zarovnanie::Vlavo);
        index.CellHtml(1, clubLinks.join(QStringLiteral("<br />")), Zarovnanie::Vlavo);
        index.EndTable();
    }
    index.BeginTable(2, QStringLiteral("Komisia rozhodcov"));
    index.Cell(0, QStringLiteral("Zoznamy"), Zarovnanie::Vlavo);
    index.CellHtml(1, Links(kStranyKomisie, QString()), Zarovnanie::Vlavo);
    index.EndTable();
    index.EndPage();
    files.prepend(
        {QStringLiteral("index.html"),
         WithNavigation(index.CopyText(), Navigation(QStringLiteral("index.html"), QString(), {}))});
    if (!step())
        return {};
    return files;
}

QString PublishSite(const QVector<CSuborWebu>& files, const QString& folder, const QString& seasonPath)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 nie je priečinok; web sa zapisuje do priečinka.")
            .arg(QDir::toNativeSeparators(folder));
    // A folder reached through a link is written where it really is: the link stays.
    const QString target =
        info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    const QString parent = QFileInfo(target).absolutePath();
    if (QFileInfo(target).isRoot() || target == parent)
        return QStringLiteral("Do koreňového priečinka sa web nezapisuje; zvoľte priečinok pre web.");
    if (!QDir().mkpath(parent))
        return QStringLiteral("Priečinok %1 sa nedá vytvoriť.").arg(QDir::toNativeSeparators(parent));
    const QString season = QFileInfo(seasonPath).canonicalFilePath();
    if (!season.isEmpty() && season.startsWith(target + QLatin1Char('/')))
        return QStringLiteral(
                   "V priečinku %1 je sezóna, z ktorej sa web robí; web sa zapisuje do priečinka len pre "
                   "web.")
            .arg(QDir::toNativeSeparators(target));

    // What the site's folder holds besides the last publishing's own files stays as it is.
    QSet<QString> ours;
    QFile manifest(QDir(target).filePath(kZoznamWebu));
    if (manifest.open(QIODevice::ReadOnly))
        for (const QString& name :
             QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            ours.insert(name.trimmed());
    QSet<QString> written;
    for (const CSuborWebu& f : files)
        written.insert(f.name);
    QStringList foreign;
    if (info.exists()) {
        const QDir dir(target);
        for (const QString& name :
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (name == kZoznamWebu || ours.contains(name))
                continue;
            if (written.contains(name))
                return QStringLiteral(
                           "V priečinku %1 je súbor %2, ktorý nezapísal tento program; web ho neprepíše. "
                           "Presuňte ho alebo zvoľte iný priečinok.")
                    .arg(QDir::toNativeSeparators(target), name);
            const QString path = dir.filePath(name);
            QDirIterator inside(path, QDir::Files | QDir::Hidden | QDir::System,
                                QDirIterator::Subdirectories);
            QStringList check = {path};
            while (inside.hasNext())
                check << inside.next();
            for (const QString& file : check)
                if (QFileInfo(file).isFile() && !QFileInfo(file).isSymLink() && IsDatabaseFile(file))
                    return QStringLiteral(
                               "V priečinku %1 je databáza (%2); web sa zapisuje do priečinka len pre web.")
                        .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(file));
            foreign << name;
        }
    }

    const QString temporary = TemporaryBeside(target);
    if (!QDir().mkdir(temporary))
        return QStringLiteral("Priečinok %1 sa nedá vytvoriť.").arg(QDir::toNativeSeparators(temporary));
    try {
        const QDir out(temporary);
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(out.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
                throw CChybaDatabazy(QStringLiteral("Súbor %1 sa nepodarilo zapísať.")
                                         .arg(QDir::toNativeSeparators(QDir(target).filePath(name))),
                                     file.errorString());
        };
        QStringList names;
        for (const CSuborWebu& f : files) {
            write(f.name, f.bytes);
            names << f.name;
        }
        write(kZoznamWebu, (names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        for (const QString& name : foreign)
            CarryOver(QDir(target).filePath(name), out.filePath(name));
        SyncDisk(temporary);
        ReplaceFolderWith(temporary, target);
    } catch (const CChybaDatabazy& e) {
        QDir(temporary).removeRecursively();
        return e.UserText();
    }
    return {};
}
