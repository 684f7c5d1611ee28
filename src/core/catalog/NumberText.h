#pragma once
// Numbers as the user types and reads them: the decimal separator in a number format object,
// fixed-pattern formatting ("000.00000", "0.0", "#00.0"), strict parsing of typed numbers, the
// lenient leading-number rule used for INI values, and rounding of halves to the even
// neighbour.

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

namespace orv {

// How numbers are shown and typed: the decimal separator of every number the user reads or
// types. A value: the start-up makes one from the system's locale and the document keeps it,
// so two documents in two threads never share one.
class NumberFormat {
public:
    explicit NumberFormat(QChar decimalSeparator = QLatin1Char('.')) : m_separator(decimalSeparator) {}
    // The system's separator: the second character of 5.5 formatted "0.0" in the system
    // locale; a comma when that fails.
    static NumberFormat system();

    QChar decimalSeparator() const { return m_separator; }

    // Formats v with at least intDigits integer digits (zero-padded) and exactly decimals
    // decimals: fixed(146.52, 3, 5) = "146.52000". intDigits 0 behaves like 1 when the
    // integer part is zero ("#00.0" keeps "67.0").
    QString fixed(double v, int intDigits, int decimals) const;

    // Reads a whole text as a number: optional surrounding spaces, optional sign, digits with
    // at most one decimal separator (this format's), optional exponent. Anything else, or an
    // empty text, gives nothing.
    std::optional<double> parse(QStringView text) const;

    bool operator==(const NumberFormat&) const = default;

private:
    QChar m_separator;
};

// Rounds to the nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// The leading-number rule of INI values: the longest leading part that reads as a number
// (after leading spaces), 0 when there is none. "12abc" -> 12, "abc" -> 0, "-3.5x" -> -3.5.
// Always uses '.' as the decimal point (INI files are not localised).
double leadingNumber(QStringView text);

} // namespace orv
