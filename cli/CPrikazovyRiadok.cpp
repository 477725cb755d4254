#include "CPrikazovyRiadok.h"

#include "cli/volby.h"
#include "cli/vystupy.h"
#include "competition/generator.h"
#include "competition/kalendar.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CLigaroDoc.h"
#include "db/CNastavenia.h"
#include "db/CSezonaNaServeri.h"
#include "db/CZaznamy.h"
#include "db/historia.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/novasezona.h"
#include "db/schema.h"
#include "db/subory.h"
#include "db/udajesezony.h"
#include "demo/ukazka.h"
#include "discipline/karty.h"
#include "discipline/stopky.h"
#include "jet/prevod.h"
#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "officials/znamky.h"
#include "output/CQtPlocha.h"
#include "output/CReportGenerator.h"
#include "output/csv.h"
#include "players/hraci.h"
#include "preklady/lokalizacia.h"
#include "results/odstupenieklubu.h"
#include "results/prepocet.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"
#include "web/nahravanie.h"
#include "web/sajt.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <functional>
#include <iostream>
#include <optional>
#include <string>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFileInfo>

namespace {

// The person at the keyboard, as the command line has one: messages go to standard error, the
// confirmations of a job are answered yes (the job was asked for), and the file to write is the one
// named with -o.
class CKonzola : public CPouzivatel
{
public:
    CKonzola(QTextStream& err, QString output) : m_err(err), m_output(std::move(output)) {}
    void ShowMessage(const QString& text, Ikona icon) override
    {
        if (icon != Ikona::Informacia)
            m_failed = true;
        m_err << text << Qt::endl;
    }
    bool AskYesNo(const QString&) override { return true; }
    QString AskSaveFileName(const QString&, const QString&, const QString&) override { return m_output; }
    void OpenWithSystem(const QString&) override {}
    bool Failed() const { return m_failed; }
    void ResetFailed() { m_failed = false; }

private:
    QTextStream& m_err;
    QString m_output;
    bool m_failed = false;
};

// Up to twenty of the choices, "ID name" each, and how many more there are.
QString Choices(const QStringList& items)
{
    constexpr int kNajviac = 20;
    QString text = items.mid(0, kNajviac).join(QStringLiteral(", "));
    if (items.size() > kNajviac)
        text += QStringLiteral(" a ďalších %1").arg(items.size() - kNajviac);
    return text;
}

QString NoCompetition(CDatabaza& db, int id)
{
    QStringList items;
    for (const CSutaz& s : ReadCompetitions(db))
        items << QStringLiteral("%1 %2").arg(s.id).arg(s.nazov);
    if (items.isEmpty())
        return QStringLiteral("Súťaž %1 v sezóne nie je; sezóna nemá žiadnu súťaž.").arg(id);
    return QStringLiteral("Súťaž %1 v sezóne nie je. Súťaže sezóny (--sutaz): %2.")
        .arg(id)
        .arg(Choices(items));
}

// `competition` 0: the whole season's clubs.
QString NoClub(CDatabaza& db, int id, int competition)
{
    QStringList items;
    CPrikaz q(db, QStringLiteral("select ID, nazov from tkluby where ?=0 or skupina=? order by ID"),
              {competition, competition});
    while (q.Step())
        items << QStringLiteral("%1 %2").arg(q.Int64(0)).arg(q.Text(1));
    const QString where =
        competition == 0 ? QStringLiteral("v sezóne") : QStringLiteral("v súťaži %1").arg(competition);
    if (items.isEmpty())
        return QStringLiteral("Klub %1 %2 nie je; nie je v nej žiadny klub.").arg(id).arg(where);
    return QStringLiteral("Klub %1 %2 nie je. Kluby (--klub): %3.").arg(id).arg(where, Choices(items));
}

} // namespace

CPrikazovyRiadok::CPrikazovyRiadok(QTextStream& out, QTextStream& err) : m_out(out), m_err(err)
{
    QCommandLineParser parser;
    DefineOptions(parser);
    m_help = parser.helpText();
}

QStringList CPrikazovyRiadok::Arguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int CPrikazovyRiadok::Main(int argc, char* argv[])
{
    // Jobs, help and usage errors are answered without a display; fonts for printing still need
    // the GUI layer, which only the printing job starts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_UNIX
    // Without a desktop session Qt wants a private runtime folder and complains when it has none.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime =
            QFile::encodeName(QDir::tempPath()) + "/agenda-mirak-" + QByteArray::number(getuid());
        mkdir(runtime.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
#endif
    const auto run = [&](QCoreApplication& app) {
        QCoreApplication::setApplicationName(QStringLiteral("Agenda Mirak"));
        QCoreApplication::setApplicationVersion(QStringLiteral(MIRAK_VERSION));
        CPreklady preklady(app);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return CPrikazovyRiadok(out, err).Run(app.arguments());
    };
    if (Prints(Arguments(argc, argv))) {
        QGuiApplication app(argc, argv);
        return run(app);
    }
    QCoreApplication app(argc, argv);
    return run(app);
}

CPrikazovyRiadok::CRezim CPrikazovyRiadok::Mode(const QStringList& arguments)
{
    QCommandLineParser parser;
    DefineOptions(parser);
    if (!parser.parse(arguments))
        return CRezim::Konzola;
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")))
        return CRezim::Konzola;
    if (!JobsOf(parser).isEmpty())
        return CRezim::Konzola;
    // Options of the jobs or more than one file without a job are a usage error, told on the console.
    for (const QString& name : parser.optionNames())
        if (!kQtValueOptions.contains(name) && !kQtFlags.contains(name))
            return CRezim::Konzola;
    return parser.positionalArguments().size() > 1 ? CRezim::Konzola : CRezim::Okno;
}

bool CPrikazovyRiadok::Prints(const QStringList& arguments)
{
    QCommandLineParser parser;
    DefineOptions(parser);
    return parser.parse(arguments) && JobsOf(parser).contains(QStringLiteral("print"));
}

QString CPrikazovyRiadok::WindowSeason(const QStringList& arguments)
{
    QCommandLineParser parser;
    DefineOptions(parser);
    parser.parse(arguments);
    return parser.positionalArguments().value(0);
}

QString CPrikazovyRiadok::Usage() const
{
    return m_help;
}

bool CPrikazovyRiadok::Fail(const QString& message)
{
    m_err << message << Qt::endl;
    return false;
}

int CPrikazovyRiadok::Fail(int status, const QString& message)
{
    m_err << message << Qt::endl;
    if (status == kZlePouzitie)
        m_err << QStringLiteral("Všetky úlohy a voľby vypíše: agenda-mirak --help") << Qt::endl;
    m_err.flush();
    return status;
}

bool CPrikazovyRiadok::IntOption(const CVolby& volby, const QString& name, int& value, bool& present)
{
    present = volby.options.contains(name);
    if (!present)
        return true;
    bool ok = false;
    value = volby.options.value(name).toInt(&ok);
    if (!ok)
        m_err << QStringLiteral("Voľba --%1 potrebuje celé číslo, nie „%2“.")
                     .arg(name, volby.options.value(name))
              << Qt::endl;
    return ok;
}

int CPrikazovyRiadok::RefuseOutput(const CVolby& volby)
{
    // An output never takes the place of a season: not of the one being read, however its path is
    // spelled, nor of any other.
    if (TenIstySubor(volby.output, volby.season))
        return Fail(kNedaSa,
                    QStringLiteral("Výstupný súbor %1 je sezóna, z ktorej sa číta; nič doň nezapíšem.")
                        .arg(QDir::toNativeSeparators(QDir::cleanPath(volby.output))));
    const QString refusal = OutputRefusal(volby.output);
    return refusal.isEmpty() ? kUspech : Fail(kNedaSa, refusal);
}

bool CPrikazovyRiadok::OpenSeason(CLigaroDoc& doc, const QString& path)
{
    return doc.OpenSeasonFile(path) && doc.IsDatabaseOpen();
}

bool CPrikazovyRiadok::LogIn(CLigaroDoc& doc, const CVolby& volby)
{
    // A season on a server: its login decides.
    if (doc.HasEditAccess())
        return true;
    QString stored;
    if (!doc.Run([&] { stored = StoredPassword(doc.Database()); }))
        return false;
    if (stored.isEmpty()) {
        doc.SetEditAccess(true);
        return true;
    }
    QString typed = volby.options.value(QStringLiteral("heslo"));
    if (!volby.options.contains(QStringLiteral("heslo"))) {
        if (!ReadPasswordFromTerminal(typed))
            return Fail(
                QStringLiteral("Sezóna má heslo na úpravy; úloha --%1 ju mení, zadajte ho cez --heslo "
                               "TEXT alebo spustite úlohu na termináli.")
                    .arg(volby.job));
    }
    if (typed != stored)
        return Fail(kNespravneHeslo + QLatin1Char('.'));
    doc.SetEditAccess(true);
    return true;
}

bool CPrikazovyRiadok::ReadPasswordFromTerminal(QString& password)
{
#ifdef Q_OS_UNIX
    if (!::isatty(STDIN_FILENO))
        return false;
    m_err << "Heslo na úpravy sezóny: " << Qt::flush;
    termios old{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &old) == 0;
    if (quiet) {
        termios hidden = old;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
    m_err << "\n" << Qt::flush;
    password = QString::fromLocal8Bit(line.c_str());
    return read;
#else
    (void)password;
    return false;
#endif
}

int CPrikazovyRiadok::OnSeason(const CVolby& volby, const QString& output, const CUloha& job)
{
    CKonzola user(m_err, output);
    CLigaroDoc doc(user);
    // The snapshots a job takes are thinned to the limit the user set in the window.
    doc.SetSnapshotLimit(CNastavenia().SnapshotLimitMB() * 1024 * 1024);
    if (!OpenSeason(doc, volby.season))
        return kNedaSa;
    if (kMeniaSezonu.contains(volby.job) && !LogIn(doc, volby))
        return kNedaSa;
    int status = kNedaSa;
    doc.Run([&] { status = job(doc, doc.Database()); });
    return status;
}

int CPrikazovyRiadok::WriteOutput(const QString& path, const QByteArray& bytes)
{
    try {
        WriteWholeFile(path, bytes);
    } catch (const CChybaDatabazy& e) {
        return Fail(kNedaSa, e.UserText());
    }
    return kUspech;
}

int CPrikazovyRiadok::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    DefineOptions(parser);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return Fail(kZlePouzitie,
                        QStringLiteral("Neznáma voľba: %1").arg(unknown.join(QStringLiteral(", "))));
        return Fail(kZlePouzitie, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        m_out << Usage();
        m_out.flush();
        return kUspech;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        m_out << QCoreApplication::applicationName() << " " << QCoreApplication::applicationVersion()
              << Qt::endl;
        return kUspech;
    }
    const QStringList jobs = JobsOf(parser);
    if (jobs.size() != 1)
        return Fail(kZlePouzitie, jobs.isEmpty() ? QStringLiteral("Chýba úloha (napríklad --export).")
                                                 : QStringLiteral("Naraz sa dá vykonať len jedna úloha."));
    CVolby volby;
    volby.job = jobs.first();
    volby.positional = parser.positionalArguments();
    for (const QString& name : kValueOptions)
        if (parser.isSet(name))
            volby.options.insert(name, parser.value(name));
    for (const QString& name : kFlags)
        if (parser.isSet(name))
            volby.flags.insert(name);
    volby.output = parser.value(QStringLiteral("o"));
    if (volby.job == QStringLiteral("export") || volby.job == QStringLiteral("print") ||
        volby.job == QStringLiteral("grant"))
        volby.view = parser.value(volby.job);
    // An option the job does not use is refused by name: ignored, it would hand over the whole list
    // to someone who asked for one club's.
    {
        QStringList allowed = OptionsOfJob(volby.job);
        QString what = QStringLiteral("úlohe --%1").arg(volby.job);
        if (volby.job == QStringLiteral("export") || volby.job == QStringLiteral("print")) {
            const auto it = Outputs().constFind(volby.view);
            if (it == Outputs().constEnd())
                return Fail(kZlePouzitie, QStringLiteral("Neznámy zoznam „%1“.").arg(volby.view));
            allowed = {QStringLiteral("o")};
            if (it->perCompetition)
                allowed << QStringLiteral("sutaz");
            if (it->usesRound)
                allowed << QStringLiteral("kolo");
            if (it->usesClub)
                allowed << QStringLiteral("klub");
            if (it->usesDay)
                allowed << QStringLiteral("datum");
            what = QStringLiteral("zozname „%1“").arg(volby.view);
        }
        QStringList given = volby.options.keys() + QStringList(volby.flags.begin(), volby.flags.end());
        if (parser.isSet(QStringLiteral("o")))
            given << QStringLiteral("o");
        given.sort();
        for (const QString& option : given)
            if (!allowed.contains(option))
                return Fail(kZlePouzitie,
                            QStringLiteral("Voľba %1 sa pri %2 nepoužíva; vynechajte ju.")
                                .arg(option == QStringLiteral("o") ? QStringLiteral("-o")
                                                                   : QStringLiteral("--") + option,
                                     what));
    }
    const bool writes = volby.job == QStringLiteral("export") || volby.job == QStringLiteral("print") ||
                        volby.job == QStringLiteral("publish") || volby.job == QStringLiteral("calendar") ||
                        volby.job == QStringLiteral("convert") || volby.job == QStringLiteral("download") ||
                        volby.job == QStringLiteral("history");
    if (writes && volby.output.isEmpty())
        return Fail(kZlePouzitie, volby.job == QStringLiteral("publish")
                                      ? QStringLiteral("Chýba priečinok webu (-o PRIECINOK).")
                                      : QStringLiteral("Chýba výstupný súbor (-o SUBOR)."));
    if (volby.job == kVolbaPrevodnika) {
        if (volby.positional.size() != 2)
            return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
        return RunConversionChild(volby.positional.at(0), volby.positional.at(1),
                                  volby.flags.contains(QStringLiteral("salvage")));
    }
    // An import names the season and the file to read.
    const qsizetype files = volby.job.startsWith(QStringLiteral("import-")) ? 2 : 1;
    if (volby.positional.size() != files)
        return Fail(kZlePouzitie, volby.positional.isEmpty() ? QStringLiteral("Chýba súbor sezóny.")
                                  : volby.positional.size() < files
                                      ? QStringLiteral("Chýba súbor CSV, z ktorého sa importuje.")
                                      : QStringLiteral("Nadbytočné parametre: %1")
                                            .arg(volby.positional.mid(files).join(QLatin1Char(' '))));
    volby.season = volby.positional.first();
    if (volby.job == QStringLiteral("new-season"))
        return NewSeason(volby);
    if (volby.job == QStringLiteral("demo-season"))
        return DemoSeason(volby);
    if (volby.job == QStringLiteral("info"))
        return Info(volby);
    if (volby.job == QStringLiteral("recalculate"))
        return Recalculate(volby);
    if (volby.job == QStringLiteral("generate"))
        return Generate(volby);
    if (volby.job == QStringLiteral("publish"))
        return Publish(volby);
    if (volby.job == QStringLiteral("calendar"))
        return Calendar(volby);
    if (volby.job.startsWith(QStringLiteral("import-")))
        return Import(volby);
    if (volby.job == QStringLiteral("amnesty"))
        return AmnestyJob(volby);
    if (volby.job == QStringLiteral("withdraw"))
        return WithdrawJob(volby);
    if (volby.job == QStringLiteral("convert"))
        return ConvertJob(volby);
    if (volby.job == QStringLiteral("upload"))
        return UploadJob(volby);
    if (volby.job == QStringLiteral("download"))
        return DownloadJob(volby);
    if (volby.job == QStringLiteral("server-setup") || volby.job == QStringLiteral("grant"))
        return RolesJob(volby);
    if (volby.job == QStringLiteral("history"))
        return HistoryJob(volby);
    return ExportOrPrint(volby);
}

int CPrikazovyRiadok::UploadJob(const CVolby& volby)
{
    QString address = volby.options.value(QStringLiteral("server"));
    if (address.isEmpty())
        return Fail(kZlePouzitie, QStringLiteral("Chýba adresa servera (--server postgresql://...)."));
    if (IsServerAddress(volby.season))
        return Fail(kZlePouzitie,
                    QStringLiteral("Na server sa nahrá sezóna zo súboru; sezóna %1 už na serveri je.")
                        .arg(volby.season));
    try {
        // Without a name in the address the season takes the file's.
        if (ParseServerAddress(address, false).season.isEmpty())
            address = AddressWithSeason(address, QFileInfo(volby.season).completeBaseName());
        ParseServerAddress(address);
    } catch (const CChybaDatabazy& e) {
        return Fail(kZlePouzitie, e.UserText());
    }
    return OnSeason(volby, QString(), [&](CLigaroDoc&, CDatabaza& db) -> int {
        db.UploadTo(address);
        m_out << QStringLiteral("Sezóna je na serveri: %1").arg(ParseServerAddress(address).shown)
              << Qt::endl;
        return kUspech;
    });
}

int CPrikazovyRiadok::RolesJob(const CVolby& volby)
{
    if (!IsServerAddress(volby.season))
        return Fail(
            kZlePouzitie,
            QStringLiteral("--%1 berie adresu databázy na serveri (postgresql://...).").arg(volby.job));
    try {
        if (volby.job == QStringLiteral("server-setup")) {
            SetUpServerRoles(volby.season);
            m_out << QStringLiteral("Roly programu sú na serveri zriadené: ") << RoleCodes() << Qt::endl;
            return kUspech;
        }
        const std::optional<CRola> role = RoleByCode(volby.view);
        if (!role)
            return Fail(kZlePouzitie,
                        QStringLiteral("Neznáma rola „%1“; roly sú %2.").arg(volby.view, RoleCodes()));
        const QString login = volby.options.value(QStringLiteral("login"));
        if (login.isEmpty())
            return Fail(kZlePouzitie, QStringLiteral("Chýba prihlásenie (--login MENO)."));
        GrantServerRole(volby.season, login, *role);
        m_out << QStringLiteral("Prihlásenie %1 má rolu %2.").arg(login, RoleName(*role)) << Qt::endl;
        return kUspech;
    } catch (const CChybaDatabazy& e) {
        return Fail(kNedaSa, e.UserText());
    }
}

QString CPrikazovyRiadok::RoleCodes()
{
    QStringList codes;
    for (const CPopisRoly& r : Roles())
        codes << r.code;
    return codes.join(QStringLiteral(", "));
}

int CPrikazovyRiadok::HistoryJob(const CVolby& volby)
{
    if (!IsServerAddress(volby.season))
        return Fail(kZlePouzitie, QStringLiteral("História zmien je len pri sezóne na serveri "
                                                 "(postgresql://...?sezona=NAZOV)."));
    CVyberHistorie selection;
    if (volby.options.contains(QStringLiteral("od"))) {
        const QDate day =
            QDate::fromString(volby.options.value(QStringLiteral("od")), QStringLiteral("MM-dd-yyyy"));
        if (!day.isValid())
            return Fail(kZlePouzitie, QStringLiteral("--od potrebuje dátum v tvare MM-DD-YYYY."));
        selection.since = day.startOfDay();
    }
    if (const int refused = RefuseOutput(volby); refused != kUspech)
        return refused;
    return OnSeason(volby, volby.output, [&](CLigaroDoc&, CDatabaza& db) -> int {
        const QVector<CRiadokHistorie> rows = HistoryRows(db, selection);
        const int status = WriteOutput(volby.output, CsvBytes(HistoryTable(rows)));
        if (status == kUspech)
            m_out << QStringLiteral("Zmien: %1").arg(rows.size()) << Qt::endl;
        return status;
    });
}

int CPrikazovyRiadok::DownloadJob(const CVolby& volby)
{
    if (!IsServerAddress(volby.season))
        return Fail(
            kZlePouzitie,
            QStringLiteral("--download berie adresu sezóny na serveri (postgresql://...?sezona=NAZOV)."));
    if (const int refused = RefuseOutput(volby); refused != kUspech)
        return refused;
    if (QFileInfo::exists(volby.output) || QFileInfo(volby.output).isSymLink())
        return Fail(kNedaSa,
                    QStringLiteral("Súbor %1 už je; sezóna zo servera sa zapíše len do nového súboru.")
                        .arg(QDir::toNativeSeparators(QDir::cleanPath(volby.output))));
    return OnSeason(volby, volby.output, [&](CLigaroDoc&, CDatabaza& db) -> int {
        db.CopyTo(volby.output);
        return kUspech;
    });
}

int CPrikazovyRiadok::ConvertJob(const CVolby& volby)
{
    if (volby.output.right(3).compare(QStringLiteral("mdb"), Qt::CaseInsensitive) != 0)
        return Fail(kZlePouzitie, QStringLiteral("Prevedená sezóna musí mať príponu .mdb."));
    if (QFileInfo::exists(volby.output))
        return Fail(kNedaSa, QStringLiteral("Súbor %1 už existuje; prevedenú sezónu do neho nezapíšem.")
                                 .arg(QDir::toNativeSeparators(volby.output)));
    if (const int refused = RefuseOutput(volby); refused != kUspech)
        return refused;
    CVolbyPrevodu options;
    options.salvage = volby.flags.contains(QStringLiteral("salvage"));
    options.memoryMB = CNastavenia().ConverterMemoryMB();
    const CVysledokPrevodu result = ConvertJetSeason(volby.season, volby.output, {}, options);
    if (!result.error.isEmpty())
        return Fail(kNedaSa,
                    result.damaged
                        ? result.error + QStringLiteral("\nAk chcete previesť, čo sa dá prečítať, spustite "
                                                        "prevod znova s --salvage; každá strata sa zapíše "
                                                        "do správy %1.")
                                             .arg(QDir::toNativeSeparators(SalvageReportPath(volby.output)))
                        : result.error);
    if (!result.losses.isEmpty()) {
        m_err << QStringLiteral("Súbor je poškodený; previedlo sa, čo sa dalo prečítať. Stratilo sa:")
              << Qt::endl;
        for (const QString& line : result.losses)
            m_err << "- " << line << Qt::endl;
    }
    if (!result.reportFile.isEmpty())
        m_out << QStringLiteral("Správa o prevode: %1").arg(QDir::toNativeSeparators(result.reportFile))
              << Qt::endl;
    for (const QString& line : result.report)
        m_out << line << Qt::endl;
    return kUspech;
}

int CPrikazovyRiadok::WithdrawJob(const CVolby& volby)
{
    int club = 0;
    bool hasClub = false;
    if (!IntOption(volby, QStringLiteral("klub"), club, hasClub))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (!hasClub)
        return Fail(kZlePouzitie, QStringLiteral("Odstúpenie potrebuje --klub ID."));
    const bool cancel = volby.flags.contains(QStringLiteral("zrusit"));
    if (cancel && volby.flags.contains(QStringLiteral("annul")))
        return Fail(kZlePouzitie,
                    QStringLiteral("--annul a --zrusit sa navzájom vylučujú: --zrusit odstúpenie "
                                   "ruší, --annul ho zapisuje s anulovanými výsledkami."));
    QDate day;
    if (!cancel) {
        day = QDate::fromString(volby.options.value(QStringLiteral("datum")), QStringLiteral("MM-dd-yyyy"));
        if (!day.isValid())
            return Fail(kZlePouzitie, QStringLiteral("Odstúpenie potrebuje --datum v tvare MM-DD-YYYY."));
    }
    return OnSeason(volby, {}, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
        if (db.Value(QStringLiteral("select count(*) from tkluby where ID=?"), {club}).toInt() == 0)
            return Fail(kNedaSa, NoClub(db, club, 0));
        if (cancel) {
            if (!ReadWithdrawals(db).contains(club))
                return Fail(kNedaSa, QStringLiteral("Klub %1 neodstúpil; nie je čo zrušiť.").arg(club));
            return CancelWithdrawalCommand(doc, club) ? kUspech : kNedaSa;
        }
        const QHash<int, COdstupenie> earlier = ReadWithdrawals(db);
        if (!WithdrawClubCommand(doc, club, day, volby.flags.contains(QStringLiteral("annul"))))
            return kNedaSa;
        if (earlier.contains(club) && earlier.value(club).day != day)
            m_out << QStringLiteral("Klub %1 už odstúpil od %2; deň odstúpenia je teraz %3.")
                         .arg(club)
                         .arg(DenTextom(earlier.value(club).day), DenTextom(day))
                  << Qt::endl;
        return kUspech;
    });
}

int CPrikazovyRiadok::AmnestyJob(const CVolby& volby)
{
    int competition = 0, count = 0;
    bool hasCompetition = false, hasCount = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), competition, hasCompetition) ||
        !IntOption(volby, QStringLiteral("pocet"), count, hasCount))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (hasCount && count < 1)
        return Fail(kZlePouzitie, QStringLiteral("--pocet musí byť celé číslo od 1 vyššie."));
    QDate day = QDate::currentDate();
    if (volby.options.contains(QStringLiteral("datum"))) {
        day = QDate::fromString(volby.options.value(QStringLiteral("datum")), QStringLiteral("MM-dd-yyyy"));
        if (!day.isValid())
            return Fail(kZlePouzitie, QStringLiteral("--datum potrebuje dátum v tvare MM-DD-YYYY."));
    }
    return OnSeason(volby, {}, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
        if (hasCompetition && !CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        if (!doc.Snapshot(QStringLiteral("Amnestia")))
            return kNedaSa;
        Amnesty(db, day, hasCompetition ? competition : 0, !hasCount, count);
        const QString name = hasCompetition ? CompetitionName(db, competition) : QString();
        m_out << (hasCount ? AmnestyCountMessage(count, name) : AmnestyAllMessage(name)) << Qt::endl;
        return kUspech;
    });
}

int CPrikazovyRiadok::NewSeason(const CVolby& volby)
{
    const QString path = volby.season;
    if (path.right(3).compare(QStringLiteral("mdb"), Qt::CaseInsensitive) != 0)
        return Fail(kZlePouzitie, QStringLiteral("Súbor sezóny musí mať príponu .mdb."));
    if (QFileInfo::exists(path))
        return Fail(kNedaSa, QStringLiteral("Súbor %1 už existuje; novú sezónu do neho nezapíšem.")
                                 .arg(QDir::toNativeSeparators(path)));
    if (!volby.options.contains(QStringLiteral("from")))
        for (const QString& flag : {QStringLiteral("bez-znamok"), QStringLiteral("bez-trestov")})
            if (volby.flags.contains(flag))
                return Fail(kZlePouzitie,
                            QStringLiteral("Voľba --%1 patrí k --from (nová sezóna z tejto).").arg(flag));
    if (volby.options.contains(QStringLiteral("from"))) {
        CVolby from = volby;
        from.season = volby.options.value(QStringLiteral("from"));
        if (TenIstySubor(from.season, path))
            return Fail(kNedaSa,
                        QStringLiteral("Nová sezóna nemôže byť tá istá ako tá, z ktorej sa začína."));
        return OnSeason(from, path, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
            CPrenosSezony plan;
            const QString thisSeason = CHlavicka::Read(db).nazov;
            plan.seasonName = NextSeasonName(thisSeason);
            plan.keepTestMarks = !volby.flags.contains(QStringLiteral("bez-znamok"));
            if (!volby.flags.contains(QStringLiteral("bez-trestov")))
                plan.suspensions = SuspensionsToCarry(db, doc.StopRounds(), thisSeason);
            CreateSeasonFrom(db, path, plan);
            if (!plan.suspensions.isEmpty())
                m_out << QStringLiteral("Prenesené nevykonané tresty: %1").arg(plan.suspensions.size())
                      << Qt::endl;
            return kUspech;
        });
    }
    try {
        CreateNewSeasonFile(path);
    } catch (const CChybaDatabazy& e) {
        return Fail(kNedaSa, e.UserText());
    }
    return kUspech;
}

int CPrikazovyRiadok::DemoSeason(const CVolby& volby)
{
    CParametreUkazky p;
    bool given = false;
    int seed = static_cast<int>(p.seed);
    if (!IntOption(volby, QStringLiteral("competitions"), p.competitions, given) ||
        !IntOption(volby, QStringLiteral("clubs"), p.clubs, given) ||
        !IntOption(volby, QStringLiteral("players"), p.players, given) ||
        !IntOption(volby, QStringLiteral("seed"), seed, given))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    p.seed = static_cast<quint32>(seed);
    const QString problem = CheckDemoParameters(p);
    if (!problem.isEmpty())
        return Fail(kZlePouzitie, problem);
    const QString path = volby.season;
    if (path.right(3).compare(QStringLiteral("mdb"), Qt::CaseInsensitive) != 0)
        return Fail(kZlePouzitie, QStringLiteral("Súbor sezóny musí mať príponu .mdb."));
    if (QFileInfo::exists(path))
        return Fail(kNedaSa, QStringLiteral("Súbor %1 už existuje; ukážkovú sezónu do neho nezapíšem.")
                                 .arg(QDir::toNativeSeparators(path)));
    try {
        CreateDemoSeason(path, p);
    } catch (const CChybaDatabazy& e) {
        return Fail(kNedaSa, e.UserText());
    }
    return kUspech;
}

int CPrikazovyRiadok::Info(const CVolby& volby)
{
    int competition = 0;
    bool hasCompetition = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), competition, hasCompetition))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    CKonzola user(m_err, {});
    CLigaroDoc doc(user);
    if (!OpenSeason(doc, volby.season))
        return kNedaSa;
    try {
        CDatabaza& db = doc.Database();
        if (hasCompetition && !CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        const CHlavicka season = CHlavicka::Read(db);
        m_out << "sezona: " << season.nazov << "\n";
        m_out << "kraj: " << season.kraj << "\n";
        m_out << "zvaz: " << season.zvaz << "\n";
        const auto count = [&db](const QString& sql) { return db.Value(sql).toInt(); };
        m_out << "sutaze: " << count(QStringLiteral("select count(*) from tsutaze")) << "\n";
        m_out << "kluby: " << count(QStringLiteral("select count(*) from tkluby")) << "\n";
        m_out << "hraci: "
              << count(QStringLiteral("select count(*) from thraci where IDklubu>0 and ifnull(IDold,0)=0"))
              << "\n";
        m_out << "zapasy: " << count(QStringLiteral("select count(*) from tzapasy")) << "\n";
        m_out << "vysledky: "
              << count(QStringLiteral("select count(*) from tzapasy where %1(body1)<>100 and %1(body2)<>100")
                           .arg(QLatin1String(kSqlSkore)))
              << "\n";
        m_out << "goly: " << count(QStringLiteral("select count(*) from tgoly")) << "\n";
        m_out << "zlte: " << count(QStringLiteral("select count(*) from tzkarty")) << "\n";
        m_out << "cervene: " << count(QStringLiteral("select count(*) from tckarty")) << "\n";
        m_out << "rozhodcovia: " << count(QStringLiteral("select count(*) from trozhodci where funkcia=1"))
              << "\n";
        m_out << "delegati: " << count(QStringLiteral("select count(*) from trozhodci where funkcia=4"))
              << "\n";
        // A nomination whose match is gone counts nowhere; how many there are is said apart.
        m_out << "nominacie: "
              << count(QStringLiteral("select count(*) from tnominacie where ") + SqlNominaciaMaZapas())
              << "\n";
        m_out << "nominacie_bez_zapasu: " << OrphanNominationCount(db) << "\n";
        // What the other jobs' --sutaz and --klub name.
        for (const CSutaz& s : ReadCompetitions(db)) {
            if (hasCompetition && s.id != competition)
                continue;
            m_out << "sutaz " << s.id << ": " << s.nazov << " (klubov: "
                  << count(QStringLiteral("select count(*) from tkluby where skupina=%1").arg(s.id)) << ")\n";
            if (!hasCompetition)
                continue;
            for (const CPolozkaKlubu& c : CompetitionClubs(db, s.id))
                m_out << "klub " << c.id << ": " << c.nazov << "\n";
        }
        m_out.flush();
    } catch (const CChybaDatabazy& e) {
        return Fail(kNedaSa, e.UserText());
    }
    return kUspech;
}

int CPrikazovyRiadok::Recalculate(const CVolby& volby)
{
    int competition = 0;
    bool hasCompetition = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), competition, hasCompetition))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    return OnSeason(volby, {}, [&](CLigaroDoc&, CDatabaza& db) -> int {
        if (hasCompetition && !CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        if (hasCompetition) {
            RecalculateCompetition(db, competition);
            return kUspech;
        }
        // The whole season at once: a refused penalty anywhere leaves every table as it was.
        CTransakcia transaction(db, CTransakcia::kHromadna);
        for (const CSutaz& s : ReadCompetitions(db))
            RecalculateCompetition(db, s.id);
        transaction.Commit();
        return kUspech;
    });
}

int CPrikazovyRiadok::Generate(const CVolby& volby)
{
    int competition = 0, mode = 2, rounds = 0;
    bool hasCompetition = false, hasMode = false, hasRounds = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), competition, hasCompetition) ||
        !IntOption(volby, QStringLiteral("mode"), mode, hasMode) ||
        !IntOption(volby, QStringLiteral("rounds"), rounds, hasRounds))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (!hasCompetition)
        return Fail(kZlePouzitie, QStringLiteral("Vytvorenie súťaže potrebuje --sutaz ID."));
    if (mode < 1 || mode > 4)
        return Fail(kZlePouzitie, QStringLiteral("--mode musí byť 1, 2, 3 alebo 4."));
    return OnSeason(volby, {}, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
        if (!CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        CParametreGenerovania p =
            CParametreGenerovania::Defaults(DoubleRoundCount(db, competition), QDate::currentDate());
        p.mode = mode - 1;
        if (hasRounds)
            p.rounds = rounds;
        const auto date = [&](const QString& option, QDate& value) {
            if (volby.options.contains(option))
                value = QDate::fromString(volby.options.value(option), QStringLiteral("MM-dd-yyyy"));
        };
        date(QStringLiteral("start"), p.start);
        date(QStringLiteral("return"), p.returnDate);
        p.startHour = volby.options.value(QStringLiteral("hour"), p.startHour);
        p.returnHour = volby.options.value(QStringLiteral("return-hour"), p.returnHour);
        return GenerateFixtures(doc, competition, p) ? kUspech : kNedaSa;
    });
}

int CPrikazovyRiadok::ExportOrPrint(const CVolby& volby)
{
    const bool print = volby.job == QStringLiteral("print");
    const QHash<QString, CVystupZoznamu> outputs = Outputs();
    if (!outputs.contains(volby.view))
        return Fail(kZlePouzitie, QStringLiteral("Neznámy zoznam „%1“.").arg(volby.view));
    const CVystupZoznamu output = outputs.value(volby.view);
    CVyber v;
    bool hasCompetition = false, hasRound = false, hasClub = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), v.competition, hasCompetition) ||
        !IntOption(volby, QStringLiteral("kolo"), v.round, hasRound) ||
        !IntOption(volby, QStringLiteral("klub"), v.club, hasClub))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (!hasCompetition && output.perCompetition)
        return Fail(kZlePouzitie, QStringLiteral("Zoznam „%1“ potrebuje --sutaz ID.").arg(volby.view));
    if (volby.options.contains(QStringLiteral("datum"))) {
        const QDate day =
            QDate::fromString(volby.options.value(QStringLiteral("datum")), QStringLiteral("MM-dd-yyyy"));
        if (!day.isValid())
            return Fail(kZlePouzitie, QStringLiteral("--datum potrebuje dátum v tvare MM-DD-YYYY."));
        v.day = day.toString(QStringLiteral("MM-dd-yyyy"));
    }
    if (!hasRound)
        v.round = kVsetkyKola;
    if (!hasClub)
        v.club = kVsetkyKluby;
    if (volby.view == QStringLiteral("zk-stop") && !hasRound)
        return Fail(kZlePouzitie, QStringLiteral("Zoznam „zk-stop“ potrebuje --kolo N."));
    if (!print && !output.page)
        return Fail(kZlePouzitie, QStringLiteral("Zoznam „%1“ sa len tlačí.").arg(volby.view));
    const int competition = v.competition;
    const int round = v.round;

    if (const int refused = RefuseOutput(volby); refused != kUspech)
        return refused;
    return OnSeason(volby, volby.output, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
        if (output.perCompetition && !CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        if (v.day != kVsetkyZapasy) {
            bool found = false;
            for (const CPolozkaDatumu& item : DateItems(db))
                found = found || item.key == v.day;
            if (!found)
                return Fail(kNedaSa, QStringLiteral("V deň %1 sa nehrá žiadny zápas.").arg(v.day));
        }
        if (output.usesRound && round != kVsetkyKola && !ReadRounds(db, competition).contains(round))
            return Fail(kNedaSa, QStringLiteral("Súťaž %1 nemá %2. kolo.").arg(competition).arg(round));
        // A page shows one club's players, the first one's without --klub; a print takes every club.
        if (volby.view == QStringLiteral("hraci") && !hasClub && !print)
            v.club = ChooseClub(CompetitionClubs(db, competition), 0);
        if (output.perCompetition && v.club != kVsetkyKluby &&
            db.Value(QStringLiteral("select count(*) from tkluby where ID=? and skupina=?"),
                     {v.club, competition})
                    .toInt() == 0)
            return Fail(kNedaSa, NoClub(db, v.club, competition));
        v.thresholds = doc.StopRounds();
        if (print) {
            const std::unique_ptr<CTlacovina> printout = output.printout(db, v);
            const QString error = WritePdf(*printout, volby.output);
            return error.isEmpty() ? kUspech : Fail(kNedaSa, error);
        }
        const std::optional<CMyExport> page = output.page(db, v);
        if (!page)
            return Fail(kNedaSa,
                        QStringLiteral("Zoznam „%1“ je prázdny; stránka sa nezapísala.").arg(volby.view));
        return WriteOutput(volby.output, IsCsvFileName(volby.output) ? page->CsvText() : page->CopyText());
    });
}

int CPrikazovyRiadok::Publish(const CVolby& volby)
{
    return OnSeason(volby, {}, [&](CLigaroDoc& doc, CDatabaza& db) -> int {
        QStringList leftAlone;
        int written = 0;
        const QString error =
            PublishSeason(db, doc.StopRounds(), volby.output, volby.season, QDateTime::currentDateTimeUtc(),
                          {}, nullptr, &leftAlone, &written);
        if (!error.isEmpty())
            return Fail(kNedaSa, error);
        m_out << (IsUploadAddress(volby.output) ? QStringLiteral("Nahraných súborov: %1")
                                                : QStringLiteral("Zapísaných súborov: %1"))
                     .arg(written)
              << Qt::endl;
        if (!leftAlone.isEmpty())
            m_err << LeftAloneText(leftAlone) << Qt::endl;
        return kUspech;
    });
}

int CPrikazovyRiadok::Calendar(const CVolby& volby)
{
    int competition = 0, club = 0;
    bool hasCompetition = false, hasClub = false;
    if (!IntOption(volby, QStringLiteral("sutaz"), competition, hasCompetition) ||
        !IntOption(volby, QStringLiteral("klub"), club, hasClub))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (const int refused = RefuseOutput(volby); refused != kUspech)
        return refused;
    return OnSeason(volby, volby.output, [&](CLigaroDoc&, CDatabaza& db) -> int {
        if (hasCompetition && !CompetitionExists(db, competition))
            return Fail(kNedaSa, NoCompetition(db, competition));
        if (hasClub &&
            db.Value(QStringLiteral("select count(*) from tkluby where ID=? and (?=0 or skupina=?)"),
                     {club, competition, competition})
                    .toInt() == 0)
            return Fail(kNedaSa, NoClub(db, club, hasCompetition ? competition : 0));
        try {
            WriteMatchCalendar(db, volby.output, competition, club, QDateTime::currentDateTimeUtc());
        } catch (const CChybaDatabazy& e) {
            return Fail(kNedaSa, e.UserText());
        }
        return kUspech;
    });
}

int CPrikazovyRiadok::Import(const CVolby& volby)
{
    const bool clubs = volby.job == QStringLiteral("import-clubs");
    const QString option = clubs ? QStringLiteral("sutaz") : QStringLiteral("klub");
    int id = 0;
    bool given = false;
    if (!IntOption(volby, option, id, given))
        return Fail(kZlePouzitie, QStringLiteral("Nesprávne zadané parametre."));
    if (!given)
        return Fail(kZlePouzitie, clubs ? QStringLiteral("Import klubov potrebuje --sutaz ID.")
                                        : QStringLiteral("Import hráčov potrebuje --klub ID."));
    const QString path = volby.positional.at(1);
    const CSuborNaDovoz file = ReadImportFile(path);
    if (!file.error.isEmpty())
        return Fail(kNedaSa, QStringLiteral("%1 Nič sa neuložilo.").arg(file.error));
    const QByteArray& bytes = file.bytes;
    return OnSeason(volby, {}, [&](CLigaroDoc&, CDatabaza& db) -> int {
        if (clubs && !CompetitionExists(db, id))
            return Fail(kNedaSa, NoCompetition(db, id));
        if (!clubs && db.Value(QStringLiteral("select count(*) from tkluby where ID=?"), {id}).toInt() == 0)
            return Fail(kNedaSa, NoClub(db, id, 0));
        const CVysledokDovozu result = clubs ? ImportClubs(db, id, bytes) : ImportPlayers(db, id, bytes);
        if (!result.error.isEmpty())
            return Fail(
                kNedaSa,
                QStringLiteral("%1: %2 Nič sa neuložilo.").arg(QDir::toNativeSeparators(path), result.error));
        m_out << (clubs ? kPridaneKluby : kPridaniHraci).arg(result.count) << Qt::endl;
        return kUspech;
    });
}
