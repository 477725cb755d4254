#include "stranka.h"

#include "output/CMyExport.h"

QString CStrankaWebu::Escape(const QString& text)
{
    return CMyExport::Escape(text);
}

QString CStrankaWebu::Link(const QString& href, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(Escape(href), Escape(text));
}

CStrankaWebu::CStrankaWebu(const QString& title, const QString& navigationHtml, const QString& updated)
{
    m_html = QStringLiteral(
                 "<!DOCTYPE html>\n<html lang=\"sk\">\n<head>\n<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"Agenda Mirak\">\n<title>%1</title>\n"
                 "<link rel=\"stylesheet\" href=\"%2\">\n</head>\n<body>\n<header>\n%3\n</header>\n<main>\n"
                 "<h1>%1</h1>\n<p class=\"aktualizovane\">%4</p>\n")
                 .arg(Escape(title), kStylWebu, navigationHtml, Escape(updated));
}

void CStrankaWebu::Heading(int level, const QString& text, const QString& anchor)
{
    const QString id = anchor.isEmpty() ? QString() : QStringLiteral(" id=\"%1\"").arg(Escape(anchor));
    m_html += QStringLiteral("<h%1%2>%3</h%1>\n").arg(level).arg(id, Escape(text));
}

void CStrankaWebu::Paragraph(const QString& text, const QString& cssClass)
{
    ParagraphHtml(Escape(text), cssClass);
}

void CStrankaWebu::ParagraphHtml(const QString& html, const QString& cssClass)
{
    m_html += cssClass.isEmpty() ? QStringLiteral("<p>%1</p>\n").arg(html)
                                 : QStringLiteral("<p class=\"%1\">%2</p>\n").arg(cssClass, html);
}

void CStrankaWebu::Table(const QStringList& header, const QVector<QStringList>& rows, const QString& kind,
                         const QString& caption)
{
    QVector<QStringList> escaped;
    escaped.reserve(rows.size());
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& c : row)
            cells << Escape(c);
        escaped << cells;
    }
    TableHtml(header, escaped, kind, Escape(caption));
}

namespace {

void Header(QString& h, const QStringList& header)
{
    if (header.isEmpty())
        return;
    h += QStringLiteral("<thead><tr>");
    for (const QString& c : header)
        h += QStringLiteral("<th scope=\"col\">%1</th>").arg(CStrankaWebu::Escape(c));
    h += QStringLiteral("</tr></thead>\n");
}

// A row without the cells' closing tags, which HTML lets out: a season's registers are long. The row's own
// is there, so that the line break after it is not in its last cell (an empty cell stays :empty, which
// the phone's blocks leave out).
void Row(QString& h, const QStringList& row)
{
    h += QStringLiteral("<tr>");
    for (const QString& c : row) {
        h += QStringLiteral("<td>");
        h += c;
    }
    h += QStringLiteral("</tr>\n");
}

QString TableStart(const QString& kind)
{
    return kind.isEmpty() ? QStringLiteral("<div class=\"tab\"><table>")
                          : QStringLiteral("<div class=\"tab\"><table class=\"%1\">").arg(kind);
}

} // namespace

void CStrankaWebu::TableHtml(const QStringList& header, const QVector<QStringList>& rows, const QString& kind,
                             const QString& caption)
{
    QString& h = m_html;
    h += TableStart(kind);
    if (!caption.isEmpty())
        h += QStringLiteral("<caption>%1</caption>").arg(caption);
    Header(h, header);
    h += QStringLiteral("<tbody>\n");
    for (const QStringList& row : rows)
        Row(h, row);
    h += QStringLiteral("</tbody></table></div>\n");
}

void CStrankaWebu::GroupedTable(const QStringList& header,
                                const QVector<QPair<QString, QVector<QStringList>>>& groups,
                                const QString& kind, int labelFrom)
{
    QString& h = m_html;
    h += TableStart(kind);
    Header(h, header);
    for (const auto& [title, rows] : groups) {
        h += QStringLiteral(
                 "<tbody><tr><th scope=\"rowgroup\" colspan=\"%1\" class=\"skupina\">%2</th></tr>\n")
                 .arg(std::max<qsizetype>(1, header.size()))
                 .arg(title);
        for (const QStringList& row : rows) {
            h += QStringLiteral("<tr>");
            for (qsizetype i = 0; i < row.size(); ++i) {
                if (labelFrom >= 0 && i >= labelFrom && !row.at(i).isEmpty() && i < header.size())
                    h += QStringLiteral("<td data-k=\"%1\">").arg(Escape(header.at(i)));
                else
                    h += QStringLiteral("<td>");
                h += Escape(row.at(i));
            }
            h += QStringLiteral("</tr>\n");
        }
        h += QStringLiteral("</tbody>\n");
    }
    h += QStringLiteral("</table></div>\n");
}

void CStrankaWebu::Raw(const QString& html)
{
    m_html += html;
}

QByteArray CStrankaWebu::Bytes() const
{
    return (m_html +
            QStringLiteral(
                "</main>\n<footer><p>Spracované programom Agenda Mirak</p></footer>\n</body>\n</html>\n"))
        .toUtf8();
}

QByteArray SiteStyleSheet()
{
    // Readable on a phone without zooming: 16 px text, tables that scroll in their own box, every link
    // a target at least 40 px high. No scripts, no files from elsewhere.
    return QByteArrayLiteral(
        "html{-webkit-text-size-adjust:100%;text-size-adjust:100%}\n"
        "body{margin:0;font-family:Arial,\"Liberation "
        "Sans\",Helvetica,sans-serif;font-size:16px;line-height:1.45;"
        "color:#111;background:#fff;overflow-wrap:anywhere}\n"
        "header{background:#0b3d91;color:#fff;padding:4px 12px}\n"
        "header a{color:#fff}\n"
        "nav ul{list-style:none;margin:0;padding:0;display:flex;flex-wrap:wrap;gap:0 14px}\n"
        "nav .cesta{font-weight:bold}\n"
        "a{display:inline-block;min-height:40px;line-height:40px;color:#0b3d91}\n"
        // A name in a list is a link within its text: the row is the target, and a long name wraps as text.
        "td a,caption a,th a{display:inline;min-height:0;line-height:inherit}\n"
        "main{padding:0 12px 24px;max-width:1100px;margin:0 auto}\n"
        "h1{font-size:1.45em;line-height:1.25;margin:16px 0 4px}\n"
        "h2{font-size:1.2em;margin:1.4em 0 .4em}\n"
        "h3{font-size:1.05em;margin:1.2em 0 .3em}\n"
        ".aktualizovane{color:#555;font-size:14px;margin-top:0}\n"
        ".tab{overflow-x:auto;max-width:100%;margin:0 0 12px}\n"
        "table{border-collapse:collapse;font-size:16px}\n"
        "caption{text-align:left;font-weight:bold;padding:4px 0}\n"
        "th,td{border:1px solid #c8cfd9;padding:6px "
        "8px;text-align:left;white-space:nowrap;overflow-wrap:normal}\n"
        "th{background:#eef2f8}\n"
        ".skupina{text-align:left;background:#dde5f0}\n"
        // Which columns of each kind of table stand in the middle.
        ".t-tab td:nth-child(1),.t-tab td:nth-child(n+3),.t-tab th:nth-child(n+3){text-align:center}\n"
        ".t-vys td:nth-child(3),.t-vys td:nth-child(4),.t-vys th:nth-child(3),.t-vys "
        "th:nth-child(4){text-align:center}\n"
        ".t-roz td:nth-child(2),.t-roz th:nth-child(2){text-align:center}\n"
        ".t-str td:nth-child(1),.t-str td:nth-child(4),.t-str th:nth-child(4){text-align:center}\n"
        ".t-kar td:nth-child(1),.t-kar td:nth-child(n+3),.t-kar "
        "th:nth-child(n+3){text-align:center;padding:6px 4px}\n"
        ".t-klub td:nth-child(1),.t-klub td:nth-child(3),.t-klub td:nth-child(6),.t-klub "
        "th:nth-child(6){text-align:center}\n"
        ".t-nom td:nth-child(2){text-align:center}\n"
        ".t-pre td:nth-child(2),.t-pre th:nth-child(2){text-align:center}\n"
        ".poznamka{font-size:16px}\n"
        "nav b{display:inline-block;line-height:40px}\n"
        // On a phone no list needs a sideways swipe: a match, a nomination or a player who may not play is
        // a block of short lines, names wrap, and the standings keep "#", the club, the matches and the
        // points in sight with the other columns after them in the table's own scroll.
        "@media (max-width:600px){th,td{padding:6px 5px}"
        ".t-tab td:nth-child(2),.t-str td:nth-child(n+2):nth-child(-n+3),"
        "table:not([class]) td{white-space:normal;min-width:6em}"
        ".t-vys,.t-pre,.t-klub,.t-roz,.t-nom,.t-ofi,.t-nes{display:block;min-width:0}"
        ".t-vys thead,.t-pre thead,.t-klub thead,.t-roz thead,.t-nom thead,.t-ofi thead,.t-nes thead"
        "{display:none}"
        ".t-vys tbody,.t-pre tbody,.t-klub tbody,.t-roz tbody,.t-nom tbody,.t-ofi tbody,.t-nes tbody"
        "{display:block}"
        ".t-vys tr,.t-pre tr,.t-klub tr,.t-roz tr,.t-nom tr,.t-ofi tr,.t-nes tr"
        "{display:grid;column-gap:10px;padding:6px 2px;border-bottom:1px solid #c8cfd9}"
        ".t-vys td,.t-pre td,.t-klub td,.t-roz td,.t-nom td,.t-ofi td,.t-nes td"
        "{border:0;padding:3px 0;white-space:normal;text-align:left}"
        ".t-vys caption,.t-pre caption,.t-klub caption,.t-roz caption,.t-nom caption,.t-ofi caption,"
        ".t-nes caption{display:block}"
        ".t-vys td:empty,.t-pre td:empty,.t-klub td:empty,.t-roz td:empty,.t-nom td:empty,.t-ofi td:empty,"
        ".t-nes td:empty{display:none}"
        // Results: home over away, the score beside them, the note under.
        ".t-vys tr,.t-pre tr{grid-template-columns:1fr auto}"
        ".t-vys td:nth-child(1){grid-area:1/1}.t-vys td:nth-child(2){grid-area:2/1}"
        ".t-vys td:nth-child(3){grid-area:1/2;font-weight:bold;text-align:right}"
        ".t-vys td:nth-child(4){grid-area:2/2;text-align:right}.t-vys td:nth-child(5){grid-area:3/1/4/3}"
        ".t-pre td:nth-child(1){grid-area:1/1}.t-pre td:nth-child(3){grid-area:2/1}"
        ".t-pre td:nth-child(2){grid-area:1/2/3/3;align-self:center;font-weight:bold}"
        // A club's matches: round, day and hour; home over away with the score beside them.
        ".t-klub tr{grid-template-columns:auto auto 1fr auto}"
        ".t-klub td:nth-child(1)::after{content:\". kolo\"}"
        ".t-klub td:nth-child(4){grid-area:2/1/3/4}.t-klub td:nth-child(5){grid-area:3/1/4/4}"
        ".t-klub td:nth-child(6){grid-area:2/4/4/5;align-self:center;font-weight:bold;text-align:right}"
        // Fixtures, nominations, an official's matches, a player who may not play: lines of text.
        ".t-roz tr,.t-nom tr,.t-ofi tr,.t-nes tr{display:block}"
        ".t-roz td,.t-nom td,.t-ofi td{display:inline}"
        ".t-roz td:nth-child(2)::before,.t-nom td:nth-child(2)::before,.t-ofi td:nth-child(2)::before"
        "{content:\" \"}"
        ".t-roz td:nth-child(3)::before{content:\"\\A\";white-space:pre}"
        ".t-roz td:nth-child(4)::before,.t-nom td:nth-child(5)::before,.t-ofi td:nth-child(6)::before"
        "{content:\" – \"}"
        ".t-roz td:nth-child(5),.t-nom td:nth-child(3),.t-nom td:nth-child(n+6),.t-ofi td:nth-child(4),"
        ".t-nes td{display:block}"
        ".t-nom td:nth-child(6)::before{content:\"HR: \"}.t-nom td:nth-child(7)::before{content:\"AR1: \"}"
        ".t-nom td:nth-child(8)::before{content:\"AR2: \"}.t-nom td:nth-child(9)::before{content:\"DZ: \"}"
        ".t-ofi td:nth-child(3){font-weight:bold}.t-ofi td:nth-child(3)::before{content:\" · \"}"
        ".t-nes td:nth-child(1){font-weight:bold}"
        // A card register: per player his name, then only the rounds with a card, each said with its round.
        ".t-kar{display:block;min-width:0}.t-kar thead{display:none}.t-kar tbody{display:block}"
        ".t-kar tr{display:block;padding:4px 2px;border-bottom:1px solid #c8cfd9}"
        ".t-kar th.skupina{display:block;border:0;white-space:normal}"
        ".t-kar td,.t-kar td:nth-child(n+3){display:inline-block;border:0;padding:2px 10px 2px "
        "0;text-align:left}"
        ".t-kar td:empty{display:none}.t-kar td:nth-child(2){font-weight:bold;white-space:normal}"
        ".t-kar td[data-k]::before{content:attr(data-k) \". k.: \";color:#555}"
        ".t-kar td[data-k]:last-child::before{content:attr(data-k) \": \"}}\n"
        "footer{color:#666;font-size:14px;padding:0 12px 16px;max-width:1100px;margin:0 auto}\n");
}
