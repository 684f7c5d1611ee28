// Frequency rules, the channel record codec, the channel and tune tables and the new image.

#include "catalog/FrequencyRules.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "image/ChannelCodec.h"
#include "image/ChannelTable.h"
#include "image/NewImage.h"
#include "image/RadioInfoText.h"
#include "image/TuneTable.h"

#include <QtTest>

using namespace orv;

namespace {
const ModelInfo Vhf{QStringLiteral("V"), 7, 136.0, 174.0, 136.0, 174.0};
const ModelInfo Pmr{QStringLiteral("P"), 32, 446.00625, 446.19375, 446.00625, 446.19375};

const QDateTime Stamp(QDate(2005, 4, 29), QTime(13, 45, 2));
const NumberFormat Fmt;
} // namespace

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    // Clamped to the model's range, snapped to the nearer raster (only 6.25 kHz for model byte
    // 32, the even count on a tie); an empty or non-numeric text fails and leaves the value.
    void validFrequency_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("model"); // 7: Vhf, 32: Pmr, 0: none
        QTest::addColumn<int>("modelByte");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("5 kHz raster wins") << "146.52" << 7 << 7 << "146.52000";
        QTest::newRow("6.25 kHz raster wins") << "146.5312" << 7 << 7 << "146.53125";
        QTest::newRow("above the range") << "180" << 7 << 7 << "174.00000";
        QTest::newRow("below the range") << "100" << 7 << 7 << "136.00000";
        QTest::newRow("exactly the limit") << "174" << 7 << 7 << "174.00000";
        QTest::newRow("model 32 only 6.25") << "146.52" << 7 << 32 << "146.51875";
        QTest::newRow("model 32, on 5 kHz too") << "446.01" << 32 << 32 << "446.01250";
        QTest::newRow("tie to the even count") << "146.528125" << 7 << 32 << "146.52500";
        QTest::newRow("no model, no clamp") << "500.001" << 0 << 7 << "500.00000";
        QTest::newRow("empty") << "" << 7 << 7 << "";
        QTest::newRow("not a number") << "14x.5" << 7 << 7 << "";
    }
    void validFrequency() {
        QFETCH(QString, text);
        QFETCH(int, model);
        QFETCH(int, modelByte);
        QFETCH(QString, expected);
        double f = 12.5;
        const ModelInfo* m = model == 7 ? &Vhf : model == 32 ? &Pmr : nullptr;
        QCOMPARE(getValidFreq(text, f, m, std::uint8_t(modelByte), Fmt), !expected.isEmpty());
        QCOMPARE(Fmt.fixed(f, 3, 5), expected.isEmpty() ? QStringLiteral("012.50000") : expected);
    }

    void numberTexts() {
        QCOMPARE(Fmt.parse(u" .5 "), std::optional<double>(0.5));
        QCOMPARE(Fmt.parse(u"1e3"), std::optional<double>(1000));
        for (const char16_t* bad : {u"", u" ", u"1e", u"1.2.3", u"--5", u"12a", u"1,5", u"."})
            QVERIFY2(!Fmt.parse(bad), QStringView(bad).toUtf8().constData());
        QCOMPARE(leadingNumber(u"12abc"), 12.0);
        QCOMPARE(leadingNumber(u"  -3.5x"), -3.5);
        QCOMPARE(leadingNumber(u"1e3x"), 1000.0);
        QCOMPARE(leadingNumber(u"7e"), 7.0);
        QCOMPARE(Fmt.fixed(-0.000001, 3, 5), QStringLiteral("000.00000"));
        QCOMPARE(roundHalfEven(2.5) + roundHalfEven(3.5) + roundHalfEven(-2.5), 4.0); // 2 + 4 - 2
        QVERIFY(isStep625Text(QStringLiteral("6,25")) && isStep625Text(QStringLiteral("6.25")));
        QVERIFY(!isStep625Text(QStringLiteral("6.250")));
    }

    void commaLocaleReadsAndWritesCommas() {
        const NumberFormat Fmt(QLatin1Char(','));
        double f = 0;
        QVERIFY(getValidFreq(QStringLiteral("146,52"), f, &Vhf, 7, Fmt));
        QCOMPARE(Fmt.fixed(f, 3, 5), QStringLiteral("146,52000"));
        QVERIFY(!getValidFreq(QStringLiteral("146.52"), f, &Vhf, 7, Fmt));
        QCOMPARE(decodeFrequency(0x94, 0x5B, 0x04, Fmt), QStringLiteral("146,52500"));
        QCOMPARE(signallingToText(0x30, 0x85, 0x08, Fmt), QStringLiteral("CTC 88,5"));
        std::uint8_t t = 0, lo = 0, hi = 0;
        QVERIFY(textToSignalling(QStringLiteral("CTC 88,5"), t, lo, hi, Fmt));
        QCOMPARE(int(lo), 0x85);
        QCOMPARE(stepText(true, Fmt), QStringLiteral("6,25"));
    }

    void frequencyBytes() {
        // 446.00625 MHz = 71361 counts of 6.25 kHz.
        std::uint8_t lo = 0, mid = 0, hi = 0xF8;
        QVERIFY(encodeFrequency(QStringLiteral("446.00625"), lo, mid, hi, Fmt));
        QCOMPARE(lo, std::uint8_t(0xC1));
        QCOMPARE(mid, std::uint8_t(0x16));
        QCOMPARE(hi, std::uint8_t(0xFD)); // flag and signalling bits kept
        // On both rasters: the 6.25 kHz count is kept.
        hi = 0;
        QVERIFY(encodeFrequency(QStringLiteral("146.525"), lo, mid, hi, Fmt));
        QCOMPARE(lo | (mid << 8), 0x5B94);
        QCOMPARE(hi, std::uint8_t(0x04));
        QVERIFY(encodeFrequency(QStringLiteral("146.52"), lo, mid, hi, Fmt));
        QCOMPARE(lo | (mid << 8), 29304);
        QCOMPARE(hi, std::uint8_t(0x00));
        // Bad text leaves the bytes alone.
        lo = 1, mid = 2, hi = 3;
        QVERIFY(!encodeFrequency(QStringLiteral("abc"), lo, mid, hi, Fmt));
        QVERIFY(!encodeFrequency(QStringLiteral("-5"), lo, mid, hi, Fmt));
        QCOMPARE(lo + mid + hi, 6);

        QCOMPARE(decodeFrequency(0x00, 0x71, 0x02, Fmt), QStringLiteral("800.00000"));
        QCOMPARE(decodeFrequency(0x00, 0x71, 0x06, Fmt), QStringLiteral("1000.00000"));
        QCOMPARE(decodeFrequency(0xFF, 0xFF, 0x07, Fmt), QStringLiteral("1638.39375"));
    }

    void signallingTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nibble");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<QString>("shownAgain");
        QTest::newRow("CTC 88.5") << "CTC 88.5" << 0x3 << 0x85 << 0x08 << "CTC 88.5";
        QTest::newRow("CTC 250.3") << "CTC 250.3" << 0x3 << 0x03 << 0x25 << "CTC 250.3";
        QTest::newRow("off-table tone") << "CTC 99.9" << 0x3 << 0x99 << 0x09 << "CTC 99.9";
        QTest::newRow("DCS 023") << "DCS 023" << 0x5 << 0x13 << 0x00 << "DCS 023";
        QTest::newRow("DCS 754") << "DCS 754" << 0x5 << 0xEC << 0x01 << "DCS 754";
        QTest::newRow("inverted") << "-DCS 023" << 0x7 << 0x13 << 0x00 << "-DCS 023";
        QTest::newRow("octal stops at 8") << "DCS 089" << 0x5 << 0x08 << 0x00 << "DCS 010";
        QTest::newRow("TTS digit kept") << "TTS 5" << 0x8 << 0x05 << 0x00 << "TTS 5";
    }
    void signallingTexts() {
        QFETCH(QString, text);
        QFETCH(int, nibble);
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(QString, shownAgain);
        std::uint8_t t = 0x0F, l = 0xAA, h = 0xAA;
        QVERIFY(textToSignalling(text, t, l, h, Fmt));
        QCOMPARE(t, std::uint8_t((nibble << 4) | 0x0F)); // lower nibble kept
        QCOMPARE(int(l), lo);
        QCOMPARE(int(h), hi);
        QCOMPARE(signallingToText(t, l, h, Fmt), shownAgain);
    }

    void signallingFailuresStoreOff() {
        std::uint8_t t = 0x3C, lo = 1, hi = 1;
        QVERIFY(!textToSignalling(QStringLiteral("OFF"), t, lo, hi, Fmt)); // stored right, reported false
        QCOMPARE(t, std::uint8_t(0x0C));
        QCOMPARE(lo + hi, 0);
        t = 0x3C;
        QVERIFY(!textToSignalling(QStringLiteral("TTS X"), t, lo, hi, Fmt));
        QVERIFY(!textToSignalling(QStringLiteral("TTS 12"), t, lo, hi, Fmt));
        QCOMPARE(t, std::uint8_t(0x0C));
        // Nibbles without a meaning show "OFF"; only bit 0 of the DCS high byte counts.
        for (int nibble : {0x1, 0x2, 0x4, 0x6, 0x9, 0xF})
            QCOMPARE(signallingToText(std::uint8_t(nibble << 4), 0x85, 0x08, Fmt), QStringLiteral("OFF"));
        QCOMPARE(signallingToText(0x50, 0x13, 0xFE, Fmt), QStringLiteral("DCS 023"));
        QCOMPARE(signallingToText(0x80, 7, 0, Fmt), QStringLiteral("TTS 7"));
    }

    void channelTableRoundTrip() {
        RadioData d;
        const std::array<std::uint8_t, 16> example = {0x78, 0x72, 0x38, 0x85, 0x08, 0x78, 0x72, 0x58,
                                                      0x13, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00};
        std::copy(example.begin(), example.end(), d.channel(0).begin());
        // A receive-only, unused channel with its unedited bits and bytes set.
        std::array<std::uint8_t, 16> other = {0x94, 0x5B, 0x74, 0xEC, 0x01, 0x94, 0x5B, 0x84,
                                              0x05, 0x00, 0xFA, 0x11, 0x22, 0x33, 0x44, 0x55};
        std::copy(other.begin(), other.end(), d.channel(1).begin());
        for (int n = 2; n < 16; ++n)
            std::copy(example.begin(), example.end(), d.channel(n).begin());

        ChannelTable table;
        showChannels(d, table, Fmt);
        const ChannelRow& r0 = table.rows[0];
        QCOMPARE(QStringList(r0.cells.begin(), r0.cells.end()),
                 QStringList({"CH 1", "146.52000", "CTC 88.5", "146.52000", "DCS 023", "Add", "ON", "High", "Narrow"}));
        QVERIFY(!r0.noCh && !r0.noTx);
        const ChannelRow& r1 = table.rows[1];
        QVERIFY(r1.noCh && r1.noTx);
        QCOMPARE(r1.cells[ColRxSignal], QStringLiteral("-DCS 754"));
        QCOMPARE(r1.cells[ColTxSignal], QStringLiteral("TTS 5"));

        RadioData back = d;
        std::fill(back.image.begin(), back.image.begin() + 256, std::uint8_t(0xEE));
        for (int n = 0; n < 16; ++n) { // bytes 11-15 and the unedited bits of byte 10 are kept
            std::copy(d.channel(n).begin() + 11, d.channel(n).end(), back.channel(n).begin() + 11);
            back.channel(n)[10] = d.channel(n)[10] & 0xCA;
        }
        saveChannels(table, back, Fmt);
        QCOMPARE(back, d);
    }

    void channelTableEdits() {
        ChannelTable table;
        RadioData d;
        showChannels(d, table, Fmt);
        table.rows[3].cells[ColBandWidth] = QStringLiteral("Wide");
        applyBandWidth(table, QStringLiteral("Wide"));
        QCOMPARE(table.rows[3].cells[ColBandWidth], QStringLiteral("Wide"));
        applyBandWidth(table, QStringLiteral("Narrow"));
        for (const ChannelRow& r : table.rows)
            QCOMPARE(r.cells[ColBandWidth], QStringLiteral("Narrow"));
        // A cell that does not convert keeps its bytes.
        d.channel(2)[0] = 0x11;
        table.rows[2].cells[ColRxFreq] = QStringLiteral("garbage");
        saveChannels(table, d, Fmt);
        QCOMPARE(int(d.channel(2)[0]), 0x11);
    }

    void newImageForVhfModel() {
        RadioData d;
        d.spare.fill(0x5A);
        d.image[0x200] = 0x77;
        d.modelBlock()[2] = 7;
        newImageSettings(d);
        newImageChannels(d, 0, &Vhf, Stamp);
        // 136 MHz = 21760 counts of 6.25 kHz = 0x5500, in use, on the 6.25 kHz raster.
        const std::array<std::uint8_t, 16> ch1 = {0x00, 0x55, 0x0C, 0, 0, 0x00, 0x55, 0x0C, 0, 0, 0, 0, 0, 0, 1, 1};
        QVERIFY(std::equal(ch1.begin(), ch1.end(), d.channel(0).begin()));
        QVERIFY(std::equal(ch1.begin(), ch1.end(), d.channel(14).begin()));
        QCOMPARE(int(d.channel(15)[2]), 0x04); // channel 16 out of use, no transmit
        QCOMPARE(int(d.channel(15)[7]), 0x04);
        QCOMPARE(int(d.channel(15)[14]), 0);
        QCOMPARE(int(d.functionSettings()[0]), 0x68);
        QCOMPARE(int(d.functionSettings()[7]), 0x06);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(d.dateStamp().data()), 16),
                 QByteArray("20050429134502\0\0", 16));
        QCOMPARE(dateStampText(d), QStringLiteral("2005-04-29, 13:45:02"));
        QCOMPARE(int(d.spare[0]), 0x5A); // regions not named stay as they were
        QCOMPARE(int(d.image[0x200]), 0x77);

        // Any other catalog position: all 16 channels out of use at 0 MHz.
        newImageChannels(d, 3, &Vhf, Stamp);
        for (int n = 0; n < 16; ++n)
            QVERIFY(std::all_of(d.channel(n).begin(), d.channel(n).end(), [](std::uint8_t b) { return b == 0; }));
    }

    void presetPlanForModel32() {
        RadioData d;
        d.modelBlock()[2] = 0x20;
        newImageSettings(d);
        newImageChannels(d, 5, &Pmr, Stamp);
        QCOMPARE(int(d.functionSettings()[0]), 0x78);
        ChannelTable table;
        showChannels(d, table, Fmt);
        const QStringList expected = {"CTC 74.4", "CTC 88.5", "CTC 97.4", "CTC 71.9", "CTC 79.7", "CTC 67.0",
                                      "CTC 85.4", "DCS 032",  "DCS 073",  "DCS 074",  "DCS 114",  "DCS 115"};
        static constexpr int Preset[] = {1, 5, 3, 7, 2, 6, 4, 8, 1, 5, 3, 2};
        for (int n = 0; n < 12; ++n) {
            QCOMPARE(table.rows[size_t(n)].cells[ColRxSignal], expected[n]);
            QCOMPARE(table.rows[size_t(n)].cells[ColTxSignal], expected[n]);
            QCOMPARE(table.rows[size_t(n)].cells[ColRxFreq], Fmt.fixed(446.00625 + (Preset[n] - 1) * 0.0125, 3, 5));
            QVERIFY(!table.rows[size_t(n)].noCh && !table.rows[size_t(n)].noTx);
        }
        QVERIFY(!table.rows[14].noCh);
        QVERIFY(table.rows[15].noCh && table.rows[15].noTx);
        QCOMPARE(int(d.channel(15)[0]), 0xBF); // two counts below preset channel 1
        QCOMPARE(int(d.channel(7)[3]), 26);    // DCS 032
    }

    void tuneTableDefaultsAndRoundTrip() {
        RadioData d;
        d.testChannel(3)[12] = 0x99; // bytes 10-15 are not ours
        defaultTuneChannels(d, &Vhf);
        QCOMPARE(int(d.testChannel(3)[12]), 0);
        TuneTable table;
        showTuneChannels(d, table, Fmt);
        for (const TuneRow& r : table.rows) {
            QVERIFY(r.noCh && r.noTx);
            QCOMPARE(r.cells[TuneColRxFreq], QStringLiteral("136.00000"));
            QCOMPARE(r.cells[TuneColRxStep], QStringLiteral("6.25"));
            QCOMPARE(r.cells[TuneColTxSignal], QStringLiteral("OFF"));
        }
        QCOMPARE(firstTestChannelInUse(d), 0);

        table.rows[2].noCh = false;
        table.rows[2].cells[TuneColRxFreq] = QStringLiteral("146.52000");
        table.rows[2].cells[TuneColRxStep] = QStringLiteral("5.00");
        table.rows[2].cells[TuneColRxSignal] = QStringLiteral("CTC 88.5");
        table.rows[2].cells[TuneColTxSignal] = QStringLiteral("-DCS 754");
        d.testChannel(2)[13] = 0x42;
        readTuneChannels(table, d, Fmt);
        QCOMPARE(firstTestChannelInUse(d), 3);
        QCOMPARE(int(d.testChannel(2)[13]), 0x42);
        TuneTable again;
        showTuneChannels(d, again, Fmt);
        QCOMPARE(again, table);
    }

    void informationText() {
        RadioData d;
        const QString text = QStringLiteral("Fleet 7 \u00e9") + QString(100, QLatin1Char('x'));
        storeInfoText(text, d);
        QCOMPARE(infoTextFromImage(d), text.left(96));
        QCOMPARE(int(d.infoText()[16]), 0xE9);
        storeInfoText(QStringLiteral("ab"), d);
        QCOMPARE(int(d.infoText()[4]), 0);
        QCOMPARE(infoTextFromImage(d).left(3), QStringLiteral("ab") + QChar(u'\0'));
        std::fill(d.radioId().begin(), d.radioId().end(), std::uint8_t(0x41));
        d.radioId()[3] = 0;
        QCOMPARE(radioIdText(d).size(), 16);
        QCOMPARE(radioIdText(d).at(3), QChar(u'\0'));
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
