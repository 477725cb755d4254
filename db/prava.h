#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

// Who may change what in a season shared on a server. The association's committees each keep their own
// part of the season; the server holds them to it (its GRANTs), and the window disables what a login may
// not change, saying why.

// The parts of a season, by the committee that keeps each.
enum class CAgenda {
    kSekretariat, // competitions, clubs, players, fixtures, results, goals, the season's settings
    kDisciplina,  // cards, bans, amnesties, point deductions and their texts
    kRozhodcovia, // referees, delegates, nominations, marks
};

enum class CRola {
    kBezRol, // the server has no roles of the program: whoever may write the season may change it all
    kSekretar,
    kDisciplinarna,
    kRozhodcovia,
    kCitatel,
};

struct CPopisRoly
{
    CRola role;
    QString code;       // as the command line names it
    QString serverRole; // the server's role
    QString name;       // as the user reads it
};
// Every role a login may be given, the secretary's first.
const QVector<CPopisRoly>& Roles();
std::optional<CRola> RoleByCode(const QString& code);
std::optional<CRola> RoleByServerRole(const QString& serverRole);
QString RoleName(CRola role);

bool RoleMayChange(CRola role, CAgenda agenda);
// "Na zmenu výsledkov ... nemáte právo: prihlásený ako LOGIN, rola ROLA."
QString NoRightMessage(const QString& login, CRola role, CAgenda agenda);

// Columns the program computes from other rows (the standings' counts, what calendars last showed):
// two officials' commands may both change them without either losing anything, so a change of them is
// never a conflict.
bool IsDerivedColumn(const QString& table, const QString& column);

// The functions the program makes in a season on a server, with their arguments, the log's first.
QStringList SeasonFunctions();
// The statements that create the program's roles on a server (idempotent).
QStringList RoleSetupStatements();
// The statements that give each role its rights on the season in `schema`; `table` names a table of it
// as the server wants it.
QStringList SeasonRightsStatements(const QString& schema, const std::function<QString(const QString&)>& table,
                                   const QStringList& tables);
