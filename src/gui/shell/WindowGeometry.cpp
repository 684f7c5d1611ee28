#include "shell/WindowGeometry.h"

#include "catalog/IniFile.h"

namespace orv::gui {

namespace {

const QString Section = QStringLiteral("Window");
const QString LeftKey = QStringLiteral("Left");
const QString TopKey = QStringLiteral("Top");
const QString WidthKey = QStringLiteral("Width");
const QString HeightKey = QStringLiteral("Height");
const QString MaximizedKey = QStringLiteral("Maximized");

qint64 areaOf(const QRect& r) { return r.isEmpty() ? 0 : qint64(r.width()) * r.height(); }

// The available area holding most of `framed`, or nullptr when none holds any of it.
const QRect* screenHolding(const QRect& framed, const QList<QRect>& areas) {
    const QRect* best = nullptr;
    qint64 bestArea = 0;
    for (const QRect& area : areas) {
        const qint64 shared = areaOf(area.intersected(framed));
        if (shared > bestArea) {
            bestArea = shared;
            best = &area;
        }
    }
    return best;
}

// Moves `r` as little as possible so that it lies inside `area` (r is no larger than area).
QRect movedInside(QRect r, const QRect& area) {
    if (r.right() > area.right())
        r.moveRight(area.right());
    if (r.bottom() > area.bottom())
        r.moveBottom(area.bottom());
    if (r.left() < area.left())
        r.moveLeft(area.left());
    if (r.top() < area.top())
        r.moveTop(area.top());
    return r;
}

} // namespace

WindowGeometry fitWindowGeometry(QSize wanted, const QList<QRect>& availableAreas,
                                 const StoredWindowGeometry& stored, QMargins frame) {
    const QSize size = stored.size.value_or(wanted);
    WindowGeometry result{QRect(stored.position.value_or(QPoint()), size), stored.maximized};
    if (availableAreas.isEmpty())
        return result;

    const QRect* screen = nullptr;
    if (stored.position)
        screen = screenHolding(QRect(*stored.position, size).marginsAdded(frame), availableAreas);
    const bool positionKept = screen != nullptr;
    if (!positionKept)
        screen = &availableAreas.first();

    const QSize fitted = size.boundedTo(screen->size().shrunkBy(frame)).expandedTo(QSize(1, 1));
    QRect framed(QPoint(), fitted.grownBy(frame));
    if (positionKept)
        framed.moveTopLeft(*stored.position - QPoint(frame.left(), frame.top()));
    else
        framed.moveCenter(screen->center());
    result.normal = movedInside(framed, *screen).marginsRemoved(frame);
    return result;
}

StoredWindowGeometry readWindowGeometry(const QString& programIni) {
    const IniFile ini(programIni);
    const auto number = [&ini](const QString& key) -> std::optional<int> {
        bool ok = false;
        const int value = ini.readString(Section, key, QString()).toInt(&ok);
        return ok ? std::optional<int>(value) : std::nullopt;
    };
    StoredWindowGeometry stored;
    const std::optional<int> left = number(LeftKey), top = number(TopKey);
    if (left && top)
        stored.position = QPoint(*left, *top);
    const std::optional<int> width = number(WidthKey), height = number(HeightKey);
    if (width && height && *width > 0 && *height > 0)
        stored.size = QSize(*width, *height);
    stored.maximized = number(MaximizedKey).value_or(0) != 0;
    return stored;
}

bool storeWindowGeometry(const QString& programIni, const WindowGeometry& geometry) {
    IniFile ini(programIni);
    const QRect& r = geometry.normal;
    bool written = true;
    for (const auto& [key, value] : {std::pair{LeftKey, r.x()}, std::pair{TopKey, r.y()},
                                     std::pair{WidthKey, r.width()}, std::pair{HeightKey, r.height()},
                                     std::pair{MaximizedKey, int(geometry.maximized)}})
        written = ini.writeString(Section, key, QString::number(value)) && written;
    return written;
}

} // namespace orv::gui
