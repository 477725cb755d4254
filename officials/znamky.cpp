#include "znamky.h"

#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "output/CQtPlocha.h"
#include "output/CTabulka.h"

#include <QSet>

#include <map>

#include <algorithm>

bool TestMarkCounts(CDatabaza& db)
{
    const CHlavicka h = CHlavicka::Read(db);
    return !h.exists || h.zapocitat == 1;
}

void SetTestMarkCounts(CDatabaza& db, bool counts)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsezona"));
    if (rs.IsEOF())
        rs.AddNew();
    else
        rs.Edit();
    rs.SetFieldValue(QStringLiteral("zapocitat"), counts ? 1 : 0);
    rs.Update();
}

QVector<CStlpecZoznamu> MarkColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Vlavo, 20},
            {QStringLiteral("Meno"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("Známka z testu"), Zarovnanie::Vlavo, 100},
            {QStringLiteral("Známky zo zápasov"), Zarovnanie::Vlavo, 300},
            {QStringLiteral("Výsledná známka"), Zarovnanie::Vlavo, 100}};
}

namespace {
// A mark in the statistics: "%.1f", "%.0f" when whole (0 included: an unmarked nomination).
QString Mark(double value)
{
    const float v = static_cast<float>(value);
    if (v == static_cast<float>(static_cast<int>(v)))
        return QString::number(static_cast<int>(v));
    return QString::number(static_cast<double>(v), 'f', 1);
}
} // namespace

CZoznam MarkStatistics(CDatabaza& db, bool testMarkCounts)
{
    CZoznam list;
    list.columns = MarkColumns();
    // The referees (every official but the delegates) with a nomination, and their nominations counted
    // by mark and function: one pass over the nominations, whatever their number.
    struct CRozhodca
    {
        QString name;
        float test = 0;
        std::map<std::pair<double, qint64>, int> marks; // (mark, function) -> nominations
    };
    std::map<qint64, CRozhodca> referees;
    CPrikaz officials(db,
                      QStringLiteral("SELECT ID, meno, priezvisko, znamka FROM trozhodci WHERE funkcia<>?"),
                      {kFunkciaDelegat});
    while (officials.Step()) {
        CRozhodca& r = referees[officials.Int64(0)];
        r.name = QStringLiteral("%1 %2").arg(LimitedText(officials.Text(1), QStringLiteral("meno")),
                                             LimitedText(officials.Text(2), QStringLiteral("priezvisko")));
        r.test = static_cast<float>(officials.Double(3));
    }
    QSet<qint64> nominated;
    // A nomination whose match is gone (a fixture list cleared in an older version) counts nowhere.
    CPrikaz nominations(db, QStringLiteral("SELECT IDrozhodcu, znamka, funkcia FROM tnominacie WHERE ") +
                                SqlNominaciaMaZapas());
    while (nominations.Step()) {
        const auto it = referees.find(nominations.Int64(0));
        if (it == referees.end())
            continue;
        nominated.insert(it->first);
        ++it->second.marks[{nominations.Double(1), nominations.Int64(2)}];
    }
    struct CVysledok
    {
        bool marked;
        int key;
        QStringList cells;
    };
    QVector<CVysledok> results;
    for (const auto& [id, r] : referees) {
        if (!nominated.contains(id))
            continue;
        // Marks are kept in tenths (as typed), so that the average is exact: 8.2 and 8.3 average 8.25,
        // shown rounded half up as 8.3, and 6.3 and 9.7 make 8.
        qint64 sum = 0;
        qint64 count = 0;
        QStringList marks;
        for (const auto& [group, times] : r.marks) {
            // Each nomination counts, so that two 8s and a 5 average 7, not 6.5. A nomination not
            // marked yet (below 1, or never written by another tool) is no mark: it neither lowers the
            // average nor shows.
            const float mark = static_cast<float>(group.first);
            if (!(mark >= 1) || !(mark <= 100))
                continue;
            sum += ZnamkaVDesatinach(mark) * times;
            count += times;
            for (int i = 0; i < times; ++i)
                marks << Mark(mark);
        }
        if (testMarkCounts && r.test >= 1 && r.test <= 100) {
            sum += ZnamkaVDesatinach(r.test);
            ++count;
        }
        const QString testText = Mark(r.test) == QStringLiteral("0") ? QString() : Mark(r.test);
        if (count == 0) {
            results.append({false, 0, {QString(), r.name, testText, QString(), QString()}});
            continue;
        }
        const int finalTenths = static_cast<int>((2 * sum + count) / (2 * count));
        results.append(
            {true,
             finalTenths,
             {QString(), r.name, testText, marks.join(QStringLiteral(" ; ")), Mark(finalTenths / 10.0)}});
    }
    // The marked officials from the lowest final mark up; those not marked yet after them.
    std::stable_sort(results.begin(), results.end(), [](const CVysledok& a, const CVysledok& b) {
        if (a.marked != b.marked)
            return a.marked;
        return a.key < b.key;
    });
    int n = 0;
    for (CVysledok& r : results) {
        r.cells[0] = QString::number(++n);
        list.AddRow(r.cells, r.key);
    }
    return list;
}

CTlacenaTabulka CTlacZnamok::Table()
{
    CTlacenaTabulka table;
    table.SetColumns({{QStringLiteral("#"), Zarovnanie::Vlavo, false, true},
                      {QStringLiteral("meno"), Zarovnanie::Vlavo, true, true},
                      {QStringLiteral("známka z testu"), Zarovnanie::Stred, false},
                      {QStringLiteral("známky zo zápasov"), Zarovnanie::Vlavo, true},
                      {QStringLiteral("výsledná známka"), Zarovnanie::Stred, false}});
    // Twenty-five officials a page at most, fewer where their marks take more lines.
    table.SetRowsPerPage(25, true);
    for (int r = 0; r < m_list.RowCount(); ++r) {
        QStringList cells = m_list.rows.at(r).cells;
        // A season's marks wrap between marks, each with its separator after it.
        if (kStlpecZnamok < cells.size())
            cells[kStlpecZnamok].replace(QStringLiteral(" ; "), QStringLiteral("\u00a0; "));
        table.AddRow({CTlacenaTabulka::CDruh::Udaje, cells});
    }
    return table;
}

void CTlacZnamok::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(QStringLiteral("Štatistika známok rozhodcov v ročníku %1").arg(season.nazov));
    t.RuledLine(season.AssociationLine());
}

QString CTlacZnamok::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}
