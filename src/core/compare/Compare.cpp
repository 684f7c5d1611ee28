#include "compare/Compare.h"

#include "files/ChannelExport.h"
#include "link/TuneExchanges.h"

#include <QJsonValue>
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace orv::compare {

namespace {

enum class RegionKind { Channel, TestChannel, Settings, Model, TuneValues, InfoText, DateStamp, RadioId, Unnamed };

// A stretch of the image (or the spare table) whose fields are compared together.
struct Region {
    RegionKind kind;
    ByteArea area;
    int start;
    int size;
    int number = 0; // channel or test channel, 1-based
};

// Offsets of the model block that Write replaces with the data version on the wire.
constexpr int DataVersionOffsets[] = {1, 9};

// Every byte of the image in exactly one region, in address order, then the spare table.
const std::vector<Region>& regions() {
    static const std::vector<Region> all = [] {
        std::vector<Region> named;
        for (int n = 0; n < addr::ChannelCount; ++n)
            named.push_back({RegionKind::Channel, ByteArea::Image, addr::Channels + 16 * n, 16, n + 1});
        for (int t = 0; t < addr::TestChannelCount; ++t)
            named.push_back({RegionKind::TestChannel, ByteArea::Image, addr::TestChannels + 16 * t, 16, t + 1});
        named.push_back({RegionKind::Settings, ByteArea::Image, addr::FunctionSettings, 16});
        named.push_back({RegionKind::Model, ByteArea::Image, addr::ModelBlock, 16});
        named.push_back({RegionKind::TuneValues, ByteArea::Image, addr::TuneValues, 16});
        named.push_back({RegionKind::InfoText, ByteArea::Image, addr::InfoText, addr::InfoTextSize});
        named.push_back({RegionKind::DateStamp, ByteArea::Image, addr::DateStamp, 16});
        named.push_back({RegionKind::RadioId, ByteArea::Image, addr::RadioId, 16});
        std::vector<Region> out;
        int next = 0;
        for (const Region& r : named) {
            if (r.start > next)
                out.push_back({RegionKind::Unnamed, ByteArea::Image, next, r.start - next});
            out.push_back(r);
            next = r.start + r.size;
        }
        if (next < addr::ImageSize)
            out.push_back({RegionKind::Unnamed, ByteArea::Image, next, addr::ImageSize - next});
        out.push_back({RegionKind::Unnamed, ByteArea::Spare, 0, addr::SpareSize});
        return out;
    }();
    return all;
}

bool inScope(RegionKind kind, Scope scope) {
    return scope == Scope::All || kind == RegionKind::Channel || kind == RegionKind::Settings ||
           kind == RegionKind::Model;
}

// Whether a byte of a region is compared in the scope.
bool byteInScope(const Region& r, int offset, Scope scope) {
    if (scope == Scope::Programming && r.kind == RegionKind::Model)
        return std::find(std::begin(DataVersionOffsets), std::end(DataVersionOffsets), offset) ==
               std::end(DataVersionOffsets);
    return true;
}

std::span<const std::uint8_t> bytesOf(const DataSet& set, const Region& r) {
    const std::uint8_t* base = r.area == ByteArea::Image ? set.data.image.data() : set.data.spare.data();
    return {base + r.start, std::size_t(r.size)};
}

QString yesNo(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }

// Text values as the text form shows them: zero characters as middle dots, in quotes.
QString quoted(QString text) {
    text.replace(QChar(u'\0'), QChar(u'\u00B7'));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString hexBytes(std::span<const std::uint8_t> bytes) {
    QString out;
    for (std::uint8_t b : bytes) {
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        out += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

// Collects the field differences of one region, then its byte ranges when no field differed.
class RegionCompare {
public:
    RegionCompare(const ShownSide& a, const ShownSide& b, const Region& r, Scope scope, Differences& out)
        : m_a(a), m_b(b), m_r(r), m_scope(scope), m_out(out) {}

    void run() {
        const qsizetype before = m_out.size();
        fields();
        if (m_out.size() == before)
            byteRanges();
    }

private:
    // Values are compared as they are; the JSON values are made for a difference only.
    void add(Section section, int number, const QString& field, const QString& label, const QJsonValue& a,
             const QJsonValue& b, const QString& aText, const QString& bText) {
        Difference d;
        d.section = section;
        d.number = number;
        d.field = field;
        d.label = label;
        d.a = a;
        d.b = b;
        d.aText = aText;
        d.bText = bText;
        m_out.append(d);
    }
    void addBox(Section section, int number, const char* key, const char* label, bool aTicked, bool bTicked) {
        if (aTicked != bTicked)
            add(section, number, QLatin1String(key), QLatin1String(label), !aTicked, !bTicked, yesNo(aTicked),
                yesNo(bTicked));
    }
    void addNumber(Section section, int number, const char* field, const char* label, int a, int b) {
        if (a != b)
            add(section, number, QLatin1String(field), QLatin1String(label), a, b, QString::number(a),
                QString::number(b));
    }
    void addQuoted(const char* field, const char* label, const QString& a, const QString& b) {
        if (a != b)
            add(Section::RadioInfo, 0, QLatin1String(field), QLatin1String(label), a, b, quoted(a), quoted(b));
    }
    void addSetting(Setting s) {
        if (sameSettingEntry(m_a.settings, m_b.settings, s))
            return;
        const std::optional<QString> a = settingText(m_a.settings, s);
        const std::optional<QString> b = settingText(m_b.settings, s);
        if (a == b)
            return;
        const QString caption = settingCaption(s);
        const QString none = QStringLiteral("(none)");
        add(Section::Settings, 0, caption, caption, a ? QJsonValue(*a) : QJsonValue(), b ? QJsonValue(*b) : QJsonValue(),
            a.value_or(none), b.value_or(none));
    }

    // One grid row: the two boxes, then the cells from `first` on.
    template <typename Row>
    void row(Section section, const Row& a, const Row& b, int first, const QStringList& headers,
             QString (*key)(int)) {
        addBox(section, m_r.number, InUseKey, "No CH", a.noCh, b.noCh);
        addBox(section, m_r.number, TxAllowedKey, "No Tx", a.noTx, b.noTx);
        for (int c = first; c < int(a.cells.size()); ++c) {
            const QString& x = a.cells[std::size_t(c)];
            const QString& y = b.cells[std::size_t(c)];
            if (x != y)
                add(section, m_r.number, key(c), headers.value(c), x, y, x, y);
        }
    }

    void fields() {
        const auto row0 = std::size_t(m_r.number - 1);
        switch (m_r.kind) {
        case RegionKind::Channel:
            row(Section::Channel, m_a.channels.rows[row0], m_b.channels.rows[row0], ColRxFreq, channelLabels(),
                channelColumnKey);
            break;
        case RegionKind::TestChannel:
            row(Section::TestChannel, m_a.tune.rows[row0], m_b.tune.rows[row0], TuneColRxFreq, testChannelLabels(),
                testChannelColumnKey);
            break;
        case RegionKind::Settings:
            for (int i = 0; i < SettingCount; ++i)
                addSetting(Setting(i));
            break;
        case RegionKind::Model:
            addNumber(Section::Model, 0, "model_byte", "Model byte", m_a.set.data.modelByte(), m_b.set.data.modelByte());
            if (m_scope == Scope::All)
                addNumber(Section::Model, 0, "data_version", "Data version", m_a.set.dataVersion, m_b.set.dataVersion);
            break;
        case RegionKind::TuneValues:
            for (int k = 0; k < TuneItemCount; ++k)
                addNumber(Section::TuneValue, k, tuneItem(k).key, tuneItem(k).caption,
                          m_a.set.data.tuneValues()[std::size_t(k)], m_b.set.data.tuneValues()[std::size_t(k)]);
            break;
        case RegionKind::InfoText:
            addQuoted("text", "Text", m_a.infoText, m_b.infoText);
            break;
        case RegionKind::DateStamp:
            addQuoted("last_programmed", "Last Date of Programming", m_a.lastProgrammed, m_b.lastProgrammed);
            break;
        case RegionKind::RadioId:
            addQuoted("radio_id", "Radio ID", m_a.radioId, m_b.radioId);
            break;
        case RegionKind::Unnamed:
            break;
        }
    }

    static const QStringList& channelLabels() {
        static const QStringList labels = channelHeaders();
        return labels;
    }
    // The tune grid's headers, its two step columns told apart.
    static const QStringList& testChannelLabels() {
        static const QStringList labels = [] {
            QStringList l = tuneHeaders();
            l[TuneColRxStep] = QStringLiteral("Rx ") + l[TuneColRxStep];
            l[TuneColTxStep] = QStringLiteral("Tx ") + l[TuneColTxStep];
            return l;
        }();
        return labels;
    }

    // Each run of differing bytes in the scope, as one range.
    void byteRanges() {
        const auto a = bytesOf(m_a.set, m_r);
        const auto b = bytesOf(m_b.set, m_r);
        if (std::memcmp(a.data(), b.data(), a.size()) == 0)
            return;
        int k = 0;
        while (k < m_r.size) {
            if (a[std::size_t(k)] == b[std::size_t(k)] || !byteInScope(m_r, k, m_scope)) {
                ++k;
                continue;
            }
            int end = k;
            while (end + 1 < m_r.size && a[std::size_t(end + 1)] != b[std::size_t(end + 1)] &&
                   byteInScope(m_r, end + 1, m_scope))
                ++end;
            const auto n = std::size_t(end - k + 1);
            const QString aHex = hexBytes(a.subspan(std::size_t(k), n));
            const QString bHex = hexBytes(b.subspan(std::size_t(k), n));
            Difference d;
            d.section = Section::Bytes;
            d.field = d.label = QStringLiteral("bytes");
            d.a = aHex;
            d.b = bHex;
            d.aText = aHex;
            d.bText = bHex;
            d.area = m_r.area;
            d.start = m_r.start + k;
            d.end = m_r.start + end;
            m_out.append(d);
            k = end + 1;
        }
    }

    const ShownSide& m_a;
    const ShownSide& m_b;
    const Region& m_r;
    Scope m_scope;
    Differences& m_out;
};

} // namespace

Differences compareSides(const ShownSide& a, const ShownSide& b, Scope scope) {
    Differences out;
    for (const Region& r : regions())
        if (inScope(r.kind, scope))
            RegionCompare(a, b, r, scope, out).run();
    return out;
}

Differences compareDataSets(const DataSet& a, const DataSet& b, const SideOpener& opener, Scope scope) {
    if (a == b)
        return {};
    const auto [sideA, sideB] = opener.openPair(a, b);
    return compareSides(sideA, sideB, scope);
}

} // namespace orv::compare
