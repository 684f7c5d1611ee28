#include "shell/VerifyCommand.h"

#include "compare/DiffReport.h"
#include "compare/Verify.h"
#include "document/Document.h"
#include "shell/BusyCursor.h"
#include "shell/ListedQuestion.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "shell/OptionTick.h"

#include <QAction>

namespace orv::gui {

const char* const VerifyCommand::IniKey = "Verify after Write";

VerifyCommand::VerifyCommand(MainWindow& window, OperateCommands& operate)
    : QObject(&window), m_window(window), m_operate(operate) {
    m_verifyAfterWrite = window.menuAction(QStringLiteral("mnuVerifyAfterWrite"));
    keepTickInIni(*m_verifyAfterWrite, window.document().startup().productIniPath, QLatin1String(IniKey));
    operate.setAfterWrite([this](const RadioData& written, int dataVersion) { afterWrite(written, dataVersion); });
}

bool VerifyCommand::verifyAfterWrite() const { return m_verifyAfterWrite->isChecked(); }

void VerifyCommand::afterWrite(const RadioData& written, int dataVersion) {
    if (!verifyAfterWrite())
        return;
    const Document& doc = m_window.document();
    compare::VerifyReport report;
    ExchangeResult result;
    {
        const BusyCursor busy;
        result = m_operate.runner().verify(written, dataVersion, compare::SideOpener(doc.catalog(), doc.numbers()),
                                           &report);
    }
    if (result.ok()) {
        m_window.showStatusNote(result.message);
        return;
    }
    // A read back that failed on the line has shown its message.
    if (result.reason != LinkFailure::Mismatch)
        return;
    QStringList lines;
    for (const compare::Difference& d : report.differences)
        lines.append(compare::differenceLine(d));
    const QString text =
        listedQuestion(result.message + QStringLiteral("\nWhat was written -> what the radio holds:"), lines,
                       QStringLiteral("Write to the radio again?"));
    // Write again once this write has ended, not inside it.
    if (m_window.feedback().ask(text, QStringLiteral("Verify after Write"), Icon::Exclamation, Buttons::YesNo) ==
        Answer::Yes)
        QMetaObject::invokeMethod(&m_window, &MainWindow::mnuWrite_Click, Qt::QueuedConnection);
}

} // namespace orv::gui
