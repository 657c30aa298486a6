// The decorative banners of the main window: the program's name on a
// gradient, lying for horizontal writing and standing for vertical writing.
#pragma once

#include <QWidget>

namespace vakuro {

class Banner : public QWidget {
    Q_OBJECT
public:
    Banner(Qt::Orientation orientation, QWidget* parent);

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Qt::Orientation orientation_;
};

}  // namespace vakuro
