#include "wordgames/LetterPool.h"

#include <array>
#include <cmath>

#include "platform/Random.h"
#include "results/WeakKeys.h"

namespace {

struct Pool {
    std::array<char16_t, 26> letters{};
    int count = 0;
};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

}  // namespace

void ResetLetterPool() {
    Pool& pool = ThePool();
    for (int i = 0; i < 26; ++i) pool.letters[static_cast<size_t>(i)] = static_cast<char16_t>(u'A' + i);
    pool.count = 26;
    // Weak-key weights belong to the round that asks for them.
    results::WeakKeys::UseRoundWeights(nullptr);
}

std::u16string DrawLetter(const std::u16string& giveBack) {
    Pool& pool = ThePool();
    if (pool.count < 1) return {};
    const double u = platform::Random::Next();
    const results::WeakKeys::Weights* weights = results::WeakKeys::RoundWeights();
    int index = weights ? results::WeakKeys::Pick(pool.letters.data(), pool.count, *weights, u)
                        : static_cast<int>(std::floor(u * pool.count));
    if (index >= pool.count) index = pool.count - 1;
    const auto slot = static_cast<size_t>(index);
    const std::u16string drawn(1, pool.letters[slot]);
    if (giveBack.empty()) {
        --pool.count;
        pool.letters[slot] = pool.letters[static_cast<size_t>(pool.count)];
        pool.letters[static_cast<size_t>(pool.count)] = 0;
    } else {
        pool.letters[slot] = giveBack[0];
    }
    return drawn;
}

int LetterPoolCount() { return ThePool().count; }
