#include <QtTest>

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
