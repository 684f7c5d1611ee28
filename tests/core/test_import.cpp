// The import: CSV and JSON read back into the document through the rules of typing, the
// notes and errors it gives, nothing applied on an error, one step for the journal, and the
// round trips with the export for the shipped sample and a new file of every catalog model.

#include "catalog/IniFile.h"
#include "catalog/SignalRules.h"
#include "common/ImportParts.h"
#include "common/TestSetup.h"
#include "files/ChannelExport.h"
#include "import/CellRules.h"
#include "import/GridCells.h"
#include "import/ImportApply.h"
#include "import/JsonImport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace orv;
using orv::test::StartedDocument;
using orv::test::importedParts;

namespace {

struct Journal : EditJournal {
    QStringList labels;
    QList<DocumentState> before;
    void recordStep(const QString& label, Kind, const DocumentState& state) override {
        labels << label;
        before << state;
    }
    void markClean() override {}
    void reset() override {}
};

// A started document that tells its steps to a journal.
struct JournaledDocument : StartedDocument {
    Journal journal;
    JournaledDocument() { doc().setJournal(&journal); }
};

ImportReport importCsv(Document& doc, const QByteArray& csv, bool keepGoing = false) {
    ImportOptions options;
    options.keepGoing = keepGoing;
    return applyImport(doc, readChannelCsv(csv), options);
}

ImportReport importJson(Document& doc, const QJsonObject& o, bool keepGoing = false) {
    ImportOptions options;
    options.keepGoing = keepGoing;
    return applyImport(doc, readImportJson(QJsonDocument(o).toJson(), doc.catalog()), options);
}

const ChannelRow& ch(const Document& doc, int n) { return doc.channels().rows[size_t(n - 1)]; }

bool sameData(const DocumentState& a, const DocumentState& b) {
    return a.data == b.data && a.channels == b.channels && a.settings == b.settings && a.tune == b.tune &&
           a.selectedModel == b.selectedModel && a.channelDataChanged == b.channelDataChanged &&
           a.settingsChanged == b.settingsChanged && a.tuneDataChanged == b.tuneDataChanged;
}

// The shipped catalog, as the programs read it.
struct ShippedCatalog {
    StartupValues startup;
    ModelCatalog catalog;
    ShippedCatalog() {
        const IniFile ini(qEnvironmentVariable("ORVANTE_SOURCE_DIR") + QStringLiteral("/data/vuxPC.ini"));
        startup = readStartupValues(ini, QString());
        catalog = ModelCatalog::read(ini, startup.modelCount);
    }
    std::unique_ptr<Document> document(Clock& clock) const {
        auto doc = std::make_unique<Document>(startup, catalog, clock, NumberFormat());
        SilentFeedback yes;
        doc->startUp(yes);
        return doc;
    }
};

const QByteArray AllColumns =
    "CH No.,Rx Freq(MHz),Rx CTC/DCS,Tx Freq(MHz),Tx CTC/DCS,Scan Delete/Add,Busy Lockout,Tx Power,Band Width,No CH,No Tx\n";

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void signalRulesAreTheTablesAndTheDialogsLimits() {
        const NumberFormat dot, comma(QLatin1Char(','));
        QCOMPARE(tableToneText("88.50", dot), QStringLiteral("88.5"));
        QCOMPARE(tableToneText("88,5", comma), QStringLiteral("88,5"));
        QVERIFY(!tableToneText("99.9", dot));
        QVERIFY(!tableToneText("88.55", dot));
        QCOMPARE(tableCodeText("23"), QStringLiteral("023"));
        QVERIFY(!tableCodeText("024"));
        QVERIFY(!tableCodeText("0023"));
        QCOMPARE(typedToneText("300", dot), QStringLiteral("254.1"));
        QCOMPARE(typedToneText("5", dot), QStringLiteral("67.0"));
        QVERIFY(!typedToneText("", dot));
        QCOMPARE(typedCodeText("1"), QStringLiteral("023"));
        QCOMPARE(typedCodeText("777"), QStringLiteral("754"));
        QVERIFY(!typedCodeText("78"));
        QCOMPARE(ctcToneTexts(dot).size(), 38);
        QCOMPARE(dcsCodeTexts().size(), 83);
        const SignalParts p = splitSignalText("-DCS 754");
        QCOMPARE(int(p.mode), int(SignalMode::Dcs));
        QVERIFY(p.inverted);
        QCOMPARE(joinSignalText(p.mode, p.value, p.inverted), QStringLiteral("-DCS 754"));
        QCOMPARE(int(splitSignalText("TTS 5").mode), int(SignalMode::None));
    }

    // Every channel column typed, with the texts a spreadsheet may hold; then the document's
    // own export brought into a fresh document gives the same table.
    void everyChannelColumnInBothDirections() {
        StartedDocument f;
        Document& doc = f.doc();
        const QByteArray csv = AllColumns +
                               "CH 1,146.52,ctc 88.5,147.125,dcs 23,delete,on,low,narrow,0,0\n"
                               "2,150.000,-DCS 754,150.0,TTS 5,Add,OFF,High,Wide,0,1\n"
                               "CH16,160.00625,OFF,160.01,CTC 250.3,Add,OFF,High,Wide,1,0\n";
        const ImportReport r = importCsv(doc, csv);
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.notes, QStringList());
        QVERIFY(r.applied);
        const ChannelRow& c1 = ch(doc, 1);
        QCOMPARE(QStringList(c1.cells.begin() + 1, c1.cells.end()),
                 QStringList({"146.52000", "CTC 88.5", "147.12500", "DCS 023", "Delete", "ON", "Low", "Narrow"}));
        QCOMPARE(ch(doc, 2).cells[ColRxSignal], QStringLiteral("-DCS 754"));
        QCOMPARE(ch(doc, 2).cells[ColTxSignal], QStringLiteral("TTS 5"));
        QVERIFY(ch(doc, 2).noTx && !ch(doc, 2).noCh);
        QCOMPARE(ch(doc, 16).cells[ColRxFreq], QStringLiteral("160.00625"));
        QCOMPARE(ch(doc, 16).cells[ColTxFreq], QStringLiteral("160.01000"));
        QVERIFY(ch(doc, 16).noCh);

        StartedDocument other;
        QVERIFY(importCsv(other.doc(), exportCsv(doc)).errors.isEmpty());
        QCOMPARE(other.doc().channels(), doc.channels());
        QCOMPARE(exportCsv(other.doc()), exportCsv(doc));
        // Stored and read back, the cells stay what they were.
        doc.collect();
        ChannelTable shown;
        showChannels(doc.data(), shown, doc.numbers());
        QCOMPARE(shown, doc.channels());
    }

    // Settings, test channels and the information text through JSON, both ways.
    void everyJsonPartInBothDirections() {
        StartedDocument f;
        Document& doc = f.doc();
        QJsonObject o{{"settings", QJsonObject{{"Power Select", "Long [MONI]"}, {"Monitor", "Monitor Lock"},
                                               {"Beep Tone", "OFF"}, {"Look Back", "1.5s"},
                                               {"Priority CH", "CH3"}, {"Scan Mode", "TO"}}},
                      {"test_channels", QJsonArray{QJsonObject{{"number", 2}, {"in_use", true}, {"tx_allowed", true},
                                                               {"rx_step", "5.00"}, {"rx_freq", "150.005"},
                                                               {"rx_signal", "CTC 100.0"}, {"tx_step", "6.25"},
                                                               {"tx_freq", "150.00625"}, {"tx_signal", "-DCS 023"}}}},
                      {"radio_info", QJsonObject{{"text", "Depot 4"}, {"radio_id", "ignored"}}},
                      {"data_version", 9}, {"model_byte", 99}, {"tune_values", QJsonArray{1, 2}}};
        const ImportReport r = importJson(doc, o);
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.notes, QStringList());
        QCOMPARE(doc.settings().text(Setting::Monitor), QStringLiteral("Monitor Lock"));
        QVERIFY(!doc.settings().monitorFullForm());
        QCOMPARE(doc.settings().text(Setting::LookBack), QStringLiteral("1.5s"));
        QCOMPARE(doc.settings().text(Setting::PriorityCh), QStringLiteral("CH3"));
        const TuneRow& t2 = doc.tune().rows[1];
        QCOMPARE(QStringList(t2.cells.begin() + 1, t2.cells.end()),
                 QStringList({"150.00500", "5.00", "CTC 100.0", "150.00625", "6.25", "-DCS 023"}));
        QVERIFY(!t2.noCh && !t2.noTx);
        QVERIFY(doc.infoText().startsWith(QStringLiteral("Depot 4")));
        QCOMPARE(doc.dataVersion(), 2);

        StartedDocument other;
        const QJsonObject exported = exportJson(doc, {});
        QVERIFY(importJson(other.doc(), exported).errors.isEmpty());
        QCOMPARE(importedParts(exportJson(other.doc(), {})), importedParts(exported));
    }

    void csvFormsOfSpreadsheets() {
        StartedDocument f;
        Document& doc = f.doc();
        // Semicolons and a comma decimal, quoted fields with the separator and a quote, a
        // byte-order mark, CRLF, a blank line and columns in another order.
        const QByteArray csv = "\xEF\xBB\xBF\"Tx Freq(MHz)\";\"CH No.\";Rx CTC/DCS\r\n"
                               "\"147,5\";\"CH 4\";\"CTC 88.5\"\r\n"
                               "\r\n"
                               ";;\r\n"
                               "148.5;5;\"DCS \"\"023\"\"\"\r\n";
        ImportReport r = importCsv(doc, csv);
        QCOMPARE(r.errors, QStringList({"line 5, \"Rx CTC/DCS\": \"DCS \"023\"\" is not a DCS code"}));
        QVERIFY(!r.applied);
        QByteArray fixed = csv;
        fixed.replace("\"DCS \"\"023\"\"\"", "\"DCS 023\"");
        r = importCsv(doc, fixed);
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(ch(doc, 4).cells[ColTxFreq], QStringLiteral("147.50000"));
        QCOMPARE(ch(doc, 4).cells[ColRxSignal], QStringLiteral("CTC 88.5"));
        QCOMPARE(ch(doc, 5).cells[ColTxFreq], QStringLiteral("148.50000"));
        QCOMPARE(ch(doc, 5).cells[ColRxSignal], QStringLiteral("DCS 023"));
        QCOMPARE(ch(doc, 3), StartedDocument().doc().channels().rows[2]); // rows not listed stay

        // A quoted field may hold commas and line ends (the line numbers still count them).
        const TextTable t = readTextTable(u"a,\"b,\nc\"\nd,e", QLatin1Char(','));
        QCOMPARE(t.rows.size(), 2);
        QCOMPARE(t.rows[0].fields, QStringList({"a", "b,\nc"}));
        QCOMPARE(t.rows[1].line, 3);
        QCOMPARE(guessSeparator(u"a\tb\tc"), QLatin1Char('\t'));
        QCOMPARE(guessSeparator(u"\"a;b\",c"), QLatin1Char(','));
    }

    // Every kind of error, with its line and column; all of them listed; nothing applied,
    // nothing told to the journal. With keep-going the valid cells go in.
    void errorsApplyNothingAndAreAllListed() {
        JournaledDocument f;
        Document& doc = f.doc();
        const Journal& journal = f.journal;
        const DocumentState before = doc.state();
        const QByteArray csv = AllColumns +
                               "CH 1,146.52,OFF,146.52,OFF,Add,OFF,High,Wide,0,0\n"
                               "CH 17,146.52,OFF,146.52,OFF,Add,OFF,High,Wide,0,0\n"
                               "CH 2,146.52,CTC 99.9,146.52,DCS 024,Maybe,OFF,High,Wide,0,yes\n"
                               "CH 3,abc,OFF\n"
                               "CH 1,146.52,OFF,146.52,OFF,Add,OFF,High,Wide,0,0\n"
                               "x,146.52,OFF,146.52,OFF,Add,OFF,High,Wide,0,0\n";
        const ImportReport preview = previewImport(doc, readChannelCsv(csv));
        ImportReport r = importCsv(doc, csv);
        QCOMPARE(preview.errors, r.errors);
        const QStringList expected{
            "line 3, \"CH No.\": \"CH 17\" is not a channel (1 to 16)",
            "line 5: 3 fields where the header has 11",
            "line 6, \"CH No.\": CH 1 is there twice (first on line 2)",
            "line 7, \"CH No.\": \"x\" is not a channel (1 to 16)",
            "line 4, \"Rx CTC/DCS\": \"CTC 99.9\" is not a CTCSS tone",
            "line 4, \"Tx CTC/DCS\": \"DCS 024\" is not a DCS code",
            "line 4, \"Scan Delete/Add\": \"Maybe\" is not Add or Delete",
            "line 4, \"No Tx\": \"yes\" is not 1 or 0",
        };
        QCOMPARE(r.errors, expected);
        QVERIFY(!r.applied);
        QVERIFY(sameData(doc.state(), before));
        QVERIFY(journal.labels.isEmpty());

        r = importCsv(doc, csv, true);
        QCOMPARE(r.errors, expected);
        QVERIFY(r.applied);
        QCOMPARE(r.cellsChanged, preview.cellsChanged);
        QCOMPARE(ch(doc, 1).cells[ColRxFreq], QStringLiteral("146.52000"));
        QCOMPARE(ch(doc, 2).cells[ColRxSignal], before.channels.rows[1].cells[ColRxSignal]);
        QCOMPARE(journal.labels, QStringList({QStringLiteral("Import of %1 Cells").arg(r.cellsChanged)}));

        // Malformed files and headers.
        QCOMPARE(readChannelCsv("").errors, QStringList({"line 1: there is no header row"}));
        QCOMPARE(readChannelCsv("Rx Freq(MHz)\n146.52\n").errors, QStringList({"line 1: there is no \"CH No.\" column"}));
        QCOMPARE(readChannelCsv("CH No.,Tx Power,tx power\n").errors,
                 QStringList({"line 1: \"tx power\" is there twice"}));
        QVERIFY(readChannelCsv("CH No.,Colour\n").errors.value(0).startsWith("line 1: \"Colour\" is not a column"));
        QCOMPARE(readChannelCsv("CH No.,Tx Power\n\"CH 1,Low\n").errors,
                 QStringList({"line 2: a quoted field is not closed"}));
        QCOMPARE(readChannelCsv("CH No.,Tx Power\n\"CH 1\"x,Low\n").errors,
                 QStringList({"line 2: text after a closing quote"}));
    }

    void notesForValuesTheRulesChanged() {
        StartedDocument f;
        Document& doc = f.doc();
        ImportReport r = importCsv(doc, "CH No.,Rx Freq(MHz),Tx Freq(MHz)\n"
                                        "1,446.1,146.521\n"
                                        "2,100,146.52\n");
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.notes, QStringList({"CH 1 Rx Freq(MHz): 446.1 -> 176.00000 (outside 130.00000~176.00000 MHz)",
                                       "CH 1 Tx Freq(MHz): 146.521 -> 146.52000 (on the 5 kHz raster)",
                                       "CH 2 Rx Freq(MHz): 100 -> 130.00000 (outside 130.00000~176.00000 MHz)"}));
        QCOMPARE(ch(doc, 1).cells[ColRxFreq], QStringLiteral("176.00000"));

        // Model byte 0x20 snaps to 6.25 kHz only; the test channels snap to their row's step.
        SilentFeedback yes;
        QVERIFY(doc.chooseModel(3, yes));
        r = importJson(doc, QJsonObject{{"channels", QJsonArray{QJsonObject{{"number", 3}, {"rx_freq", "446.102"}}}},
                                        {"test_channels", QJsonArray{QJsonObject{{"number", 1}, {"rx_step", "6.25"},
                                                                                 {"rx_freq", "446.052"}}}}});
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.notes, QStringList({"CH 3 Rx Freq(MHz): 446.102 -> 446.10000 (on the 6.25 kHz raster)",
                                       "Test CH 1 Rx Freq (MHz): 446.052 -> 446.05000 (on the 6.25 kHz raster)"}));

        // The global "Narrow" keeps every channel narrow.
        StartedDocument narrow;
        QVERIFY(narrow.doc().selectSetting(Setting::BandWidth, 1));
        r = importCsv(narrow.doc(), "CH No.,Band Width\n4,Wide\n");
        QCOMPARE(r.notes, QStringList({"CH 4 Band Width: Wide -> Narrow (the global Band Width is Narrow)"}));
        QVERIFY(!r.applied);
    }

    // The order of application: a channel coming into use finds its new frequency; the
    // global band width before the channels' own; Power Select before Monitor.
    void cellsAreAppliedInTheOrderTheirRulesNeed() {
        StartedDocument f;
        Document& doc = f.doc();
        QVERIFY(doc.setChannelNoCh(5, true));
        QVERIFY(doc.setChannelCell(5, ColRxFreq, QStringLiteral("000.00000")));
        QSignalSpy noted(&doc, &Document::noted);
        ImportReport r = importCsv(doc, "No CH,CH No.,Rx Freq(MHz)\n0,5,150.5\n");
        QCOMPARE(r.notes, QStringList());
        QVERIFY(!ch(doc, 5).noCh);
        QCOMPARE(ch(doc, 5).cells[ColRxFreq], QStringLiteral("150.50000"));
        // Without a frequency of its own, the one it has is brought into range, and said.
        QVERIFY(doc.setChannelNoCh(6, true));
        QVERIFY(doc.setChannelCell(6, ColRxFreq, QStringLiteral("000.00000")));
        r = importCsv(doc, "CH No.,No CH\n6,0\n");
        QCOMPARE(r.notes, QStringList({"CH 6 Rx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000"}));

        r = importJson(doc, QJsonObject{{"settings", QJsonObject{{"Band Width", "Wide"}, {"Monitor", "Monitor Momentary"},
                                                                 {"Power Select", "Short [MONI]"}}},
                                        {"channels", QJsonArray{QJsonObject{{"number", 1}, {"band_width", "Narrow"}}}}});
        QCOMPARE(r.errors, QStringList());
        r = importJson(doc, QJsonObject{{"settings", QJsonObject{{"Monitor", "Monitor Momentary"},
                                                                 {"Power Select", "Long [MONI]"}}}});
        QCOMPARE(r.errors, QStringList({"settings[\"Monitor\"]: \"Monitor Momentary\" is not an entry of the \"Monitor\" list"}));
        r = importJson(doc, QJsonObject{{"settings", QJsonObject{{"Band Width", "Narrow"}}},
                                        {"channels", QJsonArray{QJsonObject{{"number", 2}, {"band_width", "Narrow"}}}}});
        QCOMPARE(r.notes, QStringList());
        QCOMPARE(ch(doc, 2).cells[ColBandWidth], QStringLiteral("Narrow"));
        QCOMPARE(r.cellsChanged, 1); // the channel's cell is already narrow
    }

    // What a paste into the grids gives: by the header's names (the tune grid's two "Step
    // (kHz)" columns in their order; without "CH No." from a row down) or by position from
    // a cell rightwards and downwards, through the same rules, as one step of its own label.
    void gridCellsForAPaste() {
        const QChar tab = QLatin1Char('\t');
        const TextTable named = readTextTable(u"Step (kHz)\tTx Freq (MHz)\tStep (kHz)\n5.00\t150.5\t6.25\n", tab);
        QVERIFY(namesGridColumns(named.rows[0], Grid::TestChannels));
        QVERIFY(!namesGridColumns(named.rows[1], Grid::TestChannels));
        ImportInput in = cellsByHeader(named, Grid::TestChannels, 3);
        QCOMPARE(in.errors, QStringList());
        QCOMPARE(in.cells.size(), 3);
        QCOMPARE(in.cells[0].target, (CellTarget{CellKind::TestCell, 3, TuneColRxStep}));
        QCOMPARE(in.cells[2].target, (CellTarget{CellKind::TestCell, 3, TuneColTxStep}));
        QCOMPARE(in.cells[1].where, QStringLiteral("line 2, \"Tx Freq (MHz)\""));

        const TextTable block = readTextTable(u"CTC 88.5\t147.5\tDCS 023\tDelete\tON\tLow\tNarrow\t0\t1\n"
                                              u"OFF\t148\n", tab);
        in = cellsAt(block, Grid::Channels, 15, ColRxSignal);
        QCOMPARE(in.errors, QStringList());
        QCOMPARE(in.cells.size(), 11);
        QCOMPARE(in.cells[7].target, (CellTarget{CellKind::ChannelNoCh, 15, 0}));
        QCOMPARE(in.cells[8].target, (CellTarget{CellKind::ChannelNoTx, 15, 0}));
        QCOMPARE(in.cells[10].target, (CellTarget{CellKind::ChannelCell, 16, ColTxFreq}));
        QCOMPARE(cellsAt(block, Grid::Channels, 16, ColRxSignal).errors, QStringList({"line 2: there is no channel CH 17"}));
        QCOMPARE(cellsAt(block, Grid::Channels, 1, ColTxSignal).errors,
                 QStringList({"line 1: field 8 lies right of the last column"}));

        JournaledDocument f;
        const Journal& journal = f.journal;
        ImportOptions paste;
        paste.label = QStringLiteral("Paste of %1 Cells");
        const ImportReport r = applyImport(f.doc(), in, paste);
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(journal.labels, QStringList({QStringLiteral("Paste of %1 Cells").arg(r.cellsChanged)}));
        QCOMPARE(ch(f.doc(), 15).cells[ColBandWidth], QStringLiteral("Narrow"));
        QCOMPARE(ch(f.doc(), 16).cells[ColTxFreq], QStringLiteral("148.00000"));
        QCOMPARE(cellRule(f.doc(), {CellKind::ChannelCell, 1, ColChannel}, "CH 1").error,
                 QStringLiteral("\"CH 1\" is not in a cell that can be edited"));
        QCOMPARE(cellName({CellKind::TestCell, 2, TuneColRxStep}), QStringLiteral("Test CH 2 Step (kHz)"));
    }

    void jsonRefusesWhatTheExportDoesNotWrite() {
        StartedDocument f;
        Document& doc = f.doc();
        const DocumentState before = doc.state();
        const QJsonObject o{{"colour", "red"},
                            {"model", QJsonObject{{"name", "VHF Seven"}, {"size", 3}}},
                            {"channels", QJsonArray{QJsonObject{{"number", 1}, {"rx_freq", 146.52}, {"volume", "9"}},
                                                    QJsonObject{{"number", 17}}, QJsonObject{{"number", 2}, {"in_use", "yes"}}}},
                            {"settings", QJsonObject{{"Volume", "9"}, {"Beep Tone", "Loud"}}},
                            {"test_channels", "none"},
                            {"radio_info", QJsonObject{{"owner", "me"}}}};
        const ImportReport r = importJson(doc, o);
        QCOMPARE(r.errors, QStringList({
                               "channels[0].rx_freq: 146.52 is not a text",
                               "channels[0].volume: is not a key of the export",
                               "channels[1].number: 17 is not a channel (1 to 16)",
                               "channels[2].in_use: \"yes\" is not true or false",
                               "colour: is not a key of the export",
                               "model.size: is not a key of the export",
                               "radio_info.owner: is not a key of the export",
                               "settings[\"Volume\"]: is not a key of the export",
                               "test_channels: \"none\" is not an array",
                               "settings[\"Beep Tone\"]: \"Loud\" is not an entry of the \"Beep Tone\" list",
                           }));
        QVERIFY(!r.applied);
        QVERIFY(sameData(doc.state(), before));
        QCOMPARE(readImportJson("{\n  \"channels\": [1,\n}", doc.catalog()).errors.value(0),
                 QStringLiteral("line 3, column 2: object is missing after a comma"));
        QCOMPARE(readImportJson("[]", doc.catalog()).errors, QStringList({"line 1: the file holds no JSON object"}));
        QCOMPARE(readImportJson(R"({"model": {"name": "Nope"}})", doc.catalog()).errors,
                 QStringList({"model.name: \"Nope\" is not a model of the catalog"}));
    }

    // A "model" that differs from the base: that model chosen first (a new image), then the
    // rest applied - all one step.
    void jsonModelIsChosenFirst() {
        JournaledDocument f;
        Document& doc = f.doc();
        const Journal& journal = f.journal;
        const DocumentState before = doc.state();
        const ImportReport r =
            importJson(doc, QJsonObject{{"model", QJsonObject{{"position", 1}, {"name", "UHF Nine"}, {"value", 9}}},
                                        {"channels", QJsonArray{QJsonObject{{"number", 1}, {"rx_freq", "446.1"}}}}});
        QCOMPARE(r.errors, QStringList());
        QCOMPARE(r.notes, QStringList({"Model: VHF Seven -> UHF Nine (a new image for it)"}));
        QCOMPARE(doc.selectedModel(), 1);
        QCOMPARE(int(doc.data().modelByte()), 9);
        QCOMPARE(ch(doc, 1).cells[ColRxFreq], QStringLiteral("446.10000"));
        QCOMPARE(journal.labels, QStringList({"Import of 1 Cells"}));
        QVERIFY(sameData(journal.before.value(0), before));
        doc.restore(journal.before[0]);
        QCOMPARE(doc.selectedModel(), 0);
    }

    // A file's own export imported onto it changes nothing; into a new image of its model
    // it gives the same export (values outside the range clamped, with notes) - for the
    // shipped sample and a new file of every catalog model, in both forms.
    void roundTripsOfTheSampleAndEveryModel() {
        const ShippedCatalog shipped;
        VirtualClock clock;
        test::RecordingFeedback feedback;
        QTemporaryDir dir;
        QStringList files{qEnvironmentVariable("ORVANTE_SOURCE_DIR") + QStringLiteral("/data/samples/demo-radio.kvd")};
        for (int position = 0; position < shipped.catalog.size(); ++position) {
            auto doc = shipped.document(clock);
            doc->chooseModel(position, feedback);
            files << dir.filePath(QStringLiteral("model%1.kvd").arg(position));
            QCOMPARE(doc->save(files.last(), feedback), SaveStatus::Ok);
        }
        for (const QString& file : files) {
            auto base = shipped.document(clock);
            QCOMPARE(base->load(file, feedback), LoadStatus::Ok);
            const QByteArray csv = exportCsv(*base);
            const QByteArray json = QJsonDocument(exportJson(*base, {})).toJson();
            const DocumentState before = base->state();
            for (const QByteArray& exported : {csv, json}) {
                const auto input = readImportFile(exported == csv ? "x.csv" : "x.json", exported, base->catalog());
                const ImportReport same = applyImport(*base, *input);
                QVERIFY2(same.errors.isEmpty() && same.notes.isEmpty() && !same.applied, qPrintable(file));
                QVERIFY(sameData(base->state(), before));

                auto fresh = shipped.document(clock);
                fresh->chooseModel(base->selectedModel(), feedback);
                const ImportReport r = applyImport(*fresh, *input);
                QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join('\n')));
                // Clamped values are the only differences, one note each.
                const QList<QByteArray> want = csv.split('\n'), got = exportCsv(*fresh).split('\n');
                int differing = 0;
                for (int line = 0; line < want.size(); ++line)
                    differing += want[line] != got[line] ? 1 : 0;
                QVERIFY2(differing <= r.notes.size(), qPrintable(file));
                for (const QString& note : r.notes)
                    QVERIFY2(note.contains(QStringLiteral("(outside ")), qPrintable(note));
                if (r.notes.isEmpty() && exported == csv)
                    QCOMPARE(exportCsv(*fresh), csv);
                if (r.notes.isEmpty() && exported == json)
                    QCOMPARE(importedParts(exportJson(*fresh, {})), importedParts(exportJson(*base, {})));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
