#include "NumberText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace orv {

NumberFormat NumberFormat::system() {
    const QString s = QLocale::system().toString(5.5, 'f', 1);
    QChar sep = (s.size() >= 2) ? s.at(1) : QLatin1Char(',');
    if (sep.isDigit() || sep.isNull())
        sep = QLatin1Char(',');
    return NumberFormat(sep);
}

double roundHalfEven(double v) {
    const double fl = std::floor(v);
    const double diff = v - fl;
    if (diff < 0.5)
        return fl;
    if (diff > 0.5)
        return fl + 1.0;
    return (std::fmod(fl, 2.0) == 0.0) ? fl : fl + 1.0;
}

QString NumberFormat::fixed(double v, int intDigits, int decimals) const {
    // Format through the C locale, then put in the separator in use.
    QString s = QString::number(v, 'f', decimals);
    bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    const int dot = s.indexOf(QLatin1Char('.'));
    const int intLen = dot < 0 ? int(s.size()) : dot;
    if (intLen < intDigits)
        s.prepend(QString(intDigits - intLen, QLatin1Char('0')));
    if (dot >= 0)
        s.replace(s.indexOf(QLatin1Char('.')), 1, m_separator);
    // A negative value that rounds to zero is shown without its sign.
    if (negative && s.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        s.prepend(QLatin1Char('-'));
    return s;
}

namespace {

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool isSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

// The longest number at the start of t: an optional sign, digits with at most one decimal
// separator, and an exponent when digits follow its "e". The number comes out in C form.
struct Scan {
    std::string ascii;
    qsizetype end = 0; // characters taken
    int digits = 0;    // mantissa digits
};

Scan scanNumber(QStringView t, QChar sep) {
    Scan s;
    const qsizetype n = t.size();
    qsizetype i = 0;
    auto takeDigits = [&](std::string& out) {
        int count = 0;
        while (i < n && isAsciiDigit(t[i])) {
            out.push_back(char(t[i++].unicode()));
            ++count;
        }
        return count;
    };
    if (i < n && isSign(t[i]))
        s.ascii.push_back(char(t[i++].unicode()));
    s.digits = takeDigits(s.ascii);
    if (i < n && t[i] == sep) {
        s.ascii.push_back('.');
        ++i;
        s.digits += takeDigits(s.ascii);
    }
    s.end = i;
    if (s.digits == 0 || i >= n || (t[i] != QLatin1Char('e') && t[i] != QLatin1Char('E')))
        return s;
    std::string exponent = "e";
    ++i;
    if (i < n && isSign(t[i]))
        exponent.push_back(char(t[i++].unicode()));
    if (takeDigits(exponent) > 0) {
        s.ascii += exponent;
        s.end = i;
    }
    return s;
}

std::optional<double> toFinite(const std::string& ascii) {
    const double v = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

} // namespace

std::optional<double> NumberFormat::parse(QStringView text) const {
    const QStringView t = text.trimmed();
    const Scan s = scanNumber(t, m_separator);
    if (s.digits == 0 || s.end != t.size())
        return std::nullopt;
    return toFinite(s.ascii);
}

double leadingNumber(QStringView text) {
    const Scan s = scanNumber(text.trimmed(), QLatin1Char('.'));
    return s.digits == 0 ? 0.0 : toFinite(s.ascii).value_or(0.0);
}

} // namespace orv
