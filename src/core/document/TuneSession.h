#pragma once
// The tune workspace's state and what each user action in it sends to the radio: entering
// tune mode, choosing the test channel, a page of the tree (the test channels or one of the
// seven tune items), moving the value, OK, Cancel, writing the test channels and leaving. The
// window shows this state; the command line tool drives the same actions. Every exchange
// goes through the exchange runner it is given.
//
// Tune state: 0 none, 1 tune mode entered, 2 an item is active, 3 the item was left.

#include "Feedback.h"

#include <QString>

namespace orv {

class Document;
class ExchangeRunner;

class TuneSession {
public:
    explicit TuneSession(Document& document) : m_document(document) {}

    enum State { None = 0, Entered = 1, ItemActive = 2, ItemLeft = 3 };
    int state() const { return m_state; }
    // 0 none, 1..7 (item code + 1): the item last chosen.
    int currentItem() const { return m_currentItem; }
    // The test channel used for tuning, 1..11 (0 none).
    int currentTestChannel() const;
    // Set when the test-channel page is chosen, cleared when an item is entered.
    bool testPageShown() const { return m_testPageShown; }
    // Which page is visible: the test channels (fraTuneSet) and the item (fraTune).
    bool testPageVisible() const { return m_testPageVisible; }
    bool itemPageVisible() const { return m_itemPageVisible; }
    // The caption of the item page: the caption of the item last chosen.
    QString itemCaption() const { return m_itemCaption; }
    // The value bar of the item page.
    int value() const { return m_value; }
    // A line for the item page when the item cannot work as the test channel stands: a CTC
    // deviation item on a test channel that transmits no CTC tone, a DCS one on a test channel
    // that transmits no DCS code ("" otherwise). The item opens all the same.
    QString itemNote() const;

    // The radio in tune mode: the catalog position of its model (-1 when the catalog has no
    // model of its code), the model's name ("Unknown model (code 40)" then) and standard
    // range ("136.00000 ~ 174.00000 MHz", empty then).
    int modelPosition() const { return m_modelPosition; }
    int modelCode() const { return m_modelCode; }
    QString modelName() const;
    QString rangeText() const;

    // --- actions --------------------------------------------------------------------------
    // The Tune command: reads the tune area, puts the radio into tune mode; on success the
    // test channels and tune values are taken, the caption reads "While tuning - " + title,
    // the first test channel in use becomes current and the test page shows. A failure keeps
    // the data and the state as they were. Returns true on success.
    bool enterTuneMode(ExchangeRunner& runner);
    // optTestCh: false (nothing changes) for a number outside 1..11 or a "No CH" test channel.
    bool selectTestChannel(int testChannel);
    // "Tune Channels Setting": leaves an active item without storing, shows the test page.
    void chooseTestPage(ExchangeRunner& runner);
    // A tune item (1..7): leaves another active item without storing, then enters this one
    // (asking first to write changed test channels) and sends its stored value. Choosing the
    // active item again sends nothing.
    void chooseItem(int item, ExchangeRunner& runner);
    // The value bar moved: the value goes to the radio at once.
    void moveValue(int value, ExchangeRunner& runner);
    // OK: the value is stored in the tune values and in the radio. Cancel: left unstored.
    // Both tell whether the radio confirmed leaving the item.
    bool ok(ExchangeRunner& runner);
    bool cancel(ExchangeRunner& runner);
    // "&Write Frequencies of Tune": the tune grid into the test-channel records, then to the
    // radio, with the completion message. Returns true when written.
    bool writeTestChannels(ExchangeRunner& runner);
    // Ends tune mode (nothing at all in state 0) and hides both pages; the port is closed.
    // With an item active the item is left as Cancel does, message included.
    void leaveTuneMode(ExchangeRunner& runner);

    // The test channels were shown again from the data (a read, a load, a new image).
    void refilled() { m_state = None; }

private:
    bool writeTuneChannels(ExchangeRunner& runner, bool withTuneError);
    // The enter and leave steps; a failure shows the tune view's message.
    bool enterItem(int code, ExchangeRunner& runner);
    bool leaveItem(int code, bool store, ExchangeRunner& runner);
    void showItem(int code, ExchangeRunner& runner);

    Document& m_document;
    int m_state = None;
    int m_currentItem = 0;
    bool m_testPageShown = false;
    bool m_testPageVisible = false;
    bool m_itemPageVisible = false;
    QString m_itemCaption;
    int m_value = 0;
    int m_modelPosition = -1;
    int m_modelCode = -1;
};

} // namespace orv
