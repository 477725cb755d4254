#pragma once

#include <QTranslator>

class QCoreApplication;

// The program speaks Slovak whatever the system's language: Qt's own Slovak texts, then the
// program's catalogue for the texts Qt 6 takes from contexts that Qt's catalogue lacks (the standard
// buttons, the command line's help), and Slovak dates and numbers where the system has no locale of
// its own (C or POSIX). Installed for as long as the object lives.
class CPreklady
{
public:
    explicit CPreklady(QCoreApplication& app);
    CPreklady(const CPreklady&) = delete;
    CPreklady& operator=(const CPreklady&) = delete;

    // False when the program's own catalogue could not be loaded (a broken build).
    bool OwnCatalogueLoaded() const { return m_ownLoaded; }

private:
    QTranslator m_qt;
    QTranslator m_own;
    bool m_ownLoaded = false;
};
