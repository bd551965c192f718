#pragma once
// A show or click report waiting to be sent: exactly one of the two texts is filled, with
// the item "ai,sei,time;".

#include <string>

namespace tavi {

struct PendingReport {
    std::string show;
    std::string click;
};

}  // namespace tavi
