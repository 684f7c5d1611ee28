#pragma once
// A shown main window on a two-model catalog whose radio commands talk to the virtual radio
// on a virtual clock, for the tests of the window's Read, Write, tune and radio information
// commands. Questions are answered from feedback.answers.

#include "catalog/ModelCatalog.h"
#include "catalog/StartupConfig.h"
#include "common/RecordingFeedback.h"
#include "link/RadioConnection.h"
#include "session/Session.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "sim/VirtualRadio.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace orv::test {

inline const QString WindowTitle = QStringLiteral("ORVANTE Programming Software");

struct RadioWindow {
    QTemporaryDir dir;
    VirtualClock clock;
    RecordingFeedback feedback;
    RadioConnection connection{clock};
    std::unique_ptr<gui::MainWindow> window;
    std::unique_ptr<gui::OperateCommands> operate;

    explicit RadioWindow(const RadioData& radioMemory = sim::demoRadioImage()) {
        StartupValues v;
        v.title = WindowTitle;
        v.productIniPath = dir.filePath(QStringLiteral("ORVANTE.ini"));
        v.modelCount = 2;
        ModelCatalog models({{QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
                             {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0}});
        window = std::make_unique<gui::MainWindow>(std::make_unique<Session>(v, std::move(models), clock), feedback);
        connection.useDemoRadio(radioMemory);
        operate = std::make_unique<gui::OperateCommands>(*window, connection);
        window->show();
    }
    sim::VirtualRadio& radio() { return *connection.demoRadio(); }
    Session& session() { return window->session(); }
    // The window's link, as the commands plugged into the window get it.
    std::function<RadioLink&()> linkSource() {
        return [this]() -> RadioLink& { return operate->link(); };
    }
    void faults(const QString& text) {
        sim::RadioFaults f;
        QVERIFY(sim::RadioFaults::parse(text, f));
        radio().setFaults(f);
    }
};

} // namespace orv::test
