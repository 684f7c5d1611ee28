#pragma once
// frmEmbed ("Radio Information"): the free text the radio keeps for its owner (at most 96
// characters), the radio ID and the date of the last programming. The caller hands it the
// text (setEmbedData), shows it modally and, when cancelPressed() is false, takes the text
// back (embedData). Read and Write talk to the radio at once: Read puts the radio's text, date
// stamp and ID into the document, Write gives the text to the document and sends it. The ID and the date are display only. The dialog changes the data only through the
// document.
//
// The text box shows the text up to its first zero code (the text area keeps the text
// followed by zero bytes). The ID and the date show a control byte (NUL above all) as a
// middle dot, so the label keeps its full length.

#include "image/RadioInfoText.h"

#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orv {
class Feedback;
class Document;
class ExchangeRunner;
} // namespace orv

namespace orv::gui {

class EmbedDialog : public QDialog {
    Q_OBJECT
public:
    // The text's limit, in characters.
    static constexpr int MaxChars = InfoTextChars;
    // Shows the font dialog preset with `initial`; the chosen font, or nothing on Cancel.
    using FontChooser = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;

    // Read and Write run through `runner`, whose feedback the dialog's messages use too.
    EmbedDialog(Document& document, ExchangeRunner& runner, QWidget* parent = nullptr);

    QString embedData() const { return m_embedData; }
    void setEmbedData(const QString& text) { m_embedData = text; }
    // True from the load step on, false once Close is pressed.
    bool cancelPressed() const { return m_cancelPressed; }

    // The program font of the text box: "Arial", 8 points, plain at start; held for the whole
    // run, not saved.
    static QFont programFont();
    static void setProgramFont(const QFont& font);
    // Replaces the font dialog (tests); without one the real dialog runs.
    void setFontChooser(FontChooser chooser) { m_fontChooser = std::move(chooser); }

    // The text shown for ID and date bytes: each byte one character, control bytes as U+00B7.
    static QString visibleText(const QString& raw);

    QPlainTextEdit* rtxtbEmbed() const { return m_text; }
    QLabel* lblRadioID() const { return m_radioId; }
    QLabel* lblLastTime() const { return m_lastTime; }
    QPushButton* cmdReadInfo() const { return m_read; }
    QPushButton* cmdWriteInfo() const { return m_write; }
    QPushButton* cmdFont() const { return m_fontButton; }
    QPushButton* cmdOK() const { return m_ok; }
    QPushButton* cmdCancel() const { return m_cancel; }

    // The labels and the text box from the document and the text.
    void showRadioInfo();

public slots:
    void cmdReadInfo_Click();
    void cmdWriteInfo_Click();
    void cmdFont_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Form_Load();
    void rtxtbEmbed_Change();

    Document& m_document;
    ExchangeRunner& m_runner;
    Feedback& m_feedback;
    FontChooser m_fontChooser;
    QString m_embedData;
    bool m_cancelPressed = true;
    // Set while the dialog itself changes the text box, so that its change handler stays out.
    bool m_settingText = false;

    QPlainTextEdit* m_text = nullptr;
    QLabel* m_radioId = nullptr;
    QLabel* m_lastTime = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_fontButton = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace orv::gui
