#pragma once
// frmProgress: the small window whose bar the radio exchanges keep up to date. The caller
// sets PrgCaption, the bar's maximum and the window caption, shows the window without
// waiting, then for each step sets PrgValue and calls PrgChange, and closes it at the end.
// The user cannot close it: the title bar has no close button and close requests are refused.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace orv::gui {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    // appTitle is what an empty PrgCaption stands for.
    explicit ProgressWindow(const QString& appTitle, QWidget* parent = nullptr);

    int PrgValue() const { return m_value; }
    void setPrgValue(int value) { m_value = value; } // does not move the bar
    // Moves the bar to PrgValue, or to its maximum when PrgValue is larger.
    void PrgChange();

    QString PrgCaption() const { return m_caption; }
    // The empty text stores the application title instead.
    void setPrgCaption(const QString& text);

    void setMaximum(int maximum);
    QProgressBar* bar() const { return m_bar; }
    QLabel* label() const { return m_label; }

    // Closes the window for good (the only way it goes away).
    void finish();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void load();

    QString m_appTitle;
    QString m_caption;
    int m_value = 0;
    bool m_loaded = false;
    bool m_finishing = false;
    QProgressBar* m_bar = nullptr;
    QLabel* m_label = nullptr;
};

} // namespace orv::gui
