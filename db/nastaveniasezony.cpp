#include "nastaveniasezony.h"

#include "CDatabaza.h"
#include "schema.h"

#include <QUrl>
#include <QUuid>

#include <algorithm>

QString SeasonSetting(CDatabaza& db, const QString& key, const QString& defaultValue)
{
    if (!db.TableExists(kTabulkaNastaveni))
        return defaultValue;
    const QVariant value =
        db.Value(QStringLiteral("select hodnota from %1 where kluc=?").arg(kTabulkaNastaveni), {key});
    return value.isNull() ? defaultValue : value.toString();
}

void SetSeasonSetting(CDatabaza& db, const QString& key, const QString& value)
{
    db.Execute(
        QStringLiteral("insert or replace into %1 (kluc, hodnota) values (?, ?)").arg(kTabulkaNastaveni),
        {key, value});
}

bool MutualMatchesDecideTies(CDatabaza& db)
{
    return SeasonSetting(db, kNastaveniePoradia) == kPoradieVzajomne;
}

void SetMutualMatchesDecideTies(CDatabaza& db, bool mutual)
{
    SetSeasonSetting(db, kNastaveniePoradia, mutual ? kPoradieVzajomne : QString());
}

QString SeasonIdentifier(CDatabaza& db)
{
    const QString stored = SeasonSetting(db, kNastavenieIdentifikatora);
    if (!stored.isEmpty())
        return stored;
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // A file that may only be read keeps no identifier; its calendars name it afresh each time.
    if (db.IsReadOnly() || !db.TableExists(kTabulkaNastaveni))
        return made;
    SetSeasonSetting(db, kNastavenieIdentifikatora, made);
    return made;
}

namespace {

QString CleanSiteAddress(const QString& address)
{
    QString clean = address.trimmed();
    while (clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

// Why the text is no address of a page (empty when it is one, or when it is empty).
QString SiteAddressProblem(const QString& typed)
{
    const QString clean = CleanSiteAddress(typed);
    const QUrl url(clean, QUrl::StrictMode);
    const bool control = std::any_of(clean.cbegin(), clean.cend(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; });
    if (!clean.isEmpty() &&
        (!url.isValid() || control ||
         (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http")) ||
         url.host().isEmpty() || clean.contains(QLatin1Char(' '))))
        return QStringLiteral(
                   "Adresa webu „%1“ nie je adresa stránky; začína sa https:// alebo http://, napríklad "
                   "https://www.obfz.sk/sezona.")
            .arg(typed.trimmed());
    return {};
}

} // namespace

QString SiteAddress(CDatabaza& db)
{
    // What the season holds goes into pages and calendars only as an address that could have been typed:
    // a file changed by another program does not put a script or a header into them.
    const QString stored = SeasonSetting(db, kNastavenieAdresyWebu);
    return SiteAddressProblem(stored).isEmpty() ? CleanSiteAddress(stored) : QString();
}

bool PublishClubContacts(CDatabaza& db)
{
    return SeasonSetting(db, kNastavenieKontaktov) == QStringLiteral("1");
}

QString SetSiteAddress(CDatabaza& db, const QString& address)
{
    if (const QString problem = SiteAddressProblem(address); !problem.isEmpty())
        return problem;
    SetSeasonSetting(db, kNastavenieAdresyWebu, CleanSiteAddress(address));
    return {};
}

void SetPublishClubContacts(CDatabaza& db, bool publish)
{
    SetSeasonSetting(db, kNastavenieKontaktov, publish ? QStringLiteral("1") : QString());
}
