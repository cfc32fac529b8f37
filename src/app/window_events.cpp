#include "app/window_events.h"

#include "files/utf8_path.h"

namespace clockvane::app {

WindowEvents::WindowEvents(MainController& controller, Render render, NextTurn nextTurn)
    : controller_(controller), render_(std::move(render)), nextTurn_(std::move(nextTurn))
{}

void WindowEvents::forward(const std::function<void()>& handler)
{
    if (rendering_) return;
    handler();
    render();
}

void WindowEvents::render()
{
    // A handler's own stateChanged may render inside a render: keep the outer guard.
    const bool wasRendering = rendering_;
    rendering_ = true;
    render_();
    rendering_ = wasRendering;
}

void WindowEvents::sliderMoved(std::size_t index, int mhz, bool dragging)
{
    forward([this, index, mhz, dragging] {
        controller_.setSliderValue(index, mhz);
        if (dragging) {
            controller_.ScrollBar1_Scroll(index);
        } else {
            controller_.ScrollBar1_Change(index);
        }
    });
}

bool WindowEvents::vcoreKeyAdmitted(std::size_t box, int keyAscii)
{
    return rendering_ || controller_.CmbVCore_KeyPress(box, keyAscii);
}

void WindowEvents::openCommandLineFile(const std::string& path)
{
    const std::filesystem::path file = pathFromUtf8(path);
    std::error_code noFolder;  // the working folder may be gone: then the name as given
    const std::filesystem::path absolute = std::filesystem::absolute(file, noFolder);
    const std::string named = utf8FromPath((noFolder ? file : absolute).lexically_normal());
    nextTurn_(
        [this, named] { forward([this, &named] { controller_.openCommandLineFile(named); }); });
}

void WindowEvents::filesDropped(const std::vector<std::string>& paths)
{
    nextTurn_([this, paths] { forward([this, &paths] { controller_.Form_OLEDragDrop(paths); }); });
}

}  // namespace clockvane::app
