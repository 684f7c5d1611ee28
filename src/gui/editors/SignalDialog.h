#pragma once
// frmSignal ("Signaling"): edits one signalling text - "OFF", a CTC tone ("CTC 88.5") or a
// DCS code, normal or inverted ("DCS 023", "-DCS 754"). The caller sets the text, shows the
// dialog (open() or exec()) and reads the text back after it finished; Cancel leaves the
// text as the caller set it. A typed tone or code that cannot be used is reported through
// Feedback and replaced by the last accepted one, so OK always gives a well-formed text.

#include "catalog/NumberText.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace orv {
class Feedback;
}

namespace orv::gui {

class SignalDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { NoMode = -1, ModeOff = 0, ModeCtc = 1, ModeDcs = 2 };

    // Tones are shown and typed with the decimal separator of `numbers`.
    SignalDialog(Feedback& feedback, NumberFormat numbers, QWidget* parent = nullptr);

    // Fills the form from a signalling text; a text of no known form selects no mode.
    void setSignalText(const QString& text);
    QString signalText() const { return m_signalText; }

    Mode mode() const;

    // OK: the form's value becomes the signalling text.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMode(Mode mode);
    void checkTone();
    void checkCode();
    bool filterToneKey(QKeyEvent* key);
    bool filterCodeKey(QKeyEvent* key);

    Feedback& m_feedback;
    NumberFormat m_numbers;
    QString m_signalText;
    std::array<QRadioButton*, 3> m_modes{};
    QComboBox* m_tone = nullptr;
    QComboBox* m_code = nullptr;
    QCheckBox* m_invert = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    // The last accepted tone and code, put back when a typed one cannot be used.
    QString m_toneTag;
    QString m_codeTag;
};

} // namespace orv::gui
