#include "NumberText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace orv {

namespace {
QChar g_decimalSeparator = QLatin1Char('.');
}

QChar decimalSeparator() { return g_decimalSeparator; }
void setDecimalSeparator(QChar sep) { g_decimalSeparator = sep; }

QChar readDecimalSeparator() {
    const QString s = QLocale::system().toString(5.5, 'f', 1);
    QChar sep = (s.size() >= 2) ? s.at(1) : QLatin1Char(',');
    if (sep.isDigit() || sep.isNull())
        sep = QLatin1Char(',');
    setDecimalSeparator(sep);
    return sep;
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

QString formatFixed(double v, int intDigits, int decimals) {
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
        s.replace(s.indexOf(QLatin1Char('.')), 1, decimalSeparator());
    // A negative value that rounds to zero is shown without its sign.
    if (negative && s.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        s.prepend(QLatin1Char('-'));
    return s;
}

std::optional<double> parseNumber(QStringView text) {
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const QChar sep = decimalSeparator();
    std::string ascii;
    ascii.reserve(size_t(t.size()));
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ascii.push_back(char(t[i++].unicode()));
    int digits = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        ascii.push_back(char(t[i++].unicode()));
        ++digits;
    }
    if (i < n && t[i] == sep) {
        ascii.push_back('.');
        ++i;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            ascii.push_back(char(t[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ascii.push_back(char(t[i++].unicode()));
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
            ascii.push_back(char(t[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const double v = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

double leadingNumber(QStringView text) {
    QStringView t = text.trimmed();
    std::string ascii;
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ascii.push_back(char(t[i++].unicode()));
    int digits = 0;
    while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
        ascii.push_back(char(t[i++].unicode()));
        ++digits;
    }
    if (i < n && t[i] == QLatin1Char('.')) {
        ascii.push_back('.');
        ++i;
        while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
            ascii.push_back(char(t[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when digits follow it.
    if (i + 1 < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        int j = i + 1;
        std::string exp = "e";
        if (j < n && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-')))
            exp.push_back(char(t[j++].unicode()));
        int expDigits = 0;
        while (j < n && t[j].unicode() >= '0' && t[j].unicode() <= '9') {
            exp.push_back(char(t[j++].unicode()));
            ++expDigits;
        }
        if (expDigits > 0)
            ascii += exp;
    }
    const double v = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

} // namespace orv
