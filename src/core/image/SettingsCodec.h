#pragma once
// The global radio settings (FunctionSettings, 16 bytes at 0x2B0) as the settings panel
// shows them: one list index per panel list, the two shapes of the "Monitor" list, the red
// marks of values that have no list entry, and the conversions between those and the bytes.

#include "RadioData.h"
#include "catalog/NumberText.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>

namespace orv {

// The sixteen lists of the panel. The first eleven are cboRadio(0..10), the last five
// cmbScan(0..4), in that order.
enum class Setting : int {
    Monitor = 0,  // cboRadio(0)
    TxTot,        // cboRadio(1)
    BeepTone,     // cboRadio(2)
    PreAlertTime, // cboRadio(3)
    BatterySave,  // cboRadio(4)
    SquelchLevel, // cboRadio(5)
    TotRekeyTime, // cboRadio(6)
    TotResetTime, // cboRadio(7)
    ManualTune,   // cboRadio(8)
    BandWidth,    // cboRadio(9)
    PowerSelect,  // cboRadio(10)
    ScanMode,     // cmbScan(0)
    PriorityCh,   // cmbScan(1)
    LookBack,     // cmbScan(2)
    DropoutDelay, // cmbScan(3)
    RevertCh,     // cmbScan(4)
};
inline constexpr int SettingCount = 16;

// True for the cmbScan lists (the scan group: a change counts as channel data).
constexpr bool isScanGroup(Setting s) { return int(s) >= int(Setting::ScanMode); }

// The panel caption of a list: "Tx TOT", "Beep Tone", ... "Power Select".
QString settingCaption(Setting s);
// The entries of a list. For Monitor, the full or the short form. Numbers in "0.0s" entries
// use the format's decimal separator.
QStringList settingItems(Setting s, const NumberFormat& fmt, bool monitorFullForm = true);

class SettingsSelection {
public:
    // Every list built (Monitor in its full form), nothing selected, nothing marked; the
    // "0.0s" entries written with fmt's decimal separator.
    explicit SettingsSelection(NumberFormat fmt = NumberFormat());

    int index(Setting s) const { return m_index[size_t(s)]; } // -1: nothing selected
    QString text(Setting s) const;                              // empty when nothing selected
    QStringList items(Setting s) const;                         // the entries as now listed
    bool isMarked(Setting s) const { return m_marked[size_t(s)]; } // shown in red
    bool monitorFullForm() const { return m_monitorFull; }

    // A list's selection as set by a program: -1 clears the selection, an index inside the
    // list selects it, any other index leaves the list as it was. Returns whether it applied.
    bool setIndex(Setting s, int index);
    void setMarked(Setting s, bool marked) { m_marked[size_t(s)] = marked; }
    // Selects the first entry equal to text, else entry 0.
    void selectText(Setting s, const QString& text);
    // Rebuilds the Monitor list: "OFF", ["Monitor Momentary"], "Monitor Lock",
    // ["SQ OFF Momentary"]; the bracketed entries only in the full form. Nothing is selected.
    void fillMonitorList(bool fullForm);

    // The user picked entry `index` of a list on the panel: the list's red mark goes, and
    // picking "Power Select" reshapes the Monitor list (the momentary entries leave with
    // "Long [MONI]" and come back with any other entry, the chosen Monitor entry kept where it
    // still exists, else "OFF"). Returns false (nothing changes) for an index outside the list.
    // The caller sets the channel-data changed flag for the scan group, the settings changed
    // flag for the others, and applies Band Width to the channel table.
    bool userSelect(Setting s, int index);

    bool operator==(const SettingsSelection&) const = default;

private:
    // The Power Select rule applied to the Monitor list (entries and selection).
    void reshapeMonitorList(bool longMoni);

    std::array<int, SettingCount> m_index{};
    std::array<bool, SettingCount> m_marked{};
    bool m_monitorFull = true;
    NumberFormat m_format;
};

// Fills the panel's selection from the settings bytes, in the panel's order of checks;
// returns the range messages ("Error TOT Time!", ...) in the order they are shown.
QStringList decodeSettings(ConstRecord functionSettings, SettingsSelection& sel);

// Stores the panel's selection into FunctionSettings and ModelBlock bytes 0-7. modelValue is
// the selected model's value; a value outside 0..255 (or -1 for no model) leaves ModelBlock
// byte 2 as it is. A list with nothing selected leaves its byte as it is.
void encodeSettings(const SettingsSelection& sel, int modelValue, RadioData& data);

// The date stamp: 14 ASCII digits yyyymmddhhnnss, then 0x00 up to the table's end.
void writeDateStamp(std::span<std::uint8_t> table, const QDateTime& when);

// Settings byte 0 between the current layout and the old data-file layout.
constexpr std::uint8_t newToOldSettingsByte(std::uint8_t b) {
    return std::uint8_t(((b & 0x78) << 1) | (b & 0x07));
}
constexpr std::uint8_t oldToNewSettingsByte(std::uint8_t b) {
    return std::uint8_t(((b & 0xF0) >> 1) | (b & 0x07));
}

} // namespace orv
