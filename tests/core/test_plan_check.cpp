// The check of the plan: each warning, the cases that must not warn, the order and places of
// the warnings, and that checking changes nothing.

#include "check/PlanCheck.h"
#include "common/PlanSetup.h"
#include "common/TestSetup.h"

#include <QSignalSpy>
#include <QtTest>

using namespace orv;

namespace {

// A document on the editor catalog (model 7: standard band 136~174 MHz, typing allows
// 130~176) whose channels all have frequencies of their own.
struct Plan : test::StartedDocument {
    explicit Plan(ModelCatalog catalog = test::editorCatalog(), NumberFormat fmt = NumberFormat())
        : StartedDocument(std::move(catalog), fmt) {
        test::giveChannelsTheirOwnFrequencies(doc());
    }
    QStringList texts() const {
        QStringList out;
        for (const CheckWarning& w : checkPlan(*document))
            out << w.text;
        return out;
    }
};

const QString Band = QStringLiteral("the standard band 136.00000~174.00000 MHz");

} // namespace

class TestPlanCheck : public QObject {
    Q_OBJECT
private slots:
    void aPlannedDataSetHasNoWarnings() {
        Plan p;
        QVERIFY(checkPlan(p.doc()).empty());
    }

    // A new image puts channels 1-15 on one frequency: each of 2-15 repeats channel 1.
    void aNewImageRepeatsChannelOne() {
        test::StartedDocument s;
        const std::vector<CheckWarning> w = checkPlan(s.doc());
        QCOMPARE(int(w.size()), 14);
        QCOMPARE(w[0], (CheckWarning{CheckKind::SameReception,
                                     "CH 2: Rx Freq 136.00000 MHz and Rx CTC/DCS OFF are the same as on CH 1",
                                     {CheckPlace::ChannelGrid, 2, ColRxFreq}}));
        QCOMPARE(w[13].text, QStringLiteral("CH 15: Rx Freq 136.00000 MHz and Rx CTC/DCS OFF are the same as on CH 1"));
    }

    void frequenciesOutsideTheStandardBand() {
        Plan p;
        Document& d = p.doc();
        d.setChannelCell(3, ColRxFreq, "180.00000"); // beyond even the typing range: as it stands
        d.setChannelCell(4, ColTxFreq, "130.00000"); // inside the extended range only
        d.setChannelCell(5, ColRxFreq, "135.99999");
        d.setChannelCell(5, ColTxFreq, "174.00001");
        // The limits themselves are inside.
        d.setChannelCell(6, ColRxFreq, "136.00000");
        d.setChannelCell(6, ColTxFreq, "174.00000");
        // Not looked at: the transmit side of a receive-only channel, a channel out of use.
        d.setChannelCell(7, ColTxFreq, "176.00000");
        d.setChannelNoTx(7, true);
        d.setChannelCell(8, ColRxFreq, "176.00000");
        d.setChannelNoCh(8, true);

        const std::vector<CheckWarning> w = checkPlan(d);
        QCOMPARE(int(w.size()), 4);
        QCOMPARE(w[0], (CheckWarning{CheckKind::OutsideBand, "CH 3: Rx Freq 180.00000 MHz is outside " + Band,
                                     {CheckPlace::ChannelGrid, 3, ColRxFreq}}));
        QCOMPARE(w[1], (CheckWarning{CheckKind::OutsideBand, "CH 4: Tx Freq 130.00000 MHz is outside " + Band,
                                     {CheckPlace::ChannelGrid, 4, ColTxFreq}}));
        QCOMPARE(w[2].text, "CH 5: Rx Freq 135.99999 MHz is outside " + Band);
        QCOMPARE(w[3].text, "CH 5: Tx Freq 174.00001 MHz is outside " + Band);
        QCOMPARE(w[3].place.column, int(ColTxFreq));
    }

    // 0 MHz receive is said once, as what it is; 0 MHz transmit is outside the band.
    void aChannelWithoutReceiveFrequency() {
        Plan p;
        Document& d = p.doc();
        d.setChannelCell(4, ColRxFreq, "000.00000");
        d.setChannelCell(4, ColTxFreq, "000.00000");
        d.setChannelCell(9, ColRxFreq, "000.00000");
        d.setChannelCell(9, ColTxFreq, "000.00000");
        d.setChannelNoTx(9, true);
        d.setChannelCell(10, ColRxFreq, "000.00000");
        d.setChannelNoCh(10, true);

        const std::vector<CheckWarning> w = checkPlan(d);
        QCOMPARE(p.texts(),
                 QStringList({"CH 4: the channel is in use but has no receive frequency (Rx Freq 000.00000 MHz)",
                              "CH 4: Tx Freq 000.00000 MHz is outside " + Band,
                              "CH 9: the channel is in use but has no receive frequency (Rx Freq 000.00000 MHz)"}));
        QCOMPARE(w[0].kind, CheckKind::NoReceiveFrequency);
        QCOMPARE(w[0].place, (CheckPlace{CheckPlace::ChannelGrid, 4, ColRxFreq}));
        QCOMPARE(w[1].kind, CheckKind::OutsideBand);
    }

    void channelsReceivingTheSame() {
        Plan p;
        Document& d = p.doc();
        // 2, 6 and 11 receive 146.52000 with CTC 88.5: 6 and 11 each name 2.
        for (int ch : {2, 6, 11}) {
            d.setChannelCell(ch, ColRxFreq, "146.52000");
            d.setChannelCell(ch, ColRxSignal, "CTC 88.5");
        }
        // The same frequency with other signalling, or on a channel out of use, is no repeat;
        // nor is the same transmit side.
        d.setChannelCell(3, ColRxFreq, "146.52000");
        d.setChannelCell(3, ColRxSignal, "DCS 023");
        d.setChannelCell(4, ColRxFreq, "146.52000");
        d.setChannelCell(4, ColRxSignal, "CTC 88.5");
        d.setChannelNoCh(4, true);
        d.setChannelCell(12, ColTxFreq, "146.52000");
        d.setChannelCell(12, ColTxSignal, "CTC 88.5");

        const std::vector<CheckWarning> w = checkPlan(d);
        QCOMPARE(p.texts(), QStringList({"CH 6: Rx Freq 146.52000 MHz and Rx CTC/DCS CTC 88.5 are the same as on CH 2",
                                         "CH 11: Rx Freq 146.52000 MHz and Rx CTC/DCS CTC 88.5 are the same as on CH 2"}));
        QCOMPARE(w[1].kind, CheckKind::SameReception);
        QCOMPARE(w[1].place, (CheckPlace{CheckPlace::ChannelGrid, 11, ColRxFreq}));

        // Channels without a receive frequency are already warned about one by one.
        d.setChannelCell(6, ColRxFreq, "000.00000");
        d.setChannelCell(11, ColRxFreq, "000.00000");
        QCOMPARE(int(checkPlan(d).size()), 2);
        QCOMPARE(checkPlan(d)[0].kind, CheckKind::NoReceiveFrequency);
    }

    void thePriorityChannelOutOfUse() {
        Plan p;
        Document& d = p.doc();
        QCOMPARE(d.settings().text(Setting::PriorityCh), QStringLiteral("CH3")); // a new image's
        d.setChannelNoCh(3, true);
        const std::vector<CheckWarning> w = checkPlan(d);
        QCOMPARE(int(w.size()), 1);
        QCOMPARE(w[0], (CheckWarning{CheckKind::PriorityNotInUse, "Priority CH: CH 3 is not in use (No CH is ticked)",
                                     {CheckPlace::SettingsList, 0, 0, Setting::PriorityCh}}));

        d.selectSetting(Setting::PriorityCh, 15);
        QVERIFY(checkPlan(d).empty());
        d.setChannelNoCh(15, true);
        QCOMPARE(p.texts(), QStringList("Priority CH: CH 15 is not in use (No CH is ticked)"));
        d.selectSetting(Setting::PriorityCh, 0); // OFF
        QVERIFY(checkPlan(d).empty());
    }

    void testChannelsOutsideTheStandardBand() {
        Plan p;
        Document& d = p.doc();
        // A new data set's test channels are out of use; those are never looked at.
        d.setTestChannelCell(1, TuneColRxFreq, "180.00000");
        QVERIFY(checkPlan(d).empty());

        d.setTestChannelNoCh(2, false);
        d.setTestChannelNoTx(2, false);
        d.setTestChannelCell(2, TuneColRxFreq, "130.00000");
        d.setTestChannelCell(2, TuneColTxFreq, "175.00000");
        d.setTestChannelNoCh(3, false);
        d.setTestChannelNoTx(3, true);
        d.setTestChannelCell(3, TuneColTxFreq, "175.00000"); // receive only: not looked at
        d.setTestChannelNoCh(4, false);
        d.setTestChannelNoTx(4, false);
        d.setTestChannelCell(4, TuneColTxFreq, "174.00000");

        const std::vector<CheckWarning> w = checkPlan(d);
        QCOMPARE(int(w.size()), 2);
        QCOMPARE(w[0], (CheckWarning{CheckKind::TestChannelOutsideBand,
                                     "Test CH 2: Rx Freq 130.00000 MHz is outside " + Band,
                                     {CheckPlace::TuneGrid, 2, TuneColRxFreq}}));
        QCOMPARE(w[1].text, "Test CH 2: Tx Freq 175.00000 MHz is outside " + Band);
        QCOMPARE(w[1].place, (CheckPlace{CheckPlace::TuneGrid, 2, TuneColTxFreq}));
    }

    // Channels first, then the priority channel, then the test channels.
    void warningsInTheOrderOfTheWindow() {
        Plan p;
        Document& d = p.doc();
        d.setTestChannelNoCh(1, false);
        d.setTestChannelCell(1, TuneColRxFreq, "131.00000");
        d.setChannelNoCh(3, true);
        d.setChannelCell(15, ColTxFreq, "175.00000");
        d.setChannelCell(2, ColTxFreq, "175.00000");
        d.setChannelCell(2, ColRxFreq, "000.00000");
        QList<CheckKind> kinds;
        for (const CheckWarning& w : checkPlan(d))
            kinds << w.kind;
        QCOMPARE(kinds, QList<CheckKind>({CheckKind::NoReceiveFrequency, CheckKind::OutsideBand, CheckKind::OutsideBand,
                                          CheckKind::PriorityNotInUse, CheckKind::TestChannelOutsideBand}));
        QVERIFY(checkPlan(d)[2].text.startsWith("CH 15: Tx Freq"));
    }

    // Without a model there is no band to check against; the other warnings stay.
    void withoutAModelNoBandChecks() {
        Plan p{ModelCatalog()};
        Document& d = p.doc();
        QVERIFY(!d.selectedModelInfo());
        for (int ch : {1, 2, 3}) // a new image without a model has every channel out of use
            d.setChannelNoCh(ch, false);
        d.setChannelCell(1, ColRxFreq, "480.00000");
        d.setChannelCell(2, ColRxFreq, "000.00000");
        d.setTestChannelNoCh(1, false);
        d.setTestChannelCell(1, TuneColRxFreq, "480.00000");
        QCOMPARE(p.texts(),
                 QStringList("CH 2: the channel is in use but has no receive frequency (Rx Freq 000.00000 MHz)"));

        // A model whose catalog entry has no band (a missing INI key reads 0) is the same.
        Plan zero{ModelCatalog({{QStringLiteral("No band"), 7, 0.0, 0.0, 0.0, 0.0}})};
        zero.doc().setChannelCell(1, ColRxFreq, "480.00000");
        QVERIFY(checkPlan(zero.doc()).empty());
    }

    // The texts are compared and quoted as the window shows them, separator included.
    void aDecimalCommaDocument() {
        Plan p{test::editorCatalog(), NumberFormat(QLatin1Char(','))};
        Document& d = p.doc();
        QVERIFY(checkPlan(d).empty());
        d.setChannelCell(3, ColRxFreq, "180,00000");
        d.setChannelCell(5, ColRxFreq, d.channels().rows[0].cells[ColRxFreq]);
        QCOMPARE(p.texts(),
                 QStringList({"CH 3: Rx Freq 180,00000 MHz is outside the standard band 136,00000~174,00000 MHz",
                              "CH 5: Rx Freq 141,00000 MHz and Rx CTC/DCS OFF are the same as on CH 1"}));
    }

    void checkingChangesNothing() {
        Plan p;
        Document& d = p.doc();
        d.setChannelCell(3, ColRxFreq, "180.00000");
        d.setChannelNoCh(3, true);
        const RadioData before = d.data();
        const ChannelTable channels = d.channels();
        const TuneTable tune = d.tune();
        const bool unsaved = d.dataUnsaved();
        QSignalSpy changes(&d, &Document::changed);
        QCOMPARE(int(checkPlan(d).size()), 1);
        QCOMPARE(changes.count(), 0);
        QVERIFY(d.data() == before);
        QVERIFY(d.channels() == channels);
        QVERIFY(d.tune() == tune);
        QCOMPARE(d.dataUnsaved(), unsaved);
    }
};

QTEST_GUILESS_MAIN(TestPlanCheck)
#include "test_plan_check.moc"
