#pragma once

#include "db/CLigaroDoc.h"
#include "db/CPouzivatel.h"

#include <QDate>
#include <QRectF>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <deque>
#include <gtest/gtest.h>

// The user of the tests: remembers every message and answers questions and file dialogs from
// prepared replies (yes and cancel when none are left).
class CTestovaciPouzivatel : public CPouzivatel
{
public:
    void ShowMessage(const QString& text, Ikona icon) override
    {
        messages << text;
        icons << icon;
    }
    bool AskYesNo(const QString& text) override
    {
        questions << text;
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString AskSaveFileName(const QString& caption, const QString& proposed, const QString& filter) override
    {
        saveCaptions << caption;
        proposedPaths << proposed;
        filters << filter;
        if (fileNames.empty())
            return {};
        const QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    }
    void OpenWithSystem(const QString& path) override { opened << path; }

    QStringList messages;
    QList<Ikona> icons;
    QStringList questions;
    std::deque<bool> answers;
    std::deque<QString> fileNames;
    QStringList saveCaptions;
    QStringList proposedPaths;
    QStringList filters;
    QStringList opened;
};

// A folder of its own for every test, and a season file in it.
class SeasonTest : public ::testing::Test
{
protected:
    void SetUp() override;
    // A path inside the test's folder.
    QString Path(const QString& name) const;
    // A new, empty season file at Path(name).
    QString NewSeason(const QString& name = QStringLiteral("sezona.mdb"));
    // A new season file, opened in `doc`.
    void OpenNew(const QString& name = QStringLiteral("sezona.mdb"));
    // A demo season of that size at Path(name) (the default seed).
    QString NewDemoSeason(const QString& name, int competitions, int clubs, int players);
    // A small demo season (2 competitions of 6 clubs) opened in `m_doc`: its path, or nothing when it
    // did not open.
    QString OpenSmallDemo();

    QTemporaryDir m_dir;
    CTestovaciPouzivatel m_user;
    CLigaroDoc m_doc{m_user};
};

// Writes rows straight into the open season, for setting up a test.
int AddCompetition(CDatabaza& db, const QString& name);
int AddClub(CDatabaza& db, int competition, const QString& name, int drawNumber);
int AddMatch(CDatabaza& db, int competition, int round, int home, int away, int score1 = 100,
             int score2 = 100);

// The words of a PDF with where they stand (points from the page's top-left corner), page by page, as
// poppler's pdftotext reads them; nothing when it cannot be run.
struct CSlovoPdf
{
    QRectF box;
    QString text;
};
struct CStranaPdf
{
    QSizeF size;
    QVector<CSlovoPdf> words;
};
QVector<CStranaPdf> PdfWords(const QString& pdf);
// The PDF's text with its layout kept, a line of text a line of the paper.
QString PdfText(const QString& pdf);
