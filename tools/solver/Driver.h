// Plays the whole game frame by frame from program start, turning chosen key
// presses into an input script: each frame's events reach the window
// procedure before the frame runs, exactly as a replay delivers them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "GameSnapshot.h"
#include "shell/ScriptedRun.h"

namespace solver {

class Driver {
public:
    // A new game as after start-up, before frame 0.
    Driver();

    // Runs one frame; `press` (0: none) goes down before it and up before the
    // next frame.
    void Step(unsigned press = 0);
    // Runs frames until `done` holds (checked before each frame); false if it
    // did not within `limit` frames.
    bool StepUntil(const std::function<bool()>& done, unsigned long limit);

    unsigned long Frame() const { return frame_; }
    const std::vector<shell::ScriptEvent>& Events() const { return events_; }

    // Saves and restores the whole game together with the script so far.
    struct Mark {
        GameSnapshot game;
        unsigned long frame;
        unsigned pendingUp;
        size_t events;
    };
    Mark Save() const;
    void Restore(const Mark& mark);

private:
    unsigned long frame_ = 0;
    unsigned pendingUp_ = 0;
    std::vector<shell::ScriptEvent> events_;
};

// Delivers one script event to the window procedure.
void DeliverEvent(const shell::ScriptEvent& event);

// Plays a script from program start and calls `onFrame(frame, before)` after
// every frame (with the scene it began in). Stops after `frames` frames.
void PlayScript(const std::vector<shell::ScriptEvent>& events, unsigned long frames,
                const std::function<void(unsigned long, int)>& onFrame);

}  // namespace solver
