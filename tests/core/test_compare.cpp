// The compare engine: a difference in every section (one only a raw byte shows among them),
// the global band width on every channel, the region rule, the two scopes, identical data,
// the text and JSON forms, the window's side of a comparison, and a random search for a byte
// that differs without being listed.

#include "common/TestSetup.h"
#include "compare/Compare.h"
#include "compare/DiffReport.h"
#include "document/Document.h"
#include "image/RadioInfoText.h"
#include "sim/VirtualRadio.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QtTest>

using namespace orv;
using namespace orv::compare;

namespace {

// A programmed radio: channels 1-15 on 136.00000 MHz (6.25 kHz raster), channel 16 out of
// use, new-image settings (Tx TOT "60s", Band Width "Wide"), a date stamp.
DataSet baseSet() {
    DataSet s{sim::defaultRadioMemory(), 2};
    writeDateStamp(s.data.dateStamp(), QDateTime(QDate(2005, 4, 29), QTime(13, 45, 2)));
    return s;
}

QStringList lines(const Differences& d) { return differencesText(d).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

// Where a byte of the image lies, as (section, number) of the fields that cover it; bytes for
// a region without fields.
std::pair<Section, int> regionOf(int address) {
    if (address < addr::TestChannels)
        return {Section::Channel, address / 16 + 1};
    if (address < addr::TestChannelsEnd)
        return {Section::TestChannel, (address - addr::TestChannels) / 16 + 1};
    const auto in16 = [address](int start) { return address >= start && address < start + 16; };
    if (in16(addr::FunctionSettings))
        return {Section::Settings, 0};
    if (in16(addr::ModelBlock))
        return {Section::Model, 0};
    if (in16(addr::TuneValues))
        return {Section::TuneValue, -1};
    if (address >= addr::InfoText && address < addr::DateStamp + 16)
        return {Section::RadioInfo, address < addr::DateStamp ? 1 : 2};
    if (in16(addr::RadioId))
        return {Section::RadioInfo, 3};
    return {Section::Bytes, 0};
}

bool fieldCovers(const Difference& d, std::pair<Section, int> region) {
    if (d.section != region.first)
        return false;
    switch (d.section) {
    case Section::Channel:
    case Section::TestChannel:
        return d.number == region.second;
    case Section::RadioInfo:
        return d.field == QStringList{"text", "last_programmed", "radio_id"}.value(region.second - 1);
    default:
        return true;
    }
}

// Every byte that differs between the sides is in a region some difference covers.
void checkNothingUnlisted(const DataSet& a, const DataSet& b, const Differences& d) {
    for (int k = 0; k < addr::ImageSize + addr::SpareSize; ++k) {
        const bool spare = k >= addr::ImageSize;
        const int at = spare ? k - addr::ImageSize : k;
        const auto byteOf = [&](const DataSet& s) { return spare ? s.data.spare[std::size_t(at)] : s.data.image[std::size_t(at)]; };
        if (byteOf(a) == byteOf(b))
            continue;
        const auto region = spare ? std::pair{Section::Bytes, 0} : regionOf(at);
        const bool listed = std::any_of(d.begin(), d.end(), [&](const Difference& x) {
            if (x.section == Section::Bytes)
                return x.area == (spare ? ByteArea::Spare : ByteArea::Image) && x.start <= at && at <= x.end;
            return fieldCovers(x, region);
        });
        QVERIFY2(listed, qPrintable(QStringLiteral("%1 byte 0x%2 differs unlisted")
                                        .arg(spare ? "spare" : "image").arg(at, 0, 16)));
    }
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT
    SideOpener opener{test::editorCatalog(), NumberFormat()};

private slots:
    void identicalData() {
        const DataSet a = baseSet();
        for (Scope scope : {Scope::All, Scope::Programming}) {
            QVERIFY(compareDataSets(a, a, opener, scope).isEmpty());
            QVERIFY(compareSides(opener.open(a), opener.open(a), scope).isEmpty());
        }
        QCOMPARE(differencesText({}), QStringLiteral("No differences\n"));
        const QJsonObject json = differencesJson({}, Scope::Programming);
        QCOMPARE(json.value("scope").toString(), QStringLiteral("programming"));
        QVERIFY(json.value("identical").toBool());
        QVERIFY(json.value("differences").toArray().isEmpty());
    }

    // The opener shows a data set exactly as a document started as the window starts and
    // given that data set shows it, whatever the bytes (settings that name no entry
    // included); showing each side of a pair only where it can differ changes no difference.
    void openerShowsWhatTheDocumentShows() {
        QRandomGenerator random(5);
        test::StartedDocument window;
        for (int trial = 0; trial < 60; ++trial) {
            DataSet x = baseSet();
            const int changes = trial % 3 == 0 ? addr::ImageSize : 8;
            for (int n = 0; n < changes; ++n)
                x.data.image[std::size_t(random.bounded(addr::ImageSize))] = std::uint8_t(random.bounded(256));
            window.doc().startUp(window.feedback);
            test::takeBytes(window.doc(), x.data, window.feedback, x.dataVersion);
            QVERIFY(opener.open(x) == sideOf(window.doc()));

            DataSet y = x;
            for (int n = 0; n < 3; ++n)
                y.data.image[std::size_t(random.bounded(addr::ImageSize))] = std::uint8_t(random.bounded(256));
            QCOMPARE(lines(compareDataSets(x, y, opener, Scope::All)),
                     lines(compareSides(opener.open(x), opener.open(y), Scope::All)));
        }
    }

    // One difference in each section, in the image's order, in the text form.
    void everySection() {
        const DataSet a = baseSet();
        DataSet b = a;
        b.data.channel(2)[0] = 0x02;                            // CH 3: 136.01250 MHz
        const std::uint8_t on5k[] = {0x40, 0x6A, 0x08};         // CH 4: 136.00000 MHz on 5 kHz
        std::copy(std::begin(on5k), std::end(on5k), b.data.channel(3).begin());
        b.data.channel(4)[11] = 0x7F;                           // CH 5: a reserved byte
        b.data.channel(15)[2] |= 0x08;                          // CH 16 in use
        b.data.testChannel(1)[0] = 0x02;                        // test CH 2
        const std::uint8_t raw[] = {0x12, 0x34, 0x56, 0x78};    // outside every region with fields
        std::copy(std::begin(raw), std::end(raw), b.data.image.begin() + 0x1B0);
        b.data.functionSettings()[7] = 0x12;                    // Tx TOT 120s
        b.data.modelBlock()[2] = 9;
        b.dataVersion = 0;
        b.data.tuneValues()[3] = 200;
        storeInfoText(QStringLiteral("Hello"), b.data);
        writeDateStamp(b.data.dateStamp(), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
        b.data.radioId()[15] = '2';
        b.data.spare[5] = 0xAA;

        const Differences d = compareDataSets(a, b, opener, Scope::All);
        QCOMPARE(lines(d), (QStringList{
                               "CH 3  Rx Freq(MHz)  136.00000 -> 136.01250",
                               "Image 0x030-0x032  bytes  00 55 0C -> 40 6A 08",
                               "Image 0x04B  bytes  00 -> 7F",
                               "CH 16  No CH  yes -> no",
                               "Test CH 2  Rx Freq (MHz)  136.00000 -> 136.01250",
                               "Image 0x1B0-0x1B3  bytes  00 00 00 00 -> 12 34 56 78",
                               "Settings  Tx TOT  60s -> 120s",
                               "Model  Model byte  7 -> 9",
                               "Model  Data version  2 -> 0",
                               "Tune Items  CTC Deviation(Wide)  0 -> 200",
                               "Radio Information  Text  \"\" -> \"Hello\"",
                               "Radio Information  Last Date of Programming  \"2005-04-29, 13:45:02\" -> "
                               "\"2024-01-02, 03:04:05\"",
                               "Radio Information  Radio ID  \"ORV-SIM-00000001\" -> \"ORV-SIM-00000002\"",
                               "Spare 0x05  bytes  00 -> AA",
                               "14 difference(s)",
                           }));
        checkNothingUnlisted(a, b, d);

        // The same in JSON: export's keys and values, booleans for the boxes, numbers for the
        // model and the tune values, inclusive byte ranges.
        const QJsonArray json = differencesJson(d, Scope::All).value("differences").toArray();
        QCOMPARE(json.size(), 14);
        QCOMPARE(json[0].toObject(), (QJsonObject{{"section", "channel"}, {"channel", 3}, {"field", "rx_freq"},
                                                  {"a", "136.00000"}, {"b", "136.01250"}}));
        QCOMPARE(json[3].toObject(), (QJsonObject{{"section", "channel"}, {"channel", 16}, {"field", "in_use"},
                                                  {"a", false}, {"b", true}}));
        QCOMPARE(json[4].toObject().value("section").toString(), QStringLiteral("test_channel"));
        QCOMPARE(json[4].toObject().value("channel").toInt(), 2);
        QCOMPARE(json[5].toObject(), (QJsonObject{{"section", "bytes"}, {"area", "image"}, {"start", 0x1B0},
                                                  {"end", 0x1B3}, {"field", "bytes"}, {"a", "00 00 00 00"},
                                                  {"b", "12 34 56 78"}}));
        QCOMPARE(json[6].toObject(), (QJsonObject{{"section", "settings"}, {"field", "Tx TOT"}, {"a", "60s"}, {"b", "120s"}}));
        QCOMPARE(json[7].toObject(), (QJsonObject{{"section", "model"}, {"field", "model_byte"}, {"a", 7}, {"b", 9}}));
        QCOMPARE(json[8].toObject().value("field").toString(), QStringLiteral("data_version"));
        QCOMPARE(json[9].toObject(), (QJsonObject{{"section", "tune_value"}, {"index", 3}, {"field", "CTCDevW"},
                                                  {"a", 0}, {"b", 200}}));
        QCOMPARE(json[10].toObject(), (QJsonObject{{"section", "radio_info"}, {"field", "text"}, {"a", ""}, {"b", "Hello"}}));
        QCOMPARE(json[13].toObject().value("area").toString(), QStringLiteral("spare"));
        QCOMPARE(json[13].toObject().value("start").toInt(), 5);

        // Only the programming: channels, settings and the model byte.
        QCOMPARE(lines(compareDataSets(a, b, opener, Scope::Programming)),
                 (QStringList{"CH 3  Rx Freq(MHz)  136.00000 -> 136.01250",
                              "Image 0x030-0x032  bytes  00 55 0C -> 40 6A 08", "Image 0x04B  bytes  00 -> 7F",
                              "CH 16  No CH  yes -> no", "Settings  Tx TOT  60s -> 120s", "Model  Model byte  7 -> 9",
                              "6 difference(s)"}));
    }

    // A Band Width of "Narrow" shows on every channel, so it differs on every channel too;
    // the channel records themselves are equal, so no byte of them is listed.
    void globalBandWidthOnEveryChannel() {
        const DataSet a = baseSet();
        DataSet b = a;
        b.data.functionSettings()[12] |= 0x02;
        b.data.channel(6)[10] |= 0x01; // channel 7 narrow by itself: hidden behind the global one
        const Differences d = compareDataSets(a, b, opener, Scope::Programming);
        QCOMPARE(d.size(), 17);
        for (int n = 1; n <= 16; ++n) {
            const Difference& c = d[n - 1];
            QCOMPARE(c.section, Section::Channel);
            QCOMPARE(c.number, n);
            QCOMPARE(c.field, QStringLiteral("band_width"));
            QCOMPARE(differenceLine(c), QStringLiteral("CH %1  Band Width  Wide -> Narrow").arg(n));
        }
        QCOMPARE(differenceLine(d[16]), QStringLiteral("Settings  Band Width  Wide -> Narrow"));
    }

    // Within a region a byte is listed only when no field of the region differs; a scope
    // decides first what is compared at all.
    void regionRuleAndScopes() {
        const DataSet a = baseSet();
        DataSet b = a;
        b.data.channel(0)[1] = 0x56;  // CH 1: a frequency ...
        b.data.channel(0)[12] = 0x01; // ... and a reserved byte beside it
        b.data.tuneValues()[10] = 5;  // no tune value: a byte of the tune values row
        QCOMPARE(lines(compareDataSets(a, b, opener, Scope::All)),
                 (QStringList{"CH 1  Rx Freq(MHz)  136.00000 -> 137.60000", "Image 0x2FA  bytes  00 -> 05",
                              "2 difference(s)"}));

        // The data version: a field of the model region in "all", where it hides the byte
        // beside it; not sent by Write, so in "programming" the byte shows.
        DataSet c = a;
        c.dataVersion = 0;
        c.data.modelBlock()[5] = 'X';
        QCOMPARE(lines(compareDataSets(a, c, opener, Scope::All)),
                 (QStringList{"Model  Data version  2 -> 0", "1 difference(s)"}));
        QCOMPARE(lines(compareDataSets(a, c, opener, Scope::Programming)),
                 (QStringList{"Image 0x2D5  bytes  34 -> 58", "1 difference(s)"}));

        // The two data-version bytes Write replaces on the wire, and the date stamp: only in "all".
        DataSet e = a;
        e.data.modelBlock()[1] = e.data.modelBlock()[9] = 0;
        writeDateStamp(e.data.dateStamp(), QDateTime(QDate(2006, 1, 1), QTime(0, 0)));
        QCOMPARE(lines(compareDataSets(a, e, opener, Scope::All)),
                 (QStringList{"Image 0x2D1  bytes  02 -> 00", "Image 0x2D9  bytes  02 -> 00",
                              "Radio Information  Last Date of Programming  \"2005-04-29, 13:45:02\" -> "
                              "\"2006-01-01, 00:00:00\"",
                              "3 difference(s)"}));
        QVERIFY(compareDataSets(a, e, opener, Scope::Programming).isEmpty());
        QCOMPARE(differencesText(compareDataSets(a, e, opener, Scope::Programming)), QStringLiteral("No differences\n"));

        QVERIFY(scopeFromName("programming") == Scope::Programming);
        QVERIFY(!scopeFromName("everything"));
    }

    // The window's side: what its editors show, with the image Save would write, and the
    // model block bytes Write fills from the radio taken from the other side. A read compared
    // with the radio it came from shows nothing; an edit shows as its field and no byte; an
    // edit collected (as Print does) and set back leaves no stale byte; the document never
    // changes.
    void windowSide() {
        test::StartedDocument window(test::editorCatalog());
        Document& doc = window.doc();
        DataSet radio = baseSet();
        radio.data.modelBlock()[0] = 0x01; // the radio's own byte, sent back by Write
        test::takeBytes(doc, radio.data, window.feedback, radio.dataVersion);
        QVERIFY(doc.collected().modelBlock()[1] != radio.data.modelBlock()[1]); // collecting clears it
        const ShownSide other = opener.open(radio);
        QVERIFY(compareSides(compare::windowSide(doc, radio), other, Scope::All).isEmpty());

        const QString was = doc.channels().rows[2].cells[ColRxFreq];
        QVERIFY(doc.setChannelCell(3, ColRxFreq, QStringLiteral("150.00000")));
        const RadioData held = doc.data();
        QCOMPARE(lines(compareSides(compare::windowSide(doc, radio), other, Scope::All)),
                 (QStringList{"CH 3  Rx Freq(MHz)  150.00000 -> " + was, "1 difference(s)"}));
        QCOMPARE(doc.data(), held);

        doc.collect();
        QCOMPARE(doc.data(), doc.collected());
        QVERIFY(doc.setChannelCell(3, ColRxFreq, was));
        QVERIFY(compareSides(compare::windowSide(doc, radio), other, Scope::All).isEmpty());
    }

    // Random changes anywhere, a few bytes at a time: every byte that differs is listed, by a
    // field of its region or in a byte range, and the engine never lists equal data.
    void nothingDiffersUnlisted() {
        QRandomGenerator random(17);
        const DataSet a = baseSet();
        for (int trial = 0; trial < 300; ++trial) {
            DataSet b = a;
            for (int n = 1 + int(random.bounded(4)); n > 0; --n) {
                const int k = int(random.bounded(addr::ImageSize + addr::SpareSize));
                const auto value = std::uint8_t(random.bounded(256));
                (k < addr::ImageSize ? b.data.image[std::size_t(k)] : b.data.spare[std::size_t(k - addr::ImageSize)]) = value;
            }
            const Differences d = compareDataSets(a, b, opener, Scope::All);
            QCOMPARE(d.isEmpty(), a == b);
            checkNothingUnlisted(a, b, d);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
