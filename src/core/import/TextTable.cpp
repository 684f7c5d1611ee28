#include "TextTable.h"

#include <QByteArray>
#include <algorithm>
#include <array>

namespace orv {

namespace {

bool isBlank(const QStringList& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const QString& f) { return f.trimmed().isEmpty(); });
}

} // namespace

TextTable readTextTable(QStringView text, QChar separator) {
    TextTable table;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        TextRow row;
        row.line = line;
        QString field;
        bool broken = false;
        bool rowEnded = false;
        while (!rowEnded) {
            if (i < n && text[i] == QLatin1Char('"')) {
                // A quoted field: up to the next lone quote.
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text[i++];
                    if (c == QLatin1Char('"')) {
                        if (i < n && text[i] == QLatin1Char('"')) {
                            field += c;
                            ++i;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && (i >= n || text[i] != QLatin1Char('\n'))))
                        ++line;
                    field += c;
                }
                if (!closed) {
                    table.errors << QStringLiteral("line %1: a quoted field is not closed").arg(row.line);
                    return table;
                }
                if (i < n && text[i] != separator && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
                    broken = true;
            }
            // The rest of the field up to a separator or the end of the line.
            while (i < n && text[i] != separator && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
                field += text[i++];
            row.fields << field;
            field.clear();
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            rowEnded = true;
            if (i < n && text[i] == QLatin1Char('\r'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\n'))
                ++i;
            ++line;
        }
        if (broken)
            table.errors << QStringLiteral("line %1: text after a closing quote").arg(row.line);
        else if (!isBlank(row.fields))
            table.rows << row;
    }
    return table;
}

QChar guessSeparator(QStringView firstLine) {
    const std::array<QChar, 3> candidates{QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (QChar c : firstLine) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        for (size_t k = 0; k < candidates.size(); ++k)
            if (!quoted && c == candidates[k])
                ++counts[k];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return *most == 0 ? candidates[0] : candidates[size_t(most - counts.begin())];
}

QByteArray withoutByteOrderMark(const QByteArray& bytes) {
    static const QByteArray Bom("\xEF\xBB\xBF");
    return bytes.startsWith(Bom) ? bytes.mid(Bom.size()) : bytes;
}

QString textOfBytes(const QByteArray& bytes) { return QString::fromUtf8(withoutByteOrderMark(bytes)); }

} // namespace orv
