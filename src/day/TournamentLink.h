#pragma once

#include "modules/JudoShiaiCodec.h"

#include <QObject>

#include <optional>

// What the tournament day needs of a link to JudoShiai: the match offered
// to this tatami, and a result to deliver. JudoShiaiLink is the one on a
// socket; the day knows only this.
class TournamentLink : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString server() const = 0;
    virtual int tatami() const = 0;
    virtual bool isConnected() const = 0;
    virtual const std::optional<JudoShiai::NextMatchMessage> &offered() const = 0;
    virtual void sendResult(const JudoShiai::ResultMessage &result) = 0;
    virtual const std::optional<JudoShiai::ResultMessage> &pendingResult() const = 0;

signals:
    void connectedChanged(bool connected);
    // A match for this tatami other than the one offered before.
    void matchOffered(const JudoShiai::NextMatchMessage &next);
    void resultDelivered(const JudoShiai::ResultMessage &result);
};
