#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "app/main_controller.h"
#include "fixtures/image_builder.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

namespace clockvane::ui::testing {

// The Qt platform with its modal questions answered from a script: message boxes are recorded
// (Yes/No answered from a queue), file dialogs and the memory prompt answered from queues.
// Waits and Timer1 run for real but take no time. The About window stays the real one.
class ScriptedPlatform : public QtPlatform {
public:
    explicit ScriptedPlatform(const QString& settingsFile)
        : QtPlatform({.timeScale = 0.0, .settingsFile = settingsFile})
    {}

    struct Message {
        std::string text;
        std::string title;
        app::MessageIcon icon;
    };

    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<app::MemoryAnswer> memoryAnswers;
    std::vector<Message> messages;
    std::vector<app::FileDialogRequest> dialogs;
    std::vector<std::string> openedUrls;
    bool realMemoryPrompt = false;  // show the real Form3 instead of answering from the queue

    app::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                  app::MessageIcon icon, app::MessageButtons buttons) override
    {
        messages.push_back({text, title, icon});
        return buttons == app::MessageButtons::Ok ? app::MessageAnswer::Ok : app::MessageAnswer::No;
    }
    std::optional<std::string> showOpenDialog(const app::FileDialogRequest& request) override
    {
        return answer(openAnswers, request);
    }
    std::optional<std::string> showSaveDialog(const app::FileDialogRequest& request) override
    {
        return answer(saveAnswers, request);
    }
    app::MemoryAnswer askMemorySize(const app::MemoryPromptTexts& texts) override
    {
        if (realMemoryPrompt) return QtPlatform::askMemorySize(texts);
        if (memoryAnswers.empty()) return app::MemoryAnswer::Closed;
        const auto next = memoryAnswers.front();
        memoryAnswers.pop_front();
        return next;
    }
    void openUrl(const std::string& url) override { openedUrls.push_back(url); }

private:
    std::optional<std::string> answer(std::deque<std::optional<std::string>>& queue,
                                      const app::FileDialogRequest& request)
    {
        dialogs.push_back(request);
        if (queue.empty()) return std::nullopt;
        const auto next = queue.front();
        queue.pop_front();
        return next;
    }
};

// A main window on the scripted platform, loaded as the program loads it.
struct Editor {
    explicit Editor(const QString& settingsFile)
        : platform(settingsFile), window(controller, platform)
    {}
    ScriptedPlatform platform;
    app::MainController controller{platform};
    Form1 window;
};

// Writes a generated image and returns its path.
inline std::string writeImage(const QString& folder, const char* name,
                              const fixtures::ImageRecipe& recipe)
{
    const std::string path = (folder + QLatin1Char('/') + QLatin1String(name)).toStdString();
    fixtures::writeFile(path, fixtures::buildImage(recipe));
    return path;
}

}  // namespace clockvane::ui::testing
