#pragma once
// The radio history and the automatic backups of one orvante-cli radio command: the
// exchanges of its runner are recorded in the data folder as the window records its own, a
// read is kept as a backup (unless "Keep Backups" is off in the program's INI or --no-backup
// is given), and a history that cannot be written gives one warning line on stderr,
// "Warning: radio history ...", without changing the command's result.

#include "exchange/ExchangeRunner.h"

#include <QString>
#include <memory>

namespace orv {
class HistoryRecorder;
}

namespace orv::cli {

class CliHistory : public ExchangeObserver {
  public:
    CliHistory();
    ~CliHistory() override;
    // Starts recording the runner's exchanges, in the data folder of the program whose INI
    // is `programIni`.
    void attach(ExchangeRunner& runner, const QString& programIni, bool backups);
    // "Backup: PATH" on stdout when the last read was kept.
    void sayBackup() const;

    // A failure's message is the command's last line on stderr: a warning that came after it
    // (the history written as the exchange ended) is followed by the message once more.
    void exchangeStarted(ExchangeKind kind, const QString& port) override;
    void exchangeFinished(const ExchangeResult& result) override;

  private:
    std::unique_ptr<HistoryRecorder> m_recorder;
    int m_warnings = 0;
    int m_warningsAtStart = 0;
};

} // namespace orv::cli
