#pragma once

#include "output/tlacenatabulka.h"

#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <optional>

class CDatabaza;

// The top scorers of a competition: every player of its clubs with a goal, most goals first.
QString TopScorersTitle(CDatabaza& db, int competition);
CZoznam TopScorersList(CDatabaza& db, int competition);
QVector<CStlpecZoznamu> TopScorersColumns();

class CTlacStrelcov : public CTlacZoznamu
{
public:
    CTlacStrelcov(CDatabaza& db, int competition);
    QString DocumentName() const override { return QStringLiteral("Najlepší strelci"); }
    QString FileTitle() const override;

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;

private:
    CDatabaza& m_db;
    int m_competition;
    CZoznam m_list;
};
// The page; nothing when nobody scored (the export then ends silently).
std::optional<CMyExport> ExportTopScorers(CDatabaza& db, int competition);
inline const QString kSuborStrelcov = QStringLiteral("NajStrelcy.html");
