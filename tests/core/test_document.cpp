// The document: start-up, model change, decode and collect, loading and saving files, the
// state (origin, file, flags, caption, the unsaved-data rule) through the commands' sequences,
// and the one change notification of every edit.

#include "common/RecordingFeedback.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "files/ChannelExport.h"
#include "image/RadioInfoText.h"
#include "link/TuneExchanges.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using orv::test::RecordingFeedback;
using orv::test::fileBytes;

namespace {

ModelCatalog testCatalog() {
    return ModelCatalog({
        {QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
        {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0},
        {QStringLiteral("Other"), 12, 150.0, 160.0, 150.0, 160.0},
        {QStringLiteral("Twin Seven"), 7, 140.0, 150.0, 140.0, 150.0},
        {QStringLiteral("Spare"), 300, 1.0, 2.0, 1.0, 2.0},
        {QStringLiteral("PMR"), 32, 446.00625, 446.19375, 446.00625, 446.19375},
    });
}

struct Fixture : test::StartedDocument {
    Document& s;
    Fixture() : StartedDocument(testCatalog()), s(doc()) {}
};

// Every change notification, flattened.
struct Changes {
    QSignalSpy spy;
    explicit Changes(Document& d) : spy(&d, &Document::changed) {}
    QList<DocumentChange> take() {
        QList<DocumentChange> out;
        for (const QList<QVariant>& args : spy)
            out.append(args.at(0).value<DocumentChange>());
        spy.clear();
        return out;
    }
};

// What the document tells its journal, one line each.
struct Journal : EditJournal {
    QStringList lines;
    QList<DocumentState> befores;
    void recordStep(const QString& label, Kind kind, const DocumentState& before) override {
        lines << (kind == Kind::Edit ? QStringLiteral("edit ") : QStringLiteral("replace ")) + label;
        befores << before;
    }
    void markClean() override { lines << QStringLiteral("clean"); }
    void reset() override { lines << QStringLiteral("reset"); }
};

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<DocumentChange>(); }

    void startUpShowsANewImageForModelSeven() {
        Fixture f;
        Document& s = f.s;
        QVERIFY(f.feedback.shown.isEmpty());
        QCOMPARE(s.selectedModel(), 0);
        QCOMPARE(s.caption(), s.title());
        QCOMPARE(s.origin(), Origin::New);
        QCOMPARE(s.bandText(), QStringLiteral("136.00000~174.00000 MHz"));
        QVERIFY(!s.channelDataChanged() && !s.settingsChanged() && !s.tuneDataChanged() && !s.dataUnsaved());
        QCOMPARE(s.channels().rows[0].cells[ColRxFreq], QStringLiteral("136.00000"));
        QVERIFY(s.channels().rows[15].noCh);
        QCOMPARE(s.settings().text(Setting::Monitor), QStringLiteral("SQ OFF Momentary"));
        QCOMPARE(s.tune().rows[0].cells[TuneColRxFreq], QStringLiteral("136.00000"));
        QCOMPARE(int(s.data().modelByte()), 7);
    }

    void emptyCatalogNeverIndexesOutside() {
        VirtualClock clock;
        auto s = test::makeDocument(ModelCatalog(), clock);
        RecordingFeedback fb;
        s->startUp(fb);
        QCOMPARE(s->selectedModel(), -1);
        QVERIFY(!s->selectedModelInfo());
        QVERIFY(s->bandText().isEmpty());
        for (const ChannelRow& r : s->channels().rows)
            QVERIFY(r.noCh);
        QVERIFY(!s->chooseModel(0, fb));
        s->collect();
        QCOMPARE(int(s->data().modelByte()), 7); // no model: the byte stays
        QVERIFY(exportJson(*s, {}).value(QStringLiteral("model")).isNull());
    }

    void modelChangeAsksAndRebuilds() {
        QTemporaryDir dir;
        Fixture f;
        Document& s = f.s;
        const QString file = dir.filePath(QStringLiteral("x.kvd"));
        QCOMPARE(s.save(file, f.feedback), SaveStatus::Ok);
        const RadioData before = s.data();

        // The selected model again: no question, nothing changes.
        QVERIFY(!s.chooseModel(0, f.feedback));
        QVERIFY(f.feedback.shown.isEmpty());

        f.feedback.answers = {Answer::No};
        QVERIFY(!s.chooseModel(1, f.feedback));
        QCOMPARE(f.feedback.shown.size(), 1);
        QCOMPARE(f.feedback.shown[0].text,
                 QStringLiteral("By selecting a different Model all data will be initialized. Do you want to continue?"));
        QCOMPARE(f.feedback.shown[0].title, QStringLiteral("Model Change"));
        QCOMPARE(f.feedback.shown[0].icon, Icon::Exclamation);
        QCOMPARE(f.feedback.shown[0].buttons, Buttons::YesNo);
        QCOMPARE(s.data(), before);
        QCOMPARE(s.selectedModel(), 0);
        QCOMPARE(s.caption(), s.title() + file);

        QVERIFY(s.chooseModel(1, f.feedback)); // Yes
        QCOMPARE(s.selectedModel(), 1);
        QCOMPARE(int(s.data().modelByte()), 9);
        QCOMPARE(s.caption(), s.title());
        QCOMPARE(s.currentFileName(), file); // Save As still proposes it
        QCOMPARE(s.channels().rows[0].cells[ColRxFreq], QStringLiteral("400.00000"));
        QCOMPARE(s.tune().rows[5].cells[TuneColTxFreq], QStringLiteral("400.00000"));

        // A model value above 255 is never stored; the preset plan follows model byte 0x20.
        QVERIFY(s.chooseModel(4, f.feedback));
        QCOMPARE(int(s.data().modelByte()), 9);
        QVERIFY(s.chooseModel(5, f.feedback));
        QCOMPARE(int(s.data().modelByte()), 32);
        QCOMPARE(s.channels().rows[1].cells[ColRxSignal], QStringLiteral("CTC 88.5"));
        // Settings byte 0 0x78 has scan mode 3: the list keeps its previous entry.
        QCOMPARE(s.settings().text(Setting::ScanMode), QStringLiteral("CO"));
    }

    void decodeFindsTheFirstModelAndKeepsFlags() {
        Fixture f;
        Document& s = f.s;
        RadioData d = s.data();
        d.modelBlock()[2] = 7;
        QVERIFY(s.setChannelCell(1, ColScan, QStringLiteral("Delete")));
        test::takeBytes(s, d, f.feedback);
        QCOMPARE(s.selectedModel(), 0); // "Twin Seven" has the same value but comes later
        QVERIFY(s.channelDataChanged());
        QVERIFY(!s.settingsChanged());
        d.modelBlock()[2] = 99; // no model: the selection stays
        test::takeBytes(s, d, f.feedback);
        QCOMPARE(s.selectedModel(), 0);
    }

    void collectThenDecodeReproducesTheEditors() {
        Fixture f;
        Document& s = f.s;
        QVERIFY(s.selectSetting(Setting::PriorityCh, 15));
        QVERIFY(s.channelDataChanged() && !s.settingsChanged());
        QVERIFY(s.selectSetting(Setting::PowerSelect, 2));
        QVERIFY(s.settingsChanged());
        QVERIFY(s.setChannelCell(5, ColRxSignal, QStringLiteral("-DCS 754")));
        QVERIFY(s.setChannelCell(5, ColTxSignal, QStringLiteral("TTS 3")));
        QVERIFY(s.toggleChannelCell(5, ColPower));
        QVERIFY(s.setChannelNoTx(5, true));
        const ChannelTable table = s.channels();
        const SettingsSelection selection = s.settings();
        s.collect();
        QVERIFY(s.channelDataChanged() && s.settingsChanged()); // collecting is not saving
        test::takeBytes(s, s.data(), f.feedback);
        QVERIFY(f.feedback.shown.isEmpty());
        QCOMPARE(s.channels(), table);
        QCOMPARE(s.settings(), selection);
    }

    void loadReplacesEverythingOrNothing() {
        QTemporaryDir dir;
        Fixture f;
        Document& s = f.s;
        // A file with bad settings and another model.
        RadioData other = s.data();
        other.modelBlock()[2] = 9;
        other.functionSettings()[7] = 0x31;  // "Error TOT Time!"
        other.functionSettings()[11] = 0x0A; // "Error Squelch Level!"
        other.channel(0)[2] = std::uint8_t((other.channel(0)[2] & 0x0F) | 0x80); // TTS
        other.channel(0)[3] = 4;
        other.spare[7] = 0x99;
        const QString good = dir.filePath(QStringLiteral("good.kvd"));
        QCOMPARE(writeDataFile(good, other), SaveStatus::Ok);

        // A failure first: nothing changes, the message is shown.
        const RadioData before = s.data();
        const ChannelTable tableBefore = s.channels();
        const QString damaged = dir.filePath(QStringLiteral("damaged.kvd"));
        QVERIFY(orv::test::putFile(damaged, fileBytes(good).left(0x3E0))); // cut inside slot 7
        QVERIFY(s.setChannelNoCh(3, true));
        Changes changes(s);
        QCOMPARE(s.load(damaged, f.feedback), LoadStatus::Damaged);
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("The file is damaged! Please confirm it.")});
        QVERIFY(changes.take().isEmpty());
        QCOMPARE(s.data(), before);
        QVERIFY(s.channels() != tableBefore && s.channels().rows[2].noCh);
        QVERIFY(s.channelDataChanged());
        QCOMPARE(s.caption(), s.title());

        f.feedback.clear();
        QCOMPARE(s.load(good, f.feedback), LoadStatus::Ok);
        QCOMPARE(f.feedback.texts(), (QStringList{QStringLiteral("Error TOT Time!"), QStringLiteral("Error Squelch Level!")}));
        QCOMPARE(s.selectedModel(), 1);
        QCOMPARE(s.caption(), s.title() + good);
        QCOMPARE(s.currentFileName(), good);
        QCOMPARE(s.savePath(), std::optional<QString>(good));
        QVERIFY(!s.channelDataChanged() && !s.settingsChanged() && !s.dataUnsaved());
        QCOMPARE(s.channels().rows[0].cells[ColRxSignal], QStringLiteral("TTS 4"));
        QVERIFY(s.settings().isMarked(Setting::SquelchLevel));
        const QList<DocumentChange> seen = changes.take();
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].has(DocumentChange::Replaced) && seen[0].has(DocumentChange::State));
    }

    void fileThroughTheEditorsIsByteIdentical() {
        QTemporaryDir dir;
        Fixture f;
        Document& s = f.s;
        // A realistic data set: edited channels, a TTS channel, settings, spare bytes, text.
        RadioData raw = s.data();
        raw.spare.fill(0x3C);
        raw.image[0x3F5] = 0xA5;
        test::takeBytes(s, raw, f.feedback);
        QVERIFY(s.setChannelCell(3, ColRxFreq, QStringLiteral("146.52000")));
        QVERIFY(s.setChannelCell(3, ColTxSignal, QStringLiteral("TTS 9")));
        QVERIFY(s.setChannelNoCh(8, true));
        QVERIFY(s.selectSetting(Setting::LookBack, 47));
        QVERIFY(s.setInfoText(QStringLiteral("Fleet 7, site B")));
        const QString first = dir.filePath(QStringLiteral("first.kvd"));
        QCOMPARE(s.save(first, f.feedback), SaveStatus::Ok);

        for (const QString& name : {QStringLiteral("second.kvd"), QStringLiteral("third.pvlt")}) {
            Fixture g;
            QCOMPARE(g.s.load(first, g.feedback), LoadStatus::Ok);
            const QString path = dir.filePath(name);
            QCOMPARE(g.s.save(path, g.feedback), SaveStatus::Ok);
            QCOMPARE(g.s.dataVersion(), name.endsWith(QLatin1String(".pvlt")) ? 0 : 2);
            if (name.endsWith(QLatin1String(".kvd"))) {
                QCOMPARE(fileBytes(path), fileBytes(first));
            } else {
                Fixture h; // the old file reads back to the same data
                QCOMPARE(h.s.load(path, h.feedback), LoadStatus::Ok);
                QCOMPARE(h.s.data(), g.s.data());
            }
        }
    }

    // The caption and the unsaved-data rule follow the state through what the window's
    // commands do, in the order a technician does them.
    void stateThroughTheCommands() {
        QTemporaryDir dir;
        Fixture f;
        Document& s = f.s;
        const QString title = s.title();
        struct Expect {
            Origin origin;
            QString caption;
            bool unsaved;
            std::optional<QString> savePath;
        };
        const auto check = [&](const char* step, const Expect& e) {
            QVERIFY2(s.origin() == e.origin, step);
            QVERIFY2(s.caption() == e.caption, qPrintable(QString::fromLatin1(step) + QStringLiteral(": ") + s.caption()));
            QVERIFY2(s.dataUnsaved() == e.unsaved, step);
            QVERIFY2(s.savePath() == e.savePath, step);
        };
        const QString file = dir.filePath(QStringLiteral("a.kvd"));
        QCOMPARE(writeDataFile(file, s.data()), SaveStatus::Ok);

        check("start-up", {Origin::New, title, false, std::nullopt});
        QCOMPARE(s.load(file, f.feedback), LoadStatus::Ok);
        check("open", {Origin::File, title + file, false, file});
        QVERIFY(s.setChannelCell(2, ColRxFreq, QStringLiteral("150.00000")));
        check("edit", {Origin::File, title + file, true, file});

        // A save that fails keeps the data unsaved and the file as it was.
        const QString blocked = dir.filePath(QStringLiteral("a.kvd/inside.kvd"));
        QCOMPARE(s.save(blocked, f.feedback), SaveStatus::OpenFailed);
        QCOMPARE(f.feedback.texts().last(), QStringLiteral("Save File Error!"));
        check("failed save", {Origin::File, title + file, true, file});
        QVERIFY(s.channelDataChanged());
        QCOMPARE(s.save(file, f.feedback), SaveStatus::Ok);
        check("save", {Origin::File, title + file, false, file});

        RadioData radio = s.data();
        radio.channel(4)[10] ^= 0x20;
        test::takeBytes(s, radio, f.feedback);
        check("read", {Origin::Read, QStringLiteral("Read Complete - ") + title, true, std::nullopt});

        // A write that stops keeps the edits unsaved; one that succeeds says "Write Complete".
        QVERIFY(s.setChannelCell(2, ColTxFreq, QStringLiteral("151.00000")));
        s.applyWrite(s.data(), 2, false);
        check("failed write", {Origin::Read, QStringLiteral("Read Complete - ") + title, true, std::nullopt});
        QVERIFY(s.channelDataChanged());
        s.applyWrite(s.data(), 2, true);
        check("write", {Origin::Written, QStringLiteral("Write Complete - ") + title, true, std::nullopt});
        QVERIFY(!s.channelDataChanged() && !s.settingsChanged());

        TuneModeEntry entry{s.data(), 7, {2, 0}};
        s.applyTuneEntry(entry);
        check("tune", {Origin::Tuning, QStringLiteral("While tuning - ") + title, false, std::nullopt});
        QVERIFY(s.setTestChannelNoCh(1, !s.tune().rows[0].noCh));
        check("test channel edited", {Origin::Tuning, QStringLiteral("While tuning - ") + title, false, std::nullopt});
        QVERIFY(s.tuneDataChanged());
        s.leaveTuneView();
        check("exit tune", {Origin::New, title, false, std::nullopt});
        s.leaveTuneView();
        check("exit tune again", {Origin::New, title, false, std::nullopt});

        QVERIFY(s.selectSetting(Setting::BeepTone, 1));
        check("setting", {Origin::New, title, true, std::nullopt});
        s.newData(f.feedback);
        check("new", {Origin::New, title, false, std::nullopt});
        QCOMPARE(s.currentFileName(), file); // Save As proposes it
    }

    // Each edit that changes something says so once, with what changed; an edit that changes
    // nothing, or names no channel, says nothing.
    void everyEditNotifiesOnce() {
        Fixture f;
        Document& s = f.s;
        Changes changes(s);
        const auto one = [&](unsigned parts, int row) {
            const QList<DocumentChange> seen = changes.take();
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].parts, parts);
            QCOMPARE(seen[0].row, row);
        };
        const unsigned channelEdit = DocumentChange::Channels | DocumentChange::State;
        QVERIFY(s.setChannelCell(4, ColRxFreq, QStringLiteral("140.00000")));
        one(channelEdit, 4);
        QVERIFY(!s.setChannelCell(4, ColRxFreq, QStringLiteral("140.00000")));
        QVERIFY(!s.setChannelCell(0, ColRxFreq, QStringLiteral("1")));
        QVERIFY(!s.setChannelCell(17, ColRxFreq, QStringLiteral("1")));
        QVERIFY(!s.setChannelCell(1, ColChannel, QStringLiteral("CH 9")));
        QVERIFY(!s.setChannelCell(1, ChannelColumnCount, QStringLiteral("x")));
        QVERIFY(!s.setChannelNoCh(4, false));
        QVERIFY(changes.take().isEmpty());
        QVERIFY(s.setChannelNoTx(4, true));
        one(channelEdit, 4);

        // Toggles: not on the transmit side of a receive-only channel, nor on a channel out of
        // use, nor on the band width while the global band width is "Narrow".
        QVERIFY(!s.toggleChannelCell(4, ColPower));
        QVERIFY(s.toggleChannelCell(4, ColScan));
        one(channelEdit, 4);
        QCOMPARE(s.channels().rows[3].cells[ColScan], QStringLiteral("Delete"));
        QVERIFY(!s.toggleChannelCell(16, ColScan)); // channel 16 is out of use
        QVERIFY(!s.toggleChannelCell(4, ColRxFreq));
        QVERIFY(s.selectSetting(Setting::BandWidth, 1));
        one(DocumentChange::Settings | DocumentChange::State | DocumentChange::Channels, 0);
        QCOMPARE(s.channels().rows[0].cells[ColBandWidth], QStringLiteral("Narrow"));
        QVERIFY(!s.toggleChannelCell(1, ColBandWidth));
        QVERIFY(!s.selectSetting(Setting::BandWidth, 2)); // no such entry
        QVERIFY(changes.take().isEmpty());

        const unsigned testEdit = DocumentChange::TestChannels | DocumentChange::State;
        QVERIFY(s.setTestChannelCell(2, TuneColRxFreq, QStringLiteral("150.00000")));
        one(testEdit, 2);
        QVERIFY(s.toggleTestStep(2, TuneColRxStep));
        one(testEdit, 2);
        QCOMPARE(s.tune().rows[1].cells[TuneColRxStep], QStringLiteral("5.00"));
        QVERIFY(!s.toggleTestStep(2, TuneColRxFreq));
        QVERIFY(!s.selectTestChannel(3)); // "No CH"
        QVERIFY(s.setTestChannelNoCh(3, false));
        one(testEdit, 3);
        QVERIFY(s.selectTestChannel(3));
        one(DocumentChange::TestChannels, 0);
        QCOMPARE(s.currentTestChannel(), 3);
        QVERIFY(!s.selectTestChannel(12));

        QVERIFY(s.setInfoText(QStringLiteral("Hello")));
        one(DocumentChange::RadioInfo | DocumentChange::State, 0);
        QVERIFY(!s.setInfoText(QStringLiteral("Hello")));
        QVERIFY(changes.take().isEmpty());
    }

    // The information text counts as a change of the settings only when its bytes change;
    // a radio information read takes the top page only.
    void radioInformationEdits() {
        Fixture f;
        Document& s = f.s;
        const QString long100 = QString(100, QLatin1Char('x'));
        QVERIFY(s.setInfoText(long100));
        QCOMPARE(s.infoText().left(96), QString(96, QLatin1Char('x')));
        QVERIFY(s.settingsChanged());

        Fixture g;
        RadioData radio = g.s.data();
        storeInfoText(QStringLiteral("From the radio"), radio);
        radio.radioId()[0] = 'Z';
        radio.channel(0)[0] ^= 0xFF; // outside the information block: never taken
        g.s.applyInfoRead(radio);
        QCOMPARE(g.s.infoText().left(14), QStringLiteral("From the radio"));
        QCOMPARE(g.s.radioId().at(0), QLatin1Char('Z'));
        QVERIFY(g.s.data().channel(0)[0] != radio.channel(0)[0]);
        QVERIFY(g.s.settingsChanged());

        Fixture h;
        RadioData sameText = h.s.data();
        sameText.radioId()[0] = 'Q';
        h.s.applyInfoRead(sameText);
        QVERIFY(!h.s.settingsChanged()); // the ID alone is no edit of the user's
    }

    // A channel coming into use with a frequency no radio of the model can take gets the one
    // typing would give, and a note says so; frequencies inside the range stay as they are.
    void channelsComingIntoUseAreBroughtIntoRange() {
        Fixture f;
        Document& s = f.s;
        RadioData radio = s.data();
        for (int n : {14, 15}) // out of use, at 0 MHz
            std::fill(radio.channel(n).begin(), radio.channel(n).end(), std::uint8_t(0));
        radio.channel(14)[7] = 0x08; // channel 15 may transmit
        std::fill(radio.testChannel(2).begin(), radio.testChannel(2).end(), std::uint8_t(0));
        test::takeBytes(s, radio, f.feedback);
        QSignalSpy notes(&s, &Document::noted);

        QVERIFY(s.setChannelNoCh(15, false));
        QCOMPARE(s.channels().rows[14].cells[ColRxFreq], QStringLiteral("130.00000"));
        QCOMPARE(s.channels().rows[14].cells[ColTxFreq], QStringLiteral("130.00000"));
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.takeFirst().at(0).toString(),
                 QStringLiteral("CH 15 Rx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000  "
                                "CH 15 Tx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000"));

        // Receive only: the transmit side waits until it may transmit.
        QVERIFY(s.channels().rows[15].noTx);
        QVERIFY(s.setChannelNoCh(16, false));
        QCOMPARE(s.channels().rows[15].cells[ColTxFreq], QStringLiteral("000.00000"));
        notes.clear();
        QVERIFY(s.setChannelNoTx(16, false));
        QCOMPARE(s.channels().rows[15].cells[ColTxFreq], QStringLiteral("130.00000"));
        QCOMPARE(notes.size(), 1);

        // Inside the range nothing moves and nothing is said.
        notes.clear();
        QVERIFY(s.setChannelNoCh(1, true) && s.setChannelNoCh(1, false));
        QCOMPARE(s.channels().rows[0].cells[ColRxFreq], QStringLiteral("136.00000"));
        QVERIFY(notes.isEmpty());

        // A test channel by its own rule: on its step's raster.
        QVERIFY(s.setTestChannelNoCh(3, false));
        QCOMPARE(s.tune().rows[2].cells[TuneColRxFreq], QStringLiteral("130.00000"));
        QCOMPARE(s.tune().rows[2].cells[TuneColTxFreq], QStringLiteral("000.00000")); // No Tx
        QCOMPARE(notes.takeFirst().at(0).toString(),
                 QStringLiteral("Test CH 3 Rx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000"));
        QVERIFY(s.tuneDataChanged() && s.channelDataChanged());
    }

    // Each edit is one step with the state before it; steps nest into the outermost; nothing
    // is told for an edit that changes nothing; Open and Read replace and are clean points;
    // New and tune mode start afresh; restoring a state shows it anew.
    void stepsForUndo() {
        QTemporaryDir dir;
        Fixture f;
        Document& s = f.s;
        Journal journal;
        s.setJournal(&journal);
        const DocumentState start = s.state();
        QVERIFY(s.setChannelCell(2, ColRxFreq, QStringLiteral("150.00000")));
        QVERIFY(!s.setChannelCell(2, ColRxFreq, QStringLiteral("150.00000")));
        {
            Document::Step paste(s, QStringLiteral("Paste of 2 Cells"));
            QVERIFY(s.setChannelCell(3, ColRxFreq, QStringLiteral("151.00000")));
            QVERIFY(s.setChannelNoTx(3, true));
        }
        { Document::Step nothing(s, QStringLiteral("Paste of 0 Cells")); }
        const QString file = dir.filePath(QStringLiteral("x.kvd"));
        QCOMPARE(s.save(file, f.feedback), SaveStatus::Ok);
        QCOMPARE(s.load(file, f.feedback), LoadStatus::Ok);
        test::takeBytes(s, s.data(), f.feedback);
        s.newData(f.feedback);
        s.applyTuneEntry(TuneModeEntry{s.data(), 7, {2, 0}});
        QCOMPARE(journal.lines, (QStringList{"edit Edit of CH 2 Rx Freq(MHz)", "edit Paste of 2 Cells", "clean",
                                             "replace Open", "clean", "replace Read", "clean", "reset", "reset"}));
        QVERIFY(journal.befores[0].channels == start.channels);
        QCOMPARE(journal.befores[1].channels.rows[1].cells[ColRxFreq], QStringLiteral("150.00000"));

        Changes changes(s);
        s.restore(start);
        QCOMPARE(s.channels(), start.channels);
        QCOMPARE(s.origin(), Origin::New);
        QVERIFY(changes.take().value(0).has(DocumentChange::Replaced));
        s.setJournal(nullptr);
    }

    void exportHasExactlyTheAgreedKeys() {
        Fixture f;
        const QJsonObject o = exportJson(f.s, {QStringLiteral("m")});
        QStringList keys = o.keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"channels", "data_version", "messages", "model", "model_byte", "radio_info",
                                    "settings", "test_channels", "tune_values"}));
        QCOMPARE(o.value("settings").toObject().value("Power Select").toString(), QStringLiteral("Short [MONI]"));
        QCOMPARE(o.value("model").toObject().value("name").toString(), QStringLiteral("VHF Seven"));
        QCOMPARE(o.value("radio_info").toObject().value("last_programmed").toString(),
                 QStringLiteral("2005-04-29, 13:45:02"));
    }

    // A document in a comma locale shows and reads commas; another document at the same time
    // keeps its points.
    void numberFormatBelongsToTheDocument() {
        test::StartedDocument comma(test::editorCatalog(), NumberFormat(QLatin1Char(',')));
        test::StartedDocument point;
        QCOMPARE(comma.doc().channels().rows[0].cells[ColRxFreq], QStringLiteral("136,00000"));
        QCOMPARE(point.doc().channels().rows[0].cells[ColRxFreq], QStringLiteral("136.00000"));
        QCOMPARE(comma.doc().validChannelFrequency(QStringLiteral("146,52")), std::optional<QString>("146,52000"));
        QCOMPARE(point.doc().validChannelFrequency(QStringLiteral("146,52")), std::nullopt);
        QCOMPARE(comma.doc().settings().items(Setting::LookBack).at(2), QStringLiteral("0,5s"));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
