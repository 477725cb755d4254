#include "volby.h"

#include "jet/prevod.h"

#include <QCommandLineParser>
#include <QHash>

QString Synopsis()
{
    return QStringLiteral(
        "Agenda Mirak: sezóna futbalového zväzu v jednom súbore.\n"
        "\n"
        "  agenda-mirak [SEZONA.mdb]                       otvorí okno programu\n"
        "  agenda-mirak --new-season SEZONA.mdb            vytvorí prázdnu sezónu\n"
        "  agenda-mirak --new-season NOVA.mdb --from STARA.mdb [--bez-znamok] [--bez-trestov]\n"
        "                                                  ďalšia sezóna z tejto: súťaže, kluby, hráči, "
        "rozhodcovia\n"
        "  agenda-mirak --demo-season SEZONA.mdb [--competitions N] [--clubs N] [--players N] [--seed S]\n"
        "                                                  vytvorí ukážkovú sezónu\n"
        "  agenda-mirak --info SEZONA.mdb [--sutaz ID]     hlavička sezóny, počty záznamov a súťaže s ID\n"
        "  agenda-mirak --recalculate SEZONA.mdb [--sutaz ID]\n"
        "  agenda-mirak --generate SEZONA.mdb --sutaz ID [--mode 1|2|3|4] [--rounds R]\n"
        "               [--start MM-DD-YYYY] [--hour HH:MM] [--return MM-DD-YYYY] [--return-hour HH:MM]\n"
        "  agenda-mirak --export ZOZNAM SEZONA.mdb -o VYSTUP.html [--sutaz ID] [--klub ID] [--kolo N]\n"
        "               [--datum MM-DD-YYYY]\n"
        "  agenda-mirak --export ZOZNAM SEZONA.mdb -o VYSTUP.csv ...    tabuľka CSV pre tabuľkový procesor\n"
        "  agenda-mirak --print ZOZNAM SEZONA.mdb -o VYSTUP.pdf [--sutaz ID] [--klub ID] [--kolo N]\n"
        "               [--datum MM-DD-YYYY]\n"
        "  agenda-mirak --publish SEZONA.mdb -o PRIECINOK  celá sezóna ako webová stránka\n"
        "  agenda-mirak --publish SEZONA.mdb -o ftp://POUZIVATEL@SERVER/CESTA\n"
        "                                                  web rovno na server zväzu (aj ftps://; heslo\n"
        "                                                  z ~/.netrc); nahrajú sa len zmenené súbory\n"
        "  agenda-mirak --calendar SEZONA.mdb -o VYSTUP.ics [--sutaz ID] [--klub ID]\n"
        "                                                  zápasy ako kalendár (iCalendar)\n"
        "  agenda-mirak --import-clubs SEZONA.mdb --sutaz ID KLUBY.csv\n"
        "  agenda-mirak --import-players SEZONA.mdb --klub ID HRACI.csv\n"
        "                                                  pridá kluby alebo hráčov z tabuľky CSV\n"
        "  agenda-mirak --amnesty SEZONA.mdb [--sutaz ID] [--pocet N] [--datum MM-DD-YYYY]\n"
        "                                                  amnestia na ŽK: všetky karty alebo N najstarších\n"
        "                                                  každého hráča zo zápasov pred dňom --datum "
        "(dnes)\n"
        "  agenda-mirak --withdraw SEZONA.mdb --klub ID --datum MM-DD-YYYY [--annul | --zrusit]\n"
        "                                                  klub odstúpil zo súťaže od dňa --datum\n"
        "  agenda-mirak --convert STARA.mdb -o NOVA.mdb [--salvage]\n"
        "                                                  sezóna vo formáte Jet do nového súboru\n"
        "  agenda-mirak --upload SEZONA.mdb --server "
        "postgresql://POUZIVATEL@SERVER:PORT/DATABAZA[?sezona=NAZOV]\n"
        "                                                  sezónu zo súboru na server PostgreSQL\n"
        "  agenda-mirak --download postgresql://...?sezona=NAZOV -o NOVA.mdb\n"
        "                                                  sezónu zo servera do nového súboru\n"
        "  agenda-mirak --server-setup postgresql://...[?sezona=NAZOV]\n"
        "                                                  zriadi roly programu a ich práva na sezónach\n"
        "  agenda-mirak --grant ROLA --login MENO postgresql://...\n"
        "                                                  prihláseniu rolu sekretar, disciplinarna,\n"
        "                                                  rozhodcovia alebo citatel\n"
        "  agenda-mirak --history postgresql://...?sezona=NAZOV -o HISTORIA.csv [--od MM-DD-YYYY]\n"
        "                                                  história zmien sezóny na serveri\n"
        "\n"
        "--datum: pri --export/--print nominacie hrací deň nominácií; pri --amnesty deň, pred ktorým\n"
        "        sa karty odpustia (predvolene dnes); pri --withdraw deň, od ktorého klub odstúpil.\n"
        "--heslo TEXT: úlohy, ktoré menia sezónu s heslom na úpravy (--recalculate, --generate,\n"
        "        --import-clubs, --import-players, --amnesty, --withdraw), ho potrebujú; bez --heslo sa\n"
        "        naň program opýta na termináli. Heslo chráni sezónu pred omylom, nie pred niekým, kto\n"
        "        má jej súbor: ten ho otvorí aj bez hesla.\n"
        "\n"
        "ZOZNAM so --sutaz ID: kluby, hraci (--klub), rozpis a vysledky (--kolo; s --klub len zápasy\n"
        "        klubu), tabulka, strelci, zk, ck (--klub), zk-stop (--kolo N, --klub), nesmu-hrat (bez "
        "--kolo\n"
        "        hrané kolo; --klub). Bez súťaže: rozhodcovia, delegati, nominacie (--datum); pri tlači aj\n"
        "        znamky. Voľbu, ktorú úloha alebo zoznam nepoužíva, program odmietne.\n"
        "--info so --sutaz ID vypíše aj kluby súťaže s ich ID.\n"
        "Namiesto SEZONA.mdb možno každej úlohe dať adresu sezóny na serveri\n"
        "        postgresql://POUZIVATEL@SERVER:PORT/DATABAZA?sezona=NAZOV (heslo z ~/.pgpass alebo "
        "PGPASSWORD).\n"
        "Návratová hodnota: 0 úspech, 1 nesprávne použitie, 2 sezónu nemožno otvoriť, výber nič\n"
        "neoznačuje, súbor na import má chybu (nič sa neuloží) alebo by výstup nahradil sezónu či niečo,\n"
        "čo nie je súbor.");
}

void DefineOptions(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(Synopsis());
    parser.addHelpOption();
    parser.addVersionOption();
    const auto flag = [&parser](const QString& name, const QString& description) {
        parser.addOption(QCommandLineOption(name, description));
    };
    const auto value = [&parser](const QStringList& names, const QString& description, const QString& v) {
        parser.addOption(QCommandLineOption(names, description, v));
    };
    flag(QStringLiteral("new-season"), QStringLiteral("Vytvorí prázdny súbor sezóny."));
    value({QStringLiteral("from")}, QStringLiteral("Pri --new-season sezóna, z ktorej sa nová začína."),
          QStringLiteral("STARA.mdb"));
    flag(QStringLiteral("bez-znamok"),
         QStringLiteral("Pri --new-season --from bez známok z testu rozhodcov."));
    flag(QStringLiteral("bez-trestov"),
         QStringLiteral("Pri --new-season --from bez nevykonaných trestov (inak sa prenesú do prvých zápasov "
                        "klubu v novej sezóne)."));
    flag(QStringLiteral("withdraw"), QStringLiteral("Klub --klub odstúpil zo súťaže od dňa --datum."));
    flag(QStringLiteral("convert"), QStringLiteral("Prevedie sezónu vo formáte Jet do nového súboru -o."));
    flag(QStringLiteral("upload"),
         QStringLiteral("Nahrá sezónu zo súboru na server --server ako novú sezónu."));
    flag(QStringLiteral("download"), QStringLiteral("Zapíše sezónu zo servera do nového súboru -o."));
    value({QStringLiteral("server")},
          QStringLiteral("Pri --upload adresa databázy na serveri (s ?sezona=NAZOV aj názov novej sezóny)."),
          QStringLiteral("ADRESA"));
    flag(QStringLiteral("server-setup"),
         QStringLiteral("Zriadi na serveri roly programu a ich práva na sezónach databázy."));
    value({QStringLiteral("grant")}, QStringLiteral("Dá prihláseniu --login rolu na serveri."),
          QStringLiteral("ROLA"));
    value({QStringLiteral("login")}, QStringLiteral("Pri --grant prihlásenie na serveri."),
          QStringLiteral("MENO"));
    flag(QStringLiteral("history"), QStringLiteral("Zapíše históriu zmien sezóny na serveri do CSV -o."));
    value({QStringLiteral("od")}, QStringLiteral("Pri --history len zmeny od toho dňa."),
          QStringLiteral("MM-DD-YYYY"));
    flag(QStringLiteral("salvage"),
         QStringLiteral("Pri --convert poškodeného súboru prevedie, čo sa dá prečítať, a každú stratu zapíše "
                        "do správy NOVA.mdb.prevod.txt."));
    {
        // The conversion's own reading, in a process of its own (see jet/prevod.h).
        QCommandLineOption child(kVolbaPrevodnika);
        child.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(child);
    }
    flag(QStringLiteral("annul"), QStringLiteral("Pri --withdraw sa všetky výsledky klubu anulujú."));
    flag(QStringLiteral("zrusit"), QStringLiteral("Pri --withdraw zruší odstúpenie klubu."));
    flag(QStringLiteral("demo-season"),
         QStringLiteral("Vytvorí ukážkovú sezónu (predvolene 4 súťaže po 14 klubov)."));
    flag(QStringLiteral("info"), QStringLiteral("Vypíše hlavičku sezóny a počty záznamov."));
    flag(QStringLiteral("recalculate"), QStringLiteral("Prepočíta tabuľku súťaže (--sutaz) alebo všetkých."));
    flag(QStringLiteral("generate"), QStringLiteral("Vytvorí rozpis zápasov súťaže ako „Vytvoriť súťaž“."));
    value({QStringLiteral("export")}, QStringLiteral("Zapíše stránku HTML zoznamu."),
          QStringLiteral("ZOZNAM"));
    value({QStringLiteral("print")}, QStringLiteral("Vytlačí zoznam do PDF na A4."),
          QStringLiteral("ZOZNAM"));
    flag(QStringLiteral("publish"), QStringLiteral("Zapíše celú sezónu ako webovú stránku do priečinka -o."));
    flag(QStringLiteral("calendar"), QStringLiteral("Zapíše zápasy ako kalendár iCalendar (.ics)."));
    flag(QStringLiteral("import-clubs"), QStringLiteral("Pridá do súťaže --sutaz kluby zo súboru CSV."));
    flag(QStringLiteral("import-players"), QStringLiteral("Pridá do klubu --klub hráčov zo súboru CSV."));
    flag(QStringLiteral("amnesty"),
         QStringLiteral("Amnestia na žlté karty v súťaži --sutaz alebo vo všetkých (ako v okne)."));
    value({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Súbor, ktorý sa zapíše."),
          QStringLiteral("SUBOR"));
    value({QStringLiteral("sutaz")}, QStringLiteral("Súťaž (tsutaze.ID)."), QStringLiteral("ID"));
    value({QStringLiteral("klub")}, QStringLiteral("Klub (tkluby.ID)."), QStringLiteral("ID"));
    value({QStringLiteral("kolo")}, QStringLiteral("Kolo (predvolené: všetky)."), QStringLiteral("N"));
    value({QStringLiteral("datum")},
          QStringLiteral("Pri nominacie hrací deň; pri --amnesty deň, pred ktorým sa karty odpustia; pri "
                         "--withdraw deň odstúpenia."),
          QStringLiteral("MM-DD-YYYY"));
    value({QStringLiteral("heslo")},
          QStringLiteral("Heslo na úpravy sezóny pre úlohy, ktoré ju menia (bez neho sa naň opýta na "
                         "termináli)."),
          QStringLiteral("TEXT"));
    value({QStringLiteral("mode")}, QStringLiteral("1 jednokolovo ... 4 štvorkolovo (predvolené 2)."),
          QStringLiteral("1-4"));
    value({QStringLiteral("rounds")}, QStringLiteral("Počet hracích kôl."), QStringLiteral("R"));
    value({QStringLiteral("start")}, QStringLiteral("Dátum začiatku súťaže."), QStringLiteral("MM-DD-YYYY"));
    value({QStringLiteral("hour")}, QStringLiteral("Hodina prvého kola."), QStringLiteral("HH:MM"));
    value({QStringLiteral("return")}, QStringLiteral("Dátum začiatku odvetnej časti."),
          QStringLiteral("MM-DD-YYYY"));
    value({QStringLiteral("return-hour")}, QStringLiteral("Hodina prvého kola odvetnej časti."),
          QStringLiteral("HH:MM"));
    value({QStringLiteral("competitions")}, QStringLiteral("Počet súťaží ukážkovej sezóny."),
          QStringLiteral("N"));
    value({QStringLiteral("clubs")}, QStringLiteral("Počet klubov v súťaži ukážkovej sezóny."),
          QStringLiteral("N"));
    value({QStringLiteral("players")}, QStringLiteral("Počet hráčov v klube ukážkovej sezóny."),
          QStringLiteral("N"));
    value({QStringLiteral("pocet")},
          QStringLiteral("Pri amnestii počet najstarších ŽK každého hráča (predvolené: všetky)."),
          QStringLiteral("N"));
    value({QStringLiteral("seed")},
          QStringLiteral("Semienko ukážkovej sezóny (rovnaké dáva rovnakú sezónu)."), QStringLiteral("S"));
    parser.addPositionalArgument(QStringLiteral("SEZONA.mdb"), QStringLiteral("Súbor sezóny."));
    parser.addPositionalArgument(QStringLiteral("SUBOR.csv"), QStringLiteral("Pri importe súbor CSV."),
                                 QStringLiteral("[SUBOR.csv]"));
    for (const QString& name : kQtValueOptions) {
        QCommandLineOption o(name, QString(), QStringLiteral("x"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const QString& name : kQtFlags) {
        QCommandLineOption o(name);
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
}

QStringList JobsOf(const QCommandLineParser& parser)
{
    QStringList jobs;
    for (const QString& job : kJobs)
        if (parser.isSet(job))
            jobs << job;
    return jobs;
}

QStringList OptionsOfJob(const QString& job)
{
    static const QHash<QString, QStringList> options = {
        {QStringLiteral("new-season"), {"from", "bez-znamok", "bez-trestov"}},
        {QStringLiteral("demo-season"), {"competitions", "clubs", "players", "seed"}},
        {QStringLiteral("info"), {"sutaz"}},
        {QStringLiteral("recalculate"), {"sutaz", "heslo"}},
        {QStringLiteral("generate"),
         {"sutaz", "mode", "rounds", "start", "hour", "return", "return-hour", "heslo"}},
        {QStringLiteral("publish"), {"o"}},
        {QStringLiteral("calendar"), {"o", "sutaz", "klub"}},
        {QStringLiteral("import-clubs"), {"sutaz", "heslo"}},
        {QStringLiteral("import-players"), {"klub", "heslo"}},
        {QStringLiteral("amnesty"), {"sutaz", "pocet", "datum", "heslo"}},
        {QStringLiteral("withdraw"), {"klub", "datum", "annul", "zrusit", "heslo"}},
        {QStringLiteral("convert"), {"o", "salvage"}},
        {QStringLiteral("upload"), {"server"}},
        {QStringLiteral("download"), {"o"}},
        {QStringLiteral("server-setup"), {}},
        {QStringLiteral("grant"), {"login"}},
        {QStringLiteral("history"), {"o", "od"}},
        {QStringLiteral("jet-child"), {"salvage"}},
    };
    return options.value(job);
}
