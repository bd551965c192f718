#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/SessionService.h"
#include "platform/net/SessionTypes.h"

// The two-player session layer of the police game: sets up the LAN session service, hosts a
// session or joins one found by a search, lists sessions and players (1-based), sends the game's
// messages, and while a session is open runs the session loop, which drives the frame step and
// turns received messages into events for its single owner.
//
// Everything runs on the game thread: events are raised synchronously from PollMessages or
// RefreshPlayers, and handlers may call back in (CloseSession ends the loop after its pass).
// A search or a join waits on a worker thread of the service while this thread keeps running
// frames and handling input (IsSearching, IsJoining); a scripted run waits without passing
// frames, so a script sees them take no time, and a close finishes on a worker thread.
class NetEngine {
public:
    NetEngine();
    // Releases the service without closing an open session: the other player notices the
    // silence by its time-out.
    ~NetEngine();
    NetEngine(const NetEngine&) = delete;
    NetEngine& operator=(const NetEngine&) = delete;

    // True only when this call did the set-up; a failure shows why (NetFailureText) and the next
    // call tries again.
    bool Initialize();
    void CloseSession();
    int32_t GetPlayerCount() const;
    std::u16string GetPlayerName(int32_t index) const;
    int32_t GetSessionCount() const;
    std::optional<platform::net::SessionInfo> GetSession(int32_t index) const;
    bool IsHost() const { return HostFlag; }

    // Both return only when the session loop ends (after a CloseSession made inside it).
    void HostSession(const std::u16string& SessionName, const std::u16string& Password,
                     const std::u16string& PlayerName);
    bool JoinSession(int32_t Index, const std::u16string& PlayerName, const std::u16string& Password);

    void RefreshSessions();
    void RefreshPlayers();
    // "players N" for scripted runs that wait on the session's count.
    void AnnouncePlayers() const;

    void SendSetting(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike, uint8_t ThiefCarOrBike);
    void SendText(const std::u16string& aStr);
    void RequestSetting();
    void SendReady();
    void SendOver();
    void SendProgress(int32_t InputPos, float Speed);

    void RunSession();
    void PollMessages();

    // Events, set by the owner.
    std::function<void(const std::u16string& aStr)> GetString;
    std::function<void()> Ready;
    std::function<void()> Over;
    std::function<void()> UpDatePlayer;
    std::function<void()> NeedSetting;
    std::function<void(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike, uint8_t ThiefCarOrBike)>
        SettingChange;
    std::function<void(int32_t InputPos, float Speed)> ReceiveNotify;

    // Shows the set-up and hosting failure texts; empty: the platform's message box.
    std::function<void(const std::u16string& text)> ShowMessage;

    // Why the last join failed, for the player; empty after a join that succeeded.
    const std::u16string& LastJoinFailure() const { return JoinFailure; }
    // Why the last search could not be made (no network, say); empty when it was made.
    const std::u16string& LastSearchFailure() const { return SearchFailure; }

    bool IsInitialized() const { return Initialized; }
    bool IsInSession() const { return InSession; }
    bool IsRunning() const { return Running; }
    bool IsSearching() const { return Searching; }
    bool IsJoining() const { return Joining; }
    int32_t LocalPlayer() const { return LocalPlayerId; }

private:
    void Send(const std::vector<uint8_t>& message);
    void Dispatch(const platform::net::ReceivedMessage& message);
    void Tell(const std::u16string& text);
    // Runs frames until `done` (see the class comment).
    void AwaitNetwork(const std::function<bool()>& done);

    bool Initialized = false;
    bool InSession = false;
    std::unique_ptr<platform::net::SessionService> Play;
    std::optional<std::vector<platform::net::SessionInfo>> Sessions;
    std::optional<std::vector<platform::net::PlayerInfo>> Players;
    int32_t LocalPlayerId = 0;
    std::u16string JoinFailure;
    std::u16string SearchFailure;
    bool HostFlag = false;
    bool Running = false;
    bool Searching = false;
    bool Joining = false;
    // A close asked for while the join was under way: the joined session is left at once.
    bool JoinCancelled = false;
};
