#pragma once
// The commands of orvante-cli. Each returns the process exit status: 0 success, 1 the
// program refused or failed (its message is the last line of stderr), 2 a usage error.

#include <QString>
#include <QStringList>
#include <optional>

namespace orv::cli {

enum Exit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

struct Options {
    QString catalogPath; // empty: the shipped catalog
    std::optional<int> modelValue;
    std::optional<int> modelPosition;
    QString output;
    QString format = QStringLiteral("json");
};

int cmdNew(const Options& o);
int cmdShow(const Options& o, const QString& file);
int cmdExport(const Options& o, const QString& file);
int cmdConvert(const Options& o, const QString& in, const QString& out);
int cmdDump(const Options& o, const QString& file);

} // namespace orv::cli
