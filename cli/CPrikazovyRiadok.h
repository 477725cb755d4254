#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

class CDatabaza;
class CLigaroDoc;
class QCommandLineParser;

// The jobs the program does without a window: make a new season file or a demo season, report on
// one, recalculate standings, generate fixtures, export pages, print into PDF, publish the season's
// web site, write calendars and import spreadsheets. They go through the same code as the window's
// commands.
class CPrikazovyRiadok
{
public:
    enum Vysledok { kUspech = 0, kZlePouzitie = 1, kNedaSa = 2 };

    CPrikazovyRiadok(QTextStream& out, QTextStream& err);

    // The program's arguments as the system passes them (the program's name first).
    static QStringList Arguments(int argc, char* argv[]);
    // The program's start without a window: the job's, help's or usage error's answer on the console
    // and the exit status.
    static int Main(int argc, char* argv[]);

    // What the program's arguments (the program's name first, as the system passes them) ask for:
    // the window, or a job, help or a usage error, which are answered on the console.
    enum class CRezim { Okno, Konzola };
    static CRezim Mode(const QStringList& arguments);
    // Whether the job lays out pages, which needs the fonts of the GUI layer; the other jobs run on the
    // core alone and start and end faster for it.
    static bool Prints(const QStringList& arguments);
    // The season file the window opens; empty for none.
    static QString WindowSeason(const QStringList& arguments);

    // Carries out what the arguments ask for on the console and returns the exit status.
    int Run(const QStringList& arguments);

    QString Usage() const;

private:
    struct CVolby
    {
        QString job;
        QString view;
        QStringList positional;
        QString season;
        QString output;
        QHash<QString, QString> options;
        QSet<QString> flags;
    };
    bool Fail(const QString& message);
    int Fail(int status, const QString& message);
    bool OpenSeason(CLigaroDoc& doc, const QString& path);
    // Edit access for a job that changes the season: at once without a password, else with --heslo or
    // the password typed on the terminal; false (told) otherwise.
    bool LogIn(CLigaroDoc& doc, const CVolby& volby);
    bool ReadPasswordFromTerminal(QString& password);
    // Opens the season, runs `job` on it as one command of the session and gives its exit status;
    // kNedaSa when the season does not open or the job ends in a store error (told on the console).
    // `output` is the file the job writes, for the console's messages about it.
    using CUloha = std::function<int(CLigaroDoc& doc, CDatabaza& db)>;
    int OnSeason(const CVolby& volby, const QString& output, const CUloha& job);
    // Writes a whole output file; kNedaSa (told) when it cannot be written.
    int WriteOutput(const QString& path, const QByteArray& bytes);
    // The exit status when the output file (-o) must not be written: it is the season read, or
    // another database; kUspech when it may.
    int RefuseOutput(const CVolby& volby);
    // An integer option; `present` tells whether it was given. False (with a message) when it is
    // given but not a number.
    bool IntOption(const CVolby& volby, const QString& name, int& value, bool& present);

    int NewSeason(const CVolby& volby);
    int DemoSeason(const CVolby& volby);
    int Info(const CVolby& volby);
    int Recalculate(const CVolby& volby);
    int Generate(const CVolby& volby);
    int ExportOrPrint(const CVolby& volby);
    int Publish(const CVolby& volby);
    int Calendar(const CVolby& volby);
    int Import(const CVolby& volby);
    int AmnestyJob(const CVolby& volby);
    int WithdrawJob(const CVolby& volby);
    int ConvertJob(const CVolby& volby);
    int UploadJob(const CVolby& volby);
    int DownloadJob(const CVolby& volby);
    int RolesJob(const CVolby& volby);
    int HistoryJob(const CVolby& volby);
    static QString RoleCodes();

    QTextStream& m_out;
    QTextStream& m_err;
    QString m_help;
};
