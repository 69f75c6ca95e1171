#include "commands/DateStamps.h"

#include "platform/Cp1254.h"

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// Removes the time-zone fields (runs of unquoted 't') and the blanks left around them.
QString WithoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == u'\'')
            quoted = !quoted;
        if (!quoted && ch == u't')
            continue;
        out += ch;
    }
    return out.trimmed();
}

bool Encodable(const QString& text)
{
    for (const QChar ch : text)
        if (cp1254::FromUnicode(ch.unicode()) < 0)
            return false;
    return true;
}

// A format and the locale that fills it.
struct Layout {
    QString format;
    QLocale locale;
};

// The locale's layout, or the home layout when the code page cannot hold the locale's text
// (Japanese or Korean time marks, Cyrillic abbreviations, Persian digits): a stamp cut down to
// what the code page holds ("90703" for 9時07分03秒) would no longer be readable.
template <class Value>
Layout Holdable(const Value& value, const QString& format, const QLocale& locale, const QString& homeFormat)
{
    if (Encodable(locale.toString(value, format)))
        return {format, locale};
    return {homeFormat, QLocale::c()};
}

template <class Value>
std::string Render(const Value& value, const Layout& layout)
{
    return cp1254::Encode(layout.locale.toString(value, layout.format));
}

// The format with a year of four or more digits cut to two.
QString WithShortYear(const QString& format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format[i];
        if (ch == u'\'')
            quoted = !quoted;
        if (!quoted && ch == u'y') {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == u'y')
                ++run;
            out += run >= 3 ? QStringLiteral("yy") : QString(run, u'y');
            i += run - 1;
            continue;
        }
        out += ch;
    }
    return out;
}

std::string TwoDigits(int n)
{
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

std::string FourDigits(int n)
{
    return TwoDigits(n / 100) + TwoDigits(n % 100);
}

} // namespace

DateStampLocale DateStampLocale::FromLocale(const QLocale& locale)
{
    return {locale.dateFormat(QLocale::ShortFormat), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)), locale};
}

DateStampLocale DateStampLocale::Home()
{
    return {QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), QLocale(QLocale::Turkish, QLocale::Turkey)};
}

std::string MonthName(std::string_view twoDigits)
{
    if (twoDigits.size() == 2 && twoDigits[0] >= '0' && twoDigits[0] <= '1' && twoDigits[1] >= '0' &&
        twoDigits[1] <= '9') {
        const int month = (twoDigits[0] - '0') * 10 + (twoDigits[1] - '0');
        if (month >= 1 && month <= 12)
            return kMonthNames[month - 1];
    }
    return std::string(twoDigits);
}

bool IsPositionalLayout(const QString& f)
{
    auto separator = [](QChar ch) { return !ch.isLetterOrNumber() && ch != u'\''; };
    return f.size() == 10 && f.sliced(0, 2) == u"dd" && separator(f[2]) && f.sliced(3, 2) == u"MM" &&
           separator(f[5]) && f.sliced(6, 4) == u"yyyy";
}

std::string DateStampText(DateStamp stamp, const QDateTime& moment, const DateStampLocale& formats)
{
    const QDate date = moment.date();
    const DateStampLocale home = DateStampLocale::Home();
    const Layout dateLayout = Holdable(date, formats.shortDate, formats.locale, home.shortDate);
    const Layout timeLayout = Holdable(moment.time(), formats.longTime, formats.locale, home.longTime);
    const std::string d = Render(date, dateLayout);
    const std::string t = Render(moment.time(), timeLayout);
    const bool positional = IsPositionalLayout(dateLayout.format) && d.size() == 10;

    auto shortYear = [&] {
        return positional ? d.substr(0, 6) + d.substr(8, 2)
                          : Render(date, Layout{WithShortYear(dateLayout.format), dateLayout.locale});
    };
    auto monthNameDate = [&] {
        if (positional)
            return MonthName(d.substr(3, 2)) + " " + d.substr(0, 2) + ", " + d.substr(6, 4);
        return MonthName(TwoDigits(date.month())) + " " + TwoDigits(date.day()) + ", " + FourDigits(date.year());
    };

    switch (stamp) {
    case DateStamp::Date:
        return d;
    case DateStamp::ShortYearDate:
        return shortYear();
    case DateStamp::Time:
        return t;
    case DateStamp::DateAndTime:
        return d + ", " + t;
    case DateStamp::MonthNameDate:
        return monthNameDate();
    case DateStamp::MonthNameDateAndTime:
        return monthNameDate() + ", " + t;
    }
    return {};
}

std::array<std::string, kDateStampCount> DateStampTexts(const QDateTime& moment, const DateStampLocale& formats)
{
    std::array<std::string, kDateStampCount> texts;
    for (int i = 0; i < kDateStampCount; ++i)
        texts[static_cast<std::size_t>(i)] = DateStampText(static_cast<DateStamp>(i), moment, formats);
    return texts;
}
