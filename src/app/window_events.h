#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_controller.h"

namespace clockvane::app {

// How a front-end hands its user events to the controller, the same in every one. Each event
// runs its handler and then renders the state the handler left. While the window renders,
// widgets changed by the render report changes of their own: those reach no handler, and the
// key filter admits the render's text as it is. Opening a file named on the command line or
// dropped waits for the next turn of the event loop: the window must be up, and the drag
// source must have finished its drop, before the open sequence waits and asks questions.
class WindowEvents {
public:
    using Render = std::function<void()>;
    // Runs an action on the event loop's next turn.
    using NextTurn = std::function<void(std::function<void()>)>;

    WindowEvents(MainController& controller, Render render, NextTurn nextTurn);

    // Runs `handler`, then renders; nothing while rendering.
    void forward(const std::function<void()>& handler);
    // Renders the controller's state; what the widgets report meanwhile reaches no handler.
    void render();
    bool rendering() const { return rendering_; }

    // A slider's new value: ScrollBar1_Scroll while the thumb is dragged, else ScrollBar1_Change.
    void sliderMoved(std::size_t index, int mhz, bool dragging);
    // The key filter of a VCore box (MainController::CmbVCore_KeyPress).
    bool vcoreKeyAdmitted(std::size_t box, int keyAscii);
    // The name is taken from the working folder now, while it is the one the user started in.
    void openCommandLineFile(const std::string& path);
    void filesDropped(const std::vector<std::string>& paths);

private:
    MainController& controller_;
    Render render_;
    NextTurn nextTurn_;
    bool rendering_ = false;
};

}  // namespace clockvane::app
