#pragma once

#include "output/tlacenatabulka.h"

#include "output/CPlocha.h"
#include "output/CZoznam.h"

class CDatabaza;

// The marks statistics of the referees: the average of the marks given in their nominations (each
// nomination counts, a nomination not marked yet does not), with the written-test mark as one more
// mark when the season counts it.

// Whether the test mark counts (tsezona.zapocitat; a season without its record counts it).
bool TestMarkCounts(CDatabaza& db);
void SetTestMarkCounts(CDatabaza& db, bool counts);

QVector<CStlpecZoznamu> MarkColumns();
// Lowest final mark first, then the officials without any mark (with an empty final mark); a row's
// ID is the final mark in tenths, the exact average rounded half up (0 without a mark).
CZoznam MarkStatistics(CDatabaza& db, bool testMarkCounts);

class CTlacZnamok : public CTlacZoznamu
{
public:
    CTlacZnamok(CDatabaza& db, CZoznam list) : m_db(db), m_list(std::move(list)) {}
    QString DocumentName() const override { return QStringLiteral("Štatistiky známok"); }
    QString FileTitle() const override { return QStringLiteral("znamky"); }
    static constexpr int kStlpecZnamok = 3;

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;

private:
    CDatabaza& m_db;
    CZoznam m_list;
};
