#include "shell/PointerNotice.h"

#include <cstdint>

#include "platform/MessageQueue.h"
#include "shell/IGameInterface.h"

void PointerNotice::Tell(IGameInterface& screen) {
    int32_t x = 0;
    int32_t y = 0;
    if (platform::MessageQueue::Instance().PointerPosition(x, y)) screen.MouseMove(x, y);
}
