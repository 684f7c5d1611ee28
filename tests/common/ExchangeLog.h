#pragma once
// An exchange observer for tests: what it was told, one line each, and the last result's
// message.

#include "exchange/ExchangeRunner.h"

#include <QStringList>
#include <QtTest>

namespace orv::test {

struct Log : ExchangeObserver {
    QStringList lines;
    QString lastMessage;
    int lastProgress = -1;
    void exchangeStarted(ExchangeKind kind, const QString& port) override {
        lines << QStringLiteral("start %1 %2").arg(exchangeKindName(kind), port);
    }
    void exchangeIdentified(ExchangeKind kind, const RadioIdentity& radio) override {
        lines << QStringLiteral("radio %1 %2 v%3").arg(exchangeKindName(kind)).arg(radio.modelCode).arg(radio.dataVersion);
    }
    void exchangeProgress(ExchangeKind, int value, int maximum) override {
        QVERIFY(value >= lastProgress && value <= maximum);
        lastProgress = value;
    }
    void exchangeFinished(const ExchangeResult& r) override {
        lines << QStringLiteral("end %1 %2 %3").arg(exchangeKindName(r.kind)).arg(int(r.status)).arg(linkFailureName(r.reason));
        lastMessage = r.message;
    }
};

} // namespace orv::test
