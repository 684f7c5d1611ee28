#pragma once
// A shown main window on a two-model catalog whose radio commands talk to the virtual radio
// on a virtual clock, for the tests of the window's Read, Write, tune and radio information
// commands. Questions are answered from feedback.answers.

#include "common/TestSetup.h"
#include "link/RadioConnection.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "sim/VirtualRadio.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace orv::test {

inline const QString WindowTitle = Title;

struct RadioWindow {
    QTemporaryDir dir;
    VirtualClock clock;
    RecordingFeedback feedback;
    RadioConnection connection{clock};
    std::unique_ptr<gui::MainWindow> window;
    std::unique_ptr<gui::OperateCommands> operate;

    explicit RadioWindow(const RadioData& radioMemory = sim::demoRadioImage()) {
        window = std::make_unique<gui::MainWindow>(
            makeDocument(twoModelCatalog(), clock, dir.filePath(QStringLiteral("ORVANTE.ini"))), feedback);
        connection.useDemoRadio(radioMemory);
        operate = std::make_unique<gui::OperateCommands>(*window, connection);
        window->show();
    }
    sim::VirtualRadio& radio() { return *connection.demoRadio(); }
    Document& session() { return window->document(); }
    // The window's exchange runner, as the commands plugged into the window get it.
    ExchangeRunner& runner() { return operate->runner(); }
    void faults(const QString& text) {
        sim::RadioFaults f;
        QVERIFY(sim::RadioFaults::parse(text, f));
        radio().setFaults(f);
    }
};

} // namespace orv::test
