#pragma once

#include "output/tlacenatabulka.h"

#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <optional>

class CDatabaza;
class CLigaroDoc;

// The registers of referees (funkcia 1) and delegates (funkcia 4): one table, two lists.

// What tells the two registers apart.
struct CRegister
{
    int funkcia;
    bool withRun; // the 12-minute run is kept for referees only
    QString title;
    QString firstNameMessage;
    QString surnameMessage;
    QString addItem;
    QString printTitle;
    static const CRegister& Referees();
    static const CRegister& Delegates();
};

QVector<CStlpecZoznamu> OfficialColumns(const CRegister& reg);
// By competition; "#" restarts in each; then a blank row (ID 0).
CZoznam OfficialsList(CDatabaza& db, const CRegister& reg);

struct CUdajeFunkcionara
{
    QString meno, priezvisko, rc, domov, praca, mobil, pozn, znamka, beh;
    int skupina = 0; // 0: none chosen (the stored one is kept)
};
std::optional<CUdajeFunkcionara> ReadOfficial(CDatabaza& db, const CRegister& reg, int id);
// A message when the names are too short (at least 3 characters each); the field: 0 or 1.
std::optional<QPair<QString, int>> ValidateOfficial(const CRegister& reg, const CUdajeFunkcionara& data);
int SaveOfficial(CDatabaza& db, const CRegister& reg, int id, const CUdajeFunkcionara& data);
// Removes the official and his nominations, after the user confirms.
bool RemoveOfficial(CLigaroDoc& doc, const CRegister& reg, int id);
// The test mark as stored: a typed mark outside 1..10 is 0 (none).
float TestMark(const QString& text);

struct CKontakty
{
    QString meno, domov, praca, mobil;
};
CKontakty Contacts(CDatabaza& db, const CRegister& reg, int id);

// The roster as a page for the public: the officials' names by competition, without their marks,
// birth numbers, contacts or notes.
CMyExport ExportOfficials(CDatabaza& db, const CRegister& reg);

// The nomination roster, 25 officials a page, grouped by competition.
class CTlacSupisky : public CTlacZoznamu
{
public:
    CTlacSupisky(CDatabaza& db, const CRegister& reg);
    QString DocumentName() const override { return m_reg.title; }

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;

private:
    struct CFunkcionar
    {
        int skupina;
        QStringList cells;
    };
    CDatabaza& m_db;
    const CRegister& m_reg;
    QVector<CFunkcionar> m_officials;
};
