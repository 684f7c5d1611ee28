#pragma once
// frmScan: the "Global Radio Settings" panel, sixteen drop-down lists (cboRadio(0..10),
// cmbScan(0..4)), a view of the document's settings selection: a pick goes to the document,
// and the lists show whatever the document holds. The lists are named
// "cboRadio_0".."cboRadio_10" and "cmbScan_0".."cmbScan_4", and stand four by four with
// their captions above them.

#include <QFrame>

#include <array>

class QComboBox;

namespace orv {
class Document;
class Feedback;
struct DocumentChange;
enum class Setting : int;
}

namespace orv::gui {

class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(Document& document, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the document's settings selection.
    void showSettings();

    QComboBox* list(Setting s) const;

signals:
    // A click on the panel outside its lists: the window finishes open cell edits.
    void backgroundClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void showList(Setting s);
    void selected(Setting s, int index);
    void documentChanged(const DocumentChange& change);

    Document& m_document;
    [[maybe_unused]] Feedback& m_feedback;
    std::array<QComboBox*, 16> m_lists{};
};

} // namespace orv::gui
