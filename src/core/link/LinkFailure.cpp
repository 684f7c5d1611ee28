#include "link/LinkFailure.h"

namespace orv {

QString linkFailureName(LinkFailure f) {
    switch (f) {
    case LinkFailure::None:
        return QStringLiteral("none");
    case LinkFailure::PortUnavailable:
        return QStringLiteral("port-unavailable");
    case LinkFailure::NoAnswer:
        return QStringLiteral("no-answer");
    case LinkFailure::WrongRadio:
        return QStringLiteral("wrong-radio");
    case LinkFailure::RefusedBlock:
        return QStringLiteral("refused-block");
    case LinkFailure::BadReply:
        return QStringLiteral("bad-reply");
    case LinkFailure::LineLost:
        return QStringLiteral("line-lost");
    case LinkFailure::Stopped:
        return QStringLiteral("stopped");
    case LinkFailure::Mismatch:
        return QStringLiteral("mismatch");
    }
    return QStringLiteral("none");
}

} // namespace orv
