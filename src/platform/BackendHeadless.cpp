// The headless backend: no window, no input of its own (messages come only
// from PostMessage), frames kept but not shown, the vertical blank replaced by
// the virtual clock's per-frame step, message boxes as lines on stderr.
#include "platform/Backend.h"

namespace plat::detail {

namespace {

class HeadlessBackend final : public Backend {
public:
    bool isHeadless() const override { return true; }
    bool canPresent() const override { return true; }

    bool openWindow(const char*) override { return true; }
    void closeWindow() override {}
    void showWindow() override {}
    void minimiseWindow() override {}
    void setTitle(const char*) override {}

    void pump() override {
        // Nothing to raise without a window; the request is simply consumed.
        TakeRaiseRequest();
    }
    void waitForInput() override {}
    void wake() override {}

    void present(const Surface16&) override {}
    void waitForVerticalBlank() override {}

    int messageBox(const char* text, const char* caption, unsigned flags) override {
        return ConsoleMessageBox(text, caption, flags);
    }
    void beep() override {}

    void setCursorVisible(bool) override {}
    void setTextInput(bool) override {}
    void confineMouse(const Rect*) override {}
    void warpMouse(int, int) override {}
};

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace plat::detail
