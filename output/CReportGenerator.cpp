#include "CReportGenerator.h"

#include "CQtPlocha.h"
#include "db/kody.h"
#include "kodovanie.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDpi = kTwipovNaPalec;

const QString kBold = QStringLiteral("[%bold%]");
const QString kItalic = QStringLiteral("[%italic%]");
const QString kPage = QStringLiteral("[%page%]");
const QString kPages = QStringLiteral("[%pages%]");
const QString kDate = QStringLiteral("[%date%]");
const QString kTime = QStringLiteral("[%time%]");
const QString kSeparator = QStringLiteral("[%separator%]");
const QString kDoubleSeparator = QStringLiteral("[%double-separator%]");
const QString kBoldSeparator = QStringLiteral("[%bold-separator%]");
const QString kPrazdnyRiadok = QStringLiteral("[%blank%]");
const QString kPokracovanieRiadku = QStringLiteral("[%joined%]");

int Tw(double inches)
{
    return static_cast<int>(std::lround(inches * kDpi));
}

double LeadingDouble(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return 0;
    const double v = m.captured(0).trimmed().toDouble();
    return std::isfinite(v) ? v : 0;
}

int LeadingInt(const QString& text)
{
    return CisloNaZaciatku(text).value_or(0);
}

QString Unescape(QString text)
{
    text.replace(QStringLiteral("\\colon"), QStringLiteral(":"));
    text.replace(QStringLiteral("\\semicolon"), QStringLiteral(";"));
    text.replace(QStringLiteral("\\comma"), QStringLiteral(","));
    text.replace(QStringLiteral("\\newline"), QStringLiteral("\r\n"));
    return text;
}

QColor Colour(int value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

std::optional<CPero> Pen(const CBorderLine& line)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    const Qt::PenStyle style = (line.style >= 0 && line.style <= 5) ? styles[line.style] : Qt::SolidLine;
    if (style == Qt::NoPen)
        return std::nullopt;
    return CPero{Tw(line.width), Colour(line.colour), style};
}

int PenWidth(const CBorderLine& line)
{
    return std::max(1, Tw(line.width));
}

int Flags(int format, bool wordWrap)
{
    int flags = 0;
    if (format & 1)
        flags |= TextFlag::HCenter;
    else if (format & 2)
        flags |= TextFlag::Right;
    else
        flags |= TextFlag::Left;
    if (format & 4)
        flags |= TextFlag::VCenter;
    else if (format & 8)
        flags |= TextFlag::Bottom;
    else
        flags |= TextFlag::Top;
    if (format & 32)
        flags |= TextFlag::SingleLine;
    else if (wordWrap)
        flags |= TextFlag::WordWrap;
    return flags;
}

QRect Box(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Takes a tag out of a text; true when it was there.
// Escaped characters of a literal text (CReportGenerator::Literal) stand in characters of Unicode's
// private use area while a row is split and its tags are read, and come back just before drawing.
constexpr char16_t kChranenyLomitko = u'\uE000';
constexpr char16_t kChraneneZvislica = u'\uE001';
constexpr char16_t kChranenaZatvorka = u'\uE002';

QString Protect(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next == QLatin1Char('\\') || next == QLatin1Char('|') || next == QLatin1Char('[')) {
                out += next == QLatin1Char('\\')  ? QChar(kChranenyLomitko)
                       : next == QLatin1Char('|') ? QChar(kChraneneZvislica)
                                                  : QChar(kChranenaZatvorka);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString Release(QString text)
{
    text.replace(QChar(kChranenyLomitko), QLatin1Char('\\'));
    text.replace(QChar(kChraneneZvislica), QLatin1Char('|'));
    text.replace(QChar(kChranenaZatvorka), QLatin1Char('['));
    return text;
}

bool TakeTag(QString& text, const QString& tag)
{
    if (!text.contains(tag))
        return false;
    text.remove(tag);
    return true;
}

struct CParametre
{
    QStringList pieces;
    QString Text(int i) const { return pieces.value(i); }
    double Double(int i) const { return LeadingDouble(pieces.value(i)); }
    int Int(int i) const { return LeadingInt(pieces.value(i)); }
    CBorderLine Border(int first, bool withVisible = true) const
    {
        CBorderLine b;
        int i = first;
        b.visible = withVisible ? Int(i++) : 1;
        b.width = Double(i++);
        b.style = Int(i++);
        b.colour = Int(i++);
        return b;
    }
};

void ReadCommon(CDrawObject& o, const CParametre& p, bool unescape)
{
    o.left = p.Double(0);
    o.top = p.Double(1);
    o.right = p.Double(2);
    o.bottom = p.Double(3);
    o.text = unescape ? Unescape(p.Text(4)) : p.Text(4);
    o.name = unescape ? Unescape(p.Text(5)) : p.Text(5);
}

void ReadTextStyle(CDrawObject& o, const CParametre& p)
{
    o.fontName = p.Text(7);
    o.size = p.Int(8);
    o.bold = p.Int(9);
    o.italic = p.Int(10);
    o.underline = p.Int(11);
    o.strikeout = p.Int(12);
    o.colour = p.Int(13);
    o.format = p.Int(14);
}

std::unique_ptr<CColumn> ParseColumn(const QString& text)
{
    const QStringList props = text.split(QLatin1Char('#'));
    auto c = std::make_unique<CColumn>();
    c->width = LeadingDouble(props.value(0));
    c->fontName = props.value(1);
    c->size = LeadingInt(props.value(2));
    c->italic = LeadingInt(props.value(3));
    c->underline = LeadingInt(props.value(4));
    c->bold = LeadingInt(props.value(5));
    c->strikeout = LeadingInt(props.value(6));
    c->colour = LeadingInt(props.value(7));
    c->format = LeadingInt(props.value(8));
    c->caption = props.value(9);
    return c;
}

QString PrepareText(QString text, int page, int pages)
{
    const QDateTime now = QDateTime::currentDateTime();
    text.replace(kPages, QString::number(pages));
    text.replace(kPage, QString::number(page));
    text.replace(kDate, QLocale().toString(now.date(), QLocale::ShortFormat));
    text.replace(kTime, QLocale().toString(now.time(), QStringLiteral("HH:mm:ss")));
    return text;
}

CPismo Font(const QString& face, int size, bool bold, bool italic, bool underline, bool strikeout)
{
    CPismo f;
    f.face = face.isEmpty() ? QStringLiteral("Arial CE") : face;
    f.height = static_cast<int>(std::lround(kDpi * size / 10.0 / 72.0));
    f.cellHeight = true;
    f.weight = bold ? 700 : 400;
    f.italic = italic;
    f.underline = underline;
    f.strikeout = strikeout;
    return f;
}

// The width of each column of a grid: a column of width 0 takes what the others leave.
std::vector<int> ColumnWidths(const CDrawGrid& grid)
{
    std::vector<int> widths;
    int fixed = 0;
    for (const auto& c : grid.columns) {
        widths.push_back(Tw(c->width));
        fixed += widths.back();
    }
    for (size_t i = 0; i < grid.columns.size(); ++i)
        if (grid.columns.at(i)->width == 0)
            widths.at(i) = std::max(0, (Tw(grid.right) - Tw(grid.left)) - fixed);
    return widths;
}

int RowHeight(const CDrawGrid& grid)
{
    return static_cast<int>(std::lround(kDpi / std::max(1, grid.rowsPerInch)));
}

// One cell of a grid's data row as it prints: where its text goes (the rows it spans), in which font
// and how aligned.
struct CBunkaMriezky
{
    QRect box;
    CPismo font;
    int colour = 0;
    int flags = 0;
    QString text;
};

std::vector<CBunkaMriezky> CellsOfRow(const CDrawGrid& grid, const std::vector<int>& widths,
                                      const QString& protectedRow, int top, int height)
{
    std::vector<CBunkaMriezky> out;
    const QStringList cells = protectedRow.split(QLatin1Char('|'));
    int x = Tw(grid.left);
    for (size_t c = 0; c < grid.columns.size(); ++c) {
        const CColumn& column = *grid.columns.at(c);
        QString text = cells.value(static_cast<int>(c));
        const bool bold = TakeTag(text, kBold);
        const bool italic = TakeTag(text, kItalic);
        CBunkaMriezky cell;
        // A cell tagged both ways is drawn italic.
        cell.font = Font(column.fontName, column.size, italic ? column.bold : (bold || column.bold),
                         italic || column.italic, column.underline, column.strikeout);
        int indent = static_cast<int>(std::lround(kDpi * column.size / 40.0 / 72.0));
        if (c == 0 && grid.border.visible)
            indent += PenWidth(grid.border);
        if (c > 0 && grid.border2.visible)
            indent += PenWidth(grid.border2);
        const int w = widths.at(c);
        cell.box = Box(x + indent, top, x + w - indent, top + height);
        cell.flags =
            (Flags(column.format, false) & ~(TextFlag::Top | TextFlag::Bottom | TextFlag::WordWrap)) |
            TextFlag::VCenter | TextFlag::SingleLine;
        cell.colour = column.colour;
        cell.text = Release(text);
        out.push_back(cell);
        x += w;
    }
    return out;
}

} // namespace

QString FileBesideProgram(const QString& relativePath)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(relativePath);
}

int CDrawGrid::RowsPerPage() const
{
    // A grid that cannot hold a row (no height, no rows per inch) still shows one a page.
    const double rows = std::floor(rowsPerInch * (bottom - top));
    return static_cast<int>(std::clamp(rows, 1.0, 1.0e6));
}

QString CReportGenerator::Literal(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('|') || c == QLatin1Char('['))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

CReportGenerator::CReportGenerator() = default;
CReportGenerator::~CReportGenerator() = default;

std::unique_ptr<CDrawObject> CReportGenerator::ParseLine(const QString& line, const QString& baseFolder)
{
    const QStringList parts = line.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return nullptr;
    const QString keyword = parts.at(0).trimmed();
    QString list = parts.at(1);
    static const QStringList keywords = {QStringLiteral("report_box"),     QStringLiteral("report_ellipse"),
                                         QStringLiteral("report_grid"),    QStringLiteral("report_line"),
                                         QStringLiteral("report_picture"), QStringLiteral("report_field"),
                                         QStringLiteral("report_label")};
    const int which = static_cast<int>(keywords.indexOf(keyword));
    if (which < 0)
        return nullptr;
    if (keyword == QStringLiteral("report_picture"))
        while (list.endsWith(QLatin1Char(';')))
            list.chop(1);
    const CParametre p{list.split(QLatin1Char(','))};

    switch (which) {
    case 0:
    case 1: {
        auto o = std::make_unique<CDrawObject>();
        ReadCommon(*o, p, true);
        o->kind = which == 0 ? kBox : kEllipse;
        o->border = p.Border(7);
        o->fill = p.Int(11);
        o->fillColour = p.Int(12);
        return o;
    }
    case 2: {
        auto g = std::make_unique<CDrawGrid>();
        ReadCommon(*g, p, true);
        g->kind = kGrid;
        g->border = p.Border(7);
        g->border2 = p.Border(11);
        g->border3 = p.Border(15);
        // More rows than twips an inch is no layout: the value is kept within what can be drawn.
        g->rowsPerInch = std::clamp(p.Int(19), 0, static_cast<int>(kDpi));
        const QString columns = p.Text(20);
        if (!columns.isEmpty())
            for (const QString& c : columns.split(QLatin1Char('|')))
                g->columns.push_back(ParseColumn(c));
        return g;
    }
    case 3: {
        auto o = std::make_unique<CDrawObject>();
        ReadCommon(*o, p, true);
        o->kind = kLine;
        o->border = p.Border(7, false);
        return o;
    }
    case 4: {
        auto o = std::make_unique<CDrawObject>();
        ReadCommon(*o, p, false);
        o->kind = kPicture;
        o->border = p.Border(7);
        if (!o->text.isEmpty()) {
            // A relative path is looked for beside the template first.
            QString path = o->text;
            if (QFileInfo(path).isRelative() && !baseFolder.isEmpty() &&
                QFileInfo::exists(QDir(baseFolder).filePath(path)))
                path = QDir(baseFolder).filePath(path);
            o->image.load(path);
        }
        return o;
    }
    default: {
        auto o = std::make_unique<CDrawObject>();
        ReadCommon(*o, p, true);
        o->kind = which == 5 ? kField : kLabel;
        ReadTextStyle(*o, p);
        return o;
    }
    }
}

void CReportGenerator::SetTemplateName(const QString& name)
{
    if (!m_templateName.isEmpty())
        Clear();
    m_templateName = name;
}

void CReportGenerator::Clear()
{
    m_sections.clear();
    m_templateName.clear();
}

bool CReportGenerator::LoadTemplate(const QString& path)
{
    m_lastError.clear();
    Clear();
    SetTemplateName(QFileInfo(path).fileName());
    return LoadSectionFromPath(path, 0);
}

bool CReportGenerator::LoadSectionFromPath(const QString& path, int type)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastError(QStringLiteral("Šablónu %1 sa nepodarilo otvoriť: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    m_baseFolder = QFileInfo(path).absolutePath();
    return LoadSectionFromFile(file, type);
}

bool CReportGenerator::LoadSectionFromResource(const QString& resource, int type)
{
    return LoadSectionFromPath(
        resource.startsWith(QLatin1Char(':')) ? resource : QStringLiteral(":/") + resource, type);
}

bool CReportGenerator::LoadSectionFromFile(QIODevice& file, int type)
{
    const QByteArray bytes = file.readAll();
    return LoadSectionFromText(ZWindows1250(bytes), type);
}

bool CReportGenerator::LoadSectionFromText(const QString& text, int type)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return LoadSectionFromLines(lines, type);
}

bool CReportGenerator::LoadSectionFromLines(const QStringList& lines, int type)
{
    if (type == 1 && !m_sections.empty() && m_sections.front()->type == 1) {
        SetLastError(QStringLiteral("Zostava už má sekciu prvej strany."));
        return false;
    }
    if (type == 2 && !m_sections.empty() && m_sections.back()->type == 2) {
        SetLastError(QStringLiteral("Zostava už má sekciu poslednej strany."));
        return false;
    }
    auto section = std::make_unique<CContainer>();
    section->type = type;
    for (const QString& line : lines)
        if (auto o = ParseLine(line, m_baseFolder))
            section->objects.push_back(std::move(o));
    if (section->objects.empty()) {
        SetLastError(QStringLiteral("Šablóna neobsahuje žiadny objekt."));
        return false;
    }
    if (type == 1) {
        m_sections.insert(m_sections.begin(), std::move(section));
    } else if (type != 2 && !m_sections.empty() && m_sections.back()->type == 2) {
        m_sections.insert(m_sections.end() - 1, std::move(section));
    } else {
        m_sections.push_back(std::move(section));
    }
    return true;
}

int CReportGenerator::ObjectCount(int section) const
{
    if (section < 0 || section >= SectionCount())
        return 0;
    return static_cast<int>(m_sections.at(section)->objects.size());
}

QString CReportGenerator::ObjectName(int section, int index) const
{
    if (index < 0 || index >= ObjectCount(section))
        return {};
    return m_sections.at(section)->objects.at(index)->name;
}

int CReportGenerator::ObjectKind(const QString& name, int section) const
{
    if (section < 0 || section >= SectionCount())
        return 0;
    for (const auto& o : m_sections.at(section)->objects)
        if (o->name == name)
            return o->kind;
    return 0;
}

int CReportGenerator::GridRowCount(const QString& name, int section) const
{
    if (section < 0 || section >= SectionCount())
        return 0;
    for (const auto& o : m_sections.at(section)->objects)
        if (o->name == name && o->kind == kGrid)
            return static_cast<int>(static_cast<const CDrawGrid&>(*o).rows.size());
    return 0;
}

void CReportGenerator::AddObject(std::unique_ptr<CDrawObject> object, int section)
{
    if (section >= 0 && section < SectionCount())
        m_sections.at(section)->objects.push_back(std::move(object));
}

void CReportGenerator::ClearValues()
{
    for (auto& s : m_sections)
        for (auto& o : s->objects) {
            if (o->kind == kField)
                o->text.clear();
            else if (o->kind == kGrid)
                static_cast<CDrawGrid&>(*o).rows.clear();
        }
}

void CReportGenerator::SetFieldText(const QString& name, const QString& text)
{
    for (auto& s : m_sections)
        for (auto& o : s->objects)
            if (o->name == name) {
                if (o->kind == kField)
                    o->text = text;
                return;
            }
}

CDrawGrid* CReportGenerator::FindGrid(CContainer& section, const QString& name) const
{
    for (auto& o : section.objects)
        if (o->kind == kGrid && o->name == name)
            return static_cast<CDrawGrid*>(o.get());
    return nullptr;
}

bool CReportGenerator::SetGridRows(const QString& name, const QStringList& rows)
{
    const int n = static_cast<int>(rows.size());
    int k = 0;
    if (!m_sections.empty() && m_sections.front()->type == 1)
        if (CDrawGrid* header = FindGrid(*m_sections.front(), name)) {
            k = std::min(n, header->RowsPerPage());
            for (int i = 0; i < k; ++i)
                header->rows << rows.at(i);
        }
    CDrawGrid* body = nullptr;
    for (auto& s : m_sections)
        if (s->type == 0)
            if ((body = FindGrid(*s, name)))
                break;
    int footerRows = 0;
    if (!m_sections.empty() && m_sections.back()->type == 2)
        if (CDrawGrid* footer = FindGrid(*m_sections.back(), name)) {
            const int rest = n - k;
            // Without a body grid the last-page grid takes what it can hold.
            footerRows = body ? std::min(footer->RowsPerPage(), rest % body->RowsPerPage())
                              : std::min(footer->RowsPerPage(), rest);
            for (int i = n - footerRows; i < n; ++i)
                footer->rows << rows.at(i);
        }
    const int bodyEnd = n - footerRows;
    if (k < bodyEnd && !body)
        return false;
    for (auto& s : m_sections)
        if (s->type == 0)
            if (CDrawGrid* g = FindGrid(*s, name))
                for (int i = k; i < bodyEnd; ++i)
                    g->rows << rows.at(i);
    return true;
}

int CReportGenerator::LayoutPages()
{
    m_pages = LayoutSections();
    return m_pages;
}

int CReportGenerator::LayoutSections()
{
    int p = 0;
    for (auto& s : m_sections) {
        std::vector<CDrawGrid*> grids;
        for (auto& o : s->objects)
            if (o->kind == kGrid)
                grids.push_back(static_cast<CDrawGrid*>(o.get()));
        const bool emptyGrid =
            std::any_of(grids.begin(), grids.end(), [](CDrawGrid* g) { return g->rows.isEmpty(); });
        if (s->type == 1) {
            s->firstPage = s->lastPage = 1;
            p += 1;
        } else if (emptyGrid) {
            s->firstPage = s->lastPage = -1;
            continue;
        } else if (s->type == 2) {
            s->firstPage = s->lastPage = p + 1;
            p += 1;
        } else {
            int pages = 1;
            for (CDrawGrid* g : grids)
                pages = std::max(pages, (static_cast<int>(g->rows.size()) + g->RowsPerPage() - 1) /
                                            g->RowsPerPage());
            s->firstPage = p + 1;
            s->lastPage = p + pages;
            p += pages;
        }
        for (CDrawGrid* g : grids)
            g->firstPage = s->firstPage;
    }
    return p;
}

void CReportGenerator::DrawPage(CPlocha& surface, int page)
{
    CContainer* chosen = nullptr;
    for (auto& s : m_sections)
        if (s->firstPage >= 0 && page >= s->firstPage && page <= s->lastPage)
            chosen = s.get();
    if (!chosen)
        return;
    for (const auto& o : chosen->objects)
        DrawObject(surface, *o, page);
}

void CReportGenerator::DrawObject(CPlocha& surface, const CDrawObject& o, int page)
{
    const QRect rect = Box(Tw(o.left), Tw(o.top), Tw(o.right), Tw(o.bottom));
    switch (o.kind) {
    case kBox:
    case kEllipse: {
        const std::optional<CPero> pen = o.border.visible ? Pen(o.border) : std::nullopt;
        const std::optional<QColor> fill =
            o.fill ? std::optional<QColor>(Colour(o.fillColour)) : std::nullopt;
        if (o.kind == kBox)
            surface.Rectangle(rect, pen, fill);
        else
            surface.Ellipse(rect, pen, fill);
        break;
    }
    case kLine:
        if (const auto pen = Pen(o.border))
            surface.Line({Tw(o.left), Tw(o.top)}, {Tw(o.right), Tw(o.bottom)}, *pen);
        break;
    case kPicture: {
        if (o.border.visible)
            surface.Rectangle(rect, Pen(o.border), QColor(Qt::white));
        if (!o.image.isNull()) {
            const int inset = 1;
            surface.Image(rect.adjusted(inset, inset, -inset, -inset), o.image);
        }
        break;
    }
    case kField:
    case kLabel: {
        // A field's value may hold literal text (a season's name): its tags are not read.
        QString text = o.kind == kField ? Protect(o.text) : o.text;
        bool bold = o.bold;
        bool italic = o.italic;
        if (o.kind == kField) {
            bold = TakeTag(text, kBold) || bold;
            italic = TakeTag(text, kItalic) || italic;
        }
        surface.SetFont(Font(o.fontName, o.size, bold, italic, o.underline, o.strikeout));
        surface.SetTextColor(Colour(o.colour));
        surface.Text(rect, Flags(o.format, true), Release(PrepareText(text, page, m_pages)));
        surface.SetTextColor(Qt::black);
        break;
    }
    case kGrid:
        DrawGrid(surface, static_cast<const CDrawGrid&>(o), page);
        break;
    default:
        break;
    }
}

void CReportGenerator::DrawGrid(CPlocha& surface, const CDrawGrid& grid, int page)
{
    const int left = Tw(grid.left), top = Tw(grid.top), right = Tw(grid.right), bottom = Tw(grid.bottom);
    const int perPage = grid.RowsPerPage();
    const int index = page - grid.firstPage + 1;
    const int from = std::max(0, (index - 1) * perPage);
    const int to = std::min(static_cast<int>(grid.rows.size()), index * perPage);
    const int h = RowHeight(grid);
    const std::vector<int> widths = ColumnWidths(grid);

    if (grid.border.visible)
        surface.Rectangle(Box(left, top, right, bottom), Pen(grid.border), std::nullopt);
    if (grid.border2.visible) {
        int x = left;
        for (size_t i = 0; i + 1 < widths.size(); ++i) {
            x += widths.at(i);
            if (const auto pen = Pen(grid.border2))
                surface.Line({x, top}, {x, bottom}, *pen);
        }
    }
    const CPero black{0, Qt::black, Qt::SolidLine};
    for (int r = from; r < to; ++r) {
        const int y = top + (r - from) * h;
        const QString row = Protect(grid.rows.at(r));
        if (row.contains(kPrazdnyRiadok) || row.contains(kPokracovanieRiadku)) {
            continue;
        } else if (row.contains(kSeparator)) {
            surface.Line({left, y + h / 4}, {right, y + h / 4}, black);
        } else if (row.contains(kDoubleSeparator)) {
            surface.Line({left, y + h / 4}, {right, y + h / 4}, black);
            surface.Line({left, y + h / 2}, {right, y + h / 2}, black);
        } else if (row.contains(kBoldSeparator)) {
            surface.Line({left, y + h / 4}, {right, y + h / 4}, CPero{(h / 4) / 2, Qt::black, Qt::SolidLine});
        } else {
            // The rows after it that continue it give its cells their room.
            int span = 1;
            while (r + span < to && Protect(grid.rows.at(r + span)).contains(kPokracovanieRiadku))
                ++span;
            for (const CBunkaMriezky& cell : CellsOfRow(grid, widths, row, y, span * h)) {
                surface.SetFont(cell.font);
                surface.SetTextColor(Colour(cell.colour));
                // Lines broken here, where they are measured, so that what was given room is what
                // prints: the whole text, never shortened.
                const QStringList lines = surface.Wrapped(cell.text, cell.box.width());
                const int lineHeight = surface.Metrics().height;
                const int block = static_cast<int>(lines.size()) * lineHeight;
                if (lines.size() <= 1 || block <= 0) {
                    surface.Text(cell.box, cell.flags, cell.text);
                    continue;
                }
                int lineTop = cell.box.top() + std::max(0, (cell.box.height() - block) / 2);
                for (const QString& line : lines) {
                    surface.Text(QRect(cell.box.left(), lineTop, cell.box.width(), lineHeight), cell.flags,
                                 line);
                    lineTop += lineHeight;
                }
            }
            surface.SetTextColor(Qt::black);
            // The row lines belong to the rows of data, not to the separators between groups.
            if (grid.border3.visible)
                if (const auto pen = Pen(grid.border3))
                    surface.Line({left, y + span * h}, {right, y + span * h}, *pen);
        }
    }
}

QString CReportGenerator::BlankRow()
{
    return kPrazdnyRiadok;
}

QString CReportGenerator::JoinedRow()
{
    return kPokracovanieRiadku;
}

int CReportGenerator::GridRowLines(const QString& name, const QString& row) const
{
    const CDrawGrid* grid = nullptr;
    for (const auto& s : m_sections)
        if (s->type == 0 && (grid = FindGrid(*s, name)))
            break;
    if (!grid)
        return 1;
    // One measuring surface for all the rows: it keeps the widths it has measured.
    if (!m_measure)
        m_measure = std::make_unique<CMeraciaPlocha>(QSize(kA4Sirka, kA4Vyska));
    CMeraciaPlocha& surface = *m_measure;
    const int h = RowHeight(*grid);
    int rows = 1;
    for (const CBunkaMriezky& cell : CellsOfRow(*grid, ColumnWidths(*grid), Protect(row), 0, h)) {
        surface.SetFont(cell.font);
        const qsizetype lines = surface.Wrapped(cell.text, cell.box.width()).size();
        const double height = double(lines) * surface.Metrics().height;
        rows = std::max(rows, static_cast<int>(std::ceil(height / h - 1e-9)));
    }
    return rows;
}

int CReportGenerator::GridRowsPerPage(const QString& name) const
{
    for (const auto& s : m_sections)
        if (s->type == 0)
            if (const CDrawGrid* grid = FindGrid(*s, name))
                return grid->RowsPerPage();
    return 0;
}

bool CReportGenerator::PrintAll(QPagedPaintDevice& device)
{
    const int pages = LayoutPages();
    return pages <= 0 || PrintPages(*this, device, 1, pages);
}
