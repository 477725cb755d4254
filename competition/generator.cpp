#include "generator.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/kody.h"

#include <QRegularExpression>

#include <functional>

int PairSlot(int round, int pair, int side, int slotCount)
{
    if (slotCount < 4 || slotCount % 2 != 0 || round < 0 || round >= slotCount - 1 || pair < 0 ||
        pair >= slotCount / 2)
        return 0;
    const int m = slotCount - 1;
    const int r = round + 1;
    const int x = (round * (slotCount / 2)) % m + 1;
    if (pair == 0) {
        const bool odd = r % 2 == 1;
        return (side == 0) == odd ? x : slotCount;
    }
    const auto mod = [m](int v) { return ((v % m) + m) % m; };
    return side == 0 ? mod(x + pair - 1) + 1 : mod(x - pair - 1) + 1;
}

int DoubleRoundCount(CDatabaza& db, int competition)
{
    const int clubs =
        db.Value(QStringLiteral("select count(*) from tkluby where skupina=?"), {competition}).toInt();
    const int n = clubs + clubs % 2;
    return 2 * n - 2;
}

QVector<int> RoundsList(int doubleRoundCount)
{
    QVector<int> list = {34, 30, 26, 22, 18, 14, 10, 6};
    if (doubleRoundCount > 34)
        list.prepend(doubleRoundCount);
    return list;
}

const QStringList& ModeNames()
{
    static const QStringList names = {QStringLiteral("jednokolovo"), QStringLiteral("dvojkolovo"),
                                      QStringLiteral("trojkolovo"), QStringLiteral("štvorkolovo")};
    return names;
}

CParametreGenerovania CParametreGenerovania::Defaults(int doubleRoundCount, const QDate& today)
{
    CParametreGenerovania p;
    p.start = QDate(today.year(), 8, 1);
    p.returnDate = QDate(today.year() + 1, 3, 13);
    p.rounds = doubleRoundCount;
    return p;
}

std::optional<QTime> ParseHour(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})([:,])(\\d{1,2})$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int hour = m.captured(1).toInt();
    const int minute = m.captured(3).toInt();
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return QTime(hour, minute);
}

void CRetazVykopov::SetMarks()
{
    const int d = m_value.date().day();
    const int month = m_value.date().month();
    m_m1 = d <= 14 ? month : 0;
    m_m2 = d >= 15 ? month : 0;
}

void CRetazVykopov::AutumnStep()
{
    m_value = m_value.addDays(7);
    int d = m_value.date().day(), month = m_value.date().month();
    if (d > 1 && month != m_m1) {
        m_value = m_value.addSecs(-60 * m_shift);
        m_m1 = month;
    }
    d = m_value.date().day();
    month = m_value.date().month();
    if (d > 15 && month != m_m2) {
        m_value = m_value.addSecs(-60 * m_shift);
        m_m2 = month;
    }
}

void CRetazVykopov::SpringStep()
{
    m_value = m_value.addDays(7);
    int d = m_value.date().day(), month = m_value.date().month();
    if (d > 1 && month != m_m1 && m_value.time().hour() <= 16) {
        m_value = m_value.addSecs(60 * m_shift);
        m_m1 = month;
    }
    d = m_value.date().day();
    month = m_value.date().month();
    if (d > 15 && month != m_m2 && m_value.time().hour() <= 16) {
        m_value = m_value.addSecs(60 * m_shift);
        m_m2 = month;
    }
}

int SlotCount(int clubCount, int rounds)
{
    int n = clubCount + clubCount % 2;
    if (rounds > 2 * n - 2)
        n = rounds / 2 + 1;
    return n + n % 2;
}

QVector<CGenerovanyZapas> PlanFixtures(const QVector<int>& slotTable, int clubCount,
                                       const CParametreGenerovania& p, QTime startHour, QTime returnHour)
{
    const int n = SlotCount(clubCount, p.rounds);
    // Slots up to n without a club are byes; draw numbers above n are never paired.
    QVector<int> table = slotTable.mid(0, n + 1);
    table.resize(n + 1);
    const bool noShift = (startHour.hour() == 0 && startHour.minute() == 0) ||
                         (returnHour.hour() == 0 && returnHour.minute() == 0);
    const int shift = noShift ? 0 : 30;
    CRetazVykopov startChain(CasSezony(p.start, startHour), shift);
    CRetazVykopov returnChain(CasSezony(p.returnDate, returnHour), shift);

    QVector<CGenerovanyZapas> rows;
    rows.reserve(4 * (n - 1) * (n / 2));
    int kolo = 1;
    const auto pass = [&](CRetazVykopov& chain, bool swapped, bool spring,
                          const std::function<void()>& beforeRound) {
        for (int r = 0; r < n - 1; ++r) {
            if (beforeRound)
                beforeRound();
            for (int k = 0; k < n / 2; ++k) {
                const int a = PairSlot(r, k, 0, n);
                const int b = PairSlot(r, k, 1, n);
                const int home = swapped ? b : a;
                const int away = swapped ? a : b;
                rows.append({kolo, table.at(home), table.at(away), home, away, chain.Value()});
            }
            if (spring)
                chain.SpringStep();
            else
                chain.AutumnStep();
            ++kolo;
        }
    };
    startChain.SetMarks();
    pass(startChain, false, false, {});
    switch (p.mode) {
    case kDvojkolovo:
        returnChain.SetMarks();
        pass(returnChain, true, true, {});
        break;
    case kTrojkolovo: {
        // The second pass begins on the start chain and goes over to the spring part once the
        // running round passes three quarters of the rounds chosen.
        bool replaced = false;
        pass(startChain, true, true, [&] {
            if (kolo > p.rounds * 3 / 4 && !replaced) {
                startChain.SetValue(returnChain.Value());
                startChain.SetMarks();
                replaced = true;
            }
        });
        startChain.SetMarks();
        pass(startChain, false, false, {});
        break;
    }
    case kStvorkolovo:
        pass(startChain, true, false, {});
        returnChain.SetMarks();
        pass(returnChain, false, true, {});
        pass(returnChain, true, true, {});
        break;
    default:
        break;
    }
    return rows;
}

namespace {

void DeleteCompetitionRows(CDatabaza& db, int competition)
{
    // The nominations (and their marks) go with their matches: left behind, they would count in the
    // referees' statistics of the new fixture list.
    db.Execute(
        QStringLiteral("delete from tnominacie where IDzapasu in (select ID from tzapasy where skupina=?)"),
        {competition});
    for (const char* table : {"tzapasy", "tbody", "tgoly", "tzkarty", "tckarty"})
        db.Execute(QStringLiteral("delete from %1 where skupina=?").arg(QLatin1String(table)), {competition});
}

bool Refuse(CLigaroDoc& doc, const QString& message)
{
    doc.User().ShowMessage(message, CPouzivatel::Ikona::Vykricnik);
    return false;
}

} // namespace

void ClearCompetition(CDatabaza& db, int competition)
{
    CTransakcia transaction(db, CTransakcia::kHromadna);
    DeleteCompetitionRows(db, competition);
    transaction.Commit();
}

bool ClearCompetitionCommand(CLigaroDoc& doc, int competition)
{
    if (!doc.User().AskYesNo(kPotvrdenieVymazania))
        return false;
    if (!doc.Snapshot(QStringLiteral("Vymazať súťaže")))
        return false;
    CZaneprazdnenie busy(doc.User());
    ClearCompetition(doc.Database(), competition);
    return true;
}

bool GenerateFixtures(CLigaroDoc& doc, int competition, const CParametreGenerovania& p)
{
    CDatabaza& db = doc.Database();
    const int doubleRounds = DoubleRoundCount(db, competition);
    if (doubleRounds < 6)
        return Refuse(doc, kMalyPocetKlubov);
    if (!p.start.isValid())
        return Refuse(doc, kZlyDatumZaciatku);
    const auto startHour = ParseHour(p.startHour);
    if (!startHour)
        return Refuse(doc, kZlaHodinaZaciatku);
    if (!p.returnDate.isValid())
        return Refuse(doc, kZlyDatumOdvety);
    const auto returnHour = ParseHour(p.returnHour);
    if (!returnHour)
        return Refuse(doc, kZlaHodinaOdvety);
    // One pass has no return part; with more, a return part before the first would put the return
    // rounds ahead of the rounds they return.
    if (p.mode != kJednokolovo && p.returnDate < p.start)
        return Refuse(doc, kOdvetaPredZaciatkom.arg(DenTextom(p.returnDate), DenTextom(p.start)));
    const QVector<int> offered = RoundsList(doubleRounds);
    if (!offered.contains(p.rounds)) {
        QStringList values;
        for (int v : offered)
            values << QString::number(v);
        return Refuse(doc, kZlyPocetKol.arg(values.join(QStringLiteral(", "))));
    }
    if (p.mode < kJednokolovo || p.mode > kStvorkolovo)
        return Refuse(doc, QStringLiteral("Neznámy spôsob generovania súťaže. Operácia nebude vykonaná."));
    if (!doc.User().AskYesNo(kPotvrdenieGenerovania))
        return false;
    // A fixture list that is replaced takes its results with it: the season is kept as it was first.
    if (db.Value(QStringLiteral("select count(*) from tzapasy where skupina=?"), {competition}).toInt() > 0 &&
        !doc.Snapshot(QStringLiteral("Vytvoriť súťaž")))
        return false;

    CZaneprazdnenie busy(doc.User());
    // All or nothing: a failure leaves the old fixture list in place.
    CTransakcia transaction(db, CTransakcia::kHromadna);
    DeleteCompetitionRows(db, competition);
    QVector<QPair<int, int>> clubs; // ID, drawn number, in drawn-number order
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=? order by vylosovanie, ID"), {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        clubs.append({rs.GetInt(QStringLiteral("ID")), rs.GetInt(QStringLiteral("vylosovanie"))});
    rs.Close();
    const int n = SlotCount(static_cast<int>(clubs.size()), p.rounds);
    QVector<int> table(n + 1, 0);
    // A later club with the same draw number takes the slot over.
    for (const auto& [id, draw] : clubs)
        if (draw >= 0 && draw <= n)
            table[draw] = id;
    CPrikaz insert(db, QStringLiteral("insert into tzapasy (kolo, skupina, klub1, klub2, los1, los2, "
                                      "body1, body2, polcas1, polcas2, cas) values (?,?,?,?,?,?,?,?,?,?,?)"));
    for (const CGenerovanyZapas& z :
         PlanFixtures(table, static_cast<int>(clubs.size()), p, *startHour, *returnHour))
        insert.Execute({z.kolo, competition, z.klub1, z.klub2, z.los1, z.los2, kBezVysledku, kBezVysledku,
                        kBezVysledku, kBezVysledku, z.cas});
    transaction.Commit();
    return true;
}
