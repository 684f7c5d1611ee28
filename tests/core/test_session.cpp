// The session: what the window does to the data on start-up, model change, decode and
// encode, and loading and saving files.

#include "catalog/IniFile.h"
#include "catalog/NumberText.h"
#include "common/RecordingFeedback.h"
#include "common/TestFiles.h"
#include "files/ChannelExport.h"
#include "image/ChannelCodec.h"
#include "session/Session.h"

#include <QFile>
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

StartupValues startupValues() {
    StartupValues v;
    v.title = QStringLiteral("ORVANTE Programming Software");
    v.modelCount = 6;
    return v;
}

struct Fixture {
    VirtualClock clock;
    Session session{startupValues(), testCatalog(), clock};
    RecordingFeedback feedback;
    Fixture() { session.startUp(feedback); }
};

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void init() { setDecimalSeparator(QLatin1Char('.')); }

    void startUpShowsANewImageForModelSeven() {
        Fixture f;
        Session& s = f.session;
        QVERIFY(f.feedback.shown.isEmpty());
        QCOMPARE(s.selectedModel(), 0);
        QCOMPARE(s.caption, s.title());
        QCOMPARE(s.bandText(), QStringLiteral("136.00000~174.00000 MHz"));
        QVERIFY(!s.channelDataChanged && !s.settingsChanged && !s.tuneDataChanged);
        QCOMPARE(s.channels().rows[0].cells[ColRxFreq], QStringLiteral("136.00000"));
        QVERIFY(s.channels().rows[15].noCh);
        QCOMPARE(s.settings().text(Setting::Monitor), QStringLiteral("SQ OFF Momentary"));
        QCOMPARE(s.tune().rows[0].cells[TuneColRxFreq], QStringLiteral("136.00000"));
        QCOMPARE(int(s.data().modelByte()), 7);
    }

    void emptyCatalogNeverIndexesOutside() {
        VirtualClock clock;
        Session s(startupValues(), ModelCatalog(), clock);
        RecordingFeedback fb;
        s.startUp(fb);
        QCOMPARE(s.selectedModel(), -1);
        QVERIFY(!s.selectedModelInfo());
        QVERIFY(s.bandText().isEmpty());
        for (const ChannelRow& r : s.channels().rows)
            QVERIFY(r.noCh);
        QVERIFY(!s.chooseModel(0, fb));
        s.encodeSettings();
        QCOMPARE(int(s.data().modelByte()), 7); // no model: the byte stays
        QVERIFY(exportJson(s, {}).value(QStringLiteral("model")).isNull());
    }

    void modelChangeAsksAndRebuilds() {
        Fixture f;
        Session& s = f.session;
        s.caption = s.title() + QStringLiteral("/tmp/x.kvd");
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
        QCOMPARE(s.caption, s.title() + QStringLiteral("/tmp/x.kvd"));

        QVERIFY(s.chooseModel(1, f.feedback)); // Yes
        QCOMPARE(s.selectedModel(), 1);
        QCOMPARE(int(s.data().modelByte()), 9);
        QCOMPARE(s.caption, s.title());
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
        Session& s = f.session;
        s.data().modelBlock()[2] = 7;
        s.channelDataChanged = true;
        s.decodeSettings(f.feedback);
        QCOMPARE(s.selectedModel(), 0); // "Twin Seven" has the same value but comes later
        QVERIFY(s.channelDataChanged);
        QVERIFY(!s.settingsChanged);
        s.data().modelBlock()[2] = 99; // no model: the selection stays
        s.decodeSettings(f.feedback);
        QCOMPARE(s.selectedModel(), 0);
    }

    void encodeThenDecodeReproducesTheEditors() {
        Fixture f;
        Session& s = f.session;
        QVERIFY(s.selectSetting(Setting::PriorityCh, 15));
        QVERIFY(s.channelDataChanged && !s.settingsChanged);
        QVERIFY(s.selectSetting(Setting::PowerSelect, 2));
        QVERIFY(s.settingsChanged);
        s.channels().rows[4].cells[ColRxSignal] = QStringLiteral("-DCS 754");
        s.channels().rows[4].cells[ColTxSignal] = QStringLiteral("TTS 3");
        s.channels().rows[4].cells[ColPower] = QStringLiteral("Low");
        s.channels().rows[4].noTx = true;
        const ChannelTable table = s.channels();
        const SettingsSelection selection = s.settings();
        s.encodeSettings();
        QVERIFY(!s.channelDataChanged && !s.settingsChanged);
        s.decodeSettings(f.feedback);
        QVERIFY(f.feedback.shown.isEmpty());
        QCOMPARE(s.channels(), table);
        QCOMPARE(s.settings(), selection);
        QVERIFY(!s.channelDataChanged && !s.settingsChanged);
    }

    void loadReplacesEverythingOrNothing() {
        QTemporaryDir dir;
        Fixture f;
        Session& s = f.session;
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
        s.channelDataChanged = true;
        QCOMPARE(s.loadDataFile(damaged, f.feedback), LoadStatus::Damaged);
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("The file is damaged! Please confirm it.")});
        QCOMPARE(s.data(), before);
        QCOMPARE(s.channels(), tableBefore);
        QVERIFY(s.channelDataChanged);
        QCOMPARE(s.caption, s.title());

        f.feedback.clear();
        QCOMPARE(s.loadDataFile(good, f.feedback), LoadStatus::Ok);
        QCOMPARE(f.feedback.texts(), (QStringList{QStringLiteral("Error TOT Time!"), QStringLiteral("Error Squelch Level!")}));
        QCOMPARE(s.selectedModel(), 1);
        QCOMPARE(s.caption, s.title() + good);
        QCOMPARE(s.currentFileName, good);
        QVERIFY(!s.channelDataChanged && !s.settingsChanged);
        QCOMPARE(s.channels().rows[0].cells[ColRxSignal], QStringLiteral("TTS 4"));
        QVERIFY(s.settings().isMarked(Setting::SquelchLevel));
    }

    void fileThroughTheEditorsIsByteIdentical() {
        QTemporaryDir dir;
        Fixture f;
        Session& s = f.session;
        // A realistic data set: edited channels, a TTS channel, settings, spare bytes, text.
        s.channels().rows[2].cells[ColRxFreq] = QStringLiteral("146.52000");
        s.channels().rows[2].cells[ColTxSignal] = QStringLiteral("TTS 9");
        s.channels().rows[7].noCh = true;
        s.selectSetting(Setting::LookBack, 47);
        s.data().spare.fill(0x3C);
        s.data().image[0x3F5] = 0xA5;
        s.encodeSettings();
        const QString first = dir.filePath(QStringLiteral("first.kvd"));
        QCOMPARE(s.writeDataFile(first, f.feedback), SaveStatus::Ok);

        for (const QString& name : {QStringLiteral("second.kvd"), QStringLiteral("third.pvlt")}) {
            Fixture g;
            QCOMPARE(g.session.loadDataFile(first, g.feedback), LoadStatus::Ok);
            g.session.encodeSettings();
            const QString path = dir.filePath(name);
            QCOMPARE(g.session.writeDataFile(path, g.feedback), SaveStatus::Ok);
            QCOMPARE(g.session.dataVersion(), name.endsWith(QLatin1String(".pvlt")) ? 0 : 2);
            if (name.endsWith(QLatin1String(".kvd"))) {
                QCOMPARE(fileBytes(path), fileBytes(first));
            } else {
                Fixture h; // the old file reads back to the same data
                QCOMPARE(h.session.loadDataFile(path, h.feedback), LoadStatus::Ok);
                QCOMPARE(h.session.data(), g.session.data());
            }
        }
    }

    void exportHasExactlyTheAgreedKeys() {
        Fixture f;
        const QJsonObject o = exportJson(f.session, {QStringLiteral("m")});
        QStringList keys = o.keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"channels", "data_version", "messages", "model", "model_byte", "radio_info",
                                    "settings", "test_channels", "tune_values"}));
        QCOMPARE(o.value("settings").toObject().value("Power Select").toString(), QStringLiteral("Short [MONI]"));
        QCOMPARE(o.value("model").toObject().value("name").toString(), QStringLiteral("VHF Seven"));
        QCOMPARE(o.value("radio_info").toObject().value("last_programmed").toString(),
                 QStringLiteral("2005-04-29, 13:45:02"));
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
