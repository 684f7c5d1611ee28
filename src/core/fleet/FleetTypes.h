#pragma once
// What a fleet run is made of: the data every radio gets, the run's options, the ports, and
// what it tells as it goes - the state of each port and one record for each radio.

#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "image/RadioData.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <optional>

namespace orv {
class Document;
class Feedback;
namespace sim {
class VirtualRadio;
}
} // namespace orv

namespace orv::fleet {

// The data sent to every radio, as the window's Write sends them: the editors collected into
// the image, the data version, and the selected model the radio must be.
struct FleetPayload {
    QString name;         // the file's name, or what the window calls its current data
    RadioData data;       // the editors collected
    int dataVersion = 2;
    int modelValue = -1;  // the selected model's value (-1: none)
    QString modelName;
    QString appTitle;     // the title of the write's questions
    ModelCatalog catalog; // the verify opens both sides with these
    NumberFormat numbers;
};
// `document` with its editors collected (the document's image takes them, as Write does).
FleetPayload payloadOf(Document& document, const QString& name);
// The data file `path` opened as Open opens it, on a document started as `like` was (its
// catalog, numbers and clock), and collected. Nothing when it cannot be opened: its message
// went to `feedback`.
std::optional<FleetPayload> payloadFromFile(const Document& like, const QString& path, Feedback& feedback);

struct FleetOptions {
    bool backup = false; // a full read kept as a backup before the write; no backup, no write
    bool verify = false; // the verify after the write
    // The information text written after the write: {n} the radio's number, {id} its radio ID
    // (trimmed), {date} the date (yyyy-MM-dd), {port} the port. Nothing: none written.
    std::optional<QString> infoTemplate;
    // 0: batch, one radio per port. N > 0: swap, each port programs the next radio connected
    // to it until N radios in all are programmed.
    int count = 0;
    // Swap: the next radio is the one connected when Next is given, instead of the next radio
    // ID that answers the port's poll.
    bool prompt = false;
    // A radio of another model than the data's is written (otherwise it fails).
    bool allowOtherModel = false;
    bool swap() const { return count > 0; }
};

// A port of the run: a serial port (a COM number or a device, as the user named it), or a
// virtual radio kept by the caller for the run's whole length.
struct FleetPort {
    QString name;
    sim::VirtualRadio* virtualRadio = nullptr;
};

enum class PortState { Waiting, Identifying, BackingUp, Writing, Verifying, WritingInfo, Done, Failed };
// "waiting", "identifying", "backing up", "writing 45 %", "verifying", "writing information",
// "done", "failed".
QString portStateText(PortState state, int percent = 0);

// How a port is getting on.
struct PortStatus {
    int index = 0;      // the port's place in the run (0 for the first)
    QString port;       // its label: "COM3", a device, "Demo radio 2"
    PortState state = PortState::Waiting;
    int radio = 0;      // the number of its radio in the run; 0 before its first
    QString radioId;    // the radio's ID as the history shows it
    QString message;    // the last thing said
    int value = 0;      // the progress of the exchange under way, of `maximum`
    int maximum = 0;
    bool awaitingNext = false; // swap: the port waits for the next radio
    bool finished = false;     // the port's turn has ended
    int percent() const { return maximum > 0 ? value * 100 / maximum : 0; }
    QString stateText() const { return portStateText(state, percent()); }
};

// What became of one radio: a row of the fleet's log.
struct RadioRecord {
    QDateTime time; // when it ended
    QString port;
    int radio = 0;
    QString radioId;     // as the history shows it (trimmed)
    int modelValue = -1; // the model code it reported; -1 when it did not answer
    bool backedUp = false;
    bool written = false;
    bool verified = false;
    bool infoWritten = false;
    bool ok = false;
    QString message; // for a radio that failed, why; else what was done
    QString backup;  // the backup's path, "" without one
};

// "programmed, backed up, verified, information written" for what `r` had done.
QString doneWords(const RadioRecord& r);

// The run's figures.
struct FleetTotals {
    int programmed = 0;
    int failed = 0;
};

} // namespace orv::fleet

Q_DECLARE_METATYPE(orv::fleet::PortStatus)
Q_DECLARE_METATYPE(orv::fleet::RadioRecord)
Q_DECLARE_METATYPE(orv::fleet::FleetTotals)
