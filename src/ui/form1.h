#pragma once

#include <array>
#include <string>
#include <vector>

#include <QMainWindow>

#include "app/main_controller.h"
#include "app/window_events.h"
#include "layout/clock_layout.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace clockvane::ui {

class BiosInfoFrame;
class ClockColumn;
class ClockSlider;
class LinkBracket;
class QtPlatform;
class SvgPicture;
class VcoreBox;

// The main window. It holds no logic of its own: it shows the controller's state whenever the
// platform says it changed, and hands every user action to the controller's handler of the
// same name.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    Form1(app::MainController& controller, QtPlatform& platform, QWidget* parent = nullptr);

    // Runs Form_Load and shows the window.
    void load();
    // Shows the controller's state on every widget. Programmatic changes made here reach no
    // handler.
    void render();
    // Opens a file named on the command line once the window is up, through the same open
    // sequence as the menu and a drop. The path is the name's bytes as the system gave them,
    // taken from the working folder.
    void openFile(const std::string& path);

    ClockColumn* column(std::size_t position) const { return columns_[position]; }
    ClockSlider* slider(std::size_t index) const { return sliders_[index]; }
    QLabel* clockLabel(std::size_t index) const { return clockLabels_[index]; }
    VcoreBox* vcoreBox(std::size_t index) const { return boxes_[index]; }
    LinkBracket* linkBracket() const { return bracket_; }
    BiosInfoFrame* biosInfoFrame() const { return frame_; }
    QLabel* statusPanel(std::size_t panel) const { return panels_[panel - 1]; }
    QProgressBar* progressBar() const { return progress_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    QWidget* buildEditingArea();
    QWidget* buildInfoArea();
    void buildStatusBar();
    void wireControls();
    // Shows the state on the widgets (render() runs it with the events held back).
    void showState();
    void forward(const std::function<void()>& handler) { events_.forward(handler); }

    app::MainController& controller_;
    QtPlatform& platform_;
    app::WindowEvents events_;

    std::array<ClockColumn*, kPowerStateCount> columns_{};
    std::array<ClockSlider*, kSliderCount> sliders_{};
    std::array<QLabel*, kSliderCount> clockLabels_{};
    std::array<VcoreBox*, kVcoreBoxCount> boxes_{};
    LinkBracket* bracket_ = nullptr;
    BiosInfoFrame* frame_ = nullptr;
    std::array<SvgPicture*, app::kCardPictureCount> pictures_{};  // by app::CardPicture

    QMenu* mnuFile_ = nullptr;
    QMenu* setLang_ = nullptr;
    QMenu* mnuTrouble_ = nullptr;
    QAction* romOpen_ = nullptr;
    QAction* romSave_ = nullptr;
    QAction* romRevert_ = nullptr;
    QAction* romCompare_ = nullptr;
    QAction* exitProgram_ = nullptr;
    QAction* setLangDeutsch_ = nullptr;
    QAction* setLangEnglish_ = nullptr;
    QAction* chkUvd_ = nullptr;
    QAction* about_ = nullptr;

    std::array<QLabel*, 3> panels_{};
    QProgressBar* progress_ = nullptr;
};

// The local files among dropped URLs, as paths for Form_OLEDragDrop: the names' own bytes,
// whether they are UTF-8 or not.
std::vector<std::string> droppedLocalPaths(const QList<QUrl>& urls);

}  // namespace clockvane::ui
