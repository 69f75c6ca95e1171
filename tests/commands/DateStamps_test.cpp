#include "commands/DateStamps.h"

#include <gtest/gtest.h>

#include <array>

namespace {

struct StampCase {
    const char* name;
    QDateTime moment;
    DateStampLocale formats;
    std::array<std::string, kDateStampCount> expected; // N8 ... N13
};

const QDateTime kMarch(QDate(2024, 3, 5), QTime(9, 7, 3));
const QDateTime kNewYearsEve(QDate(2024, 12, 31), QTime(23, 59, 59));

std::vector<StampCase> Cases()
{
    const DateStampLocale us = DateStampLocale::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const DateStampLocale turkish = DateStampLocale::FromLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    const DateStampLocale german = DateStampLocale::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    auto system = [](const char* name) { return DateStampLocale::FromLocale(QLocale(QString::fromLatin1(name))); };
    return {
        {"home_march", kMarch, DateStampLocale::Home(),
         {"05.03.2024", "05.03.24", "09:07:03", "05.03.2024, 09:07:03", "March 05, 2024",
          "March 05, 2024, 09:07:03"}},
        {"home_new_years_eve", kNewYearsEve, DateStampLocale::Home(),
         {"31.12.2024", "31.12.24", "23:59:59", "31.12.2024, 23:59:59", "December 31, 2024",
          "December 31, 2024, 23:59:59"}},
        // Month first and a two-digit year: cut by positions it would name the month "5/" and the
        // year "24"; the parts come from the date instead.
        {"us_march", kMarch, us,
         {"3/5/24", "3/5/24", "9:07:03 AM", "3/5/24, 9:07:03 AM", "March 05, 2024", "March 05, 2024, 9:07:03 AM"}},
        {"us_new_years_eve", kNewYearsEve, us,
         {"12/31/24", "12/31/24", "11:59:59 PM", "12/31/24, 11:59:59 PM", "December 31, 2024",
          "December 31, 2024, 11:59:59 PM"}},
        // The system's Turkish layout writes the day without a leading zero.
        {"turkish_system_layout", kMarch, turkish,
         {"5.03.2024", "5.03.24", "09:07:03", "5.03.2024, 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
        {"german_two_digit_year", kNewYearsEve, german,
         {"31.12.24", "31.12.24", "23:59:59", "31.12.24, 23:59:59", "December 31, 2024",
          "December 31, 2024, 23:59:59"}},
        // A layout whose text the code page cannot hold gives way to the home layout, each of date
        // and time on its own, rather than lose characters ("90703", "AM 9 7 3").
        {"japanese_time_marks", kMarch, system("ja_JP"),
         {"2024/03/05", "24/03/05", "09:07:03", "2024/03/05, 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
        {"korean_time_marks", kMarch, system("ko_KR"),
         {"24. 3. 5.", "24. 3. 5.", "09:07:03", "24. 3. 5., 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
        {"thai_time_words", kMarch, system("th_TH"),
         {"5/3/24", "5/3/24", "09:07:03", "5/3/24, 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
        {"bulgarian_abbreviations", kNewYearsEve, system("bg_BG"),
         {"31.12.2024", "31.12.24", "23:59:59", "31.12.2024, 23:59:59", "December 31, 2024",
          "December 31, 2024, 23:59:59"}},
        {"persian_digits", kMarch, system("fa_IR"),
         {"05.03.2024", "05.03.24", "09:07:03", "05.03.2024, 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
        {"slashes_keep_the_positional_rule", kMarch, DateStampLocale{QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss"), QLocale::c()},
         {"05/03/2024", "05/03/24", "09:07:03", "05/03/2024, 09:07:03", "March 05, 2024", "March 05, 2024, 09:07:03"}},
    };
}

class DateStampsTest : public testing::TestWithParam<StampCase> {};

TEST_P(DateStampsTest, SixLayouts)
{
    const StampCase& c = GetParam();
    EXPECT_EQ(DateStampTexts(c.moment, c.formats), c.expected);
    for (int i = 0; i < kDateStampCount; ++i)
        EXPECT_EQ(DateStampText(static_cast<DateStamp>(i), c.moment, c.formats), c.expected[static_cast<std::size_t>(i)]);
}

INSTANTIATE_TEST_SUITE_P(Moments, DateStampsTest, testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateStamps, MonthNameTable)
{
    EXPECT_EQ(MonthName("01"), "January");
    EXPECT_EQ(MonthName("09"), "September");
    EXPECT_EQ(MonthName("12"), "December");
    // Anything else stands for itself.
    EXPECT_EQ(MonthName("13"), "13");
    EXPECT_EQ(MonthName("00"), "00");
    EXPECT_EQ(MonthName("5/"), "5/");
}

TEST(DateStamps, PositionalLayoutIsTheHomeShape)
{
    EXPECT_TRUE(IsPositionalLayout(QStringLiteral("dd.MM.yyyy")));
    EXPECT_TRUE(IsPositionalLayout(QStringLiteral("dd-MM-yyyy")));
    EXPECT_FALSE(IsPositionalLayout(QStringLiteral("d.MM.yyyy")));
    EXPECT_FALSE(IsPositionalLayout(QStringLiteral("MM/dd/yyyy")));
    EXPECT_FALSE(IsPositionalLayout(QStringLiteral("yyyy-MM-dd")));
}

TEST(DateStamps, TimeZoneIsLeftOutOfTheLongTime)
{
    const DateStampLocale formats = DateStampLocale::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_FALSE(formats.longTime.contains(u't'));
    EXPECT_EQ(DateStampText(DateStamp::Time, kMarch, formats), "09:07:03");
}

// A locale whose digits the code page cannot hold still stamps readable digits.
TEST(DateStamps, ForeignDigitsBecomePlainDigits)
{
    const DateStampLocale arabic = DateStampLocale::FromLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    const std::string date = DateStampText(DateStamp::Date, kMarch, arabic);
    EXPECT_EQ(date.find('?'), std::string::npos) << date;
    EXPECT_NE(date.find("2024"), std::string::npos) << date;
}

TEST(DateStamps, TurkishLettersAreWindows1254Bytes)
{
    // The Turkish before-noon designator "ÖÖ" on a 12-hour layout.
    const DateStampLocale formats{QStringLiteral("dd.MM.yyyy"), QStringLiteral("h:mm:ss AP"),
                                  QLocale(QLocale::Turkish, QLocale::Turkey)};
    EXPECT_EQ(DateStampText(DateStamp::Time, kMarch, formats), "9:07:03 \xD6\xD6");
}

} // namespace
