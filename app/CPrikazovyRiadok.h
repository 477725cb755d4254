#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>

class CLigaroDoc;

// The jobs the program does without a window: make a new season file, report on one, recalculate
// standings, generate fixtures, export pages and print into PDF. They go through the same code as
// the window's commands.
class CPrikazovyRiadok
{
public:
    enum Vysledok { kUspech = 0, kZlePouzitie = 1, kNedaSa = 2 };

    CPrikazovyRiadok(QTextStream& out, QTextStream& err);

    // Whether the arguments (without the program name) ask for a job rather than for the window.
    static bool IsJob(const QStringList& args);
    // Carries out the job and returns the exit status.
    int Run(const QStringList& args);

    static QString Usage();

private:
    struct CVolby
    {
        QString job;
        QString view;
        QString season;
        QString output;
        QHash<QString, QString> options;
    };
    bool Parse(const QStringList& args, CVolby& volby);
    int Fail(int status, const QString& message);
    bool OpenSeason(CLigaroDoc& doc, const QString& path);
    // An integer option; `present` tells whether it was given. False (with a message) when it is
    // given but not a number.
    bool IntOption(const CVolby& volby, const QString& name, int& value, bool& present);

    int NewSeason(const CVolby& volby);
    int Info(const CVolby& volby);
    int Recalculate(const CVolby& volby);
    int Generate(const CVolby& volby);
    int ExportOrPrint(const CVolby& volby);

    QTextStream& m_out;
    QTextStream& m_err;
};
