#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// The command line's options and its help text: what the program accepts, before any job runs.

// The jobs, each an option of its own; --export and --print take the list they write.
inline const QStringList kJobs = {
    QStringLiteral("new-season"),   QStringLiteral("demo-season"),    QStringLiteral("info"),
    QStringLiteral("recalculate"),  QStringLiteral("generate"),       QStringLiteral("export"),
    QStringLiteral("print"),        QStringLiteral("publish"),        QStringLiteral("calendar"),
    QStringLiteral("import-clubs"), QStringLiteral("import-players"), QStringLiteral("amnesty"),
    QStringLiteral("withdraw"),     QStringLiteral("convert"),        QStringLiteral("jet-child"),
    QStringLiteral("upload"),       QStringLiteral("download"),       QStringLiteral("server-setup"),
    QStringLiteral("grant"),        QStringLiteral("history")};

// The jobs that change the season they open: with an edit password they need it.
inline const QStringList kMeniaSezonu = {QStringLiteral("recalculate"),  QStringLiteral("generate"),
                                         QStringLiteral("import-clubs"), QStringLiteral("import-players"),
                                         QStringLiteral("amnesty"),      QStringLiteral("withdraw")};

// Options with a value, besides the two jobs that take one.
inline const QStringList kValueOptions = {
    QStringLiteral("sutaz"),  QStringLiteral("klub"),        QStringLiteral("kolo"),
    QStringLiteral("datum"),  QStringLiteral("mode"),        QStringLiteral("rounds"),
    QStringLiteral("heslo"),  QStringLiteral("start"),       QStringLiteral("hour"),
    QStringLiteral("return"), QStringLiteral("return-hour"), QStringLiteral("competitions"),
    QStringLiteral("clubs"),  QStringLiteral("players"),     QStringLiteral("seed"),
    QStringLiteral("pocet"),  QStringLiteral("from"),        QStringLiteral("server"),
    QStringLiteral("login"),  QStringLiteral("od")};

// Flags of the jobs.
inline const QStringList kFlags = {QStringLiteral("bez-znamok"), QStringLiteral("bez-trestov"),
                                   QStringLiteral("annul"), QStringLiteral("zrusit"),
                                   QStringLiteral("salvage")};

// Qt's own options of a window program (-style fusion, -platform xcb, ...): accepted and left to Qt.
inline const QStringList kQtValueOptions = {
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
    QStringLiteral("session"),       QStringLiteral("display"),
    QStringLiteral("geometry"),      QStringLiteral("name"),
    QStringLiteral("title"),         QStringLiteral("style"),
    QStringLiteral("stylesheet")};
inline const QStringList kQtFlags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                     QStringLiteral("nograb"),  QStringLiteral("dograb"),
                                     QStringLiteral("sync"),    QStringLiteral("visual")};

// The help's first part: every job with its options, what --datum and --heslo mean, the lists and the
// exit codes.
QString Synopsis();
// Every option the program accepts, for the parser (the jobs, their values and flags, Qt's own).
void DefineOptions(QCommandLineParser& parser);
// The jobs the arguments name.
QStringList JobsOf(const QCommandLineParser& parser);
// The options each job takes (the output file -o as "o"); any other is refused, so that nobody gets
// the whole list believing it is one club's.
QStringList OptionsOfJob(const QString& job);
