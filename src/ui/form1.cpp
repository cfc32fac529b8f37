#include "ui/form1.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "text/texts.h"
#include "ui/bios_info_frame.h"
#include "ui/clock_column.h"
#include "ui/clock_slider.h"
#include "ui/link_bracket.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

namespace clockvane::ui {

namespace {

QString text(std::string_view fixed) { return toQt(std::string(fixed)); }

QStringList bilingual(const texts::Bilingual& both)
{
    return {text(both.german), text(both.english)};
}

}  // namespace

std::vector<std::string> droppedLocalPaths(const QList<QUrl>& urls)
{
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        // The name's own bytes: a file URL carries them percent-encoded, and toLocalFile() would
        // turn bytes that are not UTF-8 into U+FFFD, naming a file that does not exist.
        if (url.isLocalFile())
            paths.push_back(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8())
                                .toStdString());
    }
    return paths;
}

Form1::Form1(app::MainController& controller, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent), controller_(controller), platform_(platform)
{
    setObjectName(QStringLiteral("Form1"));
    buildMenus();

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(20);
    layout->addWidget(buildEditingArea(), 1);
    layout->addWidget(buildInfoArea(), 0);
    setCentralWidget(central);
    buildStatusBar();

    // Files dropped anywhere on the window - the frame and its labels included - are opened.
    setAcceptDrops(true);

    platform_.setMainWindow(this);
    connect(&platform_, &QtPlatform::renderRequested, this, &Form1::render);
    connect(&platform_, &QtPlatform::timer1Fired, this,
            [this] { forward([this] { controller_.Timer1_Timer(); }); });
    // The About window is modal, so the main window is not rendering when its picture is hit.
    connect(&platform_, &QtPlatform::aboutPictureClicked, this,
            [this] { forward([this] { controller_.Picture1_Click(); }); });
    wireControls();
}

void Form1::load()
{
    controller_.Form_Load();
    render();
    show();
}

template <typename Handler>
void Form1::forward(Handler&& handler)
{
    if (rendering_) return;
    handler();
    render();
}

void Form1::buildMenus()
{
    auto action = [this](const char* name, bool checkable, auto handler) {
        auto* item = new QAction(this);
        item->setObjectName(QLatin1String(name));
        item->setCheckable(checkable);
        connect(item, &QAction::triggered, this, [this, handler] { forward(handler); });
        return item;
    };
    auto menu = [this](const char* name) {
        QMenu* created = menuBar()->addMenu(QString());
        created->setObjectName(QLatin1String(name));
        created->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Menu"));
        return created;
    };

    mnuFile_ = menu("mnuFile");
    romOpen_ = action("ROMOpen", false, [this] { controller_.ROMOpen_Click(); });
    romSave_ = action("ROMSave", false, [this] { controller_.ROMSave_Click(); });
    exitProgram_ = action("EXITProgramm", false, [this] { controller_.EXITProgramm_Click(); });
    // The desktop's usual keys, beside the menus' Alt access keys; the menus show them.
    romOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    romSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    exitProgram_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuFile_->addAction(romOpen_);
    mnuFile_->addAction(romSave_);
    mnuFile_->addSeparator();
    mnuFile_->addAction(exitProgram_);

    setLang_ = menu("SetLang");
    setLangDeutsch_ =
        action("SetLangDeutsch", true, [this] { controller_.SetLangDeutsch_Click(); });
    setLangEnglish_ =
        action("SetLangEnglish", true, [this] { controller_.SetLangEnglish_Click(); });
    setLang_->addAction(setLangDeutsch_);
    setLang_->addAction(setLangEnglish_);

    mnuTrouble_ = menu("mnu_trouble");
    chkUvd_ = action("Chk_UVD", true, [this] { controller_.Chk_UVD_Click(); });
    mnuTrouble_->addAction(chkUvd_);

    about_ = action("About", false, [this] { controller_.About_Click(); });
    // A menu bar item has no room to show its key; the README and the manual name it.
    about_->setShortcut(QKeySequence(Qt::Key_F1));
    menuBar()->addAction(about_);
}

QWidget* Form1::buildEditingArea()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("editingArea"));
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(0);
    for (std::size_t i = 0; i < kPowerStates.size(); ++i) {
        const PowerState& state = kPowerStates[i];
        auto* column = new ClockColumn(state, texts::kPowerStateNames[i], area);
        columns_[i] = column;
        sliders_[state.gpuSlider] = column->gpuSlider();
        sliders_[state.ramSlider] = column->ramSlider();
        clockLabels_[state.gpuSlider] = column->gpuLabel();
        clockLabels_[state.ramSlider] = column->ramLabel();
        boxes_[state.vcoreBox] = column->vcoreBox();
        grid->addWidget(column, 1, int(i));
        grid->setColumnStretch(int(i), 1);
    }
    // The bracket joins the 3D High Power and UVD headings: the UVD state follows the 3D one.
    bracket_ = new LinkBracket(columns_[k3DHigh]->heading(), columns_[kUvd]->heading(), area);
    grid->addWidget(bracket_, 0, 0, 1, int(kPowerStates.size()));
    return area;
}

QWidget* Form1::buildInfoArea()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("infoArea"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    // The four pictures share one place; the state shows exactly one of them.
    const QSize pictureSize(240, 120);
    auto* pictures = new QWidget(area);
    pictures->setFixedSize(pictureSize);
    auto* stack = new QGridLayout(pictures);
    stack->setContentsMargins(0, 0, 0, 0);
    auto picture = [&](const char* name, const char* resource) {
        auto* shown = new SvgPicture(QLatin1String(resource), pictureSize, pictures);
        shown->setObjectName(QLatin1String(name));
        stack->addWidget(shown, 0, 0);
        return shown;
    };
    pic3870_ = picture("Pic3870", ":/art/card_hd3870.svg");
    pic3850_ = picture("Pic3850", ":/art/card_hd3850.svg");
    pic3870x2_ = picture("Pic3870x2", ":/art/card_hd3870x2.svg");
    picAti_ = picture("PicATI", ":/art/chip.svg");

    frame_ = new BiosInfoFrame(area);
    // The widest texts of both languages; the card line of an X2 with GDDR4 is the longest.
    const QStringList captions =
        bilingual(texts::kDateCaption) +
        QStringList{text(texts::kVersionCaption), text(texts::kCardCaption)};
    const QStringList cardLines{QString::fromUtf8("ATI HD3870 X\u00B2 - 512MB GDDR4")};
    frame_->reserveRoom(captions, cardLines,
                        bilingual(texts::kHintOpen) + bilingual(texts::kHintDrop));
    progress_ = new QProgressBar(area);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setFormat(QStringLiteral("%p %"));

    layout->addWidget(pictures, 0, Qt::AlignHCenter);
    layout->addWidget(frame_);
    layout->addStretch(1);
    layout->addWidget(progress_);
    return area;
}

void Form1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1_%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panels_[i] = panel;
    }
    panels_[0]->setMinimumWidth(24);
    // Room for the longest checksum line: a sum and the "not corrected" note of either language.
    int checksumWidth = 0;
    for (const QString& suffix :
         bilingual(texts::kSuffixCorrected) + bilingual(texts::kSuffixNotCorrected)) {
        const QString line = text(texts::kChecksumPrefix) + QStringLiteral("FFFF") + suffix;
        checksumWidth = std::max(checksumWidth, panels_[1]->fontMetrics().horizontalAdvance(line));
    }
    panels_[1]->setMinimumWidth(checksumWidth + 12);
    bar->addWidget(panels_[0], 0);
    bar->addWidget(panels_[1], 0);
    bar->addWidget(panels_[2], 1);
}

void Form1::wireControls()
{
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        connect(sliders_[i], &ClockSlider::mhzChanged, this, [this, i](int mhz, bool dragging) {
            forward([this, i, mhz, dragging] {
                controller_.setSliderValue(i, mhz);
                if (dragging) {
                    controller_.ScrollBar1_Scroll(i);
                } else {
                    controller_.ScrollBar1_Change(i);
                }
            });
        });
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        VcoreBox* box = boxes_[i];
        box->setKeyFilter([this, i](int keyAscii) {
            return rendering_ || controller_.CmbVCore_KeyPress(i, keyAscii);
        });
        connect(box, &VcoreBox::textChangedByUser, this, [this, i](const QString& text) {
            forward([this, i, text] { controller_.setVcoreText(i, fromQt(text)); });
        });
        connect(box, &VcoreBox::focusLost, this,
                [this, i] { forward([this, i] { controller_.CmbVCore_LostFocus(i); }); });
        connect(box, &VcoreBox::stepRequested, this, [this, i](bool up) {
            forward([this, i, up] { controller_.CmbVCore_Step(i, up); });
        });
    }
}

void Form1::openFile(const std::string& path)
{
    QTimer::singleShot(0, this, [this, path] {
        forward([this, &path] { controller_.openCommandLineFile(path); });
    });
}

void Form1::closeEvent(QCloseEvent* event)
{
    controller_.Form_Unload();
    event->accept();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedLocalPaths(event->mimeData()->urls()).empty()) event->acceptProposedAction();
}

void Form1::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void Form1::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths = droppedLocalPaths(event->mimeData()->urls());
    if (paths.empty()) return;
    event->acceptProposedAction();
    // Opening waits and may ask questions; let the drag source finish its drop first.
    QTimer::singleShot(0, this, [this, paths = std::move(paths)] {
        forward([this, &paths] { controller_.Form_OLEDragDrop(paths); });
    });
}

}  // namespace clockvane::ui
