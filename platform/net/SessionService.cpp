#include "platform/net/SessionService.h"

#include <system_error>

#include "platform/net/SessionSearch.h"
#include "platform/net/UdpSocket.h"

namespace platform::net {
namespace {

// Runs `work` on a thread of its own; with no thread to spare, on the caller's when its result is
// asked for (the frame waits then, but the lobby still works).
template <typename Work>
auto StartWork(Work work) {
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, std::move(work));
    }
}

}  // namespace

std::unique_ptr<SessionService> SessionService::Create(std::function<void()> wake, std::string* error) {
    auto config = LanConfig::FromEnvironment(error);
    if (!config) return nullptr;
    UdpSocket probe;
    if (!probe.Open(0, false, error)) return nullptr;
    return std::make_unique<SessionService>(*config, std::move(wake));
}

SessionService::~SessionService() {
    // Work left for this thread is not done now that nobody wants it.
    if (work_.valid() && work_.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) work_.wait();
    AwaitClose();
}

void SessionService::AwaitClose() {
    if (closing_.valid()) closing_.get();
}

bool SessionService::StartSearch(const std::string& applicationId) {
    if (work_.valid()) return false;
    work_ = StartWork([config = config_, applicationId, wake = wake_] {
        WorkResult result;
        result.sessions = SessionSearch::Run(config, applicationId, SessionSearch::kWindow, &result.error);
        if (wake) wake();
        return result;
    });
    return true;
}

bool SessionService::StartJoin(const SessionInfo& session, const std::u16string& password,
                               const LanSession::LocalPlayer& player) {
    if (work_.valid() || session_) return false;
    AwaitClose();
    work_ = StartWork([session, password, player, wake = wake_] {
        WorkResult result;
        result.session = LanSession::Join(session, password, player, wake, LanSession::kJoinTimeout, &result.error);
        if (wake) wake();
        return result;
    });
    return true;
}

bool SessionService::Closing() const {
    return closing_.valid() && closing_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
}

bool SessionService::WorkDone() const {
    // Work left for the caller's thread is done as its result is taken.
    return !work_.valid() || work_.wait_for(std::chrono::seconds(0)) != std::future_status::timeout;
}

std::optional<std::vector<SessionInfo>> SessionService::FinishSearch(std::string* error) {
    if (!work_.valid()) return std::nullopt;
    WorkResult result = work_.get();
    if (!result.sessions && error) *error = result.error;
    return std::move(result.sessions);
}

bool SessionService::FinishJoin(std::string* error) {
    if (!work_.valid()) return false;
    WorkResult result = work_.get();
    if (!result.session) {
        if (error) *error = result.error;
        return false;
    }
    if (session_) {
        // A host opened meanwhile: the joined session is left at once.
        result.session->Close();
        return false;
    }
    session_ = std::move(result.session);
    return true;
}

std::optional<std::vector<SessionInfo>> SessionService::Search(const std::string& applicationId) {
    return SessionSearch::Run(config_, applicationId);
}

bool SessionService::Host(const SessionDesc& desc, const LanSession::LocalPlayer& player, std::string* error) {
    if (session_) {
        if (error) *error = "A session is already open.";
        return false;
    }
    AwaitClose();
    session_ = LanSession::Host(config_, desc, player, wake_, error);
    return session_ != nullptr;
}

bool SessionService::Join(const SessionInfo& session, const std::u16string& password,
                          const LanSession::LocalPlayer& player, std::string* error) {
    if (session_) {
        if (error) *error = "A session is already open.";
        return false;
    }
    AwaitClose();
    session_ = LanSession::Join(session, password, player, wake_, LanSession::kJoinTimeout, error);
    return session_ != nullptr;
}

void SessionService::Close() {
    if (!session_) return;
    AwaitClose();
    closing_ = StartWork([session = std::shared_ptr<LanSession>(std::move(session_))] { session->Close(); });
    // With no thread to spare the session is closed now, not when the next one opens.
    if (closing_.wait_for(std::chrono::seconds(0)) == std::future_status::deferred) closing_.get();
}

std::vector<PlayerInfo> SessionService::Players() const {
    return session_ ? session_->Players() : std::vector<PlayerInfo>{};
}

bool SessionService::Send(std::vector<uint8_t> gameMessage) {
    return session_ && session_->Send(std::move(gameMessage));
}

std::optional<ReceivedMessage> SessionService::Receive() {
    if (!session_) return std::nullopt;
    return session_->Receive();
}

}  // namespace platform::net
