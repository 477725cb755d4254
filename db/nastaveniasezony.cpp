#include "nastaveniasezony.h"

#include "CDatabaza.h"
#include "schema.h"

#include <QUrl>
#include <QUuid>

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

QString SiteAddress(CDatabaza& db)
{
    QString address = SeasonSetting(db, kNastavenieAdresyWebu).trimmed();
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

bool PublishClubContacts(CDatabaza& db)
{
    return SeasonSetting(db, kNastavenieKontaktov) == QStringLiteral("1");
}

QString SetSiteAddress(CDatabaza& db, const QString& address)
{
    QString clean = address.trimmed();
    while (clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    const QUrl url(clean, QUrl::StrictMode);
    if (!clean.isEmpty() &&
        (!url.isValid() ||
         (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http")) ||
         url.host().isEmpty() || clean.contains(QLatin1Char(' '))))
        return QStringLiteral(
                   "Adresa webu „%1“ nie je adresa stránky; začína sa https:// alebo http://, napríklad "
                   "https://www.obfz.sk/sezona.")
            .arg(address.trimmed());
    SetSeasonSetting(db, kNastavenieAdresyWebu, clean);
    return {};
}

void SetPublishClubContacts(CDatabaza& db, bool publish)
{
    SetSeasonSetting(db, kNastavenieKontaktov, publish ? QStringLiteral("1") : QString());
}
