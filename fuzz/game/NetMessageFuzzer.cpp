// The bytes a LAN peer can send: discovery queries and answers (UDP datagrams) and the session
// packets of the reliable channel with the game messages inside them. Each decoder refuses what
// is not exactly its record; whatever one accepts encodes back to the very same bytes.

#include <cstdlib>
#include <span>
#include <vector>

#include "platform/net/DiscoveryQuery.h"
#include "platform/net/DiscoveryReply.h"
#include "platform/net/GameMessage.h"
#include "platform/net/SessionPacket.h"

namespace {

template <typename Record>
void RoundTrip(std::span<const uint8_t> bytes) {
    const auto record = Record::Decode(bytes);
    if (!record) return;
    const std::vector<uint8_t> encoded = record->Encode();
    if (!std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    RoundTrip<platform::net::DiscoveryQuery>(bytes);
    RoundTrip<platform::net::DiscoveryReply>(bytes);
    RoundTrip<platform::net::SessionPacket>(bytes);
    RoundTrip<platform::net::GameMessage>(bytes);
    return 0;
}
