#pragma once
// The one way to talk to a radio. Every exchange - read, write, the verify after a write, the
// radio ID read, the information read and write, tune entry, a tune item with its value,
// storing or leaving it, the test-channel write and leaving tune mode - runs through an
// ExchangeRunner, which
//  - starts it on a link whose failure record is cleared and whose waits check the runner's
//    cancel token,
//  - tells its observers when it begins, how far it has got and which radio answered,
//  - and ends it with a typed result: ok, failed (with the reason and the message shown) or
//    cancelled (a question answered No).
// The history and the fleet hook in as observers.
//
// A runner, its link, its feedback and its observers belong to one thread.

#include "CancelToken.h"
#include "Feedback.h"
#include "image/RadioData.h"
#include "link/Exchanges.h"
#include "link/LinkFailure.h"
#include "link/RadioLink.h"
#include "link/TuneExchanges.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace orv::compare {
class SideOpener;
struct VerifyReport;
} // namespace orv::compare

namespace orv {

enum class ExchangeKind {
    Read,
    Write,
    InfoRead,
    InfoWrite,
    TuneEnter,         // tune mode entered (the tune area read first)
    TuneItem,          // a tune item entered on a test channel
    TuneValue,         // a live value for the active item
    TuneStore,         // the item left with its value stored in the radio (OK)
    TuneCancel,        // the item left without storing (Cancel)
    TuneWriteChannels, // the test channels written
    TuneLeave,         // tune mode ended
    Verify,            // the blocks of a write read back and compared with what was sent
    IdRead,            // the radio ID read (which radio is on the port)
};
// "read", "write", "info-read", "info-write", "tune-enter", "tune-item", "tune-value",
// "tune-store", "tune-cancel", "tune-write-channels", "tune-leave", "verify", "id-read".
QString exchangeKindName(ExchangeKind kind);

// The radio as far as an exchange got to know it.
struct RadioIdentity {
    int modelCode = -1;   // from the handshake's identity reply; -1 before it
    int dataVersion = -1; // likewise
    QString radioId;      // the 16 ID bytes (0x3E0) as characters, once a read brought them
    bool known() const { return modelCode >= 0; }
};

struct ExchangeResult {
    enum class Status { Ok, Failed, Cancelled };
    ExchangeKind kind = ExchangeKind::Read;
    Status status = Status::Failed;
    LinkFailure reason = LinkFailure::None; // why it failed; None unless Failed
    // The last message the exchange showed: the completion, the failure, or for a cancelled
    // one the question answered No.
    QString message;
    QString port; // the port's label ("COM3", a device, "Demo radio")
    RadioIdentity radio;
    // The memory image the exchange moved: a read's image (when it succeeded), or the image a
    // write sent or was sending (date stamp and data version as on the wire). Empty otherwise.
    std::optional<RadioData> image;
    bool ok() const { return status == Status::Ok; }
};

class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    virtual void exchangeStarted(ExchangeKind kind, const QString& port) { (void)kind, (void)port; }
    // The handshake's identity reply came in (and, after a read, the radio ID).
    virtual void exchangeIdentified(ExchangeKind kind, const RadioIdentity& radio) { (void)kind, (void)radio; }
    virtual void exchangeProgress(ExchangeKind kind, int value, int maximum) {
        (void)kind, (void)value, (void)maximum;
    }
    virtual void exchangeFinished(const ExchangeResult& result) { (void)result; }
};

class ExchangeRunner {
public:
    using LinkSource = std::function<RadioLink&()>;
    // `link` gives the link of the next exchange (the window looks up its COM port each time).
    ExchangeRunner(LinkSource link, Feedback& feedback);
    ExchangeRunner(RadioLink& link, Feedback& feedback);

    Feedback& feedback() { return m_feedback; }
    // The link the next exchange runs on.
    RadioLink& link() { return m_link(); }
    // Every wait of every exchange checks the token (nullptr: none). The token must outlive
    // the exchanges that use it.
    void setCancelToken(const CancelToken* token) { m_cancel = token; }
    void addObserver(ExchangeObserver* observer);
    void removeObserver(ExchangeObserver* observer);

    // The exchanges, each with the messages and progress it shows. A read fills `out` only
    // when it succeeded; the write stamps `data` and takes the handshake's data version into
    // `dataVersion` as the radio's write does.
    ExchangeResult read(const RadioData& current, ReadResult* out);
    ExchangeResult write(RadioData& data, int& dataVersion, const WriteRequest& request);
    ExchangeResult readInfo(const RadioData& current, RadioData* out);
    ExchangeResult writeInfo(const RadioData& data);
    ExchangeResult enterTune(const RadioData& current, TuneModeEntry* out);
    // The tune item steps show `failureMessage` when they fail (the tune view's one message).
    ExchangeResult enterTuneItem(int code, int testChannel, const RadioData& data, const UserMessage& failureMessage);
    ExchangeResult sendTuneValue(int code, int value, const UserMessage& failureMessage);
    ExchangeResult leaveTuneItem(int code, int testChannel, int value, bool store, const UserMessage& failureMessage);
    ExchangeResult writeTestChannels(const RadioData& data, const std::optional<UserMessage>& failureMessage = {});
    ExchangeResult leaveTune(bool itemWasLeft);
    // The verify after a write: reads back the blocks the write sent and compares them with
    // `written` (the data after the write) as it went out with `dataVersion`, both sides
    // opened by `opener`. Ok only when the radio holds every byte written. Other bytes in the
    // radio: Failed with the reason Mismatch, the differences in `report`, and the verdict
    // as the message - not shown, for the caller shows the differences and offers the write
    // again. Never writes to the radio.
    ExchangeResult verify(const RadioData& written, int dataVersion, const compare::SideOpener& opener,
                          compare::VerifyReport* report);
    // The radio ID read: the result names the radio (model code, data version, radio ID);
    // `out`, when given, gets `current` with the ID bytes on success.
    ExchangeResult readRadioId(const RadioData& current, RadioData* out = nullptr);

    // The entry point all of the above go through: `exchange` runs on the link with the
    // runner's feedback and tells whether it succeeded; the runner does the rest.
    ExchangeResult run(ExchangeKind kind, const std::function<bool(RadioLink&, Feedback&)>& exchange,
                       const std::optional<UserMessage>& failureMessage = {});
    // The same for an exchange that fills in the result what it brought (the radio ID, the
    // image) before the observers learn how it ended.
    ExchangeResult run(ExchangeKind kind, const std::function<bool(RadioLink&, Feedback&, ExchangeResult&)>& exchange,
                       const std::optional<UserMessage>& failureMessage = {});

private:
    class Tap;
    void notifyIdentified(ExchangeKind kind, const RadioIdentity& radio);
    // An exchange that brings back an image holding the radio ID: the result names the radio,
    // `out` gets the image on success.
    using ImageRead = std::function<std::optional<RadioData>(RadioLink&, Feedback&)>;
    ExchangeResult readNamingRadio(ExchangeKind kind, const ImageRead& read, RadioData* out);

    LinkSource m_link;
    Feedback& m_feedback;
    const CancelToken* m_cancel = nullptr;
    std::vector<ExchangeObserver*> m_observers;
    // An outcome the exchange states without showing it (the verify's verdict); it becomes
    // the result's message.
    QString m_unshownMessage;
};

} // namespace orv
