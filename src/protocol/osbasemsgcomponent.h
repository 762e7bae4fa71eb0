#pragma once

#include <QObject>

#include <memory>

class TMsgThread;

// A component that owns a message-loop thread running MessageLoop. The thread stays dormant:
// it is never started while the component lives, so no operating-system thread exists.
class TosBaseMsgComponent : public QObject {
    Q_OBJECT
public:
    explicit TosBaseMsgComponent(QObject *Owner = nullptr);
    ~TosBaseMsgComponent() override;

    virtual void MessageLoop();

protected:
    TMsgThread *MsgThread() const { return FMsgThread.get(); }

private:
    std::unique_ptr<TMsgThread> FMsgThread;
};
