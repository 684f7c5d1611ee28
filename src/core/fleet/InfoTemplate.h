#pragma once
// The information text each radio of a fleet gets: a template with {n} (the radio's number in
// the run), {id} (its radio ID, trimmed), {date} (yyyy-MM-dd) and {port} (the port's label),
// cut to the 96 characters the radio keeps.

#include <QDate>
#include <QString>

namespace orv::fleet {

struct InfoFields {
    int radio = 0;
    QString radioId; // as the radio holds it; trimmed here
    QDate date;
    QString port;
};

// The template with its fields filled in, in one pass (a field's value is never read as a
// field), cut to 96 characters. Anything else in braces stays as it is.
QString expandInfoTemplate(const QString& infoTemplate, const InfoFields& fields);

} // namespace orv::fleet
