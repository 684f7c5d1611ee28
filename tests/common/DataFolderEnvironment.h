#pragma once
// ORVANTE_DATA_DIR set (or unset) for as long as the object lives, then put back.

#include "history/DataFolder.h"

#include <QByteArray>
#include <QtGlobal>

namespace orv::test {

struct DataFolderEnvironment {
    QByteArray before = qgetenv(DataFolderVariable);
    bool wasSet = qEnvironmentVariableIsSet(DataFolderVariable);
    // A null value unsets the variable.
    explicit DataFolderEnvironment(const QByteArray& value) {
        if (value.isNull())
            qunsetenv(DataFolderVariable);
        else
            qputenv(DataFolderVariable, value);
    }
    ~DataFolderEnvironment() {
        if (wasSet)
            qputenv(DataFolderVariable, before);
        else
            qunsetenv(DataFolderVariable);
    }
    DataFolderEnvironment(const DataFolderEnvironment&) = delete;
    DataFolderEnvironment& operator=(const DataFolderEnvironment&) = delete;
};

} // namespace orv::test
