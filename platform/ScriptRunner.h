#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/ScriptKeyboard.h"

namespace platform {

// Plays a script instead of a person (GLYPHOR_SCRIPT=FILE): the clock becomes virtual and the
// runner acts inside the program's one wait, either queueing the script's next input or moving
// the clock on by one frame (20 ms). So every loop that waits there (the main pump, a dialog,
// the session loop) is driven alike. Verbs, one per line, '#' starts a comment:
//   frames N | wait MS | key NAME | keydown NAME | keyup NAME | type TEXT | move X Y |
//   click X Y | down X Y | up X Y | wheel X Y N | snapshot FILE | quit | realtime | boxes |
//   await STATE
// `realtime`: from that line on the clock follows the real one and frames pass at the normal
// pace (the runner really waits for each frame deadline), so a scripted program can play
// against a real peer.
// `await STATE`: frames pass until the program announces STATE (see Announce), at most 60 s of
// the run's clock; a state announced before the line is reached counts once. A state not
// announced in time is reported and the script plays on.
// Any other verb is queued as WM_APP_SCRIPT with the whole line as its text and the line's
// number as its wParam. Every line that cannot be acted on (a verb not understood, a character
// `type` cannot give, a snapshot not written) is reported on standard error with its number.
// When the script has run out the program is asked to end as Alt+F4 would.
class ScriptRunner {
public:
    static constexpr uint32_t kFrameMs = 20;
    static constexpr uint32_t kClockStart = 1000;

    // Starts a scripted run when GLYPHOR_SCRIPT is set. False when it is not set; a script that
    // cannot be read ends the process with a message on standard error.
    static bool StartFromEnvironment();
    // Starts a scripted run of `text` (tests).
    static void Start(const std::string& text, uint32_t clockStart = kClockStart);
    // Ends a scripted run: real clock, real waiting and input again (tests).
    static void Stop();
    static bool Active();
    // True when the script holds a line `boxes`: message boxes are then drawn and wait for the
    // script's input as they would for a player (their text still goes to standard error).
    // Read when the script is loaded, so boxes of the start-up are drawn too.
    static bool DrawsMessageBoxes();
    // "script line N: WHY: TEXT" on standard error, TEXT cut after 80 characters.
    static void Report(size_t lineNumber, const std::string& text, const char* why);
    // Whether Report writes its lines (on by default; a fuzz run of the parser turns it off).
    static void SetReportsShown(bool shown);

    // In a scripted run: "state: TEXT" on standard error, and TEXT is what `await` looks for.
    // Nothing otherwise.
    static void Announce(const std::string& state);

    // What the wait does in a scripted run.
    void Step(uint32_t deadline);

private:
    struct Action {
        enum class Kind { Frames, Input, Snapshot, Quit, Verb, RealTime, Await } kind = Kind::Frames;
        int64_t frames = 0;
        std::vector<Message> input;
        std::string text;
        size_t line = 0;  // where in the script it was written
    };

    explicit ScriptRunner(const std::string& text);
    bool ParseNextLine();
    bool ParseLine(const std::string& line, size_t number);
    // Fills `action` for the verb of a line (its arguments `rest`); a verb the runner does not
    // play itself becomes a Verb action holding the whole line. False when the arguments do not fit.
    bool ReadAction(const std::string& verb, const std::string& rest, const std::string& line, Action& action);
    // Queues the keys that type `typed`, a frame after each.
    void QueueTyping(const std::string& typed, size_t number);
    void Snapshot(const Action& action);
    void EndOfScript(uint32_t deadline);
    // One frame of a Frames line: true when the frame's time has passed.
    bool PassFrame(uint32_t deadline);
    // One step of an Await line: true when the line is done.
    bool AwaitStep(Action& action, uint32_t deadline);

    std::vector<std::string> lines_;
    std::vector<bool> cutLines_;  // lines longer than the bound, of which only the start is kept
    size_t next_ = 0;
    std::deque<Action> actions_;
    std::deque<std::string> announced_;  // states not yet awaited, oldest first
    ScriptKeyboard keyboard_;
    bool ended_ = false;
    bool realtime_ = false;
    bool drawsBoxes_ = false;
    uint32_t stepsAfterEnd_ = 0;
};

}  // namespace platform
