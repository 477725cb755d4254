#include "schema.h"

#include "CDatabaza.h"
#include "kody.h"

#include <QSet>

namespace {

const QString kId = QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT");
const QString kInt = QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
const QString kText = QStringLiteral(" TEXT DEFAULT ''");
const QString kReal = QStringLiteral(" REAL DEFAULT 0");
QString Datum()
{
    return QStringLiteral(" TEXT DEFAULT '%1'").arg(DatumNaUlozenie(ZiadnyDatum()));
}
QString Skore()
{
    return QStringLiteral(" INTEGER NOT NULL DEFAULT %1").arg(kBezVysledku);
}

QString KartyAleboGoly(const QString& table)
{
    return QStringLiteral("CREATE TABLE %1 (%2, IDzapasu%3, IDhraca%3, IDklubu%3, kolo%3, skupina%3)")
        .arg(table, kId, kInt);
}

} // namespace

const QStringList& SeasonTables()
{
    static const QStringList tables = {
        QStringLiteral("tsezona"),   QStringLiteral("tsutaze"),    QStringLiteral("tkluby"),
        QStringLiteral("thraci"),    QStringLiteral("tzapasy"),    QStringLiteral("tgoly"),
        QStringLiteral("tzkarty"),   QStringLiteral("tckarty"),    QStringLiteral("tbody"),
        QStringLiteral("trozhodci"), QStringLiteral("tnominacie"), QStringLiteral("theslo")};
    return tables;
}

bool IsDateColumn(const QString& column)
{
    static const QSet<QString> dates = {QStringLiteral("cas"), QStringLiteral("od"), QStringLiteral("do")};
    return dates.contains(column.toLower());
}

bool IsTextColumn(const QString& column)
{
    static const QSet<QString> texts = {
        QStringLiteral("nazov"),    QStringLiteral("kraj"),       QStringLiteral("zvaz"),
        QStringLiteral("kontakt1"), QStringLiteral("kontakt2"),   QStringLiteral("pozn"),
        QStringLiteral("meno"),     QStringLiteral("priezvisko"), QStringLiteral("rc"),
        QStringLiteral("poznamka"), QStringLiteral("poznamka2"),  QStringLiteral("trest"),
        QStringLiteral("domov"),    QStringLiteral("praca"),      QStringLiteral("mobil"),
        QStringLiteral("beh")};
    return texts.contains(column.toLower());
}

int FieldLength(QStringView column)
{
    const qsizetype dot = column.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        column = column.mid(dot + 1);
    if (column.compare(QLatin1String("poznamka2"), Qt::CaseInsensitive) == 0)
        return 100;
    if (column.compare(QLatin1String("trest"), Qt::CaseInsensitive) == 0)
        return kDlzkaTrestu;
    return 255;
}

QString LimitedText(const QString& text, QStringView column)
{
    const int limit = FieldLength(column);
    return text.size() > limit ? text.left(limit) : text;
}

QStringList NewSeasonStatements(bool nullableIntegers)
{
    QStringList s;
    s << QStringLiteral("CREATE TABLE tsezona (nazov%1, kraj%1, zvaz%1, stop%1, zapocitat%2)")
             .arg(kText, kInt);
    s << QStringLiteral("CREATE TABLE tsutaze (%1, nazov%2)").arg(kId, kText);
    s << QStringLiteral("CREATE TABLE tkluby (%1, nazov%2, kontakt1%2, kontakt2%2, vylosovanie%3, pozn%2, "
                        "skupina%3)")
             .arg(kId, kText, kInt);
    s << QStringLiteral("CREATE TABLE thraci (%1, meno%2, priezvisko%2, RC%2, IDklubu%3, IDold%3, od%4, "
                        "\"do\"%4, pozn%2)")
             .arg(kId, kText, kInt, Datum());
    s << QStringLiteral("CREATE TABLE tzapasy (%1, skupina%2, kolo%2, klub1%2, klub2%2, los1%2, los2%2, "
                        "cas%3, body1%4, body2%4, polcas1%4, polcas2%4, poznamka%5, poznamka2%5)")
             .arg(kId, kInt, Datum(), Skore(), kText);
    s << KartyAleboGoly(QStringLiteral("tgoly")) << KartyAleboGoly(QStringLiteral("tzkarty"))
      << KartyAleboGoly(QStringLiteral("tckarty"));
    s << QStringLiteral(
             "CREATE TABLE tbody (%1, IDklubu%2, skupina%2, zapasy%2, vyhry%2, remizy%2, prehry%2, "
             "skore1%2, skore2%2, body%2, plusb%2, trest%3, btrest%2)")
             .arg(kId, kInt, kText);
    s << QStringLiteral("CREATE TABLE trozhodci (%1, meno%2, priezvisko%2, RC%2, domov%2, praca%2, mobil%2, "
                        "pozn%2, znamka%3, beh%2, skupina%4, funkcia%4)")
             .arg(kId, kText, kReal, kInt);
    s << QStringLiteral("CREATE TABLE tnominacie (%1, IDzapasu%2, IDrozhodcu%2, funkcia%2, znamka%3, "
                        "poznamka%4)")
             .arg(kId, kInt, kReal, kText);
    s << QStringLiteral("CREATE TABLE theslo (heslo%1)").arg(kText);
    s << IndexStatements();
    s << OwnTableStatements();
    if (nullableIntegers)
        for (QString& statement : s)
            statement.replace(QStringLiteral(" INTEGER NOT NULL DEFAULT"),
                              QStringLiteral(" INTEGER DEFAULT"));
    s << QStringLiteral("INSERT INTO theslo (heslo) VALUES ('')");
    s << QStringLiteral(
             "INSERT INTO thraci (meno, priezvisko, RC, IDklubu) VALUES ('Vlastný', 'gól', '%1', 0)")
             .arg(kRcVlastnyGol);
    return s;
}

const QList<QPair<QString, QStringList>>& RequiredColumns()
{
    static const QList<QPair<QString, QStringList>> columns = [] {
        const auto list = [](const char* names) {
            return QString::fromLatin1(names).split(QLatin1Char(' '));
        };
        const QStringList goals = list("ID IDzapasu IDhraca IDklubu kolo skupina");
        return QList<QPair<QString, QStringList>>{
            {QStringLiteral("tsezona"), list("nazov kraj zvaz stop zapocitat")},
            {QStringLiteral("tsutaze"), list("ID nazov")},
            {QStringLiteral("tkluby"), list("ID nazov kontakt1 kontakt2 vylosovanie pozn skupina")},
            {QStringLiteral("thraci"), list("ID meno priezvisko RC IDklubu IDold od do pozn")},
            {QStringLiteral("tzapasy"),
             list("ID skupina kolo klub1 klub2 los1 los2 cas body1 body2 poznamka")},
            {QStringLiteral("tgoly"), goals},
            {QStringLiteral("tzkarty"), goals},
            {QStringLiteral("tckarty"), goals},
            {QStringLiteral("tbody"),
             list("IDklubu skupina zapasy vyhry remizy prehry skore1 skore2 body plusb trest btrest")},
            {QStringLiteral("trozhodci"),
             list("ID meno priezvisko RC domov praca mobil pozn znamka beh skupina funkcia")},
            {QStringLiteral("tnominacie"), list("ID IDzapasu IDrozhodcu funkcia znamka poznamka")},
            {QStringLiteral("theslo"), list("heslo")}};
    }();
    return columns;
}

QStringList IndexStatements()
{
    QStringList s;
    const auto index = [&s](const char* name, const char* table, const char* columns) {
        s << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                 .arg(QLatin1String(name), QLatin1String(table), QLatin1String(columns));
    };
    index("ix_tzapasy_skupina_kolo", "tzapasy", "skupina, kolo");
    index("ix_tzapasy_klub1", "tzapasy", "klub1");
    index("ix_tzapasy_klub2", "tzapasy", "klub2");
    index("ix_tzapasy_cas", "tzapasy", "cas");
    for (const char* t : {"tgoly", "tzkarty", "tckarty"}) {
        const QByteArray table(t);
        const QByteArray byMatch = "ix_" + table + "_zapas_klub";
        const QByteArray byPlayer = "ix_" + table + "_hrac_kolo";
        const QByteArray byCompetition = "ix_" + table + "_skupina";
        index(byMatch.constData(), t, "IDzapasu, IDklubu");
        index(byPlayer.constData(), t, "IDhraca, kolo");
        index(byCompetition.constData(), t, "skupina");
    }
    index("ix_thraci_klub", "thraci", "IDklubu");
    index("ix_thraci_idold", "thraci", "IDold");
    index("ix_tkluby_skupina", "tkluby", "skupina, vylosovanie");
    index("ix_tbody_klub", "tbody", "IDklubu, skupina");
    index("ix_tbody_skupina", "tbody", "skupina");
    index("ix_tnominacie_zapas", "tnominacie", "IDzapasu, funkcia");
    index("ix_tnominacie_rozhodca", "tnominacie", "IDrozhodcu");
    index("ix_trozhodci_funkcia", "trozhodci", "funkcia, skupina");
    return s;
}

const QList<CUpgradeColumn>& UpgradeColumns()
{
    static const QList<CUpgradeColumn> columns = {
        {QStringLiteral("tzapasy"), QStringLiteral("polcas1"), QStringLiteral("smallint"), kBezVysledku},
        {QStringLiteral("tzapasy"), QStringLiteral("polcas2"), QStringLiteral("smallint"), kBezVysledku},
        {QStringLiteral("tzapasy"), QStringLiteral("poznamka2"), QStringLiteral("TEXT(100)"), 0},
    };
    return columns;
}

QStringList OwnTableStatements()
{
    return {
        // An amnesty: from `datum` on, the cards of matches before that day are forgiven, all of
        // them (`vsetky` 1) or `pocet` of each player's oldest, in competition `skupina` (0: in
        // every one).
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2, datum%3, vsetky%4, pocet%4, skupina%4)")
            .arg(kTabulkaAmnestii, kId, Datum(), kInt),
        // A club that withdrew from its competition on `datum`: its results annulled (`anulovat` 1),
        // or kept up to that day with every match from it on lost by forfeit.
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2, IDklubu%4, datum%3, anulovat%4)")
            .arg(kTabulkaOdstupeni, kId, Datum(), kInt),
        // The season's own settings by name (the tie rule, the season's identifier, the site's).
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (kluc TEXT PRIMARY KEY, hodnota%2)")
            .arg(kTabulkaNastaveni, kText),
        // What each match's calendar event last showed (`odtlacok`, a hash of it), its revision
        // number and when it changed, so that a calendar's SEQUENCE and LAST-MODIFIED move only
        // when the event does; `zaciatok` is its last known start, which a match postponed without
        // a new date keeps in the calendars, cancelled.
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS %1 (IDzapasu INTEGER PRIMARY KEY, odtlacok%2, sekvencia%3, "
            "zmena%2, %4%2)")
            .arg(kTabulkaKalendara, kText, kInt, kKalendarZaciatok),
        // A suspension the player had not served by the end of the season before (`sezona`): `zapasy`
        // of his club's first matches of this season, for a yellow-card stop (`druh` 1) or a red card
        // (2) given as `dovod` says.
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2, IDhraca%3, zapasy%3, druh%3, sezona%4, dovod%4)")
            .arg(kTabulkaPrenesenychTrestov, kId, kInt, kText),
    };
}

const QList<CUpgradeColumn>& OwnTableColumns()
{
    static const QList<CUpgradeColumn> columns = {
        {kTabulkaKalendara, kKalendarZaciatok, QStringLiteral("TEXT"), 0},
    };
    return columns;
}

const QStringList& OwnTables()
{
    static const QStringList tables = {kTabulkaAmnestii, kTabulkaOdstupeni, kTabulkaNastaveni,
                                       kTabulkaKalendara, kTabulkaPrenesenychTrestov};
    return tables;
}

void CreateNewSeasonFile(const QString& path)
{
    CDatabaza::CreateFile(path, NewSeasonStatements());
}
