#include "check/PlanCheck.h"

#include "document/Document.h"

#include <cmath>
#include <optional>

namespace orv {

namespace {

// Frequencies compare in the 10 Hz steps the texts are written in ("000.00000"), so that a
// limit typed exactly is inside and no rounding of a double decides.
using Steps = long long;
constexpr double StepsPerMHz = 100000.0;

Steps toSteps(double mhz) { return std::llround(mhz * StepsPerMHz); }

// The model's standard band, when there is one to check against.
struct Band {
    Steps low = 0;
    Steps high = 0;
    QString text; // "136.00000~174.00000 MHz"
};

std::optional<Band> standardBand(const Document& doc) {
    const ModelInfo* model = doc.selectedModelInfo();
    if (!model || model->stdHigh <= 0 || model->stdLow > model->stdHigh)
        return std::nullopt;
    return Band{toSteps(model->stdLow), toSteps(model->stdHigh), doc.bandText()};
}

// A frequency text as a number of steps; nothing when it is not a number.
std::optional<Steps> frequencySteps(const QString& text, const NumberFormat& fmt) {
    const std::optional<double> mhz = fmt.parse(text);
    if (!mhz)
        return std::nullopt;
    return toSteps(*mhz);
}

bool outside(const QString& text, const Band& band, const NumberFormat& fmt) {
    const std::optional<Steps> f = frequencySteps(text, fmt);
    return f && (*f < band.low || *f > band.high);
}

QString columnName(bool receive) { return receive ? QStringLiteral("Rx Freq") : QStringLiteral("Tx Freq"); }

QString outsideText(const QString& who, bool receive, const QString& frequency, const Band& band) {
    return QStringLiteral("%1: %2 %3 MHz is outside the standard band %4")
        .arg(who, columnName(receive), frequency, band.text);
}

class PlanChecker {
public:
    explicit PlanChecker(const Document& doc) : m_doc(doc), m_fmt(doc.numbers()), m_band(standardBand(doc)) {}

    std::vector<CheckWarning> run() {
        for (int ch = 1; ch <= addr::ChannelCount; ++ch)
            checkChannel(ch);
        checkPriorityChannel();
        for (int t = 1; t <= addr::TestChannelCount; ++t)
            checkTestChannel(t);
        return std::move(m_warnings);
    }

private:
    const ChannelRow& channel(int ch) const { return m_doc.channels().rows[size_t(ch - 1)]; }

    void add(CheckKind kind, QString text, CheckPlace place) {
        m_warnings.push_back({kind, std::move(text), place});
    }

    // No receive frequency: 0 MHz, or a text that does not read as a frequency at all.
    bool hasNoReceiveFrequency(const ChannelRow& row) const {
        const std::optional<Steps> f = frequencySteps(row.cells[ColRxFreq], m_fmt);
        return !f || *f == 0;
    }

    void checkChannel(int ch) {
        const ChannelRow& row = channel(ch);
        if (row.noCh)
            return;
        const CheckPlace rxPlace{CheckPlace::ChannelGrid, ch, ColRxFreq};
        const QString who = checkPlaceName(rxPlace);
        const QString& rx = row.cells[ColRxFreq];
        if (hasNoReceiveFrequency(row)) {
            add(CheckKind::NoReceiveFrequency,
                QStringLiteral("%1: the channel is in use but has no receive frequency (Rx Freq %2 MHz)").arg(who, rx),
                rxPlace);
        } else {
            if (m_band && outside(rx, *m_band, m_fmt))
                add(CheckKind::OutsideBand, outsideText(who, true, rx, *m_band), rxPlace);
            if (const int first = firstSameReception(ch))
                add(CheckKind::SameReception,
                    QStringLiteral("%1: Rx Freq %2 MHz and Rx CTC/DCS %3 are the same as on %4")
                        .arg(who, rx, row.cells[ColRxSignal], checkPlaceName({CheckPlace::ChannelGrid, first})),
                    rxPlace);
        }
        const QString& tx = row.cells[ColTxFreq];
        if (!row.noTx && m_band && outside(tx, *m_band, m_fmt))
            add(CheckKind::OutsideBand, outsideText(who, false, tx, *m_band), {CheckPlace::ChannelGrid, ch, ColTxFreq});
    }

    // The first channel in use before ch that receives the same frequency with the same
    // signalling, or 0.
    int firstSameReception(int ch) const {
        const ChannelRow& row = channel(ch);
        for (int other = 1; other < ch; ++other) {
            const ChannelRow& o = channel(other);
            if (!o.noCh && o.cells[ColRxFreq] == row.cells[ColRxFreq] && o.cells[ColRxSignal] == row.cells[ColRxSignal])
                return other;
        }
        return 0;
    }

    // "Priority CH" holds "OFF" (index 0) or "CH1".."CH15" (index n for channel n).
    void checkPriorityChannel() {
        const int priority = m_doc.settings().index(Setting::PriorityCh);
        if (priority < 1 || priority > addr::ChannelCount || !channel(priority).noCh)
            return;
        const CheckPlace place{CheckPlace::SettingsList, 0, 0, Setting::PriorityCh};
        add(CheckKind::PriorityNotInUse,
            QStringLiteral("%1: %2 is not in use (No CH is ticked)")
                .arg(checkPlaceName(place), checkPlaceName({CheckPlace::ChannelGrid, priority})),
            place);
    }

    void checkTestChannel(int t) {
        const TuneRow& row = m_doc.tune().rows[size_t(t - 1)];
        if (row.noCh || !m_band)
            return;
        const QString who = checkPlaceName({CheckPlace::TuneGrid, t});
        for (const bool receive : {true, false}) {
            if (!receive && row.noTx)
                continue;
            const int column = receive ? TuneColRxFreq : TuneColTxFreq;
            const QString& text = row.cells[size_t(column)];
            if (outside(text, *m_band, m_fmt))
                add(CheckKind::TestChannelOutsideBand, outsideText(who, receive, text, *m_band),
                    {CheckPlace::TuneGrid, t, column});
        }
    }

    const Document& m_doc;
    const NumberFormat& m_fmt;
    const std::optional<Band> m_band;
    std::vector<CheckWarning> m_warnings;
};

} // namespace

QString checkPlaceName(const CheckPlace& place) {
    switch (place.area) {
    case CheckPlace::ChannelGrid: return QStringLiteral("CH %1").arg(place.row);
    case CheckPlace::TuneGrid: return QStringLiteral("Test CH %1").arg(place.row);
    case CheckPlace::SettingsList: break;
    }
    return settingCaption(place.setting);
}

std::vector<CheckWarning> checkPlan(const Document& document) { return PlanChecker(document).run(); }

} // namespace orv
