#include "prava.h"

#include "jetsql.h"
#include "schema.h"

namespace {

struct CPravoTabulky
{
    QString table;
    CAgenda agenda;
    // Columns another committee may change in rows of this table (a point deduction in the standings).
    QStringList disciplineColumns;
};

// Every table a committee other than the secretary may write; the rest are the secretary's.
const QVector<CPravoTabulky>& TableRights()
{
    static const QVector<CPravoTabulky> rights = {
        {QStringLiteral("tzkarty"), CAgenda::kDisciplina, {}},
        {QStringLiteral("tckarty"), CAgenda::kDisciplina, {}},
        {kTabulkaAmnestii, CAgenda::kDisciplina, {}},
        {kTabulkaPrenesenychTrestov, CAgenda::kDisciplina, {}},
        {QStringLiteral("trozhodci"), CAgenda::kRozhodcovia, {}},
        {QStringLiteral("tnominacie"), CAgenda::kRozhodcovia, {}},
        // A deduction is the disciplinary committee's; the points it changes are recomputed with it.
        {QStringLiteral("tbody"),
         CAgenda::kSekretariat,
         {QStringLiteral("trest"), QStringLiteral("btrest"), QStringLiteral("body")}},
    };
    return rights;
}

QString ServerRoleOf(CRola role)
{
    for (const CPopisRoly& r : Roles())
        if (r.role == role)
            return r.serverRole;
    return {};
}

QString AgendaText(CAgenda agenda)
{
    switch (agenda) {
    case CAgenda::kDisciplina:
        return QStringLiteral("kariet, trestov a amnestií");
    case CAgenda::kRozhodcovia:
        return QStringLiteral("rozhodcov, delegátov, nominácií a známok");
    case CAgenda::kSekretariat:
        break;
    }
    return QStringLiteral("výsledkov, zápasov, klubov a hráčov");
}

} // namespace

const QVector<CPopisRoly>& Roles()
{
    static const QVector<CPopisRoly> roles = {
        {CRola::kSekretar, QStringLiteral("sekretar"), QStringLiteral("mirak_sekretar"),
         QStringLiteral("sekretár")},
        {CRola::kDisciplinarna, QStringLiteral("disciplinarna"), QStringLiteral("mirak_disciplinarna"),
         QStringLiteral("disciplinárna komisia")},
        {CRola::kRozhodcovia, QStringLiteral("rozhodcovia"), QStringLiteral("mirak_rozhodcovia"),
         QStringLiteral("komisia rozhodcov")},
        {CRola::kCitatel, QStringLiteral("citatel"), QStringLiteral("mirak_citatel"),
         QStringLiteral("čitateľ")},
    };
    return roles;
}

std::optional<CRola> RoleByCode(const QString& code)
{
    for (const CPopisRoly& r : Roles())
        if (r.code == code)
            return r.role;
    return std::nullopt;
}

std::optional<CRola> RoleByServerRole(const QString& serverRole)
{
    for (const CPopisRoly& r : Roles())
        if (r.serverRole == serverRole)
            return r.role;
    return std::nullopt;
}

QString RoleName(CRola role)
{
    for (const CPopisRoly& r : Roles())
        if (r.role == role)
            return r.name;
    return QStringLiteral("bez rolí");
}

bool RoleMayChange(CRola role, CAgenda agenda)
{
    switch (role) {
    case CRola::kBezRol:
    case CRola::kSekretar:
        return true;
    case CRola::kDisciplinarna:
        return agenda == CAgenda::kDisciplina;
    case CRola::kRozhodcovia:
        return agenda == CAgenda::kRozhodcovia;
    case CRola::kCitatel:
        break;
    }
    return false;
}

QString NoRightMessage(const QString& login, CRola role, CAgenda agenda)
{
    return QStringLiteral("Na zmenu %1 nemáte právo: prihlásený ako %2, rola %3.")
        .arg(AgendaText(agenda), login, RoleName(role));
}

bool IsDerivedColumn(const QString& table, const QString& column)
{
    if (table.compare(kTabulkaKalendara, Qt::CaseInsensitive) == 0)
        return true;
    if (table.compare(QLatin1String("tbody"), Qt::CaseInsensitive) == 0)
        return column.compare(QLatin1String("trest"), Qt::CaseInsensitive) != 0 &&
               column.compare(QLatin1String("btrest"), Qt::CaseInsensitive) != 0;
    return false;
}

QStringList RoleSetupStatements()
{
    QStringList s;
    for (const CPopisRoly& r : Roles())
        s << QStringLiteral("do $r$ begin if not exists (select 1 from pg_roles where rolname = '%1') then "
                            "create role %1 nologin; end if; end $r$")
                 .arg(r.serverRole);
    // A secretary gives the other officials their roles (one each): through a function of the
    // administrator's, since a role cannot hand out membership of itself on every server version.
    s << QStringLiteral("create schema if not exists mirak");
    QStringList all;
    for (const CPopisRoly& r : Roles())
        all << QStringLiteral("'%1'").arg(r.serverRole);
    s << QStringLiteral(
             "create or replace function mirak.pridel_rolu(prihlasenie text, rola text) returns void "
             "language "
             "plpgsql security definer set search_path = pg_catalog as $f$ declare r text; begin "
             "if not pg_has_role(session_user, 'mirak_sekretar', 'member') then raise exception "
             "'Roly prideľuje len sekretár alebo správca servera.' using errcode = '42501'; end if; "
             "if rola not in (%1) then raise exception 'Neznáma rola %.', rola; end if; "
             "if not exists (select 1 from pg_roles where rolname = prihlasenie) then raise exception "
             "'Prihlásenie % na serveri nie je.', prihlasenie; end if; "
             "foreach r in array array[%1] loop if r <> rola and pg_has_role(prihlasenie, r, 'member') then "
             "execute format('revoke %I from %I', r, prihlasenie); end if; end loop; "
             "execute format('grant %I to %I', rola, prihlasenie); end $f$")
             .arg(all.join(QStringLiteral(", ")));
    s << QStringLiteral("revoke all on function mirak.pridel_rolu(text, text) from public");
    s << QStringLiteral("grant usage on schema mirak to %1")
             .arg(all.join(QStringLiteral(", ")).remove(QLatin1Char('\'')));
    s << QStringLiteral("grant execute on function mirak.pridel_rolu(text, text) to mirak_sekretar");
    return s;
}

QStringList SeasonFunctions()
{
    return {QStringLiteral("mirak_zaznamenaj()"), QStringLiteral("mirak_skore(bigint)"),
            QStringLiteral("mirak_bez_cudzich(bigint, text, text, text[], text[], text, text[], jsonb)"),
            QStringLiteral("mirak_miesto(bigint, text, bigint)")};
}

QStringList SeasonRightsStatements(const QString& schema, const std::function<QString(const QString&)>& table,
                                   const QStringList& tables)
{
    const QString secretary = ServerRoleOf(CRola::kSekretar);
    const QString discipline = ServerRoleOf(CRola::kDisciplinarna);
    const QString referees = ServerRoleOf(CRola::kRozhodcovia);
    const QString reader = ServerRoleOf(CRola::kCitatel);
    const QString everyone = QStringList{secretary, discipline, referees, reader}.join(QStringLiteral(", "));
    QStringList s;
    // The secretary's role owns the season: every secretary may change it all, its tables' definitions too.
    s << QStringLiteral("alter schema %1 owner to %2").arg(schema, secretary);
    for (const QString& t :
         tables + QStringList{QStringLiteral("mirak_meta"), QStringLiteral("mirak_ddl"),
                              QStringLiteral("mirak_citace"), QStringLiteral("mirak_zmeny")})
        s << QStringLiteral("alter table %1 owner to %2").arg(table(t), secretary);
    for (const QString& f : SeasonFunctions())
        s << QStringLiteral("alter function %1.%2 owner to %3").arg(schema, f, secretary);
    s << QStringLiteral("alter collation %1 owner to %2")
             .arg(table(QString::fromLatin1(kSlovakCollation).toLower()), secretary);
    s << QStringLiteral("grant usage on schema %1 to %2").arg(schema, everyone);
    s << QStringLiteral("grant select on all tables in schema %1 to %2").arg(schema, everyone);
    // ID counters move with every insert, and a calendar's revisions with every publishing.
    s << QStringLiteral("grant insert, update on %1 to %2, %3, %4")
             .arg(table(QStringLiteral("mirak_citace")), discipline, referees, reader);
    if (tables.contains(kTabulkaKalendara))
        s << QStringLiteral("grant insert, update, delete on %1 to %2, %3, %4")
                 .arg(table(kTabulkaKalendara), discipline, referees, reader);
    for (const CPravoTabulky& r : TableRights()) {
        if (!tables.contains(r.table))
            continue;
        if (r.agenda != CAgenda::kSekretariat)
            s << QStringLiteral("grant insert, update, delete on %1 to %2")
                     .arg(table(r.table), r.agenda == CAgenda::kDisciplina ? discipline : referees);
        if (!r.disciplineColumns.isEmpty())
            s << QStringLiteral("grant insert, update (%1) on %2 to %3")
                     .arg(r.disciplineColumns.join(QStringLiteral(", ")), table(r.table), discipline);
    }
    return s;
}
