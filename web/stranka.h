#pragma once

#include "output/zarovnanie.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A page of the published site: UTF-8 HTML in standards mode for phones and any server, with the
// site's one style sheet, its navigation at the top and the time it was published. Texts given to it
// are data (escaped); markup the site builds itself goes through the *Html functions.
class CStrankaWebu
{
public:
    CStrankaWebu(const QString& title, const QString& navigationHtml, const QString& updated);

    void Heading(int level, const QString& text, const QString& anchor = {});
    void Paragraph(const QString& text, const QString& cssClass = {});
    void ParagraphHtml(const QString& html, const QString& cssClass = {});
    // A table that scrolls within its box on a narrow screen: header cells as <th scope="col">, cells
    // as text. `kind` is the table's class in the style sheet, which aligns its columns (kTab...).
    void Table(const QStringList& header, const QVector<QStringList>& rows, const QString& kind = {},
               const QString& caption = {});
    // The same with cells and caption that are markup already (links).
    void TableHtml(const QStringList& header, const QVector<QStringList>& rows, const QString& kind = {},
                   const QString& caption = {});
    // A table of groups (the clubs of a register): one header, each group under a heading row, whose
    // title is markup (a link). From column `labelFrom` on, a cell that holds something carries its
    // column's header (data-k), so that on a phone it can say which round it is of.
    void GroupedTable(const QStringList& header, const QVector<QPair<QString, QVector<QStringList>>>& groups,
                      const QString& kind = {}, int labelFrom = -1);
    void Raw(const QString& html);

    QByteArray Bytes() const;

    static QString Escape(const QString& text);
    static QString Link(const QString& href, const QString& text);

private:
    QString m_html;
};

// The kinds of tables the style sheet aligns.
inline const QString kTabTabulka = QStringLiteral("t-tab");
inline const QString kTabVysledky = QStringLiteral("t-vys");
inline const QString kTabRozpis = QStringLiteral("t-roz");
inline const QString kTabStrelci = QStringLiteral("t-str");
inline const QString kTabKarty = QStringLiteral("t-kar");
inline const QString kTabKlub = QStringLiteral("t-klub");
inline const QString kTabNominacie = QStringLiteral("t-nom");
inline const QString kTabPrehlad = QStringLiteral("t-pre");
inline const QString kTabOficial = QStringLiteral("t-ofi");
inline const QString kTabNesmuHrat = QStringLiteral("t-nes");

// The site's style sheet (styl.css), written with the pages.
inline const QString kStylWebu = QStringLiteral("styl.css");
QByteArray SiteStyleSheet();
