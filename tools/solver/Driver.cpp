// The whole-game driver and the in-process replay of a script.
#include "Driver.h"

#include "GameSnapshot.h"
#include "game/GameState.h"
#include "shell/Globals.h"

namespace solver {

void DeliverEvent(const shell::ScriptEvent& event) {
    WindowProc(nullptr, event.down ? WM_KEYDOWN : WM_KEYUP, event.key, 0);
}

namespace {

// The game as kaCreate leaves it.
void NewProgram() {
    ResetGameGlobals();
    PushKey = LastKey = 0;
    init_start();
}

}  // namespace

Driver::Driver() { NewProgram(); }

void Driver::Step(unsigned press) {
    std::vector<shell::ScriptEvent> now;
    if (pendingUp_ != 0) now.push_back({frame_, pendingUp_, false});
    if (press != 0) now.push_back({frame_, press, true});
    pendingUp_ = press;
    for (const auto& event : now) {
        DeliverEvent(event);
        events_.push_back(event);
    }
    RunScene();
    ++frame_;
}

bool Driver::StepUntil(const std::function<bool()>& done, unsigned long limit) {
    for (unsigned long i = 0; i < limit; ++i) {
        if (done()) return true;
        Step();
    }
    return done();
}

Driver::Mark Driver::Save() const { return {GameSnapshot::Take(), frame_, pendingUp_, events_.size()}; }

void Driver::Restore(const Mark& mark) {
    mark.game.Put();
    frame_ = mark.frame;
    pendingUp_ = mark.pendingUp;
    events_.resize(mark.events);
}

void PlayScript(const std::vector<shell::ScriptEvent>& events, unsigned long frames,
                const std::function<void(unsigned long, int)>& onFrame) {
    NewProgram();
    size_t next = 0;
    for (unsigned long frame = 0; frame < frames; ++frame) {
        while (next < events.size() && events[next].frame <= frame) DeliverEvent(events[next++]);
        const int before = state;
        RunScene();
        onFrame(frame, before);
    }
}

}  // namespace solver
