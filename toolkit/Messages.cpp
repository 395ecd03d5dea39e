#include "Messages.h"

namespace pengui {

int SetTimer::TimerIdGenerator::next()
{
    static int counter = 0;
    return ++counter;
}

SetTimer::SetTimer(MessageHandlerInterface* handler, float period, int& idOut)
    : handler(handler), period(period), id(TimerIdGenerator::next())
{
    idOut = id;
}

} // namespace pengui
