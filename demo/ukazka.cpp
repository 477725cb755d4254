#include "ukazka.h"

#include "competition/generator.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/schema.h"
#include "db/subory.h"
#include "results/prepocet.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace {

const QStringList kObce = {QStringLiteral("Bánovce"),
                           QStringLiteral("Bošany"),
                           QStringLiteral("Brezová"),
                           QStringLiteral("Budmerice"),
                           QStringLiteral("Bučany"),
                           QStringLiteral("Čachtice"),
                           QStringLiteral("Častá"),
                           QStringLiteral("Čierna Voda"),
                           QStringLiteral("Cífer"),
                           QStringLiteral("Dechtice"),
                           QStringLiteral("Dolná Krupá"),
                           QStringLiteral("Dolné Orešany"),
                           QStringLiteral("Dolné Dubové"),
                           QStringLiteral("Drahovce"),
                           QStringLiteral("Dubnica"),
                           QStringLiteral("Dunajská Lužná"),
                           QStringLiteral("Gabčíkovo"),
                           QStringLiteral("Hlohovec"),
                           QStringLiteral("Horné Orešany"),
                           QStringLiteral("Hrnčiarovce"),
                           QStringLiteral("Chtelnica"),
                           QStringLiteral("Ilava"),
                           QStringLiteral("Jacovce"),
                           QStringLiteral("Jaslovské Bohunice"),
                           QStringLiteral("Kátlovce"),
                           QStringLiteral("Kočín"),
                           QStringLiteral("Kostolné"),
                           QStringLiteral("Krakovany"),
                           QStringLiteral("Križovany"),
                           QStringLiteral("Kúty"),
                           QStringLiteral("Leopoldov"),
                           QStringLiteral("Lopašov"),
                           QStringLiteral("Lozorno"),
                           QStringLiteral("Madunice"),
                           QStringLiteral("Majcichov"),
                           QStringLiteral("Malženice"),
                           QStringLiteral("Merašice"),
                           QStringLiteral("Modranka"),
                           QStringLiteral("Moravany"),
                           QStringLiteral("Myjava"),
                           QStringLiteral("Naháč"),
                           QStringLiteral("Nitrianske Pravno"),
                           QStringLiteral("Nové Mesto"),
                           QStringLiteral("Ohrady"),
                           QStringLiteral("Opoj"),
                           QStringLiteral("Ostrov"),
                           QStringLiteral("Paderovce"),
                           QStringLiteral("Pata"),
                           QStringLiteral("Pečeňady"),
                           QStringLiteral("Piešťany"),
                           QStringLiteral("Pobedim"),
                           QStringLiteral("Podolie"),
                           QStringLiteral("Prašník"),
                           QStringLiteral("Radošina"),
                           QStringLiteral("Radošovce"),
                           QStringLiteral("Rakovice"),
                           QStringLiteral("Ružindol"),
                           QStringLiteral("Sasinkovo"),
                           QStringLiteral("Senica"),
                           QStringLiteral("Sereď"),
                           QStringLiteral("Siladice"),
                           QStringLiteral("Skalica"),
                           QStringLiteral("Smolenice"),
                           QStringLiteral("Sokolovce"),
                           QStringLiteral("Spačince"),
                           QStringLiteral("Suchá"),
                           QStringLiteral("Šaštín-Stráže"),
                           QStringLiteral("Šintava"),
                           QStringLiteral("Šípkové"),
                           QStringLiteral("Šúrovce"),
                           QStringLiteral("Tekolďany"),
                           QStringLiteral("Trakovice"),
                           QStringLiteral("Trebatice"),
                           QStringLiteral("Trnava"),
                           QStringLiteral("Trstín"),
                           QStringLiteral("Veľké Kostoľany"),
                           QStringLiteral("Veľké Orvište"),
                           QStringLiteral("Veľké Ripňany"),
                           QStringLiteral("Vinohrady"),
                           QStringLiteral("Voderady"),
                           QStringLiteral("Vrbové"),
                           QStringLiteral("Zavar"),
                           QStringLiteral("Zeleneč"),
                           QStringLiteral("Zemianske Sady"),
                           QStringLiteral("Zvončín"),
                           QStringLiteral("Žlkovce"),
                           QStringLiteral("Ardanovce"),
                           QStringLiteral("Bojničky"),
                           QStringLiteral("Borovce"),
                           QStringLiteral("Brunovce"),
                           QStringLiteral("Dvorníky"),
                           QStringLiteral("Hubina"),
                           QStringLiteral("Jalšové"),
                           QStringLiteral("Koplotovce"),
                           QStringLiteral("Lančár"),
                           QStringLiteral("Lúka"),
                           QStringLiteral("Malé Orvište"),
                           QStringLiteral("Nižná"),
                           QStringLiteral("Ratnovce"),
                           QStringLiteral("Šterusy"),
                           QStringLiteral("Záhorce"),
                           QStringLiteral("Holíč"),
                           QStringLiteral("Gbely"),
                           QStringLiteral("Brodské"),
                           QStringLiteral("Kopčany"),
                           QStringLiteral("Sekule"),
                           QStringLiteral("Moravský Svätý Ján"),
                           QStringLiteral("Jablonica"),
                           QStringLiteral("Sobotište"),
                           QStringLiteral("Častkov"),
                           QStringLiteral("Hlboké"),
                           QStringLiteral("Prietrž"),
                           QStringLiteral("Kunov"),
                           QStringLiteral("Dojč"),
                           QStringLiteral("Hradište pod Vrátnom"),
                           QStringLiteral("Osuské"),
                           QStringLiteral("Rovensko"),
                           QStringLiteral("Vrádište"),
                           QStringLiteral("Unín"),
                           QStringLiteral("Radimov"),
                           QStringLiteral("Petrova Ves"),
                           QStringLiteral("Letničie"),
                           QStringLiteral("Chropov"),
                           QStringLiteral("Popudinské Močidľany"),
                           QStringLiteral("Šajdíkove Humence"),
                           QStringLiteral("Borský Mikuláš")};

const QStringList kPredpony = {QStringLiteral("TJ"),
                               QStringLiteral("FK"),
                               QStringLiteral("OFK"),
                               QStringLiteral("ŠK"),
                               QStringLiteral("OŠK"),
                               QStringLiteral("MFK"),
                               QStringLiteral("TJ Družstevník"),
                               QStringLiteral("TJ Slovan"),
                               QStringLiteral("TJ Tatran"),
                               QStringLiteral("FK Slavoj"),
                               QStringLiteral("TJ Jednota"),
                               QStringLiteral("TJ Sokol"),
                               QStringLiteral("OFK Baník"),
                               QStringLiteral("TJ Iskra"),
                               QStringLiteral("ŠK Lokomotíva"),
                               QStringLiteral("TJ Spartak"),
                               QStringLiteral("FC Rapid"),
                               QStringLiteral("TJ Agro"),
                               QStringLiteral("OFK Inter"),
                               QStringLiteral("TJ Slavia")};

const QStringList kSutaze = {QStringLiteral("V. liga"),
                             QStringLiteral("I. trieda"),
                             QStringLiteral("II. trieda"),
                             QStringLiteral("III. trieda"),
                             QStringLiteral("IV. liga dorast U19"),
                             QStringLiteral("I. trieda dorast U19"),
                             QStringLiteral("I. trieda žiaci U15"),
                             QStringLiteral("II. trieda žiaci U15"),
                             QStringLiteral("Ženy"),
                             QStringLiteral("Veteráni")};
const QStringList kSkupiny = {QString(), QStringLiteral(" – sever"), QStringLiteral(" – juh"),
                              QStringLiteral(" – západ"), QStringLiteral(" – východ")};

const QStringList kMena = {
    QStringLiteral("Adam"),      QStringLiteral("Adrián"),   QStringLiteral("Andrej"),
    QStringLiteral("Anton"),     QStringLiteral("Boris"),    QStringLiteral("Branislav"),
    QStringLiteral("Daniel"),    QStringLiteral("Dávid"),    QStringLiteral("Dominik"),
    QStringLiteral("Dušan"),     QStringLiteral("Erik"),     QStringLiteral("Filip"),
    QStringLiteral("František"), QStringLiteral("Gabriel"),  QStringLiteral("Igor"),
    QStringLiteral("Ivan"),      QStringLiteral("Jakub"),    QStringLiteral("Ján"),
    QStringLiteral("Jaroslav"),  QStringLiteral("Jozef"),    QStringLiteral("Juraj"),
    QStringLiteral("Kamil"),     QStringLiteral("Karol"),    QStringLiteral("Kristián"),
    QStringLiteral("Ladislav"),  QStringLiteral("Lukáš"),    QStringLiteral("Ľuboš"),
    QStringLiteral("Ľubomír"),   QStringLiteral("Marek"),    QStringLiteral("Marián"),
    QStringLiteral("Martin"),    QStringLiteral("Matej"),    QStringLiteral("Matúš"),
    QStringLiteral("Michal"),    QStringLiteral("Milan"),    QStringLiteral("Miroslav"),
    QStringLiteral("Norbert"),   QStringLiteral("Ondrej"),   QStringLiteral("Pavol"),
    QStringLiteral("Patrik"),    QStringLiteral("Peter"),    QStringLiteral("Radoslav"),
    QStringLiteral("Rastislav"), QStringLiteral("Richard"),  QStringLiteral("Róbert"),
    QStringLiteral("Roman"),     QStringLiteral("Samuel"),   QStringLiteral("Sebastián"),
    QStringLiteral("Šimon"),     QStringLiteral("Štefan"),   QStringLiteral("Tomáš"),
    QStringLiteral("Viktor"),    QStringLiteral("Vladimír"), QStringLiteral("Vojtech"),
    QStringLiteral("Zdenko"),    QStringLiteral("Žigmund")};

const QStringList kPriezviska = {
    QStringLiteral("Baláž"),       QStringLiteral("Baranec"),       QStringLiteral("Bednár"),
    QStringLiteral("Blaško"),      QStringLiteral("Čech"),          QStringLiteral("Čierny"),
    QStringLiteral("Ďurica"),      QStringLiteral("Ďuriš"),         QStringLiteral("Dvorský"),
    QStringLiteral("Fabian"),      QStringLiteral("Gajdoš"),        QStringLiteral("Hanák"),
    QStringLiteral("Hudák"),       QStringLiteral("Hruška"),        QStringLiteral("Chovanec"),
    QStringLiteral("Ivanič"),      QStringLiteral("Janík"),         QStringLiteral("Jurčo"),
    QStringLiteral("Kováč"),       QStringLiteral("Kováčik"),       QStringLiteral("Kollár"),
    QStringLiteral("Krajčovič"),   QStringLiteral("Kučera"),        QStringLiteral("Lukáč"),
    QStringLiteral("Malý"),        QStringLiteral("Mareček"),       QStringLiteral("Matejka"),
    QStringLiteral("Mikuš"),       QStringLiteral("Molnár"),        QStringLiteral("Nagy"),
    QStringLiteral("Novák"),       QStringLiteral("Oravec"),        QStringLiteral("Pavlík"),
    QStringLiteral("Polák"),       QStringLiteral("Rusnák"),        QStringLiteral("Sedlák"),
    QStringLiteral("Slovák"),      QStringLiteral("Sokol"),         QStringLiteral("Súkeník"),
    QStringLiteral("Šimko"),       QStringLiteral("Šťastný"),       QStringLiteral("Štefanka"),
    QStringLiteral("Tóth"),        QStringLiteral("Urban"),         QStringLiteral("Vaňo"),
    QStringLiteral("Varga"),       QStringLiteral("Vlček"),         QStringLiteral("Zajac"),
    QStringLiteral("Zelenák"),     QStringLiteral("Žiak"),          QStringLiteral("Beňo"),
    QStringLiteral("Bielik"),      QStringLiteral("Brezina"),       QStringLiteral("Daňo"),
    QStringLiteral("Dobrovodský"), QStringLiteral("Filo"),          QStringLiteral("Gregor"),
    QStringLiteral("Halász"),      QStringLiteral("Holub"),         QStringLiteral("Hrnčiar"),
    QStringLiteral("Jánoš"),       QStringLiteral("Kalina"),        QStringLiteral("Klimo"),
    QStringLiteral("Košík"),       QStringLiteral("Krajčír"),       QStringLiteral("Kubala"),
    QStringLiteral("Lacko"),       QStringLiteral("Lipták"),        QStringLiteral("Macko"),
    QStringLiteral("Medveď"),      QStringLiteral("Michalík"),      QStringLiteral("Mráz"),
    QStringLiteral("Ondruš"),      QStringLiteral("Pekár"),         QStringLiteral("Petráš"),
    QStringLiteral("Rajník"),      QStringLiteral("Repka"),         QStringLiteral("Sloboda"),
    QStringLiteral("Staňo"),       QStringLiteral("Sýkora"),        QStringLiteral("Šebo"),
    QStringLiteral("Švec"),        QStringLiteral("Tkáč"),          QStringLiteral("Valach"),
    QStringLiteral("Vavro"),       QStringLiteral("Vrábel"),        QStringLiteral("Záhorský"),
    QStringLiteral("Žitňanský"),   QStringLiteral("Novák-Kováčik"), QStringLiteral("Šťastný-Ďurovčík")};

const QStringList kPoznamkyDelegata = {
    QStringLiteral("Bez pripomienok."), QStringLiteral("Neskorý príchod usporiadateľov."),
    QStringLiteral("Slabá hracia plocha, kabíny v poriadku."),
    QStringLiteral("Pokrikovanie divákov na rozhodcu."), QStringLiteral("Zápas sa začal o 10 minút neskôr.")};

struct CKlubUkazky
{
    int id = 0;
    QString name;
    QVector<int> players; // live rows, the goalkeeper first
};

struct CZapasUkazky
{
    int id = 0;
    int competition = 0;
    int round = 0;
    int home = 0;
    int away = 0;
    QDateTime kickOff;
    bool played = false;
};

class CGenerator
{
public:
    CGenerator(CDatabaza& db, const CParametreUkazky& p) : m_db(db), m_p(p), m_random(p.seed) {}

    void Run(const std::function<bool(int)>& step);

private:
    int Bounded(int n) { return n <= 0 ? 0 : static_cast<int>(m_random.bounded(static_cast<quint32>(n))); }
    template <class T> const T& Pick(const QList<T>& list)
    {
        return list.at(Bounded(static_cast<int>(list.size())));
    }
    bool Chance(int percent) { return Bounded(100) < percent; }
    // A small number of goals or cards with the given mean.
    int Poisson(double mean)
    {
        const double limit = std::exp(-mean);
        double product = m_random.generateDouble();
        int k = 0;
        while (product > limit) {
            ++k;
            product *= m_random.generateDouble();
        }
        return k;
    }
    QString Phone()
    {
        return QStringLiteral("09%1 %2 %3")
            .arg(Bounded(50) + 10)
            .arg(Bounded(900) + 100)
            .arg(Bounded(900) + 100);
    }
    // A birth number that passes the register's check: ten digits divisible by 11.
    QString BirthNumber(int year)
    {
        const QDate day(year, 1 + Bounded(12), 1 + Bounded(28));
        const QString date = day.toString(QStringLiteral("yyMMdd"));
        int tail = Bounded(9000) + 1000;
        tail -= static_cast<int>((date.toLongLong() * 10000 + tail) % 11);
        if (tail < 1000)
            tail += 11;
        return QStringLiteral("%1/%2").arg(date).arg(tail);
    }
    qint64 Insert(const QString& sql, const QVariantList& values)
    {
        CPrikaz& q = Statement(sql);
        q.Execute(values);
        return m_db.LastInsertId();
    }
    CPrikaz& Statement(const QString& sql)
    {
        auto it = m_statements.find(sql);
        if (it == m_statements.end())
            it = m_statements.emplace(sql, std::make_unique<CPrikaz>(m_db, sql)).first;
        return *it->second;
    }

    void Season();
    void Competition(int index);
    void Results(int competition, int fromRound, int toRound);
    void Side(const CZapasUkazky& m, int club, int goals, int scorersCount);
    void Transfers();
    void Officials();
    void Nominations();

    CDatabaza& m_db;
    CParametreUkazky m_p;
    QRandomGenerator m_random;
    std::map<QString, std::unique_ptr<CPrikaz>> m_statements;
    int m_ownGoal = 0;
    QVector<int> m_competitions;
    QHash<int, CKlubUkazky> m_clubs;             // by ID
    QHash<int, QVector<int>> m_clubsOf;          // competition -> clubs
    QHash<int, QVector<CZapasUkazky>> m_matches; // competition -> matches in ID order
    QHash<int, int> m_autumnRounds;              // competition -> its last autumn round
    QHash<int, int> m_playedRounds;              // competition -> last round played
};

void CGenerator::Run(const std::function<bool(int)>& step)
{
    m_ownGoal = m_db.Value(QStringLiteral("select ID from thraci where RC=?"), {kRcVlastnyGol}).toInt();
    Season();
    for (int c = 0; c < m_p.competitions; ++c) {
        Competition(c);
        if (!step(1))
            return;
    }
    // The autumn is played everywhere, then players move in the winter break, then the spring.
    for (int competition : std::as_const(m_competitions)) {
        Results(competition, 1, m_autumnRounds.value(competition));
        if (!step(1))
            return;
    }
    Transfers();
    for (int competition : std::as_const(m_competitions)) {
        Results(competition, m_autumnRounds.value(competition) + 1, m_playedRounds.value(competition));
        if (!step(1))
            return;
    }
    Officials();
    Nominations();
    if (!step(1))
        return;
    for (int competition : std::as_const(m_competitions))
        RecalculateCompetition(m_db, competition);
    // A few clubs were sanctioned by the commission.
    for (int i = 0; i < m_competitions.size(); i += 3) {
        const int competition = m_competitions.at(i);
        const int club = m_clubsOf.value(competition)
                             .value(Bounded(static_cast<int>(m_clubsOf.value(competition).size())));
        m_db.Execute(
            QStringLiteral("update tbody set btrest=3, trest=? where IDklubu=? and skupina=?"),
            {QStringLiteral("Odpočet 3 bodov a pokuta 100 € za nešportové správanie divákov (DK %1/2025)")
                 .arg(10 + i),
             club, competition});
        RecalculateClub(m_db, competition, club);
    }
    step(1);
}

void CGenerator::Season()
{
    m_db.Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz, stop, zapocitat) values (?,?,?,?,1)"),
        {QStringLiteral("2025/2026"), QStringLiteral("Trnavský kraj"),
         QStringLiteral("Oblastný futbalový zväz Ukážkovo"), QStringLiteral("4,8,12,16")});
}

void CGenerator::Competition(int index)
{
    const QString name = kSutaze.at(index % kSutaze.size()) +
                         kSkupiny.at((index / kSutaze.size()) % kSkupiny.size()) +
                         (index >= kSutaze.size() * kSkupiny.size()
                              ? QStringLiteral(" (%1)").arg(index / (kSutaze.size() * kSkupiny.size()) + 1)
                              : QString());
    const int competition =
        static_cast<int>(Insert(QStringLiteral("insert into tsutaze (nazov) values (?)"), {name}));
    m_competitions.append(competition);

    // Clubs from the region's villages, their numbers drawn.
    QStringList towns = kObce;
    std::shuffle(towns.begin(), towns.end(), m_random);
    QVector<int> draw;
    for (int i = 1; i <= m_p.clubs; ++i)
        draw << i;
    std::shuffle(draw.begin(), draw.end(), m_random);
    const int youth = index % kSutaze.size() >= 4 && index % kSutaze.size() <= 7;
    const int bornFrom = youth ? 2007 : 1984;
    const int bornSpan = youth ? 4 : 20;
    for (int i = 0; i < m_p.clubs; ++i) {
        CKlubUkazky club;
        club.name = QStringLiteral("%1 %2").arg(Pick(kPredpony), towns.at(i % towns.size()));
        if (i >= towns.size())
            club.name += QStringLiteral(" B");
        const QString contact = QStringLiteral("%1 %2, %3").arg(Pick(kMena), Pick(kPriezviska), Phone());
        club.id = static_cast<int>(Insert(
            QStringLiteral("insert into tkluby (nazov, kontakt1, kontakt2, vylosovanie, pozn, skupina) "
                           "values (?,?,?,?,?,?)"),
            {club.name, contact, Chance(50) ? QStringLiteral("sekretariat@%1.sk").arg(i + 1) : QString(),
             draw.at(i), Chance(15) ? QStringLiteral("Ihrisko s umelou trávou.") : QString(), competition}));
        for (int k = 0; k < m_p.players; ++k) {
            const QDate loan = Chance(4) ? QDate(2026, 6, 30) : QDate(1900, 1, 1);
            const QDate ban = Chance(2) ? QDate(2025, 10, 31) : QDate(1900, 1, 1);
            club.players << static_cast<int>(
                Insert(QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu, od, \"do\", pozn) "
                                      "values (?,?,?,?,?,?,?)"),
                       {Pick(kMena), Pick(kPriezviska), BirthNumber(bornFrom + Bounded(bornSpan)), club.id,
                        CasSezony(loan), CasSezony(ban),
                        loan.year() > 1900 ? QStringLiteral("Hosťovanie z iného klubu.") : QString()}));
        }
        m_clubs.insert(club.id, club);
        m_clubsOf[competition].append(club.id);
    }

    // The fixture list, as "Vytvoriť súťaž" makes it: Saturday or Sunday, hours by competition.
    static const QStringList startHours = {QStringLiteral("17:00"), QStringLiteral("16:30"),
                                           QStringLiteral("15:00"), QStringLiteral("17:00"),
                                           QStringLiteral("16:00")};
    static const QStringList returnHours = {QStringLiteral("14:30"), QStringLiteral("14:00"),
                                            QStringLiteral("13:00"), QStringLiteral("15:00"),
                                            QStringLiteral("13:30")};
    CParametreGenerovania p;
    p.start = QDate(2025, 8, 2).addDays(index % 2);
    p.returnDate = QDate(2026, 3, 14).addDays(index % 2);
    p.startHour = startHours.at(index % startHours.size());
    p.returnHour = returnHours.at(index % returnHours.size());
    p.mode = kDvojkolovo;
    const int slotCount = m_p.clubs + m_p.clubs % 2;
    p.rounds = 2 * slotCount - 2;
    QVector<int> table(slotCount + 1, 0);
    for (int id : m_clubsOf.value(competition))
        table[m_db.Value(QStringLiteral("select vylosovanie from tkluby where ID=?"), {id}).toInt()] = id;
    const QVector<CGenerovanyZapas> plan =
        PlanFixtures(table, m_p.clubs, p, *ParseHour(p.startHour), *ParseHour(p.returnHour));
    const int rounds = p.rounds;
    m_autumnRounds[competition] = rounds / 2;
    m_playedRounds[competition] = std::max(1, rounds - 3);
    QVector<CZapasUkazky>& matches = m_matches[competition];
    for (const CGenerovanyZapas& z : plan) {
        CZapasUkazky m;
        m.competition = competition;
        m.round = z.kolo;
        m.home = z.klub1;
        m.away = z.klub2;
        m.kickOff = z.cas;
        m.played = z.kolo <= m_playedRounds.value(competition);
        m.id = static_cast<int>(Insert(
            QStringLiteral(
                "insert into tzapasy (kolo, skupina, klub1, klub2, los1, los2, cas, body1, body2, polcas1, "
                "polcas2, poznamka, poznamka2) values (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {z.kolo, competition, z.klub1, z.klub2, z.los1, z.los2, z.cas, kBezVysledku, kBezVysledku,
             kBezVysledku, kBezVysledku, QString(), QString()}));
        matches.append(m);
    }
    // One autumn match was postponed to the Wednesday after two more rounds.
    const int autumn = m_autumnRounds.value(competition);
    if (autumn >= 6) {
        const int round = 3 + Bounded(autumn - 5);
        QVector<int> candidates;
        for (int i = 0; i < matches.size(); ++i)
            if (matches.at(i).round == round && matches.at(i).home && matches.at(i).away)
                candidates << i;
        if (!candidates.isEmpty()) {
            CZapasUkazky& m = matches[candidates.at(Bounded(static_cast<int>(candidates.size())))];
            // The Wednesday after two more rounds.
            const QDate day = m.kickOff.date();
            m.kickOff = CasSezony(day.addDays(14 + (3 - day.dayOfWeek() + 7) % 7), QTime(17, 30));
            m_db.Execute(QStringLiteral("update tzapasy set cas=?, poznamka2=? where ID=?"),
                         {m.kickOff, QStringLiteral("Odložený zápas"), m.id});
        }
    }
}

void CGenerator::Side(const CZapasUkazky& m, int club, int goals, int scorersCount)
{
    const CKlubUkazky& own = m_clubs[club];
    const QString insert =
        QStringLiteral("insert into %1 (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,?,?,?,?)");
    // Forwards score most; the goalkeeper (first) never; now and then the opponent scores into his own net.
    for (int g = 0; g < std::min(goals, scorersCount); ++g) {
        int player = m_ownGoal;
        if (!Chance(3) || m_ownGoal == 0) {
            const int pool = static_cast<int>(own.players.size());
            player = own.players.value(Chance(70) ? pool - 1 - Bounded(std::min(6, pool - 1))
                                                  : 1 + Bounded(pool - 1));
        }
        Statement(insert.arg(QStringLiteral("tgoly"))).Execute({m.id, player, club, m.round, m.competition});
    }
    const int yellow = std::min(Poisson(1.9), 6);
    QVector<int> carded;
    for (int y = 0; y < yellow; ++y) {
        const int player = own.players.value(1 + Bounded(static_cast<int>(own.players.size()) - 1));
        Statement(insert.arg(QStringLiteral("tzkarty")))
            .Execute({m.id, player, club, m.round, m.competition});
        // A second yellow in one match is a red one as well.
        if (carded.contains(player))
            Statement(insert.arg(QStringLiteral("tckarty")))
                .Execute({m.id, player, club, m.round, m.competition});
        carded << player;
    }
    if (Chance(4)) {
        const int player = own.players.value(Bounded(static_cast<int>(own.players.size())));
        Statement(insert.arg(QStringLiteral("tckarty")))
            .Execute({m.id, player, club, m.round, m.competition});
    }
}

void CGenerator::Results(int competition, int fromRound, int toRound)
{
    QVector<CZapasUkazky>& matches = m_matches[competition];
    int forfeitRound = m_autumnRounds.value(competition) + 2;
    if (forfeitRound > toRound || forfeitRound < fromRound)
        forfeitRound = -1;
    bool forfeitDone = false;
    for (CZapasUkazky& m : matches) {
        if (m.round < fromRound || m.round > toRound || m.home == 0 || m.away == 0)
            continue;
        if (m.round == forfeitRound && !forfeitDone) {
            // The away side did not turn up.
            forfeitDone = true;
            m_db.Execute(QStringLiteral("update tzapasy set body1=?, body2=?, poznamka=? where ID=?"),
                         {Chance(50) ? QVariant(3) : QVariant(kBezVysledku), kKontumacia,
                          QStringLiteral("Kontumácia: hostia sa nedostavili."), m.id});
            continue;
        }
        const int home = std::min(Poisson(1.7), 9);
        const int away = std::min(Poisson(1.15), 9);
        int halfHome = 0, halfAway = 0;
        for (int g = 0; g < home; ++g)
            halfHome += Chance(45) ? 1 : 0;
        for (int g = 0; g < away; ++g)
            halfAway += Chance(45) ? 1 : 0;
        m_db.Execute(
            QStringLiteral(
                "update tzapasy set body1=?, body2=?, polcas1=?, polcas2=?, poznamka=? where ID=?"),
            {home, away, halfHome, halfAway,
             Chance(3) ? QStringLiteral("Zápas prerušený pre búrku na 20 minút.") : QStringLiteral(" "),
             m.id});
        // Now and then a scorer is not known yet.
        Side(m, m.home, home, Chance(5) ? home - 1 : home);
        Side(m, m.away, away, away);
    }
}

void CGenerator::Transfers()
{
    // Within a competition, and here and there into another one.
    for (int i = 0; i < m_competitions.size(); ++i) {
        const QVector<int>& clubs = m_clubsOf.value(m_competitions.at(i));
        if (clubs.size() < 2)
            continue;
        for (int t = 0; t < 2; ++t) {
            const int from = clubs.at(Bounded(static_cast<int>(clubs.size())));
            int to = clubs.at(Bounded(static_cast<int>(clubs.size())));
            if (t == 1 && m_competitions.size() > 1 && i % 2 == 0) {
                const QVector<int>& others =
                    m_clubsOf.value(m_competitions.at((i + 1) % m_competitions.size()));
                to = others.at(Bounded(static_cast<int>(others.size())));
            }
            if (to == from)
                continue;
            CKlubUkazky& old = m_clubs[from];
            if (old.players.size() < 3)
                continue;
            const int player = old.players.takeAt(1 + Bounded(static_cast<int>(old.players.size()) - 1));
            m_clubs[to].players.append(player);
            CPrikaz read(m_db,
                         QStringLiteral("select meno, priezvisko, od, \"do\", pozn from thraci where ID=?"),
                         {player});
            read.Step();
            m_db.Execute(QStringLiteral("update thraci set IDklubu=? where ID=?"), {to, player});
            Insert(QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu, IDold, od, \"do\", "
                                  "pozn) values (?,?,' ',?,?,?,?,?)"),
                   {read.Text(0), read.Text(1), from, player, read.Text(2), read.Text(3), read.Text(4)});
        }
    }
}

void CGenerator::Officials()
{
    const int clubs = m_p.competitions * m_p.clubs;
    const int referees = std::max(8, clubs * 4 / 5);
    const int delegates = std::max(4, clubs * 3 / 10);
    for (int i = 0; i < referees + delegates; ++i) {
        const bool referee = i < referees;
        const float test = Chance(85) ? static_cast<float>(12 + Bounded(8)) / 2.0f : 0.0f;
        Insert(QStringLiteral(
                   "insert into trozhodci (meno, priezvisko, RC, domov, praca, mobil, pozn, znamka, beh, "
                   "skupina, funkcia) values (?,?,?,?,?,?,?,?,?,?,?)"),
               {Pick(kMena), Pick(kPriezviska), BirthNumber(1960 + Bounded(40)), QString(), QString(),
                Phone(), Chance(10) ? QStringLiteral("Len cez víkendy.") : QString(), test,
                referee ? QString::number(2400 + 10 * Bounded(70)) : QString(),
                m_competitions.value(i % std::max<qsizetype>(1, m_competitions.size())),
                referee ? kFunkciaRozhodca : kFunkciaDelegat});
    }
}

void CGenerator::Nominations()
{
    QVector<int> referees, delegates;
    CPrikaz q(m_db, QStringLiteral("select ID, funkcia from trozhodci order by ID"));
    while (q.Step())
        (q.Int64(1) == kFunkciaDelegat ? delegates : referees).append(static_cast<int>(q.Int64(0)));
    QVector<const CZapasUkazky*> all;
    for (int competition : std::as_const(m_competitions))
        for (const CZapasUkazky& m : m_matches[competition])
            if (m.home && m.away)
                all << &m;
    std::stable_sort(all.begin(), all.end(),
                     [](const CZapasUkazky* a, const CZapasUkazky* b) { return a->kickOff < b->kickOff; });
    // Nobody is nominated twice within two hours, as the committee makes it.
    QHash<int, QVector<QDateTime>> busy;
    const auto choose = [&](const QVector<int>& pool, const QDateTime& when, QVector<int>& taken) {
        const int start = Bounded(static_cast<int>(pool.size()));
        for (int k = 0; k < pool.size(); ++k) {
            const int official = pool.at((start + k) % pool.size());
            if (taken.contains(official))
                continue;
            bool free = true;
            for (const QDateTime& t : busy.value(official))
                free = free && std::llabs(t.secsTo(when)) >= 2 * 3600;
            if (free) {
                busy[official].append(when);
                taken << official;
                return official;
            }
        }
        return 0;
    };
    const QString insert = QStringLiteral(
        "insert into tnominacie (IDzapasu, IDrozhodcu, funkcia, znamka, poznamka) values (?,?,?,?,?)");
    int clashes = 0;
    for (const CZapasUkazky* m : all) {
        // The last round played is not marked yet.
        const bool marked = m->played && m->round < m_playedRounds.value(m->competition);
        QVector<int> taken;
        for (int function = kNominaciaHR; function <= kNominaciaDZ; ++function) {
            int official = choose(function == kNominaciaDZ ? delegates : referees, m->kickOff, taken);
            // Twice in the season the committee nominates somebody twice at once: the list shows it red.
            if (function == kNominaciaAR2 && clashes < 2 && m->played && m->round >= 3 && Chance(5)) {
                for (int referee : std::as_const(referees)) {
                    const QVector<QDateTime> times = busy.value(referee);
                    if (!taken.contains(referee) && times.contains(m->kickOff)) {
                        official = referee;
                        ++clashes;
                        break;
                    }
                }
            }
            if (official == 0)
                continue;
            QVariant mark = 0.0f;
            QString note;
            if (marked && function != kNominaciaDZ)
                mark = static_cast<float>(12 + Bounded(8)) / 2.0f;
            if (marked && function == kNominaciaDZ && Chance(30))
                note = Pick(kPoznamkyDelegata);
            Statement(insert).Execute({m->id, official, function, mark, note});
        }
    }
}

} // namespace

QString CheckDemoParameters(const CParametreUkazky& p)
{
    if (p.competitions < 1 || p.competitions > 500)
        return QStringLiteral("Počet súťaží musí byť od 1 do 500.");
    if (p.clubs < 4 || p.clubs > 60)
        return QStringLiteral("Počet klubov v súťaži musí byť od 4 do 60.");
    if (p.players < 11 || p.players > 60)
        return QStringLiteral("Počet hráčov v klube musí byť od 11 do 60.");
    return {};
}

bool CreateDemoSeason(const QString& path, const CParametreUkazky& p,
                      const std::function<bool(int done, int total)>& progress)
{
    const QString problem = CheckDemoParameters(p);
    if (!problem.isEmpty())
        throw CChybaDatabazy(problem);
    const QString temporary = TemporaryBeside(path);
    bool finished = false;
    try {
        CreateNewSeasonFile(temporary);
        {
            CDatabaza db;
            db.Open(temporary);
            db.PrepareForBulkWrite();
            CTransakcia transaction(db);
            CGenerator generator(db, p);
            const int total = 3 * p.competitions + 2;
            int done = 0;
            bool stopped = false;
            generator.Run([&](int step) {
                done += step;
                if (progress && !progress(done, total))
                    stopped = true;
                return !stopped;
            });
            if (!stopped) {
                transaction.Commit();
                finished = true;
            }
        }
        if (!finished) {
            QFile::remove(temporary);
            return false;
        }
        SyncFile(temporary);
        const QString refusal = SeasonTargetRefusal(path);
        if (!refusal.isEmpty())
            throw CChybaDatabazy(refusal);
        ReplaceWith(temporary, path);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    return true;
}

QString DefaultDemoSeasonPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("ukazkova-sezona.mdb"));
}
