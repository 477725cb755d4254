#include "strelcidialog.h"

#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/kody.h"

CStranaZapasu ReadSide(CDatabaza& db, int matchId, CStrana side)
{
    CStranaZapasu s;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return s;
    s.matchId = matchId;
    s.round = rs.GetInt(QStringLiteral("kolo"));
    const int home = rs.GetInt(QStringLiteral("klub1"));
    const int away = rs.GetInt(QStringLiteral("klub2"));
    s.club = side == kDomaci ? home : side == kHostia ? away : 0;
    s.score =
        SkoreZUlozenia(rs.GetFieldValue(side == kDomaci ? QStringLiteral("body1") : QStringLiteral("body2")));
    s.fullResult = MaVysledok(SkoreZUlozenia(rs.GetFieldValue(QStringLiteral("body1"))),
                              SkoreZUlozenia(rs.GetFieldValue(QStringLiteral("body2"))));
    const auto name = [&db](int club) {
        CZaznamy k(db);
        k.Open(QStringLiteral("select * from tkluby where ID=?"), {club});
        return k.IsEOF() ? QString() : k.GetText(QStringLiteral("nazov"));
    };
    s.match = QStringLiteral(" %1 - %2").arg(name(home), name(away));
    s.clubName = QStringLiteral(" %1").arg(name(s.club));
    return s;
}

CZoznam ChoosablePlayers(CDatabaza& db, int club)
{
    CZoznam list;
    list.columns = {{QStringLiteral("Meno"), Zarovnanie::Vlavo, 150}};
    if (club == 0)
        return list;
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "select * from thraci where IDklubu=? and ifnull(IDold,0)=0 order by priezvisko, meno"),
            {club});
    for (; !rs.IsEOF(); rs.MoveNext())
        list.AddRow({QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                 rs.GetText(QStringLiteral("priezvisko")))},
                    rs.GetInt(QStringLiteral("ID")));
    if (list.RowCount() == 0)
        return list;
    rs.Open(QStringLiteral("select * from thraci where RC=?"), {kRcVlastnyGol});
    if (!rs.IsEOF())
        list.AddRow({kVlastnyGol}, rs.GetInt(QStringLiteral("ID")));
    return list;
}

bool IsOwnGoalPlayer(CDatabaza& db, int player)
{
    return db.Value(QStringLiteral("select RC from thraci where ID=?"), {player}).toString() == kRcVlastnyGol;
}

bool ScorerFits(const CStranaZapasu& side, int scorersListed)
{
    return scorersListed < side.score;
}

bool MissingScorers(const CStranaZapasu& side, int scorersListed)
{
    // Without a result (100) or with a forfeit (200) there is no number of goals to compare with.
    return side.score != kBezVysledku && side.score != kKontumacia && scorersListed < side.score;
}

bool TooManyScorers(const CStranaZapasu& side, int scorersListed)
{
    return side.score >= 0 && side.score < kBezVysledku && scorersListed > side.score;
}

QString TooManyScorersMessage(const CStranaZapasu& side, int scorersListed)
{
    return QStringLiteral("V zozname je viac strelcov (%1) ako gólov klubu v zápase (%2). Skóre sa zrejme "
                          "zmenilo po zadaní strelcov: opravte skóre alebo zoznam strelcov.")
        .arg(scorersListed)
        .arg(side.score);
}

QString KeepTooManyScorersQuestion(const CStranaZapasu& side, int scorersListed)
{
    return QStringLiteral("V zozname je viac strelcov (%1) ako gólov klubu v zápase (%2).\nChcete zoznam "
                          "napriek tomu uložiť?")
        .arg(scorersListed)
        .arg(side.score);
}

void SaveSide(CDatabaza& db, int competition, const CStranaZapasu& side, const QVector<int>& scorers,
              const QVector<int>& yellow, const QVector<int>& red)
{
    if (side.matchId == 0 || side.club == 0)
        return;
    CTransakcia transaction(db);
    const QVector<QPair<QString, QVector<int>>> tables = {{QStringLiteral("tgoly"), scorers},
                                                          {QStringLiteral("tzkarty"), yellow},
                                                          {QStringLiteral("tckarty"), red}};
    for (const auto& [table, players] : tables) {
        // A list left as it was is not written again: on a shared season the goals stay the secretary's
        // and the cards the disciplinary committee's, whoever confirms the dialog.
        QVector<int> stored;
        CPrikaz read(
            db,
            QStringLiteral("select IDhraca from %1 where IDzapasu=? and IDklubu=? order by ID").arg(table),
            {side.matchId, side.club});
        while (read.Step())
            stored << static_cast<int>(read.Int64(0));
        if (stored == players)
            continue;
        db.Execute(QStringLiteral("delete from %1 where IDzapasu=? and IDklubu=?").arg(table),
                   {side.matchId, side.club});
        CPrikaz insert(db, QStringLiteral("insert into %1 (IDzapasu, IDhraca, IDklubu, kolo, skupina) values "
                                          "(?,?,?,?,?)")
                               .arg(table));
        for (int player : players)
            insert.Execute({side.matchId, player, side.club, side.round, competition});
    }
    transaction.Commit();
}
