#include "catalog/NumberText.h"
#include "image/SettingsCodec.h"

#include <QtTest>

using namespace orv;

namespace {
const NumberFormat Fmt;
}
using Bytes = std::array<std::uint8_t, 16>;

namespace {
const Bytes kNewImage = {0x68, 0x03, 0x03, 0x05, 0x01, 0x00, 0x30, 0x06,
                         0xFF, 0xFF, 0x01, 0x05, 0x28, 0x00, 0x00, 0x00};

Bytes with(Bytes b, int at, int v) {
    b[size_t(at)] = std::uint8_t(v);
    return b;
}

SettingsSelection decoded(const Bytes& b) {
    SettingsSelection sel;
    decodeSettings(ConstRecord(b), sel);
    return sel;
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void lists() {
        QCOMPARE(settingItems(Setting::PreAlertTime, Fmt).last(), "255s");
        QCOMPARE(settingItems(Setting::PriorityCh, Fmt).last(), "CH15"); // channel 16 cannot be priority
        QCOMPARE(settingItems(Setting::Monitor, Fmt, false), QStringList({"OFF", "Monitor Lock"}));
        const QStringList lookBack = settingItems(Setting::LookBack, Fmt);
        QCOMPARE(lookBack.first() + lookBack.last(), "0.3s5.0s");
        QCOMPARE(settingItems(Setting::DropoutDelay, Fmt).mid(0, 2), QStringList({"0.5s", "1.0s"}));
        QCOMPARE(settingItems(Setting::LookBack, NumberFormat(QLatin1Char(','))).at(2), "0,5s");
    }

    void decodesNewImage() {
        SettingsSelection sel;
        QVERIFY(decodeSettings(ConstRecord(kNewImage), sel).isEmpty());
        const QStringList expected = {
            "SQ OFF Momentary", "60s", "ON",  "OFF",  "ON",   "5",          "OFF", "OFF", "OFF", "Wide",
            "Short [MONI]",     "CO",  "CH3", "0.5s", "3.0s", "1st Scan CH"};
        for (int i = 0; i < SettingCount; ++i)
            QCOMPARE(sel.text(Setting(i)), expected[i]);
    }

    // Valid bytes survive decode + encode, with the bytes and bits the panel does not edit.
    void encodeKeepsValidBytes() {
        const Bytes other = {0x57, 0xFC, 0x15, 0x50, 0x02, 0xA5, 0x50, 0x00,
                             0x12, 0x34, 0xEE, 0x09, 0xFF, 0xFF, 0x60, 0x15};
        for (const Bytes& b : {kNewImage, other}) {
            RadioData data;
            for (size_t i = 0; i < data.image.size(); ++i)
                data.image[i] = std::uint8_t(i * 7 + 3);
            std::copy(b.begin(), b.end(), data.functionSettings().begin());
            RadioData expected = data;
            const std::uint8_t model[8] = {0, 0, 0x20, '8', 'K', '4', 'Z', 'R'};
            std::copy(model, model + 8, expected.modelBlock().begin());
            encodeSettings(decoded(b), 0x20, data);
            QCOMPARE(data, expected);
            encodeSettings(decoded(b), 256, data); // not a storable model value
            QCOMPARE(data, expected);
        }
    }

    void decodeReproducesEverySelection() {
        for (int i = 0; i < SettingCount; ++i) {
            for (int power = 0; power < 3; ++power) {
                SettingsSelection sel = decoded(kNewImage);
                sel.userSelect(Setting::PowerSelect, power);
                for (int k = 0; k < sel.items(Setting(i)).size(); ++k) {
                    QVERIFY(sel.userSelect(Setting(i), k));
                    RadioData data;
                    data.image.fill(0xFF); // every field is overwritten, bits cleared too
                    encodeSettings(sel, 7, data);
                    Bytes b;
                    std::copy(data.functionSettings().begin(), data.functionSettings().end(), b.begin());
                    QCOMPARE(decoded(b), sel);
                }
            }
        }
    }

    void reportsInOrderAndMarks() {
        const Bytes bad = {0x08, 0x08, 0x16, 0x02, 0x01, 0x00, 0x07, 0x31,
                           0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x61, 0x16};
        SettingsSelection sel = decoded(kNewImage);
        QCOMPARE(decodeSettings(ConstRecord(bad), sel),
                 QStringList({"Error TOT Time!", "Error TOT Rekey Time!", "Error TOT Reset Time!",
                              "Error Squelch Level!", "Error Priority Channel!", "Error Look back period!",
                              "Error Revert Channel!", "Error Dropout Delay Time!"}));
        for (int i = 0; i < SettingCount; ++i)
            QCOMPARE(sel.isMarked(Setting(i)), (i >= 5 && i <= 7) || i >= 12);
        // Past the end: left as it was. -1: nothing selected. Dropout 0x07: 7 / 5 - 1.
        QCOMPARE(sel.text(Setting::TxTot) + sel.text(Setting::PriorityCh), "60sCH3");
        QCOMPARE(sel.index(Setting::LookBack) + sel.index(Setting::RevertCh), -2);
        QCOMPARE(sel.text(Setting::DropoutDelay), "0.5s");
        QVERIFY(sel.userSelect(Setting::LookBack, 0));
        QVERIFY(!sel.isMarked(Setting::LookBack));
        QVERIFY(sel.isMarked(Setting::RevertCh));
        decodeSettings(ConstRecord(kNewImage), sel);
        QCOMPARE(sel, decoded(kNewImage));
    }

    void edgeCases_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("value");
        QTest::addColumn<Setting>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("messages");
        QTest::newRow("TOT 0x02") << 7 << 0x02 << Setting::TxTot << "60s" << 1;
        QTest::newRow("TOT 0x2A unreadable") << 7 << 0x2A << Setting::TxTot << "60s" << 0;
        QTest::newRow("priority 0x0C unreadable") << 2 << 0x0C << Setting::PriorityCh << "CH3" << 0;
        QTest::newRow("dropout 0x00") << 6 << 0x00 << Setting::DropoutDelay << "" << 0;
        QTest::newRow("dropout 0x0A unreadable") << 6 << 0x0A << Setting::DropoutDelay << "3.0s" << 0;
        QTest::newRow("monitor 7") << 0 << 0xE8 << Setting::Monitor << "OFF" << 0;
        QTest::newRow("monitor 7, scan") << 0 << 0xE8 << Setting::ScanMode << "CO" << 0;
        QTest::newRow("scan mode 3") << 0 << 0x78 << Setting::ScanMode << "OFF" << 0;
        QTest::newRow("power select 3") << 4 << 0x03 << Setting::PowerSelect << "Short [MONI]" << 0;
        QTest::newRow("long MONI, momentary") << 4 << 0x02 << Setting::Monitor << "OFF" << 0;
    }
    void edgeCases() {
        QFETCH(int, at);
        QFETCH(int, value);
        QFETCH(Setting, list);
        QFETCH(QString, text);
        QFETCH(int, messages);
        const Bytes base = with(kNewImage, 0, 0x20); // Monitor Momentary, Scan Mode OFF
        SettingsSelection sel = decoded(base);
        QCOMPARE(decodeSettings(ConstRecord(with(base, at, value)), sel).size(), messages);
        QCOMPARE(sel.text(list), text);
        QCOMPARE(sel.monitorFullForm(), sel.index(Setting::PowerSelect) != 2);
    }

    // The Power Select / Monitor rule itself is driven through the settings panel's lists; here
    // the refusals and the red mark cleared by a valid choice.
    void selectionRefusalsAndMarks() {
        SettingsSelection sel = decoded(kNewImage);
        sel.setMarked(Setting::PowerSelect, true);
        const SettingsSelection before = sel;
        QVERIFY(!sel.userSelect(Setting::PowerSelect, 3));
        QVERIFY(!sel.userSelect(Setting::PowerSelect, -1));
        QVERIFY(!sel.setIndex(Setting::PowerSelect, -2));
        QCOMPARE(sel, before);
        QVERIFY(sel.userSelect(Setting::PowerSelect, 0));
        QVERIFY(!sel.isMarked(Setting::PowerSelect));
    }

    void dateStampAndOldLayout() {
        std::array<std::uint8_t, 16> t;
        t.fill(0xAA);
        writeDateStamp(t, QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.data()), 16),
                 QByteArray("20240305070809\0\0", 16));
        static_assert(newToOldSettingsByte(0x68) == 0xD0 && oldToNewSettingsByte(0xD0) == 0x68);
        static_assert(newToOldSettingsByte(0xE8) == 0xD0 && oldToNewSettingsByte(0x0F) == 0x07);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
