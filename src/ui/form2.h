#pragma once

#include <QDialog>

#include "app/platform.h"

namespace clockvane::ui {

class SvgPicture;

// The About window: the risk notice, the usage steps, the version line and a picture that
// opens the maker's page. Its texts come in the language current when it is opened.
class Form2 : public QDialog {
    Q_OBJECT

public:
    explicit Form2(const app::AboutTexts& texts, QWidget* parent = nullptr);

    SvgPicture* picture() const { return picture_; }

signals:
    void pictureClicked();

private:
    SvgPicture* picture_;
};

}  // namespace clockvane::ui
