#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <string>
#include <string_view>

// The date and time layouts of the Add Date submenu, built from a moment and the user's
// formats, both passed in so the texts do not depend on the clock or the machine.
struct DateStampLocale {
    QString shortDate; // date format, e.g. "dd.MM.yyyy"
    QString longTime;  // time format without the time zone, e.g. "HH:mm:ss"
    QLocale locale;    // AM / PM texts and digits

    // The user's short date and long time (the zone that the long time would show is left out).
    static DateStampLocale FromLocale(const QLocale& locale);
    // The program's home layout: 05.03.2024 and 09:07:03.
    static DateStampLocale Home();
};

// In menu order.
enum class DateStamp { Date, ShortYearDate, Time, DateAndTime, MonthNameDate, MonthNameDateAndTime };
inline constexpr int kDateStampCount = 6;

// "01" -> "January" ... "12" -> "December"; any other text comes back unchanged.
std::string MonthName(std::string_view twoDigits);

// True for a short date laid out as two-digit day, one separator, two-digit month, one
// separator, four-digit year: the layout that the stamps cut by character positions.
bool IsPositionalLayout(const QString& shortDateFormat);

// One stamp as Windows-1254 bytes. A date or time whose text the code page cannot hold is
// written in the home layout instead (dd.MM.yyyy, HH:mm:ss).
std::string DateStampText(DateStamp stamp, const QDateTime& moment, const DateStampLocale& formats);
// All six, from one reading of the moment.
std::array<std::string, kDateStampCount> DateStampTexts(const QDateTime& moment, const DateStampLocale& formats);
