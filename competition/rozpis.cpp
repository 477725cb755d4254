#include "rozpis.h"

#include "competition/kluby.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CQtPlocha.h"
#include "output/CTabulka.h"
#include "sutaze.h"

#include <QRegularExpression>
#include <QSet>

CMenaKlubov::CMenaKlubov(CDatabaza& db)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select ID, nazov from tkluby"));
    for (; !rs.IsEOF(); rs.MoveNext())
        m_names.insert(rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov")));
}

QString CMenaKlubov::Name(int id) const
{
    if (id == 0)
        return kVolno;
    return m_names.value(id, kVolno);
}

QString CTlacKol::RoundsFileTitle(const QString& key) const
{
    const QString round = m_round == kVsetkyKola ? QString() : QStringLiteral("%1. kolo").arg(m_round);
    return ListFileTitle(key, CompetitionName(m_db, m_competition),
                         QStringLiteral("%1 %2").arg(round, m_clubName).trimmed());
}

void CTlacKol::SetClub(int club)
{
    m_club = club;
    m_clubName = club == kVsetkyKluby ? QString() : CMenaKlubov(m_db).Name(club);
    m_pages.clear();
}

QString CTlacKol::CompetitionTitle() const
{
    return CompetitionWithClub(m_db, m_competition, m_club);
}

QString CompetitionWithClub(CDatabaza& db, int competition, int club)
{
    const QString name = CompetitionName(db, competition);
    return club == kVsetkyKluby ? name : QStringLiteral("%1 – %2").arg(name, CMenaKlubov(db).Name(club));
}

QString RoundText(int round)
{
    return QStringLiteral("%1. kolo").arg(round);
}

QVector<CPolozkaKola> RoundItems(CDatabaza& db, int competition)
{
    QSet<int> open;
    CPrikaz q(db,
              QStringLiteral("select distinct kolo from tzapasy where skupina=? and %1 and not (%2)")
                  .arg(SqlMedziKlubmi(), SqlMaVysledok()),
              {competition});
    while (q.Step())
        if (const std::optional<int> round = KoloZUlozenia(q.Value(0)))
            open.insert(*round);
    QVector<CPolozkaKola> items;
    for (int r : ReadRounds(db, competition))
        items.append({RoundText(r), r, !open.contains(r)});
    if (!items.isEmpty())
        items.append({kVsetkyKolaText, kVsetkyKola});
    return items;
}

QString ScheduleTitle(CDatabaza& db, int competition)
{
    return QStringLiteral("Rozpis zápasov - %1").arg(CompetitionName(db, competition));
}

QVector<CStlpecZoznamu> ScheduleColumns()
{
    return {{QStringLiteral("Kolo"), Zarovnanie::Stred, 45},
            {QStringLiteral("#"), Zarovnanie::Stred, 30},
            {QStringLiteral("Domáci"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Hostia"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Los D"), Zarovnanie::Vlavo, 50},
            {QStringLiteral("Los H"), Zarovnanie::Vlavo, 50},
            {QStringLiteral("Dátum"), Zarovnanie::Vlavo, 80},
            {QStringLiteral("Čas"), Zarovnanie::Vlavo, 60},
            {QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 100}};
}

CZoznam MatchesByRound(CDatabaza& db, int competition, int round, const QVector<CStlpecZoznamu>& columns,
                       const std::function<QStringList(const CZapas&, const CMenaKlubov&)>& cells)
{
    CZoznam list;
    list.columns = columns;
    const CMenaKlubov names(db);
    int previousRound = -1;
    int number = 0;
    for (const CZapas& z : ReadMatches(db, competition, round)) {
        QString roundCell;
        if (z.round != previousRound) {
            if (!list.rows.isEmpty())
                list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
            roundCell = RoundText(z.round);
            number = 0;
            previousRound = z.round;
        }
        list.AddRow(QStringList{roundCell, QString::number(++number)} + cells(z, names), z.id);
    }
    return list;
}

CZoznam ScheduleList(CDatabaza& db, int competition, int round)
{
    return MatchesByRound(db, competition, round, ScheduleColumns(),
                          [](const CZapas& z, const CMenaKlubov& names) {
                              return QStringList{names.Name(z.homeClub),
                                                 names.Name(z.awayClub),
                                                 QString::number(z.homeDraw),
                                                 QString::number(z.awayDraw),
                                                 z.dateText,
                                                 z.timeText,
                                                 z.scheduleNote};
                          });
}

std::optional<CPolickaZapasu> MatchFields(CDatabaza& db, int matchId)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return std::nullopt;
    CPolickaZapasu f;
    f.homeDraw = rs.GetInt(QStringLiteral("los1"));
    f.awayDraw = rs.GetInt(QStringLiteral("los2"));
    const QDateTime cas = rs.GetDate(QStringLiteral("cas"));
    if (!JeZiadnyDatum(cas))
        f.date = cas.date();
    f.time = CasPolicko(cas);
    f.note = rs.GetText(QStringLiteral("poznamka2"));
    if (f.note == QStringLiteral(" "))
        f.note.clear();
    return f;
}

std::optional<CDvojica> ApplyDrawNumbers(CDatabaza& db, int competition, int matchId, const QString& homeText,
                                         const QString& awayText)
{
    bool okHome = false, okAway = false;
    const int homeDraw = homeText.trimmed().toInt(&okHome);
    const int awayDraw = awayText.trimmed().toInt(&okAway);
    if (!okHome || !okAway)
        return std::nullopt;
    CDvojica d{0, 0, homeDraw, awayDraw, kVolno, kVolno};
    const auto club = [&](int draw, int& id, QString& name) {
        if (draw == 0)
            return true;
        CZaznamy rs(db);
        rs.Open(QStringLiteral("select * from tkluby where vylosovanie=? and skupina=?"),
                {draw, competition});
        if (rs.IsEOF())
            return false;
        id = rs.GetInt(QStringLiteral("ID"));
        name = rs.GetText(QStringLiteral("nazov"));
        return true;
    };
    if (!club(homeDraw, d.homeClub, d.homeName) || !club(awayDraw, d.awayClub, d.awayName))
        return std::nullopt;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return std::nullopt;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("klub1"), d.homeClub);
    rs.SetFieldValue(QStringLiteral("klub2"), d.awayClub);
    rs.SetFieldValue(QStringLiteral("los1"), d.homeDraw);
    rs.SetFieldValue(QStringLiteral("los2"), d.awayDraw);
    rs.Update();
    return d;
}

QString SaveScheduleNote(CDatabaza& db, int matchId, const QString& text)
{
    const QString stored = text.isEmpty() ? QStringLiteral(" ") : text.left(100);
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return {};
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("poznamka2"), stored);
    rs.Update();
    return stored;
}

std::optional<QTime> ParseKickOffTime(const QString& text)
{
    // "%2d%c%2d": up to two digits (blanks before them allowed), any one character, up to two digits.
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})(.)\\s*(\\d{1,2})"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(3).toInt());
    if (!t.isValid())
        return std::nullopt;
    return t;
}

CNovyVykop ConfirmTime(CDatabaza& db, int matchId, const QDate& date, const QString& timeText,
                       bool wholeRound)
{
    const auto time = ParseKickOffTime(timeText);
    if (!time || !date.isValid())
        return {};
    CNovyVykop result{{}, CasSezony(date, *time)};
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return {};
    if (wholeRound)
        rs.Open(QStringLiteral("select * from tzapasy where skupina=? and kolo=?"),
                {rs.GetInt(QStringLiteral("skupina")), rs.GetInt(QStringLiteral("kolo"))});
    CTransakcia transaction(db, wholeRound ? CTransakcia::kHromadna : CTransakcia::kBezna);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        rs.Edit();
        rs.SetFieldValue(QStringLiteral("cas"), result.kickOff);
        rs.Update();
        result.matches.append(rs.GetInt(QStringLiteral("ID")));
    }
    transaction.Commit();
    return result;
}

namespace {

const QString kVzorKlubu = QStringLiteral(" TJ Družstevník Šaštín-Stráže ");

} // namespace

CTlacKol::CTlacKol(CDatabaza& db, int competition, int round)
    : m_db(db), m_competition(competition), m_round(round)
{
}

void CTlacKol::Layout(CPlocha& surface)
{
    m_groups = MatchesByRound(m_db, m_competition, m_round, m_club);
    CTabulka t(surface);
    Columns(t);
    const CMenaKlubov names(m_db);
    QVector<CSkupinaRiadkov> groups;
    m_notes.clear();
    for (const QVector<CZapas>& round : m_groups) {
        CSkupinaRiadkov g;
        g.headingLines = HeadingLines();
        QVector<QVector<QStringList>> notes;
        for (const CZapas& z : round) {
            // Every left-aligned cell wraps within its column (a club's long name as a note): the row
            // is as tall as its tallest cell, and no name is shortened.
            const QStringList cells = Cells(z, round.first(), names);
            QVector<QStringList> lines;
            int span = 1;
            for (int c = 0; c < cells.size(); ++c) {
                lines.append(Alignment(c) == Zarovnanie::Vlavo ? t.WrapInColumn(c, cells.at(c))
                                                               : QStringList{cells.at(c)});
                span = std::max<int>(span, lines.last().size());
            }
            notes.append(lines);
            g.rowLines.append(span);
        }
        groups.append(g);
        m_notes.append(notes);
    }
    // A page for one round holds it whole where it fits; all rounds go four a page as they always did.
    m_pages = PagesOfGroups(groups, t.GridRowsPerPage(), m_round == kVsetkyKola ? kKolNaStranu : 0);
}

int CTlacKol::PageCount()
{
    if (m_pages.isEmpty()) {
        CMeraciaPlocha measure(PageSize());
        Layout(measure);
    }
    return static_cast<int>(m_pages.size());
}

void CTlacKol::DrawPage(CPlocha& surface, int page)
{
    if (m_pages.isEmpty())
        PageCount();
    CTabulka t(surface);
    Columns(t);
    Header(t);
    const CMenaKlubov names(m_db);
    int row = 0;
    for (const CUsekSkupiny& part : m_pages.value(page - 1)) {
        const QVector<CZapas>& round = m_groups.at(part.group);
        QString title = RoundHeading(round.first());
        if (part.continued)
            title += QStringLiteral(" ") + QString::fromUtf8(kPokracovanie);
        Heading(t, row, title);
        row += HeadingLines();
        for (int m = part.from; m < part.from + part.count; ++m) {
            const QVector<QStringList>& cells = m_notes.at(part.group).at(m);
            int span = 1;
            for (const QStringList& lines : cells)
                span = std::max<int>(span, lines.size());
            for (int c = 0; c < cells.size(); ++c)
                t.GridCellLines(row, span, c, cells.at(c), Alignment(c), 400);
            row += span;
        }
    }
    const CHlavicka season = CHlavicka::Read(m_db);
    t.PageFoot(season.AssociationLine(), page, PageCount());
}

QString KickOffCell(const CZapas& z, const CZapas& first)
{
    if (JeZiadnyDatum(z.kickOff) || JeZiadnyDatum(first.kickOff) || z.kickOff.date() == first.kickOff.date())
        return z.timeText;
    const QString day = QStringLiteral("%1.%2.").arg(z.kickOff.date().day()).arg(z.kickOff.date().month());
    return z.timeText.isEmpty() ? day : day + QLatin1Char(' ') + z.timeText;
}

void CTlacRozpisu::Columns(CTabulka& t)
{
    // As wide on every page: measured on all clubs and notes of the competition.
    const QString club = LongestClubName(m_db, m_competition);
    const QString note = m_db.Value(QStringLiteral("select poznamka2 from tzapasy where skupina=? "
                                                   "order by length(poznamka2) desc limit 1"),
                                    {m_competition})
                             .toString();
    // A match moved to another day shows that day beside its time.
    const bool moved =
        m_db.Value(QStringLiteral("select count(*) from tzapasy z where skupina=?1 and substr(cas,1,10)<>("
                                  "select substr(cas,1,10) from tzapasy f where f.skupina=?1 and "
                                  "f.kolo=z.kolo order by f.ID limit 1)"),
                   {m_competition})
            .toInt() > 0;
    t.AddColumn(CTabulka::Sample(kVzorKlubu, club), Zarovnanie::Vlavo);
    t.AddColumn(CTabulka::Sample(kVzorKlubu, QStringLiteral("- ") + club), Zarovnanie::Vlavo);
    t.AddColumn(moved ? QStringLiteral(" 22.10. 17:30 ") : QStringLiteral("  Cas  "), Zarovnanie::Stred);
    // A note is wrapped within its row rather than widen the table off the paper.
    t.AddColumn(CTabulka::Sample(QStringLiteral("  Poznámka  "), note.left(30)), Zarovnanie::Vlavo);
}

void CTlacRozpisu::Header(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(QStringLiteral("Rozpis zápasov v sezóne %1").arg(season.nazov));
    t.SeasonLine(CompetitionTitle());
    t.RuledLine(season.AssociationLine());
}

void CTlacRozpisu::Heading(CTabulka& t, int row, const QString& title)
{
    t.GridCellEx(row, 0, title, Zarovnanie::Vlavo, 700);
    t.GridCellEx(row, 1, QString(), Zarovnanie::Vlavo, 700);
    t.GridCellEx(row, 2, QStringLiteral("čas"), Zarovnanie::Stred, 700);
    t.GridCellEx(row, 3, QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 700);
}

QStringList CTlacRozpisu::Cells(const CZapas& z, const CZapas& first, const CMenaKlubov& names)
{
    const bool bye = z.awayClub == 0;
    return {names.Name(z.homeClub), QStringLiteral("- %1").arg(names.Name(z.awayClub)),
            bye ? QString() : KickOffCell(z, first), bye ? QString() : z.scheduleNote.trimmed()};
}

Zarovnanie CTlacRozpisu::Alignment(int column) const
{
    return column == 2 ? Zarovnanie::Stred : Zarovnanie::Vlavo;
}

QString RoundHeading(const CZapas& first)
{
    return QStringLiteral(" %1. kolo (%2)").arg(first.round).arg(first.dateText);
}

CMyExport ExportByRound(CDatabaza& db, int competition, int round, const QString& seasonLine,
                        const QVector<CStlpecZoznamu>& header,
                        const std::function<void(CMyExport&, const CZapas&, const CMenaKlubov&)>& row,
                        int club)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), CompetitionWithClub(db, competition, club),
                   season.exists ? seasonLine : QString());
    const CMenaKlubov names(db);
    int previousRound = -1;
    for (const CZapas& z : ReadMatches(db, competition, round, club)) {
        if (z.round != previousRound) {
            if (previousRound != -1)
                page.EndTable();
            previousRound = z.round;
            page.BeginTable(static_cast<int>(header.size()), RoundHeading(z));
            for (int c = 0; c < header.size(); ++c)
                page.HeadCell(c, header.at(c).header, header.at(c).alignment, header.at(c).width);
        }
        row(page, z, names);
    }
    if (previousRound != -1)
        page.EndTable();
    page.EndPage();
    return page;
}

QVector<QStringList> MatchCsvRows(const QVector<CZapas>& matches, const CMenaKlubov& names)
{
    QVector<QStringList> rows = {kStlpceZapasovCsv};
    for (const CZapas& z : matches) {
        const bool bye = !names.IsClub(z.homeClub) || !names.IsClub(z.awayClub);
        const bool played = !bye && MaVysledok(z.homeScore, z.awayScore);
        const bool half = !bye && z.homeHalfTime != kBezVysledku && z.awayHalfTime != kBezVysledku;
        QStringList notes;
        for (const QString& n : {z.scheduleNote, z.note})
            if (!bye && !n.trimmed().isEmpty())
                notes << n.trimmed();
        rows << QStringList{
            QString::number(z.round),
            bye || JeZiadnyDatum(z.kickOff) ? QString() : z.kickOff.date().toString(Qt::ISODate),
            bye ? QString() : z.timeText,
            names.Name(z.homeClub),
            names.Name(z.awayClub),
            played ? SkoreTextom(z.homeScore) : QString(),
            played ? SkoreTextom(z.awayScore) : QString(),
            half ? CsvDvojica(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime)) : QString(),
            notes.join(QStringLiteral("; "))};
    }
    return rows;
}

CMyExport ExportClubMatches(CDatabaza& db, int club)
{
    const CHlavicka season = CHlavicka::Read(db);
    const CMenaKlubov names(db);
    const int competition = db.Value(QStringLiteral("select skupina from tkluby where ID=?"), {club}).toInt();
    CMyExport page;
    page.BeginPage(season.AssociationLine(), QStringLiteral("Zápasy klubu %1").arg(names.Name(club)),
                   QStringLiteral("%1 – %2").arg(CompetitionName(db, competition), season.SeasonLine()));
    page.BeginTable(7, QString());
    const QVector<CStlpecZoznamu> header = {{QStringLiteral("kolo"), Zarovnanie::Stred, 30},
                                            {QStringLiteral("dátum"), Zarovnanie::Stred, 80},
                                            {QStringLiteral("čas"), Zarovnanie::Stred, 40},
                                            {QStringLiteral("domáci"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("hostia"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("výsledok"), Zarovnanie::Stred, 60},
                                            {QStringLiteral("poznámka"), Zarovnanie::Vlavo, 150}};
    for (int c = 0; c < header.size(); ++c)
        page.HeadCell(c, header.at(c).header, header.at(c).alignment, header.at(c).width);
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "select * from tzapasy where skupina=? and (klub1=? or klub2=?) order by kolo, cas, ID"),
            {competition, club, club});
    QVector<CZapas> matches;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const CZapas z = CZapas::FromRow(rs);
        matches << z;
        const bool bye = z.homeClub == 0 || z.awayClub == 0;
        const bool played = MaVysledok(z.homeScore, z.awayScore);
        QStringList notes;
        for (const QString& n : {z.scheduleNote, z.note})
            if (!n.trimmed().isEmpty())
                notes << n.trimmed();
        const QStringList cells = {
            QString::number(z.round),
            bye ? QString() : z.dateText,
            bye ? QString() : z.timeText,
            names.Name(z.homeClub),
            names.Name(z.awayClub),
            played ? QStringLiteral("%1 : %2").arg(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore))
                   : QString(),
            bye ? QString() : notes.join(QStringLiteral("; "))};
        for (int c = 0; c < cells.size(); ++c)
            page.Cell(c, cells.at(c), header.at(c).alignment);
    }
    page.EndTable();
    page.EndPage();
    page.SetCsvRows(MatchCsvRows(matches, names));
    return page;
}

std::optional<int> NextRound(CDatabaza& db, int competition)
{
    const QVariant round =
        db.Value(QStringLiteral("select min(kolo) from tzapasy where skupina=? and %1 and not (%2)")
                     .arg(SqlMedziKlubmi(), SqlMaVysledok()),
                 {competition});
    if (round.isNull())
        return std::nullopt;
    return KoloZUlozenia(round);
}

int CurrentRound(CDatabaza& db, int competition)
{
    if (const std::optional<int> next = NextRound(db, competition))
        return *next;
    const QVector<int> rounds = ReadRounds(db, competition);
    return rounds.isEmpty() ? 0 : rounds.last();
}

CMyExport ExportSchedule(CDatabaza& db, int competition, int round, int club)
{
    const QString season = QStringLiteral("Rozpis zápasov v sezóne - %1").arg(CHlavicka::Read(db).nazov);
    const QVector<CStlpecZoznamu> header = {{QStringLiteral("domáci"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("hostia"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("čas"), Zarovnanie::Stred, 40},
                                            {QStringLiteral("poznámka"), Zarovnanie::Vlavo, 100}};
    CMyExport page = ExportByRound(
        db, competition, round, season, header,
        [](CMyExport& page, const CZapas& z, const CMenaKlubov& names) {
            const bool bye = z.awayClub == 0;
            page.Cell(0, names.Name(z.homeClub), Zarovnanie::Vlavo);
            page.Cell(1, names.Name(z.awayClub), Zarovnanie::Vlavo);
            page.Cell(2, bye ? QString() : z.timeText, Zarovnanie::Stred);
            page.Cell(3, bye ? QString() : z.scheduleNote, Zarovnanie::Vlavo);
        },
        club);
    page.SetCsvRows(MatchCsvRows(ReadMatches(db, competition, round, club), CMenaKlubov(db)));
    return page;
}
