#include "fleet/FleetTypes.h"

#include "document/Document.h"

#include <QFileInfo>
#include <QStringList>

namespace orv::fleet {

FleetPayload payloadOf(Document& document, const QString& name) {
    document.collect();
    FleetPayload p;
    p.name = name;
    p.data = document.data();
    p.dataVersion = document.dataVersion();
    if (const ModelInfo* model = document.selectedModelInfo()) {
        p.modelValue = model->value;
        p.modelName = model->name;
    }
    p.appTitle = document.title();
    p.catalog = document.catalog();
    p.numbers = document.numbers();
    return p;
}

std::optional<FleetPayload> payloadFromFile(const Document& like, const QString& path, Feedback& feedback) {
    Document document(like.startup(), like.catalog(), like.clock(), like.numbers());
    document.startUp(feedback);
    if (document.load(QFileInfo(path).absoluteFilePath(), feedback) != LoadStatus::Ok)
        return std::nullopt;
    return payloadOf(document, QFileInfo(path).fileName());
}

QString portStateText(PortState state, int percent) {
    switch (state) {
    case PortState::Waiting: return QStringLiteral("waiting");
    case PortState::Identifying: return QStringLiteral("identifying");
    case PortState::BackingUp: return QStringLiteral("backing up");
    case PortState::Writing: return QStringLiteral("writing %1 %").arg(percent);
    case PortState::Verifying: return QStringLiteral("verifying");
    case PortState::WritingInfo: return QStringLiteral("writing information");
    case PortState::Done: return QStringLiteral("done");
    case PortState::Failed: return QStringLiteral("failed");
    }
    return QString();
}

QString doneWords(const RadioRecord& r) {
    QStringList words{QStringLiteral("programmed")};
    if (r.backedUp)
        words << QStringLiteral("backed up");
    if (r.verified)
        words << QStringLiteral("verified");
    if (r.infoWritten)
        words << QStringLiteral("information written");
    return words.join(QStringLiteral(", "));
}

} // namespace orv::fleet
