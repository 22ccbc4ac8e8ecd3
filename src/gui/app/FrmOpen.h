#pragma once

#include <QWidget>

namespace pluvane::gui {

// The start screen shown while no project is open: a picture and the version.
class FrmOpen : public QWidget {
    Q_OBJECT
public:
    explicit FrmOpen(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pluvane::gui
