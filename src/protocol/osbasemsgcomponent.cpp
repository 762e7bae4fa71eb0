#include "osbasemsgcomponent.h"

#include "msgthread.h"

TosBaseMsgComponent::TosBaseMsgComponent(QObject *Owner)
    : QObject(Owner)
    , FMsgThread(std::make_unique<TMsgThread>([this] { MessageLoop(); }))
{
}

TosBaseMsgComponent::~TosBaseMsgComponent()
{
    FMsgThread.reset();
}

void TosBaseMsgComponent::MessageLoop()
{
}
