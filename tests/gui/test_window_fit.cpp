// The main window's size and place: the rules (screens, the kept geometry, the frame) worked
// out without a window, what the program's INI file keeps, and the window itself on two
// offscreen screens: a small primary one (640 x 480) and a larger one to its right
// (window-fit-screens.json). Offscreen windows have a frame of 2 pixels on every side.

#include "catalog/IniFile.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "shell/EditingArea.h"
#include "shell/MainWindow.h"
#include "shell/WindowGeometry.h"
#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using namespace orv::gui;

namespace {

const QRect Small(0, 0, 640, 480);
const QRect Side(640, 0, 1280, 1024);
const QMargins OffscreenFrame(2, 2, 2, 2);
// 12000 x 9000 twips at 96 dpi.
const QSize Written(800, 600);

StoredWindowGeometry stored(std::optional<QPoint> position, std::optional<QSize> size, bool maximized = false) {
    return {position, size, maximized};
}

struct Window {
    VirtualClock clock;
    test::RecordingFeedback feedback;
    std::unique_ptr<MainWindow> window;

    explicit Window(const QString& ini) {
        window = std::make_unique<MainWindow>(test::makeDocument(test::twoModelCatalog(), clock, ini), feedback);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    // Once the frame has been counted in.
    void waitFitted() const { QTRY_VERIFY(!window->findChild<WindowPlacement*>()->fitting()); }
};

} // namespace

Q_DECLARE_METATYPE(orv::gui::StoredWindowGeometry)
Q_DECLARE_METATYPE(orv::gui::WindowGeometry)

namespace orv::gui {
char* toString(const StoredWindowGeometry& g) {
    const QPoint p = g.position.value_or(QPoint(-1, -1));
    const QSize s = g.size.value_or(QSize(-1, -1));
    return QTest::toString(QStringLiteral("position %1 %2 (%3), size %4 x %5 (%6), maximized %7")
                               .arg(p.x()).arg(p.y()).arg(g.position ? "kept" : "none")
                               .arg(s.width()).arg(s.height()).arg(g.size ? "kept" : "none")
                               .arg(g.maximized));
}
} // namespace orv::gui

class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The screens come from the platform's configuration file.
        QCOMPARE(WindowPlacement::availableAreas(), (QList<QRect>{Small, Side}));
    }

    void fitWindowGeometry_data() {
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<StoredWindowGeometry>("kept");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<WindowGeometry>("expected");
        const QRect panelled(0, 0, 1280, 860); // a 1280 x 900 screen less a 40-pixel panel
        const QRect right(1280, 0, 1920, 1080);
        const QList<QRect> one{panelled}, two{panelled, right};
        const QMargins none;
        const QMargins wm(1, 20, 1, 5);

        QTest::newRow("first start: written size, centred")
            << one << stored({}, {}) << none << WindowGeometry{{240, 130, 800, 600}, false};
        QTest::newRow("first start, frame counted: the frame is centred")
            << one << stored({}, {}) << wm << WindowGeometry{{240, 137, 800, 600}, false};
        QTest::newRow("scale 2 on 1280 x 900: no larger than the screen")
            << QList<QRect>{{0, 0, 640, 450}} << stored({}, {}) << none << WindowGeometry{{0, 0, 640, 450}, false};
        QTest::newRow("scale 2, frame counted: title bar and bottom edge on the screen")
            << QList<QRect>{{0, 0, 640, 450}} << stored({}, {}) << wm << WindowGeometry{{1, 20, 638, 425}, false};
        QTest::newRow("kept place and size")
            << one << stored(QPoint(10, 30), QSize(700, 500)) << none << WindowGeometry{{10, 30, 700, 500}, false};
        QTest::newRow("kept maximized, with its normal geometry")
            << one << stored(QPoint(10, 30), QSize(700, 500), true) << none
            << WindowGeometry{{10, 30, 700, 500}, true};
        QTest::newRow("kept size only: centred")
            << one << stored({}, QSize(400, 300)) << none << WindowGeometry{{440, 280, 400, 300}, false};
        QTest::newRow("kept on the second screen")
            << two << stored(QPoint(1400, 100), QSize(1000, 700)) << none
            << WindowGeometry{{1400, 100, 1000, 700}, false};
        QTest::newRow("kept on the second screen, larger than it: fitted to it")
            << two << stored(QPoint(1400, 100), QSize(2500, 1200)) << none
            << WindowGeometry{{1280, 0, 1920, 1080}, false};
        QTest::newRow("across two screens: goes to the one holding most of it")
            << two << stored(QPoint(1000, 100), QSize(800, 600)) << none
            << WindowGeometry{{1280, 100, 800, 600}, false};
        QTest::newRow("partly off the right edge: moved in")
            << one << stored(QPoint(1000, 500), QSize(800, 600)) << none
            << WindowGeometry{{480, 260, 800, 600}, false};
        QTest::newRow("above the top: title bar brought down")
            << one << stored(QPoint(100, -5), QSize(800, 600)) << wm << WindowGeometry{{100, 20, 800, 600}, false};
        QTest::newRow("the second screen is gone: centred on the primary one, size kept")
            << one << stored(QPoint(1400, 100), QSize(600, 400)) << none
            << WindowGeometry{{340, 230, 600, 400}, false};
        QTest::newRow("the second screen is gone, larger than the primary one")
            << one << stored(QPoint(1400, 100), QSize(1500, 1000), true) << none
            << WindowGeometry{{0, 0, 1280, 860}, true};
        QTest::newRow("a screen to the left of the primary one")
            << QList<QRect>{panelled, {-1024, 0, 1024, 768}} << stored(QPoint(-900, 50), QSize(800, 600)) << none
            << WindowGeometry{{-900, 50, 800, 600}, false};
        QTest::newRow("no screen known: as kept")
            << QList<QRect>{} << stored(QPoint(5000, 5000), QSize(900, 700)) << none
            << WindowGeometry{{5000, 5000, 900, 700}, false};
    }
    void fitWindowGeometry() {
        QFETCH(QList<QRect>, areas);
        QFETCH(StoredWindowGeometry, kept);
        QFETCH(QMargins, frame);
        QFETCH(WindowGeometry, expected);
        const WindowGeometry got = orv::gui::fitWindowGeometry(Written, areas, kept, frame);
        QCOMPARE(got.normal, expected.normal);
        QCOMPARE(got.maximized, expected.maximized);
    }

    // The five keys go into a section of their own; the rest of the file stays as it was.
    // What is not a number is left out, part by part.
    void iniKeys() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ORVANTE.ini");
        QCOMPARE(readWindowGeometry(ini), stored({}, {}));
        QVERIFY(test::putFile(ini, "; kept by hand\n[Comm Port]\nCommon Port=3\n"));
        QVERIFY(storeWindowGeometry(ini, {{-20, 35, 700, 500}, true}));
        QCOMPARE(readWindowGeometry(ini), stored(QPoint(-20, 35), QSize(700, 500), true));
        QCOMPARE(QString::fromUtf8(test::fileBytes(ini)),
                 QStringLiteral("; kept by hand\n[Comm Port]\nCommon Port=3\n\n[Window]\nLeft=-20\nTop=35\n"
                                "Width=700\nHeight=500\nMaximized=1\n"));

        QVERIFY(IniFile(ini).writeString("Window", "Top", "high"));
        QVERIFY(IniFile(ini).writeString("Window", "Maximized", "no"));
        QCOMPARE(readWindowGeometry(ini), stored({}, QSize(700, 500)));
        QVERIFY(IniFile(ini).writeString("Window", "Top", "35"));
        QVERIFY(IniFile(ini).writeString("Window", "Height", "0"));
        QCOMPARE(readWindowGeometry(ini), stored(QPoint(-20, 35), {}));

        QVERIFY(test::putFile(dir.filePath("blocker"), "a file, not a folder"));
        QVERIFY(!storeWindowGeometry(dir.filePath("blocker/ORVANTE.ini"), {{0, 0, 1, 1}, false}));
    }

    // The written size does not fit the small screen: the window, frame included, is no
    // larger than the screen, and its status bar is on it.
    void firstStartFitsTheScreen() {
        QTemporaryDir dir;
        Window w(dir.filePath("ORVANTE.ini"));
        w.waitFitted();
        QCOMPARE(w.window->frameGeometry(), Small);
        QCOMPARE(w.window->geometry(), Small.marginsRemoved(OffscreenFrame));
        const QStatusBar* bar = w.window->statusBar();
        QVERIFY(bar->isVisible());
        QVERIFY(Small.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
        // Smaller than the editors: the scroll bars reach the rest.
        QVERIFY(w.window->editingArea()->vScroll()->isVisible());
    }

    // Closing keeps the size and place the user left; the next start comes back there. A
    // window larger than the editors keeps them at the top left, at their own size.
    void geometryKeptAcrossStarts() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ORVANTE.ini");
        const QRect left(700, 40, 1100, 850); // on the larger screen, larger than the editors
        QSize editors;
        {
            Window w(ini);
            w.waitFitted();
            editors = w.window->editingArea()->picture()->size();
            w.window->setGeometry(left);
            QTRY_COMPARE(w.window->geometry(), left);
            QVERIFY(w.window->close());
        }
        QCOMPARE(readWindowGeometry(ini), stored(left.topLeft(), left.size()));
        {
            Window w(ini);
            w.waitFitted();
            QCOMPARE(w.window->geometry(), left);
            EditingArea* area = w.window->editingArea();
            QCOMPARE(area->picture()->pos(), QPoint(0, 0));
            QCOMPARE(area->picture()->size(), editors);
            QVERIFY(!area->hScroll()->isVisible() && !area->vScroll()->isVisible());

            // Maximized: the normal geometry is kept with it.
            w.window->showMaximized();
            QTRY_VERIFY(w.window->isMaximized());
            QVERIFY(w.window->close());
        }
        QCOMPARE(readWindowGeometry(ini), stored(left.topLeft(), left.size(), true));
        {
            Window w(ini);
            QVERIFY(w.window->isMaximized());
            QCOMPARE(w.window->normalGeometry(), left);
        }
    }

    // The larger screen has gone since the window was left on it: the window comes back on
    // the primary screen, no larger than it.
    void keptScreenGone() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ORVANTE.ini");
        QVERIFY(storeWindowGeometry(ini, {{3000, 200, 500, 400}, false}));
        Window w(ini);
        w.waitFitted();
        QCOMPARE(w.window->geometry(), QRect(70, 40, 500, 400));
        QVERIFY(storeWindowGeometry(ini, {{3000, 200, 1000, 700}, false}));
        Window big(ini);
        big.waitFitted();
        QCOMPARE(big.window->frameGeometry(), Small);
    }
};

QTEST_MAIN(TestWindowFit)
#include "test_window_fit.moc"
