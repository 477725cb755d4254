// Dates as users type them and as the lists show them, in the locales the program meets.

#include "db/kody.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Sets the program's locale for one test and puts the previous one back.
class VLokalite
{
public:
    explicit VLokalite(const char* name) : m_previous(QLocale())
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~VLokalite() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

TEST(Dates, EveryWaySlovaksTypeADayReadsAsThatDay)
{
    const QDate day(2024, 8, 3);
    for (const char* locale : {"sk_SK", "cs_CZ", "de_DE", "en_US", "hu_HU"}) {
        VLokalite in(locale);
        for (const char* typed : {"3.8.2024", "03.08.2024", "3. 8. 2024", " 3 . 8 . 2024 ", "3.8.24",
                                  "03.08.24", "3.8.2024.", "2024-08-03"})
            EXPECT_EQ(DatumZTextu(QString::fromLatin1(typed)), day) << locale << " " << typed;
        // A shown date reads back as the same date, whatever the locale's short form.
        EXPECT_EQ(DatumZTextu(DatumTextom(day)), day) << locale;
        EXPECT_TRUE(FormatDatumu().contains(QStringLiteral("yyyy"))) << locale;
    }
    VLokalite us("en_US");
    EXPECT_EQ(DatumZTextu(QStringLiteral("8/3/2024")), day);
    EXPECT_EQ(DatumZTextu(QStringLiteral("8/3/24")), day);
}

TEST(Dates, TwoDigitYearsAreOfThisCenturyAlsoInTheLocalesForm)
{
    VLokalite czech("cs_CZ");
    EXPECT_EQ(DatumZTextu(QStringLiteral("30.06.25")), QDate(2025, 6, 30));
    EXPECT_EQ(DatumZTextu(QStringLiteral("1.1.99")), QDate(2099, 1, 1));
    EXPECT_EQ(DatumTextom(QDateTime(QDate(2025, 6, 30), QTime(0, 0))), QStringLiteral("30.06.2025"));
    VLokalite german("de_DE");
    EXPECT_EQ(DatumTextom(QDate(2025, 6, 30)), QStringLiteral("30.06.2025"));
    VLokalite slovak("sk_SK");
    EXPECT_EQ(DatumTextom(QDate(2025, 6, 30)), QStringLiteral("30. 6. 2025"));
    // The no-date value stays empty, and its typed form is still the first day of 1900.
    EXPECT_EQ(DatumTextom(ZiadnyDatum()), QString());
    EXPECT_EQ(DatumZTextu(QStringLiteral("1.1.1900")), QDate(1900, 1, 1));
}

TEST(Dates, ImpossibleOrUnreadableDaysAreRefusedNotMovedToAnotherDay)
{
    for (const char* locale : {"sk_SK", "en_US"}) {
        VLokalite in(locale);
        for (const char* typed : {"31.2.2024", "29.2.2023", "0.8.2024", "3.13.2024", "3.8.", "3.8.202", "abc",
                                  "", "   ", "3,8,2024", "2024-02-30"})
            EXPECT_FALSE(DatumZTextu(QString::fromLatin1(typed)).isValid()) << locale << " " << typed;
        EXPECT_EQ(DatumZTextu(QStringLiteral("29.2.2024")), QDate(2024, 2, 29));
    }
}

} // namespace
