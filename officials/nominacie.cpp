#include "nominacie.h"

#include "competition/CZapas.h"
#include "competition/odstupenie.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CReportGenerator.h"
#include "output/strankovanie.h"

#include "db/schema.h"

#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

QVector<CPolozkaDatumu> DateItems(CDatabaza& db)
{
    QVector<CPolozkaDatumu> items;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select cas from tzapasy order by cas, skupina"));
    QString previous;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const QDateTime cas = rs.GetDate(QStringLiteral("cas"));
        const QString text = QLocale().toString(cas.date(), QLocale::ShortFormat);
        if (text == previous)
            continue;
        previous = text;
        items.append({text, cas.date().toString(QStringLiteral("MM-dd-yyyy")), cas.date()});
    }
    items.append({kVsetkyZapasy, kVsetkyZapasy, {}});
    return items;
}

int CurrentDayIndex(const QVector<CPolozkaDatumu>& items, const QDate& today)
{
    int last = -1;
    for (int i = 0; i < items.size(); ++i) {
        const QDate day = items.at(i).date;
        if (!day.isValid() || JeZiadnyDatum(QDateTime(day, QTime())))
            continue;
        if (day >= today)
            return i;
        last = i;
    }
    return last;
}

namespace {

QString ShortName(const QString& meno, const QString& priezvisko)
{
    return meno.isEmpty() ? priezvisko : QStringLiteral("%1. %2").arg(meno.left(1), priezvisko);
}

QHash<int, QString> CompetitionOfClubs(CDatabaza& db)
{
    QHash<int, QString> out;
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
        "select tkluby.ID, tsutaze.nazov from tkluby, tsutaze where tsutaze.ID=tkluby.skupina"));
    for (; !rs.IsEOF(); rs.MoveNext())
        out.insert(rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov")));
    return out;
}

// The time span whose nominations a filter shows, and the wider one whose nominations can clash with
// them (an hour on each side); nothing for the whole season.
struct CObdobie
{
    QDateTime from, to; // from <= cas < to
};
std::optional<CObdobie> Span(const QString& filterKey)
{
    if (filterKey == kVsetkyZapasy)
        return std::nullopt;
    const QDate day = QDate::fromString(filterKey, QStringLiteral("MM-dd-yyyy"));
    return CObdobie{CasSezony(day), CasSezony(day, QTime(23, 59, 59))};
}

// What clashes are found from: the kick-offs in seconds (of matches whose stored time is a time) and
// every official's nominations there.
struct CTermin
{
    qint64 at;
    int match;
    int function;
};
struct CTerminy
{
    QHash<int, qint64> kickOff;
    QHash<int, QVector<CTermin>> byOfficial;

    void Add(int official, int match, int function)
    {
        const auto at = kickOff.constFind(match);
        if (at != kickOff.constEnd())
            byOfficial[official].append({*at, match, function});
    }
};

void MarkConflicts(QVector<CNominacia>& rows, CTerminy& terms)
{
    for (QVector<CTermin>& t : terms.byOfficial)
        std::sort(t.begin(), t.end(), [](const CTermin& a, const CTermin& b) { return a.at < b.at; });
    for (CNominacia& n : rows) {
        const auto kickOff = terms.kickOff.constFind(n.matchId);
        for (int i = 0; i < 4; ++i) {
            n.conflictFree[i] = true;
            if (n.officials[i] == 0 || kickOff == terms.kickOff.constEnd())
                continue;
            const qint64 at = *kickOff;
            const auto official = terms.byOfficial.constFind(n.officials[i]);
            if (official == terms.byOfficial.constEnd())
                continue;
            auto it = std::upper_bound(official->begin(), official->end(), at - 3600,
                                       [](qint64 v, const CTermin& t) { return v < t.at; });
            for (; it != official->end() && it->at < at + 3600; ++it)
                if (it->match != n.matchId || it->function != i + 1) {
                    n.conflictFree[i] = false;
                    break;
                }
        }
    }
}

// The nominations of the rows' matches (the first row where a match has two for one function).
// Every nomination read goes to `terms` too, when given (the whole season's are all that can clash).
void LoadNominations(CDatabaza& db, QVector<CNominacia>& rows, const QString& filterKey, CTerminy* terms)
{
    QHash<int, int> index;
    for (int i = 0; i < rows.size(); ++i)
        index.insert(rows.at(i).matchId, i);
    // The officials' short names once, rather than with each of the season's nominations.
    QHash<int, QString> shortNames;
    CPrikaz officials(db, QStringLiteral("select ID, meno, priezvisko from trozhodci"));
    while (officials.Step())
        shortNames.insert(static_cast<int>(officials.Int64(0)),
                          ShortName(LimitedText(officials.Text(1), QStringLiteral("meno")),
                                    LimitedText(officials.Text(2), QStringLiteral("priezvisko"))));
    const QString columns = QStringLiteral(
        "select tnominacie.IDzapasu, tnominacie.funkcia, tnominacie.znamka, tnominacie.poznamka, "
        "tnominacie.IDrozhodcu from tnominacie");
    const std::optional<CObdobie> span = Span(filterKey);
    std::unique_ptr<CPrikaz> q;
    if (span)
        q = std::make_unique<CPrikaz>(
            db,
            columns + QStringLiteral(" join tzapasy on tzapasy.ID=tnominacie.IDzapasu where "
                                     "tzapasy.cas>=? and tzapasy.cas<? order by tnominacie.ID"),
            QVariantList{span->from, span->to});
    else
        q = std::make_unique<CPrikaz>(db, columns + QStringLiteral(" order by tnominacie.ID"));
    // Which functions of each row are taken, a bit each.
    std::vector<unsigned char> taken(rows.size(), 0);
    // A season's marks are a handful of values, each written as text once (keyed by their bits, so
    // that even a mark that is no number is found again).
    QHash<quint64, QString> markTexts;
    while (q->Step()) {
        const int function = static_cast<int>(q->Int64(1));
        const int official = static_cast<int>(q->Int64(4));
        if (terms)
            terms->Add(official, static_cast<int>(q->Int64(0)), function);
        if (function < kNominaciaHR || function > kNominaciaDZ)
            continue;
        const auto it = index.constFind(static_cast<int>(q->Int64(0)));
        // A nomination of an official who is not in the registers any more shows nobody.
        const auto name = shortNames.constFind(official);
        const unsigned char bit = 1u << (function - 1);
        if (it == index.constEnd() || name == shortNames.constEnd() || (taken[*it] & bit))
            continue;
        taken[*it] |= bit;
        CNominacia& n = rows[*it];
        const int i = function - 1;
        n.officials[i] = official;
        n.names[i] = *name;
        if (function == kNominaciaDZ) {
            n.note = LimitedText(q->Text(3), QStringLiteral("poznamka"));
        } else {
            const double mark = q->Double(2);
            quint64 bits = 0;
            std::memcpy(&bits, &mark, sizeof bits);
            auto text = markTexts.constFind(bits);
            if (text == markTexts.constEnd())
                text = markTexts.insert(bits, ZnamkaTextom(mark));
            n.marks[i] = *text;
        }
    }
}

} // namespace

QVector<CNominacia> Nominations(CDatabaza& db, const QString& filterKey)
{
    QVector<CNominacia> rows;
    if (filterKey.isEmpty())
        return rows;
    const QString columns = QStringLiteral("select tzapasy.klub1, tzapasy.kolo, tzapasy.klub2, tzapasy.los1, "
                                           "tzapasy.los2, tzapasy.ID, tzapasy.cas, "
                                           "tzapasy.poznamka2, tzapasy.skupina, tzapasy.body1, tzapasy.body2 "
                                           "from tzapasy");
    std::unique_ptr<CPrikaz> q;
    if (filterKey == kVsetkyZapasy) {
        q = std::make_unique<CPrikaz>(
            db, columns + QStringLiteral(" order by tzapasy.cas,tzapasy.skupina,tzapasy.ID"));
    } else {
        const QDate day = QDate::fromString(filterKey, QStringLiteral("MM-dd-yyyy"));
        q = std::make_unique<CPrikaz>(
            db,
            columns +
                QStringLiteral(" where tzapasy.cas>=? and tzapasy.cas<? order by tzapasy.skupina,tzapasy.ID"),
            QVariantList{CasSezony(day), CasSezony(day, QTime(23, 59, 59))});
    }
    const CMenaKlubov names(db);
    const QHash<int, QString> competitions = CompetitionOfClubs(db);
    // A withdrawn club's matches that will not be played take no nominations.
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    const auto off = [&withdrawals](int club, const QDateTime& kickOff, bool full) {
        const auto w = withdrawals.constFind(club);
        return w != withdrawals.constEnd() && MatchIsOff(*w, kickOff, full);
    };
    int previousRound = 0;
    // Dates are shown as texts; a season has few match days, each read and turned into text once.
    struct CDen
    {
        QDateTime at;
        QString time, date;
    };
    QHash<QString, CDen> days;
    // The whole season's nominations are all read here: what can clash is found from them, rather
    // than from reading the season again.
    std::optional<CTerminy> terms;
    if (filterKey == kVsetkyZapasy) {
        terms.emplace();
        const int matches = db.Value(QStringLiteral("select count(*) from tzapasy")).toInt();
        rows.reserve(matches);
        terms->kickOff.reserve(matches);
    }
    while (q->Step()) {
        const QString stored = q->Text(6);
        auto day = days.constFind(stored);
        if (day == days.constEnd()) {
            const QDateTime at = DatumZUlozenia(stored);
            day = days.insert(stored, {at, CasTextom(at), DatumTextom(at)});
        }
        if (terms && day->at.isValid())
            terms->kickOff.insert(static_cast<int>(q->Int64(5)), day->at.toSecsSinceEpoch());
        const int home = static_cast<int>(q->Int64(0));
        const int away = static_cast<int>(q->Int64(2));
        if (home == 0 || away == 0)
            continue;
        if (!withdrawals.isEmpty()) {
            const bool full = MaVysledok(SkoreZUlozenia(q->Value(9)), SkoreZUlozenia(q->Value(10)));
            if (off(home, day->at, full) || off(away, day->at, full))
                continue;
        }
        const int round = KoloZUlozenia(q->Value(1)).value_or(0);
        CNominacia n;
        n.time = day->time;
        n.matchId = static_cast<int>(q->Int64(5));
        n.competition = competitions.value(home);
        n.roundLabel = round != previousRound ? RoundText(round) : QString();
        previousRound = round;
        n.home = names.Name(home);
        n.away = names.Name(away);
        n.date = day->date;
        n.matchNote = LimitedText(q->Text(7), QStringLiteral("poznamka2"));
        rows.append(std::move(n));
    }
    q.reset();
    LoadNominations(db, rows, filterKey, terms ? &*terms : nullptr);
    if (terms)
        MarkConflicts(rows, *terms);
    else
        FindConflicts(db, rows, filterKey);
    return rows;
}

void FindConflicts(CDatabaza& db, QVector<CNominacia>& rows, const QString& filterKey)
{
    // Every nomination that can clash with the shown ones: those of matches up to an hour around the
    // shown day, or all of them.
    CTerminy terms;
    const std::optional<CObdobie> span = Span(filterKey);
    const QVariantList around =
        span ? QVariantList{span->from.addSecs(-3600), span->to.addSecs(3600)} : QVariantList{};
    {
        // Each stored time read once (a round's matches share theirs); a text that is no time gives
        // nothing.
        QHash<QString, std::optional<qint64>> read;
        CPrikaz m(db,
                  QStringLiteral("select ID, cas from tzapasy") +
                      (span ? QStringLiteral(" where cas>? and cas<?") : QString()),
                  around);
        while (m.Step()) {
            const QString text = m.Text(1);
            auto it = read.constFind(text);
            if (it == read.constEnd()) {
                const QDateTime at = DatumZUlozenia(text);
                it = read.insert(text,
                                 at.isValid() ? std::optional<qint64>(at.toSecsSinceEpoch()) : std::nullopt);
            }
            if (*it)
                terms.kickOff.insert(static_cast<int>(m.Int64(0)), **it);
        }
    }
    CPrikaz q(
        db,
        span ? QStringLiteral("select tnominacie.IDrozhodcu, tnominacie.IDzapasu, tnominacie.funkcia from "
                              "tnominacie join tzapasy on tzapasy.ID=tnominacie.IDzapasu where "
                              "tzapasy.cas>? and tzapasy.cas<?")
             : QStringLiteral("select IDrozhodcu, IDzapasu, funkcia from tnominacie"),
        around);
    while (q.Step())
        terms.Add(static_cast<int>(q.Int64(0)), static_cast<int>(q.Int64(1)), static_cast<int>(q.Int64(2)));
    MarkConflicts(rows, terms);
}

QVector<CStlpecZoznamu> NominationColumns()
{
    // The officials' columns are what the secretary works in: on a 1366 pixels wide screen they fit
    // beside the match, whose long names are shortened (and shown whole as tool tips).
    return {{QStringLiteral("Kolo"), Zarovnanie::Vlavo, 55},
            {QStringLiteral("Súťaž"), Zarovnanie::Vlavo, 110},
            {QStringLiteral("#"), Zarovnanie::Vlavo, 30},
            {QStringLiteral("Domáci"), Zarovnanie::Vlavo, 155},
            {QStringLiteral("Hostia"), Zarovnanie::Vlavo, 155},
            {QStringLiteral("Dátum"), Zarovnanie::Vlavo, 70},
            {QStringLiteral("Čas"), Zarovnanie::Vlavo, 60},
            {QStringLiteral("R"), Zarovnanie::Vlavo, 95},
            {QStringLiteral("AR1"), Zarovnanie::Vlavo, 95},
            {QStringLiteral("AR2"), Zarovnanie::Vlavo, 95},
            {QStringLiteral("DZ"), Zarovnanie::Vlavo, 95}};
}

CZoznam NominationList(const QVector<CNominacia>& rows)
{
    CZoznam list;
    list.columns = NominationColumns();
    QString lastLabel;
    int number = 0;
    for (const CNominacia& n : rows) {
        QString shown;
        if (!n.roundLabel.isEmpty() && n.roundLabel != lastLabel) {
            lastLabel = n.roundLabel;
            shown = n.roundLabel;
            number = 0;
        }
        list.AddRow({shown, n.competition, QString::number(++number), n.home, n.away, n.date, n.time,
                     n.names[0], n.names[1], n.names[2], n.names[3]},
                    n.matchId);
    }
    return list;
}

std::optional<CKolizia> ClashOf(CDatabaza& db, int official, int match, int function)
{
    const QVariant cas = db.Value(QStringLiteral("select cas from tzapasy where ID=?"), {match});
    if (cas.isNull())
        return std::nullopt;
    const QDateTime t = DatumZUlozenia(cas.toString());
    if (!t.isValid())
        return std::nullopt;
    CPrikaz q(
        db,
        QStringLiteral(
            "select tzapasy.cas, tzapasy.klub1, tzapasy.klub2, tzapasy.skupina, tnominacie.funkcia "
            "from tzapasy, tnominacie where tzapasy.ID=tnominacie.IDzapasu AND "
            "tnominacie.IDrozhodcu=? AND tzapasy.cas>? AND tzapasy.cas<? AND "
            "(tnominacie.IDzapasu<>? OR tnominacie.funkcia<>?) order by tzapasy.cas, tzapasy.ID limit 1"),
        {official, t.addSecs(-3600), t.addSecs(3600), match, function});
    if (!q.Step())
        return std::nullopt;
    const CMenaKlubov names(db);
    CKolizia clash;
    clash.kickOff = DatumZUlozenia(q.Text(0));
    clash.home = names.Name(static_cast<int>(q.Int64(1)));
    clash.away = names.Name(static_cast<int>(q.Int64(2)));
    clash.competition = CompetitionName(db, static_cast<int>(q.Int64(3)));
    clash.function = static_cast<int>(q.Int64(4));
    return clash;
}

bool Conflict(CDatabaza& db, int official, int match, int function)
{
    return ClashOf(db, official, match, function).has_value();
}

QString RoleName(int function)
{
    switch (function) {
    case kNominaciaHR:
        return QStringLiteral("Rozhodca");
    case kNominaciaAR1:
    case kNominaciaAR2:
        return QStringLiteral("Asistent");
    default:
        return QStringLiteral("Delegát");
    }
}

QString ClashQuestion(const CKolizia& clash, int function)
{
    const QString when = QStringLiteral("%1. %2. %3 %4")
                             .arg(clash.kickOff.date().day())
                             .arg(clash.kickOff.date().month())
                             .arg(clash.kickOff.date().year())
                             .arg(CasPolicko(clash.kickOff));
    return QStringLiteral(
               "%1 je už v tomto čase nominovaný: %2, %3 – %4 (%5), ako %6.\n\nChcete ho nominovať dvakrát?")
        .arg(RoleName(function), when, clash.home, clash.away, clash.competition,
             RoleName(clash.function).toLower());
}

CZoznam OfficialChoices(CDatabaza& db, int function)
{
    CZoznam list;
    list.columns = {{QStringLiteral("Meno"), Zarovnanie::Vlavo, 150}};
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from trozhodci where funkcia=? order by priezvisko, meno, skupina"),
            {function == kNominaciaDZ ? kFunkciaDelegat : kFunkciaRozhodca});
    for (; !rs.IsEOF(); rs.MoveNext())
        list.AddRow({QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                 rs.GetText(QStringLiteral("priezvisko")))},
                    rs.GetInt(QStringLiteral("ID")));
    list.AddRow({QStringLiteral("Žiadny rozhodca")}, kZiadnyRozhodca);
    return list;
}

int NominatedOfficial(CDatabaza& db, int match, int function)
{
    return db
        .Value(QStringLiteral("select IDrozhodcu from tnominacie where IDzapasu=? and funkcia=? order by ID"),
               {match, function})
        .toInt();
}

QString SetNomination(CDatabaza& db, int match, int function, int official)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tnominacie where IDzapasu=? and funkcia=?"), {match, function});
    if (official == kZiadnyRozhodca) {
        for (; !rs.IsEOF(); rs.MoveNext())
            rs.Delete();
        return {};
    }
    if (rs.IsEOF())
        rs.AddNew();
    else
        rs.Edit();
    rs.SetFieldValue(QStringLiteral("IDzapasu"), match);
    rs.SetFieldValue(QStringLiteral("funkcia"), function);
    rs.SetFieldValue(QStringLiteral("IDrozhodcu"), official);
    rs.Update();
    rs.Open(QStringLiteral("select meno, priezvisko from trozhodci where ID=?"), {official});
    return rs.IsEOF()
               ? QString()
               : ShortName(rs.GetText(QStringLiteral("meno")), rs.GetText(QStringLiteral("priezvisko")));
}

bool StoreMark(CDatabaza& db, int match, int function, const QString& text)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tnominacie where IDzapasu=? and funkcia=?"), {match, function});
    if (rs.IsEOF())
        return false;
    rs.Edit();
    // A box that holds no number (an emptied one) stores no mark (0).
    rs.SetFieldValue(QStringLiteral("znamka"), ZnamkaZTextu(text));
    rs.Update();
    return true;
}

bool StoreDelegateNote(CDatabaza& db, int match, const QString& text)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tnominacie where IDzapasu=? and funkcia=?"), {match, kNominaciaDZ});
    if (rs.IsEOF())
        return false;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("poznamka"), text);
    rs.Update();
    return true;
}

namespace {

// Rows grouped by date, competition and round: each group with its header.
struct CSkupina
{
    QString label, competition, date;
    QVector<const CNominacia*> rows;
};

QVector<CSkupina> Groups(const QVector<CNominacia>& rows)
{
    QVector<CSkupina> groups;
    QString label;
    const CNominacia* previous = nullptr;
    for (const CNominacia& n : rows) {
        if (!n.roundLabel.isEmpty())
            label = n.roundLabel;
        const bool starts = !previous || n.date != previous->date || n.competition != previous->competition ||
                            !n.roundLabel.isEmpty();
        if (starts)
            groups.append({label, n.competition, n.date, {}});
        groups.last().rows.append(&n);
        previous = &n;
    }
    return groups;
}

QStringList RowCells(const CNominacia& n)
{
    return {n.matchNote, n.home, n.away, n.time, n.names[0], n.names[1], n.names[2], n.names[3]};
}

} // namespace

QStringList NominationGridRows(const QVector<CNominacia>& rows, int rowsPerPage,
                               const std::function<int(const QString&)>& linesOfRow)
{
    const QString bold = QStringLiteral("[%bold%]");
    const QVector<CSkupina> groups = Groups(rows);
    const auto heading = [&](const CSkupina& g, bool continued) {
        const QString label =
            continued ? QStringLiteral("%1 %2").arg(g.label, QString::fromUtf8(kPokracovanie)) : g.label;
        return QStringList{bold + CReportGenerator::Literal(label),
                           bold + CReportGenerator::Literal(g.competition),
                           bold + CReportGenerator::Literal(g.date),
                           bold + QStringLiteral("čas"),
                           bold + QStringLiteral("HR"),
                           bold + QStringLiteral("AR1"),
                           bold + QStringLiteral("AR2"),
                           bold + QStringLiteral("DZ")}
            .join(QLatin1Char('|'));
    };
    const auto row = [](const CNominacia& n) {
        // What users typed is printed as typed: a "|" or a tag in a club's name is text.
        QStringList cells = RowCells(n);
        for (QString& c : cells)
            c = CReportGenerator::Literal(c);
        return cells.join(QLatin1Char('|'));
    };
    const auto lines = [&](const QString& text) { return linesOfRow ? std::max(1, linesOfRow(text)) : 1; };

    QVector<CSkupinaRiadkov> sizes;
    for (const CSkupina& g : groups) {
        CSkupinaRiadkov size;
        // The line between groups, and the heading as long as its longer form ("… pokračovanie").
        size.headingLines = 1 + std::max(lines(heading(g, false)), lines(heading(g, true)));
        for (const CNominacia* n : g.rows)
            size.rowLines.append(lines(row(*n)));
        sizes.append(size);
    }
    const QVector<CStranaSkupin> pages =
        PagesOfGroups(sizes, rowsPerPage > 2 ? rowsPerPage : std::numeric_limits<int>::max() / 2, 0);
    QStringList out;
    const auto append = [&](const QString& text, int span) {
        out << text;
        for (int i = 1; i < span; ++i)
            out << CReportGenerator::JoinedRow();
    };
    for (int p = 0; p < pages.size(); ++p) {
        const qsizetype pageStart = out.size();
        for (const CUsekSkupiny& part : pages.at(p)) {
            const CSkupina& g = groups.at(part.group);
            if (out.size() > pageStart)
                out << QStringLiteral("[%separator%]|||||||");
            const QString head = heading(g, part.continued);
            append(head, lines(head));
            for (int i = part.from; i < part.from + part.count; ++i)
                append(row(*g.rows.at(i)), sizes.at(part.group).rowLines.at(i));
        }
        // The rest of the page stays empty: the next page begins with its own group.
        if (rowsPerPage > 2 && p + 1 < pages.size())
            while (out.size() - pageStart < rowsPerPage)
                out << CReportGenerator::BlankRow();
    }
    return out;
}

bool FillNominationReport(CReportGenerator& report, CDatabaza& db, const QVector<CNominacia>& rows)
{
    const CHlavicka season = CHlavicka::Read(db);
    report.ClearValues();
    report.SetFieldText(
        QStringLiteral("Nadpis"),
        CReportGenerator::Literal(QStringLiteral("Nominácie rozhodcov v sezóne %1").arg(season.nazov)));
    report.SetFieldText(QStringLiteral("Kraj"),
                        CReportGenerator::Literal(QStringLiteral("%1 - %2").arg(season.kraj, season.zvaz)));
    const QString grid = QStringLiteral("nominacie");
    return report.SetGridRows(
        grid, NominationGridRows(rows, report.GridRowsPerPage(grid),
                                 [&](const QString& row) { return report.GridRowLines(grid, row); }));
}

CMyExport ExportNominations(CDatabaza& db, const QVector<CNominacia>& rows)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(QStringLiteral("%1 - %2").arg(season.kraj, season.zvaz),
                   QStringLiteral("Nominácie rozhodcov v sezóne %1").arg(season.nazov), QString());
    bool first = true;
    for (const CSkupina& g : Groups(rows)) {
        if (!first)
            page.AppendRaw(QStringLiteral("<br />"));
        first = false;
        page.BeginTable(8, QString());
        page.HeadCell(0, g.label, Zarovnanie::Vlavo, 100);
        page.HeadCell(1, g.competition, Zarovnanie::Vlavo, 200);
        page.HeadCell(2, g.date, Zarovnanie::Vlavo, 200);
        page.HeadCell(3, QStringLiteral("čas"), Zarovnanie::Stred, 40);
        for (int f = 0; f < kSkratkyFunkcii.size(); ++f)
            page.HeadCell(4 + f, kSkratkyFunkcii.at(f), Zarovnanie::Stred, 100);
        for (const CNominacia* n : g.rows) {
            const QStringList cells = RowCells(*n);
            for (int i = 0; i < cells.size(); ++i)
                page.Cell(i, cells.at(i), Zarovnanie::Vlavo);
        }
        page.EndTable();
    }
    page.EndPage();
    return page;
}

int OrphanNominationCount(CDatabaza& db)
{
    return db.Value(QStringLiteral("select count(*) from tnominacie where not ") + SqlNominaciaMaZapas())
        .toInt();
}

int RemoveOrphanNominations(CLigaroDoc& doc)
{
    CDatabaza& db = doc.Database();
    const int count = OrphanNominationCount(db);
    if (count == 0)
        return 0;
    if (!doc.Snapshot(kOdstranitNominacieBezZapasu))
        return -1;
    db.Execute(QStringLiteral("delete from tnominacie where not ") + SqlNominaciaMaZapas());
    return count;
}

QString OrphanNominationsRemovedMessage(int count)
{
    return QStringLiteral("Odstránené nominácie bez zápasu: %1").arg(count);
}
