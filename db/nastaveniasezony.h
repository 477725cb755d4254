#pragma once

#include <QString>

class CDatabaza;

// Settings a season keeps in its own file (the program's own table): they travel with the season to
// another computer. A file without the table, or without the setting, reads as the setting's default.
QString SeasonSetting(CDatabaza& db, const QString& key, const QString& defaultValue = {});
void SetSeasonSetting(CDatabaza& db, const QString& key, const QString& value);

// "Poradie pri rovnosti bodov": the overall chain (points, goal difference, goals, wins, plus/minus
// points, matches), or the matches among the tied clubs once the competition is over.
inline const QString kNastaveniePoradia = QStringLiteral("poradie");
inline const QString kPoradieVzajomne = QStringLiteral("vzajomne");
bool MutualMatchesDecideTies(CDatabaza& db);
void SetMutualMatchesDecideTies(CDatabaza& db, bool mutual);

// The season's identifier: made once, the first time it is needed, and kept by everything that is the
// same season (save as, backup, snapshots, conversion); a new season and one made from another get
// their own. Calendars name their events by it.
inline const QString kNastavenieIdentifikatora = QStringLiteral("identifikator");
QString SeasonIdentifier(CDatabaza& db);

// The published site's settings: its address on the web (for calendars' links and webcal: links;
// empty when unknown), and whether the clubs' contacts are shown there (off: the public sees none).
inline const QString kNastavenieAdresyWebu = QStringLiteral("adresa_webu");
inline const QString kNastavenieKontaktov = QStringLiteral("zverejnit_kontakty");
QString SiteAddress(CDatabaza& db);
bool PublishClubContacts(CDatabaza& db);
// The address as typed, without a trailing "/"; empty clears it. Returns why an address is refused
// (it must begin with "https://" or "http://" and hold no blank), empty when it was stored.
QString SetSiteAddress(CDatabaza& db, const QString& address);
void SetPublishClubContacts(CDatabaza& db, bool publish);
