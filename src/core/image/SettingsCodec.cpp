#include "SettingsCodec.h"

#include "catalog/NumberText.h"
#include "link/Protocol.h"

#include <algorithm>
#include <optional>

namespace orv {

namespace {

// ---- Lists -------------------------------------------------------------------------------

const char* const kMonitorMomentary = "Monitor Momentary";
const char* const kSqOffMomentary = "SQ OFF Momentary";
constexpr int kPowerLongMoni = 2;
constexpr int kTxTotNoLimit = 11;

QStringList fixed(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out << QString::fromLatin1(t);
    return out;
}

// "OFF", then "1s" .. "<last>s".
QStringList offThenSeconds(int last) {
    QStringList out{QStringLiteral("OFF")};
    for (int n = 1; n <= last; ++n)
        out << QString::number(n) + QLatin1Char('s');
    return out;
}

// Tenths of a second from `first` to `last` in steps of `step`, shown "0.0s".
QStringList tenthsOfSecond(int first, int last, int step, const NumberFormat& fmt) {
    QStringList out;
    for (int n = first; n <= last; n += step)
        out << fmt.fixed(n / 10.0, 1, 1) + QLatin1Char('s');
    return out;
}

QStringList monitorList(bool full) {
    return full ? fixed({"OFF", "Monitor Momentary", "Monitor Lock", "SQ OFF Momentary"})
                : fixed({"OFF", "Monitor Lock"});
}

// The number of entries of each list (Monitor in its full form), in Setting order.
constexpr int kItemCounts[SettingCount] = {4, 12, 2, 256, 2, 10, 61, 16, 2, 2, 3, 3, 16, 48, 10, 4};

int itemCount(Setting s, bool monitorFull) {
    return s == Setting::Monitor && !monitorFull ? 2 : kItemCounts[int(s)];
}

// ---- Monitor list edits as the panel makes them --------------------------------------------

int firstIndexOf(const QStringList& list, const QString& text) {
    const qsizetype i = list.indexOf(text);
    return i < 0 ? 0 : int(i);
}

// Removes every entry equal to text. A removed selected entry leaves entry 0 selected;
// otherwise the selected entry stays selected.
void removeEntry(QStringList& list, int& selected, const QString& text) {
    const QString current = selected >= 0 ? list.at(selected) : QString();
    list.removeAll(text);
    if (current == text)
        selected = 0;
    else if (!current.isEmpty())
        selected = firstIndexOf(list, current);
}

// Inserts text once at pos (appended when pos lies outside the list), then selects the
// previously selected text again, entry 0 when it is gone or nothing was selected.
void insertEntryAt(QStringList& list, int& selected, const QString& text, int pos) {
    const QString current = selected >= 0 ? list.at(selected) : QString();
    if (!list.contains(text)) {
        if (pos < 0 || pos > list.size())
            list.append(text);
        else
            list.insert(pos, text);
    }
    selected = firstIndexOf(list, current);
}

// ---- Bytes ---------------------------------------------------------------------------------

// The two hexadecimal digits read as a decimal number; nothing when a digit is above 9.
std::optional<int> decimalReading(std::uint8_t b) {
    const int hi = b >> 4;
    const int lo = b & 0x0F;
    if (hi > 9 || lo > 9)
        return std::nullopt;
    return hi * 10 + lo;
}

std::uint8_t toBcd(int n) {
    return std::uint8_t(((n / 10) << 4) | (n % 10));
}

// ---- decodeSettings steps ------------------------------------------------------------------

enum class Check { Valid, Invalid, Unknown }; // Unknown: no decimal reading to test

Check checkWhen(bool valid) {
    return valid ? Check::Valid : Check::Invalid;
}

std::optional<int> minus(std::optional<int> v, int d) {
    return v ? std::optional<int>(*v - d) : std::nullopt;
}

// One checked list: report and mark an invalid byte, clear the mark of a valid one, then
// select the computed index (if there is one).
void applyChecked(SettingsSelection& sel, Setting s, Check check, const std::optional<int>& index,
                  const char* message, QStringList& messages) {
    if (check == Check::Invalid) {
        messages << QString::fromLatin1(message);
        sel.setMarked(s, true);
    } else if (check == Check::Valid) {
        sel.setMarked(s, false);
    }
    if (index.has_value())
        sel.setIndex(s, index.value_or(-1));
}

// Tx TOT: 0xFF is "No Limited"; otherwise BCD of three times the index, 0x30 at most.
// A bad byte is reported and the list left alone; it is not marked.
void decodeTxTot(std::uint8_t b, SettingsSelection& sel, QStringList& messages) {
    if (b == 0xFF) {
        sel.setIndex(Setting::TxTot, kTxTotNoLimit);
        return;
    }
    const std::optional<int> v = decimalReading(b);
    if (b > 0x30 || (v && *v % 3 != 0)) {
        messages << QStringLiteral("Error TOT Time!");
        return;
    }
    if (v)
        sel.setIndex(Setting::TxTot, *v / 3);
}

// Dropout delay: BCD tenths of a second, multiples of 0.5 s up to 5.0 s.
void decodeDropout(std::uint8_t b, SettingsSelection& sel, QStringList& messages) {
    const std::optional<int> v = decimalReading(b);
    Check check = Check::Invalid;
    if (b <= 0x50)
        check = v ? checkWhen(*v % 5 == 0) : Check::Unknown;
    applyChecked(sel, Setting::DropoutDelay, check, v ? std::optional<int>(*v / 5 - 1) : std::nullopt,
                 "Error Dropout Delay Time!", messages);
}

// Power Select, then the Monitor list in the form that goes with it, then the Monitor entry.
void decodeMonitor(ConstRecord b, SettingsSelection& sel) {
    sel.setIndex(Setting::PowerSelect, b[4] & 0x03);
    sel.fillMonitorList(sel.index(Setting::PowerSelect) != kPowerLongMoni);
    const int monitor = (b[0] & 0xE0) >> 5;
    // Values 4-7 name no entry and select the first one ("OFF").
    sel.selectText(Setting::Monitor, monitor < 4 ? monitorList(true).at(monitor) : QString());
}

// ---- encodeSettings tables -----------------------------------------------------------------

// Settings held in a whole byte: the byte and how a list index is stored in it.
struct ByteField {
    Setting setting;
    int byte;
    std::uint8_t (*encode)(int index);
};
const ByteField kByteFields[] = {
    {Setting::PriorityCh, 2, [](int i) { return toBcd(std::min(i, 15)); }},
    {Setting::LookBack, 3, [](int i) { return toBcd(i + 3); }},
    {Setting::PowerSelect, 4, [](int i) { return std::uint8_t(i); }},
    {Setting::DropoutDelay, 6, [](int i) { return toBcd((i + 1) * 5); }},
    {Setting::TxTot, 7, [](int i) { return i >= kTxTotNoLimit ? std::uint8_t(0xFF) : toBcd(i * 3); }},
    {Setting::SquelchLevel, 11, [](int i) { return std::uint8_t(i); }},
    {Setting::PreAlertTime, 13, [](int i) { return std::uint8_t(i); }},
    {Setting::TotRekeyTime, 14, [](int i) { return toBcd(i); }},
    {Setting::TotResetTime, 15, [](int i) { return toBcd(i); }},
};

// The OFF/ON (and Wide/Narrow) switches in byte 12: the list index is the bit.
struct SwitchBit {
    Setting setting;
    int bit;
};
const SwitchBit kSwitchBits[] = {
    {Setting::ManualTune, 0}, {Setting::BandWidth, 1}, {Setting::BatterySave, 3}, {Setting::BeepTone, 5}};

// ModelBlock bytes 0-7: two zero bytes, the model value, the radio's identity text stored
// backwards.
void encodeModelBlock(int modelValue, Record m) {
    m[0] = 0x00;
    m[1] = 0x00;
    if (modelValue >= 0 && modelValue <= 255)
        m[2] = std::uint8_t(modelValue);
    static_assert(protocol::IdentityText.size() == 5);
    std::copy(protocol::IdentityText.rbegin(), protocol::IdentityText.rend(), m.begin() + 3);
}

} // namespace

// ---- Lists ---------------------------------------------------------------------------------

QString settingCaption(Setting s) {
    static const char* const captions[SettingCount] = {
        "Monitor",      "Tx TOT",        "Beep Tone",          "Pre-Alert Time",
        "Battery Save", "Squelch Level", "TOT Rekey Time",     "TOT Reset Time",
        "Manual Tune",  "Band Width",    "Power Select",       "Scan Mode",
        "Priority CH",  "Look Back",     "Dropout Delay Time", "Revert CH"};
    return QString::fromLatin1(captions[int(s)]);
}

QStringList settingItems(Setting s, const NumberFormat& fmt, bool monitorFullForm) {
    switch (s) {
    case Setting::Monitor:
        return monitorList(monitorFullForm);
    case Setting::TxTot:
        return fixed({"10min", "30s", "60s", "90s", "120s", "150s", "180s", "210s", "240s", "270s", "300s",
                      "No Limited"});
    case Setting::PreAlertTime:
        return offThenSeconds(255);
    case Setting::SquelchLevel: {
        QStringList out;
        for (int n = 0; n <= 9; ++n)
            out << QString::number(n);
        return out;
    }
    case Setting::TotRekeyTime:
        return offThenSeconds(60);
    case Setting::TotResetTime:
        return offThenSeconds(15);
    case Setting::BandWidth:
        return fixed({"Wide", "Narrow"});
    case Setting::PowerSelect:
        return fixed({"OFF", "Short [MONI]", "Long [MONI]"});
    case Setting::ScanMode:
        return fixed({"OFF", "CO", "TO"});
    case Setting::PriorityCh: {
        QStringList out{QStringLiteral("OFF")};
        for (int n = 1; n <= 15; ++n)
            out << QStringLiteral("CH") + QString::number(n);
        return out;
    }
    case Setting::LookBack:
        return tenthsOfSecond(3, 50, 1, fmt);
    case Setting::DropoutDelay:
        return tenthsOfSecond(5, 50, 5, fmt);
    case Setting::RevertCh:
        return fixed({"Last Call CH", "Last Used CH", "1st Scan CH", "Priority CH"});
    case Setting::BeepTone:
    case Setting::BatterySave:
    case Setting::ManualTune:
        return fixed({"OFF", "ON"});
    }
    return {};
}

// ---- SettingsSelection ---------------------------------------------------------------------

SettingsSelection::SettingsSelection(NumberFormat fmt) : m_format(fmt) {
    m_index.fill(-1);
}

QString SettingsSelection::text(Setting s) const {
    const int i = index(s);
    return i < 0 ? QString() : items(s).at(i);
}

QStringList SettingsSelection::items(Setting s) const {
    return settingItems(s, m_format, m_monitorFull);
}

bool SettingsSelection::setIndex(Setting s, int index) {
    if (index < -1 || index >= itemCount(s, m_monitorFull))
        return false;
    m_index[size_t(s)] = index;
    return true;
}

void SettingsSelection::selectText(Setting s, const QString& text) {
    m_index[size_t(s)] = firstIndexOf(items(s), text);
}

void SettingsSelection::fillMonitorList(bool fullForm) {
    m_monitorFull = fullForm;
    m_index[size_t(Setting::Monitor)] = -1;
}

bool SettingsSelection::userSelect(Setting s, int index) {
    if (index < 0 || index >= itemCount(s, m_monitorFull))
        return false;
    m_index[size_t(s)] = index;
    m_marked[size_t(s)] = false;
    if (s == Setting::PowerSelect)
        reshapeMonitorList(index == kPowerLongMoni);
    return true;
}

// A long press of MONI for power select takes the momentary monitor functions off the list;
// any other Power Select entry puts them back.
void SettingsSelection::reshapeMonitorList(bool longMoni) {
    QStringList list = items(Setting::Monitor);
    int& selected = m_index[size_t(Setting::Monitor)];
    const QString momentary = QString::fromLatin1(kMonitorMomentary);
    const QString sqOff = QString::fromLatin1(kSqOffMomentary);
    if (longMoni && list.size() > 3) {
        removeEntry(list, selected, momentary);
        removeEntry(list, selected, sqOff);
    } else if (!longMoni && list.size() < 3) {
        insertEntryAt(list, selected, momentary, 1);
        insertEntryAt(list, selected, sqOff, 3);
    }
    m_monitorFull = list.size() > 2;
    Q_ASSERT(list == monitorList(m_monitorFull));
}

// ---- Codec ---------------------------------------------------------------------------------

QStringList decodeSettings(ConstRecord b, SettingsSelection& sel) {
    QStringList messages;
    decodeTxTot(b[7], sel, messages);
    sel.setIndex(Setting::PreAlertTime, b[13]);
    applyChecked(sel, Setting::TotRekeyTime, checkWhen(b[14] < 0x61), decimalReading(b[14]),
                 "Error TOT Rekey Time!", messages);
    applyChecked(sel, Setting::TotResetTime, checkWhen(b[15] < 0x16), decimalReading(b[15]),
                 "Error TOT Reset Time!", messages);
    for (const SwitchBit& f : kSwitchBits)
        sel.setIndex(f.setting, (b[12] >> f.bit) & 1);
    applyChecked(sel, Setting::SquelchLevel, checkWhen(b[11] < 10), int(b[11]), "Error Squelch Level!",
                 messages);
    sel.setIndex(Setting::ScanMode, (b[0] & 0x18) >> 3);
    applyChecked(sel, Setting::PriorityCh, checkWhen(b[2] <= 0x15), decimalReading(b[2]),
                 "Error Priority Channel!", messages);
    applyChecked(sel, Setting::LookBack, checkWhen(b[3] >= 0x03 && b[3] <= 0x50),
                 minus(decimalReading(b[3]), 3), "Error Look back period!", messages);
    const int revert = b[1] & 0x07;
    applyChecked(sel, Setting::RevertCh, checkWhen(revert >= 1 && revert <= 4), revert - 1,
                 "Error Revert Channel!", messages);
    decodeDropout(b[6], sel, messages);
    decodeMonitor(b, sel);
    return messages;
}

void encodeSettings(const SettingsSelection& sel, int modelValue, RadioData& data) {
    encodeModelBlock(modelValue, data.modelBlock());
    Record b = data.functionSettings();
    for (const ByteField& f : kByteFields)
        if (sel.index(f.setting) >= 0)
            b[size_t(f.byte)] = f.encode(sel.index(f.setting));
    for (const SwitchBit& f : kSwitchBits)
        if (sel.index(f.setting) >= 0)
            b[12] = std::uint8_t((b[12] & ~(1 << f.bit)) | (sel.index(f.setting) << f.bit));
    if (sel.index(Setting::ScanMode) >= 0)
        b[0] = std::uint8_t((b[0] & 0xE7) | (sel.index(Setting::ScanMode) << 3));
    if (sel.index(Setting::RevertCh) >= 0)
        b[1] = std::uint8_t((b[1] & 0xF8) | (sel.index(Setting::RevertCh) + 1));
    if (sel.index(Setting::Monitor) >= 0) {
        // Stored by text, so the short form's "Monitor Lock" is still 2.
        const qsizetype monitor = monitorList(true).indexOf(sel.text(Setting::Monitor));
        b[0] = std::uint8_t((b[0] & 0x1F) | (std::max<int>(int(monitor), 0) << 5));
    }
}

void writeDateStamp(std::span<std::uint8_t> table, const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    const QString text = QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + two(d.month()) +
                         two(d.day()) + two(t.hour()) + two(t.minute()) + two(t.second());
    const QByteArray digits = text.toLatin1();
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = i < 14 && qsizetype(i) < digits.size() ? std::uint8_t(digits[qsizetype(i)]) : 0x00;
}

} // namespace orv
