#include "police/RouteTable.h"

RouteTable::RouteTable() : legs_{{{0, 4}, {2, 4}, {0, 2}, {2, 6}, {0, 3}, {2, 4}, {3, 4}, {2, 4}, {3, 5}, {1, 18}}} {}

int32_t RouteTable::Start(int32_t i) const {
    int32_t sum = 0;
    for (int32_t k = 0; k < Wrap(i); ++k) sum += Units(k);
    return sum;
}

int32_t RouteTable::Next(int32_t i, int32_t travelSign) { return Wrap(i + (travelSign < 0 ? -1 : 1)); }

int32_t RouteTable::Wrap(int32_t i) {
    int32_t r = i % kLegs;
    return r < 0 ? r + kLegs : r;
}
