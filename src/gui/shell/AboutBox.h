#pragma once
// frmAbout: "About " + the program title, the title as description, the version, and OK.

#include <QDialog>

namespace orv::gui {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString& title, QWidget* parent = nullptr);
};

} // namespace orv::gui
