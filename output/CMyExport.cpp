#include "CMyExport.h"

#include "db/CChybaDatabazy.h"
#include "db/subory.h"

#include "CZoznam.h"
#include "csv.h"
#include "db/CPouzivatel.h"
#include "db/subory.h"
#include "kodovanie.h"
#include "web.h"

#include <QDir>
#include <QRegularExpression>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// What a cell built of markup says as text: line breaks become ", ", tags go, entities are read.
QString MarkupText(const QString& html)
{
    QString text = html;
    static const QRegularExpression lineBreak(QStringLiteral("\\s*<br\\s*/?>\\s*"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    text.replace(lineBreak, QStringLiteral("\n"));
    text.remove(tag);
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines.join(QStringLiteral(", "));
}
QString CellStart(Zarovnanie alignment)
{
    return QStringLiteral("<td vAlign=\"middle\" align=\"") + HtmlZarovnanie(alignment) +
           QStringLiteral("\" nowrap>");
}
} // namespace

CMyExport::~CMyExport() = default;

QString CMyExport::Escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

void CMyExport::AppendEscaped(QString& out, const QString& text)
{
    // Runs of plain characters go in whole; a name is rarely more than one run.
    const QChar* run = text.constData();
    const QChar* const end = run + text.size();
    for (const QChar* c = run; c != end; ++c) {
        QStringView entity;
        switch (c->unicode()) {
        case '&':
            entity = u"&amp;";
            break;
        case '<':
            entity = u"&lt;";
            break;
        case '>':
            entity = u"&gt;";
            break;
        case '"':
            entity = u"&quot;";
            break;
        default:
            continue;
        }
        out.append(run, c - run);
        out += entity;
        run = c + 1;
    }
    out.append(run, end - run);
}

void CMyExport::Line(const QString& text)
{
    m_page += text;
    m_page += kCrLf;
}

void CMyExport::BeginPage(const QString& line, const QString& title, const QString& season)
{
    Line(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"));
    Line(QStringLiteral("<html>"));
    Line(QStringLiteral("<head>"));
    Line(QStringLiteral("<title>") + Escape(title) + QStringLiteral("</title>"));
    Line(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\" />"));
    Line(QStringLiteral("<meta name=\"GENERATOR\" content=\"Program Agenda Mirak\">"));
    Line(QStringLiteral("<style>"));
    Line(QStringLiteral(
        "BODY {PADDING-RIGHT: 10px; PADDING-LEFT: 10px; BACKGROUND: white; PADDING-BOTTOM: 30px; "
        "MARGIN: 0px; FONT: 80% Arial,\"Geneva CE\",lucida,sans-serif; COLOR: black; PADDING-TOP: "
        "30px; TEXT-ALIGN: center}"));
    Line(QStringLiteral(
        "H1 { font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : 12pt; color : "
        "Navy; font-weight : bold; margin-top : 20px;}"));
    Line(QStringLiteral(
        "H2 {color : Navy; font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : "
        "10pt; font-weight : bold;}"));
    Line(QStringLiteral(
        "P {color : Black; font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : "
        "9pt;\tline-height : 150%;\tmargin-top : 10px;}"));
    Line(QStringLiteral("HR {width : 100%; color : Black; height : 1px;}"));
    Line(QStringLiteral("TABLE {border-color:silver; font-size : 10pt; border-width:1px; border-style:solid;}"
                        "TD {border-color:silver; font-size : 10pt; border-width:1px; border-style:solid;}"
                        "</style>"));
    Line(QStringLiteral("</head>"));
    Line(QStringLiteral("<body>"));
    Line(QStringLiteral("<div>"));
    Line(QStringLiteral("<p>") + Escape(line) + QStringLiteral("<hr/></p>"));
    Line(QStringLiteral("<h1>") + Escape(title) + QStringLiteral("</h1>"));
    if (season.size() >= 2)
        Line(QStringLiteral("<h2>") + Escape(season) + QStringLiteral("</h2>"));
}

void CMyExport::BeginTable(int columns, const QString& heading)
{
    m_columns = columns;
    if (!m_rows.isEmpty())
        m_rows.append(QStringList());
    if (heading.size() >= 2) {
        Line(QStringLiteral("<h2>") + Escape(heading) + QStringLiteral("</h2>"));
        m_rows.append({heading.trimmed()});
    }
    Line(QStringLiteral("<table style=\"WIDTH: 584px; \" cellSpacing=\"0\" cellPadding=\"4\" width=\"584\" "
                        "border=\"1px\">"));
}

void CMyExport::RowStart(int column)
{
    if (column == 0) {
        static const QString start = QStringLiteral("<tr>") + kCrLf;
        m_page += start;
        m_rows.append(QStringList());
        m_rows.last().reserve(m_columns);
    }
}

void CMyExport::RowEnd(int column)
{
    static const QString end = QStringLiteral("</tr>") + kCrLf;
    if (column == m_columns - 1)
        m_page += end;
}

void CMyExport::HeadCell(int column, const QString& text, Zarovnanie alignment, int width)
{
    RowStart(column);
    m_page += u"<td style=\"WIDTH: ";
    m_page += QString::number(width);
    m_page += u"px\" vAlign=\"middle\" align=\"";
    m_page += HtmlZarovnanie(alignment);
    m_page += u"\"><strong>";
    AppendEscaped(m_page, text);
    m_page += u"</strong></td>";
    m_page += kCrLf;
    if (!m_rows.isEmpty())
        m_rows.last().append(text.trimmed());
    RowEnd(column);
}

void CMyExport::DataCell(int column, const QString& text, bool markup, Zarovnanie alignment)
{
    RowStart(column);
    // Written straight into the page, its markup in two pieces made once: a season's pages are
    // millions of cells.
    static const QString starts[] = {CellStart(Zarovnanie::Vlavo), CellStart(Zarovnanie::Stred),
                                     CellStart(Zarovnanie::Vpravo)};
    static const QString end = QStringLiteral("</td>") + kCrLf;
    m_page += starts[static_cast<int>(alignment)];
    if (text.isEmpty())
        m_page += u"&nbsp;";
    else if (markup)
        m_page += text;
    else
        AppendEscaped(m_page, text);
    m_page += end;
    if (!m_rows.isEmpty())
        m_rows.last().append(markup ? MarkupText(text) : text.trimmed());
    RowEnd(column);
}

void CMyExport::Cell(int column, const QString& text, Zarovnanie alignment)
{
    DataCell(column, text, false, alignment);
}

void CMyExport::CellHtml(int column, const QString& html, Zarovnanie alignment)
{
    DataCell(column, html, true, alignment);
}

void CMyExport::SetCsvRow(const QStringList& cells)
{
    if (!m_rows.isEmpty())
        m_rows.last() = cells;
}

QByteArray CMyExport::CsvText() const
{
    return CsvBytes(m_rows);
}

void CMyExport::EndTable()
{
    Line(QStringLiteral("</table>"));
}

void CMyExport::EndPage()
{
    m_page +=
        QStringLiteral("</br></br>Spracované programom Agenda Mirak od <a href=\"%1\" target=_blank>%2</a>"
                       "</div></body>")
            .arg(kWebVyrobcu, kWebVyrobcuText);
    m_page += kCrLf;
    m_page += QStringLiteral("</html>");
}

void CMyExport::AppendRaw(const QString& html)
{
    m_page += html;
}

void CMyExport::ExportList(const CZoznam& list, const QString& heading)
{
    const int columns = list.ColumnCount();
    const auto headerRow = [&] {
        for (int c = 0; c < columns; ++c)
            HeadCell(c, list.columns.at(c).header, Zarovnanie::Stred, 50);
    };
    const auto dataRow = [&](int r) {
        for (int c = 0; c < columns; ++c)
            Cell(c, list.Text(r, c), Zarovnanie::Stred);
    };
    const int rows = list.RowCount();
    if (rows > 0 && !list.Text(0, 0).isEmpty()) {
        BeginTable(columns, heading);
        headerRow();
        for (int r = 0; r < rows; ++r)
            dataRow(r);
        EndTable();
        return;
    }
    bool open = false;
    int r = 0;
    while (r < rows) {
        if (list.Text(r, 0).isEmpty()) {
            if (open)
                EndTable();
            ++r;
            BeginTable(columns, list.Text(r, 1));
            headerRow();
            open = true;
            ++r;
            if (r >= rows)
                break;
        }
        // The row right after a title row is always data, whatever its first cell holds.
        dataRow(r);
        ++r;
    }
    if (open)
        EndTable();
}

QByteArray CMyExport::CopyText() const
{
    return DoWindows1250(m_page);
}

bool IsCsvFileName(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
}

QString ExportFileName(const QString& chosen)
{
    return IsCsvFileName(chosen) ? chosen : WithExtension(chosen, QStringLiteral("html"));
}

QString SaveExportedPage(CPouzivatel& user, const CMyExport& page, const QString& initialName)
{
    const QString chosen = user.AskSaveFileName(QStringLiteral("Export"), initialName,
                                                kFilterHtml + QStringLiteral(";;") + kFilterCsv);
    if (chosen.isEmpty())
        return {};
    const QString path = ExportFileName(chosen);
    try {
        WriteWholeFile(path, IsCsvFileName(path) ? page.CsvText() : page.CopyText());
    } catch (const CChybaDatabazy& e) {
        user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
        return {};
    }
    if (user.AskYesNo(QStringLiteral("Chcete zobraziť exportovaný súbor?")))
        user.OpenWithSystem(path);
    return path;
}
