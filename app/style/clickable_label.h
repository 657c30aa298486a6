// A label that reports mouse presses and double-clicks: the picture buttons
// of the style dialogs (texture preview, colour exchange icons, thumbnails)
// and captions that react to a double-click.
#pragma once

#include <QLabel>

namespace vakuro {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

signals:
    // The left mouse button went down on the label.
    void pressed();
    // The left mouse button was double-clicked on the label (a press was
    // reported first).
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace vakuro
