#pragma once
// frmModel: the model list cboModel with the chosen radio's name (lblRadio) and band
// (lblFreqBand). lblFreqRange carries the same band text; it is the range label of the tune
// view and stays hidden in the channel view, where it would only repeat lblFreqBand.

#include <QGroupBox>

class QComboBox;
class QLabel;

namespace orv::gui {

class ModelFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ModelFrame(QWidget* parent = nullptr);

    // The catalog names, in catalog order; nothing selected.
    void setModelNames(const QStringList& names);
    // Selects a position without reporting it as the user's pick, and shows the model's
    // name and band.
    void showModel(int position, const QString& name, const QString& band);

    QComboBox* cboModel() const { return m_cboModel; }
    QLabel* lblRadio() const { return m_lblRadio; }
    QLabel* lblFreqBand() const { return m_lblFreqBand; }
    QLabel* lblFreqRange() const { return m_lblFreqRange; }

signals:
    // The user picked an entry of cboModel (never emitted for showModel).
    void modelPicked(int position);

private:
    QComboBox* m_cboModel = nullptr;
    QLabel* m_lblRadio = nullptr;
    QLabel* m_lblFreqBand = nullptr;
    QLabel* m_lblFreqRange = nullptr;
};

} // namespace orv::gui
